#include "viewvob/view_list_dialog.h"

#include <cstdint>

#include "gu.h"
#include "platform/message.h"
#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/user_options.h"

namespace {

// Posted to itself once shown: the page's list takes the focus.
constexpr std::uint32_t kFirstShown = plat::msg::User;

}  // namespace

CViewListDialog::CViewListDialog(int template_id, const std::vector<PageSpec>& pages,
                                 std::vector<std::string> preselect, const char* help_topic, int help_id,
                                 plat::Window* parent)
    : plat::Dialog(template_id, parent), preselect_(std::move(preselect)), help_topic_(help_topic), help_id_(help_id) {
  for (const PageSpec& spec : pages) {
    pages_.push_back(std::make_unique<Page>());
    pages_.back()->spec = spec;
  }
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CViewListDialog::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  auto* tabs = Item<plat::TabControl>(rvcmndlg::res::IDC_VIEW_TABS);
  Page* last_offered = nullptr;
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    Page& page = *pages_[i];
    SubclassDlgItem(page.spec.list, page.box);
    page.box.ShowWindow(false);
    if (!Offered(i)) continue;
    page.tab = tabs ? tabs->InsertItem(tabs->GetItemCount(), plat::LoadString(page.spec.title)) : 0;
    last_offered = &page;
  }
  const std::size_t stored = StartPage();
  Page* start = stored < pages_.size() && pages_[stored]->tab >= 0 ? pages_[stored].get() : last_offered;
  if (!start) return true;
  if (tabs) tabs->SetCurSel(start->tab);
  ShowPage(*start);
  // Selected before the user first sees the list, whatever host shows it.
  if (!preselect_.empty()) start->box.Preselect(preselect_);
  UpdateControls();
  plat::PostMessage(GetHwnd(), kFirstShown);
  return true;
}

bool CViewListDialog::OnMessage(std::uint32_t message, plat::WParam, plat::LParam, const std::string*,
                                plat::LResult& result) {
  if (message != kFirstShown) return false;
  if (const std::size_t shown = CurrentIndex(); shown != kNoPage) pages_[shown]->box.SetFocus();
  result = 0;
  return true;
}

std::size_t CViewListDialog::CurrentIndex() const {
  const auto* tabs = Item<plat::TabControl>(rvcmndlg::res::IDC_VIEW_TABS);
  const int chosen = tabs ? tabs->GetCurSel() : 0;
  for (std::size_t i = 0; i < pages_.size(); ++i)
    if (pages_[i]->tab >= 0 && pages_[i]->tab == chosen) return i;
  return kNoPage;
}

std::vector<std::string> CViewListDialog::SelectedTags() const {
  std::vector<std::string> tags;
  if (const std::size_t shown = CurrentIndex(); shown != kNoPage) pages_[shown]->box.SelectedTags(&tags);
  return tags;
}

void CViewListDialog::ShowPage(Page& page) {
  if (!page.filled) {
    page.filled = true;
    page.box.Fill(page.spec.mode);
  }
  for (auto& other : pages_)
    if (other.get() != &page) other->box.ShowWindow(false);
  page.box.ShowWindow(true);
  UpdateControls();
}

void CViewListDialog::UpdateControls() {
  if (plat::Window* ok = GetDlgItem(plat::IdOk)) ok->EnableWindow(!SelectedTags().empty());
}

plat::LResult CViewListDialog::OnNotify(plat::NotifyHeader& header) {
  if (header.id == rvcmndlg::res::IDC_VIEW_TABS && header.code == plat::tcn::SelChange) {
    if (const std::size_t shown = CurrentIndex(); shown != kNoPage) ShowPage(*pages_[shown]);
    return 0;
  }
  return plat::Dialog::OnNotify(header);
}

bool CViewListDialog::OnCommand(int id, int code) {
  if (id == help_id_ && code == plat::bn::Clicked) {
    OnHelp();
    return true;
  }
  for (const auto& page : pages_) {
    if (id != page->spec.list) continue;
    if (code == plat::lbn::SelChange) UpdateControls();
    if (code == plat::lbn::DblClk) OnOK();
    return true;
  }
  return plat::Dialog::OnCommand(id, code);
}

void CViewListDialog::OnHelp() { gu_help(GetHwnd(), help_topic_, 1, 0); }

std::vector<CViewListDialog::PageSpec> ViewPages() {
  using namespace rvcmndlg::res;
  return {{IDS_PAGE_LOCAL, IDC_VIEW_LIST_LOCAL, CViewTagListBox::Local},
          {IDS_PAGE_RECENT, IDC_VIEW_LIST_RECENT, CViewTagListBox::Recent},
          {IDS_PAGE_ALL, IDC_VIEW_LIST_ALL, CViewTagListBox::AllRegion},
          {IDS_PAGE_SNAPSHOT, IDC_VIEW_LIST_SNAPSHOT, CViewTagListBox::Snapshot}};
}

std::size_t StoredViewPage() {
  const int stored = CUserOptions().StartViewPage();
  return stored >= 0 && stored < static_cast<int>(kSnapshotPage) ? static_cast<std::size_t>(stored) : kSnapshotPage;
}
