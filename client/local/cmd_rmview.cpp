#include "cmd_rmview.h"

#include <string>

#include "imsg.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "ntpfxmap.h"
#include "platform/pathmap.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::Statement;
using client_local::Store;
namespace repo = client_local::repo;
namespace views = client_local::views;

namespace {

bool ValidBlock(const cmd_rmview_args_s* args) {
  if (!args || args->version != 3 || args->area == STG_NULL_AREA || stg_area_used(args->area) < 0) return false;
  for (std::uint32_t word : args->reserved)
    if (word) return false;
  return (args->tag != nullptr) != (args->pathname != nullptr);
}

// The names of the elements the view has checked out ("\vob\dir\file").
std::vector<std::string> CheckedOut(Store& s, const std::string& tag) {
  std::vector<std::string> names;
  Statement read(s, "SELECT vob, version FROM vob_checkouts WHERE view = ?1 ORDER BY vob, version");
  read.Bind(1, tag);
  while (read.Step()) {
    const auto version = repo::Load(s, static_cast<vob_handle_t>(read.Int(0)), static_cast<vob_dbid_t>(read.Int(1)));
    const auto element = version ? repo::Load(s, version->vob, version->elem) : std::nullopt;
    names.push_back(element ? repo::VobTag(s, element->vob) + element->name : std::string("(unknown element)"));
  }
  return names;
}

}  // namespace

int cmd_rmview(cmd_rmview_args_s* args) {
  const std::string named = !args ? "(null)" : args->tag ? args->tag : args->pathname ? args->pathname : "(null)";
  return LocalCall("cmd_rmview", {named}, ValidBlock(args), [&] {
    std::string tag;
    if (args->tag) {
      tag = args->tag;
    } else if (const auto view = plat::ReadViewName(repo::BackslashName(args->pathname))) {
      tag = view->tag;
    }
    views::Removal removal;
    const int rc = InStore([&](Store& s) {
      const auto row = tag.empty() ? std::nullopt : views::LoadView(s, tag);
      if (!row) {
        imsg_print(IMSG_ERROR, "\"%s\" names no view.\n", named);
        return TBS_ST_NOT_FOUND;
      }
      const std::vector<std::string> held = CheckedOut(s, row->tag);
      for (const std::string& name : held)
        imsg_print(IMSG_ERROR, "The view \"%s\" has \"%s\" checked out: check it in or undo the check-out first.\n",
                   row->tag, name);
      if (!held.empty()) return TBS_ST_ALREADY;
      return views::RemoveView(s, *row, &removal);
    });
    if (rc != TBS_ST_OK) return rc;
    removal.Finish();
    ntpfxmap_unregister(("\\\\view\\" + tag).c_str());  // a started view leaves the prefix map
    return TBS_ST_OK;
  });
}
