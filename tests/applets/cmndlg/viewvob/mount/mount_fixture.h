#pragma once
// A scratch machine for the mount engine: an in-memory store with a default
// region, this host, VOB tags and objects whose storage directories live in a
// temporary home; messages of the client libraries are captured.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "local/calllog.h"
#include "local/mount_state.h"
#include "local/store.h"
#include "nlbd_port.h"
#include "ntpfxmap.h"
#include "platform/machine.h"
#include "platform/pathmap.h"
#include "rgy.h"
#include "support/message_capture.h"
#include "support/scratch_home.h"
#include "tbs.h"
#include "tbs_uuid.h"
#include "view_mfs.h"

namespace mount_test {

namespace fs = std::filesystem;

using rv_test::Message;
using Capture = rv_test::MessageCapture;

inline tbs_uuid_t Uuid(std::uint8_t seed) {
  tbs_uuid_t uuid;
  for (int i = 0; i < 16; ++i) uuid.bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + 1);
  return uuid;
}

inline std::string UuidText(const tbs_uuid_t& uuid) {
  char text[TBS_UUID_STR_SIZE];
  tbs_uuid_to_str(&uuid, text, sizeof text);
  return text;
}

struct VobSetup {
  std::string tag;            // "\\pub"
  std::string access;         // "public", "private", or "" for no key 6
  std::string options;        // key 7
  std::string dir;            // storage below C:\stg ("" for "<no-gpath>")
  std::uint8_t seed = 1;      // of the VOB UUID; the replica's is seed + 100
  bool make_dir = true;       // create the storage directory
};

class MountFixture : public ::testing::Test {
 protected:
  static constexpr const char* kHost = "hosta";
  static constexpr const char* kRegion = "lab";

  void SetUp() override {
    scratch_ = std::make_unique<rv_test::ScratchHome>("mount-test");
    home = scratch_->Path();
    plat::MachineProfile profile;
    profile.host_name = kHost;
    profile.computer_name = "HOSTA";
    profile.user_name = "alice";
    profile.logical_drives = 4;
    plat::SetMachineProfile(profile);
    previous_store_ = client_local::UseStore(client_local::Store::OpenMemory());
    client_local::ClearMfsRequests();
    ASSERT_EQ(rgy_add_region(kRegion, "test region"), 0);
    ASSERT_EQ(rgy_set_default_region(kRegion), 0);
    ASSERT_EQ(nlbd_set_port(kHost, 7510), 0);
    capture = std::make_unique<Capture>();
  }

  void TearDown() override {
    capture.reset();
    client_local::UseStore(std::move(previous_store_));
    plat::SetMachineProfile(std::nullopt);
    scratch_.reset();
  }

  static std::string GlobalPath(const std::string& dir) { return std::string("\\\\") + kHost + "\\c$\\stg\\" + dir; }
  static std::string LocalPath(const std::string& dir) { return "C:\\stg\\" + dir; }
  fs::path HostDir(std::string dir) const {
    std::replace(dir.begin(), dir.end(), '\\', '/');
    return home / "drives" / "c" / "stg" / dir;
  }

  // Registers a VOB: its tag in the default region and its object entry.
  void AddVob(const VobSetup& vob) {
    const tbs_uuid_t uuid = Uuid(vob.seed);
    const tbs_uuid_t replica = Uuid(static_cast<std::uint8_t>(vob.seed + 100));
    if (vob.make_dir && !vob.dir.empty()) fs::create_directories(HostDir(vob.dir));
    rgy_entry_t tag = nullptr;
    ASSERT_EQ(rgy_create_entry(RGY_KIND_VOB_TAG, &tag), 0);
    rgy_setstring_in_entry(tag, RGY_KEY_TAG, vob.tag.c_str());
    rgy_setstring_in_entry(tag, RGY_KEY_GPATH, vob.dir.empty() ? RGY_NO_GPATH : GlobalPath(vob.dir).c_str());
    if (!vob.access.empty()) rgy_setstring_in_entry(tag, RGY_KEY_ACCESS, vob.access.c_str());
    rgy_setstring_in_entry(tag, RGY_KEY_MOUNT_OPTS, vob.options.c_str());
    rgy_setstring_in_entry(tag, RGY_KEY_UUID, UuidText(uuid).c_str());
    rgy_setstring_in_entry(tag, RGY_KEY_HOST, kHost);
    ASSERT_EQ(rgy_add_entry(kRegion, tag), 0);
    rgy_delete_entry(tag);
    rgy_entry_t object = nullptr;
    ASSERT_EQ(rgy_create_entry(RGY_KIND_VOB_OBJECT, &object), 0);
    rgy_setstring_in_entry(object, RGY_KEY_UUID, UuidText(uuid).c_str());
    rgy_setstring_in_entry(object, RGY_KEY_REPLICA_UUID, UuidText(replica).c_str());
    rgy_setstring_in_entry(object, RGY_KEY_HOST, kHost);
    if (!vob.dir.empty()) {
      rgy_setstring_in_entry(object, RGY_KEY_GPATH, GlobalPath(vob.dir).c_str());
      rgy_setstring_in_entry(object, RGY_KEY_LOCAL_PATH, LocalPath(vob.dir).c_str());
    }
    ASSERT_EQ(rgy_add_entry(nullptr, object), 0);
    rgy_delete_entry(object);
  }

  // Runs SQL on the store (for states the registry calls refuse to make).
  static void Sql(const std::string& sql) {
    client_local::CurrentStore()->Command([&](client_local::Store& s) {
      s.Exec(sql);
      return 0;
    });
  }

  // A copy of a tag entry's rows: the same tag twice in the region.
  static void DuplicateTag(const std::string& tag) {
    Sql("INSERT INTO rgy_entries (kind, region) SELECT kind, region FROM rgy_entries e JOIN rgy_fields f"
        " ON f.entry = e.id WHERE f.key = 10 AND f.value = '" + tag + "';"
        "INSERT INTO rgy_fields (entry, key, value) SELECT (SELECT max(id) FROM rgy_entries), f.key, f.value"
        " FROM rgy_fields f WHERE f.entry = (SELECT e.id FROM rgy_entries e JOIN rgy_fields g ON g.entry = e.id"
        " WHERE g.key = 10 AND g.value = '" + tag + "' ORDER BY e.id LIMIT 1);");
  }

  static std::vector<std::pair<std::string, int>> PrefixMap() { return client_local::PrefixMapEntries(); }
  static std::vector<view_mfs_request_t> Requests() { return client_local::MfsRequests(); }
  static std::vector<std::string> Mounted() {
    std::vector<std::string> names;
    for (const auto& m : client_local::MfsMounts()) names.push_back(m.pathname);
    return names;
  }

  fs::path home;
  std::unique_ptr<Capture> capture;

 private:
  std::unique_ptr<rv_test::ScratchHome> scratch_;
  std::unique_ptr<client_local::Store> previous_store_;
};

// Reading the byte images.
inline std::uint32_t Word(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  EXPECT_LE(offset + 4, bytes.size());
  if (offset + 4 > bytes.size()) return 0;
  return std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 | std::uint32_t(bytes[offset + 2]) << 16 |
         std::uint32_t(bytes[offset + 3]) << 24;
}

inline const std::vector<std::uint8_t>& Data(const view_mfs_request_t& request) {
  static const std::vector<std::uint8_t> none;
  const std::uint32_t handle = request.header.data;
  EXPECT_GE(handle, 1u);
  EXPECT_LE(handle, request.table.size());
  return handle >= 1 && handle <= request.table.size() ? request.table[handle - 1] : none;
}

// The text a (pointer, length, length + 1) triple at the offset names; "<null>"
// for three zero words. A triple that does not match its table entry fails.
inline std::string TextAt(const view_mfs_request_t& request, const std::vector<std::uint8_t>& bytes,
                          std::size_t offset) {
  const std::uint32_t ptr = Word(bytes, offset), len = Word(bytes, offset + 4), size = Word(bytes, offset + 8);
  if (ptr == 0 && len == 0 && size == 0) return "<null>";
  EXPECT_EQ(size, len + 1);
  EXPECT_GE(ptr, 1u);
  EXPECT_LE(ptr, request.table.size());
  if (ptr < 1 || ptr > request.table.size()) return "<bad handle>";
  const auto& entry = request.table[ptr - 1];
  EXPECT_EQ(entry.size(), size);
  EXPECT_EQ(entry.back(), 0);
  return std::string(reinterpret_cast<const char*>(entry.data()), len);
}

inline std::vector<std::uint8_t> BytesAt(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t n) {
  return std::vector<std::uint8_t>(bytes.begin() + static_cast<long>(offset),
                                   bytes.begin() + static_cast<long>(offset + n));
}

inline std::vector<std::uint8_t> UuidBytes(const tbs_uuid_t& uuid) {
  return std::vector<std::uint8_t>(uuid.bytes, uuid.bytes + 16);
}

}  // namespace mount_test
