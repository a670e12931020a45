#include "logon_vobs.h"

#include <ostream>
#include <vector>

#include "commands.h"
#include "gcl_status.h"
#include "ntregy.h"
#include "rvl_vobtag.h"
#include "tbs.h"

namespace rvdlg {

namespace {

bool RegisteredVobs(Context& c, std::vector<std::string>* tags) {
  if (const int status = ntregy_get_persistent_vobs(tags)) {
    c.err << "rvdlg: logon: the VOBs to mount at logon cannot be read: " << tbs_strerror(status) << "\n";
    return false;
  }
  return true;
}

}  // namespace

int ReconnectVobsAtLogon(Context& c) {
  std::vector<std::string> tags;
  if (!RegisteredVobs(c, &tags)) return 1;
  bool all = true;
  for (const std::string& name : tags) {
    GCL_Status status;
    const RVL_VobTag tag = RVL_VobTag::from_name(status, GCL_String(name.c_str()));
    // Mounted already: nothing to do.
    const bool done = status.ok() && (tag.is_mounted() || tag.mount(status));
    if (!done && status.messages().length() == 0)
      status.push_message(GCL_String(tbs_strerror(static_cast<int>(status.code()))));
    all = all && done;
    PrintOutcome(c.out, name, done ? 0 : 1, status.messages().c_str());
  }
  return all ? 0 : 1;
}

int ShowLogonVobs(Context& c) {
  std::vector<std::string> tags;
  if (!RegisteredVobs(c, &tags)) return 1;
  for (const std::string& tag : tags) c.out << tag << "\n";
  return 0;
}

}  // namespace rvdlg
