#include "viewvob/mount_vob_dlg.h"

#include <algorithm>
#include <optional>

#include "clp.h"
#include "cm/collected_messages.h"
#include "fileops/common_status.h"
#include "flm_imsg_redirector.h"
#include "gcl_status.h"
#include "gu.h"
#include "imsg.h"
#include "ntregy.h"
#include "platform/message.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "platform/window.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/entries.h"
#include "rvcmndlg/user_options.h"
#include "tbs.h"
#include "viewvob/rvfs_check.h"

using namespace rvcmndlg::res;

// ---- CVobMountDialogBase ----

CVobMountDialogBase::CVobMountDialogBase(int template_id, int list_id, CVobListBox::Mode mode, const char* help_topic,
                                         std::vector<std::string> preselect, plat::Window* parent)
    : plat::Dialog(template_id, parent),
      list_id_(list_id),
      mode_(mode),
      help_topic_(help_topic),
      preselect_(std::move(preselect)),
      saved_prefix_(imsg_suppress_prefix(1)) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

CVobMountDialogBase::~CVobMountDialogBase() { imsg_suppress_prefix(saved_prefix_); }

bool CVobMountDialogBase::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  if (!SubclassDlgItem(list_id_, list_)) {
    EndDialog(plat::IdCancel);
    return true;
  }
  list_.Fill(mode_);
  list_.SetFocus();
  if (!preselect_.empty()) list_.Preselect(preselect_);
  return true;
}

bool CVobMountDialogBase::OnCommand(int id, int code) {
  if (id == IDC_VOB_MOUNT_HELP && code == plat::bn::Clicked) {
    OnHelp();
    return true;
  }
  if (id == list_id_) {
    if (code == plat::lbn::SelChange) list_.KeepCaretVisible();
    if (code == plat::lbn::DblClk) OnOK();
    return true;
  }
  return plat::Dialog::OnCommand(id, code);
}

bool CVobMountDialogBase::OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam,
                                    const std::string* text, plat::LResult& result) {
  if (message != plat::msg::Help) return plat::Dialog::OnMessage(message, wparam, lparam, text, result);
  OnHelp();
  result = 0;
  return true;
}

void CVobMountDialogBase::OnHelp() { gu_help(GetHwnd(), help_topic_, 1, 0); }

void CVobMountDialogBase::OnOK() {
  if (!UpdateData(true)) return;
  std::vector<RVL_VobTag> tags;
  if (list_.GetSelection(&tags)) {
    std::optional<plat::WaitCursor> wait(std::in_place);
    for (const RVL_VobTag& tag : tags) {
      GCL_Status status;
      const bool done = Act(tag, status);
      VobOutcome outcome{tag.name().c_str(), done ? VobOutcome::kSucceeded : VobOutcome::kFailed,
                         status.messages().c_str()};
      if (!done) {
        if (outcome.messages.empty()) {
          outcome.messages = tbs_strerror(static_cast<int>(status.code()));
          status.push_message(GCL_String(outcome.messages.c_str()));
        }
        wait.reset();  // no wait cursor over a box
        ShowStatusBox(this, outcome.tag, status);
        wait.emplace();
      }
      AfterVob(tag, done, outcome);
      outcomes_.push_back(std::move(outcome));
    }
  }
  EndDialog(plat::IdOk);
}

void CVobMountDialogBase::ChangeRegistration(int (*call)(const char*), int failure_text, const std::string& tag,
                                             VobOutcome& outcome) {
  FLM_ImsgRedirector collected;
  const int status = call(tag.c_str());
  if (status == 0) return;
  rvcmndlg::EntryScope resources;
  const std::string sentence = plat::FormatMessage(plat::LoadString(failure_text), {tag});
  ShowFailure(this, sentence, collected, status, plat::mb::IconWarning);
  outcome.messages += (outcome.messages.empty() ? "" : "\n") + sentence;
}

// ---- CMountVobDlg ----

CMountVobDlg::CMountVobDlg(std::vector<std::string> preselect, plat::Window* parent)
    : CVobMountDialogBase(IDD_MOUNT_VOB, IDC_MOUNT_VOB_LIST, CVobListBox::Unmounted, "rvint_exp/mountvob.htm",
                          std::move(preselect), parent),
      reconnect_(CUserOptions().ReconnectAtLogon()) {}

void CMountVobDlg::DoDataExchange(plat::DataExchange& dx) { plat::DdxCheck(dx, IDC_MOUNT_RECONNECT, reconnect_); }

bool CMountVobDlg::Act(const RVL_VobTag& tag, GCL_Status& status) const { return tag.mount(status); }

void CMountVobDlg::AfterVob(const RVL_VobTag& tag, bool done, VobOutcome& outcome) {
  // Only a VOB that is mounted is mounted again at logon; a cleared box
  // leaves any older registration as it is.
  if (done && reconnect_)
    ChangeRegistration(ntregy_add_persistent_vob, IDS_VOB_REGISTER_FAILED, tag.name().c_str(), outcome);
}

// ---- CUnmountVobDlg ----

CUnmountVobDlg::CUnmountVobDlg(std::vector<std::string> preselect, plat::Window* parent)
    : CVobMountDialogBase(IDD_UNMOUNT_VOB, IDC_UNMOUNT_VOB_LIST, CVobListBox::Mounted, "rvint_exp/unmountvob.htm",
                          std::move(preselect), parent) {}

bool CUnmountVobDlg::Act(const RVL_VobTag& tag, GCL_Status& status) const { return tag.unmount(status); }

void CUnmountVobDlg::AfterVob(const RVL_VobTag& tag, bool, VobOutcome& outcome) {
  // Even a VOB that would not unmount is not mounted again at logon.
  ChangeRegistration(ntregy_remove_persistent_vob, IDS_VOB_UNREGISTER_FAILED, tag.name().c_str(), outcome);
}

// ---- Entries ----

namespace {

// The tags given that no outcome names, each not processed.
void AddNotProcessed(const std::vector<std::string>& tags, std::vector<VobOutcome>& outcomes) {
  const std::size_t worked_on = outcomes.size();
  for (const std::string& tag : tags) {
    const auto named = [&](const VobOutcome& o) {
      return plat::IEquals(CVobListBox::DisplayText(o.tag), CVobListBox::DisplayText(tag));
    };
    if (std::none_of(outcomes.begin(), outcomes.begin() + static_cast<std::ptrdiff_t>(worked_on), named))
      outcomes.push_back(VobOutcome{tag, VobOutcome::kNotProcessed, {}});
  }
}

int RunVobDialog(CVobMountDialogBase& dialog, const std::vector<std::string>& tags, const char* usage_event,
                 std::vector<VobOutcome>* outcomes) {
  const int result = dialog.DoModal();
  clp_collectdatai(usage_event, static_cast<long>(dialog.Outcomes().size()));
  if (outcomes) {
    *outcomes = dialog.Outcomes();
    AddNotProcessed(tags, *outcomes);
  }
  return result;
}

}  // namespace

int MountVobs(const std::vector<std::string>& tags, plat::Window* parent, std::vector<VobOutcome>* outcomes) {
  rvcmndlg::EntryScope resources;
  if (outcomes) outcomes->clear();
  if (RvfsNotInstalled(parent)) return -1;
  CMountVobDlg dialog(tags, parent);
  return RunVobDialog(dialog, tags, "rvMountVobOp", outcomes);
}

int UnmountVobs(const std::vector<std::string>& tags, plat::Window* parent, std::vector<VobOutcome>* outcomes) {
  rvcmndlg::EntryScope resources;
  if (outcomes) outcomes->clear();
  if (RvfsNotInstalled(parent)) {
    clp_collectdatai("rvUnmountVobOp", 0);
    return -1;
  }
  CUnmountVobDlg dialog(tags, parent);
  return RunVobDialog(dialog, tags, "rvUnmountVobOp", outcomes);
}

int rvMountVobOp(const std::vector<std::string>& tags, plat::Window* parent) { return MountVobs(tags, parent, nullptr); }

int rvUnmountVobOp(const std::vector<std::string>& tags, plat::Window* parent) {
  return UnmountVobs(tags, parent, nullptr);
}
