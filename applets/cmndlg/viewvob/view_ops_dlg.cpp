#include "viewvob/view_ops_dlg.h"

#include <atomic>
#include <new>

#include "clp.h"
#include "cm/collected_messages.h"
#include "cmd_rmview.h"
#include "fileops/common_status.h"
#include "fileops/imsg_progress_dlg.h"
#include "flm.h"
#include "flm_imsg_redirector.h"
#include "imsg.h"
#include "ntcs.h"
#include "platform/controls.h"
#include "platform/machine.h"
#include "platform/pathmap.h"
#include "platform/resources.h"
#include "platform/sync.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/user_options.h"
#include "stg.h"
#include "tbs.h"
#include "view.h"
#include "viewvob/rvfs_check.h"

using namespace rvcmndlg::res;

namespace {

constexpr std::size_t kCommandArea = 1012;  // the remove command's scratch area

std::vector<CViewListDialog::PageSpec> StartPages() {
  return {{IDS_PAGE_LOCAL, IDC_VIEW_LIST_LOCAL, CViewTagListBox::LocalInactive},
          {IDS_PAGE_RECENT, IDC_VIEW_LIST_RECENT, CViewTagListBox::RecentInactive},
          {IDS_PAGE_ALL, IDC_VIEW_LIST_ALL, CViewTagListBox::InactiveInRegion}};
}

std::string Joined(const FLM_ImsgRedirector& collected) {
  std::string text;
  for (const std::string& message : collected.messages()) text += (text.empty() ? "" : "\n") + message;
  return text;
}

// Notes what became of a view; a failure without messages keeps its status's text.
void Record(ViewOutcomes* outcomes, const std::string& name, int status, const std::string& messages) {
  if (!outcomes) return;
  outcomes->push_back({name, status == 0 ? ViewOutcome::kSucceeded : ViewOutcome::kFailed,
                       status != 0 && messages.empty() ? tbs_strerror(status) : messages});
}

void ShowViewFailure(plat::Window* owner, int sentence, const std::string& view, const FLM_ImsgRedirector& collected,
                     int status) {
  const std::string format = plat::LoadString(sentence);
  const std::string first = sentence == IDS_CANNOT_ACCESS_VIEW ? plat::FormatPrintf(format, {view})
                                                                : plat::FormatMessage(format, {view});
  ShowFailure(owner, first, collected, status, plat::mb::IconError);
}

// The tag of the view an entry names (a tag or a pathname in a view); the
// entry itself when it names none.
std::string TagOf(const std::string& entry) {
  FLM_ImsgRedirector quiet;
  FLM_View view;
  if (FLM_View::construct_from_tag(entry.c_str(), &view) == 0 ||
      FLM_View::construct_from_view_root(entry.c_str(), &view) == 0)
    return view.tag();
  return entry;
}

// Removes one view behind the message window, the command on a worker
// inside the client's critical section.
ViewOutcome RemoveOneView(const std::string& entry, plat::Window* parent) {
  const stg_area_t area = stg_create_area(kCommandArea);
  if (area == STG_NULL_AREA) throw std::bad_alloc();
  ViewOutcome outcome{entry, ViewOutcome::kFailed, {}};
  cmd_rmview_args_s args;
  args.area = area;
  {
    FLM_ImsgRedirector collected;
    FLM_View view;
    int status = FLM_View::construct_from_tag(entry.c_str(), &view);
    if (status == 0) {
      args.tag = entry.c_str();
    } else if ((status = FLM_View::construct_from_view_root(entry.c_str(), &view)) == 0) {
      args.pathname = entry.c_str();
    } else {
      ShowViewFailure(parent, IDS_REMOVE_VIEW_FAILED, entry, collected, status);
      outcome.messages = CollectedText(collected, status);
      stg_delete_area(area);
      return outcome;
    }
    outcome.name = view.tag();
  }
  int status = 0;
  bool failed = false;
  std::string text;
  {
    CIMsgProgressDlg progress(IDS_REMOVING_VIEW);
    progress.Create(parent);
    progress.SetLine1(entry);
    plat::WorkerThread worker([&] {
      nt_enter_critical_section();
      status = cmd_rmview(&args);
      nt_leave_critical_section();
      const CIMsgProgressCallBack& seen = progress.Callback();
      failed = status != 0 || seen.Seen(IMSG_ERROR) || seen.Seen(IMSG_WARNING);
      if (failed) text = seen.Text();
      progress.StopRunning();
      return 0;
    });
    progress.RunModalLoop();
    worker.Join();
  }
  stg_delete_area(area);
  if (!failed) {
    outcome.result = ViewOutcome::kSucceeded;
    return outcome;
  }
  if (text.empty()) {
    // Nothing was said: the sentence and the status's text, never an empty box.
    const FLM_ImsgRedirector nothing;
    const int shown = status != 0 ? status : TBS_ST_FAILURE;
    ShowViewFailure(parent, IDS_REMOVE_VIEW_FAILED, entry, nothing, shown);
    text = tbs_strerror(shown);
  } else {
    ShowPlainBox(parent, text);
  }
  outcome.messages = text;
  return outcome;
}

}  // namespace

PrefixSuppression::PrefixSuppression() : previous_(imsg_suppress_prefix(1)) {}
PrefixSuppression::~PrefixSuppression() { imsg_suppress_prefix(previous_); }

// ---- Start View ----

CStartViewDialog::CStartViewDialog(std::vector<std::string> preselect, plat::Window* parent, ViewOutcomes* outcomes)
    : CViewListDialog(IDD_START_VIEW, StartPages(), std::move(preselect), "rvint_exp/startview.htm",
                      IDC_VIEW_PROPERTIES_HELP, parent),
      outcomes_(outcomes) {}

bool CStartViewDialog::OnInitDialog() {
  if (auto* drives = Item<plat::ComboBox>(IDC_DRIVE_BOX)) FillDrives(*drives);
  return CViewListDialog::OnInitDialog();
}

// Stored pages 0 to 2 open as stored; anything else opens Recent.
std::size_t CStartViewDialog::StartPage() const {
  const int stored = CUserOptions().StartViewPage();
  return stored >= 0 && stored <= 2 ? static_cast<std::size_t>(stored) : 1;
}

void CStartViewDialog::FillDrives(plat::ComboBox& drives) {
  const std::uint32_t in_use = plat::MachineInfo().logical_drives;
  for (char letter = 'Z'; letter >= 'A'; --letter) {
    // M: shows all views; a drive of the path map is some view's.
    if ((in_use & (1u << (letter - 'A'))) || letter == 'M' || plat::DriveAssignment(letter)) continue;
    drives.AddString(std::string(1, letter) + ":");
  }
  drives.SetCurSel(drives.AddString(plat::LoadString(IDS_DRIVE_NONE)));
}

bool CStartViewDialog::OnCommand(int id, int code) {
  if (id == IDC_DRIVE_BOX) {
    if (code == plat::cbn::SelChange) UpdateControls();
    return true;
  }
  return CViewListDialog::OnCommand(id, code);
}

void CStartViewDialog::UpdateControls() {
  CViewListDialog::UpdateControls();
  auto* drives = Item<plat::ComboBox>(IDC_DRIVE_BOX);
  auto* restart = Item<plat::Button>(IDC_RESTART_AT_LOGON);
  if (!drives || !restart) return;
  const bool one_view = SelectedTags().size() < 2;
  drives->EnableWindow(one_view);
  if (plat::Window* label = GetDlgItem(IDC_DRIVE_LABEL)) label->EnableWindow(one_view);
  const int chosen = drives->GetCurSel();
  const bool restartable = one_view && chosen >= 0 && drives->GetLBText(chosen) != plat::LoadString(IDS_DRIVE_NONE);
  restart->EnableWindow(restartable);
  // Cleared while disabled; each time it comes back it offers the stored default.
  if (!restartable)
    restart->SetCheck(plat::Unchecked);
  else if (!restart_enabled_)
    restart->SetCheck(CUserOptions().RestartAtLogon() ? plat::Checked : plat::Unchecked);
  restart_enabled_ = restartable;
}

bool CStartViewDialog::AssignDrive(const std::string& tag) {
  const auto* drives = Item<plat::ComboBox>(IDC_DRIVE_BOX);
  const int chosen = drives ? drives->GetCurSel() : -1;
  if (chosen < 0) return false;
  std::string drive = drives->GetLBText(chosen);
  if (drive == plat::LoadString(IDS_DRIVE_NONE)) drive.clear();
  const auto* restart = Item<plat::Button>(IDC_RESTART_AT_LOGON);
  const int persistent = restart && restart->GetCheck() == plat::Checked ? 1 : 0;
  if (const int error = view_add_mapping(tag.c_str(), drive.c_str(), persistent)) {
    plat::MessageBox(this, plat::FormatPrintf(plat::LoadString(IDS_ASSIGN_DRIVE_FAILED), {error}), plat::AppName(),
                     plat::mb::Ok | plat::mb::IconWarning);
    return false;
  }
  return !drive.empty() || persistent;
}

void CStartViewDialog::OnOK() {
  const std::vector<std::string> tags = SelectedTags();
  if (!tags.empty()) {
    const bool assigned = tags.size() == 1 && AssignDrive(tags.front());
    FLM_ImsgRedirector collected;
    for (const std::string& tag : tags) {
      FLM_View view;
      int status = FLM_View::construct_from_tag(tag.c_str(), &view);
      if (status != 0)
        ShowViewFailure(this, IDS_CANNOT_ACCESS_VIEW, tag, collected, status);
      else if ((status = view.start()) != 0)
        ShowViewFailure(this, IDS_START_VIEW_FAILED, tag, collected, status);
      Record(outcomes_, tag, status, Joined(collected));
      // A drive given to a view that did not start is taken back.
      if (status != 0 && assigned) view_remove_mappings(tag.c_str(), 1);
      collected.clear();
    }
  }
  CUserOptions().SetStartViewPage(static_cast<int>(CurrentIndex()));
  plat::Dialog::OnOK();
}

// ---- Stop View ----

CStopViewDialog::CStopViewDialog(std::vector<std::string> preselect, plat::Window* parent, ViewOutcomes* outcomes)
    : CViewListDialog(IDD_STOP_VIEW, {{0, IDC_STOP_VIEW_LIST, CViewTagListBox::ActiveInRegion}},
                      std::move(preselect), "rvint_exp/stopview.htm", IDC_VIEW_PROPERTIES_HELP, parent),
      outcomes_(outcomes) {}

void CStopViewDialog::OnOK() {
  FLM_ImsgRedirector collected;
  for (const std::string& tag : SelectedTags()) {
    FLM_View view;
    int status = FLM_View::construct_from_tag(tag.c_str(), &view);
    if (status != 0)
      ShowViewFailure(this, IDS_CANNOT_ACCESS_VIEW, tag, collected, status);
    else if ((status = view.end(0)) == 0)
      view_remove_mappings(tag.c_str(), 1);
    else
      ShowViewFailure(this, IDS_STOP_VIEW_FAILED, tag, collected, status);
    Record(outcomes_, tag, status, Joined(collected));
    collected.clear();
  }
  plat::Dialog::OnOK();
}

// ---- Remove View ----

CRemoveViewDialog::CRemoveViewDialog(std::vector<std::string> preselect, plat::Window* parent,
                                     ViewOutcomes* outcomes)
    : CViewListDialog(IDD_REMOVE_VIEW, ViewPages(), std::move(preselect), "rvint_exp/removeview.htm",
                      IDC_VIEW_PROPERTIES_HELP, parent),
      outcomes_(outcomes) {}

bool CRemoveViewDialog::Offered(std::size_t page) const { return page == kSnapshotPage || RvfsInstalled(); }

void CRemoveViewDialog::OnOK() {
  const std::vector<std::string> tags = SelectedTags();
  if (!tags.empty()) RemoveViews(tags, this, outcomes_);
  CUserOptions().SetStartViewPage(static_cast<int>(CurrentIndex()));
  plat::Dialog::OnOK();
}

void RemoveViews(const std::vector<std::string>& entries, plat::Window* parent, ViewOutcomes* outcomes) {
  plat::WaitCursor wait;
  for (const std::string& entry : entries) {
    const std::string question = plat::FormatMessage(plat::LoadString(IDS_REMOVE_VIEW_QUESTION), {entry});
    if (plat::MessageBox(parent, question, plat::AppName(),
                         plat::mb::YesNo | plat::mb::IconQuestion | plat::mb::DefButton2) != plat::IdYes) {
      if (outcomes) outcomes->push_back({TagOf(entry), ViewOutcome::kNotProcessed, {}});
      continue;
    }
    ViewOutcome outcome = RemoveOneView(entry, parent);
    if (outcomes) outcomes->push_back(std::move(outcome));
  }
}

// ---- Entries ----

namespace {

// Start and stop need the file system; each says its name for usage data.
template <class ViewDialog>
int RunDynamicViewDialog(const char* usage, const std::vector<std::string>& tags, plat::Window* parent,
                         ViewOutcomes* outcomes) {
  rvcmndlg::EntryScope resources;
  if (RvfsNotInstalled(parent)) return -1;
  ViewDialog dialog(tags, parent, outcomes);
  const int result = dialog.DoModal();
  clp_collectdatas(usage, "");
  return result;
}

}  // namespace

int StartViewOp(const std::vector<std::string>& tags, plat::Window* parent, ViewOutcomes* outcomes) {
  return RunDynamicViewDialog<CStartViewDialog>("rvStartViewOp", tags, parent, outcomes);
}

int StopViewOp(const std::vector<std::string>& tags, plat::Window* parent, ViewOutcomes* outcomes) {
  return RunDynamicViewDialog<CStopViewDialog>("rvStopViewOp", tags, parent, outcomes);
}

int RemoveViewOp(const std::vector<std::string>& items, int dialog, plat::Window* parent, ViewOutcomes* outcomes) {
  rvcmndlg::EntryScope resources;
  int result = 0;
  if (dialog) {
    CRemoveViewDialog remove(items, parent, outcomes);
    result = remove.DoModal();
  } else {
    // Tags as they are, pathnames in a view as its root; anything else is skipped.
    std::vector<std::string> entries;
    for (const std::string& item : items) {
      FLM_ImsgRedirector quiet;
      FLM_View view;
      if (FLM_View::construct_from_tag(item.c_str(), &view) == 0)
        entries.push_back(item);
      else if (FLM_View::construct_from_view_root(item.c_str(), &view) == 0)
        entries.push_back(view.view_root());
      else if (outcomes)
        outcomes->push_back({item, ViewOutcome::kNotProcessed, {}});
    }
    RemoveViews(entries, parent, outcomes);
  }
  clp_collectdatas("rvRemoveViewOp", "");
  return result;
}

int rvStartViewOp(const std::vector<std::string>& tags, plat::Window* parent) {
  return StartViewOp(tags, parent, nullptr);
}

int rvStopViewOp(const std::vector<std::string>& tags, plat::Window* parent) {
  return StopViewOp(tags, parent, nullptr);
}

int rvRemoveViewOp(const std::vector<std::string>& items, int dialog, plat::Window* parent) {
  return RemoveViewOp(items, dialog, parent, nullptr);
}
