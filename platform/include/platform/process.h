#pragma once
// Starting programs: command-line splitting and quoting with the desktop's
// rules, the launcher interface, the real launcher (posix_spawn) and a
// recording launcher for tests. Failures carry the system error number.
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace plat {

// ---- command lines ------------------------------------------------------------

// Splits a command line as the desktop's C runtime does. The program name
// runs to the first blank or tab, or, when it starts with a quote, to the next
// quote, with no backslash processing. The arguments follow: blanks and tabs
// separate them outside quotes; 2n backslashes before a quote give n
// backslashes and the quote opens or closes quoting; 2n+1 give n backslashes
// and a literal quote; other backslashes are literal; inside quotes "" is a
// literal quote; "" on its own is an empty argument.
std::vector<std::string> SplitCommandLine(std::string_view command_line);
// Splits arguments only (every word follows the argument rules).
std::vector<std::string> SplitArguments(std::string_view arguments);

// Quotes one argument so that the argument rules give it back unchanged.
std::string QuoteArgument(std::string_view argument);
// Joins a program name and arguments into a command line that
// SplitCommandLine splits back into the same words. Nullopt when the program
// name cannot be written at all: it holds a quote and also starts with a quote
// or holds a blank or tab.
std::optional<std::string> JoinCommandLine(const std::vector<std::string>& argv);

// ---- errors -------------------------------------------------------------------

// A system error: the errno value and a sentence ending in strerror's text.
struct SysError {
  int code = 0;
  std::string message;
};

SysError MakeSysError(int code, std::string_view context);

template <class T>
using ProcResult = Result<T, SysError>;

// ---- processes and launchers ------------------------------------------------------

struct ProcessSpec {
  std::string command_line;      // split with SplitCommandLine unless use_argv
  std::vector<std::string> argv;  // used as given when use_argv
  std::string working_dir;        // empty: the caller's current directory
  bool use_argv = false;

  // The words that will run: argv, or the split command line.
  std::vector<std::string> Arguments() const;
  bool operator==(const ProcessSpec&) const = default;
};

// A started program. Wait and ExitCode may be called from any thread.
class Process {
 public:
  static constexpr long kInfinite = -1;

  virtual ~Process() = default;
  // Waits up to timeout_ms (kInfinite or any negative: until it ends); true
  // once it has ended.
  virtual bool Wait(long timeout_ms = kInfinite) = 0;
  // The exit status once ended (128 + signal number when killed by a signal).
  virtual std::optional<int> ExitCode() const = 0;
  virtual int Pid() const = 0;
};

using StartResult = ProcResult<std::unique_ptr<Process>>;

class Launcher {
 public:
  virtual ~Launcher() = default;
  virtual StartResult Start(const ProcessSpec& spec) = 0;
  // Opens a file the way the desktop shell would, with the verb "open" (or
  // the empty verb): a file that is an executable program is run with params
  // as its arguments and dir as its working directory (a relative file is
  // taken relative to dir). There are no file associations, so any other file
  // fails with ENOEXEC, a missing file with ENOENT and another verb with
  // ENOTSUP.
  virtual StartResult ShellStart(std::string_view file, std::string_view verb,
                                 std::string_view params, std::string_view dir) = 0;
};

// Runs real programs with posix_spawn; a bare program name is looked up on
// PATH. A dropped Process is reaped later, so it never stays a zombie for long.
class PosixLauncher final : public Launcher {
 public:
  StartResult Start(const ProcessSpec& spec) override;
  StartResult ShellStart(std::string_view file, std::string_view verb, std::string_view params,
                         std::string_view dir) override;
};

struct ShellRequest {
  std::string file, verb, params, dir;
  bool operator==(const ShellRequest&) const = default;
};

// Runs nothing: records every start in order and answers as scripted. A
// program is matched by the last path name of its first word, without regard
// to ASCII case. Unscripted programs "run" and exit with 0. Its processes have
// ended already, so Wait returns at once.
class RecordingLauncher final : public Launcher {
 public:
  StartResult Start(const ProcessSpec& spec) override;
  StartResult ShellStart(std::string_view file, std::string_view verb, std::string_view params,
                         std::string_view dir) override;

  void SetExitCode(std::string_view program, int exit_code);
  // Starts of `program` fail with this errno value.
  void SetStartFailure(std::string_view program, int error_number);
  void ClearScript();

  std::vector<ProcessSpec> Starts() const;
  std::vector<ShellRequest> ShellStarts() const;
  void ClearRecords();

 private:
  struct Scripted {
    std::string program;
    bool fail = false;
    int number = 0;  // exit code or errno
  };
  void Script(std::string_view program, bool fail, int number);
  StartResult Respond(const std::vector<std::string>& words);

  mutable std::mutex mutex_;
  std::vector<Scripted> script_;
  std::vector<ProcessSpec> starts_;
  std::vector<ShellRequest> shell_starts_;
  int next_pid_ = 10000;
};

// The launcher in force (a PosixLauncher unless a test installed another;
// nullptr restores it).
std::shared_ptr<Launcher> CurrentLauncher();
void SetLauncher(std::shared_ptr<Launcher> launcher);
// Installs a fresh recording launcher and returns it.
std::shared_ptr<RecordingLauncher> UseRecordingLauncher();

}  // namespace plat
