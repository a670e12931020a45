// The embedded store: schema, one transaction per command, clear errors for
// files it cannot use, and the settings, usage data and parameters kept in it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <cstring>
#include <fstream>
#include <functional>

#include "clp.h"
#include "imsg.h"
#include "local/store.h"
#include "local/usage.h"
#include "flm.h"
#include "kelp.h"
#include "nlbd.h"
#include "ntregy.h"
#include "rgy.h"
#include "stg.h"
#include "nlbd_port.h"
#include "support/message_capture.h"
#include "support/old_stores.h"
#include "view.h"
#include "vob.h"
#include "vob_type.h"
#include "tbs.h"

namespace client_local {
namespace {

namespace fs = std::filesystem;

using Errors = rv_test::MessageCapture;

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("rv-store-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override {
    UseStore(nullptr);
    fs::remove_all(dir);
  }
  static int Count(Store& store, const char* table) {
    int n = -1;
    store.Command([&](Store& s) {
      Statement count(s, std::string("SELECT count(*) FROM ") + table);
      count.Step();
      n = static_cast<int>(count.Int(0));
      return 0;
    });
    return n;
  }
  static std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  fs::path dir;
};

TEST_F(StoreTest, ANewFileGetsTheLatestSchemaAndKeepsItsDataAcrossOpenings) {
  std::string error;
  {
    auto store = Store::OpenFile(dir / "store.db", &error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->SchemaVersion(), Store::LatestSchemaVersion());
    UseStore(std::move(store));
    EXPECT_EQ(nlbd_knoblet_set_boolean(NLBD_KNOB_CHECKOUT_PRESERVE_TIME, NLBD_LEVEL_USER, 0, 1), 0);
    EXPECT_EQ(clp_collectdatas("rvdlg.options", "shown"), 0);
    EXPECT_EQ(ntregy_set_param(20, "C:\\views"), 0);
    UseStore(nullptr);
  }
  int value = -1;
  EXPECT_EQ(nlbd_knoblet_get_boolean(NLBD_KNOB_CHECKOUT_PRESERVE_TIME, NLBD_LEVEL_USER, &value), TBS_ST_NOT_FOUND)
      << "without the store the settings are fresh";
  auto again = Store::OpenFile(dir / "store.db", &error);
  ASSERT_TRUE(again) << error;
  UseStore(std::move(again));
  EXPECT_EQ(nlbd_knoblet_get_boolean(NLBD_KNOB_CHECKOUT_PRESERVE_TIME, NLBD_LEVEL_USER, &value), 0);
  EXPECT_EQ(value, 1);
  ASSERT_EQ(UsageLog().size(), 1u);
  EXPECT_EQ(UsageLog()[0].text, "shown");
  char buffer[64];
  EXPECT_EQ(ntregy_get_param(20, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "C:\\views");
}

// What a store of each earlier schema version holds, read through the client
// once the current program has opened it: one row per migration, each adding
// what its release wrote (tests/support/old_stores.cpp makes the files).
TEST_F(StoreTest, AStoreOfEveryEarlierSchemaOpensAtTheLatestWithItsDataIntact) {
  ASSERT_EQ(rv_test::OldStoreVersions(), Store::LatestSchemaVersion())
      << "a new migration needs its step in tests/support/old_stores.cpp and its row here";
  struct Row {
    int version;
    std::function<void()> holds;  // the data written at that version is there
  };
  const Row rows[] = {
      {0, [] {}},
      {1,
       [] {
         int value = -1;
         EXPECT_EQ(nlbd_knoblet_get_boolean(NLBD_KNOB_CHECKOUT_PRESERVE_TIME, NLBD_LEVEL_USER, &value), 0);
         EXPECT_EQ(value, 1);
         ASSERT_EQ(UsageLog().size(), 1u);
         EXPECT_EQ(UsageLog()[0].text, "shown");
         char param[64];
         EXPECT_EQ(ntregy_get_param(20, param, sizeof param), 0);
         EXPECT_STREQ(param, "C:\\old views");
       }},
      {2,
       [] {
         char region[64];
         EXPECT_EQ(rgy_get_default_region(region, sizeof region), 0);
         EXPECT_STREQ(region, "old");
         int port = 0;
         EXPECT_EQ(nlbd_get_port("ALPHA", &port), 0);
         EXPECT_EQ(port, 7510);
       }},
      {3,
       [] {
         vob_handle_t old = 0;
         ASSERT_EQ(vob_lookup_tag("\\old", &old), 0);
         char tag[64];
         EXPECT_EQ(vob_get_tag(old, tag, sizeof tag), 0);
         EXPECT_STREQ(tag, "\\old");
       }},
      {4,
       [] {
         // The view is there and, read through the change-management
         // tables the next release added, works in no stream.
         FLM_View view;
         ASSERT_EQ(FLM_View::construct_from_tag("old_view", &view), 0);
         bool flm = true;
         EXPECT_EQ(view.is_flm_view(&flm), 0);
         EXPECT_FALSE(flm);
       }},
      {5,
       [] {
         ASSERT_EQ(kelp_set_installed(true), 0);
         FLM_List<kelp_record_s> records;
         ASSERT_EQ(kelp_get_records(&records), 0);
         ASSERT_EQ(records.length(), 1u);
         EXPECT_EQ(records[0].id.display_name(), "OLD00000001");
         EXPECT_EQ(records[0].headline, "An old record");
       }},
      {6,
       [] {
         // The old attribute type has the definition every such type had.
         vob_handle_t old = 0;
         ASSERT_EQ(vob_lookup_tag("\\old", &old), 0);
         vob_dbid_t type = 0;
         std::uint32_t mtype = 0, occurs = 0;
         ASSERT_EQ(vob_obj_resolve(old, "attype:Severity", &type, &mtype), 0);
         EXPECT_EQ(vob_type_get_occurs(old, type, &occurs), 0);
         EXPECT_EQ(occurs, VOB_OCCURS_VER_PER_VER);
         const stg_area_t area = stg_create_area(256);
         vob_attype_info_s info;
         EXPECT_EQ(vob_attype_get_info(old, type, area, &info), 0);
         EXPECT_EQ(info.kind, VOB_VAL_INTEGER);
         EXPECT_EQ(info.lower, nullptr);
         stg_delete_area(area);
       }},
      {7,
       [] {
         // The old check-out names its view as the view was.
         vob_handle_t old = 0;
         ASSERT_EQ(vob_lookup_tag("\\old", &old), 0);
         const stg_area_t area = stg_create_area(256);
         vob_ckout_info_s info;
         ASSERT_EQ(vob_ver_get_ckout_info(old, 2, area, &info), 0);
         EXPECT_STREQ(info.view_uuid, "0b1d0000.00004000.8000.00:00:00:00:00:a1");
         EXPECT_STREQ(info.view_host, "alpha");
         EXPECT_STREQ(info.view_path, "\\\\view\\old_view");
         stg_delete_area(area);
       }},
      {8,
       [] {
         // A check-out of a view that is gone still names it.
         vob_handle_t old = 0;
         ASSERT_EQ(vob_lookup_tag("\\old", &old), 0);
         const stg_area_t area = stg_create_area(256);
         vob_ckout_info_s info;
         ASSERT_EQ(vob_ver_get_ckout_info(old, 3, area, &info), 0);
         EXPECT_STREQ(info.view_host, "beta");
         EXPECT_STREQ(info.view_path, "\\\\view\\gone_view");
         stg_delete_area(area);
         // A view of before drives takes one, and a logon entry.
         EXPECT_EQ(view_add_mapping("started_view", "", 1), 0);
         std::vector<view_logon_entry_s> entries;
         ASSERT_EQ(view_get_logon_entries(&entries), 0);
         ASSERT_EQ(entries.size(), 1u);
         EXPECT_EQ(entries[0].tag, "started_view");
         // The old lock is an ordinary one that lets no one through.
         const stg_area_t locks = stg_create_area(256);
         vob_lock_info_s lock;
         ASSERT_EQ(vob_obj_get_lock(old, 2, locks, &lock), 0);
         EXPECT_STREQ(lock.user, "old");
         EXPECT_STREQ(lock.comment, "frozen");
         EXPECT_EQ(lock.obsolete, 0);
         EXPECT_EQ(lock.excluded_count, 0u);
         stg_delete_area(locks);
       }},
      {9, [] {}},  // an index: no data of its own
      {10,
       [] {
         // No VOB was registered for logon before there was a table for them.
         std::vector<std::string> tags{"stale"};
         EXPECT_EQ(ntregy_get_persistent_vobs(&tags), 0);
         EXPECT_TRUE(tags.empty());
       }},
      {11, [] {}},  // a new table: no data of its own
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("schema " + std::to_string(row.version));
    const fs::path file = dir / ("schema" + std::to_string(row.version) + ".db");
    rv_test::MakeOldStore(file, row.version);
    std::string error;
    auto store = Store::OpenFile(file, &error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->SchemaVersion(), Store::LatestSchemaVersion());
    UseStore(std::move(store));
    // Every row holds what its own version and each earlier one wrote.
    for (const Row& earlier : rows)
      if (earlier.version <= row.version) earlier.holds();
    vob_handle_t made = 0;
    EXPECT_EQ(vob_create("\\new", "after the migration", &made), 0) << "the latest tables take new data";
    UseStore(nullptr);
  }
}

TEST_F(StoreTest, ACommandThatFailsOrThrowsChangesNothing) {
  auto store = Store::OpenMemory();
  ASSERT_TRUE(store);
  auto insert = [](Store& s, const char* event) {
    Statement add(s, "INSERT INTO usage (event, is_text, number, text) VALUES (?1, 0, 0, '')");
    add.Bind(1, event).Run();
  };
  EXPECT_EQ(store->Command([&](Store& s) {
    insert(s, "half");
    return TBS_ST_NOT_FOUND;  // failed halfway
  }),
            TBS_ST_NOT_FOUND);
  Errors errors;
  EXPECT_EQ(store->Command([&](Store& s) -> int {
    insert(s, "thrown");
    throw std::runtime_error("the disk went away");
  }),
            TBS_ST_FAILURE);
  EXPECT_NE(errors.Text().find("the disk went away"), std::string::npos);
  EXPECT_EQ(store->Command([&](Store& s) -> int {
    insert(s, "bad sql");
    s.Exec("INSERT INTO no_such_table VALUES (1)");
    return 0;
  }),
            TBS_ST_FAILURE);
  EXPECT_EQ(Count(*store, "usage"), 0);
  // A failing command inside another is undone alone.
  EXPECT_EQ(store->Command([&](Store& s) {
    insert(s, "outer");
    EXPECT_EQ(s.Command([&](Store& inner) {
      insert(inner, "inner");
      return TBS_ST_FAILURE;
    }),
              TBS_ST_FAILURE);
    return 0;
  }),
            0);
  EXPECT_EQ(Count(*store, "usage"), 1);
}

// Stores in memory are each their own, whether open at once or one after
// another: none sees another's rows.
TEST_F(StoreTest, EachStoreInMemoryIsItsOwn) {
  auto first = Store::OpenMemory();
  auto second = Store::OpenMemory();
  ASSERT_TRUE(first && second);
  const char* insert = "INSERT INTO usage (event, is_text, number, text) VALUES ('first', 0, 0, '')";
  ASSERT_EQ(first->Command([&](Store& s) {
    Statement(s, insert).Run();
    return 0;
  }),
            0);
  EXPECT_EQ(Count(*first, "usage"), 1);
  EXPECT_EQ(Count(*second, "usage"), 0);
  first.reset();
  auto third = Store::OpenMemory();
  ASSERT_TRUE(third);
  EXPECT_EQ(Count(*third, "usage"), 0);
}

// Statements are kept for reuse by their text: a use never sees another's
// rows, bindings or failure, nor a table as it was before it changed.
TEST_F(StoreTest, AStatementUsedAgainStartsAfresh) {
  auto store = Store::OpenMemory();
  ASSERT_TRUE(store);
  Store& s = *store;
  const char* insert = "INSERT INTO usage (id, event, is_text, number, text) VALUES (?1, ?2, 0, 0, '')";
  for (int id = 1; id <= 3; ++id) Statement(s, insert).Bind(1, id).Bind(2, "e" + std::to_string(id)).Run();
  Errors errors;
  EXPECT_THROW(Statement(s, insert).Bind(1, 1).Bind(2, "again").Run(), StoreError);  // the id is taken
  Statement(s, insert).Bind(1, 4).Bind(2, "e4").Run();

  // The same text while it runs: each use walks all the rows.
  const char* events = "SELECT event FROM usage ORDER BY id";
  std::string seen;
  Statement outer(s, events);
  while (outer.Step()) {
    seen += outer.Text(0) + ":";
    Statement inner(s, events);
    while (inner.Step()) seen += inner.Text(0);
    seen += " ";
  }
  EXPECT_EQ(seen, "e1:e1e2e3e4 e2:e1e2e3e4 e3:e1e2e3e4 e4:e1e2e3e4 ");

  const char* count = "SELECT count(*) FROM usage WHERE event = ?1";
  {
    Statement bound(s, count);
    bound.Bind(1, "e2").Step();
    EXPECT_EQ(bound.Int(0), 1);
  }
  Statement unbound(s, count);  // the earlier use's value is gone: NULL matches nothing
  unbound.Step();
  EXPECT_EQ(unbound.Int(0), 0);
  unbound.Step();  // done: the table may change

  s.Exec("CREATE TABLE t (x)");
  s.Exec("INSERT INTO t VALUES (1)");
  const char* rows = "SELECT count(*), sum(x) FROM t";
  {
    Statement first(s, rows);
    first.Step();
    EXPECT_EQ(first.Int(1), 1);
  }
  s.Exec("DROP TABLE t");
  s.Exec("CREATE TABLE t (y, x)");
  s.Exec("INSERT INTO t VALUES (0, 5), (0, 6)");
  Statement second(s, rows);
  second.Step();
  EXPECT_EQ(second.Int(0), 2);
  EXPECT_EQ(second.Int(1), 11);
}

TEST_F(StoreTest, AFileLockedByAnotherProcessIsReportedAfterTheTimeOut) {
  std::string error;
  auto store = Store::OpenFile(dir / "store.db", &error);
  ASSERT_TRUE(store) << error;
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "store.db").string().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  auto blocked = Store::OpenFile(dir / "store.db", &error, 50);
  EXPECT_FALSE(blocked);
  EXPECT_NE(error.find("is locked by another process"), std::string::npos) << error;
  sqlite3_busy_timeout(store->Handle(), 50);
  Errors errors;
  EXPECT_EQ(store->Command([](Store& s) {
    s.Exec("INSERT INTO params (number, value) VALUES (1, 'x')");
    return 0;
  }),
            TBS_ST_FAILURE);
  EXPECT_NE(errors.Text().find("locked by another process"), std::string::npos) << errors.Text();
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(Count(*store, "params"), 0);
}

TEST_F(StoreTest, FilesThatAreNotOursAreRefusedAndLeftAsTheyAre) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* error;
  };
  const Case cases[] = {
      {"text.db", [](const fs::path& p) { std::ofstream(p) << "just some text, long enough to be a header of sorts\n"; },
       "is not an rvdlg store"},
      {"foreign.db",
       [](const fs::path& p) {
         sqlite3* db = nullptr;
         sqlite3_open(p.string().c_str(), &db);
         sqlite3_exec(db, "CREATE TABLE mine (x INTEGER)", nullptr, nullptr, nullptr);
         sqlite3_close(db);
       },
       "is not an rvdlg store"},
      {"newer.db",
       [](const fs::path& p) {
         std::string error;
         auto store = Store::OpenFile(p, &error);
         store->Exec("UPDATE rv_meta SET value = '999' WHERE key = 'schema_version'");
       },
       "was made by a newer rvdlg (schema 999)"},
      {"garbled.db",
       [](const fs::path& p) {
         std::string error;
         auto store = Store::OpenFile(p, &error);
         store->Exec("UPDATE rv_meta SET value = 'seven' WHERE key = 'schema_version'");
       },
       "has a schema version that is no number"},
  };
  for (const auto& c : cases) {
    const fs::path path = dir / c.name;
    c.make(path);
    const std::string before = ReadFile(path);
    std::string error;
    EXPECT_FALSE(Store::OpenFile(path, &error)) << c.name;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(ReadFile(path), before) << c.name << " was changed";
  }
  std::string error;
  EXPECT_FALSE(Store::OpenFile(dir / "no" / "such" / "folder" / "store.db", &error));
  EXPECT_NE(error.find("cannot open the store"), std::string::npos) << error;
}

TEST_F(StoreTest, ParametersAreCopiedOnlyWhenTheyFit) {
  UseStore(Store::OpenMemory());
  char buffer[8];
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(ntregy_get_param(20, buffer, sizeof buffer), TBS_ST_NOT_FOUND);
  ASSERT_EQ(ntregy_set_param(20, "C:\\a much longer value"), 0);
  EXPECT_EQ(ntregy_get_param(20, buffer, sizeof buffer), TBS_ST_FAILURE);
  EXPECT_EQ(buffer[0], 'z') << "nothing copied when it does not fit";
  EXPECT_EQ(ntregy_get_param(20, nullptr, 8), TBS_ST_INVALID_ARG);
  EXPECT_EQ(ntregy_set_param(20, "C:\\v"), 0);
  EXPECT_EQ(ntregy_get_param(20, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "C:\\v");
  EXPECT_EQ(ntregy_get_common_key()[0], '\\');
}

}  // namespace
}  // namespace client_local
