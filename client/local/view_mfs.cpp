// The file-system driver stand-in: decodes mount and unmount requests,
// checks every word and handle, and keeps the mount table in the store.
#include "view_mfs.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "local/local_call.h"
#include "local/mount_state.h"
#include "local/store.h"
#include "rgy.h"
#include "tbs.h"
#include "tbs_uuid.h"
#include "vob_utl_mount.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;

namespace {

struct RequestLog {
  std::mutex mutex;
  std::vector<view_mfs_request_t> requests;
};

RequestLog& TheLog() {
  static RequestLog log;
  return log;
}

const std::vector<std::uint8_t>* Entry(const view_mfs_request_t& request, std::uint32_t handle) {
  if (handle == 0 || handle > request.table.size()) return nullptr;
  return &request.table[handle - 1];
}

// A text the request points at: the handle's entry holds exactly len bytes
// and a terminating zero, with no zero before. A null handle with zero
// lengths is an absent text (nullopt); anything inconsistent is malformed.
bool ResolveText(const view_mfs_request_t& request, const view_mfs_text_t& text, std::optional<std::string>& out) {
  out.reset();
  if (text.ptr == 0) return text.len == 0 && text.size == 0;
  const auto* entry = Entry(request, text.ptr);
  if (!entry || text.size != text.len + 1 || entry->size() != text.size || entry->back() != 0) return false;
  std::string value(reinterpret_cast<const char*>(entry->data()), text.len);
  if (value.find('\0') != std::string::npos) return false;
  out = std::move(value);
  return true;
}

std::string UuidText(const std::uint8_t (&bytes)[16]) {
  tbs_uuid_t uuid;
  std::memcpy(uuid.bytes, bytes, 16);
  char text[TBS_UUID_STR_SIZE];
  tbs_uuid_to_str(&uuid, text, sizeof text);
  return text;
}

bool AllZero(const std::uint32_t* words, int count) {
  for (int i = 0; i < count; ++i)
    if (words[i]) return false;
  return true;
}

int Mount(const view_mfs_request_t& request, Store& s) {
  const auto* data = Entry(request, request.header.data);
  if (request.header.data_size != sizeof(view_mfs_mount_t) || !data || data->size() != sizeof(view_mfs_mount_t))
    return TBS_ST_INVALID_ARG;
  view_mfs_mount_t block;
  std::memcpy(&block, data->data(), sizeof block);
  if (block.word0 != VIEW_MFS_MOUNT_WORD0) return TBS_ST_INVALID_ARG;
  const std::uint32_t kinds = block.flags & (VIEW_MFS_MNT_VOB | VIEW_MFS_MNT_VIEWROOT | VIEW_MFS_MNT_RVIEWROOT);
  if (kinds != VIEW_MFS_MNT_VOB && kinds != VIEW_MFS_MNT_VIEWROOT && kinds != VIEW_MFS_MNT_RVIEWROOT)
    return TBS_ST_INVALID_ARG;
  std::optional<std::string> tag, host, abs, obj, local, xnsuffix;
  if (!ResolveText(request, block.mntpath, tag) || !tag || tag->empty() || !ResolveText(request, block.host, host) ||
      !ResolveText(request, block.stg_abs, abs) || !ResolveText(request, block.stg_obj, obj) ||
      !ResolveText(request, block.stg_local, local) || !ResolveText(request, block.xnsuffix, xnsuffix))
    return TBS_ST_INVALID_ARG;
  const bool vob = kinds == VIEW_MFS_MNT_VOB;
  if (vob && (!abs || !obj)) return TBS_ST_INVALID_ARG;
  std::string pools;
  if (block.pool_count) {
    const auto* array = Entry(request, block.pools);
    if (!array || array->size() != std::size_t(block.pool_count) * sizeof(view_mfs_pool_t)) return TBS_ST_INVALID_ARG;
    for (std::uint32_t i = 0; i < block.pool_count; ++i) {
      view_mfs_pool_t pool;
      std::memcpy(&pool, array->data() + i * sizeof pool, sizeof pool);
      std::optional<std::string> map, pool_abs, pool_obj;
      if (!ResolveText(request, pool.map, map) || !ResolveText(request, pool.abs_pname, pool_abs) ||
          !ResolveText(request, pool.obj_pname, pool_obj) || !map || !pool_abs || !pool_obj)
        return TBS_ST_INVALID_ARG;
      pools += (pools.empty() ? "" : "|") + *map;
    }
  } else if (block.pools) {
    return TBS_ST_INVALID_ARG;
  }
  Statement same(s, "SELECT 1 FROM mfs_mounts WHERE pathname = ?1");
  same.Bind(1, *tag);
  if (same.Step()) return TBS_ST_ALREADY;
  std::string options = "timeo=" + std::to_string(block.timeo) + ",retrans=" + std::to_string(block.retrans) +
                        ",acregmax=" + std::to_string(block.acregmax) + ",acregmin=" + std::to_string(block.acregmin) +
                        ",acdirmax=" + std::to_string(block.acdirmax) + ",acdirmin=" + std::to_string(block.acdirmin) +
                        ",exportid=" + std::to_string(block.exportid);
  if (host) options += ",host=" + *host + ",port=" + std::to_string(block.port);
  if (!pools.empty()) options += ",poolmap=" + pools;
  if (xnsuffix) options += ",xnsuffix=" + *xnsuffix;
  Statement insert(s, "INSERT INTO mfs_mounts (pathname, vob_uuid, flags, storage, options) VALUES (?1, ?2, ?3, ?4, ?5)");
  insert.Bind(1, *tag).Bind(2, UuidText(block.vob_uuid)).Bind(3, block.flags).Bind(4, abs.value_or(""))
      .Bind(5, options).Run();
  return TBS_ST_OK;
}

int Unmount(const view_mfs_request_t& request, Store& s) {
  const auto* data = Entry(request, request.header.data);
  if (request.header.data_size != sizeof(view_mfs_unmount_t) || !data || data->size() != sizeof(view_mfs_unmount_t))
    return TBS_ST_INVALID_ARG;
  view_mfs_unmount_t block;
  std::memcpy(&block, data->data(), sizeof block);
  std::optional<std::string> tag;
  if (!ResolveText(request, block.mntpath, tag) || !tag || tag->empty()) return TBS_ST_INVALID_ARG;
  Statement read(s, "SELECT vob_uuid FROM mfs_mounts WHERE pathname = ?1");
  read.Bind(1, *tag);
  if (!read.Step()) return TBS_ST_NOT_FOUND;
  // A null identifier unmounts by pathname alone; another must be the VOB's.
  tbs_uuid_t oid;
  std::memcpy(oid.bytes, block.vob_oid, 16);
  if (!tbs_uuid_is_null(&oid) && read.Text(0) != UuidText(block.vob_oid)) return TBS_ST_NOT_FOUND;
  Statement remove(s, "DELETE FROM mfs_mounts WHERE pathname = ?1");
  remove.Bind(1, *tag).Run();
  return TBS_ST_OK;
}

std::string TagOf(const view_mfs_request_t& request) {
  const auto* data = Entry(request, request.header.data);
  view_mfs_text_t text{};
  if (data && request.header.op == VIEW_MFS_OP_MOUNT && data->size() == sizeof(view_mfs_mount_t))
    std::memcpy(&text, data->data() + offsetof(view_mfs_mount_t, mntpath), sizeof text);
  else if (data && request.header.op == VIEW_MFS_OP_UNMOUNT && data->size() == sizeof(view_mfs_unmount_t))
    std::memcpy(&text, data->data(), sizeof text);
  std::optional<std::string> tag;
  return ResolveText(request, text, tag) && tag ? *tag : std::string();
}

}  // namespace

int view_mfs_ioctl(const view_mfs_request_t* request) {
  if (request) {
    RequestLog& log = TheLog();
    std::lock_guard lock(log.mutex);
    if (log.requests.size() >= client_local::kMfsRequestsKept) log.requests.erase(log.requests.begin());
    log.requests.push_back(*request);
  }
  return LocalCall("view_mfs_ioctl",
                   {request ? std::to_string(request->header.op) : "(null)", request ? TagOf(*request) : std::string()},
                   NonNull(request) && AllZero(request->header.reserved, 7), [&] {
                     if (!client_local::CurrentStore()) return TBS_ST_FAILURE;
                     switch (request->header.op) {
                       case VIEW_MFS_OP_MOUNT:
                         return InStore([&](Store& s) { return Mount(*request, s); });
                       case VIEW_MFS_OP_UNMOUNT:
                         return InStore([&](Store& s) { return Unmount(*request, s); });
                       default:
                         return TBS_ST_INVALID_ARG;
                     }
                   });
}

// The answer is also the call's status: 1 mounted, 0 not (nor on a failure).
int vob_utl_is_mounted_vob_pname(const char* pathname) {
  bool mounted = false;
  LocalCall("vob_utl_is_mounted_vob_pname", {pathname ? pathname : "(null)"}, true, [&] {
    if (!pathname || !client_local::CurrentStore()) return 0;
    InStore([&](Store& s) {
      Statement read(s, "SELECT 1 FROM mfs_mounts WHERE pathname = ?1");
      read.Bind(1, pathname);
      mounted = read.Step();
      return TBS_ST_OK;
    });
    return mounted ? 1 : 0;
  });
  return mounted ? 1 : 0;
}

int vob_utl_get_mounted_vob_pnames(stg_area_t area, char*** pathnames) {
  return LocalCall("vob_utl_get_mounted_vob_pnames", {std::to_string(area)},
                   NonNull(pathnames) && area != STG_NULL_AREA && stg_area_used(area) >= 0, [&] {
    *pathnames = nullptr;
    std::vector<std::string> names;
    if (Store* store = client_local::CurrentStore()) {
      if (int status = store->Command([&](Store& s) {
            Statement read(s, "SELECT pathname FROM mfs_mounts ORDER BY seq");
            while (read.Step()) names.push_back(read.Text(0));
            return TBS_ST_OK;
          }))
        return status;
    }
    auto** list = static_cast<char**>(stg_alloc(area, (names.size() + 1) * sizeof(char*)));
    if (!list) return TBS_ST_NO_MEMORY;
    for (std::size_t i = 0; i < names.size(); ++i) {
      list[i] = stg_strdup(area, names[i].c_str());
      if (!list[i]) return TBS_ST_NO_MEMORY;
    }
    list[names.size()] = nullptr;
    *pathnames = list;
    return TBS_ST_OK;
  });
}

int vob_ob_stg_pname_to_replica_uuid(const char* pathname, tbs_uuid_t* uuid) {
  return LocalCall("vob_ob_stg_pname_to_replica_uuid", {pathname ? pathname : "(null)"}, NonNull(pathname, uuid), [&] {
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_NOT_FOUND;
    std::string text;
    if (int status = store->Command([&](Store& s) {
          Statement read(s, "SELECT u.value FROM rgy_entries e JOIN rgy_fields p ON p.entry = e.id"
                            " JOIN rgy_fields u ON u.entry = e.id AND u.key = ?1"
                            " WHERE e.kind = ?2 AND p.key IN (?3, ?4) AND p.value = ?5 ORDER BY e.id");
          read.Bind(1, RGY_KEY_UUID).Bind(2, RGY_KIND_VOB_OBJECT).Bind(3, RGY_KEY_GPATH).Bind(4, RGY_KEY_LOCAL_PATH)
              .Bind(5, pathname);
          if (read.Step()) text = read.Text(0);
          return TBS_ST_OK;
        }))
      return status;
    tbs_uuid_t result{};
    if (text.empty() || tbs_str_to_uuid(text.c_str(), &result) != TBS_ST_OK) return TBS_ST_NOT_FOUND;
    *uuid = result;
    return TBS_ST_OK;
  });
}

namespace client_local {

std::vector<view_mfs_request_t> MfsRequests() {
  RequestLog& log = TheLog();
  std::lock_guard lock(log.mutex);
  return log.requests;
}

void ClearMfsRequests() {
  RequestLog& log = TheLog();
  std::lock_guard lock(log.mutex);
  log.requests.clear();
}

std::vector<MfsMount> MfsMounts() {
  std::vector<MfsMount> mounts;
  if (Store* store = CurrentStore()) store->Command([&](Store& s) {
      Statement read(s, "SELECT pathname, vob_uuid, flags, storage, options FROM mfs_mounts ORDER BY seq");
      while (read.Step())
        mounts.push_back(MfsMount{read.Text(0), read.Text(1), static_cast<unsigned>(read.Int(2)), read.Text(3),
                                  read.Text(4)});
      return TBS_ST_OK;
    });
  return mounts;
}

}  // namespace client_local
