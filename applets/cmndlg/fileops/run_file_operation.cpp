// The entries for callers without a framework of their own.
#include "fileops/entry_points.h"
#include "rvcmndlg/file_operation_list.h"
#include "platform/dialog.h"

namespace {

// Runs the operation code on the list; false when the code runs nothing.
bool RunCode(CFileOperationList& list, plat::Hwnd parent, int code, int no_ui) {
  switch (code) {
    case RV_FILEOP_CHECKIN:
      list.SetCIIdentical(1);
      if (no_ui) {
        list.SetCIComment("");
        list.SetCIShowProgressDlg(0);
        list.SetCIUseCheckoutInfo(0);
        list.SetCIPrompt(0);
      }
      list.CheckinWithHwnd(parent, 1);
      return true;
    case RV_FILEOP_CHECKOUT:
      if (no_ui) {
        list.SetCOComment("");
        list.SetCOShowProgressDlg(0);
        list.CheckoutWithHwnd(parent, 1);
      } else {
        list.CheckoutWithHwnd(parent, 0);
      }
      return true;
    case RV_FILEOP_UNCHECKOUT:
      if (no_ui) {
        list.SetUNCOShowProgressDlg(0);
        list.UncheckoutWithHwnd(parent, 1);
      } else {
        list.UncheckoutWithHwnd(parent, 0);
      }
      return true;
    case RV_FILEOP_RESERVE:
      list.SetRESReserve(1);
      list.ReserveWithHwnd(parent);
      return true;
    case RV_FILEOP_UNRESERVE:
      list.SetRESReserve(0);
      list.ReserveWithHwnd(parent);
      return true;
    case RV_FILEOP_ADD_TO_SOURCE:
      if (no_ui) {
        list.SetATSComment("");
        list.SetATSShowProgressDlg(0);
        list.AddToSrcWithHwnd(parent, 1);
      } else {
        list.AddToSrcWithHwnd(parent, 0);
      }
      return true;
    default: return false;
  }
}

void Fill(CFileOperationList& list, const char* const* paths, int count) {
  for (int i = 0; i < count; ++i) list.AddFile(paths[i] ? paths[i] : "", 0);
}

}  // namespace

int rvRunFileOperation(const char* const* paths, int count, plat::Hwnd parent, int code) {
  if (!paths || count < 0) return 0;
  plat::TransientApp app("");
  CFileOperationList list;
  Fill(list, paths, count);
  RunCode(list, parent, code, 0);
  return 0;
}

int rvRunFileOperationEx(const char* const* paths, int* results, int count, plat::Hwnd parent, int code, int no_ui) {
  if (code == RV_FILEOP_REMOVE_VIEW) return 0;  // removing views arrives with view management
  if (!paths || count < 0) return 0;
  plat::TransientApp app("");
  CFileOperationList list;
  Fill(list, paths, count);
  RunCode(list, parent, code, no_ui);
  if (results)
    for (int i = 0; i < count; ++i) results[i] = list.Entry(i)->Status() == COperationObj::kSucceeded ? 1 : 0;
  return 0;
}
