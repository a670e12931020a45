#pragma once
// The one repository builder of the tests, and the sample every repository
// suite starts from, made through the client's own calls in the store in
// force.
//
// The sample: the VOB \public with the directories \src and \doc;
// \src\hello.c with \main\1 "hello 1\n" (labelled REL1), \main\2
// "hello 2\n" and the branch \main\dev from \main\1 with \main\dev\1
// "hello dev\n"; \src\util.c \main\1 "util 1\n"; \doc\README.txt \main\1
// "read me\n"; a "Merge" hyperlink from \main\dev\0 to \main\2.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "local/calllog.h"
#include "local/store.h"
#include "support/scratch_home.h"
#include "view.h"
#include "vob.h"

namespace rv_test {

// Makes elements and versions of one VOB; every call must succeed (a refused
// call fails the test).
class RepositoryBuilder {
 public:
  explicit RepositoryBuilder(vob_handle_t vob) : vob_(vob) {}

  // A file or directory element at a path in the VOB ("\src\f.c").
  vob_dbid_t Element(const std::string& path, bool directory = false, const std::string& comment = "");
  // A new version with the text on the branch (or the element's main
  // branch), checked out ("edit") and in ("done") through a builder view.
  vob_dbid_t Version(vob_dbid_t element_or_branch, const std::string& path, const std::string& text);
  // A branch of the type (made on first use) sprouting from the version.
  vob_dbid_t Branch(vob_dbid_t version, const std::string& type);
  void Label(vob_dbid_t version, const std::string& type);

 private:
  vob_handle_t vob_;
};

struct SampleRepository {
  vob_handle_t vob = 0;
  vob_dbid_t src = 0, doc = 0, hello = 0, util = 0, readme = 0;
  vob_dbid_t main_branch = 0, hello0 = 0, hello1 = 0, hello2 = 0, dev = 0, dev0 = 0, dev1 = 0, merge = 0;

  void Build();
};

// A failure to inject: the status, and an error message when one is given.
client_local::Failure Failing(int status, const std::string& message = {});

// An in-memory store holding the sample; no call made to fail.
class RepositoryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static std::size_t CallCount(const std::string& name) { return client_local::CallLog::Calls(name).size(); }
  // The text of a version's contents.
  std::string Contents(vob_dbid_t version) const;

  SampleRepository repo;

 private:
  std::unique_ptr<client_local::Store> previous_;
};

// The sample in a scratch home with the default region "test" and the view
// "v1", whose directory is HOME/views/v1. The sample's names are members.
// The store is in memory, or in the file HOME/rvdlg.db with a busy time-out
// of 20 ms.
class ViewTest : public ::testing::Test, protected SampleRepository {
 protected:
  explicit ViewTest(bool store_in_file = false) : store_in_file_(store_in_file) {}
  void SetUp() override;
  void TearDown() override;

  std::filesystem::path File(const std::string& relative) const { return home / "views" / "v1" / relative; }
  static std::string Read(const std::filesystem::path& path) { return ReadFile(path); }
  static void Write(const std::filesystem::path& path, const std::string& text) { WriteFile(path, text); }
  static bool Writable(const std::filesystem::path& path) { return IsWritable(path); }
  // A view-private file of v1 with the text, its directories made as needed.
  void WritePrivate(const std::string& relative, const std::string& text = "new\n") const {
    std::filesystem::create_directories(File(relative).parent_path());
    Write(File(relative), text);
  }
  // A view's file state (view_file_state); -1 when it cannot be read.
  static int State(const std::string& name);
  // The name through v1 of a path below its root ("public/src/f.c").
  static std::string ViewName(const std::string& relative);
  // The view's check-out that the name selects (0: none, or no element).
  static vob_dbid_t CheckedOutAt(const std::string& name);
  std::string Contents(vob_dbid_t version) const;
  // Sets the view's config spec to the text (through a temporary file); the
  // repository's status.
  static int SetSpec(view_handle_t view, const std::string& text);
  // A new view with the config spec, its directory filled as the spec selects.
  static void MakeView(const std::string& tag, const std::string& spec);
  // A new version of the element with the text (the builder's).
  void Version(vob_dbid_t element_or_branch, const char* path, const char* text, vob_dbid_t* made);

  std::filesystem::path StoreFile() const { return home / "rvdlg.db"; }

  std::filesystem::path home;

 private:
  bool store_in_file_;
  std::unique_ptr<ScratchHome> scratch_;
  std::unique_ptr<client_local::Store> previous_;
};

// The merge sample beside it: \src\merge.c with \main\1 "a b c d e f g" (a
// letter a line), \main\dev\1 changing b to B and \main\2 changing g to G,
// checked out in v1 from \main\2.
class MergeTest : public ViewTest {
 protected:
  void SetUp() override;

  std::string Target() const { return Read(File("public/src/merge.c")); }
  // The version merged into this one (the first merge recorded), else 0.
  vob_dbid_t MergedInto(vob_dbid_t version) const;

  vob_dbid_t element = 0, main1 = 0, dev_branch = 0, dev1 = 0, main2 = 0, checked_out = 0;
};

// A second connection to a store file that holds a read lock while alive:
// the store's commits fail once their busy time-out passes.
class StoreReadLock {
 public:
  explicit StoreReadLock(const std::filesystem::path& file);
  ~StoreReadLock();
  StoreReadLock(const StoreReadLock&) = delete;
  StoreReadLock& operator=(const StoreReadLock&) = delete;

 private:
  struct sqlite3* db_ = nullptr;
};

}  // namespace rv_test
