// Updates: their kinds and copies, and how an object applies one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gcl_status.h"
#include "platform/machine.h"
#include "rvl_infostg.h"
#include "rvl_resolve.h"
#include "rvl_typeobj.h"
#include "rvl_update.h"
#include "rvl_version.h"
#include "support/repository.h"
#include "tbs.h"
#include "vob.h"
#include "vob_attr.h"
#include "vob_type.h"

namespace {

using client_local::CallLog;
using client_local::CallLogScope;
using rv_test::Failing;
using rv_test::RepositoryTest;

// Every update class: its kind and the kinds it "is a".
TEST(RvlUpdates, KindsAndTheIsAChain) {
  const RVL_VobObjectUpdate vob_object;
  const RVL_NamedObjUpdate named;
  const RVL_TypeObjUpdate type;
  const RVL_BranchTypeUpdate branch;
  const RVL_LabelTypeUpdate label;
  const RVL_ElementTypeUpdate element;
  const RVL_AttributeTypeUpdate attribute;
  const RVL_HyperlinkTypeUpdate hyperlink;
  const RVL_TriggerTypeUpdate trigger;
  const RVL_ReplicaTypeUpdate replica;
  const struct {
    const RVL_Update& update;
    int kind;
  } cases[] = {{vob_object, 1}, {named, 2},     {type, 3},      {branch, 5},  {label, 6},
               {element, 7},    {attribute, 8}, {hyperlink, 9}, {trigger, 10}, {replica, 11}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(c.update.kind(), c.kind);
    EXPECT_FALSE(c.update.has_changes());
    for (int other = 1; other <= 11; ++other)
      EXPECT_EQ(c.update.is_a(other), other == c.kind || other <= std::min(c.kind, 3)) << other;
  }
}

TEST(RvlUpdates, SettersSetTheirBitsAndCopiesTakeWhatTheirKindHas) {
  RVL_TypeObjUpdate type;
  type.set_comment("why");
  type.set_owner("root");
  type.set_group("root");
  type.set_name("REL9");
  type.set_occurs(2);
  EXPECT_TRUE(type.has_type_changes());
  EXPECT_FALSE(type.globalness_changed());

  const RVL_LabelTypeUpdate label(type);
  EXPECT_TRUE(label.comment_changed() && label.owner_changed() && label.group_changed());
  EXPECT_EQ(label.name(), "REL9");
  EXPECT_TRUE(label.occurs_changed());
  EXPECT_EQ(label.occurs(), 2u);
  EXPECT_FALSE(label.own_changed());

  RVL_AttributeTypeUpdate attribute;
  EXPECT_FALSE(attribute.has_type_changes());
  attribute.set_info(RVL_AttributeTypeInfo(VOB_VAL_INTEGER, GCL_String("1"), std::nullopt, true, std::nullopt, false,
                                           RVL_AttributeTypeInfo::Values()));
  EXPECT_TRUE(attribute.has_changes() && attribute.has_type_changes());
  const RVL_LabelTypeUpdate from_attribute(attribute);
  EXPECT_FALSE(from_attribute.has_changes()) << "another kind's own part is not copied";
  const RVL_AttributeTypeUpdate again(static_cast<const RVL_Update&>(attribute));
  EXPECT_TRUE(again.own_changed());
  EXPECT_EQ(*again.info().lower(), "1");

  RVL_NamedObjUpdate named;
  named.set_name("x");
  EXPECT_TRUE(named.has_changes());
  EXPECT_FALSE(RVL_TypeObjUpdate(named).has_type_changes());
  EXPECT_TRUE(RVL_TypeObjUpdate(named).name_changed());
}

class Updates : public RepositoryTest {
 protected:
  RVL_Vob Vob() const { return RVL_Vob(repo.vob); }
  std::string CreationComment(vob_dbid_t dbid) const {
    GCL_Status status;
    RVL_InfoStg<vob_event_info_s> event(Vob());
    RVL_VobObject(status, Vob(), dbid).creation_event(status, event);
    EXPECT_TRUE(status.ok());
    return event.record().comment ? event.record().comment : "";
  }
  std::string Owner(vob_dbid_t dbid, bool group = false) const {
    char owner[64] = "", group_sid[64] = "";
    std::uint32_t mode = 0;
    EXPECT_EQ(vob_obj_get_protection(repo.vob, dbid, owner, sizeof owner, group_sid, sizeof group_sid, &mode), 0);
    return group ? group_sid : owner;
  }
  std::string Name(vob_dbid_t dbid) const {
    char name[64] = "";
    EXPECT_EQ(vob_obj_get_name(repo.vob, dbid, name, sizeof name), 0);
    return name;
  }
  std::string Upper(vob_dbid_t attype) const {
    GCL_Status status;
    const auto definition = RVL_AttributeType(status, Vob(), attype).definition(status);
    EXPECT_TRUE(status.ok());
    return definition.upper() ? definition.upper()->c_str() : "";
  }
  // An integer attribute type with values 1 to 5.
  vob_dbid_t Priority() const {
    vob_dbid_t made = 0;
    EXPECT_EQ(vob_attype_create(repo.vob, "Priority", VOB_VAL_INTEGER, "how urgent", &made), 0);
    GCL_Status status;
    RVL_AttributeTypeUpdate rules;
    rules.set_info(Rules("5"));
    RVL_AttributeType(status, Vob(), made).apply(status, rules);
    EXPECT_TRUE(status.ok()) << status.messages().c_str();
    return made;
  }
  static RVL_AttributeTypeInfo Rules(const char* upper) {
    return RVL_AttributeTypeInfo(VOB_VAL_INTEGER, GCL_String("1"), GCL_String(upper), true, std::nullopt, true,
                                 RVL_AttributeTypeInfo::Values());
  }
  static std::vector<std::string> Changing(const std::vector<client_local::CallRecord>& calls) {
    static const char* const kChanging[] = {"vob_lbtype_redefine", "vob_attype_redefine", "vob_obj_set_name",
                                            "vob_obj_find_eventh", "vob_event_change_comment",
                                            "vob_obj_protect_sid"};
    std::vector<std::string> names;
    for (const auto& call : calls)
      if (std::find(std::begin(kChanging), std::end(kChanging), call.name) != std::end(kChanging))
        names.push_back(call.name);
    return names;
  }
};

TEST_F(Updates, ApplyCallsOnlyWhatTheBitsAsk) {
  GCL_Status status;
  const RVL_VobObject hello(status, Vob(), repo.hello);
  RVL_VobObjectUpdate none, comment, group, both;
  comment.set_comment("new words");
  group.set_group("root");
  both.set_owner("root");
  both.set_group("root");
  const struct {
    const char* name;
    const RVL_VobObjectUpdate& update;
    std::vector<std::string> calls;
    std::vector<std::string> protect_args;  // owner, group
  } cases[] = {
      {"none", none, {}, {}},
      {"comment", comment, {"vob_txn_begin", "vob_obj_find_eventh", "vob_event_change_comment", "vob_txn_end"}, {}},
      {"group", group, {"vob_txn_begin", "vob_obj_protect_sid", "vob_txn_end"}, {CREDUTL_SID_DONTCARE, "S-1-22-2-0"}},
      {"owner and group", both, {"vob_txn_begin", "vob_obj_protect_sid", "vob_txn_end"}, {"S-1-22-1-0", "S-1-22-2-0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CallLogScope log;
    hello.apply(status, c.update);
    EXPECT_TRUE(status.ok()) << status.messages().c_str();
    const auto calls = CallLog::Calls();
    std::vector<std::string> repository_calls;
    for (const auto& call : calls)
      if (call.name.rfind("vob_", 0) == 0) repository_calls.push_back(call.name);
    EXPECT_EQ(repository_calls, c.calls);
    if (c.protect_args.empty()) continue;
    const auto protect = CallLog::Calls("vob_obj_protect_sid");
    ASSERT_EQ(protect.size(), 1u);
    ASSERT_GE(protect[0].args.size(), 4u);
    EXPECT_EQ(protect[0].args[2], c.protect_args[0]);
    EXPECT_EQ(protect[0].args[3], c.protect_args[1]);
  }
  EXPECT_EQ(CreationComment(repo.hello), "new words");
  EXPECT_EQ(Owner(repo.hello), "S-1-22-1-0");
  EXPECT_EQ(Owner(repo.hello, true), "S-1-22-2-0");
}

TEST_F(Updates, AnUnknownOwnerIsNamedAndChangesNothing) {
  const std::string before = Owner(repo.hello);
  GCL_Status status;
  RVL_VobObjectUpdate stranger;
  stranger.set_owner("no-such-user-here");
  RVL_VobObject(status, Vob(), repo.hello).apply(status, stranger);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  EXPECT_NE(std::string(status.messages().c_str()).find("no-such-user-here"), std::string::npos);
  EXPECT_EQ(Owner(repo.hello), before);
}

TEST_F(Updates, ATypeRedefinesRenamesAndChangesInThatOrder) {
  GCL_Status status;
  const auto object = RVL_ResolveName(status, "lbtype:REL1@\\public");
  ASSERT_TRUE(object);
  const vob_dbid_t rel1 = object->dbid();
  // A plain type-object update changes a label type's occurs: it is written.
  RVL_TypeObjUpdate update;
  update.set_occurs(VOB_OCCURS_VER_PER_BRANCH);
  update.set_name("RELEASE1");
  update.set_comment("the first release");
  update.set_group("root");
  CallLogScope log;
  object->apply(status, update);
  ASSERT_TRUE(status.ok()) << status.messages().c_str();
  EXPECT_EQ(Changing(CallLog::Calls()),
            (std::vector<std::string>{"vob_lbtype_redefine", "vob_obj_set_name", "vob_obj_find_eventh",
                                      "vob_event_change_comment", "vob_obj_protect_sid"}));
  EXPECT_EQ(CallLog::Calls().front().name, "vob_txn_begin");
  EXPECT_EQ(CallLog::Calls().back().name, "vob_txn_end");
  std::uint32_t occurs = 0;
  EXPECT_EQ(vob_type_get_occurs(repo.vob, rel1, &occurs), 0);
  EXPECT_EQ(occurs, VOB_OCCURS_VER_PER_BRANCH);
  EXPECT_EQ(Name(rel1), "RELEASE1");
  EXPECT_EQ(CreationComment(rel1), "the first release");
}

TEST_F(Updates, AFailureAtAnyStepLeavesEverythingAsItWas) {
  const vob_dbid_t priority = Priority();
  const std::string comment = CreationComment(priority), owner = Owner(priority);
  GCL_Status status;
  const RVL_AttributeType type(status, Vob(), priority);
  RVL_AttributeTypeUpdate update;
  update.set_info(Rules("9"));
  update.set_name("Urgency");
  update.set_comment("renamed");
  update.set_owner("nobody");
  const struct {
    const char* call;
    int code;
  } failures[] = {{"vob_attype_redefine", TBS_ST_ALREADY},    {"vob_obj_set_name", TBS_ST_PERMISSION},
                  {"vob_obj_find_eventh", TBS_ST_NOT_FOUND},  {"vob_event_change_comment", TBS_ST_FAILURE},
                  {"vob_obj_protect_sid", TBS_ST_INVALID_ARG}, {"vob_txn_end", TBS_ST_FAILURE}};
  for (const auto& f : failures) {
    SCOPED_TRACE(f.call);
    {
      CallLogScope log;
      CallLog::InjectFailure(f.call, Failing(f.code, std::string("failed: ") + f.call));
      type.apply(status, update);
    }
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(f.code));
    EXPECT_NE(std::string(status.messages().c_str()).find(std::string("failed: ") + f.call), std::string::npos);
    EXPECT_EQ(Name(priority), "Priority");
    EXPECT_EQ(Upper(priority), "5");
    EXPECT_EQ(CreationComment(priority), comment);
    EXPECT_EQ(Owner(priority), owner);
  }
  type.apply(status, update);
  ASSERT_TRUE(status.ok()) << status.messages().c_str();
  EXPECT_EQ(Name(priority), "Urgency");
  EXPECT_EQ(Upper(priority), "9");
  EXPECT_EQ(CreationComment(priority), "renamed");
  EXPECT_NE(Owner(priority), owner);
}

TEST_F(Updates, RefusedRedefinesStopTheApplyBeforeTheOtherSteps) {
  const vob_dbid_t priority = Priority();
  GCL_Status status;
  auto replica = RVL_ResolveName(status, "replica:original@\\public");
  ASSERT_TRUE(replica);
  RVL_ReplicaTypeUpdate host;
  host.set_info(RVL_ReplicaTypeInfo("original", "elsewhere"));
  host.set_comment("moved");
  RVL_AttributeTypeUpdate bad;
  bad.set_info(Rules("0"));  // its upper bound below the lower
  bad.set_comment("never");
  const struct {
    const char* name;
    const RVL_VobObject& object;
    const RVL_Update& update;
    const char* message;
  } cases[] = {
      {"replica", *replica, host, "not supported"},
      {"attribute type", RVL_AttributeType(status, Vob(), priority), bad, "above the upper bound"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string before = CreationComment(c.object.dbid());
    CallLogScope log;
    c.object.apply(status, c.update);
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
    EXPECT_NE(std::string(status.messages().c_str()).find(c.message), std::string::npos) << status.messages().c_str();
    EXPECT_TRUE(CallLog::Calls("vob_event_change_comment").empty());
    EXPECT_EQ(CreationComment(c.object.dbid()), before);
  }
  EXPECT_EQ(Upper(priority), "5");
}

// Who may change an object: its owner, its VOB's owner, a privileged user.
TEST_F(Updates, OnlyTheOwnerOrAPrivilegedUserMayChangeAnObject) {
  const auto run_as = [](const char* user) {
    plat::MachineProfile profile = plat::RealMachineInfo();
    profile.user_name = user;
    plat::SetMachineProfile(profile);
  };
  run_as("daemon");
  vob_dbid_t owned = 0;
  ASSERT_EQ(vob_mktype(repo.vob, VOB_MTYPE_LBTYPE, "OWNED", "made by daemon", &owned), 0);
  GCL_Status status;
  const RVL_LabelType type(status, Vob(), owned);
  const struct {
    const char* user;
    bool allowed;
  } cases[] = {{"nobody", false}, {"daemon", true}, {"root", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.user);
    run_as(c.user);
    RVL_LabelTypeUpdate update;
    update.set_comment(GCL_String((std::string("changed by ") + c.user).c_str()));
    update.set_occurs(VOB_OCCURS_VER_PER_BRANCH);
    type.apply(status, update);
    if (c.allowed) {
      EXPECT_TRUE(status.ok()) << status.messages().c_str();
      EXPECT_EQ(CreationComment(owned), std::string("changed by ") + c.user);
      continue;
    }
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_PERMISSION));
    EXPECT_NE(std::string(status.messages().c_str()).find("No permission to change \"lbtype:OWNED@\\public\""),
              std::string::npos)
        << status.messages().c_str();
    EXPECT_NE(std::string(status.messages().c_str()).find("daemon"), std::string::npos);
    EXPECT_EQ(CreationComment(owned), "made by daemon");
  }
  plat::SetMachineProfile(std::nullopt);
  std::uint32_t occurs = 0;
  EXPECT_EQ(vob_type_get_occurs(repo.vob, owned, &occurs), 0);
  EXPECT_EQ(occurs, VOB_OCCURS_VER_PER_BRANCH);
}

}  // namespace
