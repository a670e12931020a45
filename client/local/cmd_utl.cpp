// cmd_utl_checkout: a check-out of an element, branch or version in a view.
#include "cmd_utl.h"

#include <string>

#include "imsg.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;
namespace views = client_local::views;

int cmd_utl_checkout(vob_handle_t vob, vob_dbid_t dbid, const char* view, int reserved, const char* comment,
                     vob_dbid_t* version) {
  return LocalCall("cmd_utl_checkout", {Num(vob), Num(dbid), Text(view), Num(reserved), Text(comment)},
                   NonNull(view) && ValidLeafName(view), [&](Store& s) {
    const auto object = Load(s, vob, dbid);
    if (!object) return TBS_ST_NOT_FOUND;
    vob_dbid_t branch = 0;
    switch (object->mtype) {
      case VOB_MTYPE_DIR_ELEMENT:
      case VOB_MTYPE_FILE_ELEMENT:
        branch = object->branch;
        break;
      case VOB_MTYPE_BRANCH:
        branch = object->dbid;
        break;
      case VOB_MTYPE_DIR_VERSION:
      case VOB_MTYPE_VERSION:
        if (object->number == VOB_VERSION_CHECKEDOUT) return TBS_ST_ALREADY;
        branch = object->branch;
        break;
      default:
        return TBS_ST_WRONG_KIND;
    }
    const Object branch_object = *Load(s, vob, branch);
    const std::string name = Pathname(s, branch_object);
    Statement mine(s, "SELECT 1 FROM vob_objs o CROSS JOIN vob_checkouts c ON c.vob = o.vob AND c.version = o.dbid"
                      " WHERE o.vob = ?1 AND o.elem = ?2 AND c.view = ?3");
    mine.Bind(1, vob).Bind(2, branch_object.elem).Bind(3, view);
    if (mine.Step()) {
      imsg_print_text(IMSG_ERROR, ("Element \"" + name + "\" is already checked out to view \"" + view + "\".\n").c_str());
      return TBS_ST_ALREADY;
    }
    if (reserved) {
      Statement other(s, "SELECT view FROM vob_checkouts WHERE vob = ?1 AND branch = ?2 AND reserved = 1");
      other.Bind(1, vob).Bind(2, branch);
      if (other.Step()) {
        imsg_print_text(IMSG_ERROR, ("Branch \"" + name + "\" is checked out reserved in view \"" + other.Text(0) +
                                     "\".\n").c_str());
        return TBS_ST_ALREADY;
      }
    }
    const auto latest = Load(s, vob, LatestVersion(s, vob, branch));
    if (!latest) return TBS_ST_NOT_FOUND;
    const vob_dbid_t made = AddCheckout(s, *latest, view, reserved != 0, false, comment ? comment : "");
    views::RefreshElement(s, view, vob, latest->elem);
    if (version) *version = made;
    return TBS_ST_OK;
  });
}
