// The stored operation settings: defaults, fallbacks, how values are read,
// and what Default writes.
#include <gtest/gtest.h>

#include <functional>

#include "rvcmndlg/user_options.h"
#include "local/calllog.h"
#include "local/store.h"
#include "nlbd.h"
#include "platform/registry.h"

namespace {

using plat::Hive;
using plat::RegKey;

constexpr const char* kRoot = "Software\\Norvane\\Strata";

class UserOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::Registry::UseMemory();
    client_local::UseStore(client_local::Store::OpenMemory());
  }
  void TearDown() override { client_local::UseStore(nullptr); }

  static void Write(Hive hive, const std::string& sub_key, const char* name, std::uint32_t value) {
    auto key = RegKey::Create(hive, std::string(kRoot) + "\\" + sub_key);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetDword(name, value));
  }
  static std::vector<std::string> ValuesUnder(const std::string& sub_key) {
    auto key = RegKey::Open(Hive::CurrentUser, std::string(kRoot) + "\\" + sub_key);
    return key ? key->EnumValues() : std::vector<std::string>();
  }
  CUserOptions options;
};

TEST_F(UserOptionsTest, AnEmptyRegistryGivesTheDefaults) {
  struct Case {
    const char* name;
    std::function<int(const CUserOptions&)> read;
    int expected;
  };
  const Case cases[] = {
      {"PromptForCIComment", [](auto& o) { return o.PromptForCIComment(); }, 1},
      {"PromptForCOComment", [](auto& o) { return o.PromptForCOComment(); }, 1},
      {"CheckoutReserved", [](auto& o) { return o.CheckoutReserved(); }, 1},
      {"CheckoutUnreserved", [](auto& o) { return o.CheckoutUnreserved(); }, 0},
      {"CheckoutNonmastered", [](auto& o) { return o.CheckoutNonmastered(); }, 0},
      {"ConfirmUncheckout", [](auto& o) { return o.ConfirmUncheckout(); }, 1},
      {"UncheckoutSaveFile", [](auto& o) { return o.UncheckoutSaveFile(); }, 1},
      {"SuppressErrors", [](auto& o) { return o.SuppressErrors(); }, 0},
      {"UseCheckoutInfo", [](auto& o) { return o.UseCheckoutInfo(); }, 1},
      {"AddSrcMaster", [](auto& o) { return o.AddSrcMaster(); }, 0},
      {"ExplorerRefresh", [](auto& o) { return o.ExplorerRefresh(); }, 1},
      {"ExplorerSimpleMenu", [](auto& o) { return o.ExplorerSimpleMenu(); }, 0},
      {"StartViewPage", [](auto& o) { return o.StartViewPage(); }, 0},
      {"RestartAtLogon", [](auto& o) { return o.RestartAtLogon(); }, 1},
      {"ReconnectAtLogon", [](auto& o) { return o.ReconnectAtLogon(); }, 1},
      {"CheckinPreserveTime", [](auto& o) { return o.CheckinPreserveTime(); }, 0},
      {"CheckoutPreserveTime", [](auto& o) { return o.CheckoutPreserveTime(); }, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.read(options), c.expected) << c.name;
  EXPECT_EQ(options.ExplorerCommandPrompt(), "cmd.exe");
}

TEST_F(UserOptionsTest, SettersWriteUnderTheCommonKeyWithoutItsLeadingBackslash) {
  options.SetSuppressErrors(7);
  options.SetExplorerRefresh(0);
  options.SetStartViewPage(3);
  auto operations = RegKey::Open(Hive::CurrentUser, "Software\\Norvane\\Strata\\Operations");
  ASSERT_TRUE(operations);
  EXPECT_EQ(operations->QueryDword("SuppressErrors"), 1u) << "booleans are written as 1";
  auto explorer = RegKey::Open(Hive::CurrentUser, "Software\\Norvane\\Strata\\ContextMenus\\MsExplorer");
  ASSERT_TRUE(explorer);
  EXPECT_EQ(explorer->QueryDword("RefreshExplorer"), 0u);
  EXPECT_EQ(explorer->QueryDword("StartViewPage"), 3u);
  auto root = RegKey::Open(Hive::CurrentUser, "");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->EnumSubkeys(), (std::vector<std::string>{"Software"}));
}

TEST_F(UserOptionsTest, OnlyPositiveSignedNumbersOfTheRightTypeCountAsOn) {
  Write(Hive::CurrentUser, "Operations", "SuppressErrors", 0xFFFFFFFFu);
  EXPECT_FALSE(options.SuppressErrors()) << "0xFFFFFFFF is -1";
  Write(Hive::CurrentUser, "Operations", "SuppressErrors", 2);
  EXPECT_TRUE(options.SuppressErrors());
  // A value of the wrong type or size counts as missing: the default applies.
  auto key = RegKey::Create(Hive::CurrentUser, std::string(kRoot) + "\\Checkout");
  key->SetString("Reserved", "0");
  EXPECT_TRUE(options.CheckoutReserved());
  key->SetBinary("PromptForComment", {0, 0});
  EXPECT_TRUE(options.PromptForCOComment());
  Write(Hive::CurrentUser, "View Options", "RestartAtLogon", 0xFFFFFFFEu);
  EXPECT_EQ(options.RestartAtLogon(), -2) << "numbers are read as they are";
}

TEST_F(UserOptionsTest, UnreservedIsOffWheneverReservedIsOff) {
  Write(Hive::CurrentUser, "Checkout", "Unreserved", 1);
  EXPECT_TRUE(options.CheckoutUnreserved());
  Write(Hive::CurrentUser, "Checkout", "Reserved", 0);
  EXPECT_FALSE(options.CheckoutUnreserved());
}

TEST_F(UserOptionsTest, SimpleMenusAndTheCommandPromptFallBackToTheMachine) {
  Write(Hive::LocalMachine, "ContextMenus\\MsExplorer", "SimpleContextMenus", 1);
  EXPECT_TRUE(options.ExplorerSimpleMenu());
  Write(Hive::CurrentUser, "ContextMenus\\MsExplorer", "SimpleContextMenus", 0);
  EXPECT_FALSE(options.ExplorerSimpleMenu()) << "the user's own value wins";

  EXPECT_EQ(options.ExplorerCommandPrompt(), "cmd.exe");
  EXPECT_FALSE(RegKey::Open(Hive::CurrentUser, std::string(kRoot) + "\\ContextMenus\\CmdLineExe"))
      << "the getter never creates the key";
  RegKey::Create(Hive::LocalMachine, std::string(kRoot) + "\\ContextMenus\\CmdLineExe")->SetString("", "bash -l");
  EXPECT_EQ(options.ExplorerCommandPrompt(), "bash -l");
  options.SetExplorerCommandPrompt("zsh");
  EXPECT_EQ(options.ExplorerCommandPrompt(), "zsh");
}

TEST_F(UserOptionsTest, DefaultWritesExactlyItsListAndLeavesTheRestAlone) {
  Write(Hive::CurrentUser, "Checkin", "UseCheckoutInfo", 0);
  Write(Hive::CurrentUser, "Checkout", "Unreserved", 1);
  Write(Hive::CurrentUser, "Operations", "SuppressErrors", 1);
  options.Default();
  EXPECT_EQ(ValuesUnder("Operations"), (std::vector<std::string>{"SuppressErrors"}));
  EXPECT_EQ(ValuesUnder("Checkin"), (std::vector<std::string>{"UseCheckoutInfo", "PromptForComment"}));
  EXPECT_EQ(ValuesUnder("Checkout"),
            (std::vector<std::string>{"Unreserved", "PromptForComment", "Reserved", "Nonmastered"}));
  EXPECT_EQ(ValuesUnder("Uncheckout"), (std::vector<std::string>{"Confirm", "SaveFile"}));
  EXPECT_EQ(ValuesUnder("AddToSource"), (std::vector<std::string>{"Master"}));
  EXPECT_EQ(ValuesUnder("View Options"), (std::vector<std::string>{"RestartAtLogon"}));
  EXPECT_EQ(ValuesUnder("VOB Options"), (std::vector<std::string>{"ReconnectAtLogon"}));
  EXPECT_TRUE(ValuesUnder("ContextMenus\\MsExplorer").empty());
  EXPECT_FALSE(options.SuppressErrors());
  EXPECT_FALSE(options.UseCheckoutInfo()) << "not Default's to touch";
  EXPECT_TRUE(options.CheckoutUnreserved());
}

TEST_F(UserOptionsTest, DefaultTakesPreserveTimeFromTheSiteLevelThenTheProduct) {
  ASSERT_EQ(nlbd_knoblet_set_boolean(NLBD_KNOB_CHECKOUT_PRESERVE_TIME, NLBD_LEVEL_SITE, 0, 1), 0);
  ASSERT_EQ(nlbd_knoblet_set_boolean(NLBD_KNOB_CHECKIN_PRESERVE_TIME, NLBD_LEVEL_USER, 0, 1), 0);
  client_local::CallLogScope log;
  options.Default();
  std::vector<std::string> knob_calls;
  for (const auto& call : client_local::CallLog::Calls())
    if (call.name.rfind("nlbd_", 0) == 0) knob_calls.push_back(call.name + " " + call.args[0] + " " + call.args[1]);
  EXPECT_EQ(knob_calls, (std::vector<std::string>{
                            "nlbd_knoblet_get_boolean 7 1",  // check-out: the site has it
                            "nlbd_knoblet_set_boolean 7 4",
                            "nlbd_knoblet_get_boolean 6 1",  // check-in: not at the site,
                            "nlbd_knoblet_get_boolean 6 0",  // so the product's value
                            "nlbd_knoblet_set_boolean 6 4",
                        }));
  EXPECT_TRUE(options.CheckoutPreserveTime());
  EXPECT_FALSE(options.CheckinPreserveTime()) << "the user's value was replaced by the product's";
}

}  // namespace
