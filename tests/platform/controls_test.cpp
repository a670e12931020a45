// Controls as the user changes them: notifications reach the dialog, a
// program's own changes do not notify, lists keep their selections straight.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/sync.h"
#include "support/ui.h"

namespace plat {
namespace {

using test::AddTemplate;
using test::Ctl;

constexpr int kLists = 700;

class ListsDialog : public Dialog {
 public:
  ListsDialog() : Dialog(kLists) {}
  std::vector<std::string> events;
  std::vector<int> checked_rows;

 protected:
  bool OnInitDialog() override {
    auto* table = Item<ListView>(1001);
    table->InsertColumn(0, "Name");
    table->InsertColumn(1, "Version");
    for (const char* name : {"a.c", "b.c", "c.c"}) {
      const int row = table->InsertItem(-1, name);
      table->SetItemText(row, 1, "\\main\\" + std::to_string(row + 1));
    }
    table->SetCheck(0, true);  // a program's change: no notification
    auto* files = Item<ListBox>(1002);
    for (const char* f : {"zeta", "alpha", "Mid"}) files->AddString(f);
    auto* combo = Item<ComboBox>(1003);
    combo->AddString("one");
    combo->AddString("two");
    return Dialog::OnInitDialog();
  }
  LResult OnNotify(NotifyHeader& header) override {
    if (header.code == lvn::ItemChanged) {
      auto& n = static_cast<ListViewNotify&>(header);
      events.push_back("row " + std::to_string(n.item) + (n.new_checked != n.old_checked ? " check" : " select"));
    }
    return 0;
  }
  bool OnCommand(int id, int code) override {
    if (id == 1002 && code == lbn::SelChange) events.push_back("files");
    if (id == 1003 && code == cbn::EditChange) events.push_back("typed");
    if (id == 1003 && code == cbn::SelChange) events.push_back("picked");
    return Dialog::OnCommand(id, code);
  }
  void OnOK() override {
    auto* table = Item<ListView>(1001);
    for (int i = 0; i < table->GetItemCount(); ++i)
      if (table->GetCheck(i)) checked_rows.push_back(i);
    files_selected = Item<ListBox>(1002)->GetSelItems();
    combo_text = Item<ComboBox>(1003)->Text();
    combo_sel = Item<ComboBox>(1003)->GetCurSel();
    Dialog::OnOK();
  }

 public:
  std::vector<int> files_selected;
  std::string combo_text;
  int combo_sel = -2;
};

TEST(Controls, UserChangesNotifyTheDialogAndProgramChangesDoNot) {
  auto host = test::UseScriptedHost();
  AddTemplate(kLists, "Lists",
              {Ctl("listview", 1001, "", lvs::Report | lvs::CheckBoxes), Ctl("listbox", 1002, "", lbs::Sort | lbs::ExtendedSel),
               Ctl("combobox", 1003, "", cbs::DropDown), Ctl("button", IdOk, "OK")});
  host->OnTemplate(kLists)
      .Tick(1001, "c.c")
      .Do(Action{Action::Kind::Untick, "1001", "a.c"})
      .Select(1001, "b.c")
      .Select(1002, "Mid")
      .Do(Action{Action::Kind::Add, "1002", "zeta"})
      .Select(1003, "two")
      .Type(1003, "three")
      .Click("OK");
  ListsDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IdOk);
  EXPECT_TRUE(host->Failures().empty()) << host->TranscriptText();
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"row 2 check", "row 0 check", "row 1 select", "files",
                                                     "files", "picked", "typed"}));
  EXPECT_EQ(dialog.checked_rows, (std::vector<int>{2}));
  // Sorted without regard to case: alpha, Mid, zeta.
  EXPECT_EQ(dialog.files_selected, (std::vector<int>{1, 2}));
  EXPECT_EQ(dialog.combo_text, "three");
  EXPECT_EQ(dialog.combo_sel, -1) << "typed text is no list item";
  EXPECT_NE(host->TranscriptText().find("[x] c.c | \\main\\3"), std::string::npos) << host->TranscriptText();
}

TEST(Controls, ProgressBarStaysInsideItsRange) {
  ProgressBar bar;
  bar.CreateWindowObject(nullptr, 1, "", 0);
  bar.SetRange(0, 3);
  bar.SetStep(1);
  for (int i = 0; i < 5; ++i) bar.StepIt();
  EXPECT_EQ(bar.GetPos(), 3);
  EXPECT_EQ(bar.DeltaPos(-10), 3);
  EXPECT_EQ(bar.GetPos(), 0);
  bar.SetRange(0, 1);
  EXPECT_EQ(bar.SetPos(5), 0);
  EXPECT_EQ(bar.GetPos(), 1);
}

TEST(Controls, AnimationNeedsItsResource) {
  AppResources().AddAnimation(AnimationResource{24576, 8});
  Animation animation;
  animation.CreateWindowObject(nullptr, 1, "", 0);
  EXPECT_FALSE(animation.Open(24338));
  EXPECT_FALSE(animation.Play(0, -1, -1));
  EXPECT_TRUE(animation.Open(24576));
  EXPECT_TRUE(animation.Play(0, -1, -1));
  EXPECT_TRUE(animation.IsPlaying());
  animation.Stop();
  EXPECT_FALSE(animation.IsPlaying());
}

// A dialog that shows one of two lists behind tabs, as view pickers do.
constexpr int kTabs = 710;

class TabsDialog : public Dialog {
 public:
  TabsDialog() : Dialog(kTabs) {}
  std::vector<std::string> events;

 protected:
  bool OnInitDialog() override {
    auto* tabs = Item<TabControl>(1001);
    tabs->InsertItem(0, "Second");
    tabs->InsertItem(0, "First");  // before the chosen tab: the choice moves with it
    for (const char* s : {"alpha", "beta"}) Item<ListBox>(1002)->AddString(s);
    for (const char* s : {"gamma", "delta"}) Item<ListBox>(1003)->AddString(s);
    ShowList();
    return Dialog::OnInitDialog();
  }
  LResult OnNotify(NotifyHeader& header) override {
    if (header.id == 1001 && header.code == tcn::SelChange) {
      events.push_back("tab " + std::to_string(Item<TabControl>(1001)->GetCurSel()));
      ShowList();
    }
    return 0;
  }
  bool OnCommand(int id, int code) override {
    if (code == lbn::DblClk) {
      events.push_back("dblclick " + Item<ListBox>(id)->GetText(Item<ListBox>(id)->GetCurSel()));
      OnOK();
      return true;
    }
    return Dialog::OnCommand(id, code);
  }

 private:
  void ShowList() {
    const bool first = Item<TabControl>(1001)->GetCurSel() == 0;
    Item<ListBox>(1002)->ShowWindow(first);
    Item<ListBox>(1003)->ShowWindow(!first);
  }
};

TEST(Controls, TabsSwitchPagesAndDoubleClickActsForTheDialog) {
  auto host = test::UseScriptedHost();
  AddTemplate(kTabs, "Tabs", {Ctl("tab", 1001, ""), Ctl("listbox", 1002, ""), Ctl("listbox", 1003, ""),
                              Ctl("button", IdOk, "OK")});
  host->OnTemplate(kTabs).Page("first").Do(Action{Action::Kind::DoubleClick, "1002", "beta"});
  TabsDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IdOk);
  EXPECT_TRUE(host->Failures().empty()) << host->TranscriptText();
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"tab 0", "dblclick beta"}));
  EXPECT_NE(host->TranscriptText().find("tabs: First [Second]"), std::string::npos) << host->TranscriptText();
}

TEST(Controls, TabAndDoubleClickMistakesNameWhatIsMissing) {
  struct Case {
    Action action;
    const char* failure;
  } cases[] = {
      {Action{Action::Kind::Page, "Third", {}}, "no page \"Third\""},
      {Action{Action::Kind::DoubleClick, "1003", "omega"}, "no item \"omega\""},
      {Action{Action::Kind::DoubleClick, "1001", "First"}, "has no items"},
      {Action{Action::Kind::DoubleClick, "1002", "alpha"}, "disabled or hidden"},
  };
  AddTemplate(kTabs, "Tabs", {Ctl("tab", 1001, ""), Ctl("listbox", 1002, ""), Ctl("listbox", 1003, ""),
                              Ctl("button", IdOk, "OK"), Ctl("button", IdCancel, "Cancel")});
  for (const auto& c : cases) {
    auto host = test::UseScriptedHost();
    host->OnTemplate(kTabs).Do(c.action);
    TabsDialog dialog;
    dialog.DoModal();
    ASSERT_FALSE(host->Failures().empty()) << c.failure;
    EXPECT_NE(host->Failures().front().find(c.failure), std::string::npos) << host->Failures().front();
    EXPECT_TRUE(dialog.events.empty());
  }
}

TEST(Controls, ListScrollPositionsStayInsideTheItems) {
  ListBox list;
  list.CreateWindowObject(nullptr, 1, "", 0);
  EXPECT_FALSE(list.SetTopIndex(0)) << "an empty list has no top item";
  for (const char* s : {"a", "b", "c"}) list.AddString(s);
  EXPECT_TRUE(list.SetTopIndex(2));
  EXPECT_FALSE(list.SetCaretIndex(3));
  EXPECT_TRUE(list.SetCaretIndex(1));
  list.SetHorizontalExtent(-5);
  EXPECT_EQ(list.GetHorizontalExtent(), 0);
  list.SetHorizontalExtent(120);
  list.ResetContent();
  EXPECT_EQ(list.GetTopIndex(), 0);
  EXPECT_EQ(list.GetCaretIndex(), 0);
  EXPECT_EQ(list.GetHorizontalExtent(), 120);
}

// A user-interface thread per sheet-like window, as several property windows
// open at once: each runs its own modal loop and the caller waits for all.
class ModalThread : public UiThread {
 public:
  ModalThread(std::atomic<int>& results, Event& all_done, std::atomic<int>& live)
      : results_(results), all_done_(all_done), live_(live) {}

 protected:
  bool InitInstance() override {
    Dialog dialog(kLists + 1);
    results_ += dialog.DoModal();
    return false;  // the thread ends when its window closes
  }
  int ExitInstance() override {
    if (live_.fetch_sub(1) == 1) all_done_.Set();
    return 0;
  }

 private:
  std::atomic<int>& results_;
  Event& all_done_;
  std::atomic<int>& live_;
};

TEST(Threads, UserInterfaceThreadsEachRunAModalWindow) {
  auto host = test::UseScriptedHost();
  AddTemplate(kLists + 1, "Threaded", {Ctl("button", IdOk, "OK")});
  host->OnTemplate(kLists + 1).Click("OK").Times(3);
  std::atomic<int> results{0}, live{3};
  Event all_done;
  for (int i = 0; i < 3; ++i) UiThread::Start(std::make_unique<ModalThread>(results, all_done, live));
  ASSERT_TRUE(all_done.Wait(10000));
  EXPECT_EQ(results.load(), 3 * IdOk);
  EXPECT_TRUE(host->Failures().empty()) << host->TranscriptText();
}

}  // namespace
}  // namespace plat
