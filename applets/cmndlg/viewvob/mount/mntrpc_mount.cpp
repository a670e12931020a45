// Mounting VOB tags.
#include <string>
#include <vector>

#include "credutl.h"
#include "fileutl_stat.h"
#include "ntpfxmap.h"
#include "poolmap.h"
#include "rgy.h"
#include "strutl_subst.h"
#include "tbs.h"
#include "view_mfs.h"
#include "viewvob/mount/mntmsg.h"
#include "viewvob/mount/mntopts.h"
#include "viewvob/mount/mntrgy.h"
#include "rvmount/mntrpc.h"
#include "vob_utl_mount.h"

namespace rvmount {

namespace {

constexpr std::string_view kAll = " -a ";

int MissingKey(const std::string& tag, const std::string& region, int status) {
  PrintEngine(IMSG_ERROR, kMsgMissingKey, tag, region, status);
  return TBS_ST_NOT_FOUND;
}

// Mounts one registry entry. What this call registers in the prefix map is
// undone unless the mount succeeds.
int MountEntry(rgy_entry_t entry, const std::string& region, const std::string& caller_options) {
  int status = TBS_ST_OK;
  const auto tag = ReadKey(entry, RGY_KEY_TAG, kKeyBuffer, &status);
  if (!tag) return MissingKey("", region, status);
  if (vob_utl_is_mounted_vob_pname(tag->c_str())) {
    PrintEngine(IMSG_NOTICE, kMsgAlreadyMounted, *tag);
    return TBS_ST_ALREADY;
  }
  const auto gpath = ReadKey(entry, RGY_KEY_GPATH, kKeyBuffer, &status);
  if (!gpath) return MissingKey(*tag, region, status);

  Registrations registered;
  if (*gpath == RGY_NO_GPATH || registered.Register(*gpath) != TBS_ST_OK) {
    PrintEngine(IMSG_ERROR, kMsgNoStorage, *gpath);
    return TBS_ST_NOT_FOUND;
  }
  std::string local;
  if (ConvertPath(*gpath, &local) != TBS_ST_OK) {
    // The conversion's status is TBS_ST_PNAME_CONVERSION, and the mount answers TBS_ST_NOT_FOUND, as a
    // missing key does.
    MissingKey(*tag, region, TBS_ST_PNAME_CONVERSION);
    return TBS_ST_NOT_FOUND;
  }

  const auto registered_options = ReadKey(entry, RGY_KEY_MOUNT_OPTS, kKeyBuffer, &status);
  if (!registered_options) return MissingKey(*tag, region, status);
  std::vector<poolmap_pool_t> pools;
  if (int crack = poolmap_crack_mntopts(registered_options->c_str(), &pools)) return MissingKey(*tag, region, crack);
  for (const poolmap_pool_t& pool : pools) {
    const std::string path = PoolPath(pool.pathname);
    if (registered.Register(path) != TBS_ST_OK) {
      PrintEngine(IMSG_ERROR, kMsgNoStorage, *gpath);
      return TBS_ST_NOT_FOUND;
    }
    std::string pool_local;
    if (ConvertPath(path, &pool_local) != TBS_ST_OK) {
      MissingKey(*tag, region, TBS_ST_PNAME_CONVERSION);
      return TBS_ST_PNAME_CONVERSION;
    }
    fileutl_stat_t st;
    if (fileutl_stat(pool_local.c_str(), &st) != TBS_ST_OK) {
      PrintEngine(IMSG_ERROR, kMsgNoStorage, path);
      return TBS_ST_NOT_FOUND;
    }
  }

  const auto uuid = ReadKey(entry, RGY_KEY_UUID, kUuidBuffer, &status);
  if (!uuid) return MissingKey(*tag, region, status);

  const bool is_public = IsPublic(entry);
  fileutl_stat_t st;
  if (fileutl_stat(gpath->c_str(), &st) != TBS_ST_OK) {
    PrintEngine(IMSG_ERROR, kMsgNoStorage, *gpath);
    return TBS_ST_NOT_FOUND;
  }
  if (!is_public && ((st.mode & FILEUTL_S_IFMT) != FILEUTL_S_IFDIR || st.nlink == 0)) {
    PrintEngine(IMSG_ERROR, kMsgPermission, *tag);
    PrintEngine(IMSG_ERROR_CONT, kMsgNotDirectory, *gpath);
    return TBS_ST_PERMISSION;
  }

  std::string options;
  if (int composed = ComposeMountOptions(entry, *tag, region, is_public, caller_options, &options)) return composed;

  PrintEngine(IMSG_NOTICE, kMsgMounting, *tag);
  MountArgs args{*gpath, *tag, "-t rvfs", "uuid=" + *uuid + (options.empty() ? "" : ",") + options};
  view_mfs_request_t request;
  int cmd_status = CrackMountArgs(args, &request) == TBS_ST_OK ? TBS_ST_OK : TBS_ST_FAILURE;
  if (cmd_status == TBS_ST_OK) cmd_status = view_mfs_ioctl(&request);
  if (cmd_status != TBS_ST_OK) PrintEngine(IMSG_ERROR, kMsgUnableToMount, tbs_strerror(cmd_status));
  else registered.Keep();
  Trace("mntrpc_mount_tag final status:%d cmd_status:%d\n", cmd_status, cmd_status);
  return cmd_status;
}

// A mounted entry's status for the caller: "already mounted" is a failure.
int AfterMount(int status) { return status == TBS_ST_ALREADY ? TBS_ST_FAILURE : status; }

int MountAll(const std::string& region, const std::string& caller_options) {
  TagCursor cursor;
  if (int status = cursor.Open(region)) return status;
  int result = TBS_ST_OK;
  for (;;) {
    constexpr int kBatch = 50;
    rgy_entry_t batch[kBatch] = {};
    int count = 0;
    Entries entries;
    const int status = rgy_get_entry(cursor.get(), kBatch, batch, &count);
    for (int i = 0; i < count; ++i) entries.list().push_back(batch[i]);
    if (status != TBS_ST_OK) {
      PrintCallFailure("rgy_get_entry", region, status);
      return result ? result : status;
    }
    if (count == 0) break;
    for (rgy_entry_t entry : entries.list()) {
      if (!IsPublic(entry)) continue;
      if (ReadKey(entry, RGY_KEY_MOUNT_OPTS, kKeyBuffer).value_or("").find("noauto") != std::string::npos) continue;
      const int mounted = AfterMount(MountEntry(entry, region, caller_options));
      if (result == TBS_ST_OK) result = mounted;
    }
  }
  return result;
}

}  // namespace

}  // namespace rvmount

int mntrpc_mount_tag(const char* tag_arg, const char* options_arg, const char* flags_arg) {
  using namespace rvmount;
  const std::string tag = tag_arg ? tag_arg : "";
  const std::string options = options_arg ? options_arg : "";
  const std::string flags = flags_arg ? flags_arg : "";
  Trace("mntrpc_mount_tag:tag:%s, options:%s\n flags:%s\n", tag, options, flags);
  std::string region;
  if (int status = DefaultRegion(&region)) return status;

  if (flags.find(kAll) != std::string::npos) {
    std::vector<char> rest(flags.size() + 1);
    int status = strutl_replace_substr(flags.c_str(), std::string(kAll).c_str(), "", rest.data(), rest.size());
    if (status != TBS_ST_OK) {
      PrintCallFailure("strutl_replace_substr", status);
      return status;
    }
    return MountAll(region, options);
  }

  TagCursor cursor;
  if (int status = cursor.Open(region)) return status;
  Entries entries;
  int count = 0;
  const int found = FindTag(cursor, tag, entries, &count);
  Trace("mntrpc_mount_tag: findbystr stat:%d count:%d\n", found, count);
  if (found != TBS_ST_OK) {
    PrintCallFailure("rgy_findbystring_entry", tag, found);
    return found;
  }
  if (count == 0) {
    PrintEngine(IMSG_ERROR, kMsgNotRegistered, tag);
    return TBS_ST_FAILURE;
  }
  if (count > 1) {
    PrintEngine(IMSG_ERROR, kMsgDuplicateTag);
    PrintEngine(IMSG_ERROR_CONT, kMsgDuplicateWhere, tag, region);
    return TBS_ST_FAILURE;
  }
  return AfterMount(MountEntry(entries.list().front(), region, options));
}
