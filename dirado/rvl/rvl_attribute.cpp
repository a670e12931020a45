// Attributes and their values.
#include "rvl_attribute.h"

#include "gcl_status.h"
#include "rvl_call.h"
#include "rvl_filesysobj.h"
#include "tbs.h"
#include "vob_attr.h"
#include "vob_val.h"

namespace {

// A copy of a value, through its text.
std::unique_ptr<vob_value_s> Copy(const vob_value_s& value) {
  auto copy = std::make_unique<vob_value_s>();
  if (value.kind == VOB_VAL_NONE) return copy;
  std::string text(value.length * 2 + 64, '\0');
  if (vob_val_value_to_str(&value, text.data(), text.size()) == 0) vob_val_str_to_value(value.kind, text.c_str(), copy.get());
  return copy;
}

}  // namespace

RVL_AttributeValue::RVL_AttributeValue() : value_(std::make_unique<vob_value_s>()) {}

RVL_AttributeValue::RVL_AttributeValue(vob_value_s&& value) : value_(std::make_unique<vob_value_s>(value)) {
  value = vob_value_s{};  // the data now belongs to this value
}

RVL_AttributeValue RVL_AttributeValue::parse(GCL_Status& status, const GCL_String& kind, const GCL_String& text) {
  vob_val_kind_t code = VOB_VAL_NONE;
  if (vob_val_str_to_kind(kind.c_str(), &code) != 0) {
    status.reset(TBS_ST_INVALID_ARG);
    status.push_message(GCL_String("\"") + kind + "\" is not a kind of value.");
    return RVL_AttributeValue();
  }
  vob_value_s value;
  if (RVL_Call(status, [&] { return vob_val_str_to_value(code, text.c_str(), &value); }) != 0)
    return RVL_AttributeValue();
  return RVL_AttributeValue(std::move(value));
}

RVL_AttributeValue::RVL_AttributeValue(const RVL_AttributeValue& other) : value_(Copy(*other.value_)) {}

RVL_AttributeValue& RVL_AttributeValue::operator=(const RVL_AttributeValue& other) {
  if (this != &other) {
    std::unique_ptr<vob_value_s> copy = Copy(*other.value_);
    vob_val_free_value(value_.get());
    value_ = std::move(copy);
  }
  return *this;
}

RVL_AttributeValue::~RVL_AttributeValue() { vob_val_free_value(value_.get()); }

bool RVL_AttributeValue::is_null() const { return value_->kind == VOB_VAL_NONE; }

GCL_String RVL_AttributeValue::kind() const {
  const char* name = vob_val_kind_to_str(value_->kind);
  return name ? GCL_String(name) : GCL_String();
}

GCL_String RVL_AttributeValue::text() const {
  if (is_null()) return GCL_String();
  std::string text(value_->length * 2 + 64, '\0');
  if (vob_val_value_to_str(value_.get(), text.data(), text.size()) != 0) return GCL_String();
  return GCL_String(text.c_str());
}

int RVL_AttributeValue::compare(const RVL_AttributeValue& other) const {
  if (value_->kind != other.value_->kind) return value_->kind < other.value_->kind ? -1 : 1;
  if (is_null()) return 0;
  int result = 0;
  vob_val_cmp_value(value_.get(), other.value_.get(), &result);
  return result;
}

bool RVL_AttributeValue::operator==(const RVL_AttributeValue& other) const {
  if (is_null() || other.is_null()) return is_null() && other.is_null();
  return vob_val_eq_value(value_.get(), other.value_.get()) != 0;
}

RVL_AttributeList RVL_GetAttributes(GCL_Status& status, const RVL_VobObject& object) {
  RVL_AttributeList list;
  if (object.is_null()) {
    RVL_InternalError(status, "\\dirado\\rvl\\rvl_attribute.cxx", __LINE__, "attributes of a NULL object");
    return list;
  }
  const RVL_Vob vob = object.vob();
  vob_ob_cursor_t cursor = 0;
  for (;;) {
    vob_dbid_t type = 0;
    vob_value_s value;
    const int code =
        RVL_Call(status, [&] { return vob_obj_next_attrs(vob.handle(), object.dbid(), &cursor, &type, &value); });
    if (code != 0) {
      if (code == TBS_ST_NOT_FOUND) status.make_ok();
      else list.MakeEmpty();
      break;
    }
    RVL_AttributeValue held(std::move(value));
    list.Append(
        RVL_Attribute(RVL_AttributeType(status, vob, type, RVL_VobObjectRep::Resolved{VOB_MTYPE_ATTYPE}, GCL_String()), held));
  }
  if (cursor != 0) {
    GCL_Status closing;
    RVL_Call(closing, [&] { return vob_ob_cursor_close(cursor); });
  }
  return list;
}

void RVL_AddAttribute(GCL_Status& status, const RVL_VobObject& object, const GCL_String& type,
                      const RVL_AttributeValue& value) {
  const RVL_Vob vob = object.vob();
  RVL_Call(status, [&] { return vob_obj_add_attr(vob.handle(), object.dbid(), type.c_str(), &value.value()); });
}

void RVL_DropAttribute(GCL_Status& status, const RVL_VobObject& object, const GCL_String& type) {
  const RVL_Vob vob = object.vob();
  RVL_Call(status, [&] { return vob_obj_drop_attr(vob.handle(), object.dbid(), type.c_str()); });
}

// ---- The attribute, trigger and protection operations of VOB objects ----

RVL_AttributeList RVL_VobObject::attributes(GCL_Status& status) const { return RVL_GetAttributes(status, *this); }

void RVL_VobObject::add_attribute(GCL_Status& status, const GCL_String& type, const RVL_AttributeValue& value) const {
  if (require_body(status, __LINE__)) RVL_AddAttribute(status, *this, type, value);
}

void RVL_VobObject::drop_attribute(GCL_Status& status, const GCL_String& type) const {
  if (require_body(status, __LINE__)) RVL_DropAttribute(status, *this, type);
}

void RVL_VobObject::add_trigger(GCL_Status& status, const GCL_String& type) const {
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_obj_add_trigger(vob().handle(), dbid(), type.c_str()); });
}

void RVL_VobObject::drop_trigger(GCL_Status& status, const GCL_String& type) const {
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] { return vob_obj_drop_trigger(vob().handle(), dbid(), type.c_str()); });
}

void RVL_VobObject::protect_sid(GCL_Status& status, const GCL_String& owner_sid, const GCL_String& group_sid,
                                std::uint32_t mode) const {
  if (require_body(status, __LINE__))
    RVL_Call(status, [&] {
      return vob_obj_protect_sid(vob().handle(), dbid(), owner_sid.is_null() ? CREDUTL_SID_DONTCARE : owner_sid.c_str(),
                                 group_sid.is_null() ? CREDUTL_SID_DONTCARE : group_sid.c_str(), mode);
    });
}

std::vector<RVL_NamedObj> RVL_Element::triggers(GCL_Status& status) const {
  std::vector<RVL_NamedObj> types;
  if (!require_body(status, __LINE__)) return types;
  vob_ob_cursor_t cursor = 0;
  for (;;) {
    vob_dbid_t type = 0;
    const int code = RVL_Call(status, [&] { return vob_obj_next_triggers(vob().handle(), dbid(), &cursor, &type); });
    if (code != 0) {
      if (code == TBS_ST_NOT_FOUND) status.make_ok();
      else types.clear();
      break;
    }
    types.emplace_back(status, vob(), type, RVL_VobObjectRep::Resolved{VOB_MTYPE_TRTYPE}, GCL_String());
  }
  if (cursor != 0) {
    GCL_Status closing;
    RVL_Call(closing, [&] { return vob_ob_cursor_close(cursor); });
  }
  return types;
}
