#pragma once
// Operating-system users and groups: names with the questions the client's
// system utilities answer, and lists of them (trigger types keep their
// exempt users in such lists).
#include "gcl_string.h"
#include "lc_collection.h"

class GCL_Status;

class GCL_OSUser : public GCL_String {
 public:
  GCL_OSUser() = default;
  GCL_OSUser(const char* name) : GCL_String(name) {}
  GCL_OSUser(const GCL_String& name) : GCL_String(name) {}

  // The login name of the user running this process.
  static GCL_OSUser current(GCL_Status& status);
  // The user of a security identifier.
  static GCL_OSUser from_sid(const GCL_String& usid, GCL_Status& status);

  // Each answers the empty text and sets the status's code on failure.
  GCL_String sid(GCL_Status& status) const;
  GCL_String primary_group_sid(GCL_Status& status) const;
  GCL_String full_name(GCL_Status& status) const;
  GCL_String home_directory(GCL_Status& status) const;
};

class GCL_OSGroup : public GCL_String {
 public:
  GCL_OSGroup() = default;
  GCL_OSGroup(const char* name) : GCL_String(name) {}
  GCL_OSGroup(const GCL_String& name) : GCL_String(name) {}

  // The primary group of the user running this process.
  static GCL_OSGroup current(GCL_Status& status);
  static GCL_OSGroup from_sid(const GCL_String& gsid, GCL_Status& status);
  GCL_String sid(GCL_Status& status) const;
};

class GCL_OSUserList : public LC_TDynamicCollection<GCL_OSUser, LC_CUnmanaged> {};
class GCL_OSGroupList : public LC_TDynamicCollection<GCL_OSGroup, LC_CUnmanaged> {};
