// rvdlg's launcher: the product's programs from rvdlg's directory, and the
// processes the library starts kept until rvdlg has waited for them.
#include "tool_launcher.h"

#include <unistd.h>

#include <utility>

namespace rvdlg {

namespace {

// What the caller gets: the process stays shared with the launcher, which
// may wait for it after the caller let go.
class SharedProcess final : public plat::Process {
 public:
  explicit SharedProcess(std::shared_ptr<plat::Process> process) : process_(std::move(process)) {}
  bool Wait(long timeout_ms) override { return process_->Wait(timeout_ms); }
  std::optional<int> ExitCode() const override { return process_->ExitCode(); }
  int Pid() const override { return process_->Pid(); }

 private:
  const std::shared_ptr<plat::Process> process_;
};

bool HasDirectory(const std::string& program) { return program.find_first_of("/\\") != std::string::npos; }

}  // namespace

ToolLauncher::ToolLauncher(std::shared_ptr<plat::Launcher> inner, std::filesystem::path tool_dir)
    : inner_(std::move(inner)), tool_dir_(std::move(tool_dir)) {}

std::string ToolLauncher::Resolve(const std::string& program) const {
  if (program.empty() || tool_dir_.empty() || HasDirectory(program) || program == "." || program == "..")
    return program;
  const std::filesystem::path candidate = tool_dir_ / program;
  std::error_code error;
  if (std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0)
    return candidate.string();
  return program;
}

plat::StartResult ToolLauncher::Keep(plat::StartResult started) {
  std::lock_guard lock(mutex_);
  if (!started) {
    failures_.push_back(started.error().message);
    return started;
  }
  std::shared_ptr<plat::Process> shared(std::move(started.value()));
  started_.push_back(shared);
  return std::unique_ptr<plat::Process>(std::make_unique<SharedProcess>(std::move(shared)));
}

plat::StartResult ToolLauncher::Start(const plat::ProcessSpec& spec) {
  std::vector<std::string> words = spec.Arguments();
  if (words.empty()) return Keep(inner_->Start(spec));
  const std::string program = Resolve(words.front());
  if (program == words.front()) return Keep(inner_->Start(spec));
  // The same words, with the program found in rvdlg's directory.
  words.front() = program;
  plat::ProcessSpec resolved;
  resolved.use_argv = true;
  resolved.argv = std::move(words);
  resolved.working_dir = spec.working_dir;
  return Keep(inner_->Start(resolved));
}

plat::StartResult ToolLauncher::ShellStart(std::string_view file, std::string_view verb, std::string_view params,
                                           std::string_view dir) {
  return Keep(inner_->ShellStart(Resolve(std::string(file)), verb, params, dir));
}

std::vector<int> ToolLauncher::WaitAll() {
  std::vector<std::shared_ptr<plat::Process>> processes;
  {
    std::lock_guard lock(mutex_);
    processes.swap(started_);
  }
  std::vector<int> codes;
  for (const auto& process : processes) {
    process->Wait(plat::Process::kInfinite);
    codes.push_back(process->ExitCode().value_or(-1));
  }
  return codes;
}

std::vector<std::string> ToolLauncher::TakeStartFailures() {
  std::lock_guard lock(mutex_);
  return std::exchange(failures_, {});
}

std::filesystem::path ProgramDirectory() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self.parent_path();
}

}  // namespace rvdlg
