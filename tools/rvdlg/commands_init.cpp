// `init`: makes the sample repository (the registry that mount and umount
// work on, the VOBs and the view) in one transaction.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "local/store.h"
#include "messages_to_streams.h"
#include "nlbd_port.h"
#include "platform/machine.h"
#include "platform/pathmap.h"
#include "rgy.h"
#include "rvmount/mntrpc.h"
#include "sample_repo.h"
#include "tbs.h"
#include "tbs_uuid.h"
#include "view.h"
#include "vob.h"

namespace rvdlg {

namespace {

constexpr const char* kRegion = "rvdlg";
constexpr int kBrokerPort = 7510;

std::string NewUuidText(std::mt19937_64& random) {
  tbs_uuid_t uuid;
  do {
    for (auto& byte : uuid.bytes) byte = static_cast<std::uint8_t>(random());
  } while (tbs_uuid_is_null(&uuid));
  char text[TBS_UUID_STR_SIZE];
  tbs_uuid_to_str(&uuid, text, sizeof text);
  return text;
}

struct SampleVob {
  const char* tag;
  const char* access;
  const char* dir;  // below C:\rvdlg\vobstore
};

constexpr SampleVob kSampleVobs[] = {
    {"\\public", "public", "public.vbs"},
    {"\\private", "private", "private.vbs"},
};

// Adds one VOB: its tag in the region and its object entry.
int AddVob(const SampleVob& vob, const std::string& host, std::mt19937_64& random) {
  const std::string local = std::string("C:\\rvdlg\\vobstore\\") + vob.dir;
  const std::string global = "\\\\" + host + "\\c$\\rvdlg\\vobstore\\" + vob.dir;
  // The tag names the VOB of the store with that tag: the same UUID.
  std::string uuid = NewUuidText(random);
  vob_handle_t handle = 0;
  tbs_uuid_t vob_uuid;
  char vob_uuid_text[TBS_UUID_STR_SIZE];
  if (vob_lookup_tag(vob.tag, &handle) == TBS_ST_OK && vob_get_uuid(handle, &vob_uuid) == TBS_ST_OK &&
      tbs_uuid_to_str(&vob_uuid, vob_uuid_text, sizeof vob_uuid_text) == TBS_ST_OK)
    uuid = vob_uuid_text;
  const std::string replica = NewUuidText(random);
  rgy_entry_t tag = nullptr;
  if (int status = rgy_create_entry(RGY_KIND_VOB_TAG, &tag)) return status;
  std::unique_ptr<rgy_entry, int (*)(rgy_entry_t)> tag_owner(tag, rgy_delete_entry);
  int status = 0;
  for (const auto& [key, value] : {std::pair<int, std::string>{RGY_KEY_TAG, vob.tag},
                                   {RGY_KEY_GPATH, global},
                                   {RGY_KEY_HOST, host},
                                   {RGY_KEY_ACCESS, vob.access},
                                   {RGY_KEY_MOUNT_OPTS, ""},
                                   {RGY_KEY_UUID, uuid},
                                   {RGY_KEY_COMMENT, std::string("sample ") + vob.access + " VOB"}})
    if (!status) status = rgy_setstring_in_entry(tag, key, value.c_str());
  if (!status) status = rgy_add_entry(kRegion, tag);
  if (status) return status;
  rgy_entry_t object = nullptr;
  if (int made = rgy_create_entry(RGY_KIND_VOB_OBJECT, &object)) return made;
  std::unique_ptr<rgy_entry, int (*)(rgy_entry_t)> object_owner(object, rgy_delete_entry);
  for (const auto& [key, value] : {std::pair<int, std::string>{RGY_KEY_UUID, uuid},
                                   {RGY_KEY_REPLICA_UUID, replica},
                                   {RGY_KEY_HOST, host},
                                   {RGY_KEY_GPATH, global},
                                   {RGY_KEY_LOCAL_PATH, local}})
    if (!status) status = rgy_setstring_in_entry(object, key, value.c_str());
  if (!status) status = rgy_add_entry(nullptr, object);
  return status;
}

}  // namespace

int MakeSampleRepository(Context& c, bool force) {
  MessagesToStreams messages(c);
  char region[1024];
  vob_handle_t found = 0;
  std::error_code exists_error;
  const bool has_registry = rgy_get_default_region(region, sizeof region) == TBS_ST_OK;
  // The roots of the sample's views: made by this run, or taken away again.
  std::vector<std::filesystem::path> view_roots = {plat::Home() / "views" / kSampleView,
                                                   plat::Home() / "views" / kRel1View};
  for (const char* view : kStreamViews) view_roots.push_back(plat::Home() / "views" / view);
  for (const char* view : kListViews) {
    view_roots.push_back(plat::Home() / "views" / view);
    view_roots.push_back(plat::Home() / "viewstore" / (std::string(view) + ".vws"));  // a stopped view's root
  }
  bool exists = has_registry || vob_lookup_tag("\\public", &found) == TBS_ST_OK ||
                vob_lookup_tag("\\private", &found) == TBS_ST_OK || vob_lookup_tag("\\projects", &found) == TBS_ST_OK;
  for (const auto& root : view_roots) exists = exists || std::filesystem::exists(root, exists_error);
  if (exists && !force) {
    c.out << "rvdlg: a sample repository already exists in " << c.home;
    if (has_registry) c.out << " (default region \"" << region << "\")";
    c.out << "; it is left as it is. Use 'rvdlg init --force' to replace it.\n";
    return 0;
  }
  const std::string host = plat::MachineHostName();
  if (host.empty() || host.find_first_of("\\/") != std::string::npos) {
    c.err << "rvdlg: this machine's host name \"" << host << "\" cannot name a storage pathname\n";
    return 1;
  }
  // A replaced registry's VOBs are unmounted first, so nothing stays mounted
  // under tags that no longer exist.
  if (has_registry && mntrpc_umount_tag("", " -a ") != TBS_ST_OK) {
    c.err << "rvdlg: the VOBs of the existing registry could not all be unmounted; it is left as it is\n";
    return 1;
  }
  for (const SampleVob& vob : kSampleVobs) {
    const auto dir = plat::ToHostPath(std::string("C:\\rvdlg\\vobstore\\") + vob.dir);
    std::error_code ec;
    if (!dir || (std::filesystem::create_directories(*dir, ec), ec)) {
      c.err << "rvdlg: cannot make the storage directory of " << vob.tag << ": "
            << (dir ? ec.message() : std::string("no host path")) << "\n";
      return 1;
    }
  }
  std::random_device seed;
  std::mt19937_64 random((std::uint64_t(seed()) << 32) ^ seed());
  client_local::Store* store = client_local::CurrentStore();
  if (!store) {
    c.err << "rvdlg: no store is open\n";
    return 1;
  }
  // One transaction: the repository is replaced whole or not at all. The
  // view's directory is made last; a failure takes it away again.
  std::string what;
  const std::filesystem::path& view_root = view_roots.front();
  bool made_root = false;
  const int status = store->Command([&](client_local::Store&) {
    if (int removed = RemoveSampleRepository(&what)) return removed;
    for (const auto& root : view_roots)
      if (std::filesystem::exists(root, exists_error)) {
        what = "a directory that is no view is in the way: " + root.string();
        return TBS_ST_ALREADY;
      }
    if (int built = BuildSampleVobs(&what)) return built;
    what = "making the registry";
    if (int cleared = rgy_clear()) return cleared;
    if (int added = rgy_add_region(kRegion, "the sample region of rvdlg")) return added;
    if (int made_default = rgy_set_default_region(kRegion)) return made_default;
    if (int server = rgy_set_server_host(host.c_str())) return server;
    if (int port = nlbd_set_port(host.c_str(), kBrokerPort)) return port;
    for (const SampleVob& vob : kSampleVobs)
      if (int added = AddVob(vob, host, random)) return added;
    made_root = true;  // the roots were not there
    if (int built = BuildSampleView(&what)) return built;
    if (int built = BuildChangeSample(&what)) return built;
    if (int built = BuildRel1ViewAndReplica(&what)) return built;
    if (int built = BuildViewListSample(&what)) return built;
    return BuildGeneralPagesSample(&what);
  });
  if (status != TBS_ST_OK) {
    if (made_root)
      for (const auto& root : view_roots) std::filesystem::remove_all(root, exists_error);
    // A replaced repository is back in the store: its view's files too.
    if (exists) {
      view_register_view_tag(kSampleView);
      for (const char* view : kStreamViews) view_register_view_tag(view);  // the ones it had come back
    }
    c.err << "rvdlg: cannot make the sample repository (" << what << "): " << tbs_strerror(status) << "\n";
    return 1;
  }
  c.out << "Made the sample repository in " << c.home << ":\n"
        << "  default region \"" << kRegion << "\", host \"" << host << "\"\n";
  for (const SampleVob& vob : kSampleVobs)
    c.out << "  VOB tag " << vob.tag << " (" << vob.access << "), storage \\\\" << host << "\\c$\\rvdlg\\vobstore\\"
          << vob.dir << "\n";
  c.out << "  VOB \\public: \\src\\hello.c, \\src\\util.c, \\doc\\README.txt (labels REL1, REL2; branch dev;"
           " attribute Status; a Merge hyperlink)\n"
        << "  view " << kSampleView << ", root " << view_root.string()
        << " (\\src\\util.c checked out; \\doc\\README.txt checked out unreserved and edited, with a later"
           " \\main\\3 to merge; view-private src\\extra.c and tools\\build.sh)\n"
        << "  project VOB \\projects: components public (root \\public) and hello_all; project hello (streams"
           " hello_int, hello_dev, pat_dev; baselines public_INITIAL, BL1, BL1_bad, BL2, hello_BL2; activities"
           " fix_greeting, tidy_util, deliver.hello_dev.1, deliver.pat_dev.1); project tracked (Tracklane"
           " database SAMPL, records SAMPL00000001-3)\n"
        << "  stream views hello_dev_view (activity fix_greeting), hello_int_view, tracked_dev_view;"
           " Tracklane installed\n"
        << "  view " << kRel1View << ", root " << view_roots[1].string()
        << " (REL1 over \\main\\LATEST; \\doc\\README.txt checked out unreserved)\n"
        << "  replica " << kRemoteReplica << " of \\private, mastering \\private\\notes.txt@@\\main"
        << " (mastership requests allowed on this site)\n"
        << "  \\public\\doc\\latest.txt, a link to README.txt; \\public\\src\\hello.o, a derived object;"
           " \\doc\\README.txt also checked out unreserved by the view " << kOldView << ", since removed\n";
  return 0;
}

void InstallInitCommand(CLI::App& app, Runner& chosen) {
  auto force = std::make_shared<bool>(false);
  auto* init = app.add_subcommand("init", "make the sample repository (a region, this host, VOBs with files, a view)");
  init->add_flag("--force", *force, "replace an existing sample repository");
  init->callback([&chosen, force] { chosen = [force](Context& c) { return MakeSampleRepository(c, *force); }; });
}

}  // namespace rvdlg
