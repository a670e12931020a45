// The tag registry, kept in the store: regions, entries and their string
// fields by key.
#include "rgy.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "local/local_call.h"
#include "local/store.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;

struct rgy_entry {
  int kind = 0;
  std::string region;
  std::map<int, std::string> fields;
};

struct rgy_cursor {
  int kind = 0;
  std::string region;
  std::int64_t last_id = 0;  // rgy_get_entry goes on after this entry
};

namespace {

bool ValidKind(int kind) {
  return kind == RGY_KIND_VOB_TAG || kind == RGY_KIND_VIEW_TAG || kind == RGY_KIND_VOB_OBJECT;
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
  auto entry = std::make_unique<rgy_entry>();
  entry->kind = kind;
  entry->region = region;
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
    *cursor = new rgy_cursor{kind, name, 0};
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
    *entry = new rgy_entry{kind, {}, {}};
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
  return LocalCall("rgy_add_entry", {ArgText(region)}, NonNull(entry) && !(IsTagKind(entry->kind) && !region), [&] {
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

int rgy_remove_tag(int kind, const char* region, const char* tag) {
  return LocalCall("rgy_remove_tag", {std::to_string(kind), ArgText(region), ArgText(tag)},
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
