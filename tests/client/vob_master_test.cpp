// Which VOB holds a name, which replica masters an object, the VOB's
// well-known objects, and the merges recorded into a version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "local/calllog.h"
#include "local/store.h"
#include "tbs.h"
#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "vob.h"
#include "vob_ob.h"

namespace {

using rv_test::ViewTest;

class VobMaster : public ViewTest {};

TEST_F(VobMaster, TheVobOfANameIsTheOneWhoseTagLeadsIt) {
  vob_handle_t other = 0;
  ASSERT_EQ(vob_create("\\publicity", "a VOB whose tag starts like another", &other), 0);
  struct Case {
    const char* name;
    int status;
    vob_handle_t expected;
  };
  const Case cases[] = {
      {"\\\\view\\v1\\public\\src\\hello.c", 0, vob},
      {"M:\\v1\\public\\src", 0, vob},
      {"//view/v1/public/src/hello.c", 0, vob},
      {"\\public\\src\\hello.c@@\\main\\1", 0, vob},
      {"\\public@@", 0, vob},
      {"\\public\\src\\not-there.c", 0, vob},  // only the name is read
      {"\\publicity\\x", 0, other},
      {"\\\\view\\v1\\publicity", 0, other},
      {"\\pub\\src", TBS_ST_NOT_FOUND, 0},
      {"\\\\view\\v1", TBS_ST_NOT_FOUND, 0},
      {"relative\\public", TBS_ST_NOT_FOUND, 0},
  };
  for (const Case& c : cases) {
    vob_handle_t found = 0;
    EXPECT_EQ(vob_resolve_vob(c.name, &found), c.status) << c.name;
    EXPECT_EQ(found, c.expected) << c.name;
  }
  vob_handle_t found = 0;
  EXPECT_EQ(vob_resolve_vob(nullptr, &found), TBS_ST_INVALID_ARG);
  EXPECT_EQ(vob_resolve_vob("\\public", nullptr), TBS_ST_INVALID_ARG);
}

TEST_F(VobMaster, EveryObjectIsMasteredByTheReplicaThisHostWorksIn) {
  vob_dbid_t original = 0;
  std::uint32_t mtype = 0;
  ASSERT_EQ(vob_obj_resolve(vob, "replica:original@\\public", &original, &mtype), 0);
  vob_dbid_t here = 0;
  ASSERT_EQ(vob_ob_get_wk_obj(vob, VOB_WK_OBJ_REPLICA, &here), 0);
  EXPECT_EQ(here, original);
  for (vob_dbid_t object : {hello, hello2, dev, src}) {
    vob_dbid_t master = 0;
    ASSERT_EQ(vob_obj_get_master(vob, object, &master), 0) << object;
    EXPECT_EQ(master, original) << object;
  }
  vob_dbid_t master = 0;
  EXPECT_EQ(vob_obj_get_master(vob, 9999, &master), TBS_ST_NOT_FOUND);
  EXPECT_EQ(vob_obj_get_master(vob + 100, hello, &master), TBS_ST_NOT_FOUND);
  EXPECT_EQ(vob_obj_get_master(vob, hello, nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(master, 0u);
}

TEST_F(VobMaster, WellKnownObjectsAreThoseOfTheVob) {
  vob_dbid_t vob_object = 0, root = 0, found = 0;
  ASSERT_EQ(vob_get_vob_object(vob, &vob_object), 0);
  ASSERT_EQ(vob_get_root_elem(vob, &root), 0);
  ASSERT_EQ(vob_ob_get_wk_obj(vob, VOB_WK_OBJ_VOB, &found), 0);
  EXPECT_EQ(found, vob_object);
  ASSERT_EQ(vob_ob_get_wk_obj(vob, VOB_WK_OBJ_ROOT_ELEM, &found), 0);
  EXPECT_EQ(found, root);
  found = 0;
  EXPECT_EQ(vob_ob_get_wk_obj(vob, 0, &found), TBS_ST_INVALID_ARG);
  EXPECT_EQ(vob_ob_get_wk_obj(vob, VOB_WK_OBJ_REPLICA + 1, &found), TBS_ST_INVALID_ARG);
  EXPECT_EQ(vob_ob_get_wk_obj(vob + 100, VOB_WK_OBJ_VOB, &found), TBS_ST_NOT_FOUND);
  EXPECT_EQ(found, 0u);
}

TEST_F(VobMaster, AVobWithASecondReplicaIsReplicated) {
  int replicated = 1;
  ASSERT_EQ(vob_ob_is_replicated(vob, &replicated), 0);
  EXPECT_EQ(replicated, 0);
  // No call makes replicas yet: the store is given one by hand.
  client_local::CurrentStore()->Exec(
      "INSERT INTO vob_objs (vob, dbid, mtype, oid, name) VALUES (" + std::to_string(vob) +
      ", 5000, " + std::to_string(VOB_MTYPE_REPLICA) + ", 'remote-replica-oid', 'remote')");
  ASSERT_EQ(vob_ob_is_replicated(vob, &replicated), 0);
  EXPECT_EQ(replicated, 1);
  vob_dbid_t here = 0, master = 0;
  ASSERT_EQ(vob_ob_get_wk_obj(vob, VOB_WK_OBJ_REPLICA, &here), 0);
  EXPECT_NE(here, 5000u);
  ASSERT_EQ(vob_obj_get_master(vob, hello, &master), 0);
  EXPECT_EQ(master, here);
}

TEST_F(VobMaster, TheFirstMergeAndEveryMergeInTheOrderRecorded) {
  vob_dbid_t checked_out = 0, from = 0, cursor = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, util, "v1", 0, "", &checked_out), 0);
  EXPECT_EQ(vob_ver_find_merge(vob, checked_out, &from), TBS_ST_NOT_FOUND);
  EXPECT_EQ(vob_ver_next_merges(vob, checked_out, &cursor, &from), TBS_ST_NOT_FOUND);
  ASSERT_EQ(vob_hlink_create(vob, "Merge", vob, hello1, vob, checked_out, "", "", nullptr), 0);
  ASSERT_EQ(vob_hlink_create(vob, "Merge", vob, checked_out, vob, hello2, "", "", nullptr), 0);  // out of it
  ASSERT_EQ(vob_hlink_create(vob, "Merge", vob, hello2, vob, checked_out, "", "", nullptr), 0);
  ASSERT_EQ(vob_ver_find_merge(vob, checked_out, &from), 0);
  EXPECT_EQ(from, hello1) << "the first merge recorded";

  std::vector<vob_dbid_t> merged;
  cursor = 0;
  while (vob_ver_next_merges(vob, checked_out, &cursor, &from) == 0) merged.push_back(from);
  EXPECT_EQ(merged, (std::vector<vob_dbid_t>{hello1, hello2}));
  EXPECT_EQ(vob_ver_next_merges(vob, checked_out, nullptr, &from), TBS_ST_INVALID_ARG);
  cursor = 0;
  EXPECT_EQ(vob_ver_next_merges(vob, util, &cursor, &from), TBS_ST_WRONG_KIND) << "an element has no merges";
}

// A hyperlink's number past any DBID names nothing; it is not a failure of
// the store.
TEST_F(VobMaster, AHyperlinkSelectorWithAHugeNumberFindsNothing) {
  vob_dbid_t found = 0;
  std::uint32_t mtype = 0;
  EXPECT_EQ(vob_obj_resolve(vob, "hlink:Merge@99999999999999999999999@\\public", &found, &mtype), TBS_ST_NOT_FOUND);
  EXPECT_EQ(vob_obj_resolve(vob, "hlink:Merge@4294967296@\\public", &found, &mtype), TBS_ST_NOT_FOUND);
  EXPECT_EQ(found, 0u);
}

// A call that reads an identifier stored as text answers the reading's own
// status when it fails, not a general failure.
TEST_F(VobMaster, AFailureToReadAStoredIdentifierIsPassedUp) {
  client_local::CallLogScope scope;
  ASSERT_TRUE(client_local::CallLog::InjectFailure("tbs_str_to_uuid", {TBS_ST_NO_MEMORY, {}, 1}));
  tbs_uuid_t uuid{};
  EXPECT_EQ(vob_get_uuid(vob, &uuid), TBS_ST_NO_MEMORY);
  ASSERT_TRUE(client_local::CallLog::InjectFailure("tbs_str_to_oid", {TBS_ST_PERMISSION, {}, 1}));
  tbs_oid_t oid{};
  EXPECT_EQ(vob_obj_get_oid(vob, hello, &oid), TBS_ST_PERMISSION);
  EXPECT_EQ(vob_get_uuid(vob, &uuid), 0) << "the failure was for one call";
}

}  // namespace
