// The repository calls against the store: what they find, and that bad
// input and failures change nothing.
#include <gtest/gtest.h>

#include <string>

#include "cmd_resolve.h"
#include "gcl_status.h"
#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "tbs.h"
#include "tbs_oid.h"
#include "view_ws.h"

namespace {

using rv_test::RepositoryTest;

int ObjectCount(vob_handle_t vob) {
  int count = 0;
  for (vob_dbid_t dbid = 1; dbid < 200; ++dbid) {
    int exists = 0;
    if (vob_obj_exists(vob, dbid, &exists) == 0 && exists) ++count;
  }
  return count;
}

TEST_F(RepositoryTest, ResolvesNamesToTheirObjects) {
  using rv_test::SampleRepository;
  struct Case {
    const char* name;
    vob_dbid_t SampleRepository::*expected;
    std::uint32_t mtype;
    const char* view;
  };
  const Case cases[] = {
      {"\\public\\src\\hello.c", &SampleRepository::hello, VOB_MTYPE_FILE_ELEMENT, ""},
      {"\\public\\src\\hello.c@@", &SampleRepository::hello, VOB_MTYPE_FILE_ELEMENT, ""},
      {"\\public\\src", &SampleRepository::src, VOB_MTYPE_DIR_ELEMENT, ""},
      {"\\public\\src\\hello.c@@\\main", &SampleRepository::main_branch, VOB_MTYPE_BRANCH, ""},
      {"\\public\\src\\hello.c@@\\main\\dev", &SampleRepository::dev, VOB_MTYPE_BRANCH, ""},
      {"\\public\\src\\hello.c@@\\main\\1", &SampleRepository::hello1, VOB_MTYPE_VERSION, ""},
      {"\\public\\src\\hello.c@@\\main\\LATEST", &SampleRepository::hello2, VOB_MTYPE_VERSION, ""},
      {"\\public\\src\\hello.c@@\\main\\REL1", &SampleRepository::hello1, VOB_MTYPE_VERSION, ""},
      {"\\public\\src\\hello.c@@\\main\\dev\\0", &SampleRepository::dev0, VOB_MTYPE_VERSION, ""},
      {"\\\\view\\dev_view\\public\\src\\hello.c", &SampleRepository::hello2, VOB_MTYPE_VERSION, "dev_view"},
      {"M:\\dev_view\\public\\src\\hello.c", &SampleRepository::hello2, VOB_MTYPE_VERSION, "dev_view"},
      {"//view/dev_view/public/src/hello.c", &SampleRepository::hello2, VOB_MTYPE_VERSION, "dev_view"},
      {"\\\\view\\dev_view\\public\\src\\hello.c@@\\main\\0", &SampleRepository::hello0, VOB_MTYPE_VERSION,
       "dev_view"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cmd_resolve_result_s result;
    ASSERT_EQ(cmd_resolve_general(c.name, &result), 0);
    EXPECT_EQ(result.vob, repo.vob);
    EXPECT_EQ(result.dbid, repo.*c.expected);
    EXPECT_EQ(result.mtype, c.mtype);
    EXPECT_STREQ(result.view, c.view);
  }
}

TEST_F(RepositoryTest, ResolvesSelectorsToNamedObjects) {
  const struct {
    const char* selector;
    std::uint32_t mtype;
  } cases[] = {
      {"lbtype:REL1@\\public", VOB_MTYPE_LBTYPE}, {"brtype:main@\\public", VOB_MTYPE_BRTYPE},
      {"eltype:text_file@\\public", VOB_MTYPE_ELTYPE}, {"vob:\\public", VOB_MTYPE_VOB},
      {"replica:original@\\public", VOB_MTYPE_REPLICA}, {"pool:sdft@\\public", VOB_MTYPE_POOL},
      {"hltype:Merge@\\public", VOB_MTYPE_HLTYPE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selector);
    cmd_resolve_result_s result;
    ASSERT_EQ(cmd_resolve_general(c.selector, &result), 0);
    EXPECT_EQ(result.mtype, c.mtype);
    char selector[300];
    ASSERT_EQ(vob_obj_get_selector(repo.vob, result.dbid, selector, sizeof selector), 0);
    EXPECT_STREQ(selector, c.selector);
  }
  const std::string hlink = "hlink:Merge@" + std::to_string(repo.merge) + "@\\public";
  cmd_resolve_result_s result;
  ASSERT_EQ(cmd_resolve_general(hlink.c_str(), &result), 0);
  EXPECT_EQ(result.dbid, repo.merge);
}

TEST_F(RepositoryTest, UnknownAndBadNamesAreRefusedAndChangeNothing) {
  const int before = ObjectCount(repo.vob);
  const std::string long_name = "\\public\\" + std::string(3000, 'a');
  const struct {
    const char* name;
    int status;
  } cases[] = {
      {"\\public\\src\\nothing.c", TBS_ST_NOT_FOUND},
      {"\\public\\src\\hello.c@@\\main\\9", TBS_ST_NOT_FOUND},
      {"\\public\\src\\hello.c@@\\nobranch", TBS_ST_NOT_FOUND},
      {"\\private\\src", TBS_ST_NOT_FOUND},
      {"src\\hello.c", TBS_ST_NOT_FOUND},
      {"\\\\server\\share\\x", TBS_ST_NOT_FOUND},
      {"lbtype:NOPE@\\public", TBS_ST_NOT_FOUND},
      {"lbtype:has blank@\\public", TBS_ST_INVALID_ARG},
      {"lbtype:\"quoted\"@\\public", TBS_ST_INVALID_ARG},
      {"lbtype:caf\xc3\xa9@\\public", TBS_ST_INVALID_ARG},
      {"\\public\\src\\hello world.c", TBS_ST_NOT_FOUND},
      {"", TBS_ST_INVALID_ARG},
      {long_name.c_str(), TBS_ST_INVALID_ARG},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    cmd_resolve_result_s result;
    EXPECT_EQ(cmd_resolve_general(c.name, &result), c.status);
    EXPECT_EQ(result.dbid, 0u);
  }
  EXPECT_EQ(cmd_resolve_general(nullptr, nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(ObjectCount(repo.vob), before);
}

TEST_F(RepositoryTest, BadNewNamesAreRefusedAndChangeNothing) {
  const int before = ObjectCount(repo.vob);
  const std::string long_leaf = "\\src\\" + std::string(300, 'x');
  {
    GCL_Status status;
    status.begin_capture();
    EXPECT_EQ(vob_mkelem(repo.vob, "\\src\\a@@b.c", 0, "", nullptr), TBS_ST_INVALID_ARG);
    status.end_capture();
    EXPECT_NE(std::string(status.messages().c_str()).find("\"a@@b.c\" is not a valid element name"), std::string::npos)
        << status.messages();
  }
  for (const char* path : {"\\src\\a@@b", "\\src\\tab\there", "\\src\\bad\xff.c", "\\src\\a:b", "\\src\\..", "relative",
                           long_leaf.c_str()}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(vob_mkelem(repo.vob, path, 0, "", nullptr), TBS_ST_INVALID_ARG);
  }
  EXPECT_EQ(vob_mkelem(repo.vob, "\\src\\hello.c", 0, "", nullptr), TBS_ST_ALREADY);
  EXPECT_EQ(vob_mkelem(repo.vob, "\\src\\hello.c\\x", 0, "", nullptr), TBS_ST_WRONG_KIND);
  EXPECT_EQ(vob_mkelem(repo.vob, "\\nodir\\x", 0, "", nullptr), TBS_ST_NOT_FOUND);
  EXPECT_EQ(vob_mktype(repo.vob, VOB_MTYPE_LBTYPE, "REL1", "", nullptr), TBS_ST_ALREADY);
  EXPECT_EQ(vob_mktype(repo.vob, VOB_MTYPE_LBTYPE, "1st", "", nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(vob_create("\\public", "", nullptr), TBS_ST_INVALID_ARG);
  vob_handle_t other = 0;
  EXPECT_EQ(vob_create("\\public", "", &other), TBS_ST_ALREADY);
  EXPECT_EQ(vob_create("no backslash", "", &other), TBS_ST_INVALID_ARG);
  EXPECT_EQ(ObjectCount(repo.vob), before);
}

TEST_F(RepositoryTest, AFailedCommandLeavesTheStoreAsItWas) {
  // The check-in finds another view's reserved check-out only after it has
  // read the view's own: the whole command rolls back.
  vob_dbid_t mine = 0, theirs = 0;
  ASSERT_EQ(cmd_utl_checkout(repo.vob, repo.hello, "view_a", 0, "a", &mine), 0);
  ASSERT_EQ(cmd_utl_checkout(repo.vob, repo.hello, "view_b", 1, "b", &theirs), 0);
  EXPECT_EQ(vob_utl_checkin(repo.vob, "\\public\\src\\hello.c", "view_a", "try", nullptr), TBS_ST_ALREADY);
  int checked_out = 0;
  ASSERT_EQ(vob_ver_is_checked_out(repo.vob, mine, &checked_out), 0);
  EXPECT_EQ(checked_out, 1);
  vob_dbid_t latest = 0;
  ASSERT_EQ(vob_branch_get_latest_ver(repo.vob, repo.main_branch, &latest), 0);
  EXPECT_EQ(latest, repo.hello2);
}

TEST_F(RepositoryTest, VersionsKeepTheirContentsAndHistory) {
  const stg_area_t area = stg_create_area(0);
  const char* text = nullptr;
  ASSERT_EQ(vob_ver_get_contents(repo.vob, repo.hello1, area, &text), 0);
  EXPECT_STREQ(text, "hello 1\n");
  ASSERT_EQ(vob_ver_get_contents(repo.vob, repo.dev0, area, &text), 0);
  EXPECT_STREQ(text, "hello 1\n");  // a branch starts with what it sprouted from
  EXPECT_EQ(vob_ver_set_contents(repo.vob, repo.hello1, "changed"), TBS_ST_PERMISSION);
  vob_dbid_t pred = 0;
  ASSERT_EQ(vob_ver_get_pred_ver(repo.vob, repo.hello2, &pred), 0);
  EXPECT_EQ(pred, repo.hello1);
  ASSERT_EQ(vob_ver_get_pred_ver(repo.vob, repo.dev0, &pred), 0);
  EXPECT_EQ(pred, repo.hello1);
  EXPECT_EQ(vob_ver_get_pred_ver(repo.vob, repo.hello0, &pred), TBS_ST_NOT_FOUND);
  vob_dbid_t from = 0;
  ASSERT_EQ(vob_ver_find_merge(repo.vob, repo.hello2, &from), 0);
  EXPECT_EQ(from, repo.dev0);
  char id[100];
  ASSERT_EQ(vob_ver_get_idstr(repo.vob, repo.dev0, id, sizeof id), 0);
  EXPECT_STREQ(id, "\\main\\dev\\0");
  EXPECT_EQ(vob_ver_get_idstr(repo.vob, repo.dev0, id, 4), TBS_ST_INVALID_ARG);
  EXPECT_STREQ(id, "");
  stg_delete_area(area);
}

TEST_F(RepositoryTest, IdentifiersReadBackInBothForms) {
  tbs_oid_t oid;
  ASSERT_EQ(vob_obj_get_oid(repo.vob, repo.hello, &oid), 0);
  char plain[TBS_ID_STR_SIZE], dotted[TBS_ID_STR_SIZE];
  ASSERT_EQ(tbs_oid_to_str(&oid, plain, sizeof plain), 0);
  ASSERT_EQ(tbs_oid_to_dstr(&oid, dotted, sizeof dotted), 0);
  tbs_oid_t back1, back2;
  ASSERT_EQ(tbs_str_to_oid(plain, &back1), 0);
  ASSERT_EQ(tbs_dstr_to_oid(dotted, &back2), 0);
  EXPECT_TRUE(tbs_oid_eq(&oid, &back1));
  EXPECT_TRUE(tbs_oid_eq(&oid, &back2));
  vob_dbid_t dbid = 0;
  ASSERT_EQ(vob_obj_oid_to_dbid(repo.vob, &oid, &dbid), 0);
  EXPECT_EQ(dbid, repo.hello);
  EXPECT_EQ(tbs_str_to_oid(dotted, &back1), TBS_ST_INVALID_ARG);  // each reader takes its own form
  char small[10];
  EXPECT_EQ(tbs_oid_to_str(&oid, small, sizeof small), TBS_ST_INVALID_ARG);
  EXPECT_STREQ(small, "");
}

TEST_F(RepositoryTest, RenamingANamedObject) {
  vob_dbid_t dev_type = 0, rel = 0, main_type = 0;
  std::uint32_t mtype = 0;
  ASSERT_EQ(vob_obj_resolve(repo.vob, "brtype:dev", &dev_type, &mtype), 0);
  ASSERT_EQ(vob_obj_resolve(repo.vob, "lbtype:REL1", &rel, &mtype), 0);
  ASSERT_EQ(vob_obj_resolve(repo.vob, "brtype:main", &main_type, &mtype), 0);
  ASSERT_EQ(vob_obj_set_name(repo.vob, dev_type, "feature"), 0);
  vob_dbid_t branch = 0;
  ASSERT_EQ(vob_resolve_general(repo.vob, "\\src\\hello.c@@\\main\\feature", &branch, &mtype), 0);
  EXPECT_EQ(branch, repo.dev);  // the branch follows its type's name
  EXPECT_EQ(vob_resolve_general(repo.vob, "\\src\\hello.c@@\\main\\dev", &branch, &mtype), TBS_ST_NOT_FOUND);
  EXPECT_EQ(vob_obj_set_name(repo.vob, rel, "LATEST"), TBS_ST_ALREADY);
  EXPECT_EQ(vob_obj_set_name(repo.vob, rel, "Merge"), 0);  // another kind's name is free
  EXPECT_EQ(vob_obj_set_name(repo.vob, dev_type, "main"), TBS_ST_ALREADY);
  EXPECT_EQ(vob_obj_set_name(repo.vob, main_type, "trunk"), TBS_ST_PERMISSION);
  EXPECT_EQ(vob_obj_set_name(repo.vob, rel, "bad name"), TBS_ST_INVALID_ARG);
  EXPECT_EQ(vob_obj_set_name(repo.vob, repo.hello, "x.c"), TBS_ST_WRONG_KIND);
  char name[64];
  ASSERT_EQ(vob_obj_get_name(repo.vob, rel, name, sizeof name), 0);
  EXPECT_STREQ(name, "Merge");
}

TEST_F(RepositoryTest, StripsVersionExtensions) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"\\v\\f.c@@\\main\\2", "\\v\\f.c"}, {"\\v\\f.c@@", "\\v\\f.c"}, {"\\v\\f.c", "\\v\\f.c"}, {"", ""}};
  for (const auto& c : cases) {
    char out[64];
    ASSERT_EQ(tbs_strip_ver_ext_chars(c.in, out, sizeof out), 0);
    EXPECT_STREQ(out, c.out);
  }
  char tiny[3];
  EXPECT_EQ(tbs_strip_ver_ext_chars("\\v\\f.c", tiny, sizeof tiny), TBS_ST_INVALID_ARG);
}

TEST_F(RepositoryTest, ViewLookupAndInvalidation) {
  char view[64];
  vob_handle_t vob = 0;
  vob_dbid_t version = 0;
  ASSERT_EQ(view_ws_lookup_pn("\\\\view\\dev_view\\public\\src\\hello.c", view, sizeof view, &vob, &version), 0);
  EXPECT_STREQ(view, "dev_view");
  EXPECT_EQ(version, repo.hello2);
  EXPECT_EQ(view_ws_lookup_pn("\\public\\src\\hello.c", view, sizeof view, &vob, &version), TBS_ST_INVALID_ARG);
  ASSERT_EQ(view_ws_lookup_pn("\\\\view\\v\\public\\src", view, sizeof view, &vob, &version), 0);
  std::uint32_t mtype = 0;
  ASSERT_EQ(vob_obj_get_mtype(vob, version, &mtype), 0);
  EXPECT_EQ(mtype, VOB_MTYPE_DIR_VERSION);
  EXPECT_EQ(view_ws_lookup_pn("\\\\view\\v\\public\\none", view, sizeof view, &vob, &version), TBS_ST_NOT_FOUND);
  const long before = view_inval_count("v2");
  EXPECT_EQ(view_inval_obj("v2", repo.vob, repo.hello1), 0);
  EXPECT_EQ(view_inval_count("v2"), before + 1);
  EXPECT_EQ(view_inval_obj("", repo.vob, repo.hello1), TBS_ST_INVALID_ARG);
}

}  // namespace
