#pragma once
// The call log of the local implementation, for tests.
//
// Every call of the local implementation (except the message routing, which
// the log itself prints through, and pure helpers such as tbs_strerror)
// opens a CallLog::Call with its name and arguments, through LocalCall
// (local/local_call.h). While recording is on, the call is appended to an
// ordered log with its arguments and, when it returns, its status. A test can make any call fail by name: the call then
// emits the chosen messages through the message routing, as the call would
// print them, and returns the chosen status without doing anything. A
// failure with status 0 only adds its messages; the call then runs as usual.
// A call can instead be made to throw, as a library call may (InjectThrow).
// A failure can begin at the Nth call of its name (earlier calls run as
// usual) and last for that one call or every call from there on, so a test
// can sweep a failure across each call a command makes.
#include <string>
#include <vector>

namespace client_local {

struct InjectedMessage {
  int kind = 0;
  std::string text;
};

struct Failure {
  int status = 0;
  std::vector<InjectedMessage> messages;
  int times = -1;  // how many calls fail; -1: every call until cleared
  int nth = 1;     // the first call that fails, counted from the injection
};

struct CallRecord {
  std::string name;
  std::vector<std::string> args;
  int status = -1;      // -1 while the call has not returned
  bool injected = false;  // the call met an injected failure
};

class CallLog {
 public:
  // Recording: off at start; StartRecording also empties the log.
  static void StartRecording();
  static void StopRecording();
  static bool Recording();
  // Whether anything would be recorded or injected: a call made very often
  // may skip building its arguments when not.
  static bool Watching();
  static std::vector<CallRecord> Calls();
  static std::vector<CallRecord> Calls(const std::string& name);  // only that call
  static void Clear();

  // Makes the named call fail (replacing an earlier failure of that name).
  // An empty name or an out-of-range message kind is refused: false.
  static bool InjectFailure(const std::string& name, Failure failure);
  // Makes every call of the name throw std::runtime_error with the text
  // (after an injected failure's messages), until cleared.
  static bool InjectThrow(const std::string& name, const std::string& text);
  // Clears the name's failure and throw.
  static void ClearFailure(const std::string& name);
  static void ClearFailures();

  // One call of the local implementation; a call opens one at its start.
  class Call {
   public:
    Call(const char* name, std::vector<std::string> args);
    ~Call();
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    // Whether a failure with a non-zero status was injected for this call;
    // its messages have then been printed, and the call returns Status().
    bool Failed() const { return failed_; }
    int Status() const { return injected_status_; }
    // Records the status the call returns, and passes it on.
    int Return(int status);

   private:
    long index_ = -1;  // in the log, or -1 when not recorded
    unsigned long generation_ = 0;  // of the log it was recorded in
    bool failed_ = false;
    int injected_status_ = 0;
  };
};

// While alive, the log records from empty and no failure is injected; at its
// end recording stops and every injected failure is cleared.
class CallLogScope {
 public:
  CallLogScope() {
    CallLog::ClearFailures();
    CallLog::StartRecording();
  }
  ~CallLogScope() {
    CallLog::StopRecording();
    CallLog::Clear();
    CallLog::ClearFailures();
  }
  CallLogScope(const CallLogScope&) = delete;
  CallLogScope& operator=(const CallLogScope&) = delete;
};

}  // namespace client_local
