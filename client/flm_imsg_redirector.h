#pragma once
// While a redirector exists, the messages the change-management model (and
// the client libraries under it) print are collected in it, in order; it
// gives back the routing it found when it goes. Make and destroy it on one
// thread; messages may arrive from any.
#include <mutex>
#include <string>
#include <vector>

#include "imsg.h"

class FLM_ImsgRedirector {
 public:
  FLM_ImsgRedirector();
  virtual ~FLM_ImsgRedirector();
  FLM_ImsgRedirector(const FLM_ImsgRedirector&) = delete;
  FLM_ImsgRedirector& operator=(const FLM_ImsgRedirector&) = delete;

  int count() const;
  std::string message(int index) const;  // empty outside 0..count-1
  std::vector<std::string> messages() const;
  void clear();

 private:
  static void Receive(void* context, int kind, const char* text);
  imsg_redirect_procs_t found_;
  mutable std::mutex mutex_;
  std::vector<std::string> messages_;
};
