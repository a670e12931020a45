#pragma once
// rvdlg's window over the change-management controls: a stream's project
// tree, the baselines of its first component on a timeline, its foundation
// as a baseline tree, and the Tracklane record of its work.
#include <string>

#include "cm/hosted_controls.h"
#include "cm/tl_activity_controls.h"
#include "flm.h"
#include "platform/dialog.h"

namespace rvdlg {

inline constexpr int kCmControlsTemplate = 101;

// Registers the template in the application's resources.
void RegisterCmControlsResources();

class CmControlsDialog : public plat::Dialog {
 public:
  explicit CmControlsDialog(FLM_Stream stream) : plat::Dialog(kCmControlsTemplate), stream_(std::move(stream)) {}

  // What the user chose, read on OK.
  std::string project_tree_choice, timeline_choice, baseline_tree_choice, record_choice;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void FillProjectTree();
  void FillTimeline();
  void FillBaselineTree();
  void SetUpRecords();

  FLM_Stream stream_;
  FLM_Foundation foundation_;
  CProjectTree projects_;
  CBaselineTimeline timeline_;
  CBaselineTree baselines_;
  CTLActivitiesCombo records_;
  CBrowseTLEntityButton browse_;
  CNewTLEntityButton new_record_;
};

}  // namespace rvdlg
