// The registry calls that change stored entries and regions, read regions
// through a cursor and answer for the registry's server.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "local/store.h"
#include "rgy.h"
#include "tbs.h"

namespace {

class RegistryCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = client_local::UseStore(client_local::Store::OpenMemory());
    ASSERT_EQ(rgy_add_region("north", "cold"), 0);
    ASSERT_EQ(rgy_add_region("south", "warm"), 0);
    AddTag("north", "\\a");
    AddTag("north", "\\b");
  }
  void TearDown() override { client_local::UseStore(std::move(previous_)); }

  static void AddTag(const char* region, const char* tag) {
    rgy_entry_t entry = nullptr;
    ASSERT_EQ(rgy_create_entry(RGY_KIND_VOB_TAG, &entry), 0);
    ASSERT_EQ(rgy_setstring_in_entry(entry, RGY_KEY_TAG, tag), 0);
    ASSERT_EQ(rgy_add_entry(region, entry), 0);
    rgy_delete_entry(entry);
  }
  // Every entry of a cursor, each as its field `key`.
  static std::vector<std::string> Read(int kind, const char* region, int key) {
    std::vector<std::string> values;
    rgy_cursor_t cursor = nullptr;
    EXPECT_EQ(rgy_open_cursor(kind, region, &cursor), 0);
    rgy_entry_t entries[1];
    int count = 0;
    while (rgy_get_entry(cursor, 1, entries, &count) == 0 && count == 1) {
      char text[200];
      values.push_back(rgy_getstring_from_entry(entries[0], key, sizeof text, text) == 0 ? text : "?");
      rgy_delete_entry(entries[0]);
    }
    rgy_close_cursor(cursor);
    return values;
  }
  // The first entry of a kind in a region, the caller's to free.
  static rgy_entry_t First(int kind, const char* region) {
    rgy_cursor_t cursor = nullptr;
    EXPECT_EQ(rgy_open_cursor(kind, region, &cursor), 0);
    rgy_entry_t entry = nullptr;
    int count = 0;
    EXPECT_EQ(rgy_get_entry(cursor, 1, &entry, &count), 0);
    rgy_close_cursor(cursor);
    return count == 1 ? entry : nullptr;
  }
  // Stores one field over the entry's record: the call's status.
  static int Modify(rgy_entry_t entry, int kind, int key, const char* value) {
    rgy_entry_t changes = nullptr, stored = nullptr;
    EXPECT_EQ(rgy_create_entry(kind, &changes), 0);
    rgy_setstring_in_entry(changes, key, value);
    const int rc = rgy_modify_entry(entry, changes, &stored);
    rgy_delete_entry(changes);
    if (stored) rgy_delete_entry(stored);
    return rc;
  }

 private:
  std::unique_ptr<client_local::Store> previous_;
};

TEST_F(RegistryCalls, RegionsReadThroughACursorAndRenameWithTheirTags) {
  EXPECT_EQ(Read(RGY_KIND_REGION, nullptr, RGY_KEY_REGION), (std::vector<std::string>{"north", "south"}));
  rgy_entry_t north = First(RGY_KIND_REGION, nullptr);
  ASSERT_NE(north, nullptr);
  EXPECT_EQ(Modify(north, RGY_KIND_REGION, RGY_KEY_REGION, "south"), TBS_ST_ALREADY);
  EXPECT_EQ(Modify(north, RGY_KIND_REGION, RGY_KEY_REGION, ""), TBS_ST_INVALID_ARG);
  ASSERT_EQ(Modify(north, RGY_KIND_REGION, RGY_KEY_REGION, "arctic"), 0);
  EXPECT_EQ(Read(RGY_KIND_VOB_TAG, "arctic", RGY_KEY_TAG), (std::vector<std::string>{"\\a", "\\b"}));
  EXPECT_EQ(Read(RGY_KIND_VOB_TAG, "arctic", RGY_KEY_REGION), (std::vector<std::string>{"arctic", "arctic"}));
  EXPECT_EQ(Read(RGY_KIND_REGION, nullptr, RGY_KEY_COMMENT), (std::vector<std::string>{"cold", "warm"}));
  rgy_delete_entry(north);
}

TEST_F(RegistryCalls, AStoredEntryKeepsWhereItLivesAndWhoMadeIt) {
  rgy_entry_t tag = First(RGY_KIND_VOB_TAG, "north");
  ASSERT_NE(tag, nullptr);
  EXPECT_EQ(Modify(tag, RGY_KIND_VOB_TAG, RGY_KEY_TAG, "\\b"), TBS_ST_ALREADY);
  EXPECT_EQ(Modify(tag, RGY_KIND_VOB_OBJECT, RGY_KEY_HOST, "h"), TBS_ST_INVALID_ARG);  // kinds differ
  EXPECT_EQ(Modify(tag, RGY_KIND_VOB_TAG, RGY_KEY_REGION, "south"), 0);
  EXPECT_EQ(Modify(tag, RGY_KIND_VOB_TAG, RGY_KEY_CREATOR, "mallory"), 0);
  EXPECT_EQ(Read(RGY_KIND_VOB_TAG, "north", RGY_KEY_REGION), (std::vector<std::string>{"north", "north"}));
  EXPECT_NE(Read(RGY_KIND_VOB_TAG, "north", RGY_KEY_CREATOR)[0], "mallory");
  ASSERT_EQ(rgy_remove_by_string(RGY_KIND_VOB_TAG, "north", "\\a"), 0);
  EXPECT_EQ(Modify(tag, RGY_KIND_VOB_TAG, RGY_KEY_COMMENT, "x"), TBS_ST_NOT_FOUND);
  rgy_entry_t fresh = nullptr;
  ASSERT_EQ(rgy_create_entry(RGY_KIND_VOB_TAG, &fresh), 0);
  EXPECT_EQ(Modify(fresh, RGY_KIND_VOB_TAG, RGY_KEY_COMMENT, "x"), TBS_ST_NOT_FOUND);  // never stored
  rgy_delete_entry(fresh);
  rgy_delete_entry(tag);
  EXPECT_EQ(rgy_live_entry_count(), 0);
  EXPECT_EQ(rgy_live_cursor_count(), 0);
}

TEST_F(RegistryCalls, TheServerHostIsForgottenWithTheRegistry) {
  char host[64];
  EXPECT_EQ(rgy_get_server_host(host, sizeof host), TBS_ST_NOT_FOUND);
  EXPECT_EQ(rgy_set_password("x"), TBS_ST_NOT_FOUND);
  ASSERT_EQ(rgy_set_server_host("alpha"), 0);
  ASSERT_EQ(rgy_get_server_host(host, sizeof host), 0);
  EXPECT_STREQ(host, "alpha");
  EXPECT_EQ(rgy_chk_access(RGY_ACCESS_PASSWORD + 1, ""), TBS_ST_INVALID_ARG);
  EXPECT_TRUE(Read(RGY_KIND_VOB_OBJECT, nullptr, RGY_KEY_HOST).empty());  // no cursor reads the server's record
  ASSERT_EQ(rgy_clear(), 0);
  EXPECT_EQ(rgy_get_server_host(host, sizeof host), TBS_ST_NOT_FOUND);
}

}  // namespace
