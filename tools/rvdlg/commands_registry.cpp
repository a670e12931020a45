// rvdlg registry: lists, describes and changes the entries of the registry
// through the object model's registry object, holding the client lock.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "gcl_status.h"
#include "ntcs.h"
#include "rvl_registry.h"
#include "rvl_rgy_update.h"
#include "tbs.h"

namespace rvdlg {

namespace {

using F = RVL_RgyField;

// The client lock for the length of a command; the registries kept from an
// earlier run in this process (another home) are forgotten first.
class RegistryScope {
 public:
  RegistryScope() {
    nt_enter_critical_section();
    RVL_VobRegistry::forget_all();
  }
  ~RegistryScope() { nt_leave_critical_section(); }
  RegistryScope(const RegistryScope&) = delete;
  RegistryScope& operator=(const RegistryScope&) = delete;
};

std::string Text(const GCL_String& text) { return text.c_str(); }

// One stderr line: what was refused and why (the first line of the
// messages, else the status's sentence). Exit status 1.
int Refuse(Context& c, const std::string& what, const GCL_Status& status) {
  std::string why = Text(status.messages());
  why = why.substr(0, why.find('\n'));
  if (why.empty()) why = tbs_strerror(static_cast<int>(status.code()));
  c.err << "rvdlg: registry: " << what << ": " << why << "\n";
  return 1;
}

int Refuse(Context& c, const std::string& what, const std::string& why) {
  c.err << "rvdlg: registry: " << what << ": " << why << "\n";
  return 1;
}

RVL_VobRegistry Open(GCL_Status& status) { return RVL_VobRegistry::default_registry(status); }

template <class Entry>
void SortByKey(std::vector<Entry>& entries) {
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.key().compare(b.key()) < 0; });
}

}  // namespace

int ListRegistry(Context& c, const std::string& what) {
  const RegistryScope scope;
  GCL_Status status;
  const RVL_VobRegistry registry = Open(status);
  if (!status.ok()) return Refuse(c, "list " + what, status);
  if (what == "tags") {
    std::vector<RVL_VobRegistryTag> tags;
    if (!registry.list_tags(status, &tags)) return Refuse(c, "list tags", status);
    SortByKey(tags);
    for (const RVL_VobRegistryTag& tag : tags)
      c.out << Text(tag.tag_name(status)) << "  " << Text(tag.mount_access(status)) << "  "
            << Text(tag.global_path(status)) << "\n";
  } else if (what == "objects") {
    std::vector<RVL_VobRegistryObject> objects;
    if (!registry.list_objects(status, &objects)) return Refuse(c, "list objects", status);
    SortByKey(objects);
    for (const RVL_VobRegistryObject& object : objects)
      c.out << Text(object.uuid(status)) << "  " << Text(object.host(status)) << "  "
            << Text(object.local_path(status)) << "\n";
  } else if (what == "regions") {
    std::vector<RVL_VobRegion> regions;
    if (!registry.list_regions(status, &regions)) return Refuse(c, "list regions", status);
    SortByKey(regions);
    // A registry without a default region lists its regions all the same.
    GCL_Status no_default;
    GCL_String default_region;
    registry.default_region(no_default, &default_region);
    for (const RVL_VobRegion& region : regions) {
      const GCL_String name = region.name(status);
      c.out << Text(name) << (name == default_region ? " (default)" : "") << "  " << Text(region.comment(status))
            << "\n";
    }
  } else {
    std::vector<GCL_String> hosts;
    if (!registry.client_hosts(status, &hosts)) return Refuse(c, "list hosts", status);
    for (const GCL_String& host : hosts) c.out << Text(host) << "\n";
  }
  return 0;
}

int ShowRegistry(Context& c, const std::vector<std::string>& names) {
  const RegistryScope scope;
  GCL_Status status;
  const RVL_VobRegistry registry = Open(status);
  if (!status.ok()) return Refuse(c, "show", status);
  int result = 0;
  for (const std::string& name : names) {
    std::optional<RVL_RegistryEntry> entry;
    if (name == "server") {
      c.out << name << ":\n";
      registry.describe(c.out);
      continue;
    }
    if (name.rfind("uuid:", 0) == 0) {
      const RVL_Uuid uuid = RVL_Uuid::parse(status, GCL_String(name.substr(5).c_str()));
      if (status.ok()) entry = registry.find_object(status, uuid);
    } else if (name.rfind("region:", 0) == 0) {
      entry = registry.find_region(status, GCL_String(name.substr(7).c_str()));
    } else {
      entry = registry.find_tag(status, GCL_String(name.c_str()));
    }
    if (!status.ok()) {
      result |= Refuse(c, "show " + name, status);
      status.make_ok();
      continue;
    }
    if (!entry || entry->is_null()) {
      result |= Refuse(c, "show " + name, "no such tag, object or region");
      continue;
    }
    c.out << name << ":\n";
    entry->describe(c.out);
  }
  return result;
}

namespace {

struct TagChanges {
  std::optional<std::string> comment, gpath, host, options;
  bool make_public = false, make_private = false;
};

int SetTag(Context& c, const std::string& name, const TagChanges& changes) {
  const RegistryScope scope;
  GCL_Status status;
  RVL_VobRegistry registry = Open(status);
  if (!status.ok()) return Refuse(c, "set " + name, status);
  const RVL_VobRegistryTag tag = registry.find_tag(status, GCL_String(name.c_str()));
  if (!status.ok()) return Refuse(c, "set " + name, status);
  if (tag.is_null()) return Refuse(c, "set " + name, "no such VOB tag");
  if (!registry.may_change_tag(status, GCL_String(name.c_str())))
    return status.ok() ? Refuse(c, "set " + name, "only its creator or a privileged user may change it")
                       : Refuse(c, "set " + name, status);
  RVL_VobRgyTagUpdate update(tag);
  struct Wanted {
    const std::optional<std::string>& value;
    F field;
    const char* label;
  };
  const std::optional<std::string> access =
      changes.make_public ? std::optional<std::string>("public")
                          : changes.make_private ? std::optional<std::string>("private") : std::nullopt;
  const Wanted wanted[] = {{changes.comment, F::comment, "comment"},
                           {changes.gpath, F::global_path, "global path"},
                           {changes.host, F::host, "host"},
                           {changes.options, F::mount_options, "mount options"},
                           {access, F::access, "access"}};
  for (const Wanted& w : wanted)
    if (w.value && !update.set(status, w.field, GCL_String(w.value->c_str()))) return Refuse(c, "set " + name, status);
  std::string changed;
  for (const Wanted& w : wanted)
    if (update.is_changed(w.field)) changed += (changed.empty() ? "" : ", ") + std::string(w.label);
  if (changed.empty()) {
    c.out << name << ": nothing to change\n";
    return 0;
  }
  if (!update.apply(status, registry)) return Refuse(c, "set " + name, status);
  c.out << name << ": changed " << changed << "\n";
  return 0;
}

int RemoveTag(Context& c, const std::string& name) {
  const RegistryScope scope;
  GCL_Status status;
  const RVL_VobRegistry registry = Open(status);
  if (!status.ok()) return Refuse(c, "rmtag " + name, status);
  const RVL_VobRegistryTag tag = registry.find_tag(status, GCL_String(name.c_str()));
  if (!status.ok()) return Refuse(c, "rmtag " + name, status);
  if (tag.is_null()) return Refuse(c, "rmtag " + name, "no such VOB tag");
  if (tag.is_mounted(status)) return Refuse(c, "rmtag " + name, "it is mounted on this host; unmount it first");
  if (!registry.may_change_tag(status, GCL_String(name.c_str())))
    return status.ok() ? Refuse(c, "rmtag " + name, "only its creator or a privileged user may remove it")
                       : Refuse(c, "rmtag " + name, status);
  if (!registry.remove_tag(status, GCL_String(name.c_str()))) return Refuse(c, "rmtag " + name, status);
  c.out << name << ": removed\n";
  return 0;
}

int MakeOrChangeRegion(Context& c, const std::string& name, const std::optional<std::string>& comment) {
  const RegistryScope scope;
  GCL_Status status;
  RVL_VobRegistry registry = Open(status);
  if (!status.ok()) return Refuse(c, "region " + name, status);
  const RVL_VobRegion region = registry.find_region(status, GCL_String(name.c_str()));
  if (!status.ok()) return Refuse(c, "region " + name, status);
  if (region.is_null()) {
    if (registry.create_region(status, GCL_String(name.c_str()), GCL_String(comment.value_or("").c_str())).is_null())
      return Refuse(c, "region " + name, status);
    c.out << name << ": made\n";
    return 0;
  }
  RVL_VobRegionUpdate update(region);
  if (comment && !update.set(status, F::comment, GCL_String(comment->c_str()))) return Refuse(c, "region " + name, status);
  if (!update.is_changed()) {
    c.out << name << ": nothing to change\n";
    return 0;
  }
  if (!update.apply(status, registry)) return Refuse(c, "region " + name, status);
  c.out << name << ": changed comment\n";
  return 0;
}

}  // namespace

void InstallRegistryCommands(CLI::App& app, Runner& chosen) {
  auto* registry = app.add_subcommand("registry", "list, show and change the registry's tags, objects and regions");
  registry->require_subcommand(1);

  auto what = std::make_shared<std::string>();
  auto* list = registry->add_subcommand("list", "list the tags, objects, regions or client hosts");
  list->add_option("WHAT", *what, "tags, objects, regions or hosts")
      ->required()
      ->check(CLI::IsMember({"tags", "objects", "regions", "hosts"}));
  list->callback([&chosen, what] { chosen = [what](Context& c) { return ListRegistry(c, *what); }; });

  auto names = std::make_shared<std::vector<std::string>>();
  auto* show = registry->add_subcommand("show", "the describe output of registry entries");
  show->add_option("NAME", *names, "a VOB tag, uuid:UUID, region:NAME or server")->required();
  show->callback([&chosen, names] { chosen = [names](Context& c) { return ShowRegistry(c, *names); }; });

  auto tag = std::make_shared<std::string>();
  auto changes = std::make_shared<TagChanges>();
  auto* set = registry->add_subcommand("set", "change a VOB tag's registry entry");
  set->add_option("TAG", *tag, "the VOB tag")->required();
  set->add_option("--comment", changes->comment, "the comment");
  set->add_option("--gpath", changes->gpath, "the global path of the storage");
  set->add_option("--host", changes->host, "the storage host");
  set->add_option("--options", changes->options, "the mount options (\"ro,timeo=10,\")");
  auto* make_public = set->add_flag("--public", changes->make_public, "every user may mount it");
  set->add_flag("--private", changes->make_private, "only its owner mounts it")->excludes(make_public);
  set->callback([&chosen, tag, changes] { chosen = [tag, changes](Context& c) { return SetTag(c, *tag, *changes); }; });

  auto removed = std::make_shared<std::string>();
  auto* rmtag = registry->add_subcommand("rmtag", "remove a VOB tag that is not mounted here");
  rmtag->add_option("TAG", *removed, "the VOB tag")->required();
  rmtag->callback([&chosen, removed] { chosen = [removed](Context& c) { return RemoveTag(c, *removed); }; });

  auto region = std::make_shared<std::string>();
  auto comment = std::make_shared<std::optional<std::string>>();
  auto* make_region = registry->add_subcommand("region", "make a region or change its comment");
  make_region->add_option("NAME", *region, "the region")->required();
  make_region->add_option("--comment", *comment, "the comment");
  make_region->callback(
      [&chosen, region, comment] { chosen = [region, comment](Context& c) { return MakeOrChangeRegion(c, *region, *comment); }; });
}

}  // namespace rvdlg
