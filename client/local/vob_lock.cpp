// Locks: their records, the lock and unlock calls, and the check every change
// of an object passes.
#include <algorithm>
#include <string>
#include <vector>

#include "local/local_call.h"
#include "local/vob_repo.h"
#include "vob.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using client_local::StoreError;
using namespace client_local::repo;

namespace client_local::repo {

namespace {

std::string NameOf(Store& s, const Object& object) {
  std::string name = Selector(s, object);
  return name.empty() ? Pathname(s, object) : name;
}

void DropLock(Store& s, const Object& object) {
  Statement drop(s, "DELETE FROM vob_locks WHERE vob = ?1 AND obj = ?2");
  drop.Bind(1, object.vob).Bind(2, object.dbid).Run();
  Statement users(s, "DELETE FROM vob_lock_users WHERE vob = ?1 AND obj = ?2");
  users.Bind(1, object.vob).Bind(2, object.dbid).Run();
}

void SetObsolete(Store& s, const Object& object, bool obsolete) {
  Statement set(s, "UPDATE vob_objs SET obsolete = ?3 WHERE vob = ?1 AND dbid = ?2");
  set.Bind(1, object.vob).Bind(2, object.dbid).Bind(3, obsolete ? 1 : 0).Run();
}

// The objects whose locks hold a change of the object: itself, its element,
// its type, its VOB and, for a change on a version's branch, the branch and
// its type.
std::vector<vob_dbid_t> Guards(Store& s, const Object& object, bool on_branch) {
  std::vector<vob_dbid_t> guards = {object.dbid};
  auto add = [&](vob_dbid_t dbid) {
    if (dbid && std::find(guards.begin(), guards.end(), dbid) == guards.end()) guards.push_back(dbid);
  };
  const bool in_element = object.mtype == VOB_MTYPE_BRANCH || object.mtype == VOB_MTYPE_VERSION ||
                          object.mtype == VOB_MTYPE_DIR_VERSION;
  if (in_element) add(object.elem);
  if (on_branch && (object.mtype == VOB_MTYPE_VERSION || object.mtype == VOB_MTYPE_DIR_VERSION)) {
    add(object.branch);
    if (const auto branch = Load(s, object.vob, object.branch)) add(branch->type);
  }
  if (object.type) {
    const auto type = Load(s, object.vob, object.type);
    if (type && type->mtype >= VOB_MTYPE_ELTYPE && type->mtype <= VOB_MTYPE_TRTYPE) add(type->dbid);
  }
  vob_dbid_t vob_object = 0;
  Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND mtype = ?2");
  q.Bind(1, object.vob).Bind(2, VOB_MTYPE_VOB);
  if (q.Step()) vob_object = static_cast<vob_dbid_t>(q.Int(0));
  add(vob_object);
  return guards;
}

}  // namespace

std::optional<LockRecord> LoadLock(Store& s, vob_handle_t vob, vob_dbid_t dbid) {
  Statement q(s, "SELECT user, grp, secs, comment, obsolete FROM vob_locks WHERE vob = ?1 AND obj = ?2");
  q.Bind(1, vob).Bind(2, dbid);
  if (!q.Step()) return std::nullopt;
  LockRecord lock;
  lock.user = q.Text(0);
  lock.group = q.Text(1);
  lock.secs = q.Int(2);
  lock.comment = q.Text(3);
  lock.obsolete = q.Int(4) != 0;
  Statement users(s, "SELECT user FROM vob_lock_users WHERE vob = ?1 AND obj = ?2 ORDER BY position");
  users.Bind(1, vob).Bind(2, dbid);
  while (users.Step()) lock.excluded.push_back(users.Text(0));
  return lock;
}

void Lock(Store& s, const Object& object, bool obsolete, const char* comment,
          const std::vector<std::string>& excluded) {
  const auto replaced = LoadLock(s, object.vob, object.dbid);
  RequireChangeRight(s, object, replaced ? replaced->user : "");
  for (const std::string& user : excluded)
    if (!ValidLeafName(user)) throw StoreError{TBS_ST_INVALID_ARG, BadNameText(user)};
  const std::string text = comment ? comment : replaced ? replaced->comment : "";
  DropLock(s, object);
  Statement add(s, "INSERT INTO vob_locks (vob, obj, user, secs, comment, obsolete, grp)"
                   " SELECT ?1, ?2, user, secs, comment, ?4, grp FROM vob_events WHERE id = ?3");
  add.Bind(1, object.vob).Bind(2, object.dbid).Bind(3, AddEvent(s, object.vob, object.dbid, "lock", text));
  add.Bind(4, obsolete ? 1 : 0).Run();
  if (!obsolete) {
    std::int64_t position = 0;
    for (const std::string& user : excluded) {
      Statement let(s, "INSERT OR IGNORE INTO vob_lock_users (vob, obj, position, user)"
                       " SELECT ?1, ?2, ?3, ?4 WHERE NOT EXISTS (SELECT 1 FROM vob_lock_users"
                       " WHERE vob = ?1 AND obj = ?2 AND user = ?4)");
      let.Bind(1, object.vob).Bind(2, object.dbid).Bind(3, position++).Bind(4, user).Run();
    }
  }
  if (obsolete || (replaced && replaced->obsolete)) SetObsolete(s, object, obsolete);
}

bool Unlock(Store& s, const Object& object, const std::string& comment) {
  const auto lock = LoadLock(s, object.vob, object.dbid);
  if (!lock) return false;
  RequireChangeRight(s, object, lock->user);
  DropLock(s, object);
  if (lock->obsolete) SetObsolete(s, object, false);
  AddEvent(s, object.vob, object.dbid, "unlock", comment);
  return true;
}

void RequireUnlocked(Store& s, vob_handle_t vob, vob_dbid_t dbid, bool on_branch) {
  const auto object = Load(s, vob, dbid);
  if (!object) return;  // the caller's own lookup reports it
  const std::string me = CurrentPrincipal().user;
  for (const vob_dbid_t guard : Guards(s, *object, on_branch)) {
    const auto lock = LoadLock(s, vob, guard);
    if (!lock) continue;
    if (!lock->obsolete && !me.empty() &&
        std::find(lock->excluded.begin(), lock->excluded.end(), me) != lock->excluded.end())
      continue;
    const auto locked = Load(s, vob, guard);
    std::string text = "Lock on \"" + NameOf(s, *locked) + "\" (" + (lock->obsolete ? "obsolete, " : "") +
                       "by " + lock->user + ") refuses the change of \"" + NameOf(s, *object) + "\".";
    throw StoreError{TBS_ST_PERMISSION, text};
  }
}

}  // namespace client_local::repo

int vob_obj_get_lock(vob_handle_t vob, vob_dbid_t dbid, stg_area_t area, vob_lock_info_s* info) {
  return LocalCall("vob_obj_get_lock", {Num(vob), Num(dbid)}, NonNull(info), [&] {
    *info = vob_lock_info_s{};
    return InStore([&](Store& s) {
      NeedObject(s, vob, dbid);
      const auto lock = LoadLock(s, vob, dbid);
      if (!lock) return TBS_ST_NOT_FOUND;
      vob_lock_info_s result;
      result.locked = 1;
      result.obsolete = lock->obsolete ? 1 : 0;
      result.user = AreaCopy(area, lock->user);
      result.group = AreaCopy(area, lock->group);
      result.time.secs = static_cast<std::uint32_t>(lock->secs);
      result.comment = AreaCopy(area, lock->comment);
      if (!lock->excluded.empty()) {
        auto** names = static_cast<const char**>(stg_alloc(area, lock->excluded.size() * sizeof(const char*)));
        if (!names) throw StoreError{TBS_ST_NO_MEMORY, "no room in the storage area"};
        for (std::size_t i = 0; i < lock->excluded.size(); ++i) names[i] = AreaCopy(area, lock->excluded[i]);
        result.excluded = names;
        result.excluded_count = static_cast<std::uint32_t>(lock->excluded.size());
      }
      *info = result;
      return TBS_ST_OK;
    });
  });
}

int vob_obj_lock(vob_handle_t vob, vob_dbid_t dbid, const char* comment) {
  return LocalCall("vob_obj_lock", {Num(vob), Num(dbid), Text(comment)}, true, [&](Store& s) {
    const Object object = NeedObject(s, vob, dbid);
    if (LoadLock(s, vob, dbid)) return TBS_ST_ALREADY;
    Lock(s, object, false, comment ? comment : "", {});
    return TBS_ST_OK;
  });
}

int vob_obj_unlock(vob_handle_t vob, vob_dbid_t dbid) {
  return LocalCall("vob_obj_unlock", {Num(vob), Num(dbid)}, true, [&](Store& s) {
    const Object object = NeedObject(s, vob, dbid);
    return Unlock(s, object, "") ? TBS_ST_OK : TBS_ST_NOT_FOUND;
  });
}
