// The mapping between library pathnames and host paths.
#include <gtest/gtest.h>

#include <thread>

#include "platform/pathmap.h"

namespace plat {
namespace {

namespace fs = std::filesystem;

class PathMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetHome("/home/h"));
    for (char letter : AssignedDrives()) UnassignDrive(letter);
  }
};

struct ToHostCase {
  const char* name;
  std::optional<const char*> host;  // nullopt: no mapping
};

TEST_F(PathMapTest, MapsLibraryNamesToHostPaths) {
  ASSERT_EQ(AssignDrive('z', "\\\\view\\zview"), AssignStatus::kOk);
  ASSERT_EQ(AssignDrive('Y', "//VIEW/yview/src/./lib/"), AssignStatus::kOk);
  const ToHostCase cases[] = {
      // View roots ("view" in any case, the tag as written).
      {"\\\\view\\TAG\\dir\\file.c", "/home/h/views/TAG/dir/file.c"},
      {"\\\\VIEW\\TAG", "/home/h/views/TAG"},
      {"\\\\View\\TAG\\", "/home/h/views/TAG"},
      {"//view/TAG/a/b", "/home/h/views/TAG/a/b"},
      {"\\\\view\\TAG\\a/b\\c", "/home/h/views/TAG/a/b/c"},
      // The all-views drive.
      {"M:\\TAG\\dir\\file.c", "/home/h/views/TAG/dir/file.c"},
      {"m:\\", "/home/h/views"},
      {"M:", "/home/h/views"},
      {"M:\\A\\..\\B\\x", "/home/h/views/B/x"},
      // Other drives.
      {"C:\\", "/home/h/drives/c"},
      {"c:", "/home/h/drives/c"},
      {"D:\\Program Files\\x.exe", "/home/h/drives/d/Program Files/x.exe"},
      {"C:\\a\\\\b\\.\\c\\", "/home/h/drives/c/a/b/c"},
      {"C:\\a\\..\\b", "/home/h/drives/c/b"},
      // Assigned drives.
      {"Z:\\src\\main.c", "/home/h/views/zview/src/main.c"},
      {"z:", "/home/h/views/zview"},
      {"Y:\\x.h", "/home/h/views/yview/src/lib/x.h"},
      // Version extensions are left out.
      {"\\\\view\\T\\f.c@@\\main\\3", "/home/h/views/T/f.c"},
      {"C:\\f.c@@", "/home/h/drives/c/f.c"},
      // Blanks, quotes and UTF-8 map unchanged.
      {"C:\\my \"quoted\" dir\\gr\xC3\xBC\xC3\x9F.txt",
       "/home/h/drives/c/my \"quoted\" dir/gr\xC3\xBC\xC3\x9F.txt"},
      // Names that do not map.
      {"", std::nullopt},
      {"relative\\file", std::nullopt},
      {"\\rooted\\without\\drive", std::nullopt},
      {"C:relative", std::nullopt},
      {"1:\\x", std::nullopt},
      {"\\\\server\\share\\x", std::nullopt},
      {"\\\\view", std::nullopt},
      {"\\\\view\\", std::nullopt},
      {"\\\\view\\\\x", std::nullopt},
      {"\\\\view\\..\\x", std::nullopt},
      {"\\\\view\\T\\..\\U", std::nullopt},
      {"\\\\view\\T\\a\\..\\..", std::nullopt},
      {"C:\\..", std::nullopt},
      {"C:\\a\\..\\..\\x", std::nullopt},
      {"M:\\..\\drives\\c", std::nullopt},
      {"Z:\\..\\other", std::nullopt},
      {"Y:\\..\\..\\x", std::nullopt},
      {"@@\\main\\1", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto host = ToHostPath(c.name);
    if (!c.host) {
      EXPECT_EQ(host, std::nullopt);
    } else {
      ASSERT_TRUE(host.has_value());
      EXPECT_EQ(host->string(), *c.host);
    }
  }
  EXPECT_EQ(ToHostPath(std::string_view("C:\\a\0b", 6)), std::nullopt);
}

TEST_F(PathMapTest, AllViewsDriveAndViewRootNameTheSameFile) {
  EXPECT_EQ(ToHostPath("M:\\TAG\\src\\a.c"), ToHostPath("\\\\view\\TAG\\src\\a.c"));
}

// The one reader of names through a view: every form, and names that are
// not through one.
struct ViewNameCase {
  const char* name;
  std::optional<const char*> tag;  // nullopt: not through a view
  const char* in_view = "";        // path + extension below the view root
};

TEST_F(PathMapTest, ReadsEveryFormOfNameThroughAView) {
  ASSERT_EQ(AssignDrive('X', "\\\\view\\xview"), AssignStatus::kOk);
  ASSERT_EQ(AssignDrive('y', "//view/yview/vob/src/"), AssignStatus::kOk);
  const ViewNameCase cases[] = {
      {"\\\\view\\TAG\\vob\\f.c", "TAG", "\\vob\\f.c"},
      {"\\\\VIEW\\Tag\\Vob\\F.c", "Tag", "\\Vob\\F.c"},
      {"//view/TAG/vob/f.c", "TAG", "\\vob\\f.c"},
      {"\\\\view\\TAG", "TAG", ""},
      {"\\\\view\\TAG\\\\", "TAG", ""},
      {"\\\\view\\TAG\\vob\\\\src\\.\\f.c\\", "TAG", "\\vob\\src\\f.c"},
      {"\\\\view\\TAG\\vob\\src\\..\\f.c", "TAG", "\\vob\\f.c"},
      {"\\\\view\\TAG\\vob\\f.c@@\\main\\1", "TAG", "\\vob\\f.c@@\\main\\1"},
      {"\\\\view\\TAG\\vob\\f.c@@/main/../x", "TAG", "\\vob\\f.c@@/main/../x"},
      {"\\\\view\\my view\\v\\gr\xC3\xBC\xC3\x9F \"q\".c", "my view", "\\v\\gr\xC3\xBC\xC3\x9F \"q\".c"},
      {"M:\\TAG\\vob\\f.c", "TAG", "\\vob\\f.c"},
      {"m:/TAG/", "TAG", ""},
      {"M:\\A\\..\\B\\f.c", "B", "\\f.c"},
      {"X:\\vob\\f.c", "xview", "\\vob\\f.c"},
      {"x:", "xview", ""},
      {"Y:\\f.c@@\\main\\2", "yview", "\\vob\\src\\f.c@@\\main\\2"},
      // Not through a view.
      {"\\\\server\\share\\f.c", std::nullopt},
      {"\\\\view", std::nullopt},
      {"\\\\view\\", std::nullopt},
      {"\\\\view\\..\\T", std::nullopt},
      {"\\\\view\\T\\..\\..\\U", std::nullopt},
      {"\\\\viewer\\T\\f", std::nullopt},
      {"M:\\", std::nullopt},
      {"M:", std::nullopt},
      {"M:\\..\\T", std::nullopt},
      {"C:\\vob\\f.c", std::nullopt},
      {"X:\\..\\elsewhere", std::nullopt},
      {"X:vob", std::nullopt},
      {"\\vob\\f.c", std::nullopt},
      {"", std::nullopt},
      {"@@\\main", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto view = ReadViewName(c.name);
    if (!c.tag) {
      EXPECT_EQ(view, std::nullopt);
      continue;
    }
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->tag, *c.tag);
    EXPECT_EQ(view->InView(), c.in_view);
    // The normalised text reads back as the same name and maps to the same file.
    const auto again = ReadViewName(view->Text());
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->InView(), view->InView());
    EXPECT_EQ(ToHostPath(view->Text()), ToHostPath(c.name));
  }
  EXPECT_EQ(ReadViewName(std::string_view("\\\\view\\T\\a\0b", 12)), std::nullopt);
}

struct FromHostCase {
  const char* host;
  std::optional<const char*> name;
};

TEST_F(PathMapTest, MapsHostPathsBack) {
  const FromHostCase cases[] = {
      {"/home/h/views/TAG/dir/file.c", "\\\\view\\TAG\\dir\\file.c"},
      {"/home/h/views/TAG", "\\\\view\\TAG"},
      {"/home/h/views/TAG/", "\\\\view\\TAG"},
      {"/home/h/views", "M:\\"},
      {"/home/h/drives/c", "C:\\"},
      {"/home/h/drives/d/Program Files/x.exe", "D:\\Program Files\\x.exe"},
      {"/home/h/drives/c/a/../b", "C:\\b"},
      {"/home/h/drives/c/\xC3\xA9 \"q\"", "C:\\\xC3\xA9 \"q\""},
      {"/home/h", std::nullopt},
      {"/home/h/other/x", std::nullopt},
      {"/home/hx/views/T", std::nullopt},
      {"/home/h/drives", std::nullopt},
      {"/home/h/drives/cc/x", std::nullopt},
      {"/home/h/drives/C/x", std::nullopt},
      {"/home/h/drives/m/x", std::nullopt},  // M: is the views drive
      {"/home/h/drives/c/a\\b", std::nullopt},
      {"/home/h/drives/c/f.c@@x", std::nullopt},
      {"/elsewhere", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host);
    auto name = FromHostPath(c.host);
    if (!c.name) {
      EXPECT_EQ(name, std::nullopt);
    } else {
      EXPECT_EQ(name, std::string(*c.name));
    }
  }
}

TEST_F(PathMapTest, RoundTripsEveryMappableName) {
  const char* names[] = {
      "\\\\view\\TAG\\dir\\file.c", "\\\\view\\TAG", "C:\\", "Q:\\a b\\c\"d\\\xE2\x82\xAC",
      "M:\\",
  };
  for (const char* name : names) {
    auto host = ToHostPath(name);
    ASSERT_TRUE(host) << name;
    EXPECT_EQ(FromHostPath(*host), std::string(name));
  }
}

TEST_F(PathMapTest, RelativeHostPathsAreTakenFromTheCurrentDirectory) {
  ASSERT_TRUE(SetHome("h"));  // a relative home is made absolute too
  EXPECT_EQ(Home(), fs::current_path() / "h");
  EXPECT_EQ(FromHostPath("h/views/T/x"), std::string("\\\\view\\T\\x"));
  EXPECT_EQ(ToHostPath("\\\\view\\T\\x"), fs::current_path() / "h/views/T/x");
}

TEST_F(PathMapTest, SetHomeRefusesAnEmptyPath) {
  EXPECT_FALSE(SetHome(""));
  EXPECT_EQ(Home(), fs::path("/home/h"));
  ASSERT_TRUE(SetHome("/other/home/"));
  EXPECT_EQ(Home(), fs::path("/other/home"));
  EXPECT_EQ(ToHostPath("C:\\x"), fs::path("/other/home/drives/c/x"));
}

TEST_F(PathMapTest, MapsVeryLongNames) {
  std::string component(5000, 'x');
  std::string name = "C:";
  fs::path expected = "/home/h/drives/c";
  for (int i = 0; i < 20; ++i) {
    name += "\\" + component;
    expected /= component;
  }
  EXPECT_EQ(ToHostPath(name), expected);
  EXPECT_EQ(FromHostPath(expected), name);
}

TEST_F(PathMapTest, AssignsAndUnassignsDrives) {
  EXPECT_EQ(AssignDrive('z', "\\\\VIEW\\tag\\sub\\"), AssignStatus::kOk);
  EXPECT_EQ(DriveAssignment('Z'), std::string("\\\\view\\tag\\sub"));
  EXPECT_EQ(AssignDrive('D', "\\\\view\\other"), AssignStatus::kOk);
  EXPECT_EQ(AssignedDrives(), (std::vector<char>{'D', 'Z'}));
  // A new assignment replaces the old one.
  EXPECT_EQ(AssignDrive('Z', "\\\\view\\tag2"), AssignStatus::kOk);
  EXPECT_EQ(ToHostPath("Z:\\f"), fs::path("/home/h/views/tag2/f"));

  EXPECT_TRUE(UnassignDrive('z'));
  EXPECT_FALSE(UnassignDrive('Z'));
  EXPECT_EQ(DriveAssignment('Z'), std::nullopt);
  EXPECT_EQ(ToHostPath("Z:\\f"), fs::path("/home/h/drives/z/f"));
  EXPECT_EQ(AssignedDrives(), std::vector<char>{'D'});
}

struct AssignCase {
  char letter;
  const char* target;
  AssignStatus status;
};

TEST_F(PathMapTest, RefusesBadAssignmentsAndKeepsTheOldOne) {
  ASSERT_EQ(AssignDrive('X', "\\\\view\\keep"), AssignStatus::kOk);
  const AssignCase cases[] = {
      {'1', "\\\\view\\t", AssignStatus::kBadLetter},
      {'\0', "\\\\view\\t", AssignStatus::kBadLetter},
      {'M', "\\\\view\\t", AssignStatus::kViewsDrive},
      {'m', "\\\\view\\t", AssignStatus::kViewsDrive},
      {'X', "C:\\dir", AssignStatus::kBadTarget},
      {'X', "\\\\server\\share", AssignStatus::kBadTarget},
      {'X', "\\\\view\\", AssignStatus::kBadTarget},
      {'X', "\\\\view\\t\\..\\..", AssignStatus::kBadTarget},
      {'X', "\\\\view\\t@@\\main", AssignStatus::kBadTarget},
      {'X', "", AssignStatus::kBadTarget},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(AssignDrive(c.letter, c.target), c.status);
    EXPECT_EQ(DriveAssignment('X'), std::string("\\\\view\\keep"));
  }
  EXPECT_EQ(AssignedDrives(), std::vector<char>{'X'});
}

TEST_F(PathMapTest, SplitsVersionExtensions) {
  struct Case {
    const char* name;
    const char* path;
    const char* extension;
  };
  const Case cases[] = {
      {"f.c@@\\main\\3", "f.c", "@@\\main\\3"},
      {"f.c", "f.c", ""},
      {"f.c@@", "f.c", "@@"},
      {"a@@b@@c", "a", "@@b@@c"},
      {"", "", ""},
      {"single@at", "single@at", ""},
  };
  for (const auto& c : cases) {
    VersionedName split = SplitVersionExtension(c.name);
    EXPECT_EQ(split.path, c.path);
    EXPECT_EQ(split.extension, c.extension);
  }
}

TEST_F(PathMapTest, AssignmentsAndLookupsFromManyThreads) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      char letter = static_cast<char>('P' + t);
      std::string view = "\\\\view\\v" + std::to_string(t);
      for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(AssignDrive(letter, view), AssignStatus::kOk);
        auto host = ToHostPath(std::string(1, letter) + ":\\f");
        ASSERT_TRUE(host);
        EXPECT_EQ(*host, fs::path("/home/h/views/v" + std::to_string(t) + "/f"));
        EXPECT_TRUE(UnassignDrive(letter));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_TRUE(AssignedDrives().empty());
}

}  // namespace
}  // namespace plat
