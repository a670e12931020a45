// Storage areas: counting, allocation, reset, deletion, bad areas, threads.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "local/calllog.h"
#include "stg.h"
#include "tbs.h"

namespace {

using client_local::CallLog;
using client_local::CallLogScope;
using client_local::Failure;

TEST(StgArea, LiveAreasAreCountedUntilDeleted) {
  const int before = stg_live_area_count();
  stg_area_t a = stg_create_area(1012);
  stg_area_t b = stg_create_area(0);
  ASSERT_NE(a, STG_NULL_AREA);
  ASSERT_NE(b, STG_NULL_AREA);
  EXPECT_NE(a, b);
  EXPECT_EQ(stg_live_area_count(), before + 2);
  EXPECT_EQ(stg_free_area(a, 0), 0);  // a reset is no deletion
  EXPECT_EQ(stg_live_area_count(), before + 2);
  EXPECT_EQ(stg_delete_area(a), 0);
  EXPECT_EQ(stg_live_area_count(), before + 1);
  EXPECT_EQ(stg_delete_area(a), TBS_ST_INVALID_ARG);  // twice: refused, count unchanged
  EXPECT_EQ(stg_live_area_count(), before + 1);
  EXPECT_EQ(stg_delete_area(b), 0);
  EXPECT_EQ(stg_live_area_count(), before);
}

TEST(StgArea, AllocationsAreAlignedDistinctAndKeepTheirContents) {
  stg_area_t area = stg_create_area(64);
  std::vector<std::pair<unsigned char*, std::size_t>> pieces;
  // Small pieces, one of zero bytes, and some larger than a block.
  for (std::size_t size : {1u, 0u, 7u, 16u, 63u, 64u, 65u, 500u, 3u, 4096u, 1u}) {
    auto* piece = static_cast<unsigned char*>(stg_alloc(area, size));
    ASSERT_NE(piece, nullptr) << size;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(piece) % alignof(std::max_align_t), 0u) << size;
    std::memset(piece, static_cast<int>(pieces.size() + 1), size);
    pieces.emplace_back(piece, size);
  }
  std::set<unsigned char*> distinct;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    distinct.insert(pieces[i].first);
    for (std::size_t j = 0; j < pieces[i].second; ++j)
      ASSERT_EQ(pieces[i].first[j], static_cast<unsigned char>(i + 1)) << "piece " << i << " overwritten";
  }
  EXPECT_EQ(distinct.size(), pieces.size());
  EXPECT_EQ(stg_delete_area(area), 0);
}

TEST(StgArea, StrdupCopiesIntoTheArea) {
  stg_area_t area = stg_create_area(0);
  std::string text = "view:main@\\vobs";
  char* copy = stg_strdup(area, text.c_str());
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, text.c_str());
  text[0] = 'X';
  EXPECT_STREQ(copy, "view:main@\\vobs");
  char* empty = stg_strdup(area, "");
  ASSERT_NE(empty, nullptr);
  EXPECT_STREQ(empty, "");
  EXPECT_EQ(stg_strdup(area, nullptr), nullptr);
  EXPECT_EQ(stg_delete_area(area), 0);
}

TEST(StgArea, FreeEmptiesTheAreaWhichStaysUsable) {
  for (int keep : {0, 1}) {
    stg_area_t area = stg_create_area(256);
    for (int i = 0; i < 20; ++i) ASSERT_NE(stg_strdup(area, "some text that fills blocks"), nullptr);
    ASSERT_GT(stg_area_used(area), 0);
    EXPECT_EQ(stg_free_area(area, keep), 0);
    EXPECT_EQ(stg_area_used(area), 0) << keep;
    char* again = stg_strdup(area, "again");
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again, "again");
    EXPECT_GT(stg_area_used(area), 0);
    EXPECT_EQ(stg_delete_area(area), 0);
  }
}

TEST(StgArea, UnknownAreasAreRefusedAndChangeNothing) {
  stg_area_t deleted = stg_create_area(0);
  ASSERT_EQ(stg_delete_area(deleted), 0);
  const int before = stg_live_area_count();
  for (stg_area_t bad : {STG_NULL_AREA, deleted, stg_area_t(0xFFFFFFF0u)}) {
    EXPECT_EQ(stg_alloc(bad, 8), nullptr) << bad;
    EXPECT_EQ(stg_strdup(bad, "x"), nullptr) << bad;
    EXPECT_EQ(stg_free_area(bad, 0), TBS_ST_INVALID_ARG) << bad;
    EXPECT_EQ(stg_delete_area(bad), TBS_ST_INVALID_ARG) << bad;
    EXPECT_EQ(stg_area_used(bad), -1) << bad;
  }
  EXPECT_EQ(stg_live_area_count(), before);
  // A new area never takes a deleted one's number.
  stg_area_t fresh = stg_create_area(0);
  EXPECT_NE(fresh, deleted);
  EXPECT_EQ(stg_delete_area(fresh), 0);
}

TEST(StgArea, AnImpossibleRequestIsRefused) {
  stg_area_t area = stg_create_area(0);
  EXPECT_EQ(stg_alloc(area, SIZE_MAX), nullptr);
  EXPECT_EQ(stg_alloc(area, SIZE_MAX - 8), nullptr);
  EXPECT_EQ(stg_area_used(area), 0);
  EXPECT_EQ(stg_create_area(SIZE_MAX), STG_NULL_AREA);
  EXPECT_EQ(stg_delete_area(area), 0);
}

TEST(StgArea, AnInjectedFailureYieldsNoAreaAndCountsNone) {
  CallLogScope scope;
  const int before = stg_live_area_count();
  ASSERT_TRUE(CallLog::InjectFailure("stg_create_area", Failure{TBS_ST_NO_MEMORY, {}, 1}));
  EXPECT_EQ(stg_create_area(1012), STG_NULL_AREA);
  EXPECT_EQ(stg_live_area_count(), before);
  stg_area_t area = stg_create_area(1012);  // the failure was for one call
  EXPECT_NE(area, STG_NULL_AREA);
  EXPECT_EQ(stg_delete_area(area), 0);
  auto calls = CallLog::Calls("stg_create_area");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].status, TBS_ST_NO_MEMORY);
  EXPECT_TRUE(calls[0].injected);
  EXPECT_EQ(calls[1].status, 0);
}

TEST(StgArea, ThreadsCreateFillAndDeleteAreasAtOnce) {
  const int before = stg_live_area_count();
  stg_area_t shared = stg_create_area(128);
  std::vector<std::thread> threads;
  std::vector<std::vector<char*>> copies(6);
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        stg_area_t own = stg_create_area(64);
        std::string text = "t" + std::to_string(t) + "-" + std::to_string(i);
        EXPECT_STREQ(stg_strdup(own, text.c_str()), text.c_str());
        copies[static_cast<std::size_t>(t)].push_back(stg_strdup(shared, text.c_str()));
        EXPECT_EQ(stg_delete_area(own), 0);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 6; ++t)
    for (int i = 0; i < 200; ++i)
      ASSERT_EQ(std::string(copies[static_cast<std::size_t>(t)][static_cast<std::size_t>(i)]), "t" + std::to_string(t) + "-" + std::to_string(i));
  EXPECT_EQ(stg_live_area_count(), before + 1);
  EXPECT_EQ(stg_delete_area(shared), 0);
  EXPECT_EQ(stg_live_area_count(), before);
}

}  // namespace
