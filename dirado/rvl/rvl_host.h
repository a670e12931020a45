#pragma once
// Hosts: a host's name with its host information, fetched on first use and
// then kept for the life of the body.
#include <iosfwd>
#include <mutex>

#include "gcl_handle.h"
#include "gcl_string.h"

class GCL_Status;
struct nlbd_hostinfo_t;
struct nlbd_hostinfo_opts_t;

class RVL_HostRep : public GCL_Body {
 public:
  explicit RVL_HostRep(const GCL_String& name) : name_(name) {}
  ~RVL_HostRep() override;
  RVL_HostRep(const RVL_HostRep&) = delete;
  RVL_HostRep& operator=(const RVL_HostRep&) = delete;
  bool is_null() const override { return name_.length() == 0; }
  bool equals(const GCL_Body& other) const override;
  // "Host" section: name, operating system, options.
  void print(std::ostream& out) const override;

  const GCL_String& name() const { return name_; }
  // Fetches the host information once; later calls answer what the first
  // found (a failure is fetched again next time).
  bool fetch(GCL_Status& status) const;
  GCL_String os_name(GCL_Status& status) const;
  GCL_String os_version(GCL_Status& status) const;
  // The value of a host option ("" when it has none; false when the
  // information or options cannot be had).
  bool option(GCL_Status& status, const char* key, GCL_String* value) const;
  // For tests: the operating-system name without asking the host.
  void set_os_name_for_test(const GCL_String& os);

 private:
  const GCL_String name_;
  mutable std::mutex mutex_;
  mutable nlbd_hostinfo_t* info_ = nullptr;
  mutable nlbd_hostinfo_opts_t* opts_ = nullptr;
  mutable GCL_String os_;
  mutable bool fetched_ = false;
};

class RVL_Host : public GCL_Handle<RVL_HostRep> {
 public:
  // This machine (sysutl_myhostname), or "UnknownHost" when it has no name.
  RVL_Host();
  explicit RVL_Host(const GCL_String& name);

  GCL_String name() const { return rep() ? rep()->name() : GCL_String(); }
  GCL_String os_name(GCL_Status& status) const;
  GCL_String os_version(GCL_Status& status) const;
  bool option(GCL_Status& status, const char* key, GCL_String* value) const;

  // Operating-system kinds by the host's OS name.
  bool is_windows_nt(GCL_Status& status) const;   // "Windows NT"
  bool is_windows_9x(GCL_Status& status) const;   // contains "Windows 9"
  bool is_win32s(GCL_Status& status) const;       // "Windows/Win32s"
  bool is_windows(GCL_Status& status) const;      // NT or 9x
  bool is_not_windows(GCL_Status& status) const;  // neither Windows nor Win32s
  // Names compare without regard to case.
  bool same_host(const RVL_Host& other) const;
  void describe(std::ostream& out) const;
  // For tests: a host whose OS name is given instead of fetched.
  static RVL_Host with_os_name(const GCL_String& name, const GCL_String& os);
};

// The OS-kind rules on an OS name.
bool RVL_OsIsWindowsNT(const char* os);
bool RVL_OsIsWindows9x(const char* os);
bool RVL_OsIsWin32s(const char* os);
