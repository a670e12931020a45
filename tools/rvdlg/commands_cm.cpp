// rvdlg cmcontrols: the change-management controls over a stream, and what
// the user chose in them.
#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

#include "cm_controls_dialog.h"
#include "commands.h"
#include "flm_imsg_redirector.h"
#include "res/library_resources.h"
#include "platform/resources.h"
#include "tbs.h"

namespace rvdlg {

namespace {

std::string OrNone(const std::string& text) { return text.empty() ? "none" : text; }

}  // namespace

int RunCmControls(Context& c, const std::string& selector) {
  FLM_Stream stream;
  {
    FLM_ImsgRedirector messages;
    if (const int st = FLM_Stream::construct_from_selector(selector.c_str(), &stream)) {
      c.err << "rvdlg: cmcontrols: " << selector << ": " << tbs_strerror(st) << "\n";
      for (const auto& message : messages.messages()) c.err << message;
      return 1;
    }
  }
  // The controls speak with the library's texts, as inside its dialogs.
  plat::ResourceScope library(rvcmndlg::LibraryResources());
  CmControlsDialog dialog(stream);
  if (dialog.DoModal() != plat::IdOk) {
    c.out << "cancelled\n";
    return 1;
  }
  c.out << "project tree: " << OrNone(dialog.project_tree_choice) << "\n"
        << "timeline: " << OrNone(dialog.timeline_choice) << "\n"
        << "baseline tree: " << OrNone(dialog.baseline_tree_choice) << "\n"
        << "record: " << OrNone(dialog.record_choice) << "\n";
  return 0;
}

void InstallCmCommands(CLI::App& app, Runner& chosen) {
  auto* cmd = app.add_subcommand("cmcontrols", "show the change-management controls over a stream");
  auto selector = std::make_shared<std::string>();
  cmd->add_option("STREAM", *selector, "the stream's selector (stream:NAME@\\VOB)")->required();
  cmd->callback([&chosen, selector] { chosen = [selector](Context& c) { return RunCmControls(c, *selector); }; });
}

}  // namespace rvdlg
