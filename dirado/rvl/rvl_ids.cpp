// OID and UUID values.
#include "rvl_ids.h"

#include "gcl_status.h"
#include "rvl_call.h"
#include "tbs.h"
#include "tbs_oid.h"

namespace {
// The text a tbs_ formatting call gives, or empty.
template <class Id>
GCL_String Form(int (*format)(const Id*, char*, std::size_t), const Id& id) {
  char text[TBS_ID_STR_SIZE];
  return format(&id, text, sizeof text) == 0 ? GCL_String(text) : GCL_String();
}
}  // namespace

RVL_Oid RVL_Oid::parse(GCL_Status& status, const GCL_String& text) {
  tbs_oid_t oid = TBS_OID_NULL;
  {
    GCL_CaptureScope scope(status, GCL_CaptureScope::kUnlessCollecting);
    if (tbs_str_to_oid(text.c_str(), &oid) == 0 || tbs_dstr_to_oid(text.c_str(), &oid) == 0) {
      status.reset();
      return RVL_Oid(oid);
    }
  }
  status.reset(TBS_ST_FAILURE);
  status.push_message("String does not represent a valid object ID.");
  return RVL_Oid();
}

bool RVL_Oid::is_null() const { return tbs_oid_is_null(&oid_) != 0; }
GCL_String RVL_Oid::to_string() const { return Form(tbs_oid_to_str, oid_); }
GCL_String RVL_Oid::to_dstring() const { return Form(tbs_oid_to_dstr, oid_); }
std::uint32_t RVL_Oid::hash() const { return tbs_oid_to_hash32(&oid_); }
bool RVL_Oid::operator==(const RVL_Oid& other) const { return tbs_oid_eq(&oid_, &other.oid_) != 0; }
bool RVL_Oid::operator<(const RVL_Oid& other) const { return tbs_oid_cmp(&oid_, &other.oid_) < 0; }
bool RVL_Oid::operator<=(const RVL_Oid& other) const { return tbs_oid_cmp(&oid_, &other.oid_) <= 0; }
bool RVL_Oid::operator>(const RVL_Oid& other) const { return tbs_oid_cmp(&oid_, &other.oid_) > 0; }
bool RVL_Oid::operator>=(const RVL_Oid& other) const { return tbs_oid_cmp(&oid_, &other.oid_) >= 0; }

RVL_Uuid RVL_Uuid::parse(GCL_Status& status, const GCL_String& text) {
  tbs_uuid_t uuid = TBS_UUID_NULL;
  {
    GCL_CaptureScope scope(status, GCL_CaptureScope::kUnlessCollecting);
    if (tbs_str_to_uuid(text.c_str(), &uuid) == 0 || tbs_dstr_to_uuid(text.c_str(), &uuid) == 0) {
      status.reset();
      return RVL_Uuid(uuid);
    }
  }
  status.reset(TBS_ST_FAILURE);
  status.push_message("String does not represent a valid UUID.");
  return RVL_Uuid();
}

RVL_Uuid RVL_Uuid::generate() {
  tbs_uuid_t uuid = TBS_UUID_NULL;
  tbs_uuid_gen(&uuid);
  return RVL_Uuid(uuid);
}

bool RVL_Uuid::is_null() const { return tbs_uuid_is_null(&uuid_) != 0; }
GCL_String RVL_Uuid::to_string() const { return Form(tbs_uuid_to_str, uuid_); }
GCL_String RVL_Uuid::to_dstring() const { return Form(tbs_uuid_to_dstr, uuid_); }
std::uint32_t RVL_Uuid::hash() const { return tbs_uuid_to_hash32(&uuid_); }
bool RVL_Uuid::operator==(const RVL_Uuid& other) const { return tbs_uuid_eq(&uuid_, &other.uuid_) != 0; }
bool RVL_Uuid::operator<(const RVL_Uuid& other) const { return tbs_uuid_cmp(&uuid_, &other.uuid_) < 0; }
bool RVL_Uuid::operator<=(const RVL_Uuid& other) const { return tbs_uuid_cmp(&uuid_, &other.uuid_) <= 0; }
bool RVL_Uuid::operator>(const RVL_Uuid& other) const { return tbs_uuid_cmp(&uuid_, &other.uuid_) > 0; }
bool RVL_Uuid::operator>=(const RVL_Uuid& other) const { return tbs_uuid_cmp(&uuid_, &other.uuid_) >= 0; }
