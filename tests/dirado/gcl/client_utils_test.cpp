// The client utilities the foundation calls: character lengths, searches by
// character, case conversion, pathnames, buffers that are too small.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "date_fmt.h"
#include "fileutl.h"
#include "platform/pathmap.h"
#include "strutl.h"
#include "sysutl.h"
#include "tbs.h"

namespace {

namespace fs = std::filesystem;

TEST(ClientStrutl, CharacterLengths) {
  struct Case {
    const char* text;
    int length;
  };
  const Case cases[] = {
      {"a", 1},          {"", 0},           {"\xC3\xA9", 2},     {"\xE2\x82\xAC", 3}, {"\xF0\x9F\x98\x80", 4},
      {"\xC3", 1},       {"\xE2\x82", 1},   {"\x80", 1},         {"\xC0\x80", 1},     {"\xF5\x80\x80\x80", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(strutl_mblen(c.text), c.length) << c.text;
  EXPECT_EQ(strutl_mblen(nullptr), 0);
}

TEST(ClientStrutl, FindLastCharStepsByCharacters) {
  const char text[] = "a\\b\xC3\\c";  // 0xC3 followed by '\' is no character: both count
  EXPECT_EQ(strutl_find_last_char(text, '\\'), text + 4);
  const char word[] = "x\xC3\xA9y";
  EXPECT_EQ(strutl_find_last_char(word, 0xA9), nullptr);
  EXPECT_EQ(strutl_find_last_char(word, 'x'), word);
  EXPECT_EQ(strutl_find_last_char(nullptr, 'x'), nullptr);
  EXPECT_EQ(strutl_find_last_char(word, 0), nullptr);
}

TEST(ClientStrutl, CaseConversionTouchesOnlyAsciiLetters) {
  char text[] = "MiXeD \xC3\x89t\xC3\xA9 1";
  EXPECT_STREQ(strutl_cvt_case_string(text, 0), "mixed \xC3\x89t\xC3\xA9 1");
  EXPECT_STREQ(strutl_cvt_case_string(text, 1), "MIXED \xC3\x89T\xC3\xA9 1");
  EXPECT_EQ(strutl_cvt_case_string(nullptr, 1), nullptr);
}

TEST(ClientFileutl, RelativeNamesStartFromTheCurrentDirectory) {
  const fs::path home = fs::temp_directory_path() / ("gcl-fileutl-" + std::to_string(getpid()));
  fs::create_directories(home / "drives" / "c" / "work");
  ASSERT_TRUE(plat::SetHome(home));
  const fs::path before = fs::current_path();
  fs::current_path(home / "drives" / "c" / "work");
  char out[256];
  EXPECT_EQ(fileutl_abspn("sub\\file.c", out, sizeof out), 0);
  EXPECT_STREQ(out, "C:\\work\\sub\\file.c");
  EXPECT_EQ(fileutl_abspn("\\top", out, sizeof out), 0);
  EXPECT_STREQ(out, "C:\\top");
  EXPECT_EQ(fileutl_abspn("..\\..\\x", out, sizeof out), TBS_ST_PNAME_CONVERSION);
  EXPECT_STREQ(out, "");
  char small[4];
  EXPECT_EQ(fileutl_abspn("file", small, sizeof small), TBS_ST_INVALID_ARG);
  EXPECT_STREQ(small, "");
  fs::current_path("/");
  EXPECT_EQ(fileutl_abspn("file", out, sizeof out), TBS_ST_PNAME_CONVERSION);  // no library name here
  fs::current_path(before);
  fs::remove_all(home);
  EXPECT_EQ(fileutl_abspn(nullptr, out, sizeof out), TBS_ST_INVALID_ARG);
  EXPECT_EQ(fileutl_strip_leaf("C:\\a\\b", nullptr, 0), TBS_ST_INVALID_ARG);
}

TEST(ClientUtilities, ResultsThatDoNotFitAreRefused) {
  char out[3] = "zz";
  const tbs_time2_t time{1700000000, 0};
  EXPECT_EQ(date_fmt_token_date(&time, out, sizeof out), TBS_ST_INVALID_ARG);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(date_fmt_token_date(nullptr, out, sizeof out), TBS_ST_INVALID_ARG);
  EXPECT_EQ(sysutl_user_to_usid("root", out, sizeof out), TBS_ST_INVALID_ARG);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(sysutl_user_to_usid(nullptr, out, sizeof out), TBS_ST_INVALID_ARG);
  EXPECT_EQ(fileutl_strip_leaf("C:\\abc\\d", out, sizeof out), TBS_ST_INVALID_ARG);
  EXPECT_EQ(date_str_to_time2(nullptr, nullptr), TBS_ST_INVALID_ARG);
}

}  // namespace
