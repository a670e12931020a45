// `rvdlg views MODE`, `rvdlg viewprops [NAME]`, `rvdlg browseviews
// [--integration] TAG...` and `rvdlg rvfs [on|off]`: the view lists, Edit
// View Properties, the view browser and the file-system stand-in.
#include <CLI/CLI.hpp>
#include <array>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "ntregy.h"
#include "platform/types.h"
#include "res/library_resources.h"
#include "rgy.h"
#include "rvcmndlg/entries.h"
#include "tbs.h"
#include "tbs_rvfs.h"
#include "viewvob/browse_views_dlg.h"
#include "viewvob/view_tag_list_box.h"

namespace rvdlg {

namespace {

struct ModeName {
  const char* name;
  CViewTagListBox::Mode mode;
};

constexpr std::array<ModeName, 8> kModes{{{"all", CViewTagListBox::AllRegion},
                                          {"active", CViewTagListBox::ActiveInRegion},
                                          {"inactive", CViewTagListBox::InactiveInRegion},
                                          {"recent-inactive", CViewTagListBox::RecentInactive},
                                          {"recent", CViewTagListBox::Recent},
                                          {"local-inactive", CViewTagListBox::LocalInactive},
                                          {"local", CViewTagListBox::Local},
                                          {"snapshot", CViewTagListBox::Snapshot}}};

bool NeedsRegion(CViewTagListBox::Mode mode) {
  return mode != CViewTagListBox::Recent && mode != CViewTagListBox::RecentInactive &&
         mode != CViewTagListBox::Snapshot;
}

int Views(Context& c, const std::string& name) {
  CViewTagListBox::Mode mode = CViewTagListBox::AllRegion;
  for (const ModeName& m : kModes)
    if (name == m.name) mode = m.mode;
  char region[1024] = "";
  const bool region_missing = NeedsRegion(mode) && rgy_get_default_region(region, sizeof region) != TBS_ST_OK;
  CViewTagListBox list;
  list.CreateWindowObject(nullptr, 1, "", 0);
  list.Fill(mode);  // without a region it tells the user
  for (const auto& item : list.Items()) c.out << item.text << "\n";
  return region_missing ? 1 : 0;
}

int ViewProperties(Context& c, const std::string& name) {
  c.out << std::flush;  // the describe tool writes to the same terminal
  if (name.empty()) {
    const int result = rvConfigureViewOp("", nullptr);
    const bool started = WaitForStarted(c, "viewprops");
    return result == plat::IdOk && started ? 0 : 1;
  }
  const std::string pathname = LibraryPathname(name);
  const int status = rvConfigureViewOp(pathname.empty() ? name : pathname, nullptr);
  const bool started = WaitForStarted(c, "viewprops");
  if (status != 0) c.err << "rvdlg: viewprops: " << name << ": " << tbs_strerror(status) << "\n";
  return status == 0 && started ? 0 : 1;
}

int BrowseViews(Context& c, const std::vector<std::string>& tags, bool integration) {
  rvcmndlg::EntryScope resources;
  CBrowseViews browse(tags, integration ? 0 : 1);
  if (browse.DoModal() != plat::IdOk) {
    c.out << "cancelled\n";
    return 1;
  }
  c.out << "chosen: " << browse.Chosen() << "\n";
  return 0;
}

int Rvfs(Context& c, const std::string& setting) {
  if (!setting.empty() && ntregy_set_param(TBS_RVFS_PARAM, setting == "on" ? "1" : "0") != TBS_ST_OK) {
    c.err << "rvdlg: rvfs: the setting cannot be stored\n";
    return 1;
  }
  std::uint32_t flags = 0;
  const bool installed = tbs_rvfs_ws_dyn_flags(&flags) == TBS_ST_OK && !(flags & TBS_RVFS_WS_DYN_NOT_INSTALLED);
  c.out << "RVFS: " << (installed ? "installed" : "not installed") << "\n";
  return 0;
}

}  // namespace

void InstallViewCommands(CLI::App& app, Runner& chosen) {
  auto* views = app.add_subcommand("views", "list the view tags of a view list, one a line");
  auto mode = std::make_shared<std::string>();
  std::vector<std::string> names;
  for (const ModeName& m : kModes) names.push_back(m.name);
  views->add_option("MODE", *mode, "all, active, inactive, recent-inactive, recent, local-inactive, local or snapshot")
      ->required()
      ->check(CLI::IsMember(names));
  views->callback([&chosen, mode] { chosen = [mode](Context& c) { return Views(c, *mode); }; });

  auto* props = app.add_subcommand("viewprops", "Edit View Properties, or describe the view of a pathname");
  auto name = std::make_shared<std::string>();
  props->add_option("NAME", *name, "a pathname in a view or a file inside a view's directory");
  props->callback([&chosen, name] { chosen = [name](Context& c) { return ViewProperties(c, *name); }; });

  auto* browse = app.add_subcommand("browseviews", "pick a view from the tags given");
  auto tags = std::make_shared<std::vector<std::string>>();
  auto integration = std::make_shared<bool>(false);
  browse->add_flag("--integration", *integration, "an integration view is wanted (else a development view)");
  browse->add_option("TAG", *tags, "view tags to choose from")->required();
  browse->callback([&chosen, tags, integration] {
    chosen = [tags, integration](Context& c) { return BrowseViews(c, *tags, *integration); };
  });

  auto* rvfs = app.add_subcommand("rvfs", "show, or set, whether the file-system stand-in is installed");
  auto setting = std::make_shared<std::string>();
  rvfs->add_option("SETTING", *setting, "on or off")->check(CLI::IsMember({"on", "off"}));
  rvfs->callback([&chosen, setting] { chosen = [setting](Context& c) { return Rvfs(c, *setting); }; });
}

}  // namespace rvdlg
