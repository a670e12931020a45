#pragma once
// A scratch home and an in-memory store with a small repository and the
// view "v1" of it: the VOB \public with \src\hello.c (\main\1 "hello 1",
// labelled REL1, \main\2 "hello 2", and \main\dev\1 "hello dev"), \src\util.c
// (\main\1 "util 1") and \doc\README.txt (\main\1 "read me").
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "cmd_utl.h"
#include "local/calllog.h"
#include "local/store.h"
#include "platform/pathmap.h"
#include "rgy.h"
#include "view.h"
#include "vob.h"

namespace view_test {

class ViewFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    client_local::CallLog::ClearFailures();
    previous_home_ = plat::Home();
    home = std::filesystem::temp_directory_path() /
           ("rv-views-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    plat::SetHome(home);
    previous_store_ = client_local::UseStore(client_local::Store::OpenMemory());
    ASSERT_EQ(rgy_add_region("test", "test region"), 0);
    ASSERT_EQ(rgy_set_default_region("test"), 0);
    ASSERT_EQ(vob_create("\\public", "test VOB", &vob), 0);
    ASSERT_EQ(vob_mkelem(vob, "\\src", 1, "", &src), 0);
    ASSERT_EQ(vob_mkelem(vob, "\\doc", 1, "", &doc), 0);
    ASSERT_EQ(vob_mkelem(vob, "\\src\\hello.c", 0, "", &hello), 0);
    ASSERT_EQ(vob_mkelem(vob, "\\src\\util.c", 0, "", &util), 0);
    ASSERT_EQ(vob_mkelem(vob, "\\doc\\README.txt", 0, "", &readme), 0);
    Version(hello, "\\public\\src\\hello.c", "hello 1\n", &hello1);
    Version(hello, "\\public\\src\\hello.c", "hello 2\n", &hello2);
    Version(util, "\\public\\src\\util.c", "util 1\n", nullptr);
    Version(readme, "\\public\\doc\\README.txt", "read me\n", nullptr);
    ASSERT_EQ(vob_mktype(vob, VOB_MTYPE_LBTYPE, "REL1", "", nullptr), 0);
    ASSERT_EQ(vob_ver_add_label(vob, hello1, "REL1"), 0);
    ASSERT_EQ(vob_mktype(vob, VOB_MTYPE_BRTYPE, "dev", "", nullptr), 0);
    ASSERT_EQ(vob_mkbranch(vob, hello1, "dev", "", &dev), 0);
    Version(dev, "\\public\\src\\hello.c", "hello dev\n", nullptr);
    ASSERT_EQ(view_create("v1", 0, "test view"), 0);
  }

  void TearDown() override {
    client_local::CallLog::ClearFailures();
    client_local::UseStore(std::move(previous_store_));
    plat::SetHome(previous_home_);
    std::error_code error;
    std::filesystem::remove_all(home, error);
  }

  // Checks in a version with the text through a builder view.
  void Version(vob_dbid_t dbid, const char* path, const char* text, vob_dbid_t* made) {
    vob_dbid_t out = 0;
    ASSERT_EQ(cmd_utl_checkout(vob, dbid, "builder", 1, "", &out), 0);
    ASSERT_EQ(vob_ver_set_contents(vob, out, text), 0);
    ASSERT_EQ(vob_utl_checkin(vob, path, "builder", "", made), 0);
  }

  std::filesystem::path File(const std::string& relative) const { return home / "views" / "v1" / relative; }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  }
  static bool Writable(const std::filesystem::path& path) {
    return (std::filesystem::status(path).permissions() & std::filesystem::perms::owner_write) !=
           std::filesystem::perms::none;
  }
  static int State(const std::string& name) {
    int state = -1;
    EXPECT_EQ(view_file_state(name.c_str(), &state), 0) << name;
    return state;
  }
  // The text of a version's contents.
  std::string Contents(vob_dbid_t version) {
    const stg_area_t area = stg_create_area(4096);
    const char* text = nullptr;
    EXPECT_EQ(vob_ver_get_contents(vob, version, area, &text), 0);
    std::string result = text ? text : "";
    stg_delete_area(area);
    return result;
  }

  std::filesystem::path home;
  vob_handle_t vob = 0;
  vob_dbid_t src = 0, doc = 0, hello = 0, util = 0, readme = 0, hello1 = 0, hello2 = 0, dev = 0;

 private:
  std::filesystem::path previous_home_;
  std::unique_ptr<client_local::Store> previous_store_;
};

}  // namespace view_test
