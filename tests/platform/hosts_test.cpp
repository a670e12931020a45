// The hosts: answer files, transcripts, the terminal host on streams and the
// automatic host's way out of a window that will not close.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/propsheet.h"
#include "platform/render.h"
#include "platform/sync.h"
#include "support/ui.h"

namespace plat {
namespace {

using test::AddTemplate;
using test::Ctl;

constexpr int kForm = 600;

MenuItem Entry(int id, const char* text, bool enabled = true) {
  MenuItem item;
  item.id = id;
  item.text = text;
  item.enabled = enabled;
  return item;
}

class Form : public Dialog {
 public:
  Form() : Dialog(kForm) {}
  std::string name;
  int keep = 0;
  int color = -1;

 protected:
  bool OnInitDialog() override {
    auto* list = Item<ListBox>(1003);
    for (const char* c : {"red", "green", "blue"}) list->AddString(c);
    return Dialog::OnInitDialog();
  }
  void DoDataExchange(DataExchange& dx) override {
    DdxText(dx, 1001, name);
    DdxCheck(dx, 1002, keep);
    DdxLbIndex(dx, 1003, color);
  }
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddTemplate(kForm, "Form", {Ctl("static", IdStatic, "&Name:"), Ctl("edit", 1001, ""),
                                Ctl("button", 1002, "&Keep", bs::AutoCheckBox),
                                Ctl("listbox", 1003, ""), Ctl("button", IdOk, "OK", bs::DefPushButton),
                                Ctl("button", IdCancel, "Cancel")});
  }
  void TearDown() override { SetUiHost(nullptr); }
};

TEST_F(HostTest, AnswerFileDrivesDialogsAndMessageBoxes) {
  auto host = test::UseScriptedHost();
  std::string error;
  ASSERT_TRUE(host->LoadAnswers(R"(# a comment
window 600
  type Name: "a \"quoted\" name"
  check Keep
  select 1003 blue
  click OK
message "Really?"
  times 2
  click No
)",
                                &error))
      << error;
  host->OnMessage("Never shown").Optional();
  Form form;
  EXPECT_EQ(form.DoModal(), IdOk);
  EXPECT_EQ(form.name, "a \"quoted\" name");
  EXPECT_EQ(form.keep, 1);
  EXPECT_EQ(form.color, 2);
  EXPECT_EQ(MessageBox(nullptr, "Really?", "Ask", mb::YesNo), IdNo);
  EXPECT_EQ(MessageBox(nullptr, "Really?", "Ask", mb::YesNo), IdNo);
  EXPECT_EQ(host->Finish(), std::vector<std::string>()) << host->TranscriptText();
  const auto transcript = host->TranscriptText();
  EXPECT_NE(transcript.find("+-- Form -- [dialog 600]"), std::string::npos);
  EXPECT_NE(transcript.find("> select 1003 blue"), std::string::npos);
  EXPECT_NE(transcript.find("> click No"), std::string::npos);
}

TEST_F(HostTest, MalformedAnswerFilesAreRefusedWholeNamingTheLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"window 600\n  click OK\nwindow\n", "line 3:"},
      {"  click OK\n", "line 1: an action outside a window"},
      {"window 600\n  frobnicate 3\n", "line 2: unknown action \"frobnicate\""},
      {"window 600\n  type 1001 \"open\n", "line 2: unterminated quote"},
      {"window x\n", "line 1: window takes a template number"},
      {"window 6x\n", "line 1: window takes a template number"},
      {"window 99999999999\n", "line 1: window takes a template number"},
      {"window 600\n  times 0\n", "line 2: times takes a number above 0"},
      {"window 600\n  times 99999999999\n", "line 2: times takes a number"},
      {"window 600\n  times -1\n", "line 2: times takes a number"},
      {"window 600\n  click\n", "line 2: \"click\" takes 1 word(s)"},
  };
  for (const auto& c : cases) {
    ScriptedHost host;
    std::string error;
    EXPECT_FALSE(host.LoadAnswers(c.text, &error)) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    EXPECT_TRUE(host.Unmet().empty()) << "nothing is added from a refused file";
  }
}

TEST_F(HostTest, TerminalHostReadsActionsAndReportsMistakes) {
  std::istringstream in(
      "frobnicate\nclick 4242\nclick 99999999999\nselect 1003 #99999999999999999999999\n"
      "type Name: report.txt\nclick Keep\n?\nclick OK\n");
  std::ostringstream out;
  SetUiHost(std::make_shared<TerminalHost>(in, out));
  Form form;
  EXPECT_EQ(form.DoModal(), IdOk);
  EXPECT_EQ(form.name, "report.txt");
  EXPECT_EQ(form.keep, 1);
  const auto text = out.str();
  EXPECT_NE(text.find("?? unknown action \"frobnicate\""), std::string::npos) << text;
  EXPECT_NE(text.find("?? no control \"4242\" in dialog 600 \"Form\""), std::string::npos);
  EXPECT_NE(text.find("?? no control \"99999999999\" in dialog 600"), std::string::npos) << "too big for an id";
  EXPECT_NE(text.find("?? no item \"#99999999999999999999999\" in listbox"), std::string::npos) << text;
  EXPECT_NE(text.find("actions: click CONTROL"), std::string::npos);
  EXPECT_NE(text.find("[1002] [x] Keep"), std::string::npos) << "redrawn after a change";
}

TEST_F(HostTest, TerminalHostTakesDefaultsWhenTheInputEnds) {
  std::istringstream in("");
  std::ostringstream out;
  SetUiHost(std::make_shared<TerminalHost>(in, out));
  EXPECT_EQ(MessageBox(nullptr, "Continue?", "Ask", mb::YesNo | mb::DefButton2), IdNo);
  Form form;
  EXPECT_EQ(form.DoModal(), IdOk);
  EXPECT_NE(out.str().find("(end of input: default answers from here on)"), std::string::npos);
  Menu menu{7, {Entry(11, "&Open")}};
  EXPECT_EQ(TrackPopupMenu(menu, nullptr), 0);
}

TEST_F(HostTest, AutomaticHostCancelsAWindowWhoseDefaultIsRefused) {
  std::ostringstream out;
  SetUiHost(std::make_shared<AutomaticHost>(&out));
  class Stubborn : public Dialog {
   public:
    Stubborn() : Dialog(kForm) {}

   protected:
    void OnOK() override {}  // OK never closes it
  } dialog;
  EXPECT_EQ(dialog.DoModal(), IdCancel);
  EXPECT_NE(out.str().find("> default\n> cancel"), std::string::npos) << out.str();
}

TEST_F(HostTest, MenusAndFileDialogsAreAnsweredByTheScript) {
  auto host = test::UseScriptedHost();
  host->OnMenu("Check &Out");
  host->OnMenu("99");
  host->OnFiles(std::vector<std::string>{"C:\\a b.txt"});
  host->OnFiles(std::nullopt);
  Menu menu{40, {Entry(41, "Check &In"), MenuItem(), Entry(42, "Check &Out"),
                 Entry(99, "Disabled", false)}};
  EXPECT_EQ(TrackPopupMenu(menu, nullptr), 42);
  EXPECT_EQ(TrackPopupMenu(menu, nullptr), 0) << "a disabled item cannot be chosen";
  auto files = GetOpenFileNames(FileDialogSpec{"Pick", "", "", false}, nullptr);
  ASSERT_TRUE(files);
  EXPECT_EQ(files->front(), "C:\\a b.txt");
  EXPECT_FALSE(GetOpenFileNames(FileDialogSpec{"Pick", "", "", false}, nullptr));
  EXPECT_TRUE(host->Failures().empty());
}

TEST_F(HostTest, ActionsFromAnotherThreadRunOnTheWindowsThread) {
  // A test pressing Cancel in a modeless window while its owner's loop runs.
  auto host = test::UseScriptedHost();
  Form form;
  ASSERT_TRUE(form.Create());
  std::string result = "not run";
  std::atomic<bool> done{false};
  WorkerThread worker([&] {
    result = ApplyActionFromAnyThread(form, Action{Action::Kind::Type, "1001", "from afar"});
    done = true;
    return 0;
  });
  ASSERT_TRUE(test::PumpUntil([&] { return done.load(); }));
  worker.Join();
  EXPECT_EQ(result, "");
  EXPECT_EQ(form.GetDlgItemText(1001), "from afar");
}

TEST_F(HostTest, ParsedActionsFormatBackToTheSameAction) {
  for (const char* line : {"click OK", "type 1001 \"two words\"", "select Views #2", "page General",
                           "tick 1005 \"a \\\"b\\\"\"", "default", "uncheck 1002",
                           "dblclick 1003 \"a row\"", "focus 1003", "f1"}) {
    auto action = ParseAction(line);
    ASSERT_TRUE(action) << line;
    auto again = ParseAction(FormatAction(*action));
    ASSERT_TRUE(again) << FormatAction(*action);
    EXPECT_EQ(again->kind, action->kind);
    EXPECT_EQ(again->control, action->control);
    EXPECT_EQ(again->value, action->value);
  }
}

}  // namespace
}  // namespace plat
