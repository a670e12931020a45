// Storage areas, time values, users and groups, pathnames, internal checks,
// the trace facility and describe indentation.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "gcl_check.h"
#include "gcl_env.h"
#include "gcl_indent.h"
#include "gcl_osuser.h"
#include "gcl_pathname.h"
#include "gcl_status.h"
#include "gcl_stgarea.h"
#include "gcl_time.h"
#include "gcl_trace.h"
#include "local/calllog.h"
#include "platform/pathmap.h"
#include "stg.h"
#include "support/env_scope.h"
#include "tbs.h"

namespace {

namespace fs = std::filesystem;
using client_local::CallLog;
using client_local::CallLogScope;


fs::path TempDir(const char* name) {
  fs::path dir = fs::temp_directory_path() / (std::string(name) + "-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// --- Storage areas ----------------------------------------------------------

TEST(GclStgArea, TheLastHandleDeletesTheArea) {
  const int live = stg_live_area_count();
  GCL_Status status(77);
  {
    GCL_StgArea area = GCL_StgArea::create(status);
    ASSERT_TRUE(status.ok());
    ASSERT_FALSE(area.is_null());
    ASSERT_NE(stg_strdup(area.area(), "kept in the area"), nullptr);
    EXPECT_EQ(stg_live_area_count(), live + 1);
    GCL_StgArea copy(area);
    GCL_StgArea other = GCL_StgArea::create(status);
    EXPECT_TRUE(copy == area);
    EXPECT_FALSE(other == area);
    other = area;  // the other area goes now
    EXPECT_EQ(stg_live_area_count(), live + 1);
  }
  EXPECT_EQ(stg_live_area_count(), live);
  EXPECT_TRUE(GCL_StgArea() == GCL_StgArea());
  EXPECT_EQ(GCL_StgArea().area(), STG_NULL_AREA);
}

TEST(GclStgArea, AFailedCreationLeavesANullHandle) {
  CallLogScope log;
  ASSERT_TRUE(CallLog::InjectFailure("stg_create_area", {TBS_ST_NO_MEMORY, {}, 1}));
  GCL_Status status;
  const GCL_StgArea area = GCL_StgArea::create(status, 128);
  EXPECT_TRUE(area.is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NO_MEMORY));
  ASSERT_EQ(CallLog::Calls("stg_create_area").size(), 1u);
  EXPECT_EQ(CallLog::Calls("stg_create_area")[0].args[0], "128");
}

// --- Time values ------------------------------------------------------------

class GclTime : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    saved_ = tz ? tz : "";
    had_ = tz != nullptr;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (had_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  std::string saved_;
  bool had_ = false;
};

TEST_F(GclTime, Formats) {
  const GCL_Time time(1700000000);  // 2023-11-14 22:13:20 UTC
  EXPECT_EQ(time.long_date_time(), "Tuesday, 14 November 2023 22:13:20");
  EXPECT_EQ(time.short_date_time(), "14-Nov-23.22:13");
  EXPECT_EQ(time.short_date(), "14-Nov-23");
  EXPECT_EQ(time.short_time(), "22:13");
  EXPECT_EQ(time.ls_date_time(), "14-Nov-2023");  // not the current year
  EXPECT_EQ(time.token_date_time(), "14-Nov-2023.22:13:20");
  EXPECT_EQ(time.token_short_date_time(), "14-Nov-2023.22:13");
  EXPECT_EQ(time.token_date(), "14-Nov-2023");
  const GCL_Time now(static_cast<std::uint32_t>(std::time(nullptr)));
  EXPECT_EQ(now.ls_date_time().find("."), 6u);  // "dd-Mon.hh:mm" this year
}

TEST_F(GclTime, ZeroShowsAsEmptyText) {
  const GCL_Time zero;
  for (const GCL_String& text : {zero.long_date_time(), zero.short_date_time(), zero.short_date(),
                                 zero.short_time(), zero.ls_date_time(), zero.token_date_time(),
                                 zero.token_short_date_time(), zero.token_date()})
    EXPECT_EQ(text, "");
  EXPECT_NE(GCL_Time(0, 1).token_date(), "");  // only both words 0 are empty
}

TEST_F(GclTime, FromText) {
  struct Case {
    const char* text;
    std::uint32_t code;
    std::uint32_t seconds;
  };
  const Case cases[] = {
      {"14-Nov-2023.22:13:20", 0, 1700000000},
      {"14-nov-2023.22:13", 0, 1699999980},
      {"14-Nov-23", 0, 1699920000},
      {"2023-11-14T22:13:20", 0, 1700000000},
      {"2023-11-14", 0, 1699920000},
      {"31-Feb-2023", TBS_ST_INVALID_ARG, 0},
      {"14-Nov-2023.25:00", TBS_ST_INVALID_ARG, 0},
      {"14-Xyz-2023", TBS_ST_INVALID_ARG, 0},
      {"14-Nov-2023 trailing", TBS_ST_INVALID_ARG, 0},
      {"", TBS_ST_INVALID_ARG, 0},
      {"\xC3\xA9t\xC3\xA9", TBS_ST_INVALID_ARG, 0},
  };
  for (const Case& c : cases) {
    GCL_Status status(99);
    const GCL_Time time = GCL_Time::from_string(c.text, status);
    EXPECT_EQ(status.code(), c.code) << c.text;
    EXPECT_EQ(time.seconds(), c.seconds) << c.text;
  }
}

// --- Users and groups ------------------------------------------------------

TEST(GclOSUser, NamesAndIdentifiersOfAKnownAccount) {
  GCL_Status status;
  const GCL_OSUser root("root");
  EXPECT_EQ(root.sid(status), "S-1-22-1-0");
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(GCL_OSUser::from_sid("S-1-22-1-0", status), "root");
  EXPECT_EQ(root.primary_group_sid(status), "S-1-22-2-0");
  EXPECT_EQ(root.home_directory(status), "/root");
  root.full_name(status);
  EXPECT_TRUE(status.ok());
  const GCL_OSGroup group = GCL_OSGroup::from_sid("S-1-22-2-0", status);
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(group.sid(status), "S-1-22-2-0");
  EXPECT_FALSE(GCL_OSUser::current(status).is_null());
  EXPECT_TRUE(status.ok());
  EXPECT_FALSE(GCL_OSGroup::current(status).is_null());
  EXPECT_TRUE(status.ok());
}

TEST(GclOSUser, BadNamesAndIdentifiersAreRefused) {
  struct Case {
    GCL_String name;
    std::uint32_t code;
  };
  const Case cases[] = {
      {GCL_String("no-such-user-here"), TBS_ST_NOT_FOUND},
      {GCL_String(""), TBS_ST_INVALID_ARG},
      {GCL_String("ro\0ot", 5), TBS_ST_INVALID_ARG},
      {GCL_String('u', 5000), TBS_ST_NOT_FOUND},
  };
  for (const Case& c : cases) {
    GCL_Status status;
    EXPECT_EQ(GCL_OSUser(c.name).sid(status), "");
    EXPECT_EQ(status.code(), c.code) << c.name.length();
  }
  for (const char* sid : {"S-1-22-1-", "S-1-22-1-x", "S-1-22-2-0", "S-1-22-1-99999999999", "S-1-22-1--1"}) {
    GCL_Status status;
    EXPECT_EQ(GCL_OSUser::from_sid(sid, status), "");
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND)) << sid;
  }
}

TEST(GclOSUser, Lists) {
  GCL_OSUserList users;
  users.Append("alice");
  users.Append(GCL_OSUser("bob"));
  EXPECT_EQ(users.Location(GCL_OSUser("bob")), 1u);
  GCL_OSGroupList groups;
  groups.Append("staff");
  EXPECT_EQ(groups[0], "staff");
}

// --- Pathnames --------------------------------------------------------------

TEST(GclPathname, AbsoluteLeafAndSeparator) {
  struct Case {
    const char* name;
    bool absolute;
    const char* directory;
    std::uint32_t separator;
  };
  const Case cases[] = {
      {"C:\\dir\\file.c", true, "C:\\dir", 6},
      {"C:\\file", true, "C:\\", 2},
      {"\\\\view\\tag\\src", true, "\\\\view\\tag", 10},
      {"dir/file", false, "dir", 3},
      {"file", false, ".", GCL_String::npos},
      {"C:file", false, "C:", GCL_String::npos},
      {"", false, ".", GCL_String::npos},
      {"d\xC3\xA9j\xC3\xA0\\x", false, "d\xC3\xA9j\xC3\xA0", 6},
  };
  for (const Case& c : cases) {
    const GCL_Pathname name(c.name);
    EXPECT_EQ(name.is_absolute(), c.absolute) << c.name;
    EXPECT_EQ(name.strip_leaf(), c.directory) << c.name;
    EXPECT_EQ(name.last_separator(), c.separator) << c.name;
  }
}

TEST(GclPathname, MakeAbsolute) {
  GCL_Status status;
  GCL_Pathname name("C:\\a\\.\\b\\..\\c\\\\d");
  EXPECT_EQ(name.make_absolute(status), 0u);
  EXPECT_EQ(name, "C:\\a\\c\\d");
  GCL_Pathname outside("C:\\a\\..\\..");
  EXPECT_EQ(outside.make_absolute(status), static_cast<std::uint32_t>(TBS_ST_PNAME_CONVERSION));
  EXPECT_EQ(outside, "C:\\a\\..\\..");  // unchanged
  GCL_Pathname long_name(GCL_String("C:\\") + GCL_String('n', 5000));
  EXPECT_EQ(long_name.make_absolute(status), 0u);
  EXPECT_EQ(long_name.length(), 5003u);
}

TEST(GclPathname, LocateAlongASearchPath) {
  const fs::path home = TempDir("gcl-locate");
  ASSERT_TRUE(plat::SetHome(home));
  fs::create_directories(home / "drives" / "c" / "bin");
  std::ofstream(home / "drives" / "c" / "bin" / "tool.exe") << "x";
  GCL_Status status;
  EXPECT_EQ(GCL_Pathname::locate("tool.exe", "C:\\nothing;;C:\\bin", status), "C:\\bin\\tool.exe");
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(GCL_Pathname::locate("C:\\bin\\tool.exe", "", status), "C:\\bin\\tool.exe");
  EXPECT_EQ(GCL_Pathname::locate("missing.exe", "C:\\bin", status), "");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  EXPECT_EQ(GCL_Pathname::locate("", "C:\\bin", status), "");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
  fs::remove_all(home);
}

// --- Internal checks --------------------------------------------------------

TEST(GclCheck, LogsAndSetsTheGeneralFailure) {
  CallLogScope log;
  GCL_Status status;
  EXPECT_FALSE(GCL_CHECK(1 + 1 == 3, &status));
  EXPECT_EQ(status.code(), 1001u);
  auto calls = CallLog::Calls("tbs_log_int_error");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[0], "gcl");
  EXPECT_NE(calls[0].args[1].find("foundation_test.cpp:"), std::string::npos);
  EXPECT_EQ(calls[0].args[2], "1 + 1 == 3");
  EXPECT_TRUE(GCL_CHECK(true, &status));
  {
    EnvScope quiet("GCL_ASSERT_DONT_LOG", "1");
    EXPECT_FALSE(GCL_CHECK(false, nullptr));
  }
  EXPECT_EQ(CallLog::Calls("tbs_log_int_error").size(), 1u);
}

TEST(GclCheck, HardAssertionContinuesOnlyWhenAsked) {
  {
    EnvScope go_on("GCL_ASSERT_CONTINUE", "");
    GCL_Status status;
    GCL_AssertFailed(__FILE__, __LINE__, "went on", &status);
    EXPECT_EQ(status.code(), 1001u);
  }
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(GCL_ASSERT(sizeof(int) == 0), "");
}

// --- Trace ------------------------------------------------------------------

TEST(GclTrace, TraceSettingsSetLevels) {
  ASSERT_FALSE(GCL_Trace::alive());
  setenv("NORVANE_GCL_DEBUG", "3-5.2,700-900", 1);
  {
    GCL_Trace trace;
    for (int area = 0; area < GCL_Trace::area_count; ++area) {
      const int expected = (area >= 3 && area <= 5) ? 2 : area >= 700 ? 1 : 0;
      ASSERT_EQ(trace.level(area), expected) << area;
    }
    EXPECT_EQ(trace.level(-1), 0);
    EXPECT_EQ(trace.level(712), 0);
  }
  unsetenv("NORVANE_GCL_DEBUG");
  EXPECT_FALSE(GCL_Trace::alive());
  GCL_Trace trace;  // a fresh context reads the environment again
  EXPECT_EQ(trace.level(4), 0);
  struct Case {
    const char* settings;
    int area;
    int level;
  };
  const Case cases[] = {
      {"9-4", 4, 0}, {"9-4", 9, 0},  {"800", 711, 1}, {"12.7", 12, 7},   {"20 21;22", 21, 1},
      {"30-", 30, 0}, {"-31", 31, 0}, {"40..2", 40, 0}, {"50.3x51", 51, 1}, {"60-61.4", 61, 4},
  };
  for (const Case& c : cases) {
    GCL_Trace fresh;
    fresh.apply(c.settings);
    EXPECT_EQ(fresh.level(c.area), c.level) << c.settings;
    fresh.set_level(c.area, 0);
  }
}

TEST(GclTrace, ScopesAndLinesGoToTheTraceFile) {
  const fs::path dir = TempDir("gcl-trace");
  const fs::path file = dir / "trace.txt";
  setenv("NORVANE_GCL_DEBUG_FILE", file.c_str(), 1);
  setenv("NORVANE_GCL_DEBUG", "7.2", 1);
  {
    GCL_Trace trace;
    {
      GCL_TraceScope outer(7, 1, "RVL_Element", "describe");
      GCL_TraceScope skipped(7, 3, "RVL_Element", "hidden");
      EXPECT_FALSE(skipped.enabled());
      {
        GCL_TraceScope inner(7, 2, "RVL_Version", "fetch");
        trace.line("inside");
      }
    }
    EXPECT_EQ(trace.depth(), 0);
  }
  unsetenv("NORVANE_GCL_DEBUG_FILE");
  unsetenv("NORVANE_GCL_DEBUG");
  EXPECT_EQ(ReadFile(file),
            "....DEBUG: >>[   1] RVL_Element::describe\n"
            "....DEBUG: >>[   3] RVL_Version::fetch\n"
            "....DEBUG:   inside\n"
            "....DEBUG: <<[   3] RVL_Version::fetch\n"
            "....DEBUG: <<[   1] RVL_Element::describe\n");
  fs::remove_all(dir);
}

// --- Describe indentation ------------------------------------------------------

TEST(GclIndent, FormatsAreNeverPrintfFormats) {
  struct Case {
    const char* format;
    const char* expected;
  };
  const Case cases[] = {
      {"BEGIN %s", "BEGIN Title"},
      {"%d %s %n %s %%", "%d Title %n %s %%"},
      {"no title", "no title"},
      {"%", "%"},
      {"%s%s", "Title%s"},
  };
  for (const Case& c : cases) EXPECT_EQ(GCL_FormatIndentTitle(c.format, "Title"), c.expected) << c.format;
}

TEST(GclIndent, SectionsFrameAndIndent) {
  setenv("GCL_INDENT_STRING", "..", 1);
  setenv("GCL_INDENT_HEADER_FORMAT", "{%s %d}", 1);
  unsetenv("GCL_INDENT_FOOTER_FORMAT");
  GCL_RereadEnvironment();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  {
    GCL_IndentSection outer("element");
    EXPECT_EQ(GCL_IndentPrefix(), "..");
    {
      GCL_IndentSection inner("version");
      EXPECT_EQ(GCL_IndentPrefix(), "....");
      EXPECT_EQ(GCL_IndentDepth(), 2);
    }
  }
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(err, "{element %d}\n..{version %d}\n..END version\nEND element\n");
  EXPECT_EQ(out,
            "Got GCL_INDENT_STRING: ..\n"
            "Got GCL_INDENT_HEADER_FORMAT: {%s %d}\n"
            "Did not find GCL_INDENT_FOOTER_FORMAT environment variable\n");
  EXPECT_EQ(GCL_IndentPrefix(), "");
  unsetenv("GCL_INDENT_STRING");
  unsetenv("GCL_INDENT_HEADER_FORMAT");
  GCL_RereadEnvironment();
}

}  // namespace
