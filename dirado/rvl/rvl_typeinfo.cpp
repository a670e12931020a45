// Type definitions as records of the object model.
#include "rvl_typeinfo.h"

#include <vector>

#include "gcl_status.h"
#include "rvl_call.h"
#include "stg.h"
#include "vob_type.h"

namespace {

std::optional<GCL_String> Optional(const char* text) {
  return text ? std::optional<GCL_String>(GCL_String(text)) : std::nullopt;
}

const char* OrNull(const std::optional<GCL_String>& text) { return text ? text->c_str() : nullptr; }

// A list of texts copied into the area; null for an empty list.
template <class List, class TextOf>
char** AreaTexts(stg_area_t area, const List& list, TextOf&& text_of, bool* ok) {
  if (list.Length() == 0) return nullptr;
  auto** texts = static_cast<char**>(stg_alloc(area, list.Length() * sizeof(char*)));
  if (!texts) {
    *ok = false;
    return nullptr;
  }
  for (std::uint32_t i = 0; i < list.Length(); ++i) {
    texts[i] = stg_strdup(area, text_of(list[i]).c_str());
    if (!texts[i]) *ok = false;
  }
  return texts;
}

}  // namespace

RVL_AttributeTypeInfo::RVL_AttributeTypeInfo(std::uint32_t kind, std::optional<GCL_String> lower,
                                             std::optional<GCL_String> upper, bool lower_inclusive,
                                             std::optional<GCL_String> default_value, bool upper_inclusive,
                                             const Values& enum_values)
    : kind_(kind),
      lower_(std::move(lower)),
      upper_(std::move(upper)),
      default_(std::move(default_value)),
      lower_inclusive_(lower_inclusive),
      upper_inclusive_(upper_inclusive),
      enums_(enum_values) {}

RVL_AttributeTypeInfo::RVL_AttributeTypeInfo(const vob_attype_info_s& record)
    : kind_(static_cast<std::uint32_t>(record.kind)),
      lower_(Optional(record.lower)),
      upper_(Optional(record.upper)),
      default_(Optional(record.default_value)),
      lower_inclusive_(record.lower_inclusive != 0),
      upper_inclusive_(record.upper_inclusive != 0) {
  for (std::size_t i = 0; i < record.enum_count; ++i) enums_.Append(GCL_String(record.enum_values[i]));
}

void RVL_AttributeTypeInfo::to_vinfo(GCL_Status& status, vob_attype_vinfo_s& vinfo) const {
  std::vector<const char*> values;
  for (std::uint32_t i = 0; i < enums_.Length(); ++i) values.push_back(enums_[i].c_str());
  RVL_Call(status, [&] {
    return vob_attype_strs_to_vinfo(static_cast<vob_val_kind_t>(kind_), OrNull(lower_), OrNull(upper_),
                                    lower_inclusive_, upper_inclusive_, OrNull(default_), values.data(),
                                    values.size(), &vinfo);
  });
}

RVL_TriggerTypeInfo::RVL_TriggerTypeInfo(const vob_trtype_info_s& record) {
  for (std::size_t i = 0; i < record.action_count; ++i) actions.Append({GCL_String(record.actions[i])});
  for (std::size_t i = 0; i < record.restriction_count; ++i) restrictions.Append({GCL_String(record.restrictions[i])});
  for (std::size_t i = 0; i < record.op_count; ++i) operations.Append(record.ops[i]);
  for (std::size_t i = 0; i < record.user_count; ++i) exempt_users.Append(GCL_OSUser(record.users[i]));
}

bool RVL_TriggerTypeInfo::to_record(std::uint32_t area, vob_trtype_info_s& record) const {
  bool ok = true;
  record = vob_trtype_info_s();
  record.actions = AreaTexts(area, actions, [](const RVL_TriggerTypeAction& a) { return a.command; }, &ok);
  record.action_count = actions.Length();
  record.restrictions =
      AreaTexts(area, restrictions, [](const RVL_TriggerTypeRestriction& r) { return r.selector; }, &ok);
  record.restriction_count = restrictions.Length();
  record.users = AreaTexts(area, exempt_users, [](const GCL_OSUser& u) -> const GCL_String& { return u; }, &ok);
  record.user_count = exempt_users.Length();
  if (operations.Length()) {
    auto* ops = static_cast<vob_op_t*>(stg_alloc(area, operations.Length() * sizeof(vob_op_t)));
    if (!ops) return false;
    for (std::uint32_t i = 0; i < operations.Length(); ++i) ops[i] = operations[i];
    record.ops = ops;
    record.op_count = operations.Length();
  }
  return ok;
}

RVL_ReplicaTypeInfo::RVL_ReplicaTypeInfo(const vob_rptype_info_s& record)
    : name_(record.name ? record.name : ""), host_(record.host ? record.host : "") {}
