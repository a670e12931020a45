// VOB mount options and storage pool maps.
#include "rvl_mntopts.h"

#include <ostream>
#include <string>
#include <vector>

#include "gcl_indent.h"
#include "gcl_status.h"
#include "mntopt.h"
#include "poolmap.h"
#include "tbs.h"

namespace {

bool Refuse(GCL_Status& status, const std::string& message) {
  status.reset(TBS_ST_INVALID_ARG);
  status.push_message(GCL_String(message.c_str()));
  return false;
}

}  // namespace

RVL_PoolMap::RVL_PoolMap() : LC_TDynamicMap<GCL_String, GCL_String, 8>(GCL_StringHash) {}

GCL_String RVL_PoolMap::text() const {
  std::string out;
  ForEach([&](const GCL_String& pool, const GCL_String& path) {
    if (!out.empty()) out += "|";
    out += std::string(pool.c_str()) + ":" + path.c_str();
  });
  return GCL_String(out.c_str());
}

bool RVL_PoolMap::parse(GCL_Status& status, const GCL_String& text) {
  std::vector<poolmap_pool_t> pools;
  if (poolmap_crack_mapstring(text.c_str(), &pools) != 0)
    return Refuse(status, std::string("Invalid pool map \"") + text.c_str() + "\"");
  RVL_PoolMap next;
  for (const auto& pool : pools) {
    const std::string name = pool.map.substr(0, pool.map.find(':'));
    if (!next.Bind(GCL_String(name.c_str()), GCL_String(pool.pathname.c_str())))
      return Refuse(status, "Pool \"" + name + "\" is mapped twice");
  }
  MakeEmpty();
  next.ForEach([&](const GCL_String& pool, const GCL_String& path) { Bind(pool, path); });
  status.make_ok();
  return true;
}

bool RVL_PoolMap::operator==(const RVL_PoolMap& other) const {
  if (Extent() != other.Extent()) return false;
  bool same = true;
  ForEach([&](const GCL_String& pool, const GCL_String& path) {
    GCL_String theirs;
    if (!other.ValueOf(pool, theirs) || !(theirs == path)) same = false;
  });
  return same;
}

GCL_String RVL_VobMountOptions::format() const {
  std::string out;
  auto flag = [&](bool value, const char* off) {
    if (!value) out += std::string(off) + ",";
  };
  auto number = [&](std::uint32_t value, std::uint32_t normal, const char* keyword) {
    if (value != normal) out += std::string(keyword) + "=" + std::to_string(value) + ",";
  };
  flag(mount_all, "noauto");
  flag(read_write, "ro");
  flag(hard_mount, "soft");
  flag(interrupts_disabled, "intr");
  flag(name_caching, "nodnlc");
  flag(set_uid, "nosuid");
  flag(attribute_caching, "noac");
  number(timeout, 5, "timeo");
  number(retries, 7, "retrans");
  number(dir_lookup_min, 30, "acdirmin");
  number(dir_lookup_max, 60, "acdirmax");
  number(file_lookup_min, 3, "acregmin");
  number(file_lookup_max, 60, "acregmax");
  if (pool_map.Extent() != 0) out += std::string("poolmap=") + pool_map.text().c_str() + ",";
  number(export_id, 0, "exportid");
  return GCL_String(out.c_str());
}

bool RVL_VobMountOptions::parse(GCL_Status& status, const GCL_String& text, bool* public_access) {
  RVL_VobMountOptions next = *this;
  bool access = public_access ? *public_access : false;
  struct Flag {
    const char* keyword;
    bool RVL_VobMountOptions::*field;
    bool value;
  };
  static const Flag flags[] = {
      {"auto", &RVL_VobMountOptions::mount_all, true},
      {"noauto", &RVL_VobMountOptions::mount_all, false},
      {"rw", &RVL_VobMountOptions::read_write, true},
      {"ro", &RVL_VobMountOptions::read_write, false},
      {"hard", &RVL_VobMountOptions::hard_mount, true},
      {"soft", &RVL_VobMountOptions::hard_mount, false},
      {"nointr", &RVL_VobMountOptions::interrupts_disabled, true},
      {"intr", &RVL_VobMountOptions::interrupts_disabled, false},
      {"dnlc", &RVL_VobMountOptions::name_caching, true},
      {"nodnlc", &RVL_VobMountOptions::name_caching, false},
      {"suid", &RVL_VobMountOptions::set_uid, true},
      {"nosuid", &RVL_VobMountOptions::set_uid, false},
      {"noac", &RVL_VobMountOptions::attribute_caching, false},
  };
  struct Number {
    const char* keyword;
    std::uint32_t RVL_VobMountOptions::*field;
  };
  static const Number numbers[] = {
      {"timeo", &RVL_VobMountOptions::timeout},
      {"retrans", &RVL_VobMountOptions::retries},
      {"acdirmin", &RVL_VobMountOptions::dir_lookup_min},
      {"acdirmax", &RVL_VobMountOptions::dir_lookup_max},
      {"acregmin", &RVL_VobMountOptions::file_lookup_min},
      {"acregmax", &RVL_VobMountOptions::file_lookup_max},
      {"exportid", &RVL_VobMountOptions::export_id},
  };
  for (const mntopt_word_t& word : mntopt_split(text.c_str())) {
    const std::string& keyword = word.keyword;
    if (!word.known) return Refuse(status, "Unknown mount option \"" + word.text + "\"");
    if (!word.known->kept_with_tag)
      return Refuse(status, "Mount option \"" + keyword + "\" is given at mount time only");
    if (!word.well_formed()) {
      switch (word.known->kind) {
        case MNTOPT_FLAG: return Refuse(status, "Mount option \"" + keyword + "\" takes no value");
        case MNTOPT_NUMBER:
          return Refuse(status, "Mount option \"" + keyword + "\" needs a number: \"" + word.text + "\"");
        case MNTOPT_TEXT: return Refuse(status, "Mount option \"" + keyword + "\" needs a pool map");
      }
    }
    for (const Flag& f : flags)
      if (keyword == f.keyword) next.*(f.field) = f.value;
    for (const Number& n : numbers)
      if (keyword == n.keyword) next.*(n.field) = *word.number;
    if (keyword == "actimeo") {
      // One value for every lookup time.
      next.dir_lookup_min = next.dir_lookup_max = next.file_lookup_min = next.file_lookup_max = *word.number;
    } else if (keyword == "poolmap") {
      if (!next.pool_map.parse(status, GCL_String(word.value->c_str()))) return false;
    } else if (keyword == "public" || keyword == "private") {
      access = keyword == "public";
    }
  }
  *this = next;
  if (public_access) *public_access = access;
  status.make_ok();
  return true;
}

void RVL_VobMountOptions::describe(std::ostream& out) const {
  GCL_IndentSection section("Vob Mount Options");
  const GCL_String prefix = GCL_IndentPrefix();
  auto yes_no = [&](const char* label, bool value) { out << prefix << label << (value ? "TRUE" : "FALSE") << "\n"; };
  auto number = [&](const char* label, std::uint32_t value) { out << prefix << label << value << "\n"; };
  yes_no("Mount All:            ", mount_all);
  yes_no("Read/Write:           ", read_write);
  yes_no("Hard Mount:           ", hard_mount);
  yes_no("Interrrupts Disabled: ", interrupts_disabled);
  yes_no("Name Caching:         ", name_caching);
  yes_no("Set UID:              ", set_uid);
  yes_no("Attribute Caching:    ", attribute_caching);
  number("Timeout:              ", timeout);
  number("Retries:              ", retries);
  number("Directory Lookup MIN: ", dir_lookup_min);
  number("Directory Lookup MAX: ", dir_lookup_max);
  number("Filename Lookup MIN:  ", file_lookup_min);
  number("Filename Lookup MAX:  ", file_lookup_max);
  out << prefix << "Pool Map:             " << (pool_map.Extent() ? pool_map.text().c_str() : "<UNKNOWN>") << "\n";
  number("Export ID:            ", export_id);
}

bool RVL_VobMountOptions::operator==(const RVL_VobMountOptions& other) const {
  return mount_all == other.mount_all && read_write == other.read_write && hard_mount == other.hard_mount &&
         interrupts_disabled == other.interrupts_disabled && name_caching == other.name_caching &&
         set_uid == other.set_uid && attribute_caching == other.attribute_caching && timeout == other.timeout &&
         retries == other.retries && dir_lookup_min == other.dir_lookup_min &&
         dir_lookup_max == other.dir_lookup_max && file_lookup_min == other.file_lookup_min &&
         file_lookup_max == other.file_lookup_max && pool_map == other.pool_map && export_id == other.export_id;
}
