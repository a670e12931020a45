// Property sheets with stand-in pages: which pages an object gets, how the
// sheets of one or several names are shown and answered, page activation
// with its fetch, read-only pages, help and fonts.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>

#include "clp.h"
#include "gcl_status.h"
#include "gu.h"
#include "kelp.h"
#include "local/calllog.h"
#include "ntcs.h"
#include "platform/controls.h"
#include "platform/machine.h"
#include "platform/process.h"
#include "propsheet/display_property_sheet.h"
#include "propsheet/property_messages.h"
#include "res/library_resources.h"
#include "propsheet/property_sheet.h"
#include "rvl_resolve.h"
#include "rvl_version.h"
#include "rvl_view.h"
#include "support/flm_sample.h"
#include "support/repository.h"
#include "support/ui.h"
#include "tbs.h"

namespace {

using client_local::CallLog;
using rvcmndlg::SheetOutcome;
using Kind = SheetOutcome::Kind;

constexpr int kFirstPageId = 31000;
constexpr int kEditId = 100;
constexpr int kButtonId = 101;
constexpr int kKeptId = 7136;  // one of the controls read-only pages never touch

// An object only the stand-in pages know: bit N of the mask selects page N.
class StandIn : public GCL_HandleBase {
 public:
  explicit StandIn(unsigned pages) : mask(pages) {}
  unsigned mask;
};

// What the stand-in pages do and saw; shared with the sheet threads.
struct Script {
  std::mutex mutex;
  int failing_page = 0;          // this page's fetch fails fetch_failures times
  int fetch_failures = 0;
  bool refuse_first = false;     // first_set_active answers false
  bool refuse_exchange = false;  // filling the controls fails
  bool read_only = false;
  bool apply_fails = false;
  std::vector<bool> pending_after_apply;  // the page's changed bit after each Apply
  bool lock_held_in_fetch = false;
  std::string open_related;      // an element page opens this name's sheet once
  std::vector<int> activated;    // page ids, each accepted activation
  std::string shown_value;       // the edit's text at the last activation
  std::uint32_t edit_style = 0;
  bool button_enabled = true, kept_enabled = true;
  plat::Font font;
  void Reset() {
    std::lock_guard<std::mutex> lock(mutex);
    failing_page = fetch_failures = 0;
    refuse_first = refuse_exchange = read_only = lock_held_in_fetch = apply_fails = false;
    pending_after_apply.clear();
    open_related.clear();
    activated.clear();
    shown_value.clear();
  }
};
Script g_script;

class StandInPage : public CBasePropertyPage {
 public:
  explicit StandInPage(int id) : CBasePropertyPage(id) {
    SetHelpTopic("stratadescribe/standinpage.htm");
    std::lock_guard<std::mutex> lock(g_script.mutex);
    if (g_script.read_only) SetPageReadOnly();
  }
  void fetch_data(GCL_Status& status) override {
    std::lock_guard<std::mutex> lock(g_script.mutex);
    g_script.lock_held_in_fetch = nt_critical_section_held() != 0;
    if (PageId() == g_script.failing_page && g_script.fetch_failures > 0) {
      --g_script.fetch_failures;
      status.set_code(TBS_ST_NOT_FOUND);
      status.push_message(GCL_String("the object went away"));
      return;
    }
    value_ = "fetched";
  }
  bool first_set_active() override {
    std::lock_guard<std::mutex> lock(g_script.mutex);
    return !g_script.refuse_first;
  }
  void DoDataExchange(plat::DataExchange& dx) override {
    bool refuse = false;
    {
      std::lock_guard<std::mutex> lock(g_script.mutex);
      refuse = g_script.refuse_exchange;
    }
    if (refuse) return dx.Fail(kEditId, "The value cannot be shown.");
    plat::DdxText(dx, kEditId, value_);
  }
  bool OnSetActive() override {
    if (!CBasePropertyPage::OnSetActive()) return false;
    std::string related;
    {
      std::lock_guard<std::mutex> lock(g_script.mutex);
      g_script.activated.push_back(PageId());
      g_script.shown_value = FindChild(kEditId)->Text();
      g_script.edit_style = FindChild(kEditId)->Style();
      g_script.button_enabled = FindChild(kButtonId)->IsEnabled();
      g_script.kept_enabled = FindChild(kKeptId)->IsEnabled();
      g_script.font = GetFont();
      if (PageId() == kFirstPageId + 19) related.swap(g_script.open_related);
    }
    if (!related.empty()) OpenRelated(related);
    return true;
  }

 private:
  // What a page's "Properties..." command does: an independent sheet.
  static void OpenRelated(const std::string& name) {
    GCL_Status status;
    std::unique_ptr<GCL_HandleBase> object;
    {
      DiradoAccess lock;
      object = RVL_ResolveHandle(status, GCL_String(name.c_str()));
    }
    ASSERT_TRUE(object);
    auto thread = CRvPropertyThread::CreateObject();
    thread->SetObject(status, *object, GCL_String(name.c_str()));
    ASSERT_TRUE(status.ok());
    CRvPropertyThread::Start(std::move(thread));
  }
  // The pattern of editable pages: a changed field's bit is applied on OK or
  // Apply, and kept when the repository refuses it.
  bool OnCommand(int id, int code) override {
    if (id != kEditId || code != plat::en::Change) return CBasePropertyPage::OnCommand(id, code);
    changed_ = true;
    SetModified();
    return true;
  }
  bool OnApply() override {
    if (changed_) {
      GCL_Status status;
      {
        std::lock_guard<std::mutex> lock(g_script.mutex);
        if (g_script.apply_fails) status.set_code(TBS_ST_PERMISSION);
      }
      if (status.ok()) changed_ = false;
      else rvcmndlg::ShowStatusError(status);
      std::lock_guard<std::mutex> lock(g_script.mutex);
      g_script.pending_after_apply.push_back(changed_);
    }
    return !changed_;
  }
  std::string value_;
  bool changed_ = false;
};

template <int N>
bool AppliesToStandIn(const GCL_HandleBase& object) {
  const auto* stand_in = dynamic_cast<const StandIn*>(&object);
  return stand_in && ((stand_in->mask >> N) & 1u);
}

// A predicate that needs the repository, which fails: a box, then false.
bool AppliesAfterFailedLookUp(const GCL_HandleBase& object) {
  if (!AppliesToStandIn<17>(object)) return false;
  GCL_Status status;
  {
    CRvPropertyBase::DiradoAccess lock;
    RVL_ResolveName(status, GCL_String("\\public\\nosuch"));
  }
  rvcmndlg::ShowStatusError(status);
  return false;
}

bool AnyVobObject(const GCL_HandleBase& object) { return dynamic_cast<const RVL_VobObject*>(&object) != nullptr; }
bool AnElement(const GCL_HandleBase& object) { return dynamic_cast<const RVL_Element*>(&object) != nullptr; }

template <int N>
CRvPropertyBase* MakeStandIn() {
  return new StandInPage(kFirstPageId + N);
}

template <int N>
void Register(bool (*applies)(const GCL_HandleBase&) = &AppliesToStandIn<N>) {
  plat::test::AddTemplate(kFirstPageId + N, "Page " + std::to_string(N),
                          {plat::test::Ctl("edit", kEditId, "", plat::ws::TabStop | 0x00800000),
                           plat::test::Ctl("button", kButtonId, "Change...", plat::bs::PushButton),
                           plat::test::Ctl("button", kKeptId, "Kept", plat::bs::PushButton),
                           plat::test::Ctl("button", plat::IdStatic, "Group", plat::bs::GroupBox),
                           plat::test::Ctl("static", plat::IdStatic, "Name")});
  CRvPropertyBase::register_page_subclass({applies, &MakeStandIn<N>});
}

// Pages 0..16 for stand-ins (17 of them: the registry grows past 8 and 16),
// 17 with a failing predicate, 18 "General" for any VOB object, 19 and 20
// for elements.
void RegisterStandIns() {
  static std::once_flag once;
  std::call_once(once, [] {
    (void)CRvPropertyBase::registered_subclasses();  // the library's pages come first
    [&]<int... N>(std::integer_sequence<int, N...>) { (Register<N>(), ...); }(std::make_integer_sequence<int, 17>{});
    Register<17>(&AppliesAfterFailedLookUp);
    Register<18>(&AnyVobObject);
    Register<19>(&AnElement);
    Register<20>(&AnElement);
  });
}

std::vector<std::string> PageTitles(const CRvPropertySheet& sheet) {
  std::vector<std::string> titles;
  for (int i = 0; i < sheet.GetPageCount(); ++i) titles.push_back(sheet.GetPage(i)->Title());
  return titles;
}

// Every box is shown with the client lock free.
class LockWatch : public plat::UiHost {
 public:
  explicit LockWatch(std::shared_ptr<plat::UiHost> inner) : inner_(std::move(inner)) {}
  void WindowShown(plat::Window& w, bool modal) override {
    if (nt_critical_section_held()) held_ = true;
    inner_->WindowShown(w, modal);
  }
  void WindowHidden(plat::Window& w) override { inner_->WindowHidden(w); }
  plat::HostAnswer Interact(plat::Window& w) override { return inner_->Interact(w); }
  long WaitTimeoutMs() const override { return inner_->WaitTimeoutMs(); }
  void WaitTimedOut(plat::Window& w) override { inner_->WaitTimedOut(w); }
  int ChooseMenuItem(const plat::Menu& m, plat::Window* o) override { return inner_->ChooseMenuItem(m, o); }
  std::optional<std::vector<std::string>> ChooseFiles(const plat::FileDialogSpec& s, plat::Window* o) override {
    return inner_->ChooseFiles(s, o);
  }
  std::atomic<bool> held_{false};

 private:
  std::shared_ptr<plat::UiHost> inner_;
};

class PropertySheetTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    RegisterStandIns();
    g_script.Reset();
    launcher = plat::UseRecordingLauncher();
    CallLog::StartRecording();
  }
  void TearDown() override {
    CallLog::ClearFailures();
    CallLog::StopRecording();
    plat::SetLauncher(nullptr);
    plat::SetMachineProfile(std::nullopt);
    EXPECT_EQ(CRvPropertyThread::ActiveCount(), 0);
    ViewTest::TearDown();
  }
  std::vector<SheetOutcome> Display(const std::vector<std::string>& names, const std::string& tab = {},
                                    int direct = 1, int pname = 0) {
    rvcmndlg::EntryScope resources;
    return rvcmndlg::DisplayPropertySheets(names, pname, tab, direct);
  }
  static std::vector<Kind> Kinds(const std::vector<SheetOutcome>& outcomes) {
    std::vector<Kind> kinds;
    for (const auto& o : outcomes) kinds.push_back(o.kind);
    return kinds;
  }
  std::vector<int> Activated() {
    std::lock_guard<std::mutex> lock(g_script.mutex);
    return g_script.activated;
  }
  const std::string hello = "\\public\\src\\hello.c";
  const std::string util = "\\public\\src\\util.c";
  const std::string readme = "\\public\\doc\\README.txt";
  std::shared_ptr<plat::RecordingLauncher> launcher;
};

// ---- The page registry ----

TEST_F(PropertySheetTest, ObjectsGetTheirPagesInRegistrationOrder) {
  rvcmndlg::EntryScope resources;
  plat::test::ScriptedUser user;
  const struct {
    unsigned mask;
    std::vector<std::string> titles;
  } cases[] = {
      {(1u << 9) | (1u << 2) | (1u << 5), {"Page 2", "Page 5", "Page 9"}},
      {(1u << 16) | 1u, {"Page 0", "Page 16"}},  // rows past the second growth
      {1u << 8, {"Page 8"}},
  };
  for (const auto& c : cases) {
    CRvPropertySheet sheet;
    GCL_Status status;
    sheet.SetObject(status, StandIn(c.mask), GCL_String("x"));
    EXPECT_TRUE(status.ok());
    EXPECT_EQ(PageTitles(sheet), c.titles);
    EXPECT_EQ(sheet.Text(), "Properties of x");
    for (int i = 0; i < sheet.GetPageCount(); ++i) EXPECT_TRUE(sheet.GetPage(i)->Flags() & plat::kPageHasHelp);
  }
  const std::size_t count = CRvPropertyBase::registered_subclasses().size();
  const std::size_t alloc = CRvPropertyBase::subclass_info_alloc();
  EXPECT_GE(count, 21u);
  EXPECT_EQ(alloc % CRvPropertyBase::m_subclass_info_growth, 0u);
  EXPECT_LT(alloc - count, CRvPropertyBase::m_subclass_info_growth);
}

TEST_F(PropertySheetTest, AFailingPredicateSaysWhyAndAddsNoPage) {
  rvcmndlg::EntryScope resources;
  plat::test::ScriptedUser user;
  user->OnMessage("Unable to find \"\\public\\nosuch\".").Click("OK");
  CRvPropertySheet sheet;
  GCL_Status status;
  sheet.SetObject(status, StandIn((1u << 17) | (1u << 3)));
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(PageTitles(sheet), std::vector<std::string>{"Page 3"});
}

TEST_F(PropertySheetTest, AnObjectWithoutPagesIsReportedNotShownEmpty) {
  rvcmndlg::EntryScope resources;
  CRvPropertySheet sheet;
  GCL_Status status;
  sheet.SetObject(status, StandIn(0));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));
  EXPECT_EQ(rvcmndlg::StatusText(status), "No properties can be shown for this kind of object.");
  EXPECT_EQ(sheet.GetPageCount(), 0);
}

// ---- One name ----

TEST_F(PropertySheetTest, OneNameOpensOnThePageItsTabNames) {
  const struct {
    std::string name, tab;
    int page;
  } cases[] = {
      // An element's sheet: the library's General, Custom, Protection and
      // Lock pages, then stand-ins 18, 19 and 20 (-1: a library page).
      {hello, "", -1},           {hello, "configspec", 19}, {hello, "loadrules", -1},
      {hello, "activities", -1}, {hello, "other", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + " " + c.tab);
    g_script.Reset();
    plat::test::ScriptedUser user;
    user->OnCaption("Properties of " + c.name).Click("OK");
    EXPECT_EQ(Kinds(Display({c.name}, c.tab)), std::vector<Kind>{Kind::Ok});
    EXPECT_EQ(Activated(), c.page < 0 ? std::vector<int>{} : std::vector<int>{kFirstPageId + c.page});
    const std::string opened = c.tab == "loadrules" || c.tab == "activities" ? "[Custom]"
                               : c.page < 0                                   ? "[General]"
                                                                              : "[Page 19]";
    EXPECT_NE(user->TranscriptText().find(opened), std::string::npos) << opened;
  }
}

TEST_F(PropertySheetTest, AnUnresolvableNameIsReportedOnceWhateverTheCheckMeets) {
  for (const int direct : {0, 1}) {
    plat::test::ScriptedUser user;
    user->OnMessage("Unable to display properties of \"nosuch\".").Click("OK");
    const auto outcomes = Display({"nosuch"}, {}, direct);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].kind, Kind::Failed);
    EXPECT_NE(outcomes[0].message.find("Unable to display properties of \"nosuch\"."), std::string::npos);
  }
}

TEST_F(PropertySheetTest, TheActivityCheckReportsItsOwnFailuresThenShowsTheSheet) {
  const struct {
    int status;
    bool box;
  } cases[] = {{TBS_ST_FAILURE, true}, {TBS_ST_NOT_FOUND, false}};
  for (const auto& c : cases) {
    CallLog::InjectFailure("FLM_Vob::construct_from_handle", rv_test::Failing(c.status, "model unreachable"));
    plat::test::ScriptedUser user;
    if (c.box) user->OnMessage("model unreachable").Click("OK");
    user->OnCaption("Properties of " + hello).Click("Cancel");
    EXPECT_EQ(Kinds(Display({hello}, {}, 0)), std::vector<Kind>{Kind::Cancel});
    CallLog::ClearFailures();
  }
  // direct skips the check altogether
  CallLog::Clear();
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + hello).Click("OK");
  Display({hello}, {}, 1);
  EXPECT_TRUE(CallLog::Calls("FLM_Vob::construct_from_handle").empty());
}

// ---- Several names ----

TEST_F(PropertySheetTest, SeveralNamesRunASheetThreadEachAnsweredByCaption) {
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + hello).Click("OK");
  user->OnCaption("Properties of " + readme).Click("Cancel");
  user->OnMessage("Unable to display properties of \"nosuch\".").Click("OK");
  const auto outcomes = Display({hello, "nosuch", readme});
  EXPECT_EQ(Kinds(outcomes), (std::vector<Kind>{Kind::Ok, Kind::Failed, Kind::Cancel}));
  const auto usage = CallLog::Calls("clp_collectdatai");
  ASSERT_EQ(usage.size(), 1u);
  EXPECT_EQ(usage[0].args, (std::vector<std::string>{"stratadetails", "3"}));
}

TEST_F(PropertySheetTest, AViewTagGoesToTheDescribeTool) {
  const struct {
    std::string tab;
    int pname;
    std::vector<std::string> argv;
  } cases[] = {
      {"configspec", 1, {"stratadescribe", "/tab", "configspec", "/pname", "viewtag:v1"}},
      {"", 0, {"stratadescribe", "viewtag:v1"}},
  };
  for (const auto& c : cases) {
    launcher->ClearRecords();
    plat::test::ScriptedUser user;
    user->OnCaption("Properties of " + hello).Click("OK");
    EXPECT_EQ(Kinds(Display({"viewtag:v1", hello}, c.tab, 1, c.pname)),
              (std::vector<Kind>{Kind::Described, Kind::Ok}));
    ASSERT_EQ(launcher->Starts().size(), 1u);
    EXPECT_EQ(launcher->Starts()[0].Arguments(), c.argv);
  }
  launcher->SetStartFailure("stratadescribe", 2);
  plat::test::ScriptedUser user;
  user->OnMessage("Exec of stratadescribe failed with error 2").Click("OK").Times(2);
  EXPECT_EQ(Kinds(Display({"viewtag:v1", "\\\\view\\v1"})), (std::vector<Kind>{Kind::Failed, Kind::Failed}));
}

TEST_F(PropertySheetTest, AnEmptyListOnlyWaits) {
  plat::test::ScriptedUser user;
  EXPECT_TRUE(Display({}).empty());
  EXPECT_EQ(CallLog::Calls("clp_collectdatai").size(), 1u);
}

TEST_F(PropertySheetTest, WaitingCoversSuccessiveCallsAndSheetsOpenedFromPages) {
  CRvPropertyThread::WaitWhileActive();  // no thread: at once
  for (int round = 0; round < 2; ++round) {
    plat::test::ScriptedUser user;
    user->OnCaption("Properties of " + hello).Click("OK");
    user->OnCaption("Properties of " + readme).Click("OK");
    EXPECT_EQ(Kinds(Display({hello, readme})), (std::vector<Kind>{Kind::Ok, Kind::Ok}));
    EXPECT_EQ(CRvPropertyThread::ActiveCount(), 0);
  }
  {
    std::lock_guard<std::mutex> lock(g_script.mutex);
    g_script.open_related = util;
  }
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + hello).Page("Page 19").Click("OK");
  user->OnCaption("Properties of " + util).Click("Cancel");
  user->OnCaption("Properties of " + readme).Click("OK");
  EXPECT_EQ(Kinds(Display({hello, readme})), (std::vector<Kind>{Kind::Ok, Kind::Ok}));
  EXPECT_EQ(CRvPropertyThread::ActiveCount(), 0);
}

// ---- Page activation ----

TEST_F(PropertySheetTest, AFailedFetchRefusesThePageUntilARetryFillsIt) {
  auto watch = std::make_shared<LockWatch>(plat::test::UseScriptedHost());
  auto* scripted = dynamic_cast<plat::ScriptedHost*>(plat::CurrentUiHost().get());
  ASSERT_TRUE(scripted);
  plat::SetUiHost(watch);
  {
    std::lock_guard<std::mutex> lock(g_script.mutex);
    g_script.failing_page = kFirstPageId + 19;
    g_script.fetch_failures = 1;
  }
  scripted->OnCaption("Properties of " + hello).Page("Page 18").Page("Page 19").Page("Page 19").Click("OK");
  scripted->OnMessage("because an error occurred while trying to access Strata data.\nthe object went away")
      .Click("OK");
  EXPECT_EQ(Kinds(Display({hello})), std::vector<Kind>{Kind::Ok});
  plat::SetUiHost(nullptr);
  EXPECT_TRUE(scripted->Failures().empty()) << scripted->TranscriptText();
  EXPECT_TRUE(scripted->Unmet().empty()) << scripted->TranscriptText();
  EXPECT_FALSE(watch->held_.load());
  std::lock_guard<std::mutex> lock(g_script.mutex);
  EXPECT_EQ(g_script.activated, (std::vector<int>{kFirstPageId + 18, kFirstPageId + 19}));
  EXPECT_EQ(g_script.shown_value, "fetched");
  EXPECT_TRUE(g_script.lock_held_in_fetch);
}

TEST_F(PropertySheetTest, APageThatCannotInitialiseSaysSo) {
  for (const bool in_exchange : {false, true}) {
    g_script.Reset();
    {
      std::lock_guard<std::mutex> lock(g_script.mutex);
      (in_exchange ? g_script.refuse_exchange : g_script.refuse_first) = true;
    }
    plat::test::ScriptedUser user;
    if (in_exchange) user->OnMessage("The value cannot be shown.").Click("OK").Always().Optional();
    user->OnMessage("An error occurred while initializing the selected property page.").Click("OK").Always();
    // A hyperlink's sheet: the library's Custom page, then the stand-in,
    // which refuses; the sheet stays on the Custom page.
    const std::string name = "hlink:Merge@" + std::to_string(merge) + "@\\public";
    user->OnCaption("Properties of " + name).Page("Page 18").Click("OK");
    EXPECT_EQ(Kinds(Display({name})), std::vector<Kind>{Kind::Ok});
    EXPECT_TRUE(Activated().empty());
  }
}

TEST_F(PropertySheetTest, AReadOnlyPageKeepsItsIgnoredControlsAndFrames) {
  {
    std::lock_guard<std::mutex> lock(g_script.mutex);
    g_script.read_only = true;
  }
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + hello).Page("Page 18").Click("Cancel");
  Display({hello});
  std::lock_guard<std::mutex> lock(g_script.mutex);
  EXPECT_TRUE(g_script.edit_style & plat::es::ReadOnly);
  EXPECT_FALSE(g_script.edit_style & 0x00810000u);  // no border, no tab stop
  EXPECT_FALSE(g_script.button_enabled);
  EXPECT_TRUE(g_script.kept_enabled);
  EXPECT_EQ(g_script.font.tenths_of_point, 88);  // the 8-point template at 11 tenths
}

TEST_F(PropertySheetTest, ARefusedApplyKeepsTheSheetThePageAndTheChange) {
  {
    std::lock_guard<std::mutex> lock(g_script.mutex);
    g_script.apply_fails = true;
  }
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + hello).Page("Page 20").Type(kEditId, "new").Click("Apply").Click("OK").Click(
      "Cancel");
  user->OnMessage(tbs_strerror(TBS_ST_PERMISSION)).Click("OK").Times(2);
  EXPECT_EQ(Kinds(Display({hello})), std::vector<Kind>{Kind::Cancel});
  std::lock_guard<std::mutex> lock(g_script.mutex);
  EXPECT_EQ(g_script.pending_after_apply, (std::vector<bool>{true, true}));
  EXPECT_EQ(g_script.activated.back(), kFirstPageId + 20);
}

// ---- Help ----

TEST_F(PropertySheetTest, HelpOpensTheDescribeTopicOutsideTheConsoleAndTheTableInside) {
  {
    plat::test::ScriptedUser user;
    user->OnCaption("Properties of " + hello).Page("Page 18").Click("Help").Click("Cancel");
    Display({hello});
  }
  auto help = CallLog::Calls("gu_help");
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0].args.at(1), "stratadescribe/standinpage.htm");

  plat::MachineProfile console = plat::MachineInfo();
  console.loaded_modules = {"MMC.EXE"};
  plat::SetMachineProfile(console);
  CallLog::Clear();
  plat::test::ScriptedUser user;
  user->OnCaption("Properties of " + hello).Page("Page 18").Click("Help").Click("Cancel");
  user->OnMessage("No help is available for property page with id = 31018, please submit a problem report.")
      .Click("OK");
  Display({hello});
  EXPECT_TRUE(CallLog::Calls("gu_help").empty());
}

// ---- Change-management objects: their titles and the Tracklane check ----

class ChangeManagedSheetTest : public rv_test::FlmSampleTest {
 protected:
  void SetUp() override {
    FlmSampleTest::SetUp();
    RegisterStandIns();
    g_script.Reset();
    ASSERT_EQ(kelp_set_installed(true), 0);
  }
  void TearDown() override {
    CallLog::ClearFailures();
    FlmSampleTest::TearDown();
  }
  static std::string Selector(const FLM_VobObject& object) {
    std::string selector;
    EXPECT_EQ(object.selector(&selector), 0);
    return selector;
  }
};

TEST_F(ChangeManagedSheetTest, SheetsAreTitledByTheObjectsTitle) {
  rvcmndlg::EntryScope resources;
  const struct {
    FLM_VobObject object;
    std::string title;
  } cases[] = {
      {hello_project, "Hello"}, {hello_dev, "Development"}, {fix, "Fix the greeting"},
      {pub, "public"},          {bl2, Selector(bl2)},  // a baseline without a title keeps its name
  };
  for (const auto& c : cases) {
    const std::string name = Selector(c.object);
    SCOPED_TRACE(name);
    CRvPropertySheet sheet;
    GCL_Status status;
    sheet.SetObjectByName(status, GCL_String(name.c_str()));
    EXPECT_TRUE(status.ok());
    EXPECT_EQ(sheet.Text(), "Properties of " + c.title);
  }
  // An unreadable title leaves the name.
  CallLog::InjectFailure("FLM_VobObject::title", rv_test::Failing(TBS_ST_FAILURE));
  CRvPropertySheet sheet;
  GCL_Status status;
  sheet.SetObjectByName(status, GCL_String(Selector(fix).c_str()));
  EXPECT_EQ(sheet.Text(), "Properties of " + Selector(fix));
}

TEST_F(ChangeManagedSheetTest, ABoundActivityOpensItsRecordInsteadOfTheSheet) {
  const struct {
    const char* label;
    bool bound;                // crash (bound to record 1) or fix (no record)
    const char* failing;       // a call of the check made to fail
    int status;
    bool form, box, sheet;
  } cases[] = {
      {"bound", true, nullptr, 0, true, false, false},
      {"not bound", false, nullptr, 0, false, false, true},
      {"form fails", true, "CKelp_CA_TL_UI::OpenTLRecordForm", TBS_ST_FAILURE, false, true, true},
      {"record gone", true, "CKelp_CA_TL_UI::OpenTLRecordForm", TBS_ST_NOT_FOUND, false, false, true},
      {"project unreadable", true, "FLM_Project::is_tl_enabled", TBS_ST_FAILURE, false, true, true},
      {"binding unreadable", true, "FLM_Activity::bound_tl_entity_id", TBS_ST_FAILURE, false, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string name = Selector(c.bound ? crash : fix);
    if (c.failing) CallLog::InjectFailure(c.failing, rv_test::Failing(c.status, "model unreachable"));
    plat::test::ScriptedUser user;
    if (c.form) user->OnCaption(record1.display_name()).Click("Close");
    if (c.box) user->OnMessage("model unreachable").Click("OK");
    if (c.sheet) user->OnCaption(std::string("Properties of ") + (c.bound ? "It crashes" : "Fix the greeting")).Click("Cancel");
    rvcmndlg::EntryScope resources;
    const auto outcomes = rvcmndlg::DisplayPropertySheets({name}, 0, {}, 0);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].kind, c.sheet ? Kind::Cancel : Kind::Ok);
    CallLog::ClearFailures();
  }
}

TEST(PropertyPageHelp, ConsoleTopicsAndTheirPaths) {
  EXPECT_EQ(CBasePropertyPage::GetHtmlHelpTopic(809), "RVPropsLabels");
  EXPECT_EQ(CBasePropertyPage::GetHtmlHelpTopic(906), "RVPropsMastership");
  EXPECT_EQ(CBasePropertyPage::ConsoleHelpPath("RVPropsLabels"), "rv_mmc.chm::/RVPropsLabels.htm");
  EXPECT_EQ(CBasePropertyPage::ConsoleHelpPath("rv_mmc/RVPropsLock.htm"), "rv_mmc.chm::/rv_mmc/RVPropsLock.htm");
}

}  // namespace
