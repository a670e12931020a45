// The views of the sample that the view lists show: a stopped view of this
// host, a stopped view of another host and user, a snapshot view, and the
// recently used views.
#include <optional>

#include "platform/machine.h"
#include "sample_repo.h"
#include "ntregy.h"
#include "view.h"
#include "ws.h"

namespace rvdlg {

namespace {

// Makes a view as another host's user would: the machine's facts are that
// host's while the view is made.
int MakeViewElsewhere(const char* tag, const char* host, const char* user) {
  const plat::MachineProfile here = plat::MachineInfo();
  const bool real = here == plat::RealMachineInfo();
  plat::MachineProfile there = here;
  there.host_name = host;
  there.computer_name = plat::ComputerNameFor(host);
  there.user_name = user;
  plat::SetMachineProfile(there);
  const int rc = view_create(tag, 0, "a view of the build machine");
  plat::SetMachineProfile(real ? std::nullopt : std::optional<plat::MachineProfile>(here));
  return rc;
}

int LoadScope(const char* tag, const char* scope) {
  view_handle_t view = nullptr;
  if (int rc = view_get_handle_by_tag(tag, &view)) return rc;
  ws_handle_t ws = nullptr;
  int rc = ws_get_handle_by_viewh(view, &ws);
  if (!rc) {
    rc = ws_load_scopes(ws, &scope, 1);
    ws_free_handle(ws);
  }
  view_free_handle(view);
  return rc;
}

}  // namespace

int BuildViewListSample(std::string* what) {
  SampleSteps step{what};
  step("making the view build_view", [] { return view_create("build_view", 0, "a build view of this host"); })
      ("stopping build_view", [] { return view_mfs_unregister_tag("build_view"); })
      ("making the view remote_view", [] { return MakeViewElsewhere("remote_view", "buildhost", "builder"); })
      ("stopping remote_view", [] { return view_mfs_unregister_tag("remote_view"); })
      ("making the view snap_view", [] { return view_create("snap_view", 1, "a snapshot view of the sources"); })
      ("loading \\public\\src in snap_view", [] { return LoadScope("snap_view", "\\public\\src"); })
      ("setting the recently used views", [] {
        return ntregy_set_param(VIEW_RECENT_PARAM, "sample_view,build_view,old_view,remote_view");
      });
  return step.status;
}

}  // namespace rvdlg
