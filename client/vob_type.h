#pragma once
// Type definitions: how many instances of a type an object may carry
// (occurs), whether a type is global, who masters its instances, the value
// rules of attribute types, the parents and managers of element types, the
// definitions of trigger types and replicas; redefining them; and the
// transaction that makes several calls one change of the VOB.
#include <cstddef>
#include <cstdint>

#include "stg.h"
#include "vob.h"
#include "vob_val.h"

// How many instances of a label, branch, attribute or hyperlink type an
// object may carry.
inline constexpr std::uint32_t VOB_OCCURS_NULL = 0;
inline constexpr std::uint32_t VOB_OCCURS_VER_PER_ELEM = 1;
inline constexpr std::uint32_t VOB_OCCURS_VER_PER_BRANCH = 2;
inline constexpr std::uint32_t VOB_OCCURS_VER_PER_VER = 3;
inline constexpr std::uint32_t VOB_GLOBALNESS_NONE = 0;
inline constexpr std::uint32_t VOB_GLOBALNESS_GLOBAL = 1;
inline constexpr std::uint32_t VOB_GLOBALNESS_LOCAL = 2;
inline constexpr std::uint32_t VOB_GLOBALNESS_AS_IS = 3;
inline constexpr std::uint32_t VOB_MASTER_NULL = 0;
inline constexpr std::uint32_t VOB_MASTER_SHARED = 1;
inline constexpr std::uint32_t VOB_MASTER_UNSHARED = 2;

// How versions of an element type are merged.
using vob_mergetype_s = std::uint32_t;
inline constexpr vob_mergetype_s VOB_MERGETYPE_AUTO = 0;
inline constexpr vob_mergetype_s VOB_MERGETYPE_USER = 1;
inline constexpr vob_mergetype_s VOB_MERGETYPE_NEVER = 2;
inline constexpr vob_mergetype_s VOB_MERGETYPE_COPY = 3;

// What every type's redefine changes.
struct vob_type_def_s {
  std::uint32_t version = 1;
  std::uint32_t occurs = VOB_OCCURS_NULL;
  std::uint32_t globalness = VOB_GLOBALNESS_NONE;
  std::uint32_t master_kind = VOB_MASTER_NULL;
};

// Any type (TBS_ST_WRONG_KIND for another object).
int vob_type_get_occurs(vob_handle_t vob, vob_dbid_t type, std::uint32_t* occurs);
int vob_type_get_globalness(vob_handle_t vob, vob_dbid_t type, std::uint32_t* globalness);
int vob_type_get_master_kind(vob_handle_t vob, vob_dbid_t type, std::uint32_t* master_kind);
// The well-known-object code of a type the change-management process made
// (its hyperlink and attribute types); TBS_ST_NOT_FOUND for any other type.
int vob_obj_find_wkobj(vob_handle_t vob, vob_dbid_t type, int* code);
// The element type's super types, nearest first: *cursor 0 starts, each call
// moves it to the next; TBS_ST_NOT_FOUND at the end.
int vob_type_next_supertypes(vob_handle_t vob, vob_dbid_t eltype, vob_dbid_t* cursor);

// ---- Attribute types ----
// The value rules as text (texts in the area; null when absent).
struct vob_attype_info_s {
  std::uint32_t version = 1;
  vob_val_kind_t kind = VOB_VAL_NONE;
  const char* lower = nullptr;
  const char* upper = nullptr;
  int lower_inclusive = 0;
  int upper_inclusive = 0;
  const char* default_value = nullptr;
  std::size_t enum_count = 0;
  const char* const* enum_values = nullptr;
};
int vob_attype_get_info(vob_handle_t vob, vob_dbid_t attype, stg_area_t area, vob_attype_info_s* info);

// The value rules parsed as values of the kind; owned by the record until
// vob_attype_free_vinfo.
struct vob_attype_vinfo_s {
  std::uint32_t version = 1;
  vob_val_kind_t kind = VOB_VAL_NONE;
  int has_lower = 0, has_upper = 0, has_default = 0;
  int lower_inclusive = 0, upper_inclusive = 0;
  vob_value_s lower, upper, default_value;
  std::size_t enum_count = 0;
  vob_value_s* enum_values = nullptr;
};
// Parses texts (null for none) as values of the kind. TBS_ST_INVALID_ARG
// with a message naming the text that is no value of the kind, a lower
// bound above the upper, or a default outside the rules; *vinfo is then
// left empty.
int vob_attype_strs_to_vinfo(vob_val_kind_t kind, const char* lower, const char* upper, int lower_inclusive,
                             int upper_inclusive, const char* default_value, const char* const* enum_values,
                             std::size_t enum_count, vob_attype_vinfo_s* vinfo);
int vob_attype_free_vinfo(vob_attype_vinfo_s* vinfo);

// ---- Element types ----
struct vob_eltype_info_s {
  std::uint32_t version = 1;
  vob_dbid_t supertype = 0;        // 0: none
  const char* mgr_name = nullptr;  // in the area; empty: the super type's manager
  int ptime = 0;                   // keeps the file's time on check-in
  vob_mergetype_s mergetype = VOB_MERGETYPE_AUTO;
};
int vob_eltype_get_info(vob_handle_t vob, vob_dbid_t eltype, stg_area_t area, vob_eltype_info_s* info);
int vob_eltype_get_mergetype(vob_handle_t vob, vob_dbid_t eltype, vob_mergetype_s* mergetype);
// The manager in force: the type's own, else its nearest super type's.
int vob_type_find_mgr_name(vob_handle_t vob, vob_dbid_t eltype, char* out, std::size_t size);

// ---- Hyperlink types ----
inline constexpr int VOB_HLINK_FROM = 0;
inline constexpr int VOB_HLINK_TO = 1;
int vob_hltype_get_occurs(vob_handle_t vob, vob_dbid_t hltype, int end, std::uint32_t* occurs);
// The attribute types that hyperlinks of the type carry: *cursor 0 starts;
// TBS_ST_NOT_FOUND at the end.
int vob_type_next_attr_types(vob_handle_t vob, vob_dbid_t hltype, vob_dbid_t* cursor);

// ---- Trigger types and replicas ----
// Operation kinds a trigger fires on.
using vob_op_t = std::uint32_t;
inline constexpr vob_op_t VOB_OP_CHECKIN = 1;
inline constexpr vob_op_t VOB_OP_CHECKOUT = 2;
inline constexpr vob_op_t VOB_OP_UNCHECKOUT = 3;
inline constexpr vob_op_t VOB_OP_MKLABEL = 4;
inline constexpr vob_op_t VOB_OP_MKATTR = 5;
// A trigger type's definition; its arrays and texts are owned by the record
// until vob_trtype_free_info (a caller that builds one frees its own).
struct vob_trtype_info_s {
  std::uint32_t version = 1;
  std::size_t action_count = 0;
  char** actions = nullptr;  // command lines run when it fires
  std::size_t restriction_count = 0;
  char** restrictions = nullptr;  // type selectors it is limited to
  std::size_t op_count = 0;
  vob_op_t* ops = nullptr;
  std::size_t user_count = 0;
  char** users = nullptr;  // users it does not fire for
};
int vob_trtype_get_info(vob_handle_t vob, vob_dbid_t trtype, vob_trtype_info_s* info);
int vob_trtype_free_info(vob_trtype_info_s* info);
int vob_trtype_create(vob_handle_t vob, const char* name, const vob_trtype_info_s* info, const char* comment,
                      vob_dbid_t* trtype);

struct vob_rptype_info_s {
  std::uint32_t version = 1;
  char* name = nullptr;
  char* host = nullptr;
};
int vob_rptype_get_info(vob_handle_t vob, vob_dbid_t replica, vob_rptype_info_s* info);
int vob_rptype_free_info(vob_rptype_info_s* info);

// ---- Redefining ----
// Each writes the type-level definition and the kind's own. TBS_ST_INVALID_ARG
// for a value outside its enumeration; TBS_ST_ALREADY (with a message naming
// one) when existing instances would break the new definition.
int vob_attype_redefine(vob_handle_t vob, vob_dbid_t attype, const vob_type_def_s* def,
                        const vob_attype_vinfo_s* vinfo);
int vob_eltype_redefine(vob_handle_t vob, vob_dbid_t eltype, const vob_type_def_s* def, vob_dbid_t supertype,
                        const char* mgr_name, int ptime, vob_mergetype_s mergetype);
int vob_brtype_redefine(vob_handle_t vob, vob_dbid_t brtype, const vob_type_def_s* def);
int vob_lbtype_redefine(vob_handle_t vob, vob_dbid_t lbtype, const vob_type_def_s* def);
int vob_hltype_redefine(vob_handle_t vob, vob_dbid_t hltype, const vob_type_def_s* def);
int vob_trtype_redefine(vob_handle_t vob, vob_dbid_t trtype, const vob_type_def_s* def,
                        const vob_trtype_info_s* info);

// ---- Transactions ----
// The calls between vob_txn_begin and vob_txn_end are one change: committed
// by vob_txn_end(1), undone by vob_txn_end(0) or a failed vob_txn_end. They
// nest; the calling thread holds the store until the end.
int vob_txn_begin();
int vob_txn_end(int commit);
