// Dialogs as a user meets them through the scripted host: modal on any
// thread, nested, data exchange, message boxes, missing resources.
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

constexpr int kOwner = 500, kProbe = 501, kOuter = 502, kInner = 503, kNumber = 504;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = test::UseScriptedHost();
    AddTemplate(kOwner, "Owner", {Ctl("button", IdOk, "OK", bs::DefPushButton)});
    AddTemplate(kProbe, "Probe", {Ctl("button", IdOk, "OK", bs::DefPushButton),
                                  Ctl("button", IdCancel, "Cancel")});
    AddTemplate(kOuter, "Outer", {Ctl("button", 1001, "&Open inner"), Ctl("button", IdOk, "OK")});
    AddTemplate(kInner, "Inner", {Ctl("static", IdStatic, "&Comment:"), Ctl("edit", 1002, ""),
                                  Ctl("button", IdOk, "OK", bs::DefPushButton)});
    AddTemplate(kNumber, "Number", {Ctl("edit", 1003, ""), Ctl("button", IdOk, "OK"),
                                    Ctl("button", IdCancel, "Cancel")});
  }
  void TearDown() override {
    EXPECT_TRUE(host->Failures().empty()) << host->TranscriptText();
    SetUiHost(nullptr);
  }
  std::shared_ptr<ScriptedHost> host;
};

// Records whether its owner was disabled while it was up.
class ProbeDialog : public Dialog {
 public:
  using Dialog::Dialog;
  std::atomic<int> owner_enabled_while_up{-1};

 protected:
  bool OnInitDialog() override {
    owner_enabled_while_up = Owner() && Owner()->IsEnabled() ? 1 : 0;
    return Dialog::OnInitDialog();
  }
};

TEST_F(DialogTest, ModalOnAWorkerDisablesTheOwnerOfAnotherThreadUntilItEnds) {
  Dialog owner(kOwner);
  ASSERT_TRUE(owner.Create());
  host->OnTemplate(kProbe).Click("OK");
  std::atomic<int> result{0};
  std::atomic<int> seen{-1};
  std::atomic<bool> done{false};
  WorkerThread worker([&] {
    ProbeDialog probe(kProbe, &owner);
    result = probe.DoModal();
    seen = probe.owner_enabled_while_up.load();
    done = true;
    return 0;
  });
  // The owner's thread keeps pumping its own loop meanwhile.
  ASSERT_TRUE(test::PumpUntil([&] { return done.load(); }));
  EXPECT_EQ(result.load(), IdOk);
  EXPECT_EQ(seen.load(), 0) << "the owner was enabled while the dialog was up";
  EXPECT_TRUE(owner.IsEnabled());
}

class OuterDialog : public Dialog {
 public:
  OuterDialog() : Dialog(kOuter) {}
  int inner_result = 0;
  std::string inner_text;

 protected:
  bool OnCommand(int id, int code) override {
    if (id != 1001) return Dialog::OnCommand(id, code);
    InnerDialog inner(this);
    inner_result = inner.DoModal();
    inner_text = inner.comment;
    outer_enabled_during_inner = inner.outer_enabled;
    return true;
  }

 public:
  int outer_enabled_during_inner = -1;

 private:
  class InnerDialog : public Dialog {
   public:
    explicit InnerDialog(Window* parent) : Dialog(kInner, parent) {}
    std::string comment;
    int outer_enabled = -1;

   protected:
    bool OnInitDialog() override {
      outer_enabled = Owner()->IsEnabled();
      return Dialog::OnInitDialog();
    }
    void DoDataExchange(DataExchange& dx) override { DdxText(dx, 1002, comment); }
  };
};

TEST_F(DialogTest, NestedModalLoopsEndInnerFirstAndReturnToTheOuter) {
  host->OnTemplate(kOuter).Click("Open inner").Click("OK");
  host->OnTemplate(kInner).Type("Comment:", "two words").Click("OK");
  OuterDialog outer;
  EXPECT_EQ(outer.DoModal(), IdOk);
  EXPECT_EQ(outer.inner_result, IdOk);
  EXPECT_EQ(outer.inner_text, "two words");
  EXPECT_EQ(outer.outer_enabled_during_inner, 0);
  EXPECT_TRUE(host->Unmet().empty());
  // The inner dialog closed before the outer's OK was pressed.
  const auto text = host->TranscriptText();
  EXPECT_LT(text.find("(closed dialog 503"), text.find("> click OK\n(closed dialog 502"));
}

class NumberDialog : public Dialog {
 public:
  NumberDialog() : Dialog(kNumber) {}
  int value = 7;

 protected:
  void DoDataExchange(DataExchange& dx) override { DdxText(dx, 1003, value); }
};

TEST_F(DialogTest, DataExchangeRefusesTextThatIsNotANumberAndKeepsTheDialogOpen) {
  host->OnTemplate(kNumber).Type(1003, "12x").Click("OK").Type(1003, " 42 ").Click("OK");
  host->OnMessage("Please enter an integer.").Click("OK");
  NumberDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IdOk);
  EXPECT_EQ(dialog.value, 42);
  EXPECT_TRUE(host->Unmet().empty());
}

TEST_F(DialogTest, InitialValuesReachTheControls) {
  host->OnTemplate(kNumber).Click("Cancel");
  NumberDialog dialog;
  dialog.value = 19;
  EXPECT_EQ(dialog.DoModal(), IdCancel);
  EXPECT_NE(host->TranscriptText().find("[1003] edit: \"19\""), std::string::npos);
  EXPECT_EQ(dialog.value, 19) << "Cancel leaves the fields alone";
}

TEST_F(DialogTest, AMissingTemplateFailsCreationWithoutACrash) {
  Dialog modal(9999);
  EXPECT_EQ(modal.DoModal(), -1);
  Dialog modeless(9999);
  EXPECT_FALSE(modeless.Create());
  EXPECT_FALSE(modeless.IsWindow());
  DialogTemplate bad;
  bad.id = 9998;
  bad.controls = {Ctl("no-such-control", 1, "x")};
  AppResources().AddDialog(bad);
  Dialog unknown_class(9998);
  EXPECT_EQ(unknown_class.DoModal(), -1);
  EXPECT_TRUE(host->Transcript().empty()) << "nothing reached the user";
}

struct BoxCase {
  std::uint32_t flags;
  const char* press;
  int expected;
  const char* rendered;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << "press " << c.press; }

class MessageBoxTest : public DialogTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxTest, ButtonsIconAndAnswer) {
  const BoxCase& c = GetParam();
  host->OnMessage("Something happened").Click(c.press);
  SetAppName("Tests");
  EXPECT_EQ(MessageBox(nullptr, "Something happened.\r\nDetails", "", c.flags), c.expected);
  const auto text = host->TranscriptText();
  EXPECT_NE(text.find(c.rendered), std::string::npos) << text;
  EXPECT_NE(text.find("+-- Tests -- [message box"), std::string::npos) << "caption falls back to the app name";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageBoxTest,
    ::testing::Values(BoxCase{mb::Ok | mb::IconInformation, "OK", IdOk, "[1] <OK>*\n"},
                      BoxCase{mb::OkCancel | mb::IconError, "Cancel", IdCancel, "[1] <OK>*  [2] <Cancel>"},
                      BoxCase{mb::YesNoCancel | mb::DefButton2, "Yes", IdYes,
                              "[6] <Yes>  [7] <No>*  [2] <Cancel>"},
                      BoxCase{mb::YesNo | mb::IconQuestion, "No", IdNo, "message box, question"}),
    [](const ::testing::TestParamInfo<BoxCase>& box) { return "Press" + std::string(box.param.press); });

TEST_F(DialogTest, AnUnexpectedWindowIsCancelledAndReported) {
  EXPECT_EQ(MessageBox(nullptr, "Nobody expects this", "Surprise", mb::YesNoCancel), IdCancel);
  ProbeDialog probe(kProbe);
  EXPECT_EQ(probe.DoModal(), IdCancel);
  ASSERT_EQ(host->Failures().size(), 2u);
  EXPECT_NE(host->Failures()[0].find("unexpected window: messagebox \"Surprise\""), std::string::npos);
  EXPECT_NE(host->Failures()[1].find("dialog 501"), std::string::npos);
  host = test::UseScriptedHost();  // the failures were the point
}

TEST_F(DialogTest, AnActionOnADisabledControlFailsNamingTheWindow) {
  class Disabling : public Dialog {
   public:
    Disabling() : Dialog(kProbe) {}

   protected:
    bool OnInitDialog() override {
      GetDlgItem(IdOk)->EnableWindow(false);
      return Dialog::OnInitDialog();
    }
  } dialog;
  host->OnTemplate(kProbe).Click("OK");
  EXPECT_EQ(dialog.DoModal(), IdCancel);
  ASSERT_EQ(host->Failures().size(), 1u);
  EXPECT_NE(host->Failures()[0].find("button \"OK\" (id 1) in dialog 501 \"Probe\" is disabled"),
            std::string::npos)
      << host->Failures()[0];
  host = test::UseScriptedHost();
}

TEST_F(DialogTest, AWindowThatDoesNotCloseAfterItsActionsTimesOut) {
  host = test::UseScriptedHost(50);
  host->OnTemplate(kProbe);  // expected, but nobody presses anything
  ProbeDialog probe(kProbe);
  EXPECT_EQ(probe.DoModal(), IdCancel);
  ASSERT_EQ(host->Failures().size(), 1u);
  EXPECT_NE(host->Failures()[0].find("timed out waiting for dialog 501"), std::string::npos);
  host = test::UseScriptedHost();
}

TEST_F(DialogTest, RadioButtonsOfAGroupExcludeEachOther) {
  constexpr int kRadios = 505;
  AddTemplate(kRadios, "Radios",
              {Ctl("button", 1, "OK"), Ctl("button", 11, "&Alpha", bs::AutoRadioButton | ws::Group),
               Ctl("button", 12, "&Beta", bs::AutoRadioButton), Ctl("button", 13, "&Gamma", bs::AutoRadioButton),
               Ctl("button", 14, "Other group", bs::AutoRadioButton | ws::Group)});
  class Radios : public Dialog {
   public:
    Radios() : Dialog(kRadios) {}
    int choice = 0, other = 0;

   protected:
    void DoDataExchange(DataExchange& dx) override {
      DdxRadio(dx, 11, choice);
      DdxRadio(dx, 14, other);
    }
  } dialog;
  host->OnTemplate(kRadios).Click("Gamma").Click("Beta").Click("Other group").Click("OK");
  EXPECT_EQ(dialog.DoModal(), IdOk);
  EXPECT_EQ(dialog.choice, 1);
  EXPECT_EQ(dialog.other, 0);
}

}  // namespace
}  // namespace plat
