#include "viewvob/view_properties_dlg.h"

#include <cstdint>

#include "clp.h"
#include "cm/collected_messages.h"
#include "file_query.h"
#include "flm.h"
#include "flm_imsg_redirector.h"
#include "gu.h"
#include "platform/message.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/user_options.h"
#include "tbs.h"
#include "tbs_rvfs.h"
#include "view.h"
#include "viewvob/rvfs_check.h"

using namespace rvcmndlg::res;

namespace {

constexpr const char* kDescribeTool = "stratadescribe";
constexpr const char* kHelpTopic = "rvint_exp/editviewprop.htm";

bool StartTool(const std::string& command_line) {
  plat::ProcessSpec spec;
  spec.command_line = command_line;
  // The describe tool lives on after the dialog; its handle is let go.
  return static_cast<bool>(plat::CurrentLauncher()->Start(spec));
}

}  // namespace

std::string DescribeViewCommandLine(const std::string& view) {
  return std::string(kDescribeTool) + " " + plat::QuoteArgument(view);
}

bool DescribeView(const std::string& text, plat::Window* owner) {
  FLM_ImsgRedirector collected;
  FLM_View view;
  int status = FLM_View::construct_from_tag(text.c_str(), &view);
  // A pathname in a view is passed whole: the tool finds its view.
  if (status != 0) status = FLM_View::construct_from_view_root(text.c_str(), &view);
  if (status == 0 && StartTool(DescribeViewCommandLine(text))) return true;
  rvcmndlg::EntryScope resources;
  ShowFailure(owner, plat::FormatMessage(plat::LoadString(IDS_VIEW_PROPERTIES_FAILED), {text}), collected,
              status != 0 ? status : TBS_ST_FAILURE, plat::mb::IconError);
  return false;
}

CViewPropertiesDialog::CViewPropertiesDialog(std::vector<std::string> preselect, plat::Window* parent)
    : CViewListDialog(IDD_VIEW_PROPERTIES, ViewPages(), std::move(preselect), kHelpTopic, IDC_VIEW_PROPERTIES_HELP,
                      parent) {}

bool CViewPropertiesDialog::Offered(std::size_t page) const { return page == kSnapshotPage || RvfsInstalled(); }

std::size_t CViewPropertiesDialog::StartPage() const { return StoredViewPage(); }

void CViewPropertiesDialog::OnOK() {
  const std::vector<std::string> tags = SelectedTags();
  if (tags.empty()) return;
  for (const std::string& tag : tags) DescribeView(tag, this);
  CUserOptions().SetStartViewPage(static_cast<int>(CurrentIndex()));
  plat::Dialog::OnOK();
}

int rvConfigureViewOp(const std::string& pathname, plat::Window* parent) {
  rvcmndlg::EntryScope resources;
  if (pathname.empty()) {
    CViewPropertiesDialog dialog({}, parent);
    return dialog.DoModal();
  }
  std::string view;
  char found[1024] = "";
  int status = ws_is_in_ws(pathname.c_str(), WS_IS_IN_WS_ROOT, found, sizeof found);
  if (status == 0) {
    view = found;
    if (view.size() == 2 && view[1] == ':') view += '\\';  // a bare drive names its root
  } else {
    status = vob_utl_get_view_from_path(pathname.c_str(), found, sizeof found);
    if (status != 0) return status;  // nothing to describe: nothing is started
    view = found;
  }
  const std::string command_line = DescribeViewCommandLine(view);
  clp_collectdatas(kDescribeTool, command_line.c_str());
  StartTool(command_line);
  return status;
}
