// Identifier values, the object cache switch, hyperlink records with the
// cache, and the shared storage area of information records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "gcl_status.h"
#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "rvl_cache.h"
#include "rvl_hyperlink.h"
#include "rvl_ids.h"
#include "rvl_infostg.h"
#include "tbs.h"

namespace {

using rv_test::Failing;

using client_local::CallLog;
using client_local::CallLogScope;
using rv_test::RepositoryTest;

TEST(RvlIds, ParsingOidsAndUuids) {
  const struct {
    const char* text;
    bool valid;
  } cases[] = {
      {"0123abcd-4567-89ab-cdef-0123456789ab", true},
      {"0123ABCD.456789AB.CDEF.01:23:45:67:89:ab", true},
      {"", false},
      {"not an id", false},
      {"0123abcd-4567-89ab-cdef-0123456789a", false},
      {"0123abcd-4567-89ab-cdef-0123456789abc", false},
      {"0123abcg-4567-89ab-cdef-0123456789ab", false},
      {" 0123abcd-4567-89ab-cdef-0123456789ab", false},
      {"0123abcd.456789ab.cdef.01:23:45:67:89-ab", false},
      {"caf\xc3\xa9", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    GCL_Status status(7);
    const RVL_Oid oid = RVL_Oid::parse(status, c.text);
    const RVL_Uuid uuid = RVL_Uuid::parse(status, c.text);
    if (c.valid) {
      EXPECT_TRUE(status.ok());
      EXPECT_FALSE(oid.is_null());
      EXPECT_FALSE(uuid.is_null());
      EXPECT_EQ(RVL_Oid::parse(status, oid.to_string()), oid);
      EXPECT_EQ(RVL_Oid::parse(status, oid.to_dstring()), oid);
      EXPECT_EQ(RVL_Uuid::parse(status, uuid.to_string()), uuid);
      EXPECT_EQ(RVL_Uuid::parse(status, uuid.to_dstring()), uuid);
    } else {
      EXPECT_TRUE(oid.is_null());
      EXPECT_TRUE(uuid.is_null());
      GCL_Status oid_status;
      RVL_Oid::parse(oid_status, c.text);
      EXPECT_EQ(oid_status.code(), 1001u);
      EXPECT_EQ(oid_status.messages(), "String does not represent a valid object ID.");
      EXPECT_EQ(status.code(), 1001u);
      EXPECT_EQ(status.messages(), "String does not represent a valid UUID.");
    }
  }
}

TEST(RvlIds, OrderHashAndNewUuids) {
  GCL_Status status;
  const RVL_Oid low = RVL_Oid::parse(status, "00000000-0000-0000-0000-000000000001");
  const RVL_Oid high = RVL_Oid::parse(status, "ff000000-0000-0000-0000-000000000000");
  EXPECT_TRUE(low < high && low <= high && high > low && high >= low && low != high);
  EXPECT_TRUE(low <= low && low >= low);
  EXPECT_EQ(low.hash(), RVL_Oid(low.oid()).hash());
  EXPECT_NE(low.hash(), high.hash());
  const RVL_Uuid a = RVL_Uuid::generate(), b = RVL_Uuid::generate();
  EXPECT_FALSE(a.is_null());
  EXPECT_NE(a, b);
  EXPECT_TRUE(RVL_Uuid().is_null());
  EXPECT_EQ(a.to_string().length(), 40u);
  EXPECT_EQ(a.to_dstring().length(), 36u);
}

class CacheTest : public RepositoryTest {
 protected:
  void SetUp() override {
    RepositoryTest::SetUp();
    unsetenv("DIRADO_CACHE");
  }
  void TearDown() override {
    unsetenv("DIRADO_CACHE");
    RepositoryTest::TearDown();
  }
};

TEST_F(CacheTest, HandlesSwitchTheRepositoryCache) {
  CallLogScope log;
  const std::uint32_t generation = RVL_VobObjectCache::generation_number();
  {
    RVL_VobObjectCache first;
    EXPECT_TRUE(RVL_VobObjectCache::active());
    EXPECT_EQ(RVL_VobObjectCache::current_generation(), generation);
    EXPECT_EQ(vob_ob_all_cache_action(VOB_CACHE_QUERY), 1);
    {
      RVL_VobObjectCache second;
      RVL_VobObjectCache third(second);
      EXPECT_EQ(RVL_VobObjectCache::activation_count(), 3);
    }
    EXPECT_EQ(RVL_VobObjectCache::activation_count(), 1);
    EXPECT_EQ(vob_ob_all_cache_action(VOB_CACHE_QUERY), 1);
  }
  EXPECT_FALSE(RVL_VobObjectCache::active());
  EXPECT_EQ(RVL_VobObjectCache::current_generation(), 0u);
  EXPECT_EQ(RVL_VobObjectCache::generation_number(), generation + 1);
  EXPECT_EQ(vob_ob_all_cache_action(VOB_CACHE_QUERY), 0);
  std::vector<std::string> actions;
  for (const auto& call : CallLog::Calls("vob_ob_all_cache_action")) actions.push_back(call.args[0]);
  EXPECT_EQ(actions, (std::vector<std::string>{"1", "3", "3", "2", "3"}));
}

TEST_F(CacheTest, OffNeverCallsAndVerbosePrintsBannersOncePerSpan) {
  {
    setenv("DIRADO_CACHE", "off", 1);
    CallLogScope log;
    {
      RVL_VobObjectCache a, b;
      EXPECT_FALSE(RVL_VobObjectCache::active());
    }
    EXPECT_TRUE(CallLog::Calls("vob_ob_all_cache_action").empty());
  }
  setenv("DIRADO_CACHE", "verbose", 1);
  testing::internal::CaptureStdout();
  {
    RVL_VobObjectCache a;
    RVL_VobObjectCache b;
  }
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("======================= enabling vob object cache\n"), 0u) << out;
  EXPECT_EQ(out.find("enabling", 30), std::string::npos) << out;
  const std::size_t disabling = out.find("======================= disabling vob object cache\n");
  ASSERT_NE(disabling, std::string::npos);
  EXPECT_NE(out.find("======================= vob object cache stats:\n", disabling), std::string::npos);
  EXPECT_NE(out.find("object cache: enabled"), std::string::npos) << out;  // the statistics
}

TEST_F(CacheTest, AFailedEnableIsUndoneAndForgotten) {
  CallLogScope log;
  CallLog::InjectFailure("vob_ob_all_cache_action", [] {
    client_local::Failure failure;
    failure.status = TBS_ST_FAILURE;
    failure.times = 1;
    return failure;
  }());
  {
    RVL_VobObjectCache cache;
    EXPECT_FALSE(RVL_VobObjectCache::active());
    EXPECT_EQ(RVL_VobObjectCache::activation_count(), 0);
  }
  const auto calls = CallLog::Calls("vob_ob_all_cache_action");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].args[0], "2");
}

TEST_F(CacheTest, HyperlinkRecordsAreFetchedOnceWhileTheCacheIsActive) {
  GCL_Status status;
  const RVL_Hyperlink link(status, RVL_Vob(repo.vob), repo.merge);
  {
    CallLogScope log;
    EXPECT_EQ(link.type_name(status), "Merge");
    EXPECT_EQ(link.from_text(status), "");
    EXPECT_EQ(link.to_object(status).dbid(), repo.hello2);
    EXPECT_EQ(CallLog::Calls("vob_hlink_get_info").size(), 3u);  // inactive: each time
  }
  {
    RVL_VobObjectCache cache;
    CallLogScope log;
    EXPECT_EQ(link.type_name(status), "Merge");
    EXPECT_EQ(link.from_object(status).dbid(), repo.dev0);
    EXPECT_EQ(link.to_text(status), "");
    link.name(status);
    EXPECT_EQ(CallLog::Calls("vob_hlink_get_info").size(), 1u);
  }
  {
    // A new span is a new generation: the held record is stale.
    RVL_VobObjectCache cache;
    CallLogScope log;
    link.type_name(status);
    link.type_name(status);
    EXPECT_EQ(CallLog::Calls("vob_hlink_get_info").size(), 1u);
  }
  CallLogScope log;
  CallLog::InjectFailure("vob_hlink_get_info", Failing(TBS_ST_FAILURE));
  EXPECT_EQ(link.info(status), nullptr);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
}

TEST_F(CacheTest, CountersStayRightUnderConcurrentUse) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 200; ++i) {
        RVL_VobObjectCache cache;
        RVL_InfoStg<vob_event_info_s> record;
        EXPECT_GE(RVL_InfoStgUseCount(), 1);
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(RVL_VobObjectCache::activation_count(), 0);
  EXPECT_EQ(vob_ob_all_cache_action(VOB_CACHE_QUERY), 0);
  EXPECT_EQ(RVL_InfoStgUseCount(), 0);
}

TEST(RvlInfoStg, TheSharedAreaIsMadeOnceAndReusedAfterItsReset) {
  stg_area_t area = STG_NULL_AREA;
  {
    RVL_InfoStg<vob_lock_info_s> first;
    area = first.area();
  }
  ASSERT_NE(area, STG_NULL_AREA);
  const int live = stg_live_area_count();
  for (int cycle = 0; cycle < 20; ++cycle) {
    RVL_InfoStg<vob_event_info_s> record;
    EXPECT_EQ(record.area(), area);
    ASSERT_NE(stg_strdup(record.area(), "some text"), nullptr);
    RVL_InfoStg<vob_event_info_s> copy(record);
    EXPECT_EQ(RVL_InfoStgUseCount(), 2);
  }
  EXPECT_EQ(stg_live_area_count(), live);
  EXPECT_EQ(RVL_InfoStgUseCount(), 0);
  EXPECT_EQ(stg_area_used(area), 0);  // reset when the last record went
}

}  // namespace
