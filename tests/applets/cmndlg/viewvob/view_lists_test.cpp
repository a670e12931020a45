// The view lists, Edit View Properties and the view browser over views of
// two hosts: what each list shows, what the user picks and what is started.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "local/calllog.h"
#include "ntregy.h"
#include "platform/controls.h"
#include "platform/machine.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rgy.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/user_options.h"
#include "support/repository.h"
#include "support/ui.h"
#include "tbs.h"
#include "tbs_rvfs.h"
#include "tbs_oid.h"
#include "tbs_uuid.h"
#include "view.h"
#include "viewvob/browse_views_dlg.h"
#include "viewvob/view_properties_dlg.h"
#include "viewvob/view_tag_list_box.h"

namespace {

using namespace rvcmndlg::res;
using client_local::CallLog;
using client_local::Failure;
using Tags = std::vector<std::string>;

// A host name longer than the 15 characters of a computer name.
constexpr const char* kHost = "build-workstation-07";

plat::MachineProfile Machine(const std::string& host) {
  plat::MachineProfile machine;
  machine.host_name = host;
  machine.computer_name = plat::ComputerNameFor(host);
  machine.user_name = "pat";
  return machine;
}

// Views of this host and of "farhost", started and stopped, a snapshot view,
// a web view and a view known to the registry by this computer's short name.
class ViewListTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    plat::Registry::UseMemory();
    plat::SetMachineProfile(Machine("farhost"));
    ViewTest::SetUp();  // v1, started, of farhost
    ASSERT_EQ(view_create("far_stopped", 0, ""), 0);
    ASSERT_EQ(view_mfs_unregister_tag("far_stopped"), 0);
    plat::SetMachineProfile(Machine(kHost));
    ASSERT_EQ(view_create("here", 0, ""), 0);
    ASSERT_EQ(view_create("stopped_here", 0, ""), 0);
    ASSERT_EQ(view_mfs_unregister_tag("stopped_here"), 0);
    ASSERT_EQ(view_create("snap", 1, ""), 0);
    AddRegistryView("web_view", kHost, RGY_VIEW_WEB);
    AddRegistryView("short_name", "build-workstati", RGY_VIEW_DYNAMIC);
    host = std::make_shared<plat::ScriptedHost>();
    plat::SetUiHost(host);
    launcher = plat::UseRecordingLauncher();
  }
  void TearDown() override {
    EXPECT_EQ(host->Finish(), std::vector<std::string>()) << host->TranscriptText();
    plat::SetUiHost(nullptr);
    plat::SetLauncher(nullptr);
    plat::SetMachineProfile(std::nullopt);
    client_local::SetRvfsInstalled(true);
    CallLog::StopRecording();
    ViewTest::TearDown();
  }

  // A view only the registry knows: its tag in the region and its object.
  static void AddRegistryView(const char* tag, const char* view_host, const char* kind) {
    tbs_uuid_t uuid{};
    tbs_uuid_gen(&uuid);
    for (int entry_kind : {RGY_KIND_VIEW_TAG, RGY_KIND_VIEW_OBJECT}) {
      rgy_entry_t entry = nullptr;
      ASSERT_EQ(rgy_create_entry(entry_kind, &entry), 0);
      rgy_setuuid_in_entry(entry, RGY_KEY_UUID, &uuid);
      rgy_setstring_in_entry(entry, RGY_KEY_HOST, view_host);
      rgy_setstring_in_entry(entry, RGY_KEY_TAG, tag);
      rgy_setstring_in_entry(entry, RGY_KEY_VIEW_KIND, kind);
      rgy_setstring_in_entry(entry, RGY_KEY_OWNER, "builder");
      EXPECT_EQ(rgy_add_entry(entry_kind == RGY_KIND_VIEW_TAG ? "test" : nullptr, entry), 0);
      rgy_delete_entry(entry);
    }
  }

  static Tags Filled(CViewTagListBox::Mode mode) {
    CViewTagListBox box;
    box.CreateWindowObject(nullptr, 1, "", plat::lbs::ExtendedSel);
    box.Fill(mode);
    Tags tags;
    for (const auto& item : box.Items()) tags.push_back(item.text);
    return tags;
  }

  // The transcript since a count of its lines.
  std::string TranscriptSince(std::size_t lines) const {
    const auto all = host->Transcript();
    std::string text;
    for (std::size_t i = lines; i < all.size(); ++i) text += all[i] + "\n";
    return text;
  }

  Tags Described() const {
    Tags lines;
    for (const auto& start : launcher->Starts()) lines.push_back(start.command_line);
    return lines;
  }

  rvcmndlg::EntryScope resources_;
  std::shared_ptr<plat::ScriptedHost> host;
  std::shared_ptr<plat::RecordingLauncher> launcher;
};

TEST_F(ViewListTest, EachModeListsExactlyItsViews) {
  ASSERT_EQ(ntregy_set_param(VIEW_RECENT_PARAM, "stopped_here,gone,v1,snap,far_stopped,web_view"), 0);
  const struct {
    CViewTagListBox::Mode mode;
    Tags tags;
  } cases[] = {
      {CViewTagListBox::AllRegion, {"v1", "far_stopped", "here", "stopped_here", "short_name"}},
      {CViewTagListBox::ActiveInRegion, {"v1", "here"}},
      {CViewTagListBox::InactiveInRegion, {"far_stopped", "stopped_here", "short_name"}},
      // Started views have their root: v1; a snapshot view's root stays.
      {CViewTagListBox::RecentInactive, {"stopped_here", "far_stopped", "web_view"}},
      {CViewTagListBox::Recent, {"stopped_here", "v1", "snap", "far_stopped", "web_view"}},
      // The full host name and the 15-character computer name, case aside.
      {CViewTagListBox::LocalInactive, {"stopped_here", "short_name"}},
      {CViewTagListBox::Local, {"here", "stopped_here", "short_name"}},
      {CViewTagListBox::Snapshot, {"snap"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Filled(c.mode), c.tags) << "mode " << c.mode;
}

TEST_F(ViewListTest, WithoutADefaultRegionTheRegionModesSayWhyAndStayEmpty) {
  CallLog::InjectFailure("rgy_get_default_region", Failure{TBS_ST_NOT_FOUND, {}, -1});
  host->OnMessage("Cannot locate the default Strata registry region.").Times(5).Click("OK");
  for (auto mode : {CViewTagListBox::AllRegion, CViewTagListBox::ActiveInRegion, CViewTagListBox::InactiveInRegion,
                    CViewTagListBox::LocalInactive, CViewTagListBox::Local})
    EXPECT_EQ(Filled(mode), Tags()) << "mode " << mode;
}

TEST_F(ViewListTest, TheRecentlyUsedListIsReadOncePerFillAndCapped) {
  std::string many;
  for (int i = 0; i < 200; ++i) many += (i ? ",t" : "t") + std::to_string(i);
  ASSERT_EQ(ntregy_set_param(VIEW_RECENT_PARAM, many.c_str()), 0);
  CMRUViewList recent;
  ASSERT_EQ(recent.List().size(), CMRUViewList::kMaxTags);
  EXPECT_EQ(recent.List().back(), "t127");
  EXPECT_TRUE(recent.Contains("T5")) << "case aside";

  ASSERT_EQ(ntregy_set_param(VIEW_RECENT_PARAM, "here,v1"), 0);
  CViewTagListBox box;
  box.CreateWindowObject(nullptr, 1, "", 0);
  CallLog::StartRecording();
  box.Fill(CViewTagListBox::Recent);
  EXPECT_TRUE(box.IsRecent("HERE"));
  EXPECT_FALSE(box.IsRecent("snap"));
  EXPECT_EQ(CallLog::Calls("ntregy_get_param").size(), 1u);
  box.Fill(CViewTagListBox::Recent);
  EXPECT_EQ(CallLog::Calls("ntregy_get_param").size(), 2u) << "each fill reads it again";
  EXPECT_GT(box.GetHorizontalExtent(), 0);

  for (const char* value : {static_cast<const char*>(""), static_cast<const char*>(nullptr)}) {
    if (value) ASSERT_EQ(ntregy_set_param(VIEW_RECENT_PARAM, value), 0);
    else CallLog::InjectFailure("ntregy_get_param", Failure{TBS_ST_FAILURE, {}, -1});
    EXPECT_EQ(Filled(CViewTagListBox::Recent), Tags());
    CMRUViewList unread;
    EXPECT_TRUE(unread.List().empty());
  }
}

TEST_F(ViewListTest, PreselectingPicksEachTagFoundAndScrollsToTheFirst) {
  CViewTagListBox box;
  box.CreateWindowObject(nullptr, 1, "", plat::lbs::ExtendedSel);
  box.Fill(CViewTagListBox::AllRegion);
  box.Preselect({"SHORT_NAME", "nothing", "Here"});
  Tags selected;
  ASSERT_TRUE(box.SelectedTags(&selected));
  EXPECT_EQ(selected, (Tags{"here", "short_name"}));
  EXPECT_EQ(box.GetTopIndex(), 2);
}

// ---- Edit View Properties ----

TEST_F(ViewListTest, ThePagesAreThereWithTheFileSystemAndOnlySnapshotWithout) {
  for (bool installed : {true, false}) {
    client_local::SetRvfsInstalled(installed);
    host->OnTemplate(IDD_VIEW_PROPERTIES).Click("Cancel");
    CViewPropertiesDialog dialog;
    EXPECT_EQ(dialog.DoModal(), plat::IdCancel);
  }
  const std::string text = host->TranscriptText();
  EXPECT_NE(text.find("tabs: [Local] Recent All Snapshot"), std::string::npos) << text;
  EXPECT_NE(text.find("tabs: [Snapshot]"), std::string::npos) << text;
}

TEST_F(ViewListTest, TheStoredPageOpensAndAnyOtherValueOpensSnapshot) {
  const struct {
    int stored;
    const char* tabs;
  } cases[] = {{0, "[Local] Recent"}, {1, "Local [Recent]"}, {2, "Recent [All]"}, {3, "All [Snapshot]"},
               {7, "All [Snapshot]"}, {-1, "All [Snapshot]"}};
  for (const auto& c : cases) {
    CUserOptions().SetStartViewPage(c.stored);
    host->OnTemplate(IDD_VIEW_PROPERTIES).Click("Cancel");
    const std::size_t before = host->Transcript().size();
    CViewPropertiesDialog dialog;
    dialog.DoModal();
    const std::string text = TranscriptSince(before);
    EXPECT_NE(text.find(c.tabs), std::string::npos) << c.stored << "\n" << text;
    EXPECT_EQ(CUserOptions().StartViewPage(), c.stored) << "Cancel stores nothing";
  }
}

TEST_F(ViewListTest, OkDescribesEachPickedViewAndStoresThePage) {
  CUserOptions().SetStartViewPage(0);
  host->OnTemplate(IDD_VIEW_PROPERTIES)
      .Page("All")
      .Select(IDC_VIEW_LIST_ALL, "v1")
      .Do(plat::Action{plat::Action::Kind::Add, std::to_string(IDC_VIEW_LIST_ALL), "here"})
      .Click("OK");
  CViewPropertiesDialog dialog;
  EXPECT_EQ(dialog.DoModal(), plat::IdOk);
  EXPECT_EQ(Described(), (Tags{"stratadescribe v1", "stratadescribe here"}));
  EXPECT_EQ(CUserOptions().StartViewPage(), 2);
}

TEST_F(ViewListTest, AFailingDescribeIsReportedAndTheNextOneRuns) {
  CUserOptions().SetStartViewPage(0);
  CallLog::InjectFailure("FLM_View::construct_from_tag", Failure{TBS_ST_NOT_FOUND, {}, 1});
  host->OnTemplate(IDD_VIEW_PROPERTIES)
      .Select(IDC_VIEW_LIST_LOCAL, "here")
      .Do(plat::Action{plat::Action::Kind::Add, std::to_string(IDC_VIEW_LIST_LOCAL), "stopped_here"})
      .Click("OK");
  host->OnMessage("Error displaying properties for view 'here'.").Click("OK");
  CViewPropertiesDialog dialog;
  EXPECT_EQ(dialog.DoModal(), plat::IdOk);
  EXPECT_EQ(Described(), Tags{"stratadescribe stopped_here"});
}

TEST_F(ViewListTest, DoubleClickActsAsOkAndTheCallersTagsArePreselected) {
  CUserOptions().SetStartViewPage(3);
  host->OnTemplate(IDD_VIEW_PROPERTIES).Page("Local").Do(
      plat::Action{plat::Action::Kind::DoubleClick, std::to_string(IDC_VIEW_LIST_LOCAL), "stopped_here"});
  host->OnTemplate(IDD_VIEW_PROPERTIES).Click("OK");
  for (const Tags& preselect : {Tags{}, Tags{"SNAP"}}) {
    CUserOptions().SetStartViewPage(3);
    CViewPropertiesDialog dialog(preselect);
    EXPECT_EQ(dialog.DoModal(), plat::IdOk);
  }
  EXPECT_EQ(Described(), (Tags{"stratadescribe stopped_here", "stratadescribe snap"}));
  EXPECT_EQ(CUserOptions().StartViewPage(), 3);
}

// ---- rvConfigureViewOp and the describe command line ----

TEST_F(ViewListTest, ConfigureViewDescribesTheViewOfAPathname) {
  CallLog::StartRecording();
  EXPECT_EQ(rvConfigureViewOp("\\\\view\\snap\\public\\src", nullptr), 0);
  const auto usage = CallLog::Calls("clp_collectdatas");
  ASSERT_EQ(usage.size(), 1u);
  EXPECT_EQ(usage[0].args, (Tags{"stratadescribe", "stratadescribe \\\\view\\snap"}));
  EXPECT_EQ(rvConfigureViewOp("M:\\here\\public", nullptr), 0);
  EXPECT_EQ(Described(), (Tags{"stratadescribe \\\\view\\snap", "stratadescribe here"}));
  EXPECT_EQ(rvConfigureViewOp("C:\\not\\in\\a\\view", nullptr), TBS_ST_NOT_FOUND);
  EXPECT_EQ(Described().size(), 2u) << "nothing is started for a failed lookup";
}

TEST_F(ViewListTest, DescribeCommandLinesGiveEveryPathnameBackWhole) {
  for (const std::string& path : Tags{"\\\\view\\v1\\my dir\\a.c", "\\\\view\\v1\\dir\\", "\\\\view\\v1\\say \"hi\".c",
                                 std::string("\\\\view\\v1\\") + std::string(1500, 'x')}) {
    const auto words = plat::SplitCommandLine(DescribeViewCommandLine(path));
    EXPECT_EQ(words, (Tags{"stratadescribe", path})) << path;
  }
}

// ---- The view browser ----

TEST_F(ViewListTest, TheBrowserAsksBeforeAnotherUsersViewIsChosen) {
  const struct {
    int mode;
    const char* title;
    const char* pick;
    bool asked;
  } cases[] = {{1, "Select a Development View", "here", false},
               {0, "Select an Integration View", "short_name", true},
               {0, "Select an Integration View", "unknown_view", false}};
  for (const auto& c : cases) {
    auto window = host->OnTemplate(IDD_BROWSE_VIEWS);
    window.Select(IDC_BROWSE_VIEWS_LIST, c.pick).Click("OK");
    if (c.asked) {  // No keeps the dialog: the user presses OK again
      window.Click("OK");
      host->OnMessage("owned by the user 'builder'").Click("No");
      host->OnMessage("owned by the user 'builder'").Click("Yes");
    }
    const std::size_t before = host->Transcript().size();
    CBrowseViews browse({"here", "short_name", "unknown_view"}, c.mode);
    ASSERT_EQ(browse.DoModal(), plat::IdOk) << c.pick;
    EXPECT_EQ(browse.Chosen(), c.pick);
    const std::string text = TranscriptSince(before);
    EXPECT_NE(text.find(c.title), std::string::npos) << text;
    EXPECT_EQ(text.find("owned by"), c.asked ? text.find("owned by") : std::string::npos) << text;
  }
}

}  // namespace
