// Hosts.
#include "rvl_host.h"

#include <cstring>
#include <ostream>

#include "gcl_indent.h"
#include "gcl_status.h"
#include "nlbd_hostinfo.h"
#include "platform/text.h"
#include "rvl_call.h"
#include "sysutl.h"

namespace {

GCL_String MyHostName() {
  char name[300];
  if (sysutl_myhostname(name, sizeof name) != 0 || !*name) return GCL_String("UnknownHost");
  return GCL_String(name);
}

}  // namespace

bool RVL_OsIsWindowsNT(const char* os) { return os && std::strcmp(os, "Windows NT") == 0; }
bool RVL_OsIsWindows9x(const char* os) { return os && std::strstr(os, "Windows 9") != nullptr; }
bool RVL_OsIsWin32s(const char* os) { return os && std::strcmp(os, "Windows/Win32s") == 0; }

RVL_HostRep::~RVL_HostRep() {
  nlbd_hostinfo_free_opts(opts_);
  nlbd_hostinfo_free(info_);
}

bool RVL_HostRep::equals(const GCL_Body& other) const {
  const auto* host = dynamic_cast<const RVL_HostRep*>(&other);
  return host && plat::IEquals(host->name_.c_str(), name_.c_str());
}

bool RVL_HostRep::fetch(GCL_Status& status) const {
  std::lock_guard lock(mutex_);
  if (fetched_) {
    status.make_ok();
    return true;
  }
  nlbd_hostinfo_t* info = nullptr;
  if (RVL_Call(status, [&] { return nlbd_hostinfo(name_.c_str(), &info); }) != 0) return false;
  nlbd_hostinfo_opts_t* opts = nullptr;
  if (RVL_Call(status, [&] { return nlbd_hostinfo_parse_opts(info, &opts); }) != 0) {
    nlbd_hostinfo_free(info);
    return false;
  }
  info_ = info;
  opts_ = opts;
  os_ = GCL_String(info->os_name);
  fetched_ = true;
  return true;
}

void RVL_HostRep::set_os_name_for_test(const GCL_String& os) {
  std::lock_guard lock(mutex_);
  os_ = os;
  fetched_ = true;
}

GCL_String RVL_HostRep::os_name(GCL_Status& status) const {
  if (!fetch(status)) return GCL_String();
  std::lock_guard lock(mutex_);
  return os_;
}

GCL_String RVL_HostRep::os_version(GCL_Status& status) const {
  if (!fetch(status)) return GCL_String();
  std::lock_guard lock(mutex_);
  return GCL_String(info_ ? info_->os_version : "");
}

bool RVL_HostRep::option(GCL_Status& status, const char* key, GCL_String* value) const {
  if (!fetch(status)) return false;
  std::lock_guard lock(mutex_);
  *value = GCL_String();
  if (!opts_ || !key) return true;
  for (std::uint32_t i = 0; i < opts_->count; ++i)
    if (std::strcmp(opts_->opts[i].key, key) == 0) *value = GCL_String(opts_->opts[i].value);
  return true;
}

void RVL_HostRep::print(std::ostream& out) const {
  GCL_IndentSection section("Host");
  const GCL_String prefix = GCL_IndentPrefix();
  out << prefix;
  GCL_Body::print(out);
  out << prefix << "Host Name: " << name_.c_str() << "\n";
  GCL_Status status;
  const GCL_String os = os_name(status);
  if (!status.ok()) {
    out << prefix << "Operating System: UNKNOWN\n";
    return;
  }
  out << prefix << "Operating System: " << os.c_str() << "\n";
  std::lock_guard lock(mutex_);
  if (info_) out << prefix << "OS Version: " << info_->os_version << "\n";
  if (opts_)
    for (std::uint32_t i = 0; i < opts_->count; ++i)
      out << prefix << "Option: " << opts_->opts[i].key << (*opts_->opts[i].value ? "=" : "") << opts_->opts[i].value
          << "\n";
}

RVL_Host::RVL_Host() : GCL_Handle<RVL_HostRep>(new RVL_HostRep(MyHostName())) {}

RVL_Host::RVL_Host(const GCL_String& name) : GCL_Handle<RVL_HostRep>(new RVL_HostRep(name)) {}

RVL_Host RVL_Host::with_os_name(const GCL_String& name, const GCL_String& os) {
  RVL_Host host(name);
  host.rep()->set_os_name_for_test(os);
  return host;
}

GCL_String RVL_Host::os_name(GCL_Status& status) const { return rep() ? rep()->os_name(status) : GCL_String(); }
GCL_String RVL_Host::os_version(GCL_Status& status) const {
  return rep() ? rep()->os_version(status) : GCL_String();
}
bool RVL_Host::option(GCL_Status& status, const char* key, GCL_String* value) const {
  return rep() && value && rep()->option(status, key, value);
}

bool RVL_Host::is_windows_nt(GCL_Status& status) const { return RVL_OsIsWindowsNT(os_name(status).c_str()); }
bool RVL_Host::is_windows_9x(GCL_Status& status) const { return RVL_OsIsWindows9x(os_name(status).c_str()); }
bool RVL_Host::is_win32s(GCL_Status& status) const { return RVL_OsIsWin32s(os_name(status).c_str()); }
bool RVL_Host::is_windows(GCL_Status& status) const {
  const GCL_String os = os_name(status);
  return RVL_OsIsWindowsNT(os.c_str()) || RVL_OsIsWindows9x(os.c_str());
}
bool RVL_Host::is_not_windows(GCL_Status& status) const {
  const GCL_String os = os_name(status);
  if (!status.ok()) return false;  // unknown: not known to be anything
  return !RVL_OsIsWindowsNT(os.c_str()) && !RVL_OsIsWindows9x(os.c_str()) && !RVL_OsIsWin32s(os.c_str());
}

bool RVL_Host::same_host(const RVL_Host& other) const {
  return plat::IEquals(name().c_str(), other.name().c_str());
}

void RVL_Host::describe(std::ostream& out) const {
  if (rep())
    rep()->print(out);
  else
    out << GCL_IndentPrefix() << "Host is currently NULL\n";
}
