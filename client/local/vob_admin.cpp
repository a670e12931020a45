// Removing a VOB.
#include "vob_admin.h"

#include "local/local_call.h"
#include "local/vob_repo.h"

using client_local::LocalCall;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;

int vob_rmvob(vob_handle_t vob) {
  return LocalCall("vob_rmvob", {Num(vob)}, true, [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    Statement files(s, "DELETE FROM view_files WHERE vob = ?1");
    files.Bind(1, vob).Run();
    Statement drop(s, "DELETE FROM vobs WHERE id = ?1");
    drop.Bind(1, vob).Run();
    return TBS_ST_OK;
  });
}
