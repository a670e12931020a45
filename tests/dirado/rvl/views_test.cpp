// Views, view tags, view handles, VOBs with their managers and VOB tags.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "rgy.h"
#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "configspec.h"
#include "gcl_status.h"
#include "local/calllog.h"
#include "rvl_resolve.h"
#include "rvl_version.h"
#include "rvl_view.h"
#include "rvl_filesysobj.h"
#include "rvl_vob.h"
#include "rvl_vobmgr.h"
#include "rvl_vobtag.h"
#include "tbs.h"
#include "nlbd_port.h"
#include "platform/machine.h"
#include "tbs_oid.h"
#include "tbs_uuid.h"
#include "vob_attr.h"

namespace {

using client_local::CallLog;

using rv_test::Failing;

class Views : public rv_test::ViewTest {
 protected:
  // The temporary files left under the home.
  std::size_t TempFiles() const {
    const auto dir = home / "drives" / "c" / "tmp";
    if (!std::filesystem::exists(dir)) return 0;
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
  }
};

TEST_F(Views, TheConfigSpecComesBackExactlyAsWritten) {
  GCL_Status status;
  const RVL_View view = RVL_View::from_tag(status, GCL_String("v1"));
  ASSERT_TRUE(status.ok());
  EXPECT_STREQ(view.config_spec(status).c_str(), "element * CHECKEDOUT\nelement * \\main\\LATEST\n");
  const std::string spec =
      "# caf\xc3\xa9 rules\r\nelement * CHECKEDOUT\n\telement \"\\public\\my dir\\...\" REL1\nelement * \\main\\LATEST";
  ASSERT_TRUE(view.set_config_spec(status, GCL_String(spec.c_str())));
  EXPECT_TRUE(status.ok());
  EXPECT_STREQ(view.config_spec(status).c_str(), spec.c_str());
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(TempFiles(), 0u);
}

TEST_F(Views, AWrittenSpecIsTakenUpByTheView) {
  GCL_Status status;
  const RVL_View view = RVL_View::from_tag(status, GCL_String("v1"));
  ASSERT_TRUE(view.set_config_spec(status, GCL_String("element * REL1\nelement * \\main\\LATEST\n")));
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello 1\n");
}

TEST_F(Views, ASpecThatDoesNotParseChangesNothing) {
  GCL_Status status;
  const RVL_View view = RVL_View::from_tag(status, GCL_String("v1"));
  client_local::CallLogScope log;
  EXPECT_FALSE(view.set_config_spec(status, GCL_String("element * CHECKEDOUT\n\nelement * \\main\\ bad\n")));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
  EXPECT_NE(std::string(status.messages().c_str()).find("Syntax error on line 3, near column 11,"),
            std::string::npos)
      << status.messages().c_str();
  EXPECT_TRUE(CallLog::Calls("view_inval_view").empty());
  EXPECT_STREQ(view.config_spec(status).c_str(), CONFIGSPEC_DEFAULT);
  EXPECT_EQ(TempFiles(), 0u);
}

// An injected failure, and what the write and read must do about it.
struct WriteFault {
  const char* call;
  int status;
  bool set_spec_called;
};

TEST_F(Views, AFailedWriteKeepsItsFailureAndLeavesNoTemporaryFile) {
  GCL_Status found;
  const RVL_View view = RVL_View::from_tag(found, GCL_String("v1"));
  const WriteFault faults[] = {
      {"fileutl_tmpfile_ext", TBS_ST_FAILURE, false},
      {"fileutl_fclose", TBS_ST_NO_MEMORY, false},
      {"view_set_spec", TBS_ST_PERMISSION, true},
      {"view_inval_view", TBS_ST_FAILURE, true},
  };
  for (const WriteFault& fault : faults) {
    client_local::CallLogScope log;
    CallLog::InjectFailure(fault.call, Failing(fault.status, "injected"));
    GCL_Status status;
    EXPECT_FALSE(view.set_config_spec(status, GCL_String("element * REL1\n"))) << fault.call;
    EXPECT_NE(status.code(), 0u) << fault.call;
    if (std::string(fault.call) != "fileutl_tmpfile_ext") {
      EXPECT_EQ(status.code(), static_cast<std::uint32_t>(fault.status)) << fault.call;
    }
    EXPECT_EQ(!CallLog::Calls("view_set_spec").empty(), fault.set_spec_called) << fault.call;
    if (std::string(fault.call) == "view_set_spec") {
      EXPECT_TRUE(CallLog::Calls("view_inval_view").empty());
    }
    EXPECT_EQ(TempFiles(), 0u) << fault.call;
  }
}

TEST_F(Views, AFailedReadKeepsItsFailureAndLeavesNoTemporaryFile) {
  GCL_Status found;
  const RVL_View view = RVL_View::from_tag(found, GCL_String("v1"));
  const WriteFault faults[] = {
      {"fileutl_tmpfile_ext_binary", TBS_ST_FAILURE, false},
      {"view_get_config_spec", TBS_ST_FAILURE, false},
      {"strutl_read", TBS_ST_PERMISSION, false},
  };
  for (const WriteFault& fault : faults) {
    client_local::CallLogScope log;
    CallLog::InjectFailure(fault.call, Failing(fault.status));
    GCL_Status status;
    const GCL_String text = view.config_spec(status);
    EXPECT_FALSE(status.ok()) << fault.call;  // never "read, and empty"
    if (std::string(fault.call) != "fileutl_tmpfile_ext_binary") {
      EXPECT_EQ(status.code(), static_cast<std::uint32_t>(fault.status)) << fault.call;
    }
    EXPECT_EQ(text.length(), 0u);
    EXPECT_EQ(TempFiles(), 0u) << fault.call;
  }
  // A server failure prints the status's text onto the status.
  client_local::CallLogScope log;
  CallLog::InjectFailure("view_get_config_spec", Failing(TBS_ST_PERMISSION));
  GCL_Status status;
  view.config_spec(status);
  EXPECT_NE(std::string(status.messages().c_str()).find(tbs_strerror(TBS_ST_PERMISSION)), std::string::npos);
}

TEST_F(Views, ANullViewIsAnInternalError) {
  const RVL_View view;
  GCL_Status status;
  EXPECT_EQ(view.config_spec(status).length(), 0u);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  EXPECT_FALSE(view.set_config_spec(status, GCL_String("element * REL1\n")));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
}

TEST_F(Views, RepositoryViewHandlesAreFreedExactlyOnce) {
  const long before = view_live_handle_count();
  client_local::CallLogScope log;
  {
    GCL_Status status;
    const RVL_View view = RVL_View::from_tag(status, GCL_String("v1"));
    RVL_View copy = view;
    RVL_View another(copy);
    EXPECT_EQ(view_live_handle_count(), before + 1);
    const RVL_ViewHandle second = RVL_ViewHandle::from_tag(status, GCL_String("v1")).duplicate(status);
    EXPECT_EQ(view_live_handle_count(), before + 2);  // the original went with its temporary
    EXPECT_STREQ(second.tag().c_str(), "v1");
  }
  EXPECT_EQ(view_live_handle_count(), before);
  std::size_t freed_ok = 0;
  for (const auto& call : CallLog::Calls("view_free_handle")) freed_ok += call.status == 0;
  EXPECT_EQ(freed_ok, CallLog::Calls("view_free_handle").size());
  EXPECT_EQ(freed_ok, 3u);
  GCL_Status status;
  EXPECT_TRUE(RVL_View::from_tag(status, GCL_String("nope")).is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  EXPECT_EQ(view_live_handle_count(), before);
}

TEST_F(Views, StopAndStartAView) {
  GCL_Status status;
  const RVL_View view = RVL_View::from_tag(status, GCL_String("v1"));
  ASSERT_TRUE(view.register_tag(status)) << status.messages().c_str();
  ASSERT_TRUE(view.stop(status)) << status.messages().c_str();
  view_prop_t props;
  ASSERT_TRUE(view.properties(status, &props));
  EXPECT_EQ(props.active, 0);
  client_local::CallLogScope log;
  CallLog::InjectFailure("view_mfs_unregister_tag", Failing(TBS_ST_PERMISSION));
  EXPECT_FALSE(view.stop(status));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_PERMISSION));
  EXPECT_EQ(CallLog::Calls("view_server_exit").size(), 1u);  // the later steps still ran
  ASSERT_TRUE(view.set_comment(status, GCL_String("renamed \"quoted\" caf\xc3\xa9")));
  ASSERT_TRUE(view.properties(status, &props));
  EXPECT_EQ(props.comment, "renamed \"quoted\" caf\xc3\xa9");
}

TEST_F(Views, ViewTagsComeFromTheRegistry) {
  GCL_Status status;
  const RVL_ViewTag tag = RVL_ViewTag::from_name(status, GCL_String("v1"));
  ASSERT_TRUE(status.ok()) << status.messages().c_str();
  EXPECT_STREQ(tag.global_path().c_str(), "\\\\view\\v1");
  EXPECT_STREQ(tag.region().c_str(), "test");
  EXPECT_TRUE(tag.is_public());
  EXPECT_TRUE(tag.root_exists(status));
  EXPECT_FALSE(tag.is_snapshot(status));
  const RVL_ViewTag same = RVL_ViewTag::from_uuid(status, tag.uuid());
  ASSERT_TRUE(status.ok());
  EXPECT_TRUE(same == tag);
  const RVL_ViewTag by_path = RVL_ViewTag::of_path(status, GCL_String("\\\\view\\v1\\public\\src\\hello.c"));
  EXPECT_STREQ(by_path.name().c_str(), "v1");
  EXPECT_TRUE(RVL_ViewTag::from_name(status, GCL_String("nope")).is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  std::ostringstream out;
  tag.describe(out);
  EXPECT_NE(out.str().find("Global Path: \\\\view\\v1"), std::string::npos);
  std::filesystem::remove_all(File(""));
  EXPECT_FALSE(tag.root_exists(status));
}

TEST_F(Views, ViewPrivateFilesAndHijacks) {
  Write(File("public/src/mine.txt"), "mine\n");
  Write(File("public/src/util.c"), "by hand\n");
  GCL_Status status;
  EXPECT_TRUE(RVL_ViewPrivate(GCL_String("\\\\view\\v1\\public\\src\\mine.txt")).is_view_private(status));
  EXPECT_TRUE(RVL_ViewPrivate(GCL_String("\\\\view\\v1\\public\\src\\util.c")).is_hijacked(status));
  EXPECT_FALSE(RVL_ViewPrivate(GCL_String("\\\\view\\v1\\public\\src\\hello.c")).is_hijacked(status));
  view_xstat_t stat;
  EXPECT_FALSE(RVL_ViewPrivate(GCL_String("\\\\view\\v1\\public\\none")).xstat(status, &stat));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  GCL_Status root_status;
  const RVL_ViewRoot root(root_status);
  EXPECT_STREQ(root.of_tag(GCL_String("v1")).c_str(), "\\\\view\\v1");
}

TEST_F(Views, NamesResolveToTheHandleOfTheirKind) {
  Write(File("public/src/mine.txt"), "mine\n");
  const struct {
    const char* name;
    const std::type_info& kind;
  } cases[] = {
      {"viewtag:v1", typeid(RVL_ViewTag)},
      {"\\\\view\\v1", typeid(RVL_ViewTag)},
      {"view:v1", typeid(RVL_ViewHandle)},
      {"\\\\view", typeid(RVL_ViewRoot)},
      {"\\\\view\\v1\\public\\src\\mine.txt", typeid(RVL_ViewPrivate)},
      {"\\\\view\\v1\\public\\src\\hello.c", typeid(RVL_Version)},  // the view's version
      {"\\public\\src\\hello.c", typeid(RVL_Element)},
  };
  for (const auto& c : cases) {
    GCL_Status status;
    const auto handle = RVL_ResolveHandle(status, GCL_String(c.name));
    ASSERT_TRUE(handle) << c.name;
    EXPECT_TRUE(status.ok()) << c.name;
    EXPECT_EQ(typeid(*handle), c.kind) << c.name;
  }
  for (const char* unknown : {"viewtag:nosuch", "view:nosuch", "\\\\view\\nosuch", "nosuch"}) {
    GCL_Status status;
    EXPECT_FALSE(RVL_ResolveHandle(status, GCL_String(unknown))) << unknown;
    EXPECT_FALSE(status.ok()) << unknown;
  }
}

TEST_F(Views, EachManagerIsMadeOnceOnFirstUse) {
  const RVL_Vob rvl_vob(this->vob);
  std::ostringstream diagnostics;
  std::streambuf* previous = std::cerr.rdbuf(diagnostics.rdbuf());
  rvl_vob.attribute_manager();
  rvl_vob.label_manager();
  rvl_vob.branch_manager();
  rvl_vob.element_manager();
  rvl_vob.hyperlink_manager();
  const std::string first = diagnostics.str();
  rvl_vob.attribute_manager();
  rvl_vob.label_manager();
  RVL_Vob(rvl_vob).hyperlink_manager();  // the same body
  std::cerr.rdbuf(previous);
  EXPECT_EQ(diagnostics.str(), first);
  for (const char* kind : {"attribute_manager", "label_manager", "branch_manager", "element_manager",
                           "hyperlink_manager"}) {
    const std::string line = std::string("RVL_VobRep::") + kind + ": Assertion failure: m_" + kind + " != 0\n";
    const std::size_t at = first.find(line);
    EXPECT_NE(at, std::string::npos) << kind;
    EXPECT_EQ(first.find(line, at + 1), std::string::npos) << kind;
  }
}

TEST_F(Views, ManagersListMakeAndDeleteTypes) {
  const RVL_Vob rvl_vob(this->vob);
  std::streambuf* previous = std::cerr.rdbuf(nullptr);
  GCL_Status status;
  std::vector<GCL_String> names;
  ASSERT_TRUE(rvl_vob.label_manager().list_names(status, &names));
  std::vector<std::string> labels;
  for (const auto& name : names) labels.push_back(name.c_str());
  EXPECT_NE(std::find(labels.begin(), labels.end(), "REL1"), labels.end());
  const std::uint32_t rel2 = rvl_vob.label_manager().create(status, GCL_String("REL2"), GCL_String("second"));
  ASSERT_NE(rel2, 0u);
  EXPECT_EQ(rvl_vob.label_manager().create(status, GCL_String("REL2"), GCL_String("")), 0u);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_ALREADY));
  EXPECT_TRUE(rvl_vob.label_manager().remove(status, rel2));
  std::vector<std::uint32_t> types;
  ASSERT_TRUE(rvl_vob.label_manager().list(status, &types));
  EXPECT_EQ(std::find(types.begin(), types.end(), rel2), types.end());
  // A type in use stays; so does a predefined one; another kind is refused.
  vob_dbid_t rel1 = 0;
  for (std::uint32_t type : types) {
    char name[64];
    vob_obj_get_name(this->vob, type, name, sizeof name);
    if (std::string(name) == "REL1") rel1 = type;
  }
  ASSERT_NE(rel1, 0u);
  EXPECT_FALSE(rvl_vob.label_manager().remove(status, rel1));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_ALREADY));
  EXPECT_FALSE(rvl_vob.branch_manager().remove(status, rel1));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));
  const std::uint32_t kind = rvl_vob.attribute_manager().create(status, GCL_String("Owner"), GCL_String(""));
  EXPECT_NE(kind, 0u);
  EXPECT_NE(rvl_vob.element_manager().create(status, GCL_String("source_file"), GCL_String("")), 0u);
  EXPECT_NE(rvl_vob.branch_manager().create(status, GCL_String("fix"), GCL_String("")), 0u);
  const std::uint32_t link_type = rvl_vob.hyperlink_manager().create(status, GCL_String("Relates"), GCL_String(""));
  ASSERT_NE(link_type, 0u);
  const std::uint32_t link = rvl_vob.hyperlink_manager().link(status, GCL_String("Relates"), hello1, this->vob, hello2);
  ASSERT_NE(link, 0u) << status.messages().c_str();
  std::vector<std::uint32_t> links;
  ASSERT_TRUE(rvl_vob.hyperlink_manager().links_of(status, hello2, &links));
  EXPECT_EQ(links, (std::vector<std::uint32_t>{merge, link}));
  EXPECT_FALSE(rvl_vob.hyperlink_manager().remove(status, link_type));  // in use by the link
  EXPECT_TRUE(rvl_vob.hyperlink_manager().unlink(status, link));
  ASSERT_TRUE(rvl_vob.hyperlink_manager().links_of(status, hello2, &links));
  EXPECT_EQ(links, std::vector<std::uint32_t>{merge});
  EXPECT_TRUE(rvl_vob.hyperlink_manager().remove(status, link_type));
  EXPECT_EQ(vob_ob_open_cursor_count(), 0);
  std::cerr.rdbuf(previous);
}

TEST_F(Views, TheVobAndItsTag) {
  GCL_Status status;
  const RVL_Vob by_path = RVL_Vob::from_pathname(status, GCL_String("\\\\view\\v1\\public\\src\\hello.c"));
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(by_path.handle(), vob);
  EXPECT_EQ(RVL_Vob::from_pathname(status, GCL_String("\\public@@\\main")).handle(), vob);
  EXPECT_TRUE(RVL_Vob::from_pathname(status, GCL_String("relative\\name")).is_null());
  EXPECT_STREQ(by_path.mount_dir(status).c_str(), "\\public");
  EXPECT_FALSE(by_path.is_replicated(status));
  EXPECT_EQ(by_path.replica_oid(status).length(), 36u);
  EXPECT_FALSE(by_path.is_locked(status));
  ASSERT_TRUE(by_path.lock(status, GCL_String("maintenance")));
  EXPECT_TRUE(by_path.is_locked(status));
  ASSERT_TRUE(by_path.unlock(status));
  EXPECT_FALSE(by_path.is_pvob(status));
  ASSERT_TRUE(by_path.protect(status, GCL_String("S-1-22-1-4242"), GCL_String(""), false));
  EXPECT_STREQ(by_path.owner(status).c_str(), "S-1-22-1-4242");
  char owner[64], group[64];
  std::uint32_t mode = 0;
  ASSERT_EQ(vob_obj_get_protection(vob, hello, owner, sizeof owner, group, sizeof group, &mode), 0);
  EXPECT_STRNE(owner, "S-1-22-1-4242");  // only the VOB object
  ASSERT_TRUE(by_path.protect(status, GCL_String("S-1-22-1-77"), GCL_String("S-1-22-2-77"), true));
  ASSERT_EQ(vob_obj_get_protection(vob, hello, owner, sizeof owner, group, sizeof group, &mode), 0);
  EXPECT_STREQ(owner, "S-1-22-1-77");
  EXPECT_STREQ(group, "S-1-22-2-77");
  EXPECT_FALSE(by_path.protect(status, GCL_String("someone"), GCL_String(""), true));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
  EXPECT_STREQ(by_path.owner(status).c_str(), "S-1-22-1-77");
  std::vector<GCL_String> tags, uuids;
  ASSERT_TRUE(by_path.views(status, &tags, &uuids));
  ASSERT_EQ(tags.size(), 1u);  // v1 loaded its files; "builder" is no view
  EXPECT_STREQ(tags[0].c_str(), "v1");
  EXPECT_TRUE(RVL_ViewTag::from_name(status, GCL_String("v1")).uuid() == uuids[0]);
  EXPECT_EQ(vob_ob_open_cursor_count(), 0);
  vob_dbid_t object = 0;
  ASSERT_EQ(vob_get_vob_object(vob, &object), 0);
  tbs_oid_t oid;
  ASSERT_EQ(vob_obj_get_oid(vob, object, &oid), 0);
  char oid_text[64];
  ASSERT_EQ(tbs_oid_to_str(&oid, oid_text, sizeof oid_text), 0);
  EXPECT_EQ(RVL_Vob::from_oid(status, GCL_String(oid_text)).handle(), vob);
  EXPECT_TRUE(RVL_Vob::from_oid(status, GCL_String("not an oid")).is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
  EXPECT_TRUE(RVL_Vob::from_oid(status, GCL_String("00000000-0000-0000-0000-000000000001")).is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  std::ostringstream out;
  by_path.describe(out);
  EXPECT_NE(out.str().find("VOB replica oid: " + std::string(by_path.replica_oid(status).c_str())),
            std::string::npos)
      << out.str();
  // No tag entry for \public in this registry.
  EXPECT_TRUE(RVL_VobTag::from_name(status, GCL_String("\\public")).is_null());
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  const RVL_VobTag made = RVL_VobTag::make(GCL_String("\\public"), GCL_String("\\\\h\\c$\\s"), GCL_String("test"),
                                           GCL_String("ro,timeo=10,"), GCL_String("public"), GCL_String(""));
  RVL_VobMountOptions options;
  ASSERT_TRUE(made.mount_options(status, &options));
  EXPECT_FALSE(options.read_write);
  EXPECT_EQ(options.timeout, 10u);
  EXPECT_FALSE(made.is_mounted());
  EXPECT_FALSE(RVL_VobTag().mount(status));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
}

}  // namespace

namespace {

// A VOB tag of this host in the default region, with its storage.
class VobTags : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    plat::MachineProfile machine = plat::RealMachineInfo();
    machine.host_name = "alpha";
    machine.computer_name = "ALPHA";
    plat::SetMachineProfile(machine);
    std::filesystem::create_directories(home / "drives" / "c" / "store" / "public.vbs");
    ASSERT_EQ(nlbd_set_port("alpha", 7510), 0);
    tbs_uuid_t uuid;
    ASSERT_EQ(vob_get_uuid(vob, &uuid), 0);
    char uuid_text[TBS_UUID_STR_SIZE];
    tbs_uuid_to_str(&uuid, uuid_text, sizeof uuid_text);
    const std::string gpath = "\\\\alpha\\c$\\store\\public.vbs";
    rgy_entry_t tag = nullptr;
    ASSERT_EQ(rgy_create_entry(RGY_KIND_VOB_TAG, &tag), 0);
    for (const auto& [key, value] : {std::pair<int, std::string>{RGY_KEY_TAG, "\\public"},
                                     {RGY_KEY_GPATH, gpath},
                                     {RGY_KEY_HOST, "alpha"},
                                     {RGY_KEY_ACCESS, "public"},
                                     {RGY_KEY_MOUNT_OPTS, "timeo=10"},
                                     {RGY_KEY_UUID, uuid_text}})
      ASSERT_EQ(rgy_setstring_in_entry(tag, key, value.c_str()), 0);
    ASSERT_EQ(rgy_add_entry("test", tag), 0);
    rgy_delete_entry(tag);
    rgy_entry_t object = nullptr;
    ASSERT_EQ(rgy_create_entry(RGY_KIND_VOB_OBJECT, &object), 0);
    for (const auto& [key, value] : {std::pair<int, std::string>{RGY_KEY_UUID, uuid_text},
                                     {RGY_KEY_REPLICA_UUID, uuid_text},
                                     {RGY_KEY_HOST, "alpha"},
                                     {RGY_KEY_GPATH, gpath},
                                     {RGY_KEY_LOCAL_PATH, "C:\\store\\public.vbs"}})
      ASSERT_EQ(rgy_setstring_in_entry(object, key, value.c_str()), 0);
    ASSERT_EQ(rgy_add_entry(nullptr, object), 0);
    rgy_delete_entry(object);
  }
  void TearDown() override {
    plat::SetMachineProfile(std::nullopt);
    ViewTest::TearDown();
  }
};

TEST_F(VobTags, MountingGoesThroughTheEngineWithTheTagAlone) {
  GCL_Status status;
  const RVL_VobTag tag = RVL_VobTag::from_name(status, GCL_String("\\public"));
  ASSERT_TRUE(status.ok()) << status.messages().c_str();
  EXPECT_STREQ(tag.options_text().c_str(), "timeo=10");
  tbs_uuid_t uuid;
  ASSERT_EQ(vob_get_uuid(vob, &uuid), 0);
  char uuid_text[TBS_UUID_STR_SIZE];
  tbs_uuid_to_str(&uuid, uuid_text, sizeof uuid_text);
  EXPECT_TRUE(RVL_VobTag::from_uuid(status, GCL_String(uuid_text)) == tag);
  EXPECT_FALSE(tag.is_mounted());
  ASSERT_TRUE(tag.mount(status)) << status.messages().c_str();
  EXPECT_TRUE(tag.is_mounted());
  EXPECT_FALSE(tag.mount(status));  // the engine's refusal and messages reach the status
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
  EXPECT_NE(std::string(status.messages().c_str()).find("is already mounted"), std::string::npos)
      << status.messages().c_str();
  ASSERT_TRUE(tag.unmount(status)) << status.messages().c_str();
  EXPECT_FALSE(tag.is_mounted());
  std::ostringstream out;
  tag.describe(out);
  EXPECT_NE(out.str().find("Timeout:              10"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Mounted: FALSE"), std::string::npos) << out.str();
}

}  // namespace
