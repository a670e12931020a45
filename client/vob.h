#pragma once
// VOB calls: the objects a VOB holds (elements, branches, versions with their
// contents, derived objects, symbolic links, types, replicas, pools,
// hyperlinks), their events, labels, check-outs, locks and attributes.
//
// A VOB is named by a handle (vob_lookup_tag, vob_create) and an object by
// its database identifier (DBID) in that VOB; DBID 0 names nothing. Calls
// answer 0 or a status of tbs.h: TBS_ST_NOT_FOUND when the VOB, object or name is not
// there, TBS_ST_INVALID_ARG for a bad argument (nothing done), TBS_ST_WRONG_KIND for an object of the
// wrong kind. A call that changes the VOB changes all or nothing.
//
// Texts of records go into a storage area the caller gives (stg.h); they
// live until that area is freed. Texts for the caller's buffers are always
// terminated; a buffer too small gives TBS_ST_INVALID_ARG and is left empty.
//
// Pathnames are the product's: a VOB's tag is "\name"; an object's pathname
// is its tag followed by its path in the VOB, with the version extension
// ("@@" for an element, "@@\main\dev" for a branch, "@@\main\3" or
// "@@\main\CHECKEDOUT" for a version). Names reached through a view
// ("\\view\TAG\vob\..." or "M:\TAG\vob\...") are read by cmd_resolve.h.
#include <cstddef>
#include <cstdint>

#include "date_fmt.h"
#include "stg.h"
#include "tbs_uuid.h"

using vob_handle_t = std::uint32_t;  // 0: no VOB
using vob_dbid_t = std::uint32_t;    // 0: no object
using vob_eventh_t = std::uint32_t;  // an event; 0: none

// Meta-types (the class of an object).
inline constexpr std::uint32_t VOB_MTYPE_NONE = 0;
inline constexpr std::uint32_t VOB_MTYPE_VOB = 1;
inline constexpr std::uint32_t VOB_MTYPE_DIR_ELEMENT = 2;
inline constexpr std::uint32_t VOB_MTYPE_FILE_ELEMENT = 3;
inline constexpr std::uint32_t VOB_MTYPE_HLINK = 4;
inline constexpr std::uint32_t VOB_MTYPE_BRANCH = 5;
inline constexpr std::uint32_t VOB_MTYPE_DIR_VERSION = 6;
inline constexpr std::uint32_t VOB_MTYPE_VERSION = 7;
inline constexpr std::uint32_t VOB_MTYPE_DERIVED_OBJECT = 8;
inline constexpr std::uint32_t VOB_MTYPE_SYMLINK = 9;
inline constexpr std::uint32_t VOB_MTYPE_POOL = 10;
inline constexpr std::uint32_t VOB_MTYPE_DO_VERSION = 11;
inline constexpr std::uint32_t VOB_MTYPE_ELTYPE = 12;
inline constexpr std::uint32_t VOB_MTYPE_BRTYPE = 13;
inline constexpr std::uint32_t VOB_MTYPE_LBTYPE = 14;
inline constexpr std::uint32_t VOB_MTYPE_ATTYPE = 15;
inline constexpr std::uint32_t VOB_MTYPE_HLTYPE = 16;
inline constexpr std::uint32_t VOB_MTYPE_TRTYPE = 17;
inline constexpr std::uint32_t VOB_MTYPE_REPLICA = 18;
inline constexpr std::uint32_t VOB_MTYPE_DIRECTORY = 26;  // a directory that is not an element
// The change-management objects of a project VOB (see flm.h).
inline constexpr std::uint32_t VOB_MTYPE_ACTIVITY = 28;
inline constexpr std::uint32_t VOB_MTYPE_FOLDER = 33;
inline constexpr std::uint32_t VOB_MTYPE_PROJECT = 35;
inline constexpr std::uint32_t VOB_MTYPE_STREAM = 36;
inline constexpr std::uint32_t VOB_MTYPE_BASELINE = 37;
inline constexpr std::uint32_t VOB_MTYPE_COMPONENT = 38;

// Whether the meta-type is that of a file-system object.
bool vob_mtype_is_fs_object(std::uint32_t mtype);
// The meta-type's text ("file element", "version", ...); "unknown" for
// another code. Never null.
const char* vob_utl_mtype_to_str(std::uint32_t mtype);

// The version number of a checked-out version.
inline constexpr std::int32_t VOB_VERSION_CHECKEDOUT = -1;

// ---- VOBs ----
// A new VOB with the tag ("\name": one backslash, then a name of letters,
// digits, '_', '-' or '.'), its root directory, the predefined types
// (element types "file", "text_file", "directory"; branch type "main";
// label types "LATEST", "BACKSTOP", "CHECKEDOUT"; hyperlink type "Merge"),
// its replica "original" and pool "sdft". TBS_ST_ALREADY when the tag is in use.
int vob_create(const char* tag, const char* comment, vob_handle_t* vob);
int vob_lookup_tag(const char* tag, vob_handle_t* vob);
int vob_get_tag(vob_handle_t vob, char* out, std::size_t size);
int vob_get_uuid(vob_handle_t vob, tbs_uuid_t* uuid);
// The DBID of the VOB object and of the root directory element.
int vob_get_vob_object(vob_handle_t vob, vob_dbid_t* dbid);
int vob_get_root_elem(vob_handle_t vob, vob_dbid_t* elem);
// The VOB that holds a pathname: a VOB-rooted name ("\vob\src\f.c", with or
// without version extension) or a name through a view ("\\view\TAG\vob\...",
// "M:\TAG\vob\..."). Only the name is read: the object need not be there.
// TBS_ST_NOT_FOUND when no VOB's tag leads the name.
int vob_resolve_vob(const char* pathname, vob_handle_t* vob);

// ---- Making objects ----
// A new type (meta-type VOB_MTYPE_*TYPE) named by a name of letters,
// digits, '_', '-' or '.', not starting with a digit (at most 255 bytes).
// TBS_ST_ALREADY when the name is taken.
int vob_mktype(vob_handle_t vob, std::uint32_t mtype, const char* name, const char* comment, vob_dbid_t* type);
// A new element at a path in the VOB ("\src\hello.c"); its directory must
// be a directory element. It gets the branch "main" with version 0 (empty).
// TBS_ST_ALREADY when the path is taken; TBS_ST_INVALID_ARG for a bad leaf name.
int vob_mkelem(vob_handle_t vob, const char* path, int directory, const char* comment, vob_dbid_t* elem);
// A new branch of the branch type sprouting from a checked-in version.
int vob_mkbranch(vob_handle_t vob, vob_dbid_t version, const char* brtype, const char* comment,
                 vob_dbid_t* branch);
// A VOB symbolic link at a path, with its link text.
int vob_mkslink(vob_handle_t vob, const char* path, const char* text, const char* comment, vob_dbid_t* slink);
// A hyperlink of the hyperlink type from one object to another (either may
// be in another VOB; the hyperlink lives in the from-object's VOB), with
// optional texts at its ends.
int vob_hlink_create(vob_handle_t vob, const char* hltype, vob_handle_t from_vob, vob_dbid_t from,
                     vob_handle_t to_vob, vob_dbid_t to, const char* from_text, const char* to_text,
                     vob_dbid_t* hlink);

// ---- Any object ----
int vob_obj_get_mtype(vob_handle_t vob, vob_dbid_t dbid, std::uint32_t* mtype);
int vob_obj_get_oid(vob_handle_t vob, vob_dbid_t dbid, tbs_oid_t* oid);
int vob_obj_oid_to_dbid(vob_handle_t vob, const tbs_oid_t* oid, vob_dbid_t* dbid);
// *exists is 1 or 0; the call fails only for an unknown VOB.
int vob_obj_exists(vob_handle_t vob, vob_dbid_t dbid, int* exists);
// The object's pathname (file-system objects) with its version extension.
// TBS_ST_WRONG_KIND for an object that has no pathname.
int vob_obj_to_pname_flags(vob_handle_t vob, vob_dbid_t dbid, int flags, char* out, std::size_t size);
// The type of an element, branch, hyperlink or attribute (its DBID).
int vob_obj_get_type(vob_handle_t vob, vob_dbid_t dbid, vob_dbid_t* type);
// The type object of any object: the element's, branch's or hyperlink's
// type, else TBS_ST_NOT_FOUND.
int vob_type_find_gtype(vob_handle_t vob, vob_dbid_t dbid, vob_dbid_t* type);
// The name of a named object (types, replicas, pools, the VOB object), or
// of an element (its leaf).
int vob_obj_get_name(vob_handle_t vob, vob_dbid_t dbid, char* out, std::size_t size);
// Renames a named object (not the VOB object): TBS_ST_INVALID_ARG for a bad name, TBS_ST_ALREADY when
// the name is taken by an object of its kind, TBS_ST_PERMISSION for a predefined object.
int vob_obj_set_name(vob_handle_t vob, vob_dbid_t dbid, const char* name);
// A named object's selector ("lbtype:REL1@\vob").
int vob_obj_get_selector(vob_handle_t vob, vob_dbid_t dbid, char* out, std::size_t size);
int vob_obj_get_obsolete(vob_handle_t vob, vob_dbid_t dbid, int* obsolete);
int vob_obj_set_obsolete(vob_handle_t vob, vob_dbid_t dbid, int obsolete);
int vob_obj_is_predefined(vob_handle_t vob, vob_dbid_t dbid, int* predefined);
// Prints the object's fields through the message routing (output kind).
int vob_obj_dump(vob_handle_t vob, vob_dbid_t dbid);

// Locks. A lock record's texts go into the area. A lock refuses every change
// of its object (and of what the object holds or types) with
// TBS_ST_PERMISSION and a message starting "Lock on", except to its excluded
// users; an obsolete lock excludes no one and marks its object obsolete.
// Locking and unlocking are for the object's owner, the VOB's owner, the
// locker and privileged users (cmd_lock.h locks by name).
struct vob_lock_info_s {
  std::uint32_t version = 1;
  int locked = 0;
  tbs_time2_t time;
  const char* user = nullptr;
  const char* comment = nullptr;
  int obsolete = 0;
  const char* group = nullptr;        // the locker's group
  const char** excluded = nullptr;    // user names, in the area
  std::uint32_t excluded_count = 0;
};
// TBS_ST_NOT_FOUND when the object is not locked (the record then says so).
int vob_obj_get_lock(vob_handle_t vob, vob_dbid_t dbid, stg_area_t area, vob_lock_info_s* info);
// TBS_ST_ALREADY when already locked.
int vob_obj_lock(vob_handle_t vob, vob_dbid_t dbid, const char* comment);
// TBS_ST_NOT_FOUND when not locked.
int vob_obj_unlock(vob_handle_t vob, vob_dbid_t dbid);

// Events: every object has its creation event first; check-outs, check-ins
// and label changes add events.
struct vob_event_info_s {
  std::uint32_t version = 1;
  vob_eventh_t handle = 0;  // the event the record was read from
  tbs_time2_t time;
  const char* kind = nullptr;  // "create element", "checkin version", ...
  const char* user = nullptr;
  const char* group = nullptr;
  const char* host = nullptr;
  const char* comment = nullptr;
};
int vob_obj_find_eventh(vob_handle_t vob, vob_dbid_t dbid, vob_eventh_t* event);
// The object's events one by one: *event 0 starts, each call moves it on;
// TBS_ST_NOT_FOUND at the end.
int vob_obj_next_evenths(vob_handle_t vob, vob_dbid_t dbid, vob_eventh_t* event);
int vob_event_get_info(vob_handle_t vob, vob_eventh_t event, stg_area_t area, vob_event_info_s* info);
int vob_event_change_comment(vob_handle_t vob, vob_eventh_t event, const char* comment);

// ---- Elements, branches, versions ----
// The element, branch or version a pathname in the VOB names ("\src\f.c",
// "\src\f.c@@", "\src\f.c@@\main", "\src\f.c@@\main\2", "...\LATEST",
// "...\CHECKEDOUT" or a label name). The tag may lead the pathname. A name
// without extension names the element. vob_resolve_elem and vob_resolve_ver
// answer TBS_ST_WRONG_KIND for an object of another kind.
int vob_resolve_general(vob_handle_t vob, const char* pathname, vob_dbid_t* dbid, std::uint32_t* mtype);
int vob_resolve_elem(vob_handle_t vob, const char* pathname, vob_dbid_t* elem);
int vob_resolve_ver(vob_handle_t vob, const char* pathname, vob_dbid_t* version);
// An element's version named by an identifier ("\main\2", "\main\LATEST").
int vob_elem_idstr_to_version(vob_handle_t vob, vob_dbid_t elem, const char* idstr, vob_dbid_t* version);
// The version a view selects for an element: what the view's config spec
// selects, as the view's directory shows it. A view that is not there selects
// its check-out of the element, else the latest version of its branch "main".
int vob_elem_get_view_version(vob_handle_t vob, vob_dbid_t elem, const char* view, vob_dbid_t* version);
int vob_elem_is_directory(vob_handle_t vob, vob_dbid_t elem, int* directory);

int vob_branch_get_pname(vob_handle_t vob, vob_dbid_t branch, char* out, std::size_t size);
int vob_branch_get_elem(vob_handle_t vob, vob_dbid_t branch, vob_dbid_t* elem);
// The latest checked-in version of the branch.
int vob_branch_get_latest_ver(vob_handle_t vob, vob_dbid_t branch, vob_dbid_t* version);
// The version the branch sprouted from; TBS_ST_NOT_FOUND for an element's main branch.
int vob_branch_get_pred_ver(vob_handle_t vob, vob_dbid_t branch, vob_dbid_t* version);

int vob_ver_is_checked_out(vob_handle_t vob, vob_dbid_t version, int* checked_out);
// "\main\2", "\main\dev\CHECKEDOUT".
int vob_ver_get_idstr(vob_handle_t vob, vob_dbid_t version, char* out, std::size_t size);
int vob_ver_get_elem(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* elem);
int vob_ver_get_branch(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* branch);
// TBS_ST_NOT_FOUND for version 0 of the main branch.
int vob_ver_get_pred_ver(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* pred);
// Contents of a version; a checked-out version's contents may be written.
int vob_ver_get_contents(vob_handle_t vob, vob_dbid_t version, stg_area_t area, const char** text);
int vob_ver_set_contents(vob_handle_t vob, vob_dbid_t version, const char* text);

// Labels: *cursor 0 starts; each call gives the next label type's DBID;
// TBS_ST_NOT_FOUND at the end.
int vob_ver_next_labels(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* cursor);
int vob_ver_has_label(vob_handle_t vob, vob_dbid_t version, const char* lbtype, int* has);
// TBS_ST_ALREADY when another version of the element carries the label; TBS_ST_NOT_FOUND for an
// unknown label type; a checked-out version is refused (TBS_ST_INVALID_ARG). Each refusal
// prints a message naming the version or the type.
int vob_ver_add_label(vob_handle_t vob, vob_dbid_t version, const char* lbtype);
// As vob_ver_add_label, but a label another version of the element holds is
// moved to this one, in the same transaction.
int vob_ver_move_label(vob_handle_t vob, vob_dbid_t version, const char* lbtype);
// TBS_ST_NOT_FOUND (with a message) when the version lacks the label.
int vob_ver_drop_label(vob_handle_t vob, vob_dbid_t version, const char* lbtype);
// The version merged into this one (a "Merge" hyperlink to it), else TBS_ST_NOT_FOUND.
// When several merges arrived, the one recorded first.
int vob_ver_find_merge(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* from);
// Every version merged into this one, in the order the merges were
// recorded: *cursor 0 starts (it is the merge's hyperlink after each call);
// TBS_ST_NOT_FOUND at the end.
int vob_ver_next_merges(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* cursor, vob_dbid_t* from);

// Check-outs.
struct vob_ckout_info_s {
  std::uint32_t version = 1;
  int reserved = 0;
  int nonmastered = 0;  // made while another replica masters the branch
  const char* view = nullptr;
  const char* comment = nullptr;
  const char* user = nullptr;
  tbs_time2_t time;
  // The check-out's view as it was when the check-out was made, so that it
  // can still be named once the view is gone: its UUID, host and storage
  // path (the tag's global path, "\\view\TAG").
  const char* view_uuid = nullptr;
  const char* view_host = nullptr;
  const char* view_path = nullptr;
};
// The check-out of a checked-out version; TBS_ST_WRONG_KIND for a checked-in version.
int vob_ver_get_ckout_info(vob_handle_t vob, vob_dbid_t version, stg_area_t area, vob_ckout_info_s* info);
// Makes a checked-out version's check-out reserved (TBS_ST_ALREADY when another view
// holds the branch reserved) or unreserved.
int vob_branch_reserve(vob_handle_t vob, vob_dbid_t version);
int vob_branch_unreserve(vob_handle_t vob, vob_dbid_t version);
// Checks in the view's check-out of the element at the pathname (no
// version extension): the checked-out version becomes the branch's next
// version. *version (may be null) gets it.
int vob_utl_checkin(vob_handle_t vob, const char* pathname, const char* view, const char* comment,
                    vob_dbid_t* version);
// Drops the view's check-out of the element at the pathname and its
// checked-out version.
int vob_utl_uncheckout(vob_handle_t vob, const char* pathname, const char* view);

// ---- Derived objects and symbolic links ----
struct vob_fstat_s {
  std::uint32_t version = 1;
  std::int64_t size = 0;
  std::uint32_t mode = 0;
  tbs_time2_t mtime;
};
int vob_obj_get_fstat_db(vob_handle_t vob, vob_dbid_t dbid, vob_fstat_s* stat);
int vob_obj_protect(vob_handle_t vob, vob_dbid_t dbid, std::uint32_t mode);
int vob_slink_get_text(vob_handle_t vob, vob_dbid_t slink, char* out, std::size_t size);

// ---- Named objects ----
// The named object a selector names (see vob_utl_parse_objsel), or an
// object by "oid:OID".
int vob_obj_resolve(vob_handle_t vob, const char* selector, vob_dbid_t* dbid, std::uint32_t* mtype);

// ---- Hyperlinks ----
struct vob_hlink_info_s {
  std::uint32_t version = 1;
  const char* type = nullptr;  // the hyperlink type's name
  vob_handle_t from_vob = 0;
  tbs_oid_t from_oid{};
  vob_handle_t to_vob = 0;  // 0 for a hyperlink without a to-object
  tbs_oid_t to_oid{};
  const char* from_text = nullptr;
  const char* to_text = nullptr;
  const char* comment = nullptr;
};
int vob_hlink_get_info(vob_handle_t vob, vob_dbid_t hlink, stg_area_t area, vob_hlink_info_s* info);
// Hyperlinks of an object, from it or to it: *cursor 0 starts; TBS_ST_NOT_FOUND at the
// end.
int vob_obj_next_hlinks(vob_handle_t vob, vob_dbid_t dbid, vob_dbid_t* cursor);
int vob_obj_has_hlink(vob_handle_t vob, vob_dbid_t dbid, int* has);

// ---- Selectors ----
// Kinds of selectors, and their texts ("vob", "eltype", "brtype", "lbtype",
// "attype", "hltype", "trtype", "replica", "pool", "hlink", "oid", and the
// change-management kinds "folder", "project", "stream", "component",
// "baseline", "activity").
enum vob_objsel_kind_t : int {
  VOB_OBJSEL_NONE = 0,
  VOB_OBJSEL_VOB,
  VOB_OBJSEL_ELTYPE,
  VOB_OBJSEL_BRTYPE,
  VOB_OBJSEL_LBTYPE,
  VOB_OBJSEL_ATTYPE,
  VOB_OBJSEL_HLTYPE,
  VOB_OBJSEL_TRTYPE,
  VOB_OBJSEL_REPLICA,
  VOB_OBJSEL_POOL,
  VOB_OBJSEL_HLINK,
  VOB_OBJSEL_OID,
  VOB_OBJSEL_FOLDER,
  VOB_OBJSEL_PROJECT,
  VOB_OBJSEL_STREAM,
  VOB_OBJSEL_COMPONENT,
  VOB_OBJSEL_BASELINE,
  VOB_OBJSEL_ACTIVITY,
};
// TBS_ST_INVALID_ARG for text that is no kind.
int vob_utl_str_to_objsel_kind(const char* text, vob_objsel_kind_t* kind);
// Null for VOB_OBJSEL_NONE or another value.
const char* vob_utl_objsel_kind_to_str(vob_objsel_kind_t kind);
std::uint32_t vob_utl_objsel_kind_to_mtype(vob_objsel_kind_t kind);
vob_objsel_kind_t vob_utl_mtype_to_objsel_kind(std::uint32_t mtype);
// "kind:name@\vob" (the "@\vob" part may be left out; "vob:\vob" names a
// VOB). Name and tag go into the buffers. TBS_ST_INVALID_ARG for text that is no
// selector: an unknown kind, an empty name, or a name holding blanks,
// quotes, control or non-ASCII characters.
int vob_utl_parse_objsel(const char* selector, vob_objsel_kind_t* kind, char* name, std::size_t name_size,
                         char* tag, std::size_t tag_size);
int vob_utl_create_objsel(vob_objsel_kind_t kind, const char* name, const char* tag, char* out,
                          std::size_t size);

// ---- Names ----
// A pathname of any length split at its last separator: the directory part
// (as fileutl_strip_leaf gives it) and the leaf, in the area. 0;
// TBS_ST_INVALID_ARG for a null argument or an unknown area.
int vob_utl_strip_leaf(const char* pathname, stg_area_t area, const char** dir, const char** leaf);

// ---- The object cache of the client ----
inline constexpr int VOB_CACHE_ENABLE = 1;
inline constexpr int VOB_CACHE_DISABLE = 2;
inline constexpr int VOB_CACHE_QUERY = 3;  // answers 1 when enabled, else 0
inline constexpr int VOB_CACHE_STATS = 4;  // prints the counts as output
int vob_ob_all_cache_action(int action);
