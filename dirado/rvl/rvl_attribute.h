#pragma once
// Attributes: an attribute type paired with a value. Values have one of the
// kinds "integer", "real", "string", "time" or "opaque", and are read from
// and written as text, compared and freed by the repository's value calls.
#include <cstdint>
#include <memory>

#include "gcl_string.h"
#include "lc_collection.h"
#include "rvl_typeobj.h"

class GCL_Status;
struct vob_value_s;

class RVL_AttributeValue {
 public:
  // No value (kind 0).
  RVL_AttributeValue();
  // Takes over a value the repository made.
  explicit RVL_AttributeValue(vob_value_s&& value);
  // Reads text as a value of the kind named ("integer", ...); a bad kind or
  // text gives TBS_ST_INVALID_ARG on the status and no value.
  static RVL_AttributeValue parse(GCL_Status& status, const GCL_String& kind, const GCL_String& text);
  RVL_AttributeValue(const RVL_AttributeValue& other);
  RVL_AttributeValue& operator=(const RVL_AttributeValue& other);
  ~RVL_AttributeValue();

  bool is_null() const;
  // The kind's name; empty without a value.
  GCL_String kind() const;
  GCL_String text() const;
  // Values of different kinds are not equal and compare by kind.
  int compare(const RVL_AttributeValue& other) const;
  bool operator==(const RVL_AttributeValue& other) const;
  bool operator!=(const RVL_AttributeValue& other) const { return !(*this == other); }
  const vob_value_s& value() const { return *value_; }

 private:
  std::unique_ptr<vob_value_s> value_;
};

class RVL_Attribute {
 public:
  RVL_Attribute() = default;
  RVL_Attribute(const RVL_AttributeType& type, const RVL_AttributeValue& value) : type_(type), value_(value) {}
  const RVL_AttributeType& type() const { return type_; }
  const RVL_AttributeValue& value() const { return value_; }
  bool operator==(const RVL_Attribute& other) const { return type_ == other.type_ && value_ == other.value_; }

 private:
  RVL_AttributeType type_;
  RVL_AttributeValue value_;
};

class RVL_AttributeList : public LC_TDynamicCollection<RVL_Attribute> {};

// The object's attributes (vob_obj_next_attrs; the cursor is always
// closed). An empty list on failure.
RVL_AttributeList RVL_GetAttributes(GCL_Status& status, const RVL_VobObject& object);
// Adds (or replaces) the attribute of the type named; drops it.
void RVL_AddAttribute(GCL_Status& status, const RVL_VobObject& object, const GCL_String& type,
                      const RVL_AttributeValue& value);
void RVL_DropAttribute(GCL_Status& status, const RVL_VobObject& object, const GCL_String& type);
