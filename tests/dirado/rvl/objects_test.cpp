// VOB objects: resolution to the exact class, wrong kinds, identity,
// display names, labels and the describe output.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <typeinfo>

#include "gcl_status.h"
#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "rvl_hyperlink.h"
#include "rvl_typeobj.h"
#include "rvl_infostg.h"
#include "rvl_namedobj.h"
#include "rvl_resolve.h"
#include "rvl_typeobj.h"
#include "rvl_version.h"
#include "tbs.h"

namespace {

using rv_test::Failing;

using client_local::CallLog;
using client_local::CallLogScope;
using rv_test::RepositoryTest;

class Objects : public RepositoryTest {
 protected:
  RVL_Vob Vob() const { return RVL_Vob(repo.vob); }
  std::string Describe(const RVL_VobObject& object) {
    std::ostringstream out;
    object.describe(out);
    return out.str();
  }
};

TEST_F(Objects, NamesResolveToTheirExactClass) {
  const std::string hlink = "hlink:Merge@" + std::to_string(repo.merge) + "@\\public";
  const struct {
    std::string name;
    const std::type_info& type;
  } cases[] = {
      {"\\public\\src\\hello.c", typeid(RVL_Element)},
      {"\\public\\src", typeid(RVL_Element)},
      {"\\public\\src\\hello.c@@\\main\\1", typeid(RVL_Version)},
      {"\\\\view\\dev_view\\public\\src\\hello.c", typeid(RVL_Version)},
      {"\\public\\src\\hello.c@@\\main\\dev", typeid(RVL_Branch)},
      {"lbtype:REL1@\\public", typeid(RVL_LabelType)},
      {"eltype:text_file@\\public", typeid(RVL_ElementType)},
      {"brtype:main@\\public", typeid(RVL_BranchType)},
      {"hltype:Merge@\\public", typeid(RVL_HyperlinkType)},
      {"replica:original@\\public", typeid(RVL_ReplicaType)},
      {"vob:\\public", typeid(RVL_NamedObj)},
      {hlink, typeid(RVL_Hyperlink)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GCL_Status status;
    std::unique_ptr<RVL_VobObject> object = RVL_ResolveName(status, GCL_String(c.name.c_str()));
    ASSERT_TRUE(object);
    EXPECT_TRUE(status.ok());
    EXPECT_EQ(typeid(*object), c.type);
    EXPECT_EQ(typeid(*object->body()) == typeid(RVL_VobObjectRep), false);
    EXPECT_EQ(object->text(), c.name.c_str());
  }
  // The file-system ones are file-system objects, the others are not.
  GCL_Status status;
  auto element = RVL_ResolveName(status, "\\public\\src\\hello.c");
  EXPECT_NE(dynamic_cast<RVL_FileSysObj*>(element.get()), nullptr);
  auto label = RVL_ResolveName(status, "lbtype:REL1@\\public");
  EXPECT_EQ(dynamic_cast<RVL_FileSysObj*>(label.get()), nullptr);
  EXPECT_EQ(label->mtype(status), VOB_MTYPE_LBTYPE);
}

TEST_F(Objects, UnknownNamesGiveTheRepositoryStatus) {
  GCL_Status status;
  EXPECT_FALSE(RVL_ResolveName(status, "\\public\\src\\nothing.c"));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  EXPECT_NE(std::string(status.messages().c_str()).find("Unable to find \"\\public\\src\\nothing.c\"."),
            std::string::npos)
      << status.messages();
  EXPECT_FALSE(RVL_ResolveName(status, GCL_String(std::string(2000, 'x').c_str())));
  EXPECT_NE(std::string(status.messages().c_str()).find("Name is too long"), std::string::npos);
  EXPECT_FALSE(RVL_ResolveName(status, "lbtype:bad name@\\public"));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
  EXPECT_NE(std::string(status.messages().c_str()).find("is not a valid object selector"), std::string::npos);

  // Construction by name in a VOB, for the base and file-system classes.
  const RVL_VobObject label(status, RVL_Vob(repo.vob), "lbtype:REL1");
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(label.mtype(status), VOB_MTYPE_LBTYPE);
  const RVL_FileSysObj file(status, RVL_Vob(repo.vob), "\\public\\src\\hello.c@@\\main\\dev");
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(file.dbid(), repo.dev);
  const RVL_NamedObj elsewhere(status, RVL_Vob(repo.vob), "lbtype:REL1@\\private");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
}

TEST_F(Objects, WrongKindsAtConstruction) {
  GCL_Status status;
  const RVL_Element element(status, Vob(), repo.hello1, VOB_MTYPE_FILE_ELEMENT);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));
  EXPECT_EQ(element.dbid(), repo.hello1);  // the handle still holds the body

  const RVL_Element right(status, Vob(), repo.hello, VOB_MTYPE_FILE_ELEMENT);
  EXPECT_TRUE(status.ok());

  vob_dbid_t label_type = 0;
  std::uint32_t mtype = 0;
  ASSERT_EQ(vob_obj_resolve(repo.vob, "lbtype:REL1", &label_type, &mtype), 0);
  const RVL_FileSysObj not_fs(status, Vob(), label_type, 0, true);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FS_OBJECT));
  for (vob_dbid_t fs : {repo.hello, repo.src, repo.hello1, repo.dev}) {
    const RVL_FileSysObj ok(status, Vob(), fs, 0, true);
    EXPECT_TRUE(status.ok()) << fs;
  }
  {
    CallLogScope log;
    const RVL_FileSysObj unchecked(status, Vob(), label_type);
    EXPECT_TRUE(status.ok());
    EXPECT_TRUE(CallLog::Calls().empty());  // nothing asked without checking
  }

  const RVL_Element by_version_name(status, Vob(), "\\public\\src\\hello.c@@\\main\\1");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));
  EXPECT_FALSE(by_version_name.has_body());
  const RVL_Branch by_element_name(status, Vob(), "\\public\\src\\hello.c");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));
  const RVL_Version by_element(status, Vob(), "\\public\\src\\hello.c@@");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));
}

TEST_F(Objects, NullObjectsAndEquality) {
  GCL_Status status;
  const RVL_VobObject null_a(status, Vob(), 0), null_b(status, Vob(), 0);
  EXPECT_TRUE(null_a.is_null());
  EXPECT_TRUE(null_a == null_b);
  const RVL_Element a(status, Vob(), repo.hello), b(status, RVL_Vob(repo.vob), repo.hello);
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a == null_a);
  RVL_Element c = a;
  c.reset();
  EXPECT_TRUE(a.is_null());  // reset works on the shared body
  EXPECT_EQ(c.dbid(), 0u);
}

TEST_F(Objects, TheOidIsReadOnceAndTheMetaTypeEachTime) {
  GCL_Status status;
  const RVL_Element element(status, Vob(), repo.hello);
  CallLogScope log;
  const RVL_Oid first = element.oid(status);
  const RVL_Oid second = element.oid(status);
  EXPECT_FALSE(first.is_null());
  EXPECT_EQ(first, second);
  EXPECT_EQ(CallLog::Calls("vob_obj_get_oid").size(), 1u);
  element.mtype(status);
  element.mtype(status);
  EXPECT_EQ(CallLog::Calls("vob_obj_get_mtype").size(), 2u);
  EXPECT_EQ(element.dbid_from_oid(status, first), repo.hello);
  EXPECT_EQ(element.mtype_string(status), "file element");
}

TEST_F(Objects, AFailedOidFetchKeepsNothing) {
  GCL_Status status;
  const RVL_Element element(status, Vob(), repo.hello);
  CallLogScope log;
  CallLog::InjectFailure("vob_obj_get_oid", Failing(TBS_ST_FAILURE, "no oid today"));
  EXPECT_TRUE(element.oid(status).is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  EXPECT_NE(std::string(status.messages().c_str()).find("no oid today"), std::string::npos);
  CallLog::ClearFailures();
  EXPECT_FALSE(element.oid(status).is_null());
  EXPECT_TRUE(status.ok());
}

TEST_F(Objects, DisplayNamesAndTheirFallbacks) {
  GCL_Status status;
  EXPECT_EQ(RVL_Element(status, Vob(), repo.hello).display_name(status), "\\public\\src\\hello.c@@");
  EXPECT_EQ(RVL_Version(status, Vob(), repo.hello1).display_name(status), "\\public\\src\\hello.c@@\\main\\1");
  EXPECT_EQ(RVL_Branch(status, Vob(), repo.dev).display_name(status), "\\public\\src\\hello.c@@\\main\\dev");
  EXPECT_EQ(RVL_NamedObj(status, Vob(), "lbtype:REL1").display_name(status), "lbtype:REL1@\\public");
  const std::string hlink_name = "Merge@" + std::to_string(repo.merge) + "@\\public";
  EXPECT_EQ(RVL_Hyperlink(status, Vob(), repo.merge).display_name(status), hlink_name.c_str());
  EXPECT_EQ(RVL_VobObject(status, Vob(), repo.hello).display_name(status), std::to_string(repo.hello).c_str());

  CallLogScope log;
  CallLog::InjectFailure("vob_obj_to_pname_flags", Failing(TBS_ST_FAILURE));
  EXPECT_EQ(RVL_Element(status, Vob(), repo.hello).display_name(status), std::to_string(repo.hello).c_str());
  CallLog::InjectFailure("vob_obj_get_selector", Failing(TBS_ST_FAILURE));
  const RVL_NamedObj label(status, Vob(), "lbtype:REL1");
  EXPECT_EQ(label.display_name(status), std::to_string(label.dbid()).c_str());
  CallLog::InjectFailure("vob_obj_get_name", Failing(TBS_ST_FAILURE));
  EXPECT_EQ(label.display_form_name(status), "<name not available>");
}

TEST_F(Objects, PathnamesAndParents) {
  GCL_Status status;
  const RVL_Version version(status, Vob(), repo.hello1);
  EXPECT_EQ(version.pathname(status, true), "\\public\\src\\hello.c");
  const RVL_Element element(status, Vob(), "\\public\\src\\hello.c");
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(element.parent_directory(status), "\\public\\src");
  EXPECT_FALSE(element.is_directory(status));
  EXPECT_EQ(element.element_type(status).name(status), "text_file");
  EXPECT_EQ(RVL_Branch(status, Vob(), repo.dev).branch_type(status).name(status), "dev");
}

TEST_F(Objects, BranchAndVersionNavigation) {
  GCL_Status status;
  const RVL_Branch dev(status, Vob(), repo.dev);
  EXPECT_EQ(dev.element(status).dbid(), repo.hello);
  EXPECT_EQ(dev.latest_version(status).dbid(), repo.dev1);
  EXPECT_EQ(dev.sprouted_from(status).dbid(), repo.hello1);
  const RVL_Branch main_branch(status, Vob(), repo.main_branch);
  EXPECT_TRUE(main_branch.sprouted_from(status).is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  const RVL_Version v2(status, Vob(), repo.hello2);
  EXPECT_EQ(v2.predecessor(status).dbid(), repo.hello1);
  EXPECT_EQ(v2.branch(status).dbid(), repo.main_branch);
  EXPECT_EQ(v2.element(status).dbid(), repo.hello);
  EXPECT_EQ(v2.merged_from(status).dbid(), repo.dev0);
  EXPECT_EQ(v2.version_id(status), "\\main\\2");
  const RVL_Element element(status, Vob(), repo.hello);
  EXPECT_EQ(RVL_Version(status, element, "\\main\\REL1").dbid(), repo.hello1);
  EXPECT_EQ(RVL_Version::view_version(status, element, "any_view").dbid(), repo.hello2);
}

TEST_F(Objects, DroppingALabelTheVersionLacksChangesNothing) {
  GCL_Status status;
  const RVL_Version v2(status, Vob(), repo.hello2);
  {
    CallLogScope log;
    v2.drop_label(status, "REL1");
    EXPECT_EQ(status.code(), 1u);
    EXPECT_EQ(CallLog::Calls("vob_ver_has_label").size(), 1u);
    EXPECT_TRUE(CallLog::Calls("vob_ver_drop_label").empty());
  }
  const RVL_Version v1(status, Vob(), repo.hello1);
  ASSERT_EQ(v1.labels(status).size(), 1u);
  EXPECT_EQ(v1.labels(status)[0], "REL1");
  {
    CallLogScope log;
    CallLog::InjectFailure("vob_ver_has_label", Failing(TBS_ST_FAILURE));
    v1.drop_label(status, "REL1");
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
    EXPECT_TRUE(CallLog::Calls("vob_ver_drop_label").empty());
  }
  v1.drop_label(status, "REL1");
  EXPECT_TRUE(status.ok());
  EXPECT_TRUE(v1.labels(status).empty());
  v2.add_label(status, "REL1");
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(v2.labels(status).size(), 1u);
  v1.add_label(status, "REL1");  // one version per element carries a label
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_ALREADY));
}

TEST_F(Objects, LocksFlagsAndEvents) {
  GCL_Status status;
  const RVL_NamedObj label(status, Vob(), "lbtype:REL1");
  EXPECT_FALSE(label.is_predefined(status));
  EXPECT_TRUE(RVL_NamedObj(status, Vob(), "lbtype:LATEST").is_predefined(status));
  EXPECT_FALSE(label.is_obsolete(status));
  {
    RVL_InfoStg<vob_lock_info_s> info;
    label.lock_info(status, info);
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
    EXPECT_EQ(info.record().locked, 0);
  }
  label.lock(status, "frozen");
  ASSERT_TRUE(status.ok());
  {
    RVL_InfoStg<vob_lock_info_s> info;
    label.lock_info(status, info);
    ASSERT_TRUE(status.ok());
    EXPECT_EQ(info.record().locked, 1);
    EXPECT_STREQ(info.record().comment, "frozen");
  }
  label.lock(status, "again");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_ALREADY));
  label.unlock(status);
  EXPECT_TRUE(status.ok());

  const RVL_Version v1(status, Vob(), repo.hello1);
  const auto events = v1.event_history(status);
  ASSERT_TRUE(status.ok());
  ASSERT_GE(events.size(), 3u);
  EXPECT_STREQ(events[0].record().kind, "checkout version");
  EXPECT_STREQ(events[0].record().comment, "edit");
  v1.change_event_comment(status, events[0], "new words");
  ASSERT_TRUE(status.ok());
  RVL_InfoStg<vob_event_info_s> creation;
  v1.creation_event(status, creation);
  ASSERT_TRUE(status.ok());
  EXPECT_STREQ(creation.record().comment, "new words");
}

TEST_F(Objects, DescribeWritesEachClassPart) {
  GCL_Status status;
  const std::string element = Describe(RVL_Element(status, Vob(), repo.hello));
  for (const char* line : {"Reference Count: 1\n", "Vob that contains this object:\n", "Tag: \\public\n",
                           "Creation Event:\n", "Comment: greeting\n", "Group: ", "OID:  ",
                           "Pathname: \\public\\src\\hello.c@@\n", "Element Type text_file\n",
                           "Is Directory: FALSE\n"}) {
    EXPECT_NE(element.find(line), std::string::npos) << line << "\n" << element;
  }
  EXPECT_NE(element.find("DBID: " + std::to_string(repo.hello) + "\n"), std::string::npos);
  EXPECT_NE(Describe(RVL_Element(status, Vob(), repo.src)).find("Is Directory: TRUE\n"), std::string::npos);
  EXPECT_NE(Describe(RVL_NamedObj(status, Vob(), "lbtype:REL1")).find("Name: REL1\n"), std::string::npos);
  const std::string hlink = Describe(RVL_Hyperlink(status, Vob(), repo.merge));
  EXPECT_NE(hlink.find("Type: Merge\n"), std::string::npos) << hlink;
  EXPECT_NE(hlink.find("To: \\public\\src\\hello.c@@\\main\\2\n"), std::string::npos) << hlink;

  CallLogScope log;
  CallLog::InjectFailure("vob_obj_to_pname_flags", Failing(TBS_ST_FAILURE, "no path\n"));
  CallLog::InjectFailure("vob_obj_find_eventh", Failing(TBS_ST_NOT_FOUND));
  CallLog::InjectFailure("vob_obj_get_type", Failing(TBS_ST_FAILURE));
  CallLog::InjectFailure("vob_elem_is_directory", Failing(TBS_ST_FAILURE));
  const std::string failed = Describe(RVL_Element(status, Vob(), repo.hello));
  for (const char* line : {"ERROR: Failed to get pathname.", "no path", "Could not get creation event.\n",
                           "ERROR: Failed to get type .", "ERROR: Failed to get is_directory."}) {
    EXPECT_NE(failed.find(line), std::string::npos) << line << "\n" << failed;
  }
  CallLog::InjectFailure("vob_obj_get_name", Failing(TBS_ST_FAILURE));
  EXPECT_NE(Describe(RVL_NamedObj(status, Vob(), repo.merge, RVL_VobObjectRep::Resolved{0}, GCL_String()))
                .find("ERROR: Failed to get name."),
            std::string::npos);
  EXPECT_NE(Describe(RVL_VobObject()).find("Vob Object is currently NULL"), std::string::npos);
}

TEST_F(Objects, OperationsOnANullHandleAreInternalErrors) {
  GCL_Status status;
  const RVL_Version none;
  EXPECT_TRUE(none.oid(status).is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  none.checkin(status, "x");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  const RVL_Version zero(status, Vob(), 0);
  zero.reserve(status);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  const RVL_Hyperlink no_link(status, Vob(), 0);
  EXPECT_EQ(no_link.info(status), nullptr);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
}

}  // namespace
