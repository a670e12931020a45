#include "cm/act_contribs_dlg.h"

#include "cm/collected_messages.h"
#include "flm_imsg_redirector.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

namespace {

constexpr char kHelpTopic[] = "deliver_rebase/contributingactivities.htm";

}  // namespace

CActContribs::CActContribs(const FLM_Activity& activity, plat::Window* parent)
    : CCmDialog(IDD_ACT_CONTRIBS, kHelpTopic, parent), activity_(activity) {}

bool CActContribs::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  if (!SubclassDlgItem(IDC_CONTRIBS_LIST, list_) || Refused()) {
    EndDialog(plat::IdCancel);
    return true;
  }
  list_.SetupColumns();
  std::string name;
  activity_.name(&name);
  SetDlgItemText(IDC_CONTRIBS_ACTIVITY, name);
  if (!FillList()) EndDialog(plat::IdCancel);
  return true;
}

bool CActContribs::Refused() {
  auto say = [this](int sentence) {
    plat::MessageBox(this, plat::LoadString(sentence), plat::AppName(), plat::mb::Ok | plat::mb::IconWarning);
    return true;
  };
  FLM_ImsgRedirector collected;
  int state = FLM_INTEGRATION_NONE;
  // An unreadable state is no answer: the list is refused with what the
  // model said rather than read from a half-known activity.
  if (int st = activity_.integration_state(&state)) {
    ShowFailure(this, plat::LoadString(IDS_CONTRIBS_FAILED), collected, st, plat::mb::IconWarning);
    return true;
  }
  if (state == FLM_INTEGRATION_RUNNING) return say(IDS_CONTRIBS_RUNNING);
  bool deliver = false, rebase = false;
  if (activity_.pvar_exists(FLM_PVAR_DELIVER, &deliver) || activity_.pvar_exists(FLM_PVAR_REBASE, &rebase))
    return say(IDS_CONTRIBS_PVARS_FAILED);
  if (!deliver && !rebase) return say(IDS_CONTRIBS_NOT_INTEGRATION);
  return false;
}

bool CActContribs::FillList() {
  plat::WaitCursor waiting;
  FLM_ImsgRedirector collected;
  FLM_ActivityList contributors;
  if (int st = activity_.contrib_activities(&contributors)) {
    ShowFailure(this, plat::LoadString(IDS_CONTRIBS_FAILED), collected, st, plat::mb::IconWarning);
    return false;
  }
  for (const FLM_Activity& contributor : contributors) list_.AddActivity(contributor);
  return true;
}

bool CActContribs::OnCommand(int id, int code) {
  if (id == IDC_CONTRIBS_HELP && code == plat::bn::Clicked) {
    OnHelp();
    return true;
  }
  return plat::Dialog::OnCommand(id, code);
}

int RunActContribs(const FLM_Activity& activity, plat::Window* parent) {
  CActContribs dialog(activity, parent);
  return dialog.DoModal();
}
