#pragma once
// Type definitions as the local repository keeps them, and the checks that
// attributes and labels meet them. Every function runs inside a command of
// the store and throws StoreError for an object that is not there.
#include <cstdint>
#include <string>
#include <vector>

#include "local/store.h"
#include "vob.h"
#include "vob_type.h"

namespace client_local::repo {

struct TypeDef {
  std::uint32_t mtype = 0;
  std::uint32_t occurs = VOB_OCCURS_NULL;
  std::uint32_t globalness = VOB_GLOBALNESS_NONE;
  std::uint32_t master_kind = VOB_MASTER_NULL;
  // Attribute types: the value kind and its rules as text.
  vob_val_kind_t kind = VOB_VAL_NONE;
  bool has_lower = false, has_upper = false, has_default = false;
  bool lower_inclusive = false, upper_inclusive = false;
  std::string lower, upper, default_value;
  std::vector<std::string> enums;
  // Element types.
  vob_dbid_t supertype = 0;
  std::string mgr;
  bool ptime = false;
  vob_mergetype_s mergetype = VOB_MERGETYPE_AUTO;
  // Hyperlink types.
  std::uint32_t from_occurs = VOB_OCCURS_NULL, to_occurs = VOB_OCCURS_NULL;
  // Trigger types.
  std::vector<std::string> actions, restrictions, users;
  std::vector<vob_op_t> ops;
  // Replicas.
  std::string host;
};

// The definition of a type or replica: its stored one, else the defaults
// of its kind. TBS_ST_WRONG_KIND (thrown) for another object.
TypeDef LoadTypeDef(Store& s, vob_handle_t vob, vob_dbid_t type);
void SaveTypeDef(Store& s, vob_handle_t vob, vob_dbid_t type, const TypeDef& def);

// Parses value rules; on a failure *why says what is wrong.
int ParseValueRules(vob_val_kind_t kind, const char* lower, const char* upper, int lower_inclusive,
                    int upper_inclusive, const char* default_value, const char* const* enum_values,
                    std::size_t enum_count, vob_attype_vinfo_s* vinfo, std::string* why);
// Whether a value meets the rules of an attribute type.
bool MeetsRules(const TypeDef& def, const vob_value_s& value);

// What would break the rules if the object carried the attribute (value
// text) or label: empty when nothing, else a sentence naming the type and
// value or the holder. *status gets TBS_ST_INVALID_ARG or TBS_ST_ALREADY.
std::string AttributeBreaks(Store& s, vob_handle_t vob, vob_dbid_t obj, vob_dbid_t attype, const TypeDef& def,
                            const vob_value_s& value, int* status);
// The other version that holds the label in the version's slot (0: none).
vob_dbid_t LabelHolder(Store& s, vob_handle_t vob, vob_dbid_t version, vob_dbid_t lbtype, std::uint32_t occurs);
std::string LabelBreaks(Store& s, vob_handle_t vob, vob_dbid_t version, vob_dbid_t lbtype, std::uint32_t occurs);

}  // namespace client_local::repo
