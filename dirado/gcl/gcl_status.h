#pragma once
// Status objects: a status code (0 is success) and the messages that go with
// it. A status can capture the messages that the client libraries print:
// between begin_capture and end_capture (nested on one status as a depth)
// every message of every kind is pushed onto it. Captures of several
// statuses nest last in, first out: the innermost receives all messages, and
// each gives back the routing it found.
//
// A copy of a status carries its code and messages, never its capture: the
// copy does not capture, and destroying it leaves the routing alone.
// Messages may arrive from other threads while a status captures; its
// message list is guarded.
#include <cstdint>

#include "gcl_string.h"
#include "lc_stack.h"

// The ordered messages of one status.
class GCL_ErrMsgStack : public LC_TUnboundedStack<GCL_String, LC_CUnmanaged> {
 public:
  // The messages in the order they were pushed, joined without separator.
  GCL_String joined() const;
};

class GCL_Status {
 public:
  static constexpr int kind_count = 11;
  using OutputProc = void (*)(void* context, int kind, const char* text);

  GCL_Status() = default;
  explicit GCL_Status(std::uint32_t code) : code_(code) {}
  GCL_Status(const GCL_Status& other);
  // Takes the other's code and messages; this status's own capture, if
  // any, goes on.
  GCL_Status& operator=(const GCL_Status& other);
  ~GCL_Status();

  bool ok() const { return code_ == 0; }
  std::uint32_t code() const { return code_; }
  // A code of 0 also drops the messages. Returns the code.
  std::uint32_t set_code(std::uint32_t code);
  // Sets the code and always drops the messages.
  void reset(std::uint32_t code = 0);
  void make_ok() { reset(0); }

  void push_message(const GCL_String& text);
  // The messages in the order they were pushed, with no separator added.
  GCL_String messages() const;
  std::uint32_t message_count() const;

  bool operator==(const GCL_Status& other) const { return code_ == other.code_; }
  bool operator!=(const GCL_Status& other) const { return code_ != other.code_; }
  bool operator==(std::uint32_t code) const { return code_ == code; }
  bool operator!=(std::uint32_t code) const { return code_ != code; }

  // At depth 0 saves the routing in force and installs this status's
  // procedure for every kind; then deepens. end_capture undoes one level
  // and, at 0, gives back what was saved. Must run on one thread.
  void begin_capture();
  void end_capture();
  std::int32_t capture_depth() const { return depth_; }

 protected:
  // Ends the capture at once, whatever its depth.
  void end_all_capture();

 private:
  static void capture_proc(void* context, int kind, const char* text);

  std::uint32_t code_ = 0;
  GCL_ErrMsgStack* messages_ = nullptr;  // owned; made by the first push
  std::int32_t depth_ = 0;
  OutputProc saved_procs_[kind_count] = {};
  void* saved_context_ = nullptr;
};
