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

using namespace rvcmndlg::res;

namespace {

constexpr const char* kDescribeTool = "stratadescribe";
constexpr const char* kHelpTopic = "rvint_exp/editviewprop.htm";
// Posted to itself once shown: the page's list takes the focus.
constexpr std::uint32_t kFirstShown = plat::msg::User;

bool RvfsInstalled() {
  std::uint32_t flags = 0;
  return tbs_rvfs_ws_dyn_flags(&flags) == 0 && (flags & TBS_RVFS_WS_DYN_NOT_INSTALLED) == 0;
}

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
    : plat::Dialog(IDD_VIEW_PROPERTIES, parent),
      preselect_(std::move(preselect)),
      pages_{{{IDS_PAGE_LOCAL, IDC_VIEW_LIST_LOCAL, CViewTagListBox::Local},
              {IDS_PAGE_RECENT, IDC_VIEW_LIST_RECENT, CViewTagListBox::Recent},
              {IDS_PAGE_ALL, IDC_VIEW_LIST_ALL, CViewTagListBox::AllRegion},
              {IDS_PAGE_SNAPSHOT, IDC_VIEW_LIST_SNAPSHOT, CViewTagListBox::Snapshot}}} {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CViewPropertiesDialog::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  auto* tabs = Item<plat::TabControl>(IDC_VIEW_TABS);
  const bool dynamic_views = RvfsInstalled();
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    Page& page = pages_[i];
    SubclassDlgItem(page.list, page.box);
    page.box.ShowWindow(false);
    if (tabs && (dynamic_views || i == kSnapshot))
      page.tab = tabs->InsertItem(tabs->GetItemCount(), plat::LoadString(page.title));
  }
  // The stored page, when it is one that is there; else Snapshot.
  const int stored = CUserOptions().StartViewPage();
  Page* start = &pages_[kSnapshot];
  if (stored >= 0 && stored < static_cast<int>(kSnapshot) && pages_[static_cast<std::size_t>(stored)].tab >= 0)
    start = &pages_[static_cast<std::size_t>(stored)];
  if (tabs) tabs->SetCurSel(start->tab);
  ShowPage(*start);
  // Selected before the user first sees the list, whatever host shows it.
  if (!preselect_.empty()) start->box.Preselect(preselect_);
  UpdateControls();
  plat::PostMessage(GetHwnd(), kFirstShown);
  return true;
}

bool CViewPropertiesDialog::OnMessage(std::uint32_t message, plat::WParam, plat::LParam, const std::string*,
                                      plat::LResult& result) {
  if (message != kFirstShown) return false;
  if (Page* page = CurrentPage()) page->box.SetFocus();
  result = 0;
  return true;
}

CViewPropertiesDialog::Page* CViewPropertiesDialog::CurrentPage() {
  const auto* tabs = Item<plat::TabControl>(IDC_VIEW_TABS);
  const int chosen = tabs ? tabs->GetCurSel() : -1;
  for (Page& page : pages_)
    if (page.tab >= 0 && page.tab == chosen) return &page;
  return nullptr;
}

void CViewPropertiesDialog::ShowPage(Page& page) {
  if (!page.filled) {
    page.filled = true;
    page.box.Fill(page.mode);
  }
  for (Page& other : pages_)
    if (&other != &page) other.box.ShowWindow(false);
  page.box.ShowWindow(true);
  UpdateControls();
}

void CViewPropertiesDialog::UpdateControls() {
  const Page* page = CurrentPage();
  if (plat::Window* ok = GetDlgItem(plat::IdOk)) ok->EnableWindow(page && !page->box.GetSelItems().empty());
}

plat::LResult CViewPropertiesDialog::OnNotify(plat::NotifyHeader& header) {
  if (header.id == IDC_VIEW_TABS && header.code == plat::tcn::SelChange) {
    if (Page* page = CurrentPage()) ShowPage(*page);
    return 0;
  }
  return plat::Dialog::OnNotify(header);
}

bool CViewPropertiesDialog::OnCommand(int id, int code) {
  if (id == IDC_VIEW_PROPERTIES_HELP && code == plat::bn::Clicked) {
    OnHelp();
    return true;
  }
  for (const Page& page : pages_) {
    if (id != page.list) continue;
    if (code == plat::lbn::SelChange) UpdateControls();
    if (code == plat::lbn::DblClk) OnOK();
    return true;
  }
  return plat::Dialog::OnCommand(id, code);
}

void CViewPropertiesDialog::OnHelp() { gu_help(GetHwnd(), kHelpTopic, 1, 0); }

void CViewPropertiesDialog::OnOK() {
  Page* page = CurrentPage();
  std::vector<std::string> tags;
  if (!page || !page->box.SelectedTags(&tags)) return;
  for (const std::string& tag : tags) DescribeView(tag, this);
  CUserOptions().SetStartViewPage(static_cast<int>(page - pages_.data()));
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
