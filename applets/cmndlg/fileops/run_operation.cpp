#include "fileops/run_operation.h"

#include <exception>

#include "clp.h"
#include "fileops/common_operation.h"
#include "rvcmndlg/file_operation_list.h"
#include "fileops/progress_dlg.h"
#include "platform/dialog.h"
#include "platform/object.h"
#include "res/library_resources.h"

namespace {

void MarkNotProcessed(plat::ObjectArray& entries) {
  for (int i = 0; i < entries.GetSize(); ++i)
    if (auto* entry = dynamic_cast<COperationObj*>(entries.GetAt(i))) entry->SetStatus(COperationObj::kNotProcessed);
}

}  // namespace

int RunFileOperation(plat::ObjectArray& entries, plat::Window* parent, int show_progress, const OperationRun& run,
                     const OperationFactory& make) {
  rvcmndlg::EntryScope resources;
  try {
    CProgressDlg progress(run.title_id, run.animation_id, show_progress);
    if (!progress.Create(parent)) {
      // Without its window nobody could end the loop: run nothing.
      MarkNotProcessed(entries);
      return 0;
    }
    int succeeded = 0;
    {
      std::unique_ptr<CCommonOperation> operation = make(progress, entries);
      operation->Start();
      progress.RunModalLoop();
      operation->Join();
      clp_collectdatai(run.usage_event, entries.GetSize());
      succeeded = operation->SuccessCount();
    }
    return succeeded;
  } catch (const std::exception& e) {
    plat::MessageBox(parent, e.what(), std::string(), plat::mb::Ok | plat::mb::IconError);
  } catch (...) {
    plat::MessageBox(parent, "Unexpected failure.", std::string(), plat::mb::Ok | plat::mb::IconError);
  }
  return 0;
}
