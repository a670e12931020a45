// Boolean settings by level: reading in force and per level, changes,
// read-only defaults, bad input, the store behind the service.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "imsg.h"
#include "local/calllog.h"
#include "local/settings.h"
#include "nlbd.h"
#include "tbs.h"

namespace {

using client_local::CallLog;
using client_local::CallLogScope;
using client_local::Failure;
using client_local::SettingsStore;

constexpr int kKnobs[] = {NLBD_KNOB_INTEROP_TEXT_MODE, NLBD_KNOB_CHECKIN_PRESERVE_TIME,
                          NLBD_KNOB_CHECKOUT_PRESERVE_TIME};

// Each test starts from a fresh memory store.
class Settings : public ::testing::Test {
 protected:
  void SetUp() override { client_local::UseSettingsStore(nullptr); }
  void TearDown() override { client_local::UseSettingsStore(nullptr); }

  static std::optional<int> InForce(int knob, int level = NLBD_LEVEL_DEFAULT) {
    int value = -1;
    int status = nlbd_knob_get_boolean(knob, level, &value);
    if (status == TBS_ST_NOT_FOUND) {
      EXPECT_EQ(value, 0);
      return std::nullopt;
    }
    EXPECT_EQ(status, 0);
    return value;
  }
  static std::optional<int> At(int knob, int level) {
    int value = -1;
    int status = nlbd_knoblet_get_boolean(knob, level, &value);
    if (status == TBS_ST_NOT_FOUND) {
      EXPECT_EQ(value, 0);
      return std::nullopt;
    }
    EXPECT_EQ(status, 0);
    return value;
  }
};

TEST_F(Settings, WithNothingSetTheProductDefaultsAreInForce) {
  for (int knob : kKnobs) {
    EXPECT_EQ(InForce(knob), 0) << knob;
    EXPECT_EQ(At(knob, NLBD_LEVEL_DEFAULT), 0) << knob;
    EXPECT_EQ(At(knob, NLBD_LEVEL_SITE), std::nullopt) << knob;
    EXPECT_EQ(At(knob, NLBD_LEVEL_USER), std::nullopt) << knob;
  }
}

// The highest level set wins; a value is read back only at its own level.
struct LevelCase {
  std::optional<int> site, user;  // what is set (nullopt: unset)
  int in_force;                   // read from level 0
  std::optional<int> from_site;   // read from level 1 down (user and site only)
  std::optional<int> from_user;   // read from level 4 only
};

TEST_F(Settings, TheHighestLevelSetIsInForce) {
  const LevelCase cases[] = {
      {std::nullopt, std::nullopt, 0, std::nullopt, std::nullopt},
      {1, std::nullopt, 1, 1, std::nullopt},
      {std::nullopt, 1, 1, 1, 1},
      {1, 0, 0, 0, 0},
      {0, 1, 1, 1, 1},
  };
  for (const LevelCase& c : cases) {
    for (int knob : kKnobs) {
      if (c.site) ASSERT_EQ(nlbd_knoblet_set_boolean(knob, NLBD_LEVEL_SITE, 0, *c.site), 0);
      else ASSERT_EQ(nlbd_knoblet_unset_value(knob, NLBD_LEVEL_SITE, 0), 0);
      if (c.user) ASSERT_EQ(nlbd_knoblet_set_boolean(knob, NLBD_LEVEL_USER, 0, *c.user), 0);
      else ASSERT_EQ(nlbd_knoblet_unset_value(knob, NLBD_LEVEL_USER, 0), 0);
      EXPECT_EQ(InForce(knob), c.in_force) << knob;
      EXPECT_EQ(InForce(knob, NLBD_LEVEL_SITE), c.from_site) << knob;
      EXPECT_EQ(InForce(knob, NLBD_LEVEL_USER), c.from_user) << knob;
      EXPECT_EQ(At(knob, NLBD_LEVEL_SITE), c.site) << knob;
      EXPECT_EQ(At(knob, NLBD_LEVEL_USER), c.user) << knob;
    }
  }
}

TEST_F(Settings, SettingsAreIndependentOfEachOther) {
  ASSERT_EQ(nlbd_knoblet_set_boolean(NLBD_KNOB_CHECKIN_PRESERVE_TIME, NLBD_LEVEL_USER, 0, 1), 0);
  EXPECT_EQ(InForce(NLBD_KNOB_CHECKIN_PRESERVE_TIME), 1);
  EXPECT_EQ(InForce(NLBD_KNOB_CHECKOUT_PRESERVE_TIME), 0);
  EXPECT_EQ(InForce(NLBD_KNOB_INTEROP_TEXT_MODE), 0);
}

TEST_F(Settings, AnyNonZeroValueIsStoredAsOne) {
  ASSERT_EQ(nlbd_knoblet_set_boolean(NLBD_KNOB_INTEROP_TEXT_MODE, NLBD_LEVEL_USER, 0, -5), 0);
  EXPECT_EQ(At(NLBD_KNOB_INTEROP_TEXT_MODE, NLBD_LEVEL_USER), 1);
}

TEST_F(Settings, BadInputIsRefusedAndChangesNothing) {
  const int knob = NLBD_KNOB_CHECKOUT_PRESERVE_TIME;
  ASSERT_EQ(nlbd_knoblet_set_boolean(knob, NLBD_LEVEL_USER, 0, 1), 0);
  int value = 0;
  for (int level : {-1, 2, 3, 5}) {
    EXPECT_EQ(nlbd_knob_get_boolean(knob, level, &value), TBS_ST_INVALID_ARG) << level;
    EXPECT_EQ(nlbd_knoblet_get_boolean(knob, level, &value), TBS_ST_INVALID_ARG) << level;
    EXPECT_EQ(nlbd_knoblet_set_boolean(knob, level, 0, 0), TBS_ST_INVALID_ARG) << level;
    EXPECT_EQ(nlbd_knoblet_unset_value(knob, level, 0), TBS_ST_INVALID_ARG) << level;
  }
  EXPECT_EQ(nlbd_knob_get_boolean(knob, 0, nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(nlbd_knoblet_get_boolean(knob, 4, nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(nlbd_knoblet_set_boolean(knob, NLBD_LEVEL_USER, 1, 0), TBS_ST_INVALID_ARG);
  EXPECT_EQ(nlbd_knoblet_unset_value(knob, NLBD_LEVEL_USER, 1), TBS_ST_INVALID_ARG);
  // The product's defaults are read-only.
  EXPECT_EQ(nlbd_knoblet_set_boolean(knob, NLBD_LEVEL_DEFAULT, 0, 1), TBS_ST_PERMISSION);
  EXPECT_EQ(nlbd_knoblet_unset_value(knob, NLBD_LEVEL_DEFAULT, 0), TBS_ST_PERMISSION);
  // Unknown settings.
  for (int unknown : {0, 5, 8, 999}) {
    value = 7;
    EXPECT_EQ(nlbd_knob_get_boolean(unknown, 0, &value), TBS_ST_NOT_FOUND) << unknown;
    EXPECT_EQ(value, 0);
    EXPECT_EQ(nlbd_knoblet_set_boolean(unknown, NLBD_LEVEL_USER, 0, 1), TBS_ST_NOT_FOUND) << unknown;
  }
  EXPECT_EQ(At(knob, NLBD_LEVEL_USER), 1);
  EXPECT_EQ(At(knob, NLBD_LEVEL_DEFAULT), 0);
}

// A store that fails every read and write, as a broken database would.
class BrokenStore : public SettingsStore {
 public:
  int GetBoolean(int, int, std::optional<bool>&) override { return TBS_ST_FAILURE; }
  int SetBoolean(int, int, bool) override { return TBS_ST_FAILURE; }
  int Unset(int, int) override { return TBS_ST_FAILURE; }
};

TEST_F(Settings, TheStoresFailuresReachTheCaller) {
  ASSERT_EQ(nlbd_knoblet_set_boolean(NLBD_KNOB_INTEROP_TEXT_MODE, NLBD_LEVEL_USER, 0, 1), 0);
  auto memory = client_local::UseSettingsStore(std::make_unique<BrokenStore>());
  int value = 5;
  EXPECT_EQ(nlbd_knob_get_boolean(NLBD_KNOB_INTEROP_TEXT_MODE, 0, &value), TBS_ST_FAILURE);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(nlbd_knoblet_set_boolean(NLBD_KNOB_INTEROP_TEXT_MODE, NLBD_LEVEL_USER, 0, 0), TBS_ST_FAILURE);
  // Level 0 needs no store.
  EXPECT_EQ(nlbd_knoblet_get_boolean(NLBD_KNOB_INTEROP_TEXT_MODE, NLBD_LEVEL_DEFAULT, &value), 0);
  client_local::UseSettingsStore(std::move(memory));
  EXPECT_EQ(At(NLBD_KNOB_INTEROP_TEXT_MODE, NLBD_LEVEL_USER), 1);
}

TEST_F(Settings, AnInjectedFailureLeavesTheValueAlone) {
  CallLogScope scope;
  ASSERT_TRUE(CallLog::InjectFailure("nlbd_knoblet_set_boolean",
                                     Failure{TBS_ST_PERMISSION, {{IMSG_ERROR, "no access\n"}}, 1}));
  EXPECT_EQ(nlbd_knoblet_set_boolean(NLBD_KNOB_CHECKIN_PRESERVE_TIME, NLBD_LEVEL_USER, 0, 1), TBS_ST_PERMISSION);
  EXPECT_EQ(At(NLBD_KNOB_CHECKIN_PRESERVE_TIME, NLBD_LEVEL_USER), std::nullopt);
}

TEST_F(Settings, ThreadsSetAndReadAtOnce) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      const int knob = kKnobs[t % 3];
      const int level = t % 2 ? NLBD_LEVEL_USER : NLBD_LEVEL_SITE;
      for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(nlbd_knoblet_set_boolean(knob, level, 0, i % 2), 0);
        int value = -1;
        EXPECT_EQ(nlbd_knob_get_boolean(knob, 0, &value), 0);
        EXPECT_TRUE(value == 0 || value == 1);
      }
    });
  std::thread swapper([] {
    for (int i = 0; i < 20; ++i) client_local::UseSettingsStore(nullptr);
  });
  for (auto& thread : threads) thread.join();
  swapper.join();
}

}  // namespace
