// VOB mount options, pool maps and hosts.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "gcl_status.h"
#include "local/calllog.h"
#include "local/store.h"
#include "nlbd_hostinfo.h"
#include "platform/machine.h"
#include "rvl_host.h"
#include "rvl_mntopts.h"
#include "tbs.h"

namespace {

TEST(MountOptions, DefaultsFormatToNothingAndChangesToTheirOptions) {
  RVL_VobMountOptions options;
  EXPECT_STREQ(options.format().c_str(), "");
  options.read_write = false;
  options.timeout = 10;
  EXPECT_STREQ(options.format().c_str(), "ro,timeo=10,");
  RVL_VobMountOptions all;
  all.mount_all = all.read_write = all.hard_mount = all.interrupts_disabled = false;
  all.name_caching = all.set_uid = all.attribute_caching = false;
  all.retries = 1;
  all.dir_lookup_min = 2;
  all.dir_lookup_max = 4;
  all.file_lookup_min = 5;
  all.file_lookup_max = 6;
  all.export_id = 9;
  GCL_Status status;
  ASSERT_TRUE(all.pool_map.parse(status, GCL_String("sdft:C:\\pools\\sdft")));
  EXPECT_STREQ(all.format().c_str(),
               "noauto,ro,soft,intr,nodnlc,nosuid,noac,retrans=1,acdirmin=2,acdirmax=4,acregmin=5,acregmax=6,"
               "poolmap=sdft:C:\\pools\\sdft,exportid=9,");
}

TEST(MountOptions, ParseAndFormatRoundTrip) {
  const char* texts[] = {"",
                         "ro,timeo=10,",
                         "noauto,soft,intr,",
                         "nodnlc,nosuid,noac,retrans=3,exportid=4294967295,",
                         "acdirmin=1,acdirmax=2,acregmin=3,acregmax=4,",
                         "poolmap=sdft:C:\\pools\\sdft|cdft:\\\\host\\share\\cdft,"};
  for (const char* text : texts) {
    RVL_VobMountOptions first;
    GCL_Status status;
    ASSERT_TRUE(first.parse(status, GCL_String(text))) << text;
    RVL_VobMountOptions second;
    ASSERT_TRUE(second.parse(status, first.format())) << first.format().c_str();
    EXPECT_TRUE(first == second) << text;
    EXPECT_STREQ(second.format().c_str(), first.format().c_str());
  }
}

struct ParseCase {
  const char* text;
  bool ok;
};

TEST(MountOptions, TheParserKnowsItsKeywordsAndRefusesTheRest) {
  const ParseCase cases[] = {
      {"auto,hard,nointr,dnlc,suid,rw", true},
      {"actimeo=7", true},
      {" ro , timeo=10 ", true},
      {"public", true},
      {"timeo=", false},
      {"timeo=ten", false},
      {"timeo=-1", false},
      {"timeo=4294967296", false},
      {"ro=1", false},
      {"bogus", false},
      {"poolmap=", false},
      {"poolmap=nopath", false},
      {"poolmap=a:x|a:y", false},
      {"caf\xc3\xa9", false},
  };
  for (const ParseCase& c : cases) {
    RVL_VobMountOptions options;
    options.timeout = 42;  // a failed parse leaves the record as it was
    GCL_Status status;
    EXPECT_EQ(options.parse(status, GCL_String(c.text)), c.ok) << c.text;
    if (!c.ok) {
      EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG)) << c.text;
      EXPECT_EQ(options.timeout, 42u) << c.text;
      EXPECT_FALSE(status.messages().is_null()) << c.text;
    }
  }
  RVL_VobMountOptions options;
  GCL_Status status;
  bool is_public = false;
  ASSERT_TRUE(options.parse(status, GCL_String("actimeo=7,public"), &is_public));
  EXPECT_TRUE(is_public);
  EXPECT_EQ(options.dir_lookup_min, 7u);
  EXPECT_EQ(options.file_lookup_max, 7u);
}

TEST(MountOptions, DescribeHasOneLabelledLinePerField) {
  RVL_VobMountOptions options;
  options.read_write = false;
  options.timeout = 10;
  std::ostringstream out;
  options.describe(out);
  const std::string text = out.str();
  const char* lines[] = {"Mount All:            TRUE\n",  "Read/Write:           FALSE\n",
                         "Hard Mount:           TRUE\n",  "Interrrupts Disabled: TRUE\n",
                         "Name Caching:         TRUE\n",  "Set UID:              TRUE\n",
                         "Attribute Caching:    TRUE\n",  "Timeout:              10\n",
                         "Retries:              7\n",     "Directory Lookup MIN: 30\n",
                         "Directory Lookup MAX: 60\n",    "Filename Lookup MIN:  3\n",
                         "Filename Lookup MAX:  60\n",    "Pool Map:             <UNKNOWN>\n",
                         "Export ID:            0\n"};
  std::size_t at = 0;
  for (const char* line : lines) {
    const std::size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << line << " in\n" << text;
    at = found;  // in order
  }
}

struct OsCase {
  const char* os;
  bool nt, nine_x, win32s, windows, not_windows;
};

TEST(Hosts, OperatingSystemKinds) {
  const OsCase cases[] = {
      {"Windows NT", true, false, false, true, false},
      {"Windows 95", false, true, false, true, false},
      {"Windows 98", false, true, false, true, false},
      {"Windows/Win32s", false, false, true, false, false},
      {"Linux", false, false, false, false, true},
      {"windows nt", false, false, false, false, true},
      {"", false, false, false, false, true},
  };
  for (const OsCase& c : cases) {
    const RVL_Host host = RVL_Host::with_os_name(GCL_String("h"), GCL_String(c.os));
    GCL_Status status;
    EXPECT_EQ(host.is_windows_nt(status), c.nt) << c.os;
    EXPECT_EQ(host.is_windows_9x(status), c.nine_x) << c.os;
    EXPECT_EQ(host.is_win32s(status), c.win32s) << c.os;
    EXPECT_EQ(host.is_windows(status), c.windows) << c.os;
    EXPECT_EQ(host.is_not_windows(status), c.not_windows) << c.os;
  }
}

class HostInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = client_local::UseStore(client_local::Store::OpenMemory());
    plat::MachineProfile machine;
    machine.host_name = "alpha";
    machine.os_name = "Linux";
    plat::SetMachineProfile(machine);
  }
  void TearDown() override {
    plat::SetMachineProfile(std::nullopt);
    client_local::CallLog::ClearFailures();
    client_local::UseStore(std::move(previous_));
  }
  std::unique_ptr<client_local::Store> previous_;
};

TEST_F(HostInfo, HostInformationIsFetchedOnceAndNamesCompareWithoutCase) {
  ASSERT_EQ(nlbd_hostinfo_register("Beta", "Windows NT", "4.0", "port=7510,tcp"), 0);
  EXPECT_EQ(nlbd_hostinfo_register("ALPHA", "Windows NT", "4.0", ""), TBS_ST_PERMISSION);
  client_local::CallLogScope log;
  const RVL_Host beta(GCL_String("beta"));
  GCL_Status status;
  EXPECT_TRUE(beta.is_windows_nt(status));
  EXPECT_TRUE(beta.is_windows(status));
  GCL_String port;
  EXPECT_TRUE(beta.option(status, "port", &port));
  EXPECT_STREQ(port.c_str(), "7510");
  EXPECT_TRUE(beta.option(status, "tcp", &port));
  EXPECT_STREQ(port.c_str(), "");
  EXPECT_EQ(client_local::CallLog::Calls("nlbd_hostinfo").size(), 1u);
  EXPECT_TRUE(beta.same_host(RVL_Host(GCL_String("BETA"))));
  EXPECT_TRUE(beta == RVL_Host(GCL_String("BeTa")));
  EXPECT_FALSE(beta.same_host(RVL_Host(GCL_String("beta2"))));
  const RVL_Host me;
  EXPECT_STREQ(me.name().c_str(), "alpha");
  EXPECT_TRUE(me.is_not_windows(status));
}

TEST_F(HostInfo, AnUnknownHostFailsAndIsAskedAgain) {
  const RVL_Host nobody(GCL_String("nobody"));
  GCL_Status status;
  EXPECT_FALSE(nobody.is_windows(status));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  EXPECT_FALSE(nobody.is_not_windows(status));
  ASSERT_EQ(nlbd_hostinfo_register("nobody", "Windows 95", "4.0", ""), 0);
  EXPECT_TRUE(nobody.is_windows_9x(status));
  EXPECT_TRUE(status.ok());
  plat::MachineProfile nameless;
  plat::SetMachineProfile(nameless);
  EXPECT_STREQ(RVL_Host().name().c_str(), "UnknownHost");
}

}  // namespace
