#include "support/repository.h"

#include <sqlite3.h>

#include "cmd_utl.h"
#include "fileutl_file.h"
#include "rgy.h"
#include "stg.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"

namespace rv_test {

namespace {

constexpr const char* kBuilderView = "builder";

std::string ContentsOf(vob_handle_t vob, vob_dbid_t version) {
  const stg_area_t area = stg_create_area(4096);
  const char* text = nullptr;
  EXPECT_EQ(vob_ver_get_contents(vob, version, area, &text), 0);
  std::string result = text ? text : "";
  stg_delete_area(area);
  return result;
}

}  // namespace

vob_dbid_t RepositoryBuilder::Element(const std::string& path, bool directory, const std::string& comment) {
  vob_dbid_t element = 0;
  EXPECT_EQ(vob_mkelem(vob_, path.c_str(), directory ? 1 : 0, comment.c_str(), &element), 0) << path;
  return element;
}

vob_dbid_t RepositoryBuilder::Version(vob_dbid_t element_or_branch, const std::string& path, const std::string& text) {
  vob_dbid_t out = 0, made = 0;
  EXPECT_EQ(cmd_utl_checkout(vob_, element_or_branch, kBuilderView, 1, "edit", &out), 0) << path;
  EXPECT_EQ(vob_ver_set_contents(vob_, out, text.c_str()), 0) << path;
  EXPECT_EQ(vob_utl_checkin(vob_, path.c_str(), kBuilderView, "done", &made), 0) << path;
  return made;
}

vob_dbid_t RepositoryBuilder::Branch(vob_dbid_t version, const std::string& type) {
  const int made_type = vob_mktype(vob_, VOB_MTYPE_BRTYPE, type.c_str(), "", nullptr);
  EXPECT_TRUE(made_type == 0 || made_type == TBS_ST_ALREADY) << type;
  vob_dbid_t branch = 0;
  EXPECT_EQ(vob_mkbranch(vob_, version, type.c_str(), "", &branch), 0) << type;
  return branch;
}

void RepositoryBuilder::Label(vob_dbid_t version, const std::string& type) {
  const int made_type = vob_mktype(vob_, VOB_MTYPE_LBTYPE, type.c_str(), "", nullptr);
  EXPECT_TRUE(made_type == 0 || made_type == TBS_ST_ALREADY) << type;
  EXPECT_EQ(vob_ver_add_label(vob_, version, type.c_str()), 0) << type;
}

void SampleRepository::Build() {
  ASSERT_EQ(vob_create("\\public", "sample VOB", &vob), 0);
  RepositoryBuilder build(vob);
  src = build.Element("\\src", true, "sources");
  doc = build.Element("\\doc", true);
  hello = build.Element("\\src\\hello.c", false, "greeting");
  util = build.Element("\\src\\util.c");
  readme = build.Element("\\doc\\README.txt");
  ASSERT_EQ(vob_resolve_ver(vob, "\\src\\hello.c@@\\main\\0", &hello0), 0);
  ASSERT_EQ(vob_ver_get_branch(vob, hello0, &main_branch), 0);
  hello1 = build.Version(hello, "\\public\\src\\hello.c", "hello 1\n");
  hello2 = build.Version(hello, "\\public\\src\\hello.c", "hello 2\n");
  build.Version(util, "\\public\\src\\util.c", "util 1\n");
  build.Version(readme, "\\public\\doc\\README.txt", "read me\n");
  build.Label(hello1, "REL1");
  dev = build.Branch(hello1, "dev");
  ASSERT_EQ(vob_branch_get_latest_ver(vob, dev, &dev0), 0);
  dev1 = build.Version(dev, "\\public\\src\\hello.c", "hello dev\n");
  ASSERT_EQ(vob_hlink_create(vob, "Merge", vob, dev0, vob, hello2, "", "", &merge), 0);
}

void RepositoryTest::SetUp() {
  client_local::CallLog::ClearFailures();
  previous_ = client_local::UseStore(client_local::Store::OpenMemory());
  repo.Build();
}

void RepositoryTest::TearDown() {
  client_local::CallLog::ClearFailures();
  client_local::UseStore(std::move(previous_));
}

client_local::Failure Failing(int status, const std::string& message) {
  client_local::Failure failure;
  failure.status = status;
  if (!message.empty()) failure.messages.push_back({6, message});
  return failure;
}

std::string RepositoryTest::Contents(vob_dbid_t version) const { return ContentsOf(repo.vob, version); }

void ViewTest::SetUp() {
  client_local::CallLog::ClearFailures();
  scratch_ = std::make_unique<ScratchHome>("rv-views");
  home = scratch_->Path();
  std::string error;
  auto store = store_in_file_ ? client_local::Store::OpenFile(StoreFile(), &error, 20)
                              : client_local::Store::OpenMemory();
  ASSERT_TRUE(store) << error;
  previous_ = client_local::UseStore(std::move(store));
  ASSERT_EQ(rgy_add_region("test", "test region"), 0);
  ASSERT_EQ(rgy_set_default_region("test"), 0);
  Build();
  ASSERT_EQ(view_create("v1", 0, "test view"), 0);
}

void ViewTest::TearDown() {
  client_local::CallLog::ClearFailures();
  client_local::UseStore(std::move(previous_));
  scratch_.reset();
}

int ViewTest::State(const std::string& name) {
  int state = -1;
  EXPECT_EQ(view_file_state(name.c_str(), &state), 0) << name;
  return state;
}

std::string ViewTest::ViewName(const std::string& relative) {
  std::string name = "\\\\view\\v1\\" + relative;
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

vob_dbid_t ViewTest::CheckedOutAt(const std::string& name) {
  char tag[300];
  vob_handle_t found = 0;
  vob_dbid_t version = 0;
  int out = 0;
  if (view_ws_lookup_pn(name.c_str(), tag, sizeof tag, &found, &version) != 0) return 0;
  return vob_ver_is_checked_out(found, version, &out) == 0 && out ? version : 0;
}

std::string ViewTest::Contents(vob_dbid_t version) const { return ContentsOf(vob, version); }

int ViewTest::SetSpec(view_handle_t view, const std::string& text) {
  char name[1100];
  std::FILE* file = fileutl_tmpfile_ext("cs", name, sizeof name);
  if (!file) return -1;
  std::fwrite(text.data(), 1, text.size(), file);
  if (fileutl_fclose(file) != 0) return -1;
  const int rc = view_set_spec(view, name);
  fileutl_rm(name);
  return rc;
}

void ViewTest::MakeView(const std::string& tag, const std::string& spec) {
  ASSERT_EQ(view_create(tag.c_str(), 0, ""), 0) << tag;
  view_handle_t view = 0;
  ASSERT_EQ(view_get_handle_by_tag(tag.c_str(), &view), 0) << tag;
  EXPECT_EQ(SetSpec(view, spec), 0) << tag;
  EXPECT_EQ(view_inval_view(view), 0) << tag;
  view_free_handle(view);
}

void ViewTest::Version(vob_dbid_t element_or_branch, const char* path, const char* text, vob_dbid_t* made) {
  const vob_dbid_t version = RepositoryBuilder(vob).Version(element_or_branch, path, text);
  if (made) *made = version;
}

void MergeTest::SetUp() {
  ViewTest::SetUp();
  ASSERT_EQ(vob_mkelem(vob, "\\src\\merge.c", 0, "", &element), 0);
  Version(element, "\\public\\src\\merge.c", "a\nb\nc\nd\ne\nf\ng\n", &main1);
  ASSERT_EQ(vob_mkbranch(vob, main1, "dev", "", &dev_branch), 0);
  Version(dev_branch, "\\public\\src\\merge.c", "a\nB\nc\nd\ne\nf\ng\n", &dev1);
  Version(element, "\\public\\src\\merge.c", "a\nb\nc\nd\ne\nf\nG\n", &main2);
  ASSERT_EQ(cmd_utl_checkout(vob, element, "v1", 1, "", &checked_out), 0);
}

vob_dbid_t MergeTest::MergedInto(vob_dbid_t version) const {
  vob_dbid_t from = 0;
  return vob_ver_find_merge(vob, version, &from) == 0 ? from : 0;
}

StoreReadLock::StoreReadLock(const std::filesystem::path& file) {
  EXPECT_EQ(sqlite3_open(file.c_str(), &db_), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db_, "BEGIN; SELECT count(*) FROM rv_meta;", nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db_);
}

StoreReadLock::~StoreReadLock() {
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db_);
}

}  // namespace rv_test
