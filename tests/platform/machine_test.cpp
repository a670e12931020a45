// Machine facts: the real ones and a test's profile.
#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/machine.h"
#include "platform/pathmap.h"

namespace plat {
namespace {

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMachineProfile(std::nullopt);
    for (char letter : AssignedDrives()) UnassignDrive(letter);
  }
  void TearDown() override { SetMachineProfile(std::nullopt); }
};

MachineProfile TestProfile() {
  MachineProfile p;
  p.host_name = "build-7.example.net";
  p.computer_name = "BUILD-7";
  p.user_name = "tester";
  p.logical_drives = 0x4 | 0x8;
  p.os_major = 10;
  p.os_minor = 0;
  p.os_build = 19045;
  p.os_name = "Test OS";
  return p;
}

TEST_F(MachineTest, ProfileReplacesEveryFactUntilRemoved) {
  MachineProfile real = MachineInfo();
  SetMachineProfile(TestProfile());
  EXPECT_EQ(MachineInfo(), TestProfile());
  // Empty fields are not filled from the real machine.
  MachineProfile sparse;
  sparse.user_name = "only-user";
  SetMachineProfile(sparse);
  EXPECT_EQ(MachineInfo(), sparse);
  EXPECT_EQ(RealMachineInfo().host_name, real.host_name);
  SetMachineProfile(std::nullopt);
  EXPECT_EQ(MachineInfo(), real);
}

TEST_F(MachineTest, RealFactsComeFromTheSystem) {
  MachineProfile facts = RealMachineInfo();
  char host[HOST_NAME_MAX + 1] = {};
  ASSERT_EQ(gethostname(host, HOST_NAME_MAX), 0);
  EXPECT_EQ(facts.host_name, host);
  EXPECT_EQ(facts.computer_name, ComputerNameFor(host));
  EXPECT_FALSE(facts.user_name.empty());

  utsname uts{};
  ASSERT_EQ(uname(&uts), 0);
  EXPECT_EQ(facts.os_name, std::string(uts.sysname) + " " + uts.release);
  EXPECT_EQ(facts.os_major, std::stoi(uts.release));
}

TEST_F(MachineTest, DrivesAreCMTheAssignedOnesAndThoseUnderHome) {
  const std::filesystem::path before = Home();
  const std::filesystem::path home = std::filesystem::temp_directory_path() /
                                     ("rv_machine_" + std::to_string(::getpid()));
  std::filesystem::remove_all(home);
  ASSERT_TRUE(SetHome(home));
  constexpr std::uint32_t kCM = (1u << 2) | (1u << 12);
  EXPECT_EQ(RealMachineInfo().logical_drives, kCM);
  ASSERT_EQ(AssignDrive('Z', "\\\\view\\t"), AssignStatus::kOk);
  ASSERT_EQ(AssignDrive('a', "\\\\view\\u"), AssignStatus::kOk);
  EXPECT_EQ(RealMachineInfo().logical_drives, kCM | (1u << 25) | 1u);
  UnassignDrive('Z');
  std::filesystem::create_directories(home / "drives" / "k");
  EXPECT_EQ(RealMachineInfo().logical_drives, kCM | (1u << 10) | 1u);
  UnassignDrive('a');
  std::filesystem::remove_all(home);
  SetHome(before);
}

TEST(MachineComputerName, IsTheUpperCasedHostNameCutTo15) {
  struct Case {
    const char* host;
    const char* computer;
  };
  const Case cases[] = {
      {"devbox", "DEVBOX"},
      {"Build-Host-Number-Seven.example", "BUILD-HOST-NUMB"},
      {"exactly15chars-", "EXACTLY15CHARS-"},
      {"", ""},
      // A multi-byte character at the cut is dropped whole, not split.
      {"abcdefghijklmn\xC3\xA9xyz", "ABCDEFGHIJKLMN"},
  };
  for (const auto& c : cases) EXPECT_EQ(ComputerNameFor(c.host), c.computer) << c.host;
}

TEST_F(MachineTest, ProfileChangesAreSafeFromManyThreads) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 200; ++i) {
        if (t % 2 == 0) {
          MachineProfile p = TestProfile();
          p.os_build = i;
          SetMachineProfile(p);
        } else {
          MachineProfile seen = MachineInfo();
          // Either a whole test profile or the whole real machine.
          if (seen.os_name == "Test OS") {
            EXPECT_EQ(seen.user_name, "tester");
          }
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
}

}  // namespace
}  // namespace plat
