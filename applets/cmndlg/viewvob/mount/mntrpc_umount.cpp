// Unmounting VOB tags. The unmount block is built here: an exact 28-byte
// image (see view_mfs.h) whose tag pointer carries a 32-bit handle into the
// table that travels with the request; the driver resolves it.
#include <cstring>
#include <string>
#include <vector>

#include "credutl.h"
#include "ntpfxmap.h"
#include "poolmap.h"
#include "rgy.h"
#include "stg.h"
#include "strutl_subst.h"
#include "tbs.h"
#include "tbs_uuid.h"
#include "view_mfs.h"
#include "viewvob/mount/mntmsg.h"
#include "viewvob/mount/mntreq.h"
#include "viewvob/mount/mntrgy.h"
#include "rvmount/mntrpc.h"
#include "vob_utl_mount.h"

namespace rvmount {

namespace {

constexpr std::string_view kAll = " -a ";

int SendUnmount(const std::string& tag, const tbs_oid_t& oid) {
  RequestBuilder builder;
  view_mfs_unmount_t block{};
  std::memcpy(block.vob_oid, oid.bytes, sizeof block.vob_oid);
  view_mfs_request_t request;
  if (!builder.Text(tag, &block.mntpath) || !builder.Finish(VIEW_MFS_OP_UNMOUNT, &block, sizeof block, &request))
    return TBS_ST_FAILURE;
  return view_mfs_ioctl(&request);
}

// Unmounts a pathname that has no registry entry.
int UnmountPathOnly(const std::string& tag) {
  if (!vob_utl_is_mounted_vob_pname(tag.c_str())) {
    PrintEngine(IMSG_NOTICE, kMsgNotMounted, tag);
    Trace("mntrpc_umount1_tag_noent final status:%d cmd_status:%d\n", TBS_ST_FAILURE, TBS_ST_OK);
    return TBS_ST_FAILURE;  // neither registered nor mounted: nothing was done
  }
  PrintEngine(IMSG_NOTICE, kMsgUnmounting, tag);
  const int cmd_status = SendUnmount(tag, TBS_OID_NULL);
  if (cmd_status != TBS_ST_OK) PrintEngine(IMSG_ERROR, kMsgUnableToUnmount, tbs_strerror(cmd_status));
  Trace("mntrpc_umount1_tag_noent final status:%d cmd_status:%d\n", cmd_status, cmd_status);
  return cmd_status;
}

int MissingKey(const std::string& tag, const std::string& region, int status) {
  PrintEngine(IMSG_ERROR, kMsgMissingKey, tag, region, status);
  return status == TBS_ST_PNAME_CONVERSION ? TBS_ST_PNAME_CONVERSION : TBS_ST_NOT_FOUND;
}

int UnmountEntry(rgy_entry_t entry, const std::string& region) {
  int status = TBS_ST_OK;
  const auto tag = ReadKey(entry, RGY_KEY_TAG, kKeyBuffer, &status);
  if (!tag) return MissingKey("", region, status);
  const auto gpath = ReadKey(entry, RGY_KEY_GPATH, kKeyBuffer, &status);
  if (!gpath) return MissingKey(*tag, region, status);
  std::string local;
  // A conversion failure answers TBS_ST_PNAME_CONVERSION here (mounting answers TBS_ST_NOT_FOUND for it).
  if (ConvertPath(*gpath, &local) != TBS_ST_OK) return MissingKey(*tag, region, TBS_ST_PNAME_CONVERSION);
  if (!IsPublic(entry)) {
    // Private VOBs belong to their users, who may unmount them; only a check
    // that cannot be made stops the unmount.
    int privileged = 0;
    if (int checked = credutl_is_privileged(&privileged)) {
      PrintCallFailure("credutl_is_privileged", checked);
      return checked;
    }
  }
  if (!vob_utl_is_mounted_vob_pname(tag->c_str())) {
    PrintEngine(IMSG_NOTICE, kMsgNotMounted, *tag);
    return TBS_ST_OK;
  }
  PrintEngine(IMSG_NOTICE, kMsgUnmounting, *tag);
  const auto uuid = ReadKey(entry, RGY_KEY_UUID, kUuidBuffer, &status);
  if (!uuid) return MissingKey(*tag, region, status);
  tbs_oid_t oid{};
  if (tbs_dstr_to_oid(uuid->c_str(), &oid) != TBS_ST_OK) {
    PrintOption(IMSG_ERROR, kOptNoVobId);
    return TBS_ST_FAILURE;
  }
  const int cmd_status = SendUnmount(*tag, oid);
  if (cmd_status == TBS_ST_OK) {
    ntpfxmap_unregister(gpath->c_str());
    std::vector<poolmap_pool_t> pools;
    if (auto options = ReadKey(entry, RGY_KEY_MOUNT_OPTS, kKeyBuffer);
        options && poolmap_crack_mntopts(options->c_str(), &pools) == TBS_ST_OK)
      for (const poolmap_pool_t& pool : pools) ntpfxmap_unregister(PoolPath(pool.pathname).c_str());
  } else {
    PrintEngine(IMSG_ERROR, kMsgUnableToUnmount, tbs_strerror(cmd_status));
  }
  Trace("mntrpc_umount1_tag final status:%d cmd_status:%d\n", cmd_status, cmd_status);
  return cmd_status;
}

int UnmountTag(const TagCursor& cursor, const std::string& tag, const std::string& region) {
  Entries entries;
  int count = 0;
  const int found = FindTag(cursor, tag, entries, &count);
  Trace("mntrpc_umount_tag: findbystr stat:%d count:%d\n", found, count);
  if (found != TBS_ST_OK) {
    PrintCallFailure("rgy_findbystring_entry", tag, found);
    return found;
  }
  if (count == 0) {
    PrintEngine(IMSG_ERROR, kMsgNotRegistered, tag);
    return UnmountPathOnly(tag);
  }
  if (count > 1) {
    PrintEngine(IMSG_ERROR, kMsgDuplicateTag);
    PrintEngine(IMSG_ERROR_CONT, kMsgDuplicateWhere, tag, region);
    return TBS_ST_FAILURE;
  }
  return UnmountEntry(entries.list().front(), region);
}

// The mounted pathnames, copied out of a storage area.
int MountedPathnames(std::vector<std::string>* names) {
  const stg_area_t area = stg_create_area(4096);
  if (area == STG_NULL_AREA) {
    PrintCallFailure("stg_create_area", TBS_ST_NO_MEMORY);
    return TBS_ST_NO_MEMORY;
  }
  char** list = nullptr;
  const int status = vob_utl_get_mounted_vob_pnames(area, &list);
  if (status == TBS_ST_OK)
    for (char** name = list; name && *name; ++name) names->emplace_back(*name);
  else
    PrintCallFailure("vob_utl_get_mounted_vob_pnames", status);
  stg_delete_area(area);
  return status;
}

}  // namespace

}  // namespace rvmount

int mntrpc_umount_tag(const char* tag_arg, const char* flags_arg) {
  using namespace rvmount;
  const std::string tag = tag_arg ? tag_arg : "";
  const std::string flags = flags_arg ? flags_arg : "";
  Trace("mntrpc_umount_tag:tag:%s flags:%s\n", tag, flags);
  std::string region;
  if (int status = DefaultRegion(&region)) return status;
  TagCursor cursor;
  if (int status = cursor.Open(region)) return status;
  if (flags.find(kAll) == std::string::npos) return UnmountTag(cursor, tag, region);

  std::vector<char> rest(flags.size() + 1);
  if (int status = strutl_replace_substr(flags.c_str(), std::string(kAll).c_str(), "", rest.data(), rest.size())) {
    PrintCallFailure("strutl_replace_substr", status);
    return status;
  }
  std::vector<std::string> mounted;
  if (int status = MountedPathnames(&mounted)) return status;
  int result = TBS_ST_OK;
  for (const std::string& name : mounted) {
    const int status = UnmountTag(cursor, name, region);
    if (result == TBS_ST_OK) result = status;
  }
  return result;
}
