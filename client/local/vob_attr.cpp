// Attributes, triggers, protection, derived objects and replicas.
#include "vob_attr.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "local/vob_typedef.h"
#include "platform/text.h"
#include "sysutl.h"
#include "tbs_oid.h"
#include "vob_ob.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using client_local::StoreError;
using namespace client_local::repo;

namespace {

// Room for an attribute value's text.
constexpr std::size_t kValueTextSize = 4096;

struct Cursor {
  vob_handle_t vob = 0;
  vob_dbid_t obj = 0;
  vob_dbid_t last = 0;
};

struct Cursors {
  std::mutex mutex;
  std::map<vob_ob_cursor_t, Cursor> open;
  vob_ob_cursor_t next = 1;
};

Cursors& AllCursors() {
  static auto* cursors = new Cursors();
  return *cursors;
}

// The cursor's position: a new cursor for *cursor 0, else the open one.
bool Position(vob_ob_cursor_t* cursor, vob_handle_t vob, vob_dbid_t obj, vob_dbid_t* last) {
  Cursors& cursors = AllCursors();
  std::lock_guard lock(cursors.mutex);
  if (*cursor == 0) {
    *cursor = cursors.next++;
    cursors.open[*cursor] = Cursor{vob, obj, 0};
  }
  const auto found = cursors.open.find(*cursor);
  if (found == cursors.open.end() || found->second.vob != vob || found->second.obj != obj) return false;
  *last = found->second.last;
  return true;
}

void Advance(vob_ob_cursor_t cursor, vob_dbid_t last) {
  Cursors& cursors = AllCursors();
  std::lock_guard lock(cursors.mutex);
  const auto found = cursors.open.find(cursor);
  if (found != cursors.open.end()) found->second.last = last;
}

vob_dbid_t NeedNamed(Store& s, vob_handle_t vob, std::uint32_t mtype, const char* name) {
  const vob_dbid_t found = FindNamed(s, vob, mtype, name);
  if (!found) throw StoreError{TBS_ST_NOT_FOUND, std::string("no ") + vob_utl_mtype_to_str(mtype) + " " + name};
  return found;
}

bool ValidSid(const char* sid) {
  if (!sid) return false;
  if (!*sid) return true;  // leaves the part alone
  if (std::strncmp(sid, "S-1-", 4) != 0) return false;
  for (const char* c = sid + 4; *c; ++c)
    if (!(plat::IsDecimalDigit(*c) || *c == '-')) return false;
  return true;
}

}  // namespace

int vob_ob_cursor_close(vob_ob_cursor_t cursor) {
  return LocalCall("vob_ob_cursor_close", {Num(cursor)}, true, [&] {
    Cursors& cursors = AllCursors();
    std::lock_guard lock(cursors.mutex);
    return cursors.open.erase(cursor) ? TBS_ST_OK : TBS_ST_NOT_FOUND;
  });
}

int vob_ob_open_cursor_count() {
  Cursors& cursors = AllCursors();
  std::lock_guard lock(cursors.mutex);
  return static_cast<int>(cursors.open.size());
}

int vob_attype_create(vob_handle_t vob, const char* name, vob_val_kind_t kind, const char* comment,
                      vob_dbid_t* attype) {
  return LocalCall("vob_attype_create", {Num(vob), Text(name), Num(kind), Text(comment)},
                   vob_val_kind_to_str(kind), [&](Store& s) {
    vob_dbid_t made = 0;
    if (int rc = vob_mktype(vob, VOB_MTYPE_ATTYPE, name, comment, &made); rc != TBS_ST_OK) return rc;
    Statement set(s, "UPDATE vob_objs SET number = ?3 WHERE vob = ?1 AND dbid = ?2");
    set.Bind(1, vob).Bind(2, made).Bind(3, kind).Run();
    if (attype) *attype = made;
    return TBS_ST_OK;
  });
}

int vob_attype_get_kind(vob_handle_t vob, vob_dbid_t attype, vob_val_kind_t* kind) {
  return LocalCall("vob_attype_get_kind", {Num(vob), Num(attype)}, NonNull(kind), [&](Store& s) {
    const Object type = NeedObject(s, vob, attype);
    if (type.mtype != VOB_MTYPE_ATTYPE) return TBS_ST_WRONG_KIND;
    *kind = static_cast<vob_val_kind_t>(type.number);
    return TBS_ST_OK;
  });
}

int vob_obj_next_attrs(vob_handle_t vob, vob_dbid_t dbid, vob_ob_cursor_t* cursor, vob_dbid_t* attype,
                       vob_value_s* value) {
  return LocalCall("vob_obj_next_attrs", {Num(vob), Num(dbid), cursor ? Num(*cursor) : "(null)"},
                   NonNull(cursor, attype, value), [&] {
    vob_dbid_t last = 0;
    if (!Position(cursor, vob, dbid, &last)) return TBS_ST_INVALID_ARG;
    return InStore([&](Store& s) {
      NeedObject(s, vob, dbid);
      Statement q(s, "SELECT attype, kind, value FROM vob_attrs WHERE vob = ?1 AND obj = ?2 AND attype > ?3"
                     " ORDER BY attype LIMIT 1");
      q.Bind(1, vob).Bind(2, dbid).Bind(3, last);
      if (!q.Step()) return TBS_ST_NOT_FOUND;
      vob_value_s read;
      if (int rc = vob_val_str_to_value(static_cast<vob_val_kind_t>(q.Int(1)), q.Text(2).c_str(), &read); rc != 0)
        return rc;
      *attype = static_cast<vob_dbid_t>(q.Int(0));
      *value = read;
      Advance(*cursor, *attype);
      return TBS_ST_OK;
    });
  });
}

int vob_obj_add_attr(vob_handle_t vob, vob_dbid_t dbid, const char* attype, const vob_value_s* value) {
  return LocalCall("vob_obj_add_attr", {Num(vob), Num(dbid), Text(attype)},
                   NonNull(attype, value) && vob_val_kind_to_str(value->kind), [&] {
    char text[kValueTextSize];
    if (vob_val_value_to_str(value, text, sizeof text) != TBS_ST_OK) return TBS_ST_INVALID_ARG;
    return InStore([&](Store& s) {
      NeedObject(s, vob, dbid);
      const Object type = NeedObject(s, vob, NeedNamed(s, vob, VOB_MTYPE_ATTYPE, attype));
      if (type.number != value->kind) return TBS_ST_WRONG_KIND;
      int refused = TBS_ST_OK;
      if (const std::string why = AttributeBreaks(s, vob, dbid, type.dbid, LoadTypeDef(s, vob, type.dbid), *value,
                                                  &refused);
          !why.empty()) {
        Complain(why);
        return refused;
      }
      RequireUnlocked(s, vob, type.dbid);  // a locked attribute type is attached nowhere
      Statement add(s, "INSERT INTO vob_attrs (vob, obj, attype, kind, value) VALUES (?1, ?2, ?3, ?4, ?5)"
                       " ON CONFLICT (vob, obj, attype) DO UPDATE SET kind = excluded.kind, value = excluded.value");
      add.Bind(1, vob).Bind(2, dbid).Bind(3, type.dbid).Bind(4, value->kind).Bind(5, text).Run();
      AddEvent(s, vob, dbid, "make attribute", std::string(attype) + " = " + text);
      return TBS_ST_OK;
    });
  });
}

int vob_obj_drop_attr(vob_handle_t vob, vob_dbid_t dbid, const char* attype) {
  return LocalCall("vob_obj_drop_attr", {Num(vob), Num(dbid), Text(attype)}, NonNull(attype), [&](Store& s) {
    NeedObject(s, vob, dbid);
    const vob_dbid_t type = NeedNamed(s, vob, VOB_MTYPE_ATTYPE, attype);
    RequireUnlocked(s, vob, type);
    Statement drop(s, "DELETE FROM vob_attrs WHERE vob = ?1 AND obj = ?2 AND attype = ?3");
    drop.Bind(1, vob).Bind(2, dbid).Bind(3, type).Run();
    if (Changes(s) == 0) return TBS_ST_NOT_FOUND;
    AddEvent(s, vob, dbid, "remove attribute", attype);
    return TBS_ST_OK;
  });
}

int vob_obj_add_trigger(vob_handle_t vob, vob_dbid_t dbid, const char* trtype) {
  return LocalCall("vob_obj_add_trigger", {Num(vob), Num(dbid), Text(trtype)}, NonNull(trtype), [&](Store& s) {
    NeedObject(s, vob, dbid);
    RequireUnlocked(s, vob, dbid);  // triggers record no event
    Statement add(s, "INSERT OR IGNORE INTO vob_triggers (vob, obj, trtype) VALUES (?1, ?2, ?3)");
    add.Bind(1, vob).Bind(2, dbid).Bind(3, NeedNamed(s, vob, VOB_MTYPE_TRTYPE, trtype)).Run();
    return Changes(s) ? TBS_ST_OK : TBS_ST_ALREADY;
  });
}

int vob_obj_drop_trigger(vob_handle_t vob, vob_dbid_t dbid, const char* trtype) {
  return LocalCall("vob_obj_drop_trigger", {Num(vob), Num(dbid), Text(trtype)}, NonNull(trtype), [&](Store& s) {
    NeedObject(s, vob, dbid);
    RequireUnlocked(s, vob, dbid);  // triggers record no event
    Statement drop(s, "DELETE FROM vob_triggers WHERE vob = ?1 AND obj = ?2 AND trtype = ?3");
    drop.Bind(1, vob).Bind(2, dbid).Bind(3, NeedNamed(s, vob, VOB_MTYPE_TRTYPE, trtype)).Run();
    return Changes(s) ? TBS_ST_OK : TBS_ST_NOT_FOUND;
  });
}

int vob_obj_next_triggers(vob_handle_t vob, vob_dbid_t elem, vob_ob_cursor_t* cursor, vob_dbid_t* trtype) {
  return LocalCall("vob_obj_next_triggers", {Num(vob), Num(elem), cursor ? Num(*cursor) : "(null)"},
                   NonNull(cursor, trtype), [&] {
    vob_dbid_t last = 0;
    if (!Position(cursor, vob, elem, &last)) return TBS_ST_INVALID_ARG;
    return InStore([&](Store& s) {
      NeedObject(s, vob, elem);
      Statement q(s, "SELECT min(trtype) FROM vob_triggers WHERE vob = ?1 AND obj = ?2 AND trtype > ?3");
      q.Bind(1, vob).Bind(2, elem).Bind(3, last);
      if (!q.Step() || q.IsNull(0)) return TBS_ST_NOT_FOUND;
      *trtype = static_cast<vob_dbid_t>(q.Int(0));
      Advance(*cursor, *trtype);
      return TBS_ST_OK;
    });
  });
}

int vob_obj_protect_sid(vob_handle_t vob, vob_dbid_t dbid, const char* owner_sid, const char* group_sid,
                        std::uint32_t mode) {
  return LocalCall("vob_obj_protect_sid", {Num(vob), Num(dbid), Text(owner_sid), Text(group_sid), Num(mode)},
                   true, [&] {
    if (!ValidSid(owner_sid) || !ValidSid(group_sid) || (mode != VOB_MODE_DONTCARE && mode > 07777))
      return TBS_ST_INVALID_ARG;
    return InStore([&](Store& s) {
      const Object o = NeedObject(s, vob, dbid);
      RequireChangeRight(s, o);
      Statement set(s, "UPDATE vob_objs SET owner = CASE WHEN ?3 = '' THEN owner ELSE ?3 END,"
                       " grp = CASE WHEN ?4 = '' THEN grp ELSE ?4 END,"
                       " mode = CASE WHEN ?5 < 0 THEN mode ELSE ?5 END WHERE vob = ?1 AND dbid = ?2");
      set.Bind(1, vob).Bind(2, dbid).Bind(3, owner_sid).Bind(4, group_sid);
      set.Bind(5, mode == VOB_MODE_DONTCARE ? std::int64_t{-1} : std::int64_t{mode}).Run();
      AddEvent(s, vob, dbid, "change protection", "");
      if (o.mtype == VOB_MTYPE_DIR_ELEMENT || o.mtype == VOB_MTYPE_FILE_ELEMENT)
        client_local::views::RefreshElementInViews(s, vob, dbid);
      return TBS_ST_OK;
    });
  });
}

int vob_obj_get_protection(vob_handle_t vob, vob_dbid_t dbid, char* owner_sid, std::size_t owner_size,
                           char* group_sid, std::size_t group_size, std::uint32_t* mode) {
  return LocalCall("vob_obj_get_protection", {Num(vob), Num(dbid)}, NonNull(owner_sid, group_sid, mode), [&](Store& s) {
    NeedObject(s, vob, dbid);
    Statement q(s, "SELECT owner, grp, mode FROM vob_objs WHERE vob = ?1 AND dbid = ?2");
    q.Bind(1, vob).Bind(2, dbid);
    q.Step();
    if (CopyOut(q.Text(0), owner_sid, owner_size) != 0 || CopyOut(q.Text(1), group_sid, group_size) != 0)
      return TBS_ST_INVALID_ARG;
    *mode = static_cast<std::uint32_t>(q.Int(2));
    return TBS_ST_OK;
  });
}

int vob_mkdo(vob_handle_t vob, const char* path, const char* data, vob_dbid_t* derived) {
  return LocalCall("vob_mkdo", {Num(vob), Text(path)}, NonNull(path, data), [&](Store& s) {
    std::string normal = path;
    const std::size_t cut = normal.rfind('\\');
    if (normal.empty() || normal[0] != '\\' || !ValidLeafName(normal.substr(cut + 1))) return TBS_ST_INVALID_ARG;
    Statement dir(s, "SELECT 1 FROM vob_objs WHERE vob = ?1 AND mtype = ?3 AND name = ?2");
    dir.Bind(1, vob).Bind(2, normal.substr(0, cut)).Bind(3, VOB_MTYPE_DIR_ELEMENT);
    if (!dir.Step()) return TBS_ST_NOT_FOUND;
    if (FindPath(s, vob, normal).dbid != 0) return TBS_ST_ALREADY;
    Object o;
    o.vob = vob;
    o.mtype = VOB_MTYPE_DERIVED_OBJECT;
    o.name = normal;
    o.text = data;
    const vob_dbid_t made = Insert(s, o, "create derived object", "");
    // Its maker owns it: the user in force, else this process's identity.
    char user[256], owner[64], group[64];
    if (sysutl_myloginname(user, sizeof user) != 0 || sysutl_user_to_usid(user, owner, sizeof owner) != 0 ||
        sysutl_user_to_gsid(user, group, sizeof group) != 0) {
      std::snprintf(owner, sizeof owner, "S-1-22-1-%u", static_cast<unsigned>(getuid()));
      std::snprintf(group, sizeof group, "S-1-22-2-%u", static_cast<unsigned>(getgid()));
    }
    Statement own(s, "UPDATE vob_objs SET owner = ?3, grp = ?4 WHERE vob = ?1 AND dbid = ?2");
    own.Bind(1, vob).Bind(2, made).Bind(3, std::string(owner)).Bind(4, std::string(group)).Run();
    if (derived) *derived = made;
    return TBS_ST_OK;
  });
}

int vob_do_oid_get_fstat_if_data(vob_handle_t vob, const tbs_oid_t* oid, vob_fstat_s* stat) {
  return LocalCall("vob_do_oid_get_fstat_if_data", {Num(vob)}, NonNull(oid, stat), [&] {
    char text[TBS_ID_STR_SIZE];
    tbs_oid_to_str(oid, text, sizeof text);
    return InStore([&](Store& s) {
      Statement q(s, "SELECT mtype, text FROM vob_objs WHERE vob = ?1 AND oid = ?2");
      q.Bind(1, vob).Bind(2, text);
      if (!q.Step()) return TBS_ST_NOT_FOUND;
      if (q.Int(0) != VOB_MTYPE_DERIVED_OBJECT) return TBS_ST_WRONG_KIND;
      if (q.Text(1).empty()) return TBS_ST_NOT_FOUND;
      vob_fstat_s result;
      result.size = static_cast<std::int64_t>(q.Text(1).size());
      result.mode = 0100444;
      *stat = result;
      return TBS_ST_OK;
    });
  });
}

int vob_resolve_do(vob_handle_t vob, const char* pathname, vob_dbid_t* derived) {
  return LocalCall("vob_resolve_do", {Num(vob), Text(pathname)},
                   NonNull(pathname, derived) && std::strlen(pathname) <= 1024, [&](Store& s) {
    vob_dbid_t dbid = 0;
    std::uint32_t mtype = 0;
    if (int rc = Resolve(s, vob, pathname, "", &dbid, &mtype); rc != TBS_ST_OK) return rc;
    if (mtype != VOB_MTYPE_DERIVED_OBJECT) return TBS_ST_WRONG_KIND;
    *derived = dbid;
    return TBS_ST_OK;
  });
}

int vob_ob_register_replica(vob_handle_t vob, const tbs_uuid_t* replica) {
  return LocalCall("vob_ob_register_replica", {Num(vob)}, NonNull(replica),
                   [&](Store& s) { return VobExists(s, vob) ? TBS_ST_OK : TBS_ST_NOT_FOUND; });
}

// ---- Lists of a VOB's objects, types made and deleted (vob_ob.h) ----

namespace {

constexpr vob_dbid_t kObjsKey = 0x80000000u;  // cursors over a VOB's lists, keyed apart from objects

int NextOf(vob_handle_t vob, vob_dbid_t key, vob_ob_cursor_t* cursor, vob_dbid_t* out,
           const char* sql, std::int64_t arg) {
  vob_dbid_t last = 0;
  if (!Position(cursor, vob, key, &last)) return TBS_ST_INVALID_ARG;
  return InStore([&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    Statement q(s, sql);
    q.Bind(1, vob).Bind(2, arg).Bind(3, last);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    *out = static_cast<vob_dbid_t>(q.Int(0));
    Advance(*cursor, *out);
    return TBS_ST_OK;
  });
}

int MakeType(const char* name, std::uint32_t mtype, vob_handle_t vob, const char* type_name, const char* comment,
             vob_dbid_t* type) {
  return LocalCall(name, {Num(vob), Text(type_name), Text(comment)}, true, [&] {
    return InStore([&](Store&) { return vob_mktype(vob, mtype, type_name, comment, type); });
  });
}

int DeleteType(const char* name, std::uint32_t mtype, vob_handle_t vob, vob_dbid_t type) {
  return LocalCall(name, {Num(vob), Num(type)}, true, [&](Store& s) {
    const Object o = NeedObject(s, vob, type);
    if (o.mtype != mtype) return TBS_ST_WRONG_KIND;
    if (o.predefined) return TBS_ST_PERMISSION;
    Statement used(s, "SELECT 1 FROM vob_objs WHERE vob = ?1 AND type = ?2 AND dbid <> ?2"
                      " UNION SELECT 1 FROM vob_labels WHERE vob = ?1 AND lbtype = ?2"
                      " UNION SELECT 1 FROM vob_attrs WHERE vob = ?1 AND attype = ?2"
                      " UNION SELECT 1 FROM vob_triggers WHERE vob = ?1 AND trtype = ?2");
    used.Bind(1, vob).Bind(2, type);
    if (used.Step()) {
      Complain("Type \"" + o.name + "\" is in use.");
      return TBS_ST_ALREADY;
    }
    Statement drop(s, "DELETE FROM vob_objs WHERE vob = ?1 AND dbid = ?2");
    drop.Bind(1, vob).Bind(2, type).Run();
    return TBS_ST_OK;
  });
}

}  // namespace

int vob_ob_next_objs(vob_handle_t vob, std::uint32_t mtype, vob_ob_cursor_t* cursor, vob_dbid_t* dbid) {
  return LocalCall("vob_ob_next_objs", {Num(vob), Num(mtype)}, NonNull(cursor, dbid), [&] {
    return NextOf(vob, kObjsKey | mtype, cursor, dbid,
                  "SELECT dbid FROM vob_objs WHERE vob = ?1 AND mtype = ?2 AND dbid > ?3 ORDER BY dbid LIMIT 1", mtype);
  });
}

int vob_lbtype_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* type) {
  return MakeType("vob_lbtype_create", VOB_MTYPE_LBTYPE, vob, name, comment, type);
}
int vob_brtype_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* type) {
  return MakeType("vob_brtype_create", VOB_MTYPE_BRTYPE, vob, name, comment, type);
}
int vob_eltype_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* type) {
  return MakeType("vob_eltype_create", VOB_MTYPE_ELTYPE, vob, name, comment, type);
}
int vob_hltype_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* type) {
  return MakeType("vob_hltype_create", VOB_MTYPE_HLTYPE, vob, name, comment, type);
}
int vob_attype_delete(vob_handle_t vob, vob_dbid_t type) {
  return DeleteType("vob_attype_delete", VOB_MTYPE_ATTYPE, vob, type);
}
int vob_lbtype_delete(vob_handle_t vob, vob_dbid_t type) {
  return DeleteType("vob_lbtype_delete", VOB_MTYPE_LBTYPE, vob, type);
}
int vob_brtype_delete(vob_handle_t vob, vob_dbid_t type) {
  return DeleteType("vob_brtype_delete", VOB_MTYPE_BRTYPE, vob, type);
}
int vob_eltype_delete(vob_handle_t vob, vob_dbid_t type) {
  return DeleteType("vob_eltype_delete", VOB_MTYPE_ELTYPE, vob, type);
}
int vob_hltype_delete(vob_handle_t vob, vob_dbid_t type) {
  return DeleteType("vob_hltype_delete", VOB_MTYPE_HLTYPE, vob, type);
}

int vob_hlink_delete(vob_handle_t vob, vob_dbid_t hlink) {
  return LocalCall("vob_hlink_delete", {Num(vob), Num(hlink)}, true, [&](Store& s) {
    const Object o = NeedObject(s, vob, hlink);
    if (o.mtype != VOB_MTYPE_HLINK) return TBS_ST_WRONG_KIND;
    Statement links(s, "DELETE FROM vob_hlinks WHERE vob = ?1 AND hlink = ?2");
    links.Bind(1, vob).Bind(2, hlink).Run();
    Statement drop(s, "DELETE FROM vob_objs WHERE vob = ?1 AND dbid = ?2");
    drop.Bind(1, vob).Bind(2, hlink).Run();
    return TBS_ST_OK;
  });
}

int vob_obj_next_hlinks(vob_handle_t vob, vob_dbid_t dbid, vob_ob_cursor_t* cursor, vob_dbid_t* hlink) {
  return LocalCall("vob_obj_next_hlinks", {Num(vob), Num(dbid)}, NonNull(cursor, hlink), [&] {
    return NextOf(vob, dbid, cursor, hlink,
                  "SELECT hlink FROM vob_hlinks WHERE hlink > ?3 AND ((from_vob = ?1 AND from_obj = ?2)"
                  " OR (to_vob = ?1 AND to_obj = ?2)) ORDER BY hlink LIMIT 1",
                  dbid);
  });
}

int vob_ob_get_replica_oid(vob_handle_t vob, tbs_oid_t* oid) {
  return LocalCall("vob_ob_get_replica_oid", {Num(vob)}, NonNull(oid), [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    const auto replica = Load(s, vob, NeedNamed(s, vob, VOB_MTYPE_REPLICA, "original"));
    tbs_uuid_t bytes;
    if (int rc = tbs_dstr_to_uuid(replica->oid.c_str(), &bytes); rc != TBS_ST_OK) return rc;
    std::memcpy(oid->bytes, bytes.bytes, sizeof oid->bytes);
    return TBS_ST_OK;
  });
}

int vob_ob_is_replicated(vob_handle_t vob, int* replicated) {
  return LocalCall("vob_ob_is_replicated", {Num(vob)}, NonNull(replicated), [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    Statement q(s, "SELECT count(*) FROM vob_objs WHERE vob = ?1 AND mtype = ?2");
    q.Bind(1, vob).Bind(2, VOB_MTYPE_REPLICA);
    q.Step();
    *replicated = q.Int(0) > 1 ? 1 : 0;
    return TBS_ST_OK;
  });
}

int vob_obj_get_master(vob_handle_t vob, vob_dbid_t dbid, vob_dbid_t* replica) {
  return LocalCall("vob_obj_get_master", {Num(vob), Num(dbid)}, NonNull(replica), [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    NeedObject(s, vob, dbid);
    *replica = MasterReplica(s, vob, dbid);
    return *replica ? TBS_ST_OK : TBS_ST_NOT_FOUND;
  });
}

int vob_replica_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* replica) {
  return LocalCall("vob_replica_create", {Num(vob), Text(name), Text(comment)}, NonNull(name), [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    if (!ValidLeafName(name)) {
      Complain(BadNameText(name));
      return TBS_ST_INVALID_ARG;
    }
    if (FindNamed(s, vob, VOB_MTYPE_REPLICA, name)) return TBS_ST_ALREADY;
    Object made;
    made.vob = vob;
    made.mtype = VOB_MTYPE_REPLICA;
    made.name = name;
    const vob_dbid_t dbid = Insert(s, made, "create replica", comment ? comment : "");
    if (replica) *replica = dbid;
    return TBS_ST_OK;
  });
}

int vob_obj_set_master(vob_handle_t vob, vob_dbid_t branch, vob_dbid_t replica) {
  return LocalCall("vob_obj_set_master", {Num(vob), Num(branch), Num(replica)}, true, [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    const Object object = NeedObject(s, vob, branch);
    const Object master = NeedObject(s, vob, replica);
    if (object.mtype != VOB_MTYPE_BRANCH || master.mtype != VOB_MTYPE_REPLICA) return TBS_ST_WRONG_KIND;
    Statement set(s, "UPDATE vob_objs SET master = ?3 WHERE vob = ?1 AND dbid = ?2");
    set.Bind(1, vob).Bind(2, branch).Bind(3, master.name).Run();
    AddEvent(s, vob, branch, "change master", master.name);
    return TBS_ST_OK;
  });
}

int vob_ob_get_wk_obj(vob_handle_t vob, int kind, vob_dbid_t* dbid) {
  return LocalCall("vob_ob_get_wk_obj", {Num(vob), Num(kind)},
                   NonNull(dbid) && kind >= VOB_WK_OBJ_VOB && kind <= VOB_WK_OBJ_REPLICA, [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    vob_dbid_t found = 0;
    if (kind == VOB_WK_OBJ_REPLICA) {
      found = NeedNamed(s, vob, VOB_MTYPE_REPLICA, "original");  // this host works in the original
    } else {
      // The VOB object, or the root: the directory element with no name.
      const bool root = kind != VOB_WK_OBJ_VOB;
      Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND mtype = ?2 AND (?3 = 0 OR name = '')"
                     " ORDER BY dbid LIMIT 1");
      q.Bind(1, vob).Bind(2, root ? VOB_MTYPE_DIR_ELEMENT : VOB_MTYPE_VOB).Bind(3, root ? 1 : 0);
      if (!q.Step()) return TBS_ST_NOT_FOUND;
      found = static_cast<vob_dbid_t>(q.Int(0));
    }
    *dbid = found;
    return TBS_ST_OK;
  });
}

int vob_ob_get_mount_dir_pname(vob_handle_t vob, char* out, std::size_t size) {
  return LocalCall("vob_ob_get_mount_dir_pname", {Num(vob)}, NonNull(out) && size != 0, [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    return CopyOut(VobTag(s, vob), out, size);
  });
}

int vob_ob_get_vob_owner_sid(vob_handle_t vob, char* out, std::size_t size) {
  return LocalCall("vob_ob_get_vob_owner_sid", {Num(vob)}, NonNull(out) && size != 0, [&](Store& s) {
    Statement q(s, "SELECT owner FROM vob_objs WHERE vob = ?1 AND mtype = ?2");
    q.Bind(1, vob).Bind(2, VOB_MTYPE_VOB);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    return CopyOut(q.Text(0), out, size);
  });
}

namespace {

int ProtectVob(vob_handle_t vob, const char* owner_sid, const char* group_sid, bool scan) {
  if (!ValidSid(owner_sid) || !ValidSid(group_sid)) return TBS_ST_INVALID_ARG;
  return InStore([&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    Statement set(s, std::string("UPDATE vob_objs SET owner = CASE WHEN ?2 = '' THEN owner ELSE ?2 END,"
                                 " grp = CASE WHEN ?3 = '' THEN grp ELSE ?3 END WHERE vob = ?1") +
                         (scan ? "" : " AND mtype = ?4"));
    set.Bind(1, vob).Bind(2, owner_sid).Bind(3, group_sid);
    if (!scan) set.Bind(4, VOB_MTYPE_VOB);
    set.Run();
    Statement object(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND mtype = ?2");
    object.Bind(1, vob).Bind(2, VOB_MTYPE_VOB);
    if (object.Step()) AddEvent(s, vob, static_cast<vob_dbid_t>(object.Int(0)), "change protection", "");
    return TBS_ST_OK;
  });
}

}  // namespace

int vob_ob_protectvob(vob_handle_t vob, const char* owner_sid, const char* group_sid) {
  return LocalCall("vob_ob_protectvob", {Num(vob), Text(owner_sid), Text(group_sid)}, true, [&] {
    return ProtectVob(vob, owner_sid, group_sid, false);
  });
}

int vob_ob_protectvob_scan(vob_handle_t vob, const char* owner_sid, const char* group_sid) {
  return LocalCall("vob_ob_protectvob_scan", {Num(vob), Text(owner_sid), Text(group_sid)}, true, [&] {
    return ProtectVob(vob, owner_sid, group_sid, true);
  });
}

int vob_ob_is_pvob(vob_handle_t vob, int* pvob) {
  return LocalCall("vob_ob_is_pvob", {Num(vob)}, NonNull(pvob), [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    *pvob = 0;
    return TBS_ST_OK;
  });
}

int vob_ob_vob_oid_to_vobh(const tbs_oid_t* oid, vob_handle_t* vob) {
  return LocalCall("vob_ob_vob_oid_to_vobh", {}, NonNull(oid, vob), [&] {
    char text[TBS_ID_STR_SIZE];
    tbs_oid_to_str(oid, text, sizeof text);
    return InStore([&](Store& s) {
      Statement q(s, "SELECT vob FROM vob_objs WHERE mtype = ?2 AND lower(oid) = lower(?1)");
      q.Bind(1, std::string(text)).Bind(2, VOB_MTYPE_VOB);
      if (!q.Step()) return TBS_ST_NOT_FOUND;
      *vob = static_cast<vob_handle_t>(q.Int(0));
      return TBS_ST_OK;
    });
  });
}

int vob_ob_next_views(vob_handle_t vob, vob_ob_cursor_t* cursor, char* out, std::size_t size) {
  return LocalCall("vob_ob_next_views", {Num(vob)}, NonNull(cursor, out) && size != 0, [&] {
    vob_dbid_t last = 0;
    if (!Position(cursor, vob, 0xC0000000u, &last)) return TBS_ST_INVALID_ARG;
    return InStore([&](Store& s) {
      if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
      Statement q(s, "SELECT rowid, tag FROM views v WHERE rowid > ?2 AND (EXISTS (SELECT 1 FROM view_files f"
                     " WHERE f.view = v.tag AND f.vob = ?1) OR EXISTS (SELECT 1 FROM vob_checkouts c"
                     " WHERE c.view = v.tag AND c.vob = ?1)) ORDER BY rowid LIMIT 1");
      q.Bind(1, vob).Bind(2, last);
      if (!q.Step()) return TBS_ST_NOT_FOUND;
      if (int rc = CopyOut(q.Text(1), out, size); rc != TBS_ST_OK) return rc;
      Advance(*cursor, static_cast<vob_dbid_t>(q.Int(0)));
      return TBS_ST_OK;
    });
  });
}

int vob_ob_view_to_uuid(const char* tag, tbs_uuid_t* uuid) {
  return LocalCall("vob_ob_view_to_uuid", {Text(tag)}, NonNull(tag, uuid), [&](Store& s) {
    Statement q(s, "SELECT uuid FROM views WHERE tag = ?1");
    q.Bind(1, std::string(tag));
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    return tbs_str_to_uuid(q.Text(0).c_str(), uuid);
  });
}
