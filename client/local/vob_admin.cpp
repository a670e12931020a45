// Removing a VOB.
#include "vob_admin.h"

#include "local/vob_repo.h"

using client_local::CallLog;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;

int vob_rmvob(vob_handle_t vob) {
  CallLog::Call call("vob_rmvob", {Num(vob)});
  if (call.Failed()) return call.Status();
  return Run(call, [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    Statement files(s, "DELETE FROM view_files WHERE vob = ?1");
    files.Bind(1, vob).Run();
    Statement drop(s, "DELETE FROM vobs WHERE id = ?1");
    drop.Bind(1, vob).Run();
    return TBS_ST_OK;
  });
}
