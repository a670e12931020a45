#pragma once
// Attributes and triggers on VOB objects, read through cursors; attribute
// types with their value kinds; owners, groups and protection; derived
// objects; replicas.
#include <cstddef>
#include <cstdint>

#include "vob.h"
#include "vob_val.h"

// A cursor over a list of an object: opened by the first "next" call with
// *cursor 0, closed by vob_ob_cursor_close (also after the end is reached).
using vob_ob_cursor_t = std::uint32_t;
// 0; TBS_ST_NOT_FOUND for a cursor that is not open.
int vob_ob_cursor_close(vob_ob_cursor_t cursor);
// For tests: the cursors open.
int vob_ob_open_cursor_count();

// A new attribute type whose values are of the kind.
int vob_attype_create(vob_handle_t vob, const char* name, vob_val_kind_t kind, const char* comment,
                      vob_dbid_t* attype);
int vob_attype_get_kind(vob_handle_t vob, vob_dbid_t attype, vob_val_kind_t* kind);

// The object's next attribute: its type and value (*value must be empty or
// freed; the caller frees it). TBS_ST_NOT_FOUND at the end.
int vob_obj_next_attrs(vob_handle_t vob, vob_dbid_t dbid, vob_ob_cursor_t* cursor, vob_dbid_t* attype,
                       vob_value_s* value);
// Adds or replaces the attribute of the type (named). TBS_ST_WRONG_KIND for a value of
// another kind than the type's.
int vob_obj_add_attr(vob_handle_t vob, vob_dbid_t dbid, const char* attype, const vob_value_s* value);
// TBS_ST_NOT_FOUND when the object has no such attribute.
int vob_obj_drop_attr(vob_handle_t vob, vob_dbid_t dbid, const char* attype);

// Triggers (trigger types) attached to an object.
int vob_obj_add_trigger(vob_handle_t vob, vob_dbid_t dbid, const char* trtype);
int vob_obj_drop_trigger(vob_handle_t vob, vob_dbid_t dbid, const char* trtype);
// The element's next trigger type. TBS_ST_NOT_FOUND at the end.
int vob_obj_next_triggers(vob_handle_t vob, vob_dbid_t elem, vob_ob_cursor_t* cursor, vob_dbid_t* trtype);

// Owner, group (security identifiers, "S-1-22-1-UID") and protection mode
// bits; CREDUTL_SID_DONTCARE leaves a part as it is, as does a mode of
// VOB_MODE_DONTCARE.
inline constexpr const char* CREDUTL_SID_DONTCARE = "";
inline constexpr std::uint32_t VOB_MODE_DONTCARE = 0xFFFFFFFFu;
int vob_obj_protect_sid(vob_handle_t vob, vob_dbid_t dbid, const char* owner_sid, const char* group_sid,
                        std::uint32_t mode);
int vob_obj_get_protection(vob_handle_t vob, vob_dbid_t dbid, char* owner_sid, std::size_t owner_size,
                           char* group_sid, std::size_t group_size, std::uint32_t* mode);

// Derived objects: a new one at a path in the VOB with its data, and its
// data's file status (TBS_ST_NOT_FOUND when it has no data).
int vob_mkdo(vob_handle_t vob, const char* path, const char* data, vob_dbid_t* derived);
int vob_do_oid_get_fstat_if_data(vob_handle_t vob, const tbs_oid_t* oid, vob_fstat_s* stat);
// The derived object at a pathname; TBS_ST_WRONG_KIND for another kind.
int vob_resolve_do(vob_handle_t vob, const char* pathname, vob_dbid_t* derived);

// Notes the replica of a VOB reached through a view (so later calls know
// which replica masters what). 0; TBS_ST_NOT_FOUND for an unknown VOB.
int vob_ob_register_replica(vob_handle_t vob, const tbs_uuid_t* replica);
