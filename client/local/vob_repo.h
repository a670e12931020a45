#pragma once
// The repository of the local implementation: what the vob_, cmd_ and view_
// calls share. Every function here runs inside a command of the store.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "local/store.h"
#include "stg.h"
#include "tbs.h"
#include "vob.h"

namespace client_local::repo {

struct Object {
  vob_handle_t vob = 0;
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
  std::string oid;  // the dashed text form
  std::string name;
  vob_dbid_t type = 0;
  vob_dbid_t elem = 0;
  vob_dbid_t branch = 0;
  std::int64_t number = 0;
  vob_dbid_t pred = 0;
  std::string text;
  bool obsolete = false;
  bool predefined = false;
};

// SQL names a meta-type only through a parameter: BindMtypes binds the
// meta-types to the parameters first, first + 1, ...
void BindMtypes(Statement& q, int first, std::span<const std::uint32_t> mtypes);
// Versions' meta-types.
inline constexpr std::uint32_t kVersionMtypes[] = {VOB_MTYPE_DIR_VERSION, VOB_MTYPE_VERSION};

std::string Num(std::int64_t value);
std::string Text(const char* text);  // "(null)" for null

bool VobExists(Store& s, vob_handle_t vob);
std::string VobTag(Store& s, vob_handle_t vob);
std::optional<Object> Load(Store& s, vob_handle_t vob, vob_dbid_t dbid);
// The object, or a StoreError of TBS_ST_NOT_FOUND.
Object NeedObject(Store& s, vob_handle_t vob, vob_dbid_t dbid);
// Finds a named object (a type, replica, pool) by meta-type and name.
vob_dbid_t FindNamed(Store& s, vob_handle_t vob, std::uint32_t mtype, const std::string& name);
// The object a pathname in its VOB names ("\src\hello.c"): an element, a
// derived object or a symbolic link; dbid 0 when none.
struct PathObject {
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
};
PathObject FindPath(Store& s, vob_handle_t vob, const std::string& path);
// Stores a new object: gives it its DBID and OID, and its creation event.
vob_dbid_t Insert(Store& s, Object& object, const std::string& event_kind, const std::string& comment);
vob_eventh_t AddEvent(Store& s, vob_handle_t vob, vob_dbid_t obj, const std::string& kind,
                      const std::string& comment);

// The user running the calls: login name, security identifiers and group
// name (empty when the system does not know the user).
struct Principal {
  std::string user, user_sid, group, group_sid;
  bool privileged = false;
};
Principal CurrentPrincipal();
// Refuses a change of the object (throws TBS_ST_PERMISSION with a sentence
// naming the object and its owner) unless the user owns it, owns its VOB,
// is privileged, or is the user named by also_user (an event's user may
// change its comment). An object without an owner is left to privileged
// users.
void RequireChangeRight(Store& s, const Object& object, const std::string& also_user = "");

// ---- Locks ----
struct LockRecord {
  std::string user, group, comment;
  std::int64_t secs = 0;
  bool obsolete = false;
  std::vector<std::string> excluded;  // none for an obsolete lock
};
std::optional<LockRecord> LoadLock(Store& s, vob_handle_t vob, vob_dbid_t dbid);
// Locks the object or replaces its lock (a null comment keeps the replaced
// lock's comment); an obsolete lock also marks the object obsolete and
// excludes no one. Unlock answers false when the object is not locked.
// Both need the right to change the object, which the locker also has.
void Lock(Store& s, const Object& object, bool obsolete, const char* comment,
          const std::vector<std::string>& excluded);
bool Unlock(Store& s, const Object& object, const std::string& comment);
// Refuses a change of the object (throws TBS_ST_PERMISSION with a message
// starting "Lock on") while a lock holds on it, its element, its type or its
// VOB, unless the current user is one the lock excludes. A change on a
// version's branch (check-out, reservation, check-in) is also held by the
// branch and its type. Every change records an event, and AddEvent runs
// this check (not for locking and unlocking), so a call that changes an
// object through AddEvent or Insert needs no check of its own; a call that
// attaches a type's instance (a label, an attribute) also checks the type.
void RequireUnlocked(Store& s, vob_handle_t vob, vob_dbid_t dbid, bool on_branch = false);

// The replica that masters an object: the one its mastership was given to
// (vob_obj_set_master), else the VOB's original replica (0 when neither is there).
vob_dbid_t MasterReplica(Store& s, vob_handle_t vob, vob_dbid_t dbid);
// The replica this host works in: the VOB's original replica.
vob_dbid_t CurrentReplica(Store& s, vob_handle_t vob);

// The latest checked-in version of a branch (0 when none).
vob_dbid_t LatestVersion(Store& s, vob_handle_t vob, vob_dbid_t branch);
// The branch of an element by its branch path ("\main\dev").
vob_dbid_t BranchByPath(Store& s, vob_handle_t vob, vob_dbid_t elem, const std::string& path);
// The version of an element by its identifier ("\main\3", "\main\LATEST",
// "\main\CHECKEDOUT", "\main\LABEL"); the view picks among check-outs.
vob_dbid_t VersionById(Store& s, vob_handle_t vob, vob_dbid_t elem, const std::string& idstr,
                       const std::string& view);
// The version of an element the view has checked out (0 when none).
vob_dbid_t CheckedOutVersion(Store& s, vob_handle_t vob, vob_dbid_t elem, const std::string& view);
// The version a view selects (vob_elem_get_view_version).
vob_dbid_t ViewVersion(Store& s, vob_handle_t vob, vob_dbid_t elem, const std::string& view);
// The view's check-out of a checked-in version: a checked-out version on its
// branch with it as predecessor and its contents, the check-out record and
// its event. The new version's DBID.
vob_dbid_t AddCheckout(Store& s, const Object& from, const std::string& view, bool reserved, bool nonmastered,
                       const std::string& comment);
// "\main\dev" of a branch, "\main\dev\3" of a version.
std::string BranchPath(Store& s, const Object& branch);
std::string VersionId(Store& s, const Object& version);
std::string Pathname(Store& s, const Object& object);
// A named object's selector ("lbtype:REL1@\vob", "stream:dev@\projects",
// "vob:\vob"); empty for an object that has none.
std::string Selector(Store& s, const Object& object);

// Resolves a pathname in a VOB (its tag may lead; see vob_resolve_general).
int Resolve(Store& s, vob_handle_t vob, std::string name, const std::string& view, vob_dbid_t* dbid,
            std::uint32_t* mtype);
// The VOB whose tag leads a VOB-rooted name ("\vob\dir"), and the rest.
vob_handle_t VobOfName(Store& s, const std::string& name, std::string* rest);
// A pathname as the repository reads it: '/' is '\'.
std::string BackslashName(const char* pathname);
// The view a name goes through and the name below the view's root
// ("\vob\f.c@@\main\1"), as plat::ReadViewName reads it.
bool SplitViewName(const std::string& name, std::string* view, std::string* rest);

// Room for the names the C calls hand out into buffers: tags, users, hosts,
// regions (a name of at most 255 bytes, a leading backslash and the
// terminator fit), and pathnames or selector names.
inline constexpr std::size_t kNameBufferSize = 300;
inline constexpr std::size_t kPathBufferSize = 1100;

// Whether a name may be stored: not empty, at most 255 bytes, printable
// ASCII without blanks, quotes, separators or '@'.
bool ValidLeafName(const std::string& name);

// Whether a name may be the leaf of an element or symbolic link: 1 to 255
// bytes of well-formed UTF-8, blanks allowed; never "." or "..", a control
// character, '\\', '/', ':' or "@@".
bool ValidElementName(const std::string& name);
std::string BadElementNameText(const std::string& name);

// Prints an error through the message routing (a line of its own).
void Complain(const std::string& text);
// The refusal of a name that ValidLeafName refuses.
std::string BadNameText(const std::string& name);

// Rows changed by the last statement.
int Changes(Store& s);
int CopyOut(const std::string& text, char* out, std::size_t size);
const char* AreaCopy(stg_area_t area, const std::string& text);

}  // namespace client_local::repo
