// A menu button: a click shows the menu it builds then, the chosen command
// reaches the dialog, and an empty menu shows nothing.
#include <gtest/gtest.h>

#include "fileops/menu_button.h"
#include "platform/dialog.h"
#include "support/ui.h"

namespace {

constexpr int kDialog = 790, kButton = 1001, kFirstType = 2000;

class TypesButton : public CMenuButton {
 public:
  std::vector<std::string> types;
  int builds = 0;

 protected:
  plat::Menu BuildMenu() override {
    ++builds;
    plat::Menu menu;
    for (std::size_t i = 0; i < types.size(); ++i)
      menu.items.push_back(plat::MenuItem{kFirstType + static_cast<int>(i), types[i] + "...", true, false, {}});
    return menu;
  }
};

class MenuDialog : public plat::Dialog {
 public:
  MenuDialog() : plat::Dialog(kDialog) {}
  TypesButton button;
  std::vector<int> commands;

 protected:
  bool OnInitDialog() override {
    SubclassDlgItem(kButton, button);
    return plat::Dialog::OnInitDialog();
  }
  bool OnCommand(int id, int code) override {
    if (id != plat::IdOk && id != plat::IdCancel) commands.push_back(id);
    return plat::Dialog::OnCommand(id, code);
  }
};

TEST(MenuButton, AClickShowsTheMenuItBuildsAndTheChoiceReachesTheDialog) {
  plat::test::AddTemplate(kDialog, "New record",
                          {plat::test::Ctl("button", kButton, "&New   >"), plat::test::Ctl("button", plat::IdOk, "OK")});
  const struct {
    std::vector<std::string> types;
    std::vector<int> commands;
  } cases[] = {
      {{"Defect", "Enhancement"}, {kFirstType + 1}},
      {{}, {}},  // no types: no menu shows (the scripted user would fail on one)
  };
  for (const auto& c : cases) {
    plat::test::ScriptedUser user;
    if (!c.types.empty()) user->OnMenu("Enhancement...");
    user->OnTemplate(kDialog).Click("New   >").Click("OK");
    MenuDialog dialog;
    dialog.button.types = c.types;
    EXPECT_EQ(dialog.DoModal(), plat::IdOk);
    EXPECT_EQ(dialog.commands, c.commands);
    EXPECT_EQ(dialog.button.builds, 1);
  }
}

}  // namespace
