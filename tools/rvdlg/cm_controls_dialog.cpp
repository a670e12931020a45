#include "cm_controls_dialog.h"

#include "cmctls/class_ids.h"
#include "platform/controls.h"

namespace rvdlg {

namespace {

constexpr int kProjectTree = 24659, kTimeline = 24662, kTreePlaceholder = 7148, kBaselineTree = 7198;
constexpr int kRecordCombo = 24663, kBrowseRecord = 24641, kNewRecord = 24642;

}  // namespace

void RegisterCmControlsResources() {
  using plat::ControlTemplate;
  plat::DialogTemplate t;
  t.id = kCmControlsTemplate;
  t.caption = "Change-management controls";
  t.controls = {
      ControlTemplate{"static", plat::IdStatic, "&Projects and streams:", 0},
      ControlTemplate{cmctls::kProjectTreeClass, kProjectTree, "", 0},
      ControlTemplate{"static", plat::IdStatic, "Baselines of the first &component:", 0},
      ControlTemplate{cmctls::kBaselineTimelineClass, kTimeline, "", 0},
      ControlTemplate{"static", plat::IdStatic, "&Foundation:", 0},
      ControlTemplate{"static", kTreePlaceholder, "", 0},
      ControlTemplate{"static", plat::IdStatic, "&Record:", 0},
      ControlTemplate{"combobox", kRecordCombo, "", plat::cbs::DropDownList},
      ControlTemplate{"button", kBrowseRecord, "&Browse...", plat::bs::PushButton},
      ControlTemplate{"button", kNewRecord, "&New   >", plat::bs::PushButton},
      ControlTemplate{"button", plat::IdOk, "OK", plat::bs::DefPushButton},
      ControlTemplate{"button", plat::IdCancel, "Cancel", plat::bs::PushButton},
  };
  plat::AppResources().AddDialog(std::move(t));
}

bool CmControlsDialog::OnInitDialog() {
  projects_.Attach(*this, kProjectTree);
  timeline_.Attach(*this, kTimeline);
  if (plat::Window* placeholder = GetDlgItem(kTreePlaceholder)) baselines_.CreateOver(*placeholder, kBaselineTree);
  FillProjectTree();
  FillTimeline();
  FillBaselineTree();
  SetUpRecords();
  return plat::Dialog::OnInitDialog();
}

// The stream's project VOB, its stream chosen.
void CmControlsDialog::FillProjectTree() {
  FLM_Vob vob;
  std::string selector;
  bool loaded = false, found = false;
  if (FLM_Vob::construct_from_handle(stream_.vob(), &vob) || stream_.selector(&selector)) return;
  if (projects_.SetVob(vob.tag()) || projects_.Start() || projects_.Load(&loaded) || !loaded) return;
  projects_.Select(selector, &found);
}

// The baselines of the component of the stream's first foundation baseline,
// without obsolete ones.
void CmControlsDialog::FillTimeline() {
  FLM_Component component;
  FLM_BaselineList baselines;
  if (stream_.foundation(&foundation_) || foundation_.length() == 0 || foundation_[0].component(&component) ||
      component.baselines(&baselines))
    return;
  for (const auto& baseline : baselines) {
    bool obsolete = true;
    std::string selector;
    if (baseline.is_obsolete(&obsolete) || obsolete || baseline.selector(&selector)) continue;
    timeline_.AddBaseline(selector);
  }
  timeline_.DoneAdding();
}

void CmControlsDialog::FillBaselineTree() {
  std::string selector;
  if (stream_.selector(&selector)) return;
  baselines_.ShowMembers(true);
  baselines_.LoadFoundation(foundation_, "", selector);
}

// The record of the activity the user's view of the stream works on, when
// there is one; the rest when the list opens.
void CmControlsDialog::SetUpRecords() {
  if (!SubclassDlgItem(kRecordCombo, records_) || !SubclassDlgItem(kBrowseRecord, browse_) ||
      !SubclassDlgItem(kNewRecord, new_record_))
    return;
  records_.SetStream(stream_);
  browse_.Setup(&records_, stream_);
  new_record_.Setup(&records_, stream_);
  FLM_StringList views;
  if (stream_.views(&views)) return;
  for (const auto& tag : views) {
    FLM_View view;
    FLM_Activity activity;
    if (FLM_View::construct_from_tag(tag.c_str(), &view) || view.current_activity(&activity) || activity.is_null())
      continue;
    records_.SelectByActivity(activity);
    break;
  }
}

void CmControlsDialog::OnOK() {
  record_choice = records_.GetSelection().display_name();
  projects_.GetSelection(&project_tree_choice);
  timeline_.GetSelection(&timeline_choice);
  baselines_.GetSelection(&baseline_tree_choice);
  plat::Dialog::OnOK();
}

}  // namespace rvdlg
