// Property sheets and wizards driven through the scripted host.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/propsheet.h"
#include "support/ui.h"

namespace plat {
namespace {

using test::AddTemplate;
using test::Ctl;

std::vector<std::string> g_log;

// A page that logs every notification and can refuse Apply a number of times.
class LoggingPage : public PropertyPage {
 public:
  LoggingPage(int template_id, std::string name) : PropertyPage(template_id), name_(std::move(name)) {}
  int refuse_apply = 0;
  bool refuse_activation = false;

 protected:
  bool OnInitDialog() override {
    g_log.push_back("init " + name_);
    return PropertyPage::OnInitDialog();
  }
  bool OnSetActive() override {
    g_log.push_back("active " + name_);
    if (Sheet()->IsWizard()) Sheet()->SetWizardButtons(wizb::Back | wizb::Next);
    return !refuse_activation;
  }
  bool OnKillActive() override {
    g_log.push_back("kill " + name_);
    return PropertyPage::OnKillActive();
  }
  bool OnApply() override {
    g_log.push_back("apply " + name_);
    if (refuse_apply > 0) {
      --refuse_apply;
      return false;
    }
    return true;
  }
  bool OnCommand(int id, int code) override {
    if (id == 1100 && code == bn::Clicked) {
      SetModified(true);
      return true;
    }
    return PropertyPage::OnCommand(id, code);
  }
  void OnSheetHelp() override { g_log.push_back("help " + name_); }

 private:
  std::string name_;
};

class SheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    host = test::UseScriptedHost();
    AddTemplate(201, "General", {Ctl("button", 1100, "&Change", bs::AutoCheckBox)});
    AddTemplate(202, "Details", {Ctl("button", 1100, "&Change", bs::AutoCheckBox)});
    AddTemplate(203, "Advanced", {Ctl("button", 1100, "&Change", bs::AutoCheckBox)});
  }
  void TearDown() override {
    EXPECT_EQ(host->Finish(), std::vector<std::string>()) << host->TranscriptText();
    SetUiHost(nullptr);
  }
  std::shared_ptr<ScriptedHost> host;
  LoggingPage general{201, "general"}, details{202, "details"}, advanced{203, "advanced"};
};

TEST_F(SheetTest, OkAppliesEveryCreatedPageInOrderAndOnlyThose) {
  PropertySheet sheet("Properties of x");
  for (auto* p : {&general, &details, &advanced}) sheet.AddPage(p);
  host->OnCaption("Properties of x").Click("Change").Page("Advanced").Click("Change").Click("OK");
  EXPECT_EQ(sheet.DoModal(), IdOk);
  EXPECT_EQ(g_log, (std::vector<std::string>{"init general", "active general", "kill general",
                                             "init advanced", "active advanced", "kill advanced",
                                             "apply general", "apply advanced"}));
}

TEST_F(SheetTest, APageRefusingApplyKeepsTheSheetOpenOnThatPage) {
  PropertySheet sheet("Refusing");
  sheet.AddPage(&general);
  sheet.AddPage(&details);
  general.refuse_apply = 1;
  // OK is refused by General while Details is shown: the sheet goes back to
  // General and stays open, so the next actions still reach it.
  host->OnCaption("Refusing").Page("Details").Click("OK").Click("Change").Click("OK");
  EXPECT_EQ(sheet.DoModal(), IdOk);
  EXPECT_EQ(g_log, (std::vector<std::string>{"init general", "active general", "kill general",
                                             "init details", "active details", "kill details",
                                             "apply general", "active general", "kill general",
                                             "apply general", "apply details"}));
}

TEST_F(SheetTest, ApplyIsEnabledOnlyWhileAPageIsModified) {
  PropertySheet sheet("Apply");
  sheet.AddPage(&general);
  host->OnCaption("Apply").Click("Apply");  // disabled: nothing changed yet
  EXPECT_EQ(sheet.DoModal(), IdCancel);
  ASSERT_EQ(host->Failures().size(), 1u);
  EXPECT_NE(host->Failures()[0].find("\"Apply\""), std::string::npos);
  host = test::UseScriptedHost();
  g_log.clear();
  PropertySheet again("Apply again");
  again.AddPage(&general);
  host->OnCaption("Apply again").Click("Change").Click("Apply").Click("Cancel");
  EXPECT_EQ(again.DoModal(), IdCancel);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "apply general"), 1);
  EXPECT_FALSE(general.IsModified()) << "a successful Apply clears the modified mark";
}

TEST_F(SheetTest, FirstActivationHappensOnceAndTheStartPageIsShownFirst) {
  PropertySheet sheet("Tabs", nullptr, 1);
  for (auto* p : {&general, &details, &advanced}) sheet.AddPage(p);
  sheet.SetFlags(kSheetHasHelp);
  host->OnCaption("Tabs").Page("General").Page("Details").Page("#0").Click("Help").Click("Cancel");
  EXPECT_EQ(sheet.DoModal(), IdCancel);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "init details"), 1);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "init general"), 1);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "init advanced"), 0);
  EXPECT_EQ(g_log.front(), "init details");
  EXPECT_EQ(g_log.back(), "help general");
}

TEST_F(SheetTest, WizardMovesBackAndNextAndEndsWithFinish) {
  // Finish stays disabled until the last page allows it.
  struct Last : LoggingPage {
    using LoggingPage::LoggingPage;
    bool OnSetActive() override {
      const bool shown = LoggingPage::OnSetActive();
      Sheet()->SetWizardButtons(wizb::Back | wizb::Finish);
      return shown;
    }
  };
  Last last(203, "last");
  PropertySheet wizard("Make it");
  for (PropertyPage* p : {static_cast<PropertyPage*>(&general), static_cast<PropertyPage*>(&details),
                          static_cast<PropertyPage*>(&last)})
    wizard.AddPage(p);
  wizard.SetWizardMode();
  host->OnCaption("Make it").Click("Next >").Click("Next >").Click("< Back").Click("Next >").Click("Finish");
  EXPECT_EQ(wizard.DoModal(), IdWizFinish);
  std::vector<std::string> activations;
  for (const auto& line : g_log)
    if (line.rfind("active ", 0) == 0) activations.push_back(line.substr(7));
  EXPECT_EQ(activations, (std::vector<std::string>{"general", "details", "last", "details", "last"}));
}

TEST_F(SheetTest, FinishIsRefusedWhileDisabled) {
  PropertySheet wizard("Early");
  wizard.AddPage(&general);
  wizard.SetWizardMode();
  host->OnCaption("Early").Click("Finish");
  EXPECT_EQ(wizard.DoModal(), IdCancel);
  ASSERT_EQ(host->Failures().size(), 1u);
  host = test::UseScriptedHost();
}

TEST_F(SheetTest, ASheetWithoutPagesOrWithEveryPageRefusingFailsToOpen) {
  PropertySheet empty("Empty");
  EXPECT_EQ(empty.DoModal(), -1);
  PropertySheet refusing("Refusing");
  general.refuse_activation = true;
  refusing.AddPage(&general);
  EXPECT_EQ(refusing.DoModal(), -1);
  EXPECT_TRUE(host->Transcript().empty());
}

}  // namespace
}  // namespace plat
