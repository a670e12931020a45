// The replication add-on's stand-ins: the site's mastership requests.
#include "tsl.h"

#include <ctime>
#include <string>

#include "local/local_call.h"
#include "local/vob_repo.h"
#include "ntregy.h"
#include "platform/pathmap.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;

int tslReqMasterEnabledOnSite() {
  char value[8] = {};
  return ntregy_get_param(TSL_PARAM_REQMASTER_ENABLED, value, sizeof value) == TBS_ST_OK &&
                 std::string(value) == "1"
             ? 1
             : 0;
}

int tsl_request_mastership(const char* object, char* replica, std::size_t size) {
  return LocalCall("tsl_request_mastership", {Text(object)}, NonNull(object, replica) && size != 0, [&](Store& s) {
    replica[0] = '\0';
    // A branch named through a view is the same branch by its VOB's name.
    std::string name = BackslashName(object);
    if (const auto through_view = plat::ReadViewName(name)) name = through_view->InView();
    std::string in_vob;
    const vob_handle_t vob = VobOfName(s, name, &in_vob);
    vob_dbid_t branch = 0;
    std::uint32_t mtype = 0;
    if (!vob || Resolve(s, vob, in_vob, "", &branch, &mtype) != TBS_ST_OK || mtype != VOB_MTYPE_BRANCH) {
      Complain("\"" + name + "\" names no branch.");
      return TBS_ST_NOT_FOUND;
    }
    const auto master = Load(s, vob, MasterReplica(s, vob, branch));
    const std::string master_name = master ? master->name : std::string();
    if (int rc = CopyOut(master_name, replica, size)) return rc;
    Statement add(s, "INSERT INTO mastership_requests (object, replica, secs) VALUES (?1, ?2, ?3)");
    add.Bind(1, name).Bind(2, master_name).Bind(3, static_cast<std::int64_t>(std::time(nullptr))).Run();
    return TBS_ST_OK;
  });
}
