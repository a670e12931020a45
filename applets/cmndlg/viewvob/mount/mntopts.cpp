// The option parser. The mount block is built here: an exact 248-byte image
// (see view_mfs.h) whose pointer words carry 32-bit handles into the table
// of strings and pools that travels with the request; the driver resolves
// them.
#include "viewvob/mount/mntopts.h"

#include <cstring>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "adm.h"
#include "credutl.h"
#include "fileutl.h"
#include "fileutl_stat.h"
#include "mntopt.h"
#include "nlbd_port.h"
#include "ntpfxmap.h"
#include "platform/machine.h"
#include "poolmap.h"
#include "rgy.h"
#include "tbs.h"
#include "tbs_uuid.h"
#include "viewvob/mount/mntmsg.h"
#include "viewvob/mount/mntreq.h"
#include "viewvob/mount/mntrgy.h"
#include "vob_utl_mount.h"

namespace rvmount {

namespace {

// The options as the one option reader splits them. A flag counts only in
// its own shape ("ro", never "ro=1"); unknown words are not the engine's
// business (they may be another driver's) and are passed over.
class Options {
 public:
  explicit Options(std::string_view text) : words_(mntopt_split(text)) {}

  const mntopt_word_t* Find(std::string_view name) const {
    for (const mntopt_word_t& word : words_)
      if (word.keyword == name && (!word.known || word.known->kind != MNTOPT_FLAG || !word.value)) return &word;
    return nullptr;
  }
  bool Has(std::string_view name) const { return Find(name) != nullptr; }

  // The text after "=", or nullopt when the option is absent or has none.
  std::optional<std::string> Value(std::string_view name) const {
    const mntopt_word_t* word = Find(name);
    return word ? word->value : std::nullopt;
  }

  // A numeric option: nullopt when absent; a word without a number (or one
  // past 32 bits) prints the bad-number message and counts as 0.
  std::optional<std::uint32_t> Number(std::string_view name) const {
    const mntopt_word_t* word = Find(name);
    if (!word) return std::nullopt;
    if (!word->number) {
      PrintOption(IMSG_ERROR, kOptBadNumber, word->text);
      return 0u;
    }
    return *word->number;
  }

 private:
  std::vector<mntopt_word_t> words_;
};

// Calls that fill a caller's buffer, with room for any text they can give.
int AbsolutePath(const std::string& path, bool object_form, std::string* out) {
  std::vector<char> buffer(path.size() + 4096);
  const int status = object_form ? fileutl_absobjpn(path.c_str(), buffer.data(), buffer.size())
                                 : fileutl_abspn(path.c_str(), buffer.data(), buffer.size());
  if (status == TBS_ST_OK) *out = buffer.data();
  return status;
}

// The absolute and object forms of a storage pathname; the same table entry
// when both are equal.
int StorageFields(RequestBuilder& builder, const std::string& path, view_mfs_text_t* abs, view_mfs_text_t* obj) {
  std::string absolute, object;
  if (int status = AbsolutePath(path, false, &absolute)) {
    PrintCallFailure("fileutl_abspn", path, status);
    return status;
  }
  if (int status = AbsolutePath(path, true, &object)) {
    PrintCallFailure("fileutl_absobjpn", path, status);
    return status;
  }
  if (!builder.Text(absolute, abs)) return TBS_ST_FAILURE;
  if (object == absolute) {
    *obj = *abs;
    return TBS_ST_OK;
  }
  return builder.Text(object, obj) ? TBS_ST_OK : TBS_ST_FAILURE;
}

int CrackPools(RequestBuilder& builder, const std::string& map, view_mfs_mount_t& block) {
  std::vector<poolmap_pool_t> pools;
  if (int status = poolmap_crack_mapstring(map.c_str(), &pools)) {
    PrintCallFailure("poolmap_crack_mapstring", map, status);
    return status;
  }
  if (pools.empty()) return TBS_ST_OK;
  std::vector<view_mfs_pool_t> array(pools.size());
  for (std::size_t i = 0; i < pools.size(); ++i) {
    std::string local;
    const std::string path = PoolPath(pools[i].pathname);
    if (int status = ConvertPath(path, &local)) {
      PrintCallFailure("ntpfxmap_convert", path, status);
      return status;
    }
    if (!builder.Text(pools[i].map, &array[i].map)) return TBS_ST_FAILURE;
    if (int status = StorageFields(builder, local, &array[i].abs_pname, &array[i].obj_pname)) return status;
  }
  if (array.size() > std::numeric_limits<std::uint32_t>::max() / sizeof(view_mfs_pool_t)) return TBS_ST_FAILURE;
  block.pool_count = static_cast<std::uint32_t>(array.size());
  return builder.Add(array.data(), array.size() * sizeof(view_mfs_pool_t), &block.pools) ? TBS_ST_OK
                                                                                           : TBS_ST_FAILURE;
}

int CrackVobMount(RequestBuilder& builder, const MountArgs& args, const Options& options, view_mfs_mount_t& block) {
  block.flags |= VIEW_MFS_MNT_VOB;
  block.exportid = options.Number("exportid").value_or(0);
  const std::string storage = args.storage.substr(0, args.storage.find(';'));

  tbs_uuid_t uuid{};
  if (options.Has("uuid")) {
    const auto text = options.Value("uuid");
    if (!text || tbs_str_to_uuid(text->c_str(), &uuid) != TBS_ST_OK) {
      PrintOption(IMSG_ERROR, kOptBadUuid);
      return TBS_ST_FAILURE;
    }
  } else if (vob_ob_stg_pname_to_replica_uuid(storage.c_str(), &uuid) != TBS_ST_OK) {
    PrintOption(IMSG_ERROR, kOptNotResponding, storage);
    return TBS_ST_FAILURE;
  }
  std::memcpy(block.vob_uuid, uuid.bytes, sizeof block.vob_uuid);
  char uuid_text[TBS_UUID_STR_SIZE];
  tbs_uuid_to_str(&uuid, uuid_text, sizeof uuid_text);

  if (!options.Has("no_rgy_pools")) {
    if (auto map = options.Value("poolmap"))
      if (int status = CrackPools(builder, *map, block)) return status;
  }

  // The VOB's host-local storage from the object registry, its server host
  // from the tag registry of the default region, and its replica.
  std::vector<char> local(1024), host(64), region(1024);
  if (int status = rgy_getinfo_by_uuid(RGY_KIND_VOB_OBJECT, nullptr, &uuid, RGY_KEY_LOCAL_PATH, local.data(),
                                       local.size())) {
    PrintCallFailure("rgy_getinfo_by_uuid", uuid_text, status);
    return status;
  }
  if (int status = rgy_get_default_region(region.data(), region.size())) {
    PrintCallFailure("rgy_get_default_region", status);
    return status;
  }
  if (int status =
          rgy_getinfo_by_uuid(RGY_KIND_VOB_TAG, region.data(), &uuid, RGY_KEY_HOST, host.data(), host.size())) {
    PrintCallFailure("rgy_getinfo_by_uuid", uuid_text, status);
    return status;
  }
  tbs_uuid_t replica{};
  if (rgy_getuuid_by_uuid(&uuid, &replica) != TBS_ST_OK) {
    PrintOption(IMSG_ERROR, kOptNoVobId);
    return TBS_ST_FAILURE;
  }
  // The replica identifier is 16 bytes: all of them are copied.
  static_assert(sizeof block.replica_uuid == sizeof replica.bytes);
  std::memcpy(block.replica_uuid, replica.bytes, sizeof block.replica_uuid);

  if (!builder.Text(host.data(), &block.host)) return TBS_ST_FAILURE;
  if (int status = StorageFields(builder, storage, &block.stg_abs, &block.stg_obj)) return status;
  if (!builder.Text(local.data(), &block.stg_local)) return TBS_ST_FAILURE;

  // "actimeo" sets all four cache times; each of the other four, when
  // given, overrides its own time afterwards.
  if (auto all = options.Number("actimeo")) block.acregmax = block.acregmin = block.acdirmax = block.acdirmin = *all;
  if (auto v = options.Number("acregmax")) block.acregmax = *v;
  if (auto v = options.Number("acregmin")) block.acregmin = *v;
  if (auto v = options.Number("acdirmax")) block.acdirmax = *v;
  if (auto v = options.Number("acdirmin")) block.acdirmin = *v;
  if (options.Has("noac")) block.flags |= VIEW_MFS_MNT_NOAC;
  if (options.Has("nodnlc")) block.flags |= VIEW_MFS_MNT_NODNLC;
  if (options.Has("ro")) block.flags |= VIEW_MFS_MNT_RO;
  return TBS_ST_OK;
}

int CrackViewRootMount(RequestBuilder& builder, const Options& options, view_mfs_mount_t& block) {
  // These options were read above like any mount's and stay in the block;
  // as before, the warning calls them ignored because the view-root mount of
  // the driver does not use them.
  if (options.Has("soft") || options.Has("intr") || options.Has("timeo") || options.Has("retrans"))
    PrintOption(IMSG_WARNING, kOptObsoleteViewroot);
  if (options.Has("viewroot")) {
    block.flags |= VIEW_MFS_MNT_VIEWROOT;
    const std::string host = plat::MachineHostName();
    int port = 0;
    if (nlbd_get_port(host.c_str(), &port) != TBS_ST_OK) {
      PrintOption(IMSG_ERROR, kOptNoPort);
      return TBS_ST_FAILURE;
    }
    if (!builder.Text(host, &block.host)) return TBS_ST_FAILURE;
    block.port = static_cast<std::uint32_t>(port);
  } else {
    block.flags |= VIEW_MFS_MNT_RVIEWROOT;
  }
  if (!builder.Text(options.Value("xnsuffix").value_or("@@"), &block.xnsuffix)) return TBS_ST_FAILURE;
  adm_rvfs_tunables_t tunables{};
  if (int status = adm_rvfs_get_tunables(&tunables)) {
    PrintCallFailure("adm_rvfs_get_tunables", status);
    return status;
  }
  static_assert(sizeof block.tunables == sizeof tunables.words);
  std::memcpy(block.tunables, tunables.words, sizeof block.tunables);
  return TBS_ST_OK;
}

}  // namespace

int ComposeMountOptions(rgy_entry_t entry, const std::string& tag, const std::string& region, bool is_public,
                   const std::string& caller_options, std::string* options) {
  int privileged = 0;
  if (int status = credutl_is_privileged(&privileged)) {
    PrintCallFailure("credutl_is_privileged", status);
    return status;
  }
  if (privileged && !caller_options.empty()) {
    *options = caller_options;
  } else {
    int status = TBS_ST_OK;
    auto registered = ReadKey(entry, RGY_KEY_MOUNT_OPTS, kKeyBuffer, &status);
    if (!registered && status != TBS_ST_NOT_FOUND) {
      PrintEngine(IMSG_ERROR, kMsgMissingKey, tag, region, status);
      return TBS_ST_NOT_FOUND;
    }
    *options = registered.value_or("");
    if (!is_public && options->find("suid") == std::string::npos) *options += options->empty() ? "nosuid" : ",nosuid";
  }
  // Never cut: a cut could drop "nosuid" from a private VOB's options.
  if (options->size() > kMaxOptionText) {
    imsg_print(IMSG_ERROR, "The mount options of %s are longer than %d characters.\n", tag,
               static_cast<int>(kMaxOptionText));
    return TBS_ST_FAILURE;
  }
  return TBS_ST_OK;
}

int CrackMountArgs(const MountArgs& args, view_mfs_request_t* request) {
  if (args.options.size() > kMaxOptionText) {
    imsg_print(IMSG_ERROR, "The mount options of %s are longer than %d characters.\n", args.tag,
               static_cast<int>(kMaxOptionText));
    return TBS_ST_FAILURE;
  }
  RequestBuilder builder;
  view_mfs_mount_t block{};
  block.word0 = VIEW_MFS_MOUNT_WORD0;
  if (!builder.Text(args.tag, &block.mntpath)) return TBS_ST_FAILURE;
  const Options options(args.options);
  if (options.Has("soft")) block.flags |= VIEW_MFS_MNT_SOFT;
  if (!options.Has("intr")) block.flags |= VIEW_MFS_MNT_INTR;
  block.timeo = options.Number("timeo").value_or(0);
  block.retrans = options.Number("retrans").value_or(0);
  const bool view_root = options.Has("viewroot") || options.Has("rviewroot");
  const int status =
      view_root ? CrackViewRootMount(builder, options, block) : CrackVobMount(builder, args, options, block);
  if (status) return status;
  return builder.Finish(VIEW_MFS_OP_MOUNT, &block, sizeof block, request) ? TBS_ST_OK : TBS_ST_FAILURE;
}

}  // namespace rvmount
