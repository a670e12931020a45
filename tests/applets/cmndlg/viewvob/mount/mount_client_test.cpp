// The client calls under the mount engine: the registry, the prefix map,
// identifiers, pathname facts, and the driver stand-in's checks.
#include <gtest/gtest.h>

#include "credutl.h"
#include "fileutl_stat.h"
#include "mount_fixture.h"
#include "poolmap.h"
#include "stg.h"
#include "strutl_subst.h"
#include "rvmount/mntrpc.h"
#include "vob_utl_mount.h"

namespace mount_test {
namespace {

using client_local::CallLog;
using client_local::CallLogScope;

class MountClient : public MountFixture {};

TEST(TbsUuid, TextFormRoundTripsAndBadTextIsRefused) {
  const tbs_uuid_t uuid = Uuid(9);
  const std::string text = UuidText(uuid);
  EXPECT_EQ(text.size(), TBS_UUID_STR_LEN);
  tbs_uuid_t back{};
  ASSERT_EQ(tbs_str_to_uuid(text.c_str(), &back), 0);
  EXPECT_EQ(UuidBytes(back), UuidBytes(uuid));
  tbs_oid_t oid{};
  ASSERT_EQ(tbs_dstr_to_oid(text.c_str(), &oid), 0);
  EXPECT_EQ(0, std::memcmp(oid.bytes, uuid.bytes, 16));
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(tbs_str_to_uuid(upper.c_str(), &back), 0);
  const tbs_uuid_t untouched = Uuid(3);
  for (const std::string& bad : {std::string(""), text + "0", text.substr(1), std::string(text).replace(8, 1, "-"),
                                 std::string(text).replace(0, 1, "g"), std::string(text).replace(26, 1, ".")}) {
    tbs_uuid_t result = untouched;
    EXPECT_EQ(tbs_str_to_uuid(bad.c_str(), &result), TBS_ST_INVALID_ARG) << bad;
    EXPECT_EQ(UuidBytes(result), UuidBytes(untouched)) << bad;
  }
  char small[TBS_UUID_STR_LEN];
  EXPECT_EQ(tbs_uuid_to_str(&uuid, small, sizeof small), TBS_ST_INVALID_ARG);
  EXPECT_TRUE(tbs_uuid_is_null(&TBS_UUID_NULL));
  EXPECT_FALSE(tbs_uuid_is_null(&uuid));
}

TEST(StrutlReplaceSubstr, ReplacesEveryOccurrenceOrFailsWhole) {
  char out[32];
  ASSERT_EQ(strutl_replace_substr("x -a y -a z", " -a ", "", out, sizeof out), 0);
  EXPECT_STREQ(out, "xyz");
  ASSERT_EQ(strutl_replace_substr("aaa", "aa", "b", out, sizeof out), 0);
  EXPECT_STREQ(out, "ba");
  EXPECT_EQ(strutl_replace_substr("abcdef", "x", "y", out, 6), TBS_ST_FAILURE);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(strutl_replace_substr("a", "", "y", out, sizeof out), TBS_ST_INVALID_ARG);
}

TEST(Poolmap, CracksMapsFromOptions) {
  std::vector<poolmap_pool_t> pools;
  ASSERT_EQ(poolmap_crack_mntopts("ro,poolmap=a:C:\\p\\a|b:C:\\p b\\|,soft,poolmap=c:D:\\c", &pools), 0);
  ASSERT_EQ(pools.size(), 3u);
  EXPECT_EQ(pools[0].map, "a:C:\\p\\a");
  EXPECT_EQ(pools[0].pathname, "C:\\p\\a");
  EXPECT_EQ(pools[1].pathname, "C:\\p b\\");
  EXPECT_EQ(pools[2].pathname, "D:\\c");
  for (const char* bad : {"poolmap=nopath", "poolmap=:C:\\x", "poolmap=a:"})
    EXPECT_EQ(poolmap_crack_mntopts(bad, &pools), TBS_ST_INVALID_ARG) << bad;
  EXPECT_EQ(pools.size(), 3u) << "a failure leaves the result alone";
}

TEST_F(MountClient, TheRegistryFindsEntriesByStringAndInBatches) {
  for (int i = 0; i < 120; ++i) AddVob({"\\v" + std::to_string(i), "public", "", "", static_cast<std::uint8_t>(i)});
  char region[8];
  ASSERT_EQ(rgy_get_default_region(region, sizeof region), 0);
  EXPECT_STREQ(region, "lab");
  EXPECT_EQ(rgy_get_default_region(region, 3), TBS_ST_FAILURE);
  rgy_cursor_t cursor = nullptr;
  ASSERT_EQ(rgy_open_cursor(RGY_KIND_VOB_TAG, "lab", &cursor), 0);
  std::vector<int> batches;
  rgy_entry_t batch[50];
  for (int count = -1; count != 0;) {
    ASSERT_EQ(rgy_get_entry(cursor, 50, batch, &count), 0);
    if (count) batches.push_back(count);
    for (int i = 0; i < count; ++i) rgy_delete_entry(batch[i]);
  }
  EXPECT_EQ(batches, (std::vector<int>{50, 50, 20}));
  int count = 0;
  ASSERT_EQ(rgy_findbystring_entry(cursor, RGY_KEY_TAG, "\\v7", 50, batch, &count), 0);
  ASSERT_EQ(count, 1);
  char text[1024];
  EXPECT_EQ(rgy_getstring_from_entry(batch[0], RGY_KEY_REGION, sizeof text, text), 0);
  EXPECT_STREQ(text, "lab");
  EXPECT_EQ(rgy_getstring_from_entry(batch[0], RGY_KEY_GPATH, sizeof text, text), 0);
  EXPECT_STREQ(text, RGY_NO_GPATH);
  EXPECT_EQ(rgy_getstring_from_entry(batch[0], 40, sizeof text, text), TBS_ST_NOT_FOUND);
  EXPECT_EQ(rgy_getstring_from_entry(batch[0], RGY_KEY_TAG, 3, text), TBS_ST_FAILURE);
  EXPECT_STREQ(text, "");
  rgy_delete_entry(batch[0]);
  ASSERT_EQ(rgy_findbystring_entry(cursor, RGY_KEY_TAG, "\\V7", 50, batch, &count), 0);
  EXPECT_EQ(count, 0);
  rgy_close_cursor(cursor);
  EXPECT_EQ(rgy_open_cursor(RGY_KIND_VOB_TAG, "nosuch", &cursor), TBS_ST_NOT_FOUND);
  // The registry refuses a second entry with the same tag or UUID.
  rgy_entry_t entry = nullptr;
  ASSERT_EQ(rgy_create_entry(RGY_KIND_VOB_TAG, &entry), 0);
  rgy_setstring_in_entry(entry, RGY_KEY_TAG, "\\v7");
  EXPECT_EQ(rgy_add_entry("lab", entry), TBS_ST_ALREADY);
  rgy_delete_entry(entry);
  ASSERT_EQ(rgy_create_entry(RGY_KIND_VOB_OBJECT, &entry), 0);
  rgy_setstring_in_entry(entry, RGY_KEY_UUID, UuidText(Uuid(7)).c_str());
  EXPECT_EQ(rgy_add_entry(nullptr, entry), TBS_ST_ALREADY);
  rgy_delete_entry(entry);
}

TEST_F(MountClient, ThePrefixMapCountsRegistrationsAndConvertsThisHostsShares) {
  const std::string share = "\\\\HostA\\c$\\stg\\x";
  char out[256];
  ASSERT_EQ(ntpfxmap_register(share.c_str()), 0);
  ASSERT_EQ(ntpfxmap_register(share.c_str()), 0);
  ASSERT_EQ(ntpfxmap_convert((share + "\\sub").c_str(), out, sizeof out), 0);
  EXPECT_STREQ(out, "C:\\stg\\x\\sub");
  ASSERT_EQ(ntpfxmap_convert("D:\\d", out, sizeof out), 0);
  EXPECT_STREQ(out, "D:\\d");
  EXPECT_EQ(ntpfxmap_convert("relative", out, sizeof out), TBS_ST_PNAME_CONVERSION);
  EXPECT_EQ(ntpfxmap_convert(share.c_str(), out, 4), TBS_ST_INVALID_ARG);
  ASSERT_EQ(ntpfxmap_register("\\\\other\\c$\\x"), 0);
  EXPECT_EQ(ntpfxmap_convert("\\\\other\\c$\\x", out, sizeof out), TBS_ST_PNAME_CONVERSION);
  for (const char* bad : {"relative\\x", "\\\\", "\\\\server", "C:x"}) EXPECT_EQ(ntpfxmap_register(bad), TBS_ST_NOT_FOUND) << bad;
  EXPECT_EQ(ntpfxmap_unregister(share.c_str()), 0);
  EXPECT_EQ(PrefixMap(), (std::vector<std::pair<std::string, int>>{{"\\\\HostA\\c$\\stg\\x", 1}, {"\\\\other\\c$\\x", 1}}));
  EXPECT_EQ(ntpfxmap_unregister(share.c_str()), 0);
  EXPECT_EQ(ntpfxmap_unregister(share.c_str()), TBS_ST_NOT_FOUND);
}

TEST_F(MountClient, StatSeesTheMappedFileSystem) {
  fs::create_directories(HostDir("d"));
  std::ofstream(HostDir("f")) << "12345";
  fileutl_stat_t st;
  ASSERT_EQ(fileutl_stat(GlobalPath("d").c_str(), &st), 0);
  EXPECT_EQ(st.mode & FILEUTL_S_IFMT, FILEUTL_S_IFDIR);
  EXPECT_GE(st.nlink, 1u);
  ASSERT_EQ(fileutl_stat(LocalPath("f").c_str(), &st), 0);
  EXPECT_EQ(st.mode & FILEUTL_S_IFMT, FILEUTL_S_IFREG);
  EXPECT_EQ(st.size, 5);
  EXPECT_EQ(fileutl_stat(LocalPath("none").c_str(), &st), TBS_ST_NOT_FOUND);
  EXPECT_EQ(fileutl_stat("\\\\other\\c$\\x", &st), TBS_ST_PNAME_CONVERSION);
  EXPECT_EQ(fileutl_stat("C:\\..\\..\\etc", &st), TBS_ST_PNAME_CONVERSION);
  char out[256];
  ASSERT_EQ(plat::AssignDrive('Z', "\\\\view\\v1\\dir"), plat::AssignStatus::kOk);
  ASSERT_EQ(fileutl_absobjpn("Z:\\a\\.\\b", out, sizeof out), 0);
  EXPECT_STREQ(out, "\\\\view\\v1\\dir\\a\\b");
  ASSERT_EQ(fileutl_absobjpn("C:\\a\\..\\b", out, sizeof out), 0);
  EXPECT_STREQ(out, "C:\\b");
  EXPECT_EQ(fileutl_absobjpn("Z:\\a", out, 5), TBS_ST_INVALID_ARG);
  plat::UnassignDrive('Z');
}

TEST_F(MountClient, PrivilegeFollowsTheUser) {
  struct Case {
    const char* user;
    int status;
    int privileged;
  };
  for (const Case& c : {Case{"root", 0, 1}, Case{"ADMINISTRATOR", 0, 1}, Case{"alice", 0, 0}, Case{"", 1002, 0}}) {
    plat::MachineProfile profile = plat::MachineInfo();
    profile.user_name = c.user;
    plat::SetMachineProfile(profile);
    int privileged = -1;
    EXPECT_EQ(credutl_is_privileged(&privileged), c.status) << c.user;
    EXPECT_EQ(privileged, c.privileged) << c.user;
  }
}

// Requests built by hand, to see the driver stand-in refuse malformed ones.
view_mfs_request_t UnmountRequest(const std::string& tag) {
  view_mfs_request_t request;
  std::vector<std::uint8_t> text(tag.begin(), tag.end());
  text.push_back(0);
  request.table.push_back(text);
  view_mfs_unmount_t block{};
  block.mntpath = {1, static_cast<std::uint32_t>(tag.size()), static_cast<std::uint32_t>(tag.size() + 1)};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&block);
  request.table.emplace_back(bytes, bytes + sizeof block);
  request.header.op = VIEW_MFS_OP_UNMOUNT;
  request.header.data_size = sizeof block;
  request.header.data = 2;
  return request;
}

TEST_F(MountClient, TheDriverRefusesMalformedRequests) {
  EXPECT_EQ(view_mfs_ioctl(nullptr), TBS_ST_INVALID_ARG);
  const view_mfs_request_t good = UnmountRequest("\\x");
  EXPECT_EQ(view_mfs_ioctl(&good), TBS_ST_NOT_FOUND) << "well formed, but nothing is mounted";
  struct Case {
    const char* what;
    void (*spoil)(view_mfs_request_t&);
  };
  const Case cases[] = {
      {"reserved word", [](view_mfs_request_t& r) { r.header.reserved[3] = 1; }},
      {"operation", [](view_mfs_request_t& r) { r.header.op = 38; }},
      {"size", [](view_mfs_request_t& r) { r.header.data_size = 24; }},
      {"data handle", [](view_mfs_request_t& r) { r.header.data = 3; }},
      {"null data", [](view_mfs_request_t& r) { r.header.data = 0; }},
      {"text length", [](view_mfs_request_t& r) { r.table[1][4] = 5; }},
      {"text size", [](view_mfs_request_t& r) { r.table[1][8] = 2; }},
      {"text handle", [](view_mfs_request_t& r) { r.table[1][0] = 9; }},
      {"unterminated text", [](view_mfs_request_t& r) { r.table[0].back() = 'y'; }},
      {"mount word 0", [](view_mfs_request_t& r) {
         r.header.op = VIEW_MFS_OP_MOUNT;
         r.header.data_size = 248;
         r.table[1].resize(248);
       }},
  };
  for (const auto& c : cases) {
    view_mfs_request_t request = good;
    c.spoil(request);
    EXPECT_EQ(view_mfs_ioctl(&request), TBS_ST_INVALID_ARG) << c.what;
  }
}

TEST_F(MountClient, MountedPathnamesComeInAnArea) {
  AddVob({"\\a", "public", "", "a.vbs", 1});
  AddVob({"\\b", "public", "", "b.vbs", 2});
  ASSERT_EQ(mntrpc_mount_tag("\\b", "", ""), 0);
  ASSERT_EQ(mntrpc_mount_tag("\\a", "", ""), 0);
  const int areas = stg_live_area_count();
  const stg_area_t area = stg_create_area(4096);
  char** names = nullptr;
  ASSERT_EQ(vob_utl_get_mounted_vob_pnames(area, &names), 0);
  ASSERT_NE(names, nullptr);
  EXPECT_STREQ(names[0], "\\b");
  EXPECT_STREQ(names[1], "\\a");
  EXPECT_EQ(names[2], nullptr);
  stg_delete_area(area);
  EXPECT_EQ(stg_live_area_count(), areas);
  EXPECT_EQ(vob_utl_get_mounted_vob_pnames(area, &names), TBS_ST_INVALID_ARG);
}

}  // namespace
}  // namespace mount_test
