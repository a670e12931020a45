#pragma once
// Collects every message the client libraries print while alive (any thread),
// and puts back the routing it found when it ends.
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "imsg.h"

namespace rv_test {

struct Message {
  int kind;
  std::string text;
  bool operator==(const Message&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Message& m) { return os << m.kind << ":" << m.text; }

class MessageCapture {
 public:
  MessageCapture();
  ~MessageCapture();
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  std::vector<Message> Messages();
  std::string Text();  // every message's text, in order
  void Clear();

 private:
  static void Output(void* context, int kind, const char* text);
  imsg_redirect_procs_t previous_;
  std::mutex mutex_;
  std::vector<Message> messages_;
};

}  // namespace rv_test
