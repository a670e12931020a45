// Mounting and unmounting VOB tags: lookups, storage checks, the prefix map,
// option composition, failures, and mounts on several threads at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "imsg_verbosity.h"
#include "mount_fixture.h"
#include "viewvob/mount/mntopts.h"
#include "rvmount/mntrpc.h"
#include "vob_utl_mount.h"

namespace mount_test {
namespace {

using client_local::CallLog;
using client_local::CallLogScope;
using client_local::Failure;
using PrefixEntries = std::vector<std::pair<std::string, int>>;

class MountEngine : public MountFixture {
 protected:
  bool Has(const Message& message) {
    const auto messages = capture->Messages();
    return std::find(messages.begin(), messages.end(), message) != messages.end();
  }
};

TEST_F(MountEngine, MountThenUnmountLeavesNothingBehind) {
  AddVob({"\\pub", "public", "", "pub.vbs", 1});
  EXPECT_FALSE(vob_utl_is_mounted_vob_pname("\\pub"));
  ASSERT_EQ(mntrpc_mount_tag("\\pub", nullptr, nullptr), 0) << capture->Text();
  EXPECT_EQ(capture->Messages(), (std::vector<Message>{{IMSG_NOTICE, "Mounting RVFS filesystem \\pub.\n"}}));
  EXPECT_TRUE(vob_utl_is_mounted_vob_pname("\\pub"));
  EXPECT_EQ(PrefixMap(), (PrefixEntries{{GlobalPath("pub.vbs"), 1}}));
  capture->Clear();
  ASSERT_EQ(mntrpc_umount_tag("\\pub", nullptr), 0) << capture->Text();
  EXPECT_EQ(capture->Messages(), (std::vector<Message>{{IMSG_NOTICE, "Unmounting RVFS filesystem \\pub.\n"}}));
  EXPECT_TRUE(Mounted().empty());
  EXPECT_TRUE(PrefixMap().empty());
  capture->Clear();
  EXPECT_EQ(mntrpc_umount_tag("\\pub", ""), 0);
  EXPECT_EQ(capture->Messages(), (std::vector<Message>{{IMSG_NOTICE, "\\pub is not currently mounted.\n"}}));
}

TEST_F(MountEngine, AnAlreadyMountedTagIsANoticeAndAFailure) {
  AddVob({"\\pub", "public", "", "pub.vbs", 1});
  ASSERT_EQ(mntrpc_mount_tag("\\pub", "", ""), 0);
  capture->Clear();
  client_local::ClearMfsRequests();
  EXPECT_EQ(mntrpc_mount_tag("\\pub", "", ""), TBS_ST_FAILURE);
  EXPECT_EQ(capture->Messages(), (std::vector<Message>{{IMSG_NOTICE, "\\pub is already mounted.\n"}}));
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(PrefixMap(), (PrefixEntries{{GlobalPath("pub.vbs"), 1}}));
}

TEST_F(MountEngine, DuplicateAndUnknownTagsMountNothing) {
  AddVob({"\\pub", "public", "", "pub.vbs", 1});
  DuplicateTag("\\pub");
  EXPECT_EQ(mntrpc_mount_tag("\\pub", "", ""), TBS_ST_FAILURE);
  EXPECT_EQ(capture->Messages(), (std::vector<Message>{{IMSG_ERROR, "An unexpected duplicate VOB tag was found\n"},
                                                       {IMSG_ERROR_CONT, "for \"\\pub\" within the \"lab\" region.\n"}}));
  capture->Clear();
  EXPECT_EQ(mntrpc_umount_tag("\\pub", ""), TBS_ST_FAILURE);
  EXPECT_EQ(capture->Messages().size(), 2u);
  capture->Clear();
  EXPECT_EQ(mntrpc_mount_tag("\\nosuch", "", ""), TBS_ST_FAILURE);
  EXPECT_EQ(capture->Messages(), (std::vector<Message>{{IMSG_ERROR, "\\nosuch is not a registered VOB tag.\n"}}));
  EXPECT_TRUE(Requests().empty());
  EXPECT_TRUE(PrefixMap().empty());
}

TEST_F(MountEngine, AnUnknownTagIsStillUnmountedByPathnameWithTheNullIdentifier) {
  AddVob({"\\pub", "public", "", "pub.vbs", 1});
  ASSERT_EQ(mntrpc_mount_tag("\\pub", "", ""), 0);
  Sql("DELETE FROM rgy_entries WHERE kind = 1");
  capture->Clear();
  client_local::ClearMfsRequests();
  EXPECT_EQ(mntrpc_umount_tag("\\pub", ""), 0);
  EXPECT_EQ(capture->Messages(), (std::vector<Message>{{IMSG_ERROR, "\\pub is not a registered VOB tag.\n"},
                                                       {IMSG_NOTICE, "Unmounting RVFS filesystem \\pub.\n"}}));
  ASSERT_EQ(Requests().size(), 1u);
  const auto request = Requests().front();
  EXPECT_EQ(request.header.op, 37u);
  EXPECT_EQ(TextAt(request, Data(request), 0), "\\pub");
  EXPECT_EQ(BytesAt(Data(request), 12, 16), std::vector<std::uint8_t>(16, 0));
  EXPECT_TRUE(Mounted().empty());
  // Neither registered nor mounted: nothing to do, and a failure.
  capture->Clear();
  EXPECT_EQ(mntrpc_umount_tag("\\pub", ""), TBS_ST_FAILURE);
  EXPECT_EQ(capture->Messages(), (std::vector<Message>{{IMSG_ERROR, "\\pub is not a registered VOB tag.\n"},
                                                       {IMSG_NOTICE, "\\pub is not currently mounted.\n"}}));
}

TEST_F(MountEngine, StorageProblemsAreReportedAndRegisterNothing) {
  struct Case {
    VobSetup vob;
    int status;
    std::vector<Message> messages;
    bool file_instead_of_dir;
  };
  const std::vector<Case> cases = {
      {{"\\nogpath", "public", "", "", 1}, TBS_ST_NOT_FOUND,
       {{IMSG_ERROR, "The VOB storage directory \"<no-gpath>\" was not found.\n"}}, false},
      {{"\\gone", "public", "", "gone.vbs", 2, false}, TBS_ST_NOT_FOUND,
       {{IMSG_ERROR, "The VOB storage directory \"" + GlobalPath("gone.vbs") + "\" was not found.\n"}}, false},
      {{"\\privfile", "private", "", "privfile.vbs", 3, false}, TBS_ST_PERMISSION,
       {{IMSG_ERROR, "Permission to mount the VOB tag \"\\privfile\"\n"},
        {IMSG_ERROR_CONT, "was denied. \"" + GlobalPath("privfile.vbs") + "\" is not a directory.\n"}},
       true},
      // A tag whose access cannot be read is private.
      {{"\\noaccess", "", "", "noaccess.vbs", 4, false}, TBS_ST_PERMISSION,
       {{IMSG_ERROR, "Permission to mount the VOB tag \"\\noaccess\"\n"},
        {IMSG_ERROR_CONT, "was denied. \"" + GlobalPath("noaccess.vbs") + "\" is not a directory.\n"}},
       true},
      // A public tag's storage only has to exist.
      {{"\\pubfile", "public", "", "pubfile.vbs", 5, false}, TBS_ST_OK,
       {{IMSG_NOTICE, "Mounting RVFS filesystem \\pubfile.\n"}}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.vob.tag);
    AddVob(c.vob);
    if (c.file_instead_of_dir) {
      fs::create_directories(HostDir(""));
      std::ofstream(HostDir(c.vob.dir)) << "not a directory";
    }
    capture->Clear();
    client_local::ClearMfsRequests();
    EXPECT_EQ(mntrpc_mount_tag(c.vob.tag.c_str(), "", ""), c.status);
    EXPECT_EQ(capture->Messages(), c.messages);
    EXPECT_EQ(Requests().size(), c.status == 0 ? 1u : 0u);
    EXPECT_EQ(PrefixMap().size(), c.status == 0 ? 1u : 0u);
    if (c.status == 0) mntrpc_umount_tag(c.vob.tag.c_str(), "");
  }
}

TEST_F(MountEngine, ADriverFailureLeavesThePrefixMapAsItWas) {
  fs::create_directories(HostDir("pools/a"));
  AddVob({"\\pub", "public", "poolmap=a:\\\\hosta\\c$\\stg\\pools\\a\\", "pub.vbs", 1});
  // Another user of the storage registered it already.
  ASSERT_EQ(ntpfxmap_register(GlobalPath("pub.vbs").c_str()), 0);
  const auto before = PrefixMap();
  {
    CallLogScope scope;
    CallLog::InjectFailure("view_mfs_ioctl", Failure{TBS_ST_FAILURE, {}, -1});
    EXPECT_EQ(mntrpc_mount_tag("\\pub", "", ""), TBS_ST_FAILURE);
  }
  EXPECT_EQ(PrefixMap(), before);
  EXPECT_TRUE(Has({IMSG_ERROR, "Unable to mount: General failure\n"})) << capture->Text();
  EXPECT_TRUE(Mounted().empty());
}

TEST_F(MountEngine, AFailureHalfwayUndoesOnlyWhatThisCallRegistered) {
  fs::create_directories(HostDir("pools/a"));
  // The second pool lies on another machine: registered, but not convertible.
  AddVob({"\\pub", "public",
          "poolmap=a:\\\\hosta\\c$\\stg\\pools\\a|b:\\\\other\\c$\\pools\\b/", "pub.vbs", 1});
  ASSERT_EQ(ntpfxmap_register("\\\\hosta\\c$\\stg\\pools\\a"), 0);
  EXPECT_EQ(mntrpc_mount_tag("\\pub", "", ""), TBS_ST_PNAME_CONVERSION);
  EXPECT_EQ(PrefixMap(), (PrefixEntries{{"\\\\hosta\\c$\\stg\\pools\\a", 1}}));
  EXPECT_TRUE(Has({IMSG_ERROR, "VOB tag entry does not contain a required key.\n"})) << capture->Text();
  EXPECT_TRUE(Requests().empty());
}

TEST_F(MountEngine, CallFailuresEndWithAStatusAndSendNoRequest) {
  AddVob({"\\priv", "private", "", "priv.vbs", 1});
  struct Case {
    const char* call;
    int times;
    const char* flags;
    int status;
  };
  const Case cases[] = {
      {"rgy_getstring_from_entry", 1, "", TBS_ST_NOT_FOUND},  // the read of key 10
      {"credutl_is_privileged", -1, "", TBS_ST_NO_ACCESS},
      {"strutl_replace_substr", -1, " -a ", TBS_ST_NO_MEMORY},
      {"rgy_get_default_region", -1, "", TBS_ST_NOT_FOUND},
      {"ntpfxmap_convert", -1, "", TBS_ST_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    capture->Clear();
    {
      CallLogScope scope;
      CallLog::InjectFailure(c.call, Failure{c.status == TBS_ST_NOT_FOUND && std::string(c.call) == "ntpfxmap_convert"
                                                 ? TBS_ST_PNAME_CONVERSION
                                                 : c.status,
                                             {}, c.times});
      EXPECT_EQ(mntrpc_mount_tag("\\priv", "", c.flags), c.status);
    }
    EXPECT_FALSE(capture->Messages().empty());
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(PrefixMap().empty());
  }
}

TEST_F(MountEngine, AnUnmountThatCannotNameTheVobSendsNothing) {
  AddVob({"\\priv", "private", "", "priv.vbs", 1});
  ASSERT_EQ(mntrpc_mount_tag("\\priv", "", ""), 0);
  client_local::ClearMfsRequests();
  {
    CallLogScope scope;
    CallLog::InjectFailure("credutl_is_privileged", Failure{TBS_ST_NO_ACCESS, {}, -1});
    EXPECT_EQ(mntrpc_umount_tag("\\priv", ""), TBS_ST_NO_ACCESS);
  }
  Sql("UPDATE rgy_fields SET value = 'garbage' WHERE key = 16");
  capture->Clear();
  EXPECT_EQ(mntrpc_umount_tag("\\priv", ""), TBS_ST_FAILURE);
  EXPECT_TRUE(Has({IMSG_ERROR, "unable to determine VOB identifier\n"})) << capture->Text();
  Sql("DELETE FROM rgy_fields WHERE key = 16");
  capture->Clear();
  EXPECT_EQ(mntrpc_umount_tag("\\priv", ""), TBS_ST_NOT_FOUND);
  EXPECT_TRUE(Has({IMSG_ERROR, "VOB tag entry does not contain a required key.\n"})) << capture->Text();
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(Mounted(), std::vector<std::string>{"\\priv"});
}

TEST_F(MountEngine, AMountWithoutTheVobsUuidSendsNothing) {
  AddVob({"\\pub", "public", "", "pub.vbs", 1});
  Sql("DELETE FROM rgy_fields WHERE key = 16 AND entry IN (SELECT id FROM rgy_entries WHERE kind = 1)");
  EXPECT_EQ(mntrpc_mount_tag("\\pub", "", ""), TBS_ST_NOT_FOUND);
  EXPECT_EQ(capture->Messages(),
            (std::vector<Message>{{IMSG_ERROR, "VOB tag entry does not contain a required key.\n"}}));
  Sql("INSERT INTO rgy_fields (entry, key, value) SELECT id, 16, 'garbage' FROM rgy_entries WHERE kind = 1");
  capture->Clear();
  EXPECT_EQ(mntrpc_mount_tag("\\pub", "", ""), TBS_ST_FAILURE);
  EXPECT_TRUE(Has({IMSG_ERROR, "uuid option value is not valid\n"})) << capture->Text();
  EXPECT_TRUE(Has({IMSG_ERROR, "Unable to mount: General failure\n"})) << capture->Text();
  EXPECT_TRUE(Requests().empty());
  EXPECT_TRUE(PrefixMap().empty());
}

TEST_F(MountEngine, UnmountAllAlsoTakesPathnamesNoLongerRegistered) {
  AddVob({"\\a", "public", "", "a.vbs", 1});
  AddVob({"\\b", "public", "", "b.vbs", 2});
  ASSERT_EQ(mntrpc_mount_tag("", "", " -a "), 0);
  Sql("DELETE FROM rgy_entries WHERE id IN (SELECT entry FROM rgy_fields WHERE key = 10 AND value = '\\b')");
  capture->Clear();
  EXPECT_EQ(mntrpc_umount_tag("", " -a "), 0) << capture->Text();
  EXPECT_TRUE(Has({IMSG_ERROR, "\\b is not a registered VOB tag.\n"})) << capture->Text();
  EXPECT_TRUE(Mounted().empty());
  // \b's storage was never unregistered: its tag entry is gone.
  EXPECT_EQ(PrefixMap(), (PrefixEntries{{GlobalPath("b.vbs"), 1}}));
}

TEST_F(MountEngine, PrivateVobsGetNosuidAndPublicOnesTheirOptionsUnchanged) {
  struct Case {
    const char* access;
    const char* registered;
    const char* caller;
    bool privileged;
    const char* expected;
  };
  const Case cases[] = {
      {"private", "", "", false, "nosuid"},
      {"private", "ro", "", false, "ro,nosuid"},
      {"private", "ro,suid", "", false, "ro,suid"},
      {"private", "nosuid", "", false, "nosuid"},
      {"public", "ro", "", false, "ro"},
      {"public", "", "", false, ""},
      {"private", "ro", "soft", false, "ro,nosuid"},  // an unprivileged caller's options are not used
      {"private", "ro", "soft", true, "soft"},
      {"private", "ro", "", true, "ro,nosuid"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.access) + " [" + c.registered + "] [" + c.caller + "]");
    plat::MachineProfile profile = plat::MachineInfo();
    profile.user_name = c.privileged ? "root" : "alice";
    plat::SetMachineProfile(profile);
    rgy_entry_t entry = nullptr;
    ASSERT_EQ(rgy_create_entry(RGY_KIND_VOB_TAG, &entry), 0);
    rgy_setstring_in_entry(entry, RGY_KEY_MOUNT_OPTS, c.registered);
    std::string options;
    EXPECT_EQ(rvmount::ComposeMountOptions(entry, "\\t", kRegion, std::string(c.access) == "public", c.caller,
                                           &options),
              0);
    EXPECT_EQ(options, c.expected);
    rgy_delete_entry(entry);
  }
}

TEST_F(MountEngine, OptionsAreNeverCut) {
  // Room for the registered options, but not for ",nosuid" after them.
  const std::string long_options = "ro" + std::string(1023 - 2 - 3, ',') + "rw";
  AddVob({"\\priv", "private", long_options.substr(0, 1020), "priv.vbs", 1});
  EXPECT_EQ(mntrpc_mount_tag("\\priv", "", ""), TBS_ST_FAILURE);
  EXPECT_TRUE(Requests().empty());
  EXPECT_TRUE(PrefixMap().empty());
  EXPECT_NE(capture->Text().find("longer than 1023 characters"), std::string::npos) << capture->Text();
  // Options that fit alone but not after the UUID are refused too.
  AddVob({"\\pub", "public", std::string(1000, ','), "pub.vbs", 2});
  capture->Clear();
  EXPECT_EQ(mntrpc_mount_tag("\\pub", "", ""), TBS_ST_FAILURE);
  EXPECT_TRUE(Requests().empty());
  EXPECT_NE(capture->Text().find("Unable to mount: General failure"), std::string::npos) << capture->Text();
}

TEST_F(MountEngine, LongAndUnusualNamesFitOrFailCleanly) {
  const std::string part(120, 'x');
  const std::string dir = "d\xC3\xA9j\xC3\xA0 \"vu\"\\" + part + "\\" + part + "\\" + part + ".vbs";
  const std::string tag = "\\t\xC3\xA9g 'q' " + std::string(900, 'y');
  AddVob({tag, "public", "", dir, 1});
  EXPECT_EQ(mntrpc_mount_tag(tag.c_str(), "", ""), 0) << capture->Text();
  EXPECT_EQ(Mounted(), std::vector<std::string>{tag});
  // A tag longer than the registry's field buffer cannot be read: a clean failure.
  const std::string huge = "\\" + std::string(1100, 'z');
  AddVob({huge, "public", "", "huge.vbs", 2});
  capture->Clear();
  EXPECT_EQ(mntrpc_mount_tag(huge.c_str(), "", ""), TBS_ST_NOT_FOUND);
  EXPECT_TRUE(Has({IMSG_ERROR, "VOB tag entry does not contain a required key.\n"})) << capture->Text();
  EXPECT_EQ(mntrpc_umount_tag(tag.c_str(), ""), 0);
  EXPECT_TRUE(PrefixMap().empty());
}

TEST_F(MountEngine, MountAllTakesPublicTagsWithoutNoauto) {
  AddVob({"\\a", "public", "", "a.vbs", 1});
  AddVob({"\\b", "public", "noauto", "b.vbs", 2});
  AddVob({"\\c", "private", "", "c.vbs", 3});
  AddVob({"\\d", "public", "ro", "d.vbs", 4});
  EXPECT_EQ(mntrpc_mount_tag("", "", " -a "), 0) << capture->Text();
  EXPECT_EQ(Mounted(), (std::vector<std::string>{"\\a", "\\d"}));
  // Already mounted ones now count as failures.
  EXPECT_EQ(mntrpc_mount_tag("", "", "x -a y"), TBS_ST_FAILURE);
  ASSERT_EQ(mntrpc_mount_tag("\\c", "", ""), 0);
  capture->Clear();
  EXPECT_EQ(mntrpc_umount_tag("", " -a "), 0) << capture->Text();
  EXPECT_TRUE(Mounted().empty());
  EXPECT_TRUE(PrefixMap().empty());
}

TEST_F(MountEngine, TracesOnlyAtVerbosityTwoWithTracingOn) {
  AddVob({"\\pub", "public", "", "pub.vbs", 1});
  const int verbosity = imsg_set_desired_verbosity(2);
  ASSERT_EQ(mntrpc_mount_tag("\\pub", "", ""), 0);
  for (const auto& m : capture->Messages()) EXPECT_NE(m.kind, IMSG_TRACE) << m.text;
  imsg_set_trace_level("mntrpc", 2);
  capture->Clear();
  EXPECT_EQ(mntrpc_mount_tag("\\pub", "", ""), TBS_ST_FAILURE);
  EXPECT_TRUE(Has({IMSG_TRACE, "mntrpc_mount_tag:tag:\\pub, options:\n flags:\n"})) << capture->Text();
  EXPECT_TRUE(Has({IMSG_TRACE, "mntrpc_mount_tag: findbystr stat:0 count:1\n"})) << capture->Text();
  imsg_set_desired_verbosity(1);
  capture->Clear();
  EXPECT_EQ(mntrpc_umount_tag("\\pub", ""), 0);
  for (const auto& m : capture->Messages()) EXPECT_NE(m.kind, IMSG_TRACE) << m.text;
  imsg_set_trace_level("mntrpc", 0);
  imsg_set_desired_verbosity(verbosity);
}

TEST_F(MountEngine, TwoThreadsMountAtOnce) {
  constexpr int kTags = 8;
  for (int i = 0; i < kTags; ++i)
    AddVob({"\\t" + std::to_string(i), i % 2 ? "public" : "private", i % 3 ? "ro" : "", "t" + std::to_string(i),
            static_cast<std::uint8_t>(i * 3 + 1)});
  std::vector<int> results(2 * kTags, -1);
  std::thread first([&] {
    for (int i = 0; i < kTags; ++i) results[static_cast<std::size_t>(i)] = mntrpc_mount_tag(("\\t" + std::to_string(i)).c_str(), "", "");
  });
  std::thread second([&] {
    for (int i = kTags - 1; i >= 0; --i)
      results[static_cast<std::size_t>(kTags + i)] = mntrpc_mount_tag(("\\t" + std::to_string(i)).c_str(), "", "");
  });
  first.join();
  second.join();
  // Each tag was mounted once; the other attempt found it mounted.
  for (int i = 0; i < kTags; ++i) {
    const int a = results[static_cast<std::size_t>(i)], b = results[static_cast<std::size_t>(kTags + i)];
    EXPECT_TRUE((a == 0 && b == TBS_ST_FAILURE) || (a == TBS_ST_FAILURE && b == 0)) << i << ": " << a << " " << b;
  }
  EXPECT_EQ(Mounted().size(), static_cast<std::size_t>(kTags));
  for (const auto& [path, refs] : PrefixMap()) EXPECT_EQ(refs, 1) << path;
  EXPECT_EQ(PrefixMap().size(), static_cast<std::size_t>(kTags));
}

}  // namespace
}  // namespace mount_test
