#pragma once
// The launcher rvdlg runs the library with: it wraps the launcher in force,
// runs the product's programs (stratatool, ...) from rvdlg's own directory
// when they are there, and keeps every process it starts so that a command
// can wait for the ones the library started detached before rvdlg exits.
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/process.h"

namespace rvdlg {

class ToolLauncher final : public plat::Launcher {
 public:
  // Programs named without a directory are looked for in tool_dir first (an
  // empty tool_dir: never).
  ToolLauncher(std::shared_ptr<plat::Launcher> inner, std::filesystem::path tool_dir);

  plat::StartResult Start(const plat::ProcessSpec& spec) override;
  plat::StartResult ShellStart(std::string_view file, std::string_view verb, std::string_view params,
                               std::string_view dir) override;

  // Waits for every process started so far and forgets them. The exit codes
  // in start order (-1 when unknown).
  std::vector<int> WaitAll();
  // The failed starts since the last call (their sentences), and forgets them.
  std::vector<std::string> TakeStartFailures();

  // The program a bare name resolves to: tool_dir/name when that is an
  // executable file, else the name as given.
  std::string Resolve(const std::string& program) const;

 private:
  plat::StartResult Keep(plat::StartResult started);

  const std::shared_ptr<plat::Launcher> inner_;
  const std::filesystem::path tool_dir_;
  std::mutex mutex_;
  std::vector<std::shared_ptr<plat::Process>> started_;
  std::vector<std::string> failures_;
};

// The directory of the running program ("" when it cannot be told).
std::filesystem::path ProgramDirectory();

}  // namespace rvdlg
