// Status texts.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>

#include "tbs.h"

namespace {

TEST(TbsStrerror, EveryKnownCodeHasItsOwnShortText) {
  const int codes[] = {TBS_ST_OK,         TBS_ST_ERR,        TBS_ST_FAILURE,   TBS_ST_NOT_FOUND,
                       TBS_ST_INVALID_ARG, TBS_ST_INTERRUPTED, TBS_ST_PERMISSION, TBS_ST_NOT_FS_OBJECT,
                       TBS_ST_NO_MEMORY,  TBS_ST_NO_ACCESS,  TBS_ST_ALREADY,   TBS_ST_WRONG_KIND,
                       TBS_ST_PNAME_CONVERSION};
  std::set<std::string> texts;
  for (int code : codes) {
    std::string text = tbs_strerror(code);
    EXPECT_FALSE(text.empty()) << code;
    EXPECT_EQ(text.find("Unknown"), std::string::npos) << code;
    EXPECT_LT(text.size(), 60u) << code;
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), std::size(codes)) << "two codes share a text";
}

TEST(TbsStrerror, UnknownCodesNameTheirNumber) {
  EXPECT_STREQ(tbs_strerror(4242), "Unknown error 4242");
  EXPECT_STREQ(tbs_strerror(-7), "Unknown error -7");
  EXPECT_STREQ(tbs_strerror(1004), "Unknown error 1004");
}

TEST(TbsStrerror, UnknownTextsOfTwoThreadsDoNotMix) {
  std::string seen_by_other;
  const char* mine = tbs_strerror(5000);
  std::thread other([&] { seen_by_other = tbs_strerror(6000); });
  other.join();
  EXPECT_STREQ(mine, "Unknown error 5000");
  EXPECT_EQ(seen_by_other, "Unknown error 6000");
}

}  // namespace
