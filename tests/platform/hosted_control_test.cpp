// Controls hosted by class id, controls a program puts in a template
// control's place, and a combo box that fills itself when its list opens:
// what the user sees, picks and reads in a tooltip, and what the dialog hears.
#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/hosted_control.h"
#include "support/ui.h"

namespace plat {
namespace {

using test::AddTemplate;
using test::Ctl;

constexpr char kTreeClass[] = "{0F0E0D0C-0000-4000-8000-00000000AB01}";
constexpr int kHostDialog = 710;

struct Thing {};
struct OtherThing {};

// A small tree: member 1 gets the selected selector, 2 adds a top item or a
// child ("parent/child"), 3 takes a Thing and counts it.
class TestTree : public HostedImpl {
 public:
  DispResult Invoke(int dispid, DispCall call, const std::vector<DispValue>& args) override {
    DispResult r;
    if (dispid == 1 && call == DispCall::Get && args.empty()) {
      r.value = DispValue::Text(selected_ < 0 ? "" : items_[static_cast<std::size_t>(selected_)].selector);
    } else if (dispid == 2 && call == DispCall::Method) {
      if (args.size() != 1 || args[0].kind() != DispValue::Kind::Text)
        return DispResult::Fail(DispError::BadArguments, "member 2 takes a text");
      const std::string& name = args[0].AsText();
      const auto slash = name.find('/');
      items_.push_back(HostedItem{slash == std::string::npos ? 0 : 1, name.substr(slash + 1),
                                  "thing:" + name.substr(slash + 1), false});
    } else if (dispid == 3 && call == DispCall::Method) {
      if (args.size() != 1 || !args[0].AsPointer<Thing>())
        return DispResult::Fail(DispError::BadArguments, std::string("member 3 takes a Thing, not a ") +
                                                             args[0].KindName());
      r.value = DispValue::Long(++things_);
    } else {
      return DispResult::Fail(DispError::UnknownMember, "no member " + std::to_string(dispid));
    }
    return r;
  }
  std::vector<HostedItem> Items() const override {
    auto items = items_;
    for (std::size_t i = 0; i < items.size(); ++i) items[i].selected = static_cast<int>(i) == selected_;
    return items;
  }
  bool Pick(std::size_t index) override {
    if (index >= items_.size() || items_[index].text == "locked") return false;
    selected_ = static_cast<int>(index);
    return true;
  }

 private:
  std::vector<HostedItem> items_;
  int selected_ = -1;
  long things_ = 0;
};

// A combo box that loads its items the first time its list opens, and shows
// the selected item's text after its first blank as a tooltip.
class LoadingCombo : public ComboBox {
 public:
  int loads = 0;
  std::string TooltipText() const override {
    const int sel = GetCurSel();
    if (sel < 0) return {};
    const std::string text = GetLBText(sel);
    return text.substr(text.find(' ') + 1);
  }

 protected:
  bool OnReflect(int code) override {
    if (code == cbn::DropDown && loads++ == 0)
      for (const char* item : {"R1 first record", "R2 second record"}) AddString(item);
    return false;  // the parent hears of it too
  }
};

class HostDialog : public Dialog {
 public:
  HostDialog() : Dialog(kHostDialog), runtime_(kTreeClass) {}
  std::vector<std::string> events;
  LoadingCombo combo;
  HostedControl runtime_;
  bool made_over_placeholder = false;

 protected:
  bool OnInitDialog() override {
    auto* tree = Item<HostedControl>(101);
    for (const char* name : {"hello", "hello/hello_int", "hello/hello_dev", "tracked", "tracked/locked"})
      tree->Invoke(2, DispCall::Method, {DispValue::Text(name)});
    made_over_placeholder = runtime_.CreateOver(*GetDlgItem(200), 201);
    runtime_.Invoke(2, DispCall::Method, {DispValue::Text("only")});
    SubclassDlgItem(300, combo);
    return Dialog::OnInitDialog();
  }
  LResult OnNotify(NotifyHeader& header) override {
    if (header.code == hcn::SelChange)
      events.push_back(std::to_string(header.id) + " " + static_cast<HostedNotify&>(header).selector);
    return 0;
  }
  bool OnCommand(int id, int code) override {
    if (id == 300 && code == cbn::DropDown) events.push_back("300 dropped");
    if (id == 300 && code == cbn::SelChange) events.push_back("300 " + combo.GetLBText(combo.GetCurSel()));
    return Dialog::OnCommand(id, code);
  }
};

class HostedControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterHostedClass(kTreeClass, [] { return std::make_unique<TestTree>(); });
    AddTemplate(kHostDialog, "Hosted",
                {Ctl(kTreeClass, 101, ""), Ctl("static", 200, ""), Ctl("static", 199, "Record:"),
                 Ctl("combobox", 300, "", cbs::DropDownList), Ctl("button", IdOk, "OK")});
  }
  void TearDown() override { UnregisterHostedClass(kTreeClass); }
};

TEST_F(HostedControlTest, TheUserPicksTreeItemsAndALoadingComboAndTheDialogHearsTheSelectors) {
  test::ScriptedUser user;
  user->OnTemplate(kHostDialog)
      .Select(101, "hello/hello_dev")
      .Select(101, "TRACKED")
      .Do(Action{Action::Kind::Select, "201", "#0"})
      .Do(Action{Action::Kind::Open, "Record", ""})
      .Select(300, "R2 second record")
      .Click("OK");
  HostDialog dialog;
  ASSERT_EQ(dialog.DoModal(), IdOk);
  EXPECT_TRUE(dialog.made_over_placeholder);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"101 thing:hello_dev", "101 thing:tracked", "201 thing:only",
                                                     "300 dropped", "300 dropped", "300 R2 second record"}))
      << user->TranscriptText();
  EXPECT_EQ(dialog.combo.loads, 2);
  EXPECT_EQ(dialog.combo.GetCount(), 2) << "the list loads once";
  const std::string transcript = user->TranscriptText();
  EXPECT_NE(transcript.find("[101] control\n|  |       hello\n|  |         hello_int\n|  |        >hello_dev"), std::string::npos)
      << transcript;
  EXPECT_NE(transcript.find("(tip: \"second record\")"), std::string::npos) << transcript;
}

TEST_F(HostedControlTest, ARuntimeControlTakesThePlaceholdersPlaceAndASubclassTheTemplateControls) {
  HostDialog dialog;
  ASSERT_TRUE(dialog.Create());
  std::vector<int> order;
  for (Window* child : dialog.Children()) order.push_back(child->ControlId());
  EXPECT_EQ(order, (std::vector<int>{101, 200, 201, 199, 300, IdOk}));
  EXPECT_EQ(dialog.GetDlgItem(300), &dialog.combo);
  EXPECT_EQ(dialog.combo.Style() & 0x3u, cbs::DropDownList);
  EXPECT_FALSE(dialog.SubclassDlgItem(300, dialog.combo)) << "already live";
  EXPECT_FALSE(dialog.SubclassDlgItem(999, dialog.combo)) << "no such control";
  dialog.DestroyWindow();
}

TEST_F(HostedControlTest, CallsThatCannotBeMadeSayWhy) {
  HostedControl missing("{00000000-0000-0000-0000-000000000000}");
  Static placeholder;
  placeholder.CreateWindowObject(nullptr, 1, "", 0);
  EXPECT_FALSE(missing.IsInstalled());
  EXPECT_FALSE(missing.CreateOver(placeholder, 2)) << "nothing to make";

  HostedControl tree(kTreeClass);
  Thing thing;
  OtherThing other;
  struct Case {
    const char* what;
    HostedControl* control;
    int dispid;
    DispCall call;
    std::vector<DispValue> args;
    DispError error;
  } cases[] = {
      {"not installed", &missing, 1, DispCall::Get, {}, DispError::NoControl},
      {"unknown member", &tree, 9, DispCall::Method, {}, DispError::UnknownMember},
      {"a property read as a method", &tree, 1, DispCall::Method, {}, DispError::UnknownMember},
      {"a number for a text", &tree, 2, DispCall::Method, {DispValue::Long(5)}, DispError::BadArguments},
      {"a pointer of another type", &tree, 3, DispCall::Method, {DispValue::Pointer(&other)}, DispError::BadArguments},
      {"a pointer of its type", &tree, 3, DispCall::Method, {DispValue::Pointer(&thing)}, DispError::None},
  };
  for (auto& c : cases) {
    const DispResult r = c.control->Invoke(c.dispid, c.call, c.args);
    EXPECT_EQ(r.error, c.error) << c.what;
    EXPECT_EQ(r.message.empty(), c.error == DispError::None) << c.what << ": " << r.message;
  }
}

TEST(HostedItems, AUserNamesAnItemByTextPathOrIndex) {
  const std::vector<HostedItem> items = {{0, "hello", "", false},   {1, "dev", "", false}, {1, "int", "", false},
                                         {0, "tracked", "", false}, {1, "dev", "", false}, {0, "a/b", "", false}};
  const struct {
    const char* name;
    int index;
  } cases[] = {{"hello", 0}, {"HELLO", 0}, {"dev", 1},         {"tracked/dev", 4}, {"hello/int", 2},
               {"#3", 3},    {"#6", -1},   {"tracked/int", -1}, {"a/b", 5},         {"nothing", -1}};
  for (const auto& c : cases) EXPECT_EQ(FindHostedItem(items, c.name), c.index) << c.name;
}

}  // namespace
}  // namespace plat
