// The entries of the activity dialogs and the stream chooser.
#include "cm/activity_entries.h"

#include "cm/act_contribs_dlg.h"
#include "cm/browse_for_activity_dlg.h"
#include "cm/browse_tl_activity_dlg.h"
#include "cm/stream_chooser_dlg.h"
#include "res/library_resources.h"
#include "rvcmndlg/entries.h"

static_assert(RV_STREAM_CHOOSER_DELIVER == CStreamChooser::kDeliver &&
              RV_STREAM_CHOOSER_DELIVER_TARGET == CStreamChooser::kDeliverTarget);

namespace {

constexpr int kCancelled = -1;

}  // namespace

int rvBrowseForActivity(const FLM_Stream& stream, FLM_Activity& activity, plat::Window* parent, int allow_new,
                        int show_no_activity) {
  rvcmndlg::EntryScope resources;
  CBrowseForActivityDialog dialog(stream, activity, parent);
  dialog.m_allowNew = allow_new;
  dialog.m_showNoActivity = show_no_activity;
  if (dialog.DoModal() != plat::IdOk) return kCancelled;
  activity = dialog.Chosen();
  return 0;
}

int rvActContribs(const FLM_Activity& activity, plat::Window* parent) {
  rvcmndlg::EntryScope resources;
  return RunActContribs(activity, parent) == plat::IdOk ? 0 : kCancelled;
}

int rvBrowseForTLActivity(const FLM_Stream& stream, FLM_TLEntityID& record, plat::Window* parent) {
  rvcmndlg::EntryScope resources;
  CBrowseForTLActivityDialog dialog(stream, record, parent);
  if (dialog.DoModal() != plat::IdOk) return kCancelled;
  record = dialog.Chosen();
  return 0;
}

int rvStreamChooser(const FLM_Vob& vob, FLM_Stream& stream, int mode, plat::Window* parent) {
  // The mode picks the title, texts and help topic: any other is refused.
  if (!CStreamChooser::IsMode(mode)) return kCancelled;
  rvcmndlg::EntryScope resources;
  CStreamChooser dialog(vob, static_cast<CStreamChooser::Mode>(mode), parent);
  if (dialog.DoModal() != plat::IdOk) return kCancelled;
  stream = dialog.Chosen();
  return 0;
}
