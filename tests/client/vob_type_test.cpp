// Type definitions: what they hold, the values and labels they refuse, the
// redefines that existing instances would break, and transactions.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/message_capture.h"
#include "support/repository.h"
#include "tbs.h"
#include "vob.h"
#include "vob_attr.h"
#include "vob_type.h"

namespace {

using rv_test::MessageCapture;
using rv_test::RepositoryTest;

class TypeDefs : public RepositoryTest {
 protected:
  vob_dbid_t Type(const char* selector) const {
    vob_dbid_t dbid = 0;
    std::uint32_t mtype = 0;
    EXPECT_EQ(vob_obj_resolve(repo.vob, selector, &dbid, &mtype), 0) << selector;
    return dbid;
  }
  // An attribute type with rules given as text; the status of the redefine.
  int Define(vob_dbid_t attype, vob_val_kind_t kind, const char* lower, const char* upper, int lower_inclusive,
             int upper_inclusive, const char* default_value, std::vector<const char*> enums = {}) const {
    vob_attype_vinfo_s rules;
    int rc = vob_attype_strs_to_vinfo(kind, lower, upper, lower_inclusive, upper_inclusive, default_value,
                                      enums.data(), enums.size(), &rules);
    if (rc) return rc;
    const vob_type_def_s def;
    rc = vob_attype_redefine(repo.vob, attype, &def, &rules);
    vob_attype_free_vinfo(&rules);
    return rc;
  }
  int AddAttr(vob_dbid_t obj, const char* attype, vob_val_kind_t kind, const char* text) const {
    vob_value_s value;
    EXPECT_EQ(vob_val_str_to_value(kind, text, &value), 0) << text;
    const int rc = vob_obj_add_attr(repo.vob, obj, attype, &value);
    vob_val_free_value(&value);
    return rc;
  }
  vob_dbid_t MakeAttype(const char* name, vob_val_kind_t kind) const {
    vob_dbid_t made = 0;
    EXPECT_EQ(vob_attype_create(repo.vob, name, kind, "", &made), 0);
    return made;
  }
};

TEST_F(TypeDefs, EveryKindHasItsDefaultDefinition) {
  const struct {
    const char* selector;
    std::uint32_t occurs;
  } cases[] = {
      {"lbtype:REL1", VOB_OCCURS_VER_PER_ELEM}, {"brtype:main", VOB_OCCURS_VER_PER_ELEM},
      {"eltype:file", VOB_OCCURS_NULL},         {"hltype:Merge", VOB_OCCURS_NULL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selector);
    std::uint32_t occurs = 99, globalness = 99, master = 99;
    EXPECT_EQ(vob_type_get_occurs(repo.vob, Type(c.selector), &occurs), 0);
    EXPECT_EQ(vob_type_get_globalness(repo.vob, Type(c.selector), &globalness), 0);
    EXPECT_EQ(vob_type_get_master_kind(repo.vob, Type(c.selector), &master), 0);
    EXPECT_EQ(occurs, c.occurs);
    EXPECT_EQ(globalness, VOB_GLOBALNESS_NONE);
  }
  // text_file derives from file and has its own manager; a new type takes
  // file's.
  vob_dbid_t cursor = 0;
  ASSERT_EQ(vob_type_next_supertypes(repo.vob, Type("eltype:text_file"), &cursor), 0);
  EXPECT_EQ(cursor, Type("eltype:file"));
  EXPECT_EQ(vob_type_next_supertypes(repo.vob, Type("eltype:text_file"), &cursor), TBS_ST_NOT_FOUND);
  vob_dbid_t source = 0;
  ASSERT_EQ(vob_mktype(repo.vob, VOB_MTYPE_ELTYPE, "source", "", &source), 0);
  char manager[64];
  ASSERT_EQ(vob_type_find_mgr_name(repo.vob, source, manager, sizeof manager), 0);
  char file_manager[64];
  ASSERT_EQ(vob_type_find_mgr_name(repo.vob, Type("eltype:file"), file_manager, sizeof file_manager), 0);
  EXPECT_STREQ(manager, file_manager);
  EXPECT_EQ(vob_type_get_occurs(repo.vob, repo.hello, &cursor), TBS_ST_WRONG_KIND);
}

TEST_F(TypeDefs, RulesRoundTripAndRefuseValuesOutsideThem) {
  const vob_dbid_t priority = MakeAttype("Priority", VOB_VAL_INTEGER);
  ASSERT_EQ(Define(priority, VOB_VAL_INTEGER, "1", "5", 1, 0, "3"), 0);
  const stg_area_t area = stg_create_area(512);
  vob_attype_info_s info;
  ASSERT_EQ(vob_attype_get_info(repo.vob, priority, area, &info), 0);
  EXPECT_STREQ(info.lower, "1");
  EXPECT_STREQ(info.upper, "5");
  EXPECT_EQ(info.lower_inclusive, 1);
  EXPECT_EQ(info.upper_inclusive, 0);
  EXPECT_STREQ(info.default_value, "3");
  EXPECT_EQ(info.enum_count, 0u);

  const vob_dbid_t color = MakeAttype("Color", VOB_VAL_STRING);
  ASSERT_EQ(Define(color, VOB_VAL_STRING, nullptr, nullptr, 0, 0, nullptr, {"red", "green"}), 0);
  ASSERT_EQ(vob_attype_get_info(repo.vob, color, area, &info), 0);
  ASSERT_EQ(info.enum_count, 2u);
  EXPECT_STREQ(info.enum_values[1], "green");
  EXPECT_EQ(info.lower, nullptr);
  stg_delete_area(area);

  const struct {
    const char* type;
    vob_val_kind_t kind;
    const char* value;
    int status;
  } values[] = {
      {"Priority", VOB_VAL_INTEGER, "1", 0},  // the inclusive bound
      {"Priority", VOB_VAL_INTEGER, "4", 0},
      {"Priority", VOB_VAL_INTEGER, "0", TBS_ST_INVALID_ARG},
      {"Priority", VOB_VAL_INTEGER, "5", TBS_ST_INVALID_ARG},  // the exclusive bound
      {"Color", VOB_VAL_STRING, "green", 0},
      {"Color", VOB_VAL_STRING, "blue", TBS_ST_INVALID_ARG},
  };
  for (const auto& v : values) {
    SCOPED_TRACE(std::string(v.type) + " " + v.value);
    MessageCapture messages;
    EXPECT_EQ(AddAttr(repo.util, v.type, v.kind, v.value), v.status);
    if (v.status) {
      EXPECT_NE(messages.Text().find(std::string("\"") + v.value + "\""), std::string::npos) << messages.Text();
      EXPECT_NE(messages.Text().find(v.type), std::string::npos);
    }
  }
}

TEST_F(TypeDefs, BadRuleTextIsRefusedWithAMessage) {
  const struct {
    vob_val_kind_t kind;
    const char* lower;
    const char* upper;
    const char* default_value;
    const char* named;  // in the message
  } cases[] = {
      {VOB_VAL_INTEGER, "one", nullptr, nullptr, "\"one\""},
      {VOB_VAL_INTEGER, "1", "5x", nullptr, "\"5x\""},
      {VOB_VAL_INTEGER, "9", "5", nullptr, "above"},
      {VOB_VAL_INTEGER, "1", "5", "7", "\"7\""},
      {VOB_VAL_REAL, "1.5", nullptr, "abc", "\"abc\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    MessageCapture messages;
    vob_attype_vinfo_s rules;
    EXPECT_EQ(vob_attype_strs_to_vinfo(c.kind, c.lower, c.upper, 1, 1, c.default_value, nullptr, 0, &rules),
              TBS_ST_INVALID_ARG);
    EXPECT_EQ(rules.has_lower, 0) << "nothing is left in the record";
    EXPECT_NE(messages.Text().find(c.named), std::string::npos) << messages.Text();
  }
}

TEST_F(TypeDefs, OccursLimitsLabelsAndAttributesAndRedefinesThatExistingOnesWouldBreak) {
  // A label one per branch may sit on \main and on \main\dev of one element.
  vob_dbid_t tested = 0;
  ASSERT_EQ(vob_mktype(repo.vob, VOB_MTYPE_LBTYPE, "TESTED", "", &tested), 0);
  vob_type_def_s per_branch;
  per_branch.occurs = VOB_OCCURS_VER_PER_BRANCH;
  ASSERT_EQ(vob_lbtype_redefine(repo.vob, tested, &per_branch), 0);
  EXPECT_EQ(vob_ver_add_label(repo.vob, repo.hello1, "TESTED"), 0);
  EXPECT_EQ(vob_ver_add_label(repo.vob, repo.dev1, "TESTED"), 0);
  {
    MessageCapture messages;
    EXPECT_EQ(vob_ver_add_label(repo.vob, repo.hello2, "TESTED"), TBS_ST_ALREADY);
    EXPECT_NE(messages.Text().find("hello.c@@\\main\\1"), std::string::npos) << messages.Text();
  }
  // Moved instead, in one call: \main\1 gives it up, \main\dev keeps its own.
  EXPECT_EQ(vob_ver_move_label(repo.vob, repo.hello2, "TESTED"), 0);
  const std::pair<vob_dbid_t, int> holders[] = {{repo.hello1, 0}, {repo.hello2, 1}, {repo.dev1, 1}};
  for (const auto& [version, held] : holders) {
    int has = -1;
    EXPECT_EQ(vob_ver_has_label(repo.vob, version, "TESTED", &has), 0);
    EXPECT_EQ(has, held) << version;
  }
  // Back to one per element would break: refused, naming a holder; nothing changes.
  vob_type_def_s per_element;
  per_element.occurs = VOB_OCCURS_VER_PER_ELEM;
  {
    MessageCapture messages;
    EXPECT_EQ(vob_lbtype_redefine(repo.vob, tested, &per_element), TBS_ST_ALREADY);
    EXPECT_NE(messages.Text().find("hello.c@@"), std::string::npos) << messages.Text();
  }
  std::uint32_t occurs = 0;
  ASSERT_EQ(vob_type_get_occurs(repo.vob, tested, &occurs), 0);
  EXPECT_EQ(occurs, VOB_OCCURS_VER_PER_BRANCH);

  // Attributes: rules that an existing value breaks are refused.
  MakeAttype("Size", VOB_VAL_INTEGER);
  ASSERT_EQ(AddAttr(repo.hello1, "Size", VOB_VAL_INTEGER, "10"), 0);
  {
    MessageCapture messages;
    EXPECT_EQ(Define(Type("attype:Size"), VOB_VAL_INTEGER, "1", "5", 1, 1, nullptr), TBS_ST_ALREADY);
    EXPECT_NE(messages.Text().find("\"10\""), std::string::npos) << messages.Text();
  }
  // One per element: a second version of the element is refused, naming the holder.
  vob_type_def_s def;
  def.occurs = VOB_OCCURS_VER_PER_ELEM;
  vob_attype_vinfo_s none;
  ASSERT_EQ(vob_attype_strs_to_vinfo(VOB_VAL_INTEGER, nullptr, nullptr, 0, 0, nullptr, nullptr, 0, &none), 0);
  ASSERT_EQ(vob_attype_redefine(repo.vob, Type("attype:Size"), &def, &none), 0);
  vob_attype_free_vinfo(&none);
  MessageCapture messages;
  EXPECT_EQ(AddAttr(repo.hello2, "Size", VOB_VAL_INTEGER, "3"), TBS_ST_ALREADY);
  EXPECT_NE(messages.Text().find("hello.c@@\\main\\1"), std::string::npos) << messages.Text();
  EXPECT_EQ(AddAttr(repo.hello1, "Size", VOB_VAL_INTEGER, "3"), 0) << "the holder itself may change its value";
}

TEST_F(TypeDefs, TriggerTypesKeepTheirDefinition) {
  char action[] = "echo fired";
  char* actions[] = {action};
  vob_op_t ops[] = {VOB_OP_CHECKIN, VOB_OP_MKLABEL};
  vob_trtype_info_s made;
  made.actions = actions;
  made.action_count = 1;
  made.ops = ops;
  made.op_count = 2;
  vob_dbid_t trtype = 0;
  ASSERT_EQ(vob_trtype_create(repo.vob, "notify", &made, "", &trtype), 0);
  vob_trtype_info_s read;
  ASSERT_EQ(vob_trtype_get_info(repo.vob, trtype, &read), 0);
  ASSERT_EQ(read.action_count, 1u);
  EXPECT_STREQ(read.actions[0], "echo fired");
  ASSERT_EQ(read.op_count, 2u);
  EXPECT_EQ(read.ops[1], VOB_OP_MKLABEL);
  EXPECT_EQ(read.user_count, 0u);
  EXPECT_EQ(vob_trtype_free_info(&read), 0);
  EXPECT_EQ(read.actions, nullptr);
}

TEST_F(TypeDefs, ATransactionCommitsOrUndoesEveryCallInside) {
  for (const int commit : {0, 1}) {
    SCOPED_TRACE(commit);
    const std::string name = commit ? "KEPT" : "DROPPED";
    ASSERT_EQ(vob_txn_begin(), 0);
    ASSERT_EQ(vob_mktype(repo.vob, VOB_MTYPE_LBTYPE, name.c_str(), "", nullptr), 0);
    // a failing call inside undoes only itself
    EXPECT_EQ(vob_mktype(repo.vob, VOB_MTYPE_LBTYPE, name.c_str(), "", nullptr), TBS_ST_ALREADY);
    EXPECT_EQ(vob_txn_end(commit), 0);
    vob_dbid_t dbid = 0;
    std::uint32_t mtype = 0;
    EXPECT_EQ(vob_obj_resolve(repo.vob, ("lbtype:" + name).c_str(), &dbid, &mtype), commit ? 0 : TBS_ST_NOT_FOUND);
  }
  EXPECT_EQ(vob_txn_end(1), TBS_ST_INVALID_ARG) << "no transaction is open";
}

}  // namespace
