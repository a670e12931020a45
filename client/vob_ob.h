#pragma once
// A VOB's own properties and its lists of types: what the VOB object and its
// type managers ask. Cursors are those of vob_attr.h (closed with
// vob_ob_cursor_close).
#include <cstddef>
#include <cstdint>

#include "tbs_uuid.h"
#include "vob.h"
#include "vob_attr.h"

// The VOB's objects of a meta-type (types: VOB_MTYPE_*TYPE; or hyperlinks),
// by DBID: *cursor 0 starts; TBS_ST_NOT_FOUND at the end.
int vob_ob_next_objs(vob_handle_t vob, std::uint32_t mtype, vob_ob_cursor_t* cursor, vob_dbid_t* dbid);

// New types, each a vob_mktype of its meta-type.
int vob_lbtype_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* type);
int vob_brtype_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* type);
int vob_eltype_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* type);
int vob_hltype_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* type);
// Deleting a type: TBS_ST_WRONG_KIND for an object of another meta-type; TBS_ST_PERMISSION for a
// predefined type; TBS_ST_ALREADY while something uses it (a label, branch,
// element, hyperlink or attribute of that type).
int vob_attype_delete(vob_handle_t vob, vob_dbid_t type);
int vob_lbtype_delete(vob_handle_t vob, vob_dbid_t type);
int vob_brtype_delete(vob_handle_t vob, vob_dbid_t type);
int vob_eltype_delete(vob_handle_t vob, vob_dbid_t type);
int vob_hltype_delete(vob_handle_t vob, vob_dbid_t type);
// Deletes a hyperlink (TBS_ST_WRONG_KIND for another kind of object).
int vob_hlink_delete(vob_handle_t vob, vob_dbid_t hlink);
// An object's hyperlinks (either end), by DBID: *cursor 0 starts; TBS_ST_NOT_FOUND at
// the end.
int vob_obj_next_hlinks(vob_handle_t vob, vob_dbid_t dbid, vob_ob_cursor_t* cursor, vob_dbid_t* hlink);

// The OID of the VOB's replica ("original").
int vob_ob_get_replica_oid(vob_handle_t vob, tbs_oid_t* oid);
// Whether the VOB is replicated: it has more than one replica object.
int vob_ob_is_replicated(vob_handle_t vob, int* replicated);
// The replica (its DBID in the object's VOB) that masters an object: the
// replica its mastership was given to, else its VOB's original replica.
// TBS_ST_NOT_FOUND for an unknown VOB or object.
int vob_obj_get_master(vob_handle_t vob, vob_dbid_t dbid, vob_dbid_t* replica);
// A new replica of the VOB, named like a type (the VOB is then replicated).
// TBS_ST_ALREADY when the name is taken; TBS_ST_INVALID_ARG for a bad name.
int vob_replica_create(vob_handle_t vob, const char* name, const char* comment, vob_dbid_t* replica);
// Gives a branch's mastership to a replica of its VOB. TBS_ST_WRONG_KIND when
// the object is no branch or the replica no replica; TBS_ST_NOT_FOUND for an
// unknown VOB or object.
int vob_obj_set_master(vob_handle_t vob, vob_dbid_t branch, vob_dbid_t replica);

// Well-known objects of a VOB, by kind. TBS_ST_INVALID_ARG for another kind.
inline constexpr int VOB_WK_OBJ_VOB = 1;        // the VOB object
inline constexpr int VOB_WK_OBJ_ROOT_ELEM = 2;  // the root directory element
inline constexpr int VOB_WK_OBJ_REPLICA = 3;    // the current replica: the one this host works in
int vob_ob_get_wk_obj(vob_handle_t vob, int kind, vob_dbid_t* dbid);
// The directory the VOB is reached under in a view: its tag ("\public").
int vob_ob_get_mount_dir_pname(vob_handle_t vob, char* out, std::size_t size);

// The owner of the VOB (its VOB object's owner SID; "" when none is set).
int vob_ob_get_vob_owner_sid(vob_handle_t vob, char* out, std::size_t size);
// Changes the owner and group of the VOB object (CREDUTL_SID_DONTCARE
// leaves a part); the _scan form changes every object of the VOB. TBS_ST_INVALID_ARG for
// a SID that is not one.
int vob_ob_protectvob(vob_handle_t vob, const char* owner_sid, const char* group_sid);
int vob_ob_protectvob_scan(vob_handle_t vob, const char* owner_sid, const char* group_sid);
// Whether the VOB is a change-management project VOB: always 0 here.
int vob_ob_is_pvob(vob_handle_t vob, int* pvob);

// The VOB whose VOB object has the OID. 0; TBS_ST_NOT_FOUND when no VOB has it.
int vob_ob_vob_oid_to_vobh(const tbs_oid_t* oid, vob_handle_t* vob);
// The views that have used the VOB (loaded its files or checked out in it),
// by tag into out: *cursor 0 starts; TBS_ST_NOT_FOUND at the end.
int vob_ob_next_views(vob_handle_t vob, vob_ob_cursor_t* cursor, char* out, std::size_t size);
// A view's UUID by its tag. TBS_ST_NOT_FOUND for an unknown view.
int vob_ob_view_to_uuid(const char* tag, tbs_uuid_t* uuid);
