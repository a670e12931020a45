#include "app.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string_view>
#include <unistd.h>

#include "platform/dialog.h"
#include "platform/hosts.h"
#include "platform/pathmap.h"
#include "platform/qt_host.h"
#include "platform/registry.h"
#include "platform/uihost.h"
#include "commands.h"
#include "gu.h"
#include "rvcmndlg/home.h"
#include "cm_controls_dialog.h"
#include "cmctls/cmctls.h"
#include "sample_dialog.h"
#include "tool_launcher.h"

namespace rvdlg {

namespace {

struct Settings {
  std::string home;
  std::string answers;
  bool yes = false;
  bool gui = false;
};

// The host in force for this run; a scripted host is also returned apart so
// its transcript and failures can be reported at the end.
std::shared_ptr<plat::UiHost> MakeHost(const Settings& settings, std::istream& in, std::ostream& out,
                                       std::shared_ptr<plat::ScriptedHost>& scripted,
                                       std::string& error) {
  if (!settings.answers.empty()) {
    std::ifstream file(settings.answers);
    if (!file) {
      error = "cannot read the answer file '" + settings.answers + "'";
      return nullptr;
    }
    std::stringstream text;
    text << file.rdbuf();
    scripted = std::make_shared<plat::ScriptedHost>();
    if (!scripted->LoadAnswers(text.str(), &error)) {
      error = settings.answers + ": " + error;
      return nullptr;
    }
    return scripted;
  }
  if (settings.yes) return std::make_shared<plat::AutomaticHost>(&out);
  if (settings.gui) {
    if (const std::string reason = plat::GuiUnavailableReason(); !reason.empty()) {
      error = "--gui: " + reason;
      return nullptr;
    }
    return std::make_shared<plat::QtHost>();
  }
  const bool typed = &in == &std::cin && isatty(STDIN_FILENO);
  return std::make_shared<plat::TerminalHost>(in, out, !typed);
}

// While alive, the programs rvdlg starts find its home in RVDLG_HOME (the
// compare that the library starts needs the same store); the value found is
// put back at the end.
class HomeForChildren {
 public:
  explicit HomeForChildren(const std::filesystem::path& home) {
    if (const char* found = std::getenv("RVDLG_HOME")) previous_ = found;
    ::setenv("RVDLG_HOME", home.c_str(), 1);
  }
  ~HomeForChildren() {
    if (previous_)
      ::setenv("RVDLG_HOME", previous_->c_str(), 1);
    else
      ::unsetenv("RVDLG_HOME");
  }
  HomeForChildren(const HomeForChildren&) = delete;
  HomeForChildren& operator=(const HomeForChildren&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  CLI::App app{"rvdlg: runs the common dialogs of the version-control client", "rvdlg"};
  Settings settings;
  settings.home = plat::DefaultHome();
  app.add_option("--home", settings.home, "home directory (default $RVDLG_HOME, else ~/.rvdlg)");
  auto* answers = app.add_option("--answers", settings.answers, "answer every window from this file");
  auto* yes = app.add_flag("--yes", settings.yes, "take every window's default answer");
  auto* gui = app.add_flag("--gui", settings.gui, "show every window on the desktop (also RVDLG_HOST=gui)");
  answers->excludes(yes);
  gui->excludes(answers);
  gui->excludes(yes);
  app.require_subcommand(1);
  Runner chosen;
  InstallSampleCommands(app, chosen);
  InstallInitCommand(app, chosen);
  InstallMountCommands(app, chosen);
  InstallOptionsCommand(app, chosen);
  InstallDescribeCommand(app, chosen);
  InstallDiffCommands(app, chosen);
  InstallFileOpCommands(app, chosen);
  InstallMergeCommand(app, chosen);
  InstallTracklaneCommand(app, chosen);
  InstallCmCommands(app, chosen);
  InstallRegistryCommands(app, chosen);
  InstallActivityCommands(app, chosen);
  InstallPropertiesCommand(app, chosen);
  InstallViewCommands(app, chosen);
  InstallAddCommand(app, chosen);
  InstallViewOpCommands(app, chosen);
  InstallLogonCommand(app, chosen);
  InstallVobMountCommands(app, chosen);
  InstallCheckCommand(app, chosen);

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return 0;
  } catch (const CLI::ParseError& e) {
    std::string what = e.what();
    // CLI11 says only that a subcommand is required: name the word that is
    // not one instead. Other missing arguments keep CLI11's own sentence.
    if (dynamic_cast<const CLI::RequiredError*>(&e) && what.find("subcommand") != std::string::npos) {
      what = "a command is required (rvdlg --help lists them)";
      for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--home" || args[i] == "--answers") {
          ++i;
        } else if (args[i].empty() || args[i][0] != '-') {
          what = "unknown command '" + args[i] + "' (rvdlg --help lists them)";
          break;
        }
      }
    }
    err << "rvdlg: " << what << "\n";
    return 2;
  }

  if (const char* chosen_host = std::getenv("RVDLG_HOST");
      chosen_host && std::string_view(chosen_host) == "gui" && settings.answers.empty() && !settings.yes)
    settings.gui = true;

  // Library pathnames map below the home; settings live in its config
  // folder, the repository in its store.
  std::string error;
  auto home = rvcmndlg::Home::Open(settings.home, &error);
  if (!home) {
    err << "rvdlg: " << error << "\n";
    return 1;
  }

  std::shared_ptr<plat::ScriptedHost> scripted;
  auto host = MakeHost(settings, in, out, scripted, error);
  if (!host) {
    err << "rvdlg: " << error << "\n";
    return 2;
  }
  plat::SetUiHost(host);
  // Help opens nowhere here: say which topic the user asked for.
  static std::ostream* help_out = nullptr;
  help_out = &out;
  gu_set_help_proc([](const char* topic) { *help_out << "help: " << topic << "\n"; });
  plat::SetAppName("rvdlg");
  RegisterSampleResources();
  RegisterCmControlsResources();
  cmctls::Install();  // the change-management controls, as installed beside the library

  // The library starts the product's programs through rvdlg's launcher: they
  // come from rvdlg's directory, with the home of this run.
  const HomeForChildren home_for_children(plat::Home());
  const std::shared_ptr<plat::Launcher> previous_launcher = plat::CurrentLauncher();
  const auto tools = std::make_shared<ToolLauncher>(previous_launcher, ProgramDirectory());
  plat::SetLauncher(tools);

  Context context{in, out, err, settings.home, tools.get()};
  const int status_of_run = chosen ? chosen(context) : 0;
  int status = status_of_run;
  tools->WaitAll();  // nothing the library started outlives the run
  plat::SetLauncher(previous_launcher);

  plat::SetUiHost(nullptr);
  gu_set_help_proc(nullptr);
  home.reset();
  if (auto* graphical = dynamic_cast<plat::QtHost*>(host.get())) {
    // A window the graphical host could not show fully fails the run.
    const auto failures = graphical->Failures();
    for (const auto& failure : failures) err << "rvdlg: " << failure << "\n";
    if (!failures.empty() && status == 0) status = 1;
  }
  if (scripted) {
    out << scripted->TranscriptText();
    // A run that did not go as the answer file says fails, unless the command
    // failed already (its own status stands).
    const auto problems = scripted->Finish();
    for (const auto& problem : problems) err << "rvdlg: " << problem << "\n";
    if (!problems.empty() && status == 0) status = 1;
  }
  return status;
}

}  // namespace rvdlg
