// The registry: keys and values in memory, and hive files on disk.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/registry.h"

namespace plat {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

constexpr Hive kUser = Hive::CurrentUser;
constexpr Hive kMachine = Hive::LocalMachine;
constexpr const char* kOptions = "Software\\Norvane\\Strata\\Options";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { Registry::UseMemory(); }
  void TearDown() override { Registry::UseMemory(); }
};

RegKey MustCreate(Hive hive, std::string_view path) {
  auto key = RegKey::Create(hive, path);
  EXPECT_TRUE(key) << key.message();
  return key ? std::move(*key) : RegKey();
}

TEST_F(RegistryTest, StoresAndReadsTypedValues) {
  RegKey key = MustCreate(kUser, kOptions);
  ASSERT_TRUE(key.SetDword("Count", 0xA1B2C3D4));
  ASSERT_TRUE(key.SetString("Name", "strata"));
  ASSERT_TRUE(key.SetBinary("Blob", {0, 1, 255}));
  ASSERT_TRUE(key.SetString("", "default"));

  EXPECT_EQ(key.QueryDword("count"), 0xA1B2C3D4u);
  EXPECT_EQ(key.QueryValue("Count"), (RegValue{kRegDword, {0xD4, 0xC3, 0xB2, 0xA1}}));
  EXPECT_EQ(key.QueryValue("Name"), (RegValue{kRegString, {'s', 't', 'r', 'a', 't', 'a', 0}}));
  EXPECT_EQ(key.QueryString("NAME"), "strata");
  EXPECT_EQ(key.QueryValue("Blob"), (RegValue{kRegBinary, {0, 1, 255}}));
  EXPECT_EQ(key.QueryString(""), "default");
  EXPECT_EQ(key.QueryValue("Absent"), std::nullopt);

  // Overwriting keeps one value, now of the new type.
  ASSERT_TRUE(key.SetString("Count", "text"));
  EXPECT_EQ(key.QueryDword("Count"), std::nullopt);
  EXPECT_EQ(key.QueryString("Count"), "text");
}

struct TypedCase {
  const char* what;
  RegValue value;
  std::optional<std::uint32_t> dword;
  std::optional<std::string> text;
};

TEST_F(RegistryTest, TypedQueriesCheckTypeAndSize) {
  const TypedCase cases[] = {
      {"dword", {kRegDword, {1, 0, 0, 0}}, 1u, std::nullopt},
      {"binary of 4 bytes", {kRegBinary, {1, 0, 0, 0}}, std::nullopt, std::nullopt},
      {"terminated string", {kRegString, {'a', 'b', 0}}, std::nullopt, "ab"},
      {"unterminated string", {kRegString, {'a', 'b'}}, std::nullopt, "ab"},
      {"string with inner NUL", {kRegString, {'a', 0, 'b', 0}}, std::nullopt, "a"},
      {"empty string bytes", {kRegString, {}}, std::nullopt, ""},
      {"binary text", {kRegBinary, {'a', 0}}, std::nullopt, std::nullopt},
      {"other type", {7, {1, 0, 0, 0}}, std::nullopt, std::nullopt},
  };
  RegKey key = MustCreate(kUser, "Types");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(key.SetValue("v", c.value));
    EXPECT_EQ(key.QueryValue("v"), c.value);
    EXPECT_EQ(key.QueryDword("v"), c.dword);
    EXPECT_EQ(key.QueryString("v"), c.text);
  }
}

TEST_F(RegistryTest, RefusesDwordsOfTheWrongSize) {
  RegKey key = MustCreate(kUser, "Types");
  ASSERT_TRUE(key.SetDword("v", 5));
  for (Bytes bytes : {Bytes{}, Bytes{1, 2, 3}, Bytes{1, 2, 3, 4, 5}}) {
    RegStatus s = key.SetValue("v", RegValue{kRegDword, bytes});
    EXPECT_EQ(s.status, RegistryStatus::kInvalidArgument);
    EXPECT_EQ(key.QueryDword("v"), 5u);
  }
}

TEST_F(RegistryTest, KeysMatchWithoutCaseAndKeepTheirFirstSpelling) {
  MustCreate(kUser, "Software\\Norvane\\Strata");
  MustCreate(kUser, "SOFTWARE\\norvane\\Beta");
  MustCreate(kUser, "software\\NORVANE\\alpha");
  auto opened = RegKey::Open(kUser, "software\\norvane");
  ASSERT_TRUE(opened);
  EXPECT_EQ(opened->EnumSubkeys(), (std::vector<std::string>{"alpha", "Beta", "Strata"}));
  auto root = RegKey::Open(kUser, "");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->EnumSubkeys(), std::vector<std::string>{"Software"});
}

TEST_F(RegistryTest, EnumeratesValuesInTheOrderFirstSet) {
  RegKey key = MustCreate(kUser, "K");
  ASSERT_TRUE(key.SetDword("b", 1));
  ASSERT_TRUE(key.SetDword("A", 2));
  ASSERT_TRUE(key.SetDword("c", 3));
  ASSERT_TRUE(key.SetDword("B", 4));  // same value as "b": keeps its place and name
  EXPECT_EQ(key.EnumValues(), (std::vector<std::string>{"b", "A", "c"}));
  EXPECT_EQ(key.QueryDword("b"), 4u);
}

TEST_F(RegistryTest, OpenSubkeyAndCreateSubkeyWorkRelativeToAKey) {
  RegKey parent = MustCreate(kUser, "Software");
  auto child = parent.CreateSubkey("Norvane\\Strata");
  ASSERT_TRUE(child);
  EXPECT_EQ(child->Path(), "Software\\Norvane\\Strata");
  EXPECT_TRUE(RegKey::Open(kUser, "Software\\Norvane\\Strata"));
  EXPECT_TRUE(parent.OpenSubkey("norvane"));
  EXPECT_EQ(parent.OpenSubkey("Missing").status(), RegistryStatus::kNotFound);
}

TEST_F(RegistryTest, MissingKeysAreNotFound) {
  auto key = RegKey::Open(kUser, kOptions);
  ASSERT_FALSE(key);
  EXPECT_EQ(key.status(), RegistryStatus::kNotFound);
  EXPECT_THAT(key.message(), HasSubstr(kOptions));
}

TEST_F(RegistryTest, MalformedPathsAreRefusedAndCreateNothing) {
  const std::string paths[] = {"\\Software", "Software\\", "Software\\\\X", "\\",
                               std::string("Soft\0ware", 9)};
  for (const auto& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_EQ(RegKey::Create(kUser, path).status(), RegistryStatus::kInvalidArgument);
    EXPECT_EQ(RegKey::Open(kUser, path).status(), RegistryStatus::kInvalidArgument);
    EXPECT_EQ(DeleteKey(kUser, path).status, RegistryStatus::kInvalidArgument);
  }
  EXPECT_TRUE(RegKey::Open(kUser, "")->EnumSubkeys().empty());
  EXPECT_EQ(RegKey::Create(static_cast<Hive>(7), "X").status(), RegistryStatus::kInvalidArgument);
}

TEST_F(RegistryTest, DeleteKeyRefusesKeysWithSubkeys) {
  MustCreate(kUser, "A\\B\\C").SetDword("v", 1);
  RegStatus s = DeleteKey(kUser, "A\\B");
  EXPECT_EQ(s.status, RegistryStatus::kHasSubkeys);
  EXPECT_TRUE(RegKey::Open(kUser, "A\\B\\C"));

  EXPECT_TRUE(DeleteKey(kUser, "a\\b\\c"));
  EXPECT_EQ(RegKey::Open(kUser, "A\\B\\C").status(), RegistryStatus::kNotFound);
  EXPECT_TRUE(RegKey::Open(kUser, "A\\B"));
  EXPECT_EQ(DeleteKey(kUser, "A\\B\\C").status, RegistryStatus::kNotFound);
  EXPECT_EQ(DeleteKey(kUser, "").status, RegistryStatus::kInvalidArgument);
}

TEST_F(RegistryTest, DeleteKeyTreeRemovesEverythingBelow) {
  MustCreate(kUser, "A\\B\\C").SetDword("v", 1);
  MustCreate(kUser, "A\\D");
  MustCreate(kUser, "Keep");
  EXPECT_TRUE(DeleteKeyTree(kUser, "A"));
  EXPECT_EQ(RegKey::Open(kUser, "")->EnumSubkeys(), std::vector<std::string>{"Keep"});
  EXPECT_EQ(DeleteKeyTree(kUser, "A").status, RegistryStatus::kNotFound);
}

TEST_F(RegistryTest, DeleteValue) {
  RegKey key = MustCreate(kUser, "K");
  ASSERT_TRUE(key.SetDword("", 1));
  ASSERT_TRUE(key.SetDword("x", 2));
  EXPECT_TRUE(key.DeleteValue(""));
  EXPECT_EQ(key.QueryValue(""), std::nullopt);
  EXPECT_EQ(key.QueryDword("x"), 2u);
  EXPECT_EQ(key.DeleteValue("").status, RegistryStatus::kNotFound);
}

TEST_F(RegistryTest, AKeyDeletedWhileOpenFindsNothing) {
  RegKey key = MustCreate(kUser, "Gone");
  ASSERT_TRUE(key.SetDword("v", 1));
  ASSERT_TRUE(DeleteKey(kUser, "Gone"));
  EXPECT_EQ(key.QueryValue("v"), std::nullopt);
  EXPECT_EQ(key.SetDword("v", 2).status, RegistryStatus::kNotFound);
  EXPECT_EQ(RegKey::Open(kUser, "Gone").status(), RegistryStatus::kNotFound);  // not recreated
}

TEST_F(RegistryTest, AMovedFromKeyIsClosed) {
  RegKey key = MustCreate(kUser, "K");
  RegKey moved = std::move(key);
  EXPECT_FALSE(key.IsOpen());  // NOLINT(bugprone-use-after-move): checking the moved-from state
  EXPECT_EQ(key.SetDword("v", 1).status, RegistryStatus::kInvalidArgument);
  EXPECT_EQ(key.QueryValue("v"), std::nullopt);
  EXPECT_TRUE(moved.IsOpen());
  EXPECT_TRUE(moved.SetDword("v", 1));
  RegKey assigned;
  assigned = std::move(moved);
  EXPECT_EQ(assigned.QueryDword("v"), 1u);
  EXPECT_FALSE(moved.IsOpen());  // NOLINT(bugprone-use-after-move)
}

TEST_F(RegistryTest, HivesAreSeparate) {
  MustCreate(kUser, "K").SetDword("v", 1);
  EXPECT_EQ(RegKey::Open(kMachine, "K").status(), RegistryStatus::kNotFound);
  MustCreate(kMachine, "K").SetDword("v", 2);
  EXPECT_EQ(RegKey::Open(kUser, "K")->QueryDword("v"), 1u);
  EXPECT_EQ(RegKey::Open(kMachine, "K")->QueryDword("v"), 2u);
}

TEST_F(RegistryTest, ThreadsReadAndWriteAtOnce) {
  constexpr int kThreads = 4, kEach = 100;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      std::string path = "Shared\\T" + std::to_string(t);
      for (int i = 0; i < kEach; ++i) {
        auto key = RegKey::Create(kUser, path);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->SetDword("n" + std::to_string(i), static_cast<std::uint32_t>(i)));
        EXPECT_EQ(key->QueryDword("n" + std::to_string(i)), static_cast<std::uint32_t>(i));
        RegKey::Open(kUser, "Shared")->EnumSubkeys();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  auto shared = RegKey::Open(kUser, "Shared");
  ASSERT_TRUE(shared);
  ASSERT_EQ(shared->EnumSubkeys().size(), size_t{kThreads});
  for (const auto& name : shared->EnumSubkeys())
    EXPECT_EQ(shared->OpenSubkey(name)->EnumValues().size(), size_t{kEach});
}

// ---- hive files ------------------------------------------------------------------

class RegistryFileTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    std::string pattern = (fs::temp_directory_path() / "reg-test-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
  }
  void TearDown() override {
    RegistryTest::TearDown();
    fs::remove_all(dir_);
  }

  void WriteFile(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::string ReadFile(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> Files() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST_F(RegistryFileTest, MissingFilesAreEmptyHivesAndWritesCreateThem) {
  RegStatus s = Registry::UseDirectory(dir_ / "config");
  EXPECT_TRUE(s) << s.message;
  EXPECT_EQ(Registry::LoadError(), "");
  EXPECT_EQ(Registry::HiveFile(kUser), dir_ / "config" / "user.reg");
  EXPECT_TRUE(RegKey::Open(kUser, "")->EnumSubkeys().empty());
  ASSERT_TRUE(MustCreate(kUser, "K").SetDword("v", 1));
  EXPECT_TRUE(fs::exists(dir_ / "config" / "user.reg"));
  EXPECT_FALSE(fs::exists(dir_ / "config" / "machine.reg"));
}

TEST_F(RegistryFileTest, EveryChangeIsWrittenAtOnceWithNoTemporaryFilesLeft) {
  ASSERT_TRUE(Registry::UseDirectory(dir_));
  RegKey key = MustCreate(kUser, "Software\\Strata");
  ASSERT_TRUE(key.SetString("Name", "x"));
  ASSERT_TRUE(MustCreate(kMachine, "M").SetDword("d", 42));
  // The files are the documented text format.
  EXPECT_EQ(ReadFile("user.reg"),
            "rvreg 1\nkey \"Software\"\nkey \"Software\\\\Strata\"\nvalue \"Name\" str:\"x\"\n");
  EXPECT_EQ(ReadFile("machine.reg"), "rvreg 1\nkey \"M\"\nvalue \"d\" dword:0x0000002a\n");
  ASSERT_TRUE(key.DeleteValue("Name"));
  EXPECT_EQ(ReadFile("user.reg"), "rvreg 1\nkey \"Software\"\nkey \"Software\\\\Strata\"\n");
  ASSERT_TRUE(DeleteKeyTree(kUser, "Software"));
  EXPECT_EQ(ReadFile("user.reg"), "rvreg 1\n");
  EXPECT_EQ(Files(), (std::vector<std::string>{"machine.reg", "user.reg"}));
}

// Names and bytes that a line-based format could get wrong.
struct RoundTripValue {
  std::string name;
  RegValue value;
};

TEST_F(RegistryFileTest, RoundTripsAnyNamesAndBytes) {
  Bytes every_byte;
  for (int b = 0; b < 256; ++b) every_byte.push_back(static_cast<std::uint8_t>(b));
  auto text = [](std::string_view s) {
    Bytes bytes(s.begin(), s.end());
    bytes.push_back(0);
    return bytes;
  };
  const std::vector<RoundTripValue> values = {
      {"", {kRegString, text("default")}},
      {"with blanks  ", {kRegString, text("  padded  ")}},
      {"\"quoted\"", {kRegString, text("say \"hi\"")}},
      {"back\\slash\\", {kRegString, text("C:\\dir\\")}},
      {"new\nline\r\ttab", {kRegString, text("line1\nline2\r\n\t")}},
      {"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC", {kRegString, text("\xE6\x97\xA5\xE6\x9C\xAC")}},
      {"bad utf8 \xFF\xC3", {kRegString, text("\xC0\xAF \xED\xA0\x80 \x7F")}},
      {"# not a comment", {kRegDword, {1, 2, 3, 4}}},
      {"every byte", {kRegBinary, every_byte}},
      {"empty binary", {kRegBinary, {}}},
      {"string with NUL inside", {kRegString, {'a', 0, 'b', 0}}},
      {"unterminated string", {kRegString, {'a', 'b'}}},
      {"empty string bytes", {kRegString, {}}},
      {"odd type", {0xFFFFFFFFu, {9}}},
      {"type 0", {0, {}}},
  };
  const std::string key_path = "Key with blanks\\\"q\"\\\xC3\xA9t\xC3\xA9\\new\nline";
  ASSERT_TRUE(Registry::UseDirectory(dir_));
  RegKey key = MustCreate(kUser, key_path);
  for (const auto& v : values) ASSERT_TRUE(key.SetValue(v.name, v.value)) << v.name;
  MustCreate(kUser, "Empty\\Leaf");
  std::string written = ReadFile("user.reg");
  // Bytes that are not UTF-8 are escaped, so the file stays text.
  EXPECT_EQ(written.find_first_of("\xFF\xC0"), std::string::npos);
  EXPECT_NE(written.find("\xE2\x82\xAC"), std::string::npos);

  Registry::UseMemory();
  RegStatus s = Registry::UseDirectory(dir_);
  ASSERT_TRUE(s) << s.message;
  auto reopened = RegKey::Open(kUser, key_path);
  ASSERT_TRUE(reopened);
  std::vector<std::string> names;
  for (const auto& v : values) {
    SCOPED_TRACE(v.name);
    names.push_back(v.name);
    EXPECT_EQ(reopened->QueryValue(v.name), v.value);
  }
  EXPECT_EQ(reopened->EnumValues(), names);
  EXPECT_TRUE(RegKey::Open(kUser, "Empty\\Leaf"));
  // Writing it again gives the same file.
  ASSERT_TRUE(reopened->SetValue(values[0].name, values[0].value));
  EXPECT_EQ(ReadFile("user.reg"), written);
}

TEST_F(RegistryFileTest, ReadsHandWrittenFiles) {
  WriteFile("user.reg",
            "rvreg 1\r\n"
            "# settings\r\n"
            "\r\n"
            "key \"A\\\\B\"\r\n"
            "value \"D\" dword:0x0000ABCD\r\n"
            "value \"H\" hex:3:AbCd\r\n"
            "key \"\"\r\n"
            "value \"root\" str:\"\\x41\\t\"\r\n"
            "key \"a\"\r\n"
            "value \"late\" str:\"\"");
  RegStatus s = Registry::UseDirectory(dir_);
  ASSERT_TRUE(s) << s.message;
  auto b = RegKey::Open(kUser, "a\\b");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->QueryDword("d"), 0xABCDu);
  EXPECT_EQ(b->QueryValue("H"), (RegValue{kRegBinary, {0xAB, 0xCD}}));
  EXPECT_EQ(RegKey::Open(kUser, "")->QueryString("root"), "A\t");
  EXPECT_EQ(RegKey::Open(kUser, "A")->QueryString("late"), "");
}

struct CorruptCase {
  const char* what;
  std::string text;
  int line;
};

TEST_F(RegistryFileTest, CorruptHivesAreReportedAndNeverOverwritten) {
  const CorruptCase cases[] = {
      {"empty file", "", 1},
      {"wrong header", "rvreg 2\n", 1},
      {"unknown record", "rvreg 1\nkey \"A\"\nvalu \"x\" dword:0x00000001\n", 3},
      {"value before any key", "rvreg 1\nvalue \"x\" dword:0x00000001\n", 2},
      {"unterminated quote", "rvreg 1\nkey \"A\n", 2},
      {"unknown escape", "rvreg 1\nkey \"A\\q\"\n", 2},
      {"short \\x escape", "rvreg 1\nkey \"A\\x4\"\n", 2},
      {"raw control character", "rvreg 1\nkey \"A\tB\"\n", 2},
      {"malformed key path", "rvreg 1\nkey \"A\\\\\\\\B\"\n", 2},
      {"text after key", "rvreg 1\nkey \"A\" extra\n", 2},
      {"short dword", "rvreg 1\nkey \"A\"\nvalue \"x\" dword:0x001\n", 3},
      {"odd hex", "rvreg 1\nkey \"A\"\nvalue \"x\" hex:3:abc\n", 3},
      {"bad hex digit", "rvreg 1\nkey \"A\"\nvalue \"x\" hex:3:zz\n", 3},
      {"type too big", "rvreg 1\nkey \"A\"\nvalue \"x\" hex:4294967296:00\n", 3},
      {"unknown kind", "rvreg 1\nkey \"A\"\nvalue \"x\" qword:1\n", 3},
      {"text after value", "rvreg 1\nkey \"A\"\nvalue \"x\" str:\"a\" b\n", 3},
      {"value set twice", "rvreg 1\nkey \"A\"\nvalue \"x\" str:\"a\"\nvalue \"X\" str:\"b\"\n", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Registry::UseMemory();
    WriteFile("user.reg", c.text);
    WriteFile("machine.reg", "rvreg 1\nkey \"Fine\"\n");

    RegStatus s = Registry::UseDirectory(dir_);
    EXPECT_EQ(s.status, RegistryStatus::kCorruptHive);
    std::string where = (dir_ / "user.reg").string() + ":" + std::to_string(c.line) + ":";
    EXPECT_THAT(s.message, HasSubstr(where));
    EXPECT_THAT(Registry::LoadError(), HasSubstr(where));

    // Reads see an empty hive; writes fail and leave the file alone.
    EXPECT_TRUE(RegKey::Open(kUser, "")->EnumSubkeys().empty());
    EXPECT_EQ(RegKey::Open(kUser, "A").status(), RegistryStatus::kNotFound);
    EXPECT_EQ(RegKey::Create(kUser, "New").status(), RegistryStatus::kCorruptHive);
    EXPECT_EQ(RegKey::Open(kUser, "")->SetDword("x", 1).status, RegistryStatus::kCorruptHive);
    EXPECT_EQ(DeleteKeyTree(kUser, "A").status, RegistryStatus::kCorruptHive);
    EXPECT_EQ(ReadFile("user.reg"), c.text);

    // The other hive is unaffected.
    EXPECT_TRUE(RegKey::Open(kMachine, "Fine"));
    EXPECT_TRUE(MustCreate(kMachine, "More").IsOpen());
  }
  // Going back to memory clears the error.
  Registry::UseMemory();
  EXPECT_EQ(Registry::LoadError(), "");
  EXPECT_TRUE(RegKey::Create(kUser, "New"));
}

TEST_F(RegistryFileTest, UnreadableHiveIsAnIoErrorAndReadOnly) {
  fs::create_directory(dir_ / "user.reg");  // cannot be read as a file
  RegStatus s = Registry::UseDirectory(dir_);
  EXPECT_EQ(s.status, RegistryStatus::kIoError);
  EXPECT_THAT(s.message, HasSubstr((dir_ / "user.reg").string()));
  EXPECT_EQ(RegKey::Create(kUser, "K").status(), RegistryStatus::kCorruptHive);
  EXPECT_TRUE(fs::is_directory(dir_ / "user.reg"));
  EXPECT_TRUE(RegKey::Create(kMachine, "K"));
}

TEST_F(RegistryFileTest, AFailedWriteChangesNothing) {
  ASSERT_TRUE(Registry::UseDirectory(dir_ / "config"));
  RegKey key = MustCreate(kUser, "K");
  ASSERT_TRUE(key.SetDword("v", 1));
  // Replace the configuration directory by a file: no hive can be written.
  fs::remove_all(dir_ / "config");
  WriteFile("config", "not a directory");

  EXPECT_EQ(key.SetDword("v", 2).status, RegistryStatus::kIoError);
  EXPECT_EQ(key.SetDword("w", 3).status, RegistryStatus::kIoError);
  EXPECT_EQ(RegKey::Create(kUser, "K2").status(), RegistryStatus::kIoError);
  EXPECT_EQ(DeleteKey(kUser, "K").status, RegistryStatus::kIoError);
  EXPECT_EQ(key.QueryDword("v"), 1u);
  EXPECT_EQ(key.QueryValue("w"), std::nullopt);
  EXPECT_EQ(RegKey::Open(kUser, "K2").status(), RegistryStatus::kNotFound);
  EXPECT_TRUE(RegKey::Open(kUser, "K"));
}

TEST_F(RegistryFileTest, UseDirectoryRefusesBadPlacesAndKeepsTheCurrentHives) {
  MustCreate(kUser, "InMemory");
  WriteFile("plain-file", "x");
  EXPECT_EQ(Registry::UseDirectory("").status, RegistryStatus::kInvalidArgument);
  EXPECT_EQ(Registry::UseDirectory(dir_ / "plain-file").status, RegistryStatus::kIoError);
  EXPECT_TRUE(RegKey::Open(kUser, "InMemory"));
  EXPECT_EQ(Registry::HiveFile(kUser), fs::path());
}

TEST_F(RegistryFileTest, ThreadsWriteToFilesAtOnce) {
  ASSERT_TRUE(Registry::UseDirectory(dir_));
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([t] {
      Hive hive = t % 2 ? kUser : kMachine;
      for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(MustCreate(hive, "T" + std::to_string(t)).SetDword(std::to_string(i), static_cast<std::uint32_t>(i)));
    });
  }
  for (auto& thread : threads) thread.join();
  Registry::UseMemory();
  ASSERT_TRUE(Registry::UseDirectory(dir_));
  for (int t = 0; t < 3; ++t) {
    auto key = RegKey::Open(t % 2 ? kUser : kMachine, "T" + std::to_string(t));
    ASSERT_TRUE(key);
    EXPECT_EQ(key->EnumValues().size(), 20u);
  }
  EXPECT_EQ(Files(), (std::vector<std::string>{"machine.reg", "user.reg"}));
}

}  // namespace
}  // namespace plat
