// The tag registry, kept in the store: regions, entries and their string
// fields by key.
#include "rgy.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "credutl.h"
#include "local/local_call.h"
#include "local/store.h"
#include "platform/machine.h"
#include "tbs.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;

namespace {

// Entries and cursors handed out and not yet freed, for tests.
std::atomic<int> live_entries{0};
std::atomic<int> live_cursors{0};

}  // namespace

struct rgy_entry {
  rgy_entry(int entry_kind, std::string entry_region) : kind(entry_kind), region(std::move(entry_region)) {
    ++live_entries;
  }
  ~rgy_entry() { --live_entries; }
  rgy_entry(const rgy_entry&) = delete;
  rgy_entry& operator=(const rgy_entry&) = delete;

  int kind = 0;
  std::string region;
  std::map<int, std::string> fields;
  std::int64_t id = 0;  // the stored record it was read from or added as; 0 for none
};

struct rgy_cursor {
  rgy_cursor(int cursor_kind, std::string cursor_region) : kind(cursor_kind), region(std::move(cursor_region)) {
    ++live_cursors;
  }
  ~rgy_cursor() { --live_cursors; }
  rgy_cursor(const rgy_cursor&) = delete;
  rgy_cursor& operator=(const rgy_cursor&) = delete;

  int kind = 0;
  std::string region;
  std::int64_t last_id = 0;  // rgy_get_entry goes on after this entry
};

namespace {

// The registry's own record (server host, password hash): an entry of a kind
// no cursor reads, so rgy_clear forgets it with everything else.
constexpr int kServerKind = 0;
constexpr int kPasswordHashKey = 63;

bool ValidKind(int kind) {
  return kind == RGY_KIND_VOB_TAG || kind == RGY_KIND_VIEW_TAG || kind == RGY_KIND_VOB_OBJECT ||
         kind == RGY_KIND_REGION || kind == RGY_KIND_VIEW_OBJECT;
}

bool IsTagKind(int kind) { return kind == RGY_KIND_VOB_TAG || kind == RGY_KIND_VIEW_TAG; }

std::string ArgText(const char* text) { return text ? text : "(null)"; }

int Deliver(const std::string& text, char* out, std::size_t size) {
  if (text.size() + 1 > size) {
    out[0] = '\0';
    return TBS_ST_FAILURE;
  }
  std::memcpy(out, text.c_str(), text.size() + 1);
  return TBS_ST_OK;
}

std::unique_ptr<rgy_entry> LoadEntry(Store& s, std::int64_t id, int kind, const std::string& region) {
  auto entry = std::make_unique<rgy_entry>(kind, region);
  entry->id = id;
  if (kind == RGY_KIND_REGION) {
    Statement read(s, "SELECT name, comment FROM rgy_regions WHERE rowid = ?1");
    read.Bind(1, id);
    if (read.Step()) {
      entry->fields[RGY_KEY_REGION] = read.Text(0);
      entry->fields[RGY_KEY_COMMENT] = read.Text(1);
    }
    return entry;
  }
  Statement fields(s, "SELECT key, value FROM rgy_fields WHERE entry = ?1");
  fields.Bind(1, id);
  while (fields.Step()) entry->fields[static_cast<int>(fields.Int(0))] = fields.Text(1);
  return entry;
}

bool RegionExists(Store& s, const std::string& region) {
  Statement read(s, "SELECT 1 FROM rgy_regions WHERE name = ?1");
  read.Bind(1, region);
  return read.Step();
}

// The entries of a query (ids, in order) handed out to the caller.
int HandOut(Store& s, Statement& ids, int kind, const std::string& region, int max, rgy_entry_t* entries,
            int* count, std::int64_t* last_id) {
  std::vector<std::unique_ptr<rgy_entry>> found;
  std::vector<std::int64_t> id_list;
  while (static_cast<int>(id_list.size()) < max && ids.Step()) id_list.push_back(ids.Int(0));
  for (std::int64_t id : id_list) found.push_back(LoadEntry(s, id, kind, region));
  *count = static_cast<int>(found.size());
  for (std::size_t i = 0; i < found.size(); ++i) entries[i] = found[i].release();
  if (last_id && !id_list.empty()) *last_id = id_list.back();
  return TBS_ST_OK;
}

}  // namespace

int rgy_get_default_region(char* out, std::size_t size) {
  return LocalCall("rgy_get_default_region", {std::to_string(size)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_NOT_FOUND;
    std::string region;
    bool found = false;
    if (int status = store->Command([&](Store& s) {
          Statement read(s, "SELECT name FROM rgy_regions WHERE is_default = 1");
          found = read.Step();
          if (found) region = read.Text(0);
          return TBS_ST_OK;
        }))
      return status;
    if (!found) return TBS_ST_NOT_FOUND;
    return Deliver(region, out, size);
  });
}

int rgy_open_cursor(int kind, const char* region, rgy_cursor_t* cursor) {
  return LocalCall("rgy_open_cursor", {std::to_string(kind), ArgText(region)},
                   NonNull(cursor) && ValidKind(kind) && !(IsTagKind(kind) && !region), [&] {
    *cursor = nullptr;
    const std::string name = IsTagKind(kind) ? region : "";
    if (IsTagKind(kind)) {
      Store* store = client_local::CurrentStore();
      if (!store) return TBS_ST_NOT_FOUND;
      bool exists = false;
      if (int status = store->Command([&](Store& s) {
            exists = RegionExists(s, name);
            return TBS_ST_OK;
          }))
        return status;
      if (!exists) return TBS_ST_NOT_FOUND;
    }
    *cursor = new rgy_cursor(kind, name);
    return TBS_ST_OK;
  });
}

int rgy_close_cursor(rgy_cursor_t cursor) {
  return LocalCall("rgy_close_cursor", {}, NonNull(cursor), [&] {
    delete cursor;
    return TBS_ST_OK;
  });
}

int rgy_get_entry(rgy_cursor_t cursor, int max, rgy_entry_t* entries, int* count) {
  return LocalCall("rgy_get_entry", {std::to_string(max)}, NonNull(cursor, entries, count) && max >= 1, [&] {
    *count = 0;
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_OK;
    std::int64_t last = cursor->last_id;
    const int status = store->Command([&](Store& s) {
      if (cursor->kind == RGY_KIND_REGION) {
        Statement ids(s, "SELECT rowid FROM rgy_regions WHERE rowid > ?1 ORDER BY rowid");
        ids.Bind(1, cursor->last_id);
        return HandOut(s, ids, cursor->kind, cursor->region, max, entries, count, &last);
      }
      Statement ids(s, "SELECT id FROM rgy_entries WHERE kind = ?1 AND region = ?2 AND id > ?3 ORDER BY id");
      ids.Bind(1, cursor->kind).Bind(2, cursor->region).Bind(3, cursor->last_id);
      return HandOut(s, ids, cursor->kind, cursor->region, max, entries, count, &last);
    });
    if (status == TBS_ST_OK) cursor->last_id = last;
    return status;
  });
}

int rgy_findbystring_entry(rgy_cursor_t cursor, int key, const char* value, int max, rgy_entry_t* entries,
                           int* count) {
  return LocalCall("rgy_findbystring_entry", {std::to_string(key), ArgText(value), std::to_string(max)},
                   NonNull(cursor, value, entries, count) && max >= 1, [&] {
    *count = 0;
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_OK;
    return store->Command([&](Store& s) {
      Statement ids(s, "SELECT e.id FROM rgy_entries e JOIN rgy_fields f ON f.entry = e.id"
                       " WHERE e.kind = ?1 AND e.region = ?2 AND f.key = ?3 AND f.value = ?4 ORDER BY e.id");
      ids.Bind(1, cursor->kind).Bind(2, cursor->region).Bind(3, key).Bind(4, value);
      return HandOut(s, ids, cursor->kind, cursor->region, max, entries, count, nullptr);
    });
  });
}

int rgy_getstring_from_entry(rgy_entry_t entry, int key, std::size_t size, char* buffer) {
  return LocalCall("rgy_getstring_from_entry", {std::to_string(key), std::to_string(size)},
                   NonNull(entry, buffer) && size != 0, [&] {
    buffer[0] = '\0';
    auto found = entry->fields.find(key);
    if (found == entry->fields.end()) return TBS_ST_NOT_FOUND;
    return Deliver(found->second, buffer, size);
  });
}

int rgy_getuuid_from_entry(rgy_entry_t entry, int key, tbs_uuid_t* uuid) {
  return LocalCall("rgy_getuuid_from_entry", {std::to_string(key)}, NonNull(entry, uuid), [&] {
    auto found = entry->fields.find(key);
    if (found == entry->fields.end()) return TBS_ST_NOT_FOUND;
    tbs_uuid_t read{};
    if (tbs_str_to_uuid(found->second.c_str(), &read) != TBS_ST_OK) return TBS_ST_NOT_FOUND;
    *uuid = read;
    return TBS_ST_OK;
  });
}

int rgy_delete_entry(rgy_entry_t entry) {
  return LocalCall("rgy_delete_entry", {}, NonNull(entry), [&] {
    delete entry;
    return TBS_ST_OK;
  });
}

namespace {

// The id of the entry of a kind (and region, for tags) whose key 16 reads
// as the UUID; 0 when none.
std::int64_t FindByUuid(Store& s, int kind, const std::string& region, const tbs_uuid_t& uuid) {
  char text[TBS_UUID_STR_SIZE];
  tbs_uuid_to_str(&uuid, text, sizeof text);
  Statement ids(s, "SELECT e.id FROM rgy_entries e JOIN rgy_fields f ON f.entry = e.id"
                   " WHERE e.kind = ?1 AND e.region = ?2 AND f.key = ?3 AND lower(f.value) = ?4 ORDER BY e.id");
  ids.Bind(1, kind).Bind(2, region).Bind(3, RGY_KEY_UUID).Bind(4, text);
  return ids.Step() ? ids.Int(0) : 0;
}

}  // namespace

int rgy_getinfo_by_uuid(int kind, const char* region, const tbs_uuid_t* uuid, int key, char* out,
                        std::size_t size) {
  return LocalCall("rgy_getinfo_by_uuid", {std::to_string(kind), ArgText(region), std::to_string(key)}, true, [&] {
    if (!uuid || !out || size == 0 || (kind != RGY_KIND_VOB_OBJECT && kind != RGY_KIND_VOB_TAG) ||
        (kind == RGY_KIND_VOB_TAG && !region))
      return TBS_ST_INVALID_ARG;
    out[0] = '\0';
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_NOT_FOUND;
    std::string value;
    bool found = false;
    const std::string where = kind == RGY_KIND_VOB_TAG ? region : "";
    if (int status = store->Command([&](Store& s) {
          const std::int64_t id = FindByUuid(s, kind, where, *uuid);
          if (!id) return TBS_ST_OK;
          Statement read(s, "SELECT value FROM rgy_fields WHERE entry = ?1 AND key = ?2");
          read.Bind(1, id).Bind(2, key);
          found = read.Step();
          if (found) value = read.Text(0);
          return TBS_ST_OK;
        }))
      return status;
    if (!found) return TBS_ST_NOT_FOUND;
    return Deliver(value, out, size);
  });
}

int rgy_getuuid_by_uuid(const tbs_uuid_t* vob_uuid, tbs_uuid_t* replica) {
  return LocalCall("rgy_getuuid_by_uuid", {}, NonNull(vob_uuid, replica), [&] {
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_NOT_FOUND;
    std::string text;
    bool found = false;
    if (int status = store->Command([&](Store& s) {
          const std::int64_t id = FindByUuid(s, RGY_KIND_VOB_OBJECT, "", *vob_uuid);
          if (!id) return TBS_ST_OK;
          Statement read(s, "SELECT value FROM rgy_fields WHERE entry = ?1 AND key = ?2");
          read.Bind(1, id).Bind(2, RGY_KEY_REPLICA_UUID);
          found = read.Step();
          if (found) text = read.Text(0);
          return TBS_ST_OK;
        }))
      return status;
    tbs_uuid_t result{};
    if (!found || tbs_str_to_uuid(text.c_str(), &result) != TBS_ST_OK) return TBS_ST_NOT_FOUND;
    *replica = result;
    return TBS_ST_OK;
  });
}

int rgy_add_region(const char* region, const char* comment) {
  return LocalCall("rgy_add_region", {ArgText(region), ArgText(comment)}, NonNull(region) && *region, [&](Store& s) {
    if (RegionExists(s, region)) return TBS_ST_ALREADY;
    Statement write(s, "INSERT INTO rgy_regions (name, comment) VALUES (?1, ?2)");
    write.Bind(1, region).Bind(2, comment ? comment : "").Run();
    return TBS_ST_OK;
  });
}

int rgy_set_default_region(const char* region) {
  return LocalCall("rgy_set_default_region", {ArgText(region)}, NonNull(region), [&](Store& s) {
    if (!RegionExists(s, region)) return TBS_ST_NOT_FOUND;
    Statement write(s, "UPDATE rgy_regions SET is_default = (name = ?1)");
    write.Bind(1, region).Run();
    return TBS_ST_OK;
  });
}

int rgy_create_entry(int kind, rgy_entry_t* entry) {
  return LocalCall("rgy_create_entry", {std::to_string(kind)}, NonNull(entry) && ValidKind(kind), [&] {
    *entry = new rgy_entry(kind, {});
    return TBS_ST_OK;
  });
}

int rgy_setstring_in_entry(rgy_entry_t entry, int key, const char* value) {
  return LocalCall("rgy_setstring_in_entry", {std::to_string(key), ArgText(value)},
                   NonNull(entry, value) && key >= 1 && key <= 63, [&] {
    entry->fields[key] = value;
    return TBS_ST_OK;
  });
}

int rgy_add_entry(const char* region, rgy_entry_t entry) {
  return LocalCall("rgy_add_entry", {ArgText(region)},
                   NonNull(entry) && entry->kind != RGY_KIND_REGION && !(IsTagKind(entry->kind) && !region), [&] {
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_FAILURE;
    const bool tag = IsTagKind(entry->kind);
    const std::string where = tag ? region : "";
    return store->Command([&](Store& s) {
      std::map<int, std::string> fields = entry->fields;
      if (tag) {
        if (!RegionExists(s, where)) return TBS_ST_NOT_FOUND;
        auto name = fields.find(RGY_KEY_TAG);
        if (name == fields.end()) return TBS_ST_NOT_FOUND;
        Statement same(s, "SELECT 1 FROM rgy_entries e JOIN rgy_fields f ON f.entry = e.id"
                          " WHERE e.kind = ?1 AND e.region = ?2 AND f.key = ?3 AND f.value = ?4");
        same.Bind(1, entry->kind).Bind(2, where).Bind(3, RGY_KEY_TAG).Bind(4, name->second);
        if (same.Step()) return TBS_ST_ALREADY;
        fields[RGY_KEY_REGION] = where;
        fields[RGY_KEY_CREATOR] = plat::MachineUserName();
      } else {
        auto text = fields.find(RGY_KEY_UUID);
        tbs_uuid_t uuid{};
        if (text == fields.end()) return TBS_ST_NOT_FOUND;
        if (tbs_str_to_uuid(text->second.c_str(), &uuid) != TBS_ST_OK) return TBS_ST_INVALID_ARG;
        if (FindByUuid(s, entry->kind, where, uuid)) return TBS_ST_ALREADY;
      }
      Statement insert(s, "INSERT INTO rgy_entries (kind, region) VALUES (?1, ?2)");
      insert.Bind(1, entry->kind).Bind(2, where).Run();
      Statement last(s, "SELECT last_insert_rowid()");
      last.Step();
      const std::int64_t id = last.Int(0);
      for (const auto& [key, value] : fields) {
        Statement field(s, "INSERT INTO rgy_fields (entry, key, value) VALUES (?1, ?2, ?3)");
        field.Bind(1, id).Bind(2, key).Bind(3, value).Run();
      }
      entry->region = where;
      entry->fields = std::move(fields);
      entry->id = id;
      return TBS_ST_OK;
    });
  });
}

int rgy_clear() {
  return LocalCall("rgy_clear", {}, true, [](Store& s) {
    s.Exec("DELETE FROM rgy_fields; DELETE FROM rgy_entries; DELETE FROM rgy_regions;");
    return TBS_ST_OK;
  });
}

int rgy_findbyuuid_entry(rgy_cursor_t cursor, const tbs_uuid_t* uuid, int max, rgy_entry_t* entries, int* count) {
  return LocalCall("rgy_findbyuuid_entry", {std::to_string(max)}, NonNull(cursor, uuid, entries,
                   count) && max >= 1, [&] {
    *count = 0;
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_OK;
    char text[TBS_UUID_STR_SIZE];
    tbs_uuid_to_str(uuid, text, sizeof text);
    return store->Command([&](Store& s) {
      Statement ids(s, "SELECT e.id FROM rgy_entries e JOIN rgy_fields f ON f.entry = e.id"
                       " WHERE e.kind = ?1 AND e.region = ?2 AND f.key = ?3 AND lower(f.value) = ?4 ORDER BY e.id");
      ids.Bind(1, cursor->kind).Bind(2, cursor->region).Bind(3, RGY_KEY_UUID).Bind(4, std::string(text));
      return HandOut(s, ids, cursor->kind, cursor->region, max, entries, count, nullptr);
    });
  });
}

int rgy_remove_by_string(int kind, const char* region, const char* tag) {
  return LocalCall("rgy_remove_by_string", {std::to_string(kind), ArgText(region), ArgText(tag)},
                   NonNull(region, tag) && IsTagKind(kind), [&](Store& s) {
    Statement ids(s, "SELECT e.id FROM rgy_entries e JOIN rgy_fields f ON f.entry = e.id"
                     " WHERE e.kind = ?1 AND e.region = ?2 AND f.key = ?3 AND f.value = ?4");
    ids.Bind(1, kind).Bind(2, std::string(region)).Bind(3, RGY_KEY_TAG).Bind(4, std::string(tag));
    if (!ids.Step()) return TBS_ST_NOT_FOUND;
    const std::int64_t id = ids.Int(0);
    Statement drop(s, "DELETE FROM rgy_entries WHERE id = ?1");
    drop.Bind(1, id).Run();
    Statement fields(s, "DELETE FROM rgy_fields WHERE entry = ?1");
    fields.Bind(1, id).Run();
    return TBS_ST_OK;
  });
}

int rgy_remove_by_uuid(const tbs_uuid_t* uuid) {
  return LocalCall("rgy_remove_by_uuid", {}, NonNull(uuid), [&](Store& s) {
    std::int64_t id = FindByUuid(s, RGY_KIND_VOB_OBJECT, "", *uuid);
    if (!id) id = FindByUuid(s, RGY_KIND_VIEW_OBJECT, "", *uuid);
    if (!id) return TBS_ST_NOT_FOUND;
    Statement fields(s, "DELETE FROM rgy_fields WHERE entry = ?1");
    fields.Bind(1, id).Run();
    Statement drop(s, "DELETE FROM rgy_entries WHERE id = ?1");
    drop.Bind(1, id).Run();
    return TBS_ST_OK;
  });
}

int rgy_setuuid_in_entry(rgy_entry_t entry, int key, const tbs_uuid_t* uuid) {
  return LocalCall("rgy_setuuid_in_entry", {std::to_string(key)}, NonNull(entry, uuid) && key >= 1 && key <= 63, [&] {
    char text[TBS_UUID_STR_SIZE];
    tbs_uuid_to_str(uuid, text, sizeof text);
    entry->fields[key] = text;
    return TBS_ST_OK;
  });
}

namespace {

// Whether a tag of the kind other than the entry `id` has that name in the region.
bool TagTaken(Store& s, int kind, const std::string& region, const std::string& tag, std::int64_t id) {
  Statement same(s, "SELECT 1 FROM rgy_entries e JOIN rgy_fields f ON f.entry = e.id"
                    " WHERE e.kind = ?1 AND e.region = ?2 AND f.key = ?3 AND f.value = ?4 AND e.id <> ?5");
  same.Bind(1, kind).Bind(2, region).Bind(3, RGY_KEY_TAG).Bind(4, tag).Bind(5, id);
  return same.Step();
}

// A region renamed: its tags follow it.
int ModifyRegion(Store& s, std::int64_t id, const std::map<int, std::string>& changes) {
  Statement read(s, "SELECT name FROM rgy_regions WHERE rowid = ?1");
  read.Bind(1, id);
  if (!read.Step()) return TBS_ST_NOT_FOUND;
  const std::string old_name = read.Text(0);
  if (auto name = changes.find(RGY_KEY_REGION); name != changes.end() && name->second != old_name) {
    if (name->second.empty()) return TBS_ST_INVALID_ARG;
    if (RegionExists(s, name->second)) return TBS_ST_ALREADY;
    Statement rename(s, "UPDATE rgy_regions SET name = ?1 WHERE rowid = ?2");
    rename.Bind(1, name->second).Bind(2, id).Run();
    Statement fields(s, "UPDATE rgy_fields SET value = ?1 WHERE key = ?2 AND entry IN"
                        " (SELECT id FROM rgy_entries WHERE region = ?3)");
    fields.Bind(1, name->second).Bind(2, RGY_KEY_REGION).Bind(3, old_name).Run();
    Statement entries(s, "UPDATE rgy_entries SET region = ?1 WHERE region = ?2");
    entries.Bind(1, name->second).Bind(2, old_name).Run();
  }
  if (auto comment = changes.find(RGY_KEY_COMMENT); comment != changes.end()) {
    Statement write(s, "UPDATE rgy_regions SET comment = ?1 WHERE rowid = ?2");
    write.Bind(1, comment->second).Bind(2, id).Run();
  }
  return TBS_ST_OK;
}

// Fields a change never touches: where a tag lives and who made it, and an
// object's identity.
bool KeptField(int kind, int key) {
  if (IsTagKind(kind)) return key == RGY_KEY_REGION || key == RGY_KEY_CREATOR;
  return key == RGY_KEY_UUID;
}

int ModifyEntry(Store& s, const rgy_entry& entry, const std::map<int, std::string>& changes, std::string* region) {
  Statement read(s, "SELECT region FROM rgy_entries WHERE id = ?1 AND kind = ?2");
  read.Bind(1, entry.id).Bind(2, entry.kind);
  if (!read.Step()) return TBS_ST_NOT_FOUND;
  *region = read.Text(0);
  if (auto tag = changes.find(RGY_KEY_TAG); IsTagKind(entry.kind) && tag != changes.end()) {
    if (tag->second.empty()) return TBS_ST_INVALID_ARG;
    if (TagTaken(s, entry.kind, *region, tag->second, entry.id)) return TBS_ST_ALREADY;
  }
  for (const auto& [key, value] : changes) {
    if (KeptField(entry.kind, key)) continue;
    Statement write(s, "INSERT INTO rgy_fields (entry, key, value) VALUES (?1, ?2, ?3)"
                       " ON CONFLICT (entry, key) DO UPDATE SET value = excluded.value");
    write.Bind(1, entry.id).Bind(2, key).Bind(3, value).Run();
  }
  return TBS_ST_OK;
}

}  // namespace

int rgy_modify_entry(rgy_entry_t entry, rgy_entry_t changes, rgy_entry_t* stored) {
  return LocalCall("rgy_modify_entry", {}, NonNull(entry, changes, stored) && entry->kind == changes->kind, [&] {
    *stored = nullptr;
    if (entry->id == 0) return TBS_ST_NOT_FOUND;
    std::unique_ptr<rgy_entry> result;
    const int status = InStore([&](Store& s) {
      std::string region;
      const int modified = entry->kind == RGY_KIND_REGION ? ModifyRegion(s, entry->id, changes->fields)
                                                          : ModifyEntry(s, *entry, changes->fields, &region);
      if (modified) return modified;
      result = LoadEntry(s, entry->id, entry->kind, region);
      return TBS_ST_OK;
    });
    if (status == TBS_ST_OK) *stored = result.release();
    return status;
  });
}

namespace {

std::int64_t ServerRecord(Store& s) {
  Statement read(s, "SELECT id FROM rgy_entries WHERE kind = ?1");
  read.Bind(1, kServerKind);
  return read.Step() ? read.Int(0) : 0;
}

// The password as the store keeps it: a salted FNV-1a hash, never the word.
std::string PasswordHash(const std::string& word) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : "rvdlg registry:" + word) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return std::to_string(hash);
}

int WriteServerField(Store& s, int key, const std::string& value) {
  std::int64_t id = ServerRecord(s);
  if (!id) {
    Statement insert(s, "INSERT INTO rgy_entries (kind, region) VALUES (?1, '')");
    insert.Bind(1, kServerKind).Run();
    id = ServerRecord(s);
  }
  Statement write(s, "INSERT INTO rgy_fields (entry, key, value) VALUES (?1, ?2, ?3)"
                     " ON CONFLICT (entry, key) DO UPDATE SET value = excluded.value");
  write.Bind(1, id).Bind(2, key).Bind(3, value).Run();
  return TBS_ST_OK;
}

// A field of the server's record; false when there is none.
bool ReadServerField(Store& s, int key, std::string* value) {
  Statement read(s, "SELECT f.value FROM rgy_entries e JOIN rgy_fields f ON f.entry = e.id"
                    " WHERE e.kind = ?1 AND f.key = ?2");
  read.Bind(1, kServerKind).Bind(2, key);
  if (!read.Step()) return false;
  *value = read.Text(0);
  return true;
}

}  // namespace

int rgy_set_server_host(const char* host) {
  return LocalCall("rgy_set_server_host", {ArgText(host)}, NonNull(host) && *host,
                   [&](Store& s) { return WriteServerField(s, RGY_KEY_HOST, host); });
}

int rgy_get_server_host(char* out, std::size_t size) {
  return LocalCall("rgy_get_server_host", {std::to_string(size)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_NOT_FOUND;
    std::string host;
    bool found = false;
    if (int status = store->Command([&](Store& s) {
          found = ReadServerField(s, RGY_KEY_HOST, &host);
          return TBS_ST_OK;
        }))
      return status;
    if (!found) return TBS_ST_NOT_FOUND;
    return Deliver(host, out, size);
  });
}

int rgy_set_password(const char* word) {
  return LocalCall("rgy_set_password", {}, NonNull(word), [&](Store& s) {
    if (!ServerRecord(s)) return TBS_ST_NOT_FOUND;
    return WriteServerField(s, kPasswordHashKey, PasswordHash(word));
  });
}

int rgy_chk_access(int kind, const char* name) {
  return LocalCall("rgy_chk_access", {std::to_string(kind)}, NonNull(name) && kind == RGY_ACCESS_PASSWORD,
                   [&](Store& s) {
    std::string hash;
    if (!ReadServerField(s, kPasswordHashKey, &hash)) hash = PasswordHash("");
    return PasswordHash(name) == hash ? TBS_ST_OK : TBS_ST_NO_ACCESS;
  });
}

int rgy_chk_tag_priv(int kind, const char* region, const char* tag) {
  return LocalCall("rgy_chk_tag_priv", {std::to_string(kind), ArgText(region), ArgText(tag)},
                   NonNull(region, tag) && IsTagKind(kind), [&](Store& s) {
    Statement read(s, "SELECT e.id FROM rgy_entries e JOIN rgy_fields f ON f.entry = e.id"
                      " WHERE e.kind = ?1 AND e.region = ?2 AND f.key = ?3 AND f.value = ?4");
    read.Bind(1, kind).Bind(2, std::string(region)).Bind(3, RGY_KEY_TAG).Bind(4, std::string(tag));
    if (!read.Step()) return TBS_ST_NOT_FOUND;
    Statement creator(s, "SELECT value FROM rgy_fields WHERE entry = ?1 AND key = ?2");
    creator.Bind(1, read.Int(0)).Bind(2, RGY_KEY_CREATOR);
    const std::string user = plat::MachineUserName();
    if (creator.Step() && !user.empty() && creator.Text(0) == user) return TBS_ST_OK;
    int privileged = 0;
    if (int status = credutl_is_privileged(&privileged); status != TBS_ST_OK && status != TBS_ST_NOT_FOUND)
      return status;
    return privileged ? TBS_ST_OK : TBS_ST_NO_ACCESS;
  });
}

int rgy_live_entry_count() { return live_entries.load(); }
int rgy_live_cursor_count() { return live_cursors.load(); }
