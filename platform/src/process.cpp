// Launchers: the real one (posix_spawn), the recording one for tests, and the
// process-wide choice between them.
#include "platform/process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/text.h"

extern char** environ;

namespace plat {

SysError MakeSysError(int code, std::string_view context) {
  std::string message(context);
  if (!message.empty()) message += ": ";
  message += std::strerror(code);
  return SysError{code, std::move(message)};
}

std::vector<std::string> ProcessSpec::Arguments() const {
  return use_argv ? argv : SplitCommandLine(command_line);
}

namespace {

// The last name of a path written with either separator.
std::string_view BaseName(std::string_view path) {
  size_t sep = path.find_last_of("/\\");
  return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

// Checks the words before anything runs; an empty optional when they are fine.
std::optional<SysError> CheckWords(const std::vector<std::string>& words) {
  if (words.empty() || words.front().empty())
    return MakeSysError(EINVAL, "cannot start a program: no program name given");
  for (const auto& word : words)
    if (word.find('\0') != std::string::npos)
      return MakeSysError(EINVAL, "cannot start \"" + words.front() + "\": an argument holds a NUL");
  return std::nullopt;
}

// ---- the real launcher ------------------------------------------------------------

// Pids of processes whose owner let go before they ended; reaped whenever a
// process starts or is let go, so they do not stay zombies.
class OrphanReaper {
 public:
  static OrphanReaper& Instance() {
    static OrphanReaper reaper;
    return reaper;
  }
  void Adopt(pid_t pid) {
    std::lock_guard lock(mutex_);
    pids_.push_back(pid);
  }
  void Reap() {
    std::lock_guard lock(mutex_);
    std::erase_if(pids_, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
  }

 private:
  std::mutex mutex_;
  std::vector<pid_t> pids_;
};

int DecodeStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

class PosixProcess final : public Process {
 public:
  explicit PosixProcess(pid_t pid) : pid_(pid) {}
  ~PosixProcess() override {
    if (!Poll()) OrphanReaper::Instance().Adopt(pid_);
    OrphanReaper::Instance().Reap();
  }

  // Polls rather than blocking in waitpid so that several threads may wait
  // with time-outs at once and all see the one exit status.
  bool Wait(long timeout_ms) override {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeout_ms, 0L));
    auto pause = std::chrono::microseconds(200);
    while (!Poll()) {
      if (timeout_ms >= 0) {
        auto now = Clock::now();
        if (now >= deadline) return false;
        pause = std::min<std::chrono::microseconds>(
            pause, std::chrono::duration_cast<std::chrono::microseconds>(deadline - now));
      }
      std::this_thread::sleep_for(pause);
      pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(10));
    }
    return true;
  }

  std::optional<int> ExitCode() const override {
    std::lock_guard lock(mutex_);
    return exit_code_;
  }

  int Pid() const override { return pid_; }

 private:
  // True once the process has ended and its status is known.
  bool Poll() {
    std::lock_guard lock(mutex_);
    if (exit_code_) return true;
    int status = 0;
    pid_t r;
    do {
      r = waitpid(pid_, &status, WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == pid_) {
      exit_code_ = DecodeStatus(status);
    } else if (r < 0) {
      exit_code_ = -1;  // someone else reaped it: it has ended, status unknown
    }
    return exit_code_.has_value();
  }

  const pid_t pid_;
  mutable std::mutex mutex_;
  std::optional<int> exit_code_;
};

// Frees the spawn attributes and file actions however Spawn returns.
struct SpawnSetup {
  posix_spawnattr_t attr;
  posix_spawn_file_actions_t actions;
  SpawnSetup() {
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

StartResult Spawn(const std::vector<std::string>& words, const std::string& working_dir,
                  bool search_path) {
  if (auto error = CheckWords(words)) return *error;
  const std::string& program = words.front();
  if (!working_dir.empty()) {
    struct stat st;
    if (stat(working_dir.c_str(), &st) != 0)
      return MakeSysError(errno, "cannot start \"" + program + "\" in \"" + working_dir + "\"");
    if (!S_ISDIR(st.st_mode))
      return MakeSysError(ENOTDIR, "cannot start \"" + program + "\" in \"" + working_dir + "\"");
  }
  SpawnSetup setup;
  // The child starts with no blocked signals and SIGPIPE at its default,
  // whatever this process has done to its own.
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigmask(&setup.attr, &none);
  posix_spawnattr_setsigdefault(&setup.attr, &defaults);
  posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  if (!working_dir.empty())
    posix_spawn_file_actions_addchdir_np(&setup.actions, working_dir.c_str());

  std::vector<char*> args;
  for (const auto& word : words) args.push_back(const_cast<char*>(word.c_str()));
  args.push_back(nullptr);

  OrphanReaper::Instance().Reap();
  pid_t pid = 0;
  int rc = search_path
               ? posix_spawnp(&pid, program.c_str(), &setup.actions, &setup.attr, args.data(), environ)
               : posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attr, args.data(), environ);
  if (rc != 0) return MakeSysError(rc, "cannot start \"" + program + "\"");
  return std::unique_ptr<Process>(std::make_unique<PosixProcess>(pid));
}

bool IsOpenVerb(std::string_view verb) { return verb.empty() || IEquals(verb, "open"); }

// Works out which program a shell start would run; an error when none.
ProcResult<std::string> ShellProgram(std::string_view file, std::string_view verb,
                                     std::string_view dir) {
  std::string name(file);
  if (name.empty()) return MakeSysError(EINVAL, "cannot open a file: no file name given");
  if (!IsOpenVerb(verb))
    return MakeSysError(ENOTSUP, "cannot \"" + std::string(verb) + "\" \"" + name + "\"");
  std::filesystem::path path(name);
  if (path.is_relative() && !dir.empty()) path = std::filesystem::path(dir) / path;
  std::error_code ec;
  path = std::filesystem::absolute(path, ec);
  if (ec) return MakeSysError(ec.value(), "cannot open \"" + name + "\"");
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return MakeSysError(errno, "cannot open \"" + name + "\"");
  if (!S_ISREG(st.st_mode) || access(path.c_str(), X_OK) != 0)
    return MakeSysError(ENOEXEC, "cannot open \"" + name + "\": no program is associated with it");
  return path.string();
}

}  // namespace

StartResult PosixLauncher::Start(const ProcessSpec& spec) {
  return Spawn(spec.Arguments(), spec.working_dir, true);
}

StartResult PosixLauncher::ShellStart(std::string_view file, std::string_view verb,
                                      std::string_view params, std::string_view dir) {
  auto program = ShellProgram(file, verb, dir);
  if (!program) return program.error();
  std::vector<std::string> words{*program};
  for (auto& word : SplitArguments(params)) words.push_back(std::move(word));
  return Spawn(words, std::string(dir), false);
}

// ---- the recording launcher -----------------------------------------------------------

namespace {

// A process that has already ended with a scripted exit code.
class FinishedProcess final : public Process {
 public:
  FinishedProcess(int pid, int exit_code) : pid_(pid), exit_code_(exit_code) {}
  bool Wait(long) override { return true; }
  std::optional<int> ExitCode() const override { return exit_code_; }
  int Pid() const override { return pid_; }

 private:
  const int pid_;
  const int exit_code_;
};

}  // namespace

StartResult RecordingLauncher::Respond(const std::vector<std::string>& words) {
  // Called with mutex_ held.
  if (auto error = CheckWords(words)) return *error;
  std::string_view base = BaseName(words.front());
  int exit_code = 0;
  for (const auto& entry : script_) {
    if (!IEquals(entry.program, base)) continue;
    if (entry.fail) return MakeSysError(entry.number, "cannot start \"" + words.front() + "\"");
    exit_code = entry.number;
    break;
  }
  return std::unique_ptr<Process>(std::make_unique<FinishedProcess>(next_pid_++, exit_code));
}

StartResult RecordingLauncher::Start(const ProcessSpec& spec) {
  std::lock_guard lock(mutex_);
  starts_.push_back(spec);
  return Respond(spec.Arguments());
}

StartResult RecordingLauncher::ShellStart(std::string_view file, std::string_view verb,
                                          std::string_view params, std::string_view dir) {
  std::lock_guard lock(mutex_);
  shell_starts_.push_back(
      ShellRequest{std::string(file), std::string(verb), std::string(params), std::string(dir)});
  if (!IsOpenVerb(verb))
    return MakeSysError(ENOTSUP, "cannot \"" + std::string(verb) + "\" \"" + std::string(file) + "\"");
  return Respond({std::string(file)});
}

void RecordingLauncher::Script(std::string_view program, bool fail, int number) {
  std::string_view base = BaseName(program);
  std::lock_guard lock(mutex_);
  std::erase_if(script_, [&](const Scripted& s) { return IEquals(s.program, base); });
  script_.push_back(Scripted{std::string(base), fail, number});
}

void RecordingLauncher::SetExitCode(std::string_view program, int exit_code) {
  Script(program, false, exit_code);
}

void RecordingLauncher::SetStartFailure(std::string_view program, int error_number) {
  Script(program, true, error_number);
}

void RecordingLauncher::ClearScript() {
  std::lock_guard lock(mutex_);
  script_.clear();
}

std::vector<ProcessSpec> RecordingLauncher::Starts() const {
  std::lock_guard lock(mutex_);
  return starts_;
}

std::vector<ShellRequest> RecordingLauncher::ShellStarts() const {
  std::lock_guard lock(mutex_);
  return shell_starts_;
}

void RecordingLauncher::ClearRecords() {
  std::lock_guard lock(mutex_);
  starts_.clear();
  shell_starts_.clear();
}

// ---- the launcher in force ------------------------------------------------------------

namespace {

struct LauncherSlot {
  std::mutex mutex;
  std::shared_ptr<Launcher> launcher = std::make_shared<PosixLauncher>();
};

LauncherSlot& Slot() {
  static LauncherSlot slot;
  return slot;
}

}  // namespace

std::shared_ptr<Launcher> CurrentLauncher() {
  LauncherSlot& slot = Slot();
  std::lock_guard lock(slot.mutex);
  return slot.launcher;
}

void SetLauncher(std::shared_ptr<Launcher> launcher) {
  if (!launcher) launcher = std::make_shared<PosixLauncher>();
  LauncherSlot& slot = Slot();
  std::lock_guard lock(slot.mutex);
  slot.launcher = std::move(launcher);
}

std::shared_ptr<RecordingLauncher> UseRecordingLauncher() {
  auto recording = std::make_shared<RecordingLauncher>();
  SetLauncher(recording);
  return recording;
}

}  // namespace plat
