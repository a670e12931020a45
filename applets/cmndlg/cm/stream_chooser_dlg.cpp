#include "cm/stream_chooser_dlg.h"

#include "cm/object_properties.h"
#include "flm_imsg_redirector.h"
#include "platform/controls.h"
#include "platform/resources.h"
#include "res/resource_ids.h"
#include "vob.h"

using namespace rvcmndlg::res;

namespace {

struct ModeLook {
  int icon;        // 0: the dialog's own
  int text;        // the mode text after "Select a stream"
  int title;
  int extra;       // the control the mode shows (0: none)
  bool all_streams_and_help;
  const char* help_topic;
};

const ModeLook& LookOf(CStreamChooser::Mode mode) {
  static const ModeLook looks[] = {
      {IDI_CHOOSER_DELIVER, IDS_CHOOSER_TO_DELIVER, IDS_CHOOSER_TITLE_DELIVER, IDC_CHOOSER_DELIVER_EXTRA, false,
       "deliver_rebase/streamchooserdeliver.htm"},
      {IDI_CHOOSER_REBASE, IDS_CHOOSER_TO_REBASE, IDS_CHOOSER_TITLE_REBASE, IDC_CHOOSER_REBASE_EXTRA, false,
       "deliver_rebase/streamchooserrebase.htm"},
      {0, 0, IDS_CHOOSER_TITLE_CHOOSE, 0, true, "rvint_exp/streamchooserbaseline.htm"},
      {0, IDS_CHOOSER_TO_TARGET, IDS_CHOOSER_TITLE_CHOOSE, 0, true, "deliver_rebase/streamchooserdelivertgt.htm"},
  };
  return looks[mode - CStreamChooser::kDeliver];
}

void Show(plat::Dialog& dialog, int id, bool show) {
  if (plat::Window* control = dialog.GetDlgItem(id)) {
    control->ShowWindow(show);
    control->EnableWindow(show);
  }
}

}  // namespace

CStreamChooser::CStreamChooser(const FLM_Vob& vob, Mode mode, plat::Window* parent)
    : CCmDialog(IDD_STREAM_CHOOSER, LookOf(mode).help_topic, parent), vob_(vob), mode_(mode) {}

bool CStreamChooser::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  for (int id : {IDC_CHOOSER_HELP, IDC_CHOOSER_ALL_VOBS, IDC_CHOOSER_DELIVER_EXTRA, IDC_CHOOSER_REBASE_EXTRA})
    Show(*this, id, false);
  tree_.Attach(*this, IDC_CHOOSER_TREE);
  ApplyMode();
  SetUpTree();
  for (int id : {static_cast<int>(plat::IdOk), IDC_CHOOSER_PROPERTIES})
    if (plat::Window* button = GetDlgItem(id)) button->EnableWindow(false);
  return true;
}

void CStreamChooser::ApplyMode() {
  const ModeLook& look = LookOf(mode_);
  if (look.icon) SetIcon(look.icon);
  if (look.text) SetDlgItemText(IDC_CHOOSER_MODE_TEXT, plat::LoadString(look.text));
  SetText(plat::LoadString(look.title));
  if (look.extra) Show(*this, look.extra, true);
  if (look.all_streams_and_help) {
    Show(*this, IDC_CHOOSER_HELP, true);
    if (auto* all = Item<plat::Button>(IDC_CHOOSER_ALL_STREAMS)) all->SetCheck(plat::Checked);
    ApplyAllStreams();
  }
}

void CStreamChooser::SetUpTree() {
  tree_.Start();
  if (!vob_.is_null() && !vob_.tag().empty()) tree_.SetVob(vob_.tag());
  bool loaded = false;
  tree_.Load(&loaded);
  // Offered only while the tree shows one VOB.
  bool all_vobs = true;
  if (tree_.AllVobsShown(&all_vobs) == 0 && !all_vobs) {
    Show(*this, IDC_CHOOSER_ALL_VOBS, true);
    if (auto* check = Item<plat::Button>(IDC_CHOOSER_ALL_VOBS)) check->SetCheck(plat::Unchecked);
  }
}

void CStreamChooser::ApplyAllStreams() {
  const auto* all = Item<plat::Button>(IDC_CHOOSER_ALL_STREAMS);
  tree_.ShowAllStreams(all && all->GetCheck() == plat::Checked);
}

bool CStreamChooser::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked) return plat::Dialog::OnCommand(id, code);
  switch (id) {
    case IDC_CHOOSER_ALL_STREAMS: ApplyAllStreams(); return true;
    case IDC_CHOOSER_ALL_VOBS: {
      const auto* all = Item<plat::Button>(IDC_CHOOSER_ALL_VOBS);
      tree_.ShowAllVobs(all && all->GetCheck() == plat::Checked);
      return true;
    }
    case IDC_CHOOSER_PROPERTIES: {
      std::string selector;
      if (is_stream_ ? stream_.selector(&selector) == 0 : project_.selector(&selector) == 0)
        ShowObjectProperties(selector, this);
      return true;
    }
    case IDC_CHOOSER_HELP: OnHelp(); return true;
    default: return plat::Dialog::OnCommand(id, code);
  }
}

plat::LResult CStreamChooser::OnNotify(plat::NotifyHeader& header) {
  if (header.id == IDC_CHOOSER_TREE && header.code == plat::hcn::SelChange)
    OnSelection(static_cast<plat::HostedNotify&>(header).selector);
  return plat::Dialog::OnNotify(header);
}

void CStreamChooser::OnSelection(const std::string& selector) {
  plat::Window* ok = GetDlgItem(plat::IdOk);
  plat::Window* properties = GetDlgItem(IDC_CHOOSER_PROPERTIES);
  for (plat::Window* button : {ok, properties})
    if (button) button->EnableWindow(false);
  stream_ = FLM_Stream();
  project_ = FLM_Project();
  is_stream_ = false;
  vob_objsel_kind_t kind = VOB_OBJSEL_NONE;
  char name[1024], tag[1024];
  if (vob_utl_parse_objsel(selector.c_str(), &kind, name, sizeof name, tag, sizeof tag) != 0) {
    plat::MessageBox(this, plat::FormatPrintf(plat::LoadString(IDS_CHOOSER_BAD_SELECTOR), {selector}),
                     plat::AppName(), plat::mb::Ok | plat::mb::IconWarning);
    return;
  }
  FLM_ImsgRedirector collected;  // a selector that names nothing just enables nothing
  if (kind == VOB_OBJSEL_STREAM && FLM_Stream::construct_from_selector(selector.c_str(), &stream_) == 0) {
    is_stream_ = true;
    if (ok) ok->EnableWindow(true);
    if (properties) properties->EnableWindow(true);
  } else if (kind == VOB_OBJSEL_PROJECT && FLM_Project::construct_from_selector(selector.c_str(), &project_) == 0) {
    if (properties) properties->EnableWindow(true);
  }
}

void CStreamChooser::Refuse(int sentence) {
  plat::MessageBox(this, plat::LoadString(sentence), plat::AppName(), plat::mb::Ok | plat::mb::IconWarning);
}

void CStreamChooser::OnOK() {
  if (!is_stream_) return;
  FLM_ImsgRedirector collected;
  std::string name, integration_name;
  FLM_Project project;
  FLM_Stream integration;
  if (stream_.name(&name)) return Refuse(IDS_CHOOSER_NO_NAME);
  if (stream_.project(&project) || project.is_null()) return Refuse(IDS_CHOOSER_NO_PROJECT);
  if (project.default_integration_stream(&integration) || integration.is_null())
    return Refuse(IDS_CHOOSER_NO_INTEGRATION);
  if (integration.name(&integration_name)) return Refuse(IDS_CHOOSER_NO_INTEGRATION_NAME);
  tree_.Closing();
  EndDialog(plat::IdOk);
}
