// Running a product tool's command: an invisible modal dialog whose worker
// starts the command, waits for it and then closes the dialog.
#include <atomic>
#include <memory>

#include "fileops/entry_points.h"
#include "platform/dialog.h"
#include "platform/machine.h"
#include "platform/message.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "platform/sync.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"

namespace {

using namespace rvcmndlg::res;

// The worker: starts the command, waits without a time limit, then posts the
// closing message (+100) with -1 when the command could not be started.
class TeamlineCmd {
 public:
  TeamlineCmd(plat::Dialog& dialog, std::string command) : dialog_(dialog), command_(std::move(command)) {}
  void Start() {
    thread_ = std::make_unique<plat::WorkerThread>([this] { return Run(); });
  }
  void Join() {
    if (thread_) thread_->Join();
  }

 private:
  int Run() {
    rvcmndlg::EntryScope resources;  // the current module is per thread
    const plat::StartResult started = StartCommand();
    int closing = 0;
    if (!started) {
      plat::MessageBox(&dialog_,
                       plat::FormatPrintf(plat::LoadString(IDS_EXEC_FAILED), {command_, started.error().code}),
                       std::string(), plat::mb::Ok | plat::mb::IconError);
      closing = -1;
    } else {
      started.value()->Wait(plat::Process::kInfinite);
    }
    plat::PostMessage(dialog_.GetHwnd(), kCloseMessage, static_cast<plat::WParam>(static_cast<plat::LParam>(closing)));
    return 0;
  }

  // The view update tool goes through the shell on newer systems: the tool
  // name as the file, the rest of the command as its parameters.
  plat::StartResult StartCommand() {
    auto launcher = plat::CurrentLauncher();
    if (plat::MachineInfo().os_major >= 6 && command_.find("strataviewupdate") != std::string::npos) {
      const auto words = plat::SplitCommandLine(command_);
      const std::string tool = words.empty() ? std::string() : words.front();
      const std::size_t at = command_.find(tool);
      std::string params = at == std::string::npos ? std::string() : command_.substr(at + tool.size());
      params.erase(0, params.find_first_not_of(" \t\""));
      return launcher->ShellStart(tool, "", params, "");
    }
    plat::ProcessSpec spec;
    spec.command_line = command_;
    return launcher->Start(spec);
  }

 public:
  static constexpr std::uint32_t kCloseMessage = plat::msg::User + 100;

 private:
  plat::Dialog& dialog_;
  const std::string command_;
  std::unique_ptr<plat::WorkerThread> thread_;
};

class CommandDialog : public plat::Dialog {
 public:
  CommandDialog(const std::string& command, plat::Window* parent)
      : plat::Dialog(IDD_RUN_COMMAND, parent), worker_(*this, command) {
    LoadTemplate();
    SetInvisible(true);
  }
  ~CommandDialog() override { worker_.Join(); }

 protected:
  bool OnInitDialog() override {
    plat::Dialog::OnInitDialog();
    worker_.Start();
    return true;
  }
  bool OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam, const std::string*,
                 plat::LResult& result) override {
    if (message != TeamlineCmd::kCloseMessage) return false;
    EndDialog(static_cast<plat::LParam>(wparam) == -1 ? plat::IdCancel : plat::IdOk);
    result = 0;
    return true;
  }

 private:
  TeamlineCmd worker_;
};

}  // namespace

int rvRunCommand(const std::string& command, plat::Window* parent) {
  rvcmndlg::EntryScope resources;
  CommandDialog dialog(command, parent);
  return dialog.DoModal() == plat::IdOk ? 0 : -1;
}
