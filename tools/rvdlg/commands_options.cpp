// rvdlg options: the Operations page, and the settings it edits.
#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <ostream>

#include "commands.h"
#include "fileops/operations_page.h"
#include "rvcmndlg/user_options.h"
#include "platform/propsheet.h"

namespace rvdlg {

namespace {

struct Setting {
  const char* name;
  std::function<std::string(const CUserOptions&)> read;
};

template <typename Getter>
Setting Number(const char* name, Getter getter) {
  return Setting{name, [getter](const CUserOptions& o) { return std::to_string(static_cast<int>((o.*getter)())); }};
}

// Every setting, in the order of the settings table.
const std::vector<Setting>& Settings() {
  static const std::vector<Setting> settings = {
      Number("SuppressErrors", &CUserOptions::SuppressErrors),
      Number("PromptForCIComment", &CUserOptions::PromptForCIComment),
      Number("UseCheckoutInfo", &CUserOptions::UseCheckoutInfo),
      Number("PromptForCOComment", &CUserOptions::PromptForCOComment),
      Number("CheckoutReserved", &CUserOptions::CheckoutReserved),
      Number("CheckoutUnreserved", &CUserOptions::CheckoutUnreserved),
      Number("CheckoutNonmastered", &CUserOptions::CheckoutNonmastered),
      Number("AddSrcMaster", &CUserOptions::AddSrcMaster),
      Number("ConfirmUncheckout", &CUserOptions::ConfirmUncheckout),
      Number("UncheckoutSaveFile", &CUserOptions::UncheckoutSaveFile),
      Number("ExplorerSimpleMenu", &CUserOptions::ExplorerSimpleMenu),
      Number("ExplorerRefresh", &CUserOptions::ExplorerRefresh),
      Number("StartViewPage", &CUserOptions::StartViewPage),
      Setting{"ExplorerCommandPrompt", [](const CUserOptions& o) { return o.ExplorerCommandPrompt(); }},
      Number("RestartAtLogon", &CUserOptions::RestartAtLogon),
      Number("ReconnectAtLogon", &CUserOptions::ReconnectAtLogon),
      Number("CheckinPreserveTime", &CUserOptions::CheckinPreserveTime),
      Number("CheckoutPreserveTime", &CUserOptions::CheckoutPreserveTime),
  };
  return settings;
}

}  // namespace

int ShowSettings(std::ostream& out) {
  const CUserOptions options;
  for (const auto& setting : Settings()) out << setting.name << ": " << setting.read(options) << "\n";
  return 0;
}

namespace {

int EditSettings(std::ostream& out) {
  CRvOperationsPage page;
  plat::PropertySheet sheet("Options");
  sheet.SetFlags(plat::kSheetHasHelp);
  sheet.AddPage(&page);
  const int result = sheet.DoModal();
  out << (result == plat::IdOk ? "options: saved\n" : "options: cancelled\n");
  return result == plat::IdOk ? 0 : 1;
}

}  // namespace

void InstallOptionsCommand(CLI::App& app, Runner& chosen) {
  auto* command = app.add_subcommand("options", "edit the operation settings on the Operations page");
  struct Flags {
    bool show = false, defaults = false;
  };
  auto flags = std::make_shared<Flags>();
  auto* show = command->add_flag("--show", flags->show, "print every setting as Name: value");
  auto* defaults = command->add_flag("--default", flags->defaults, "write the default operation settings");
  show->excludes(defaults);
  command->callback([&chosen, flags] {
    if (flags->show)
      chosen = [](Context& c) { return ShowSettings(c.out); };
    else if (flags->defaults)
      chosen = [](Context& c) {
        CUserOptions().Default();
        c.out << "options: defaults written\n";
        return 0;
      };
    else
      chosen = [](Context& c) { return EditSettings(c.out); };
  });
}

}  // namespace rvdlg
