// The entries of undo check-out and reserve, and the list's members.
#include <memory>

#include "fileops/entry_points.h"
#include "rvcmndlg/file_operation_list.h"
#include "fileops/run_operation.h"
#include "fileops/uncheckout_operation.h"
#include "platform/window.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

int rvUncheckoutOp(plat::ObjectArray& entries, plat::Window* parent, int show_progress) {
  return RunFileOperation(entries, parent, show_progress, {IDS_UNDOING_CHECKOUT, IDR_AVI_OTHER, "rvUncheckoutOp"},
                          [](CProgressDlg& progress, plat::ObjectArray& list) {
                            return std::make_unique<CUncheckoutOperation>(progress, list);
                          });
}

int rvUncheckoutWithOptionsOp(plat::ObjectArray& entries, int keep_file, plat::Window* parent, int show_progress) {
  return RunFileOperation(entries, parent, show_progress, {IDS_UNDOING_CHECKOUT, IDR_AVI_OTHER, "rvUncheckoutOp"},
                          [keep_file](CProgressDlg& progress, plat::ObjectArray& list) {
                            auto operation = std::make_unique<CUncheckoutOperation>(progress, list);
                            operation->SetOptions(keep_file);
                            return operation;
                          });
}

int rvReserveOp(plat::ObjectArray& entries, int reserve, plat::Window* parent, int show_progress) {
  const bool on = reserve != 0;
  return RunFileOperation(entries, parent, show_progress,
                          {on ? IDS_RESERVING : IDS_UNRESERVING, IDR_AVI_OTHER, "rvReserveOp"},
                          [on](CProgressDlg& progress, plat::ObjectArray& list) {
                            return std::make_unique<CReserveOperation>(progress, list, on ? 1 : 0);
                          });
}

int CFileOperationList::Uncheckout(plat::Window* parent) { return rvUncheckoutOp(*this, parent, m_UNCOShowProgress); }

int CFileOperationList::Uncheckout(const std::string& path, plat::Window* parent) {
  AddFile(path, 0);
  return Uncheckout(parent);
}

int CFileOperationList::UncheckoutWithOptions(plat::Window* parent) {
  return rvUncheckoutWithOptionsOp(*this, m_UNCOKeepFile, parent, m_UNCOShowProgress);
}

int CFileOperationList::UncheckoutWithOptions(const std::string& path, plat::Window* parent) {
  AddFile(path, 0);
  return UncheckoutWithOptions(parent);
}

// The caller's window is one of the framework's: its handle finds it (and
// a handle that names no window means no parent).
int CFileOperationList::UncheckoutWithHwnd(plat::Hwnd window, int with_options) {
  plat::Window* parent = plat::FromHandle(window);
  return with_options ? UncheckoutWithOptions(parent) : Uncheckout(parent);
}

int CFileOperationList::Reserve(plat::Window* parent) { return rvReserveOp(*this, m_RESReserve, parent, m_RESShowProgress); }

int CFileOperationList::Reserve(const std::string& path, plat::Window* parent) {
  AddFile(path, 0);
  return Reserve(parent);
}

int CFileOperationList::ReserveWithHwnd(plat::Hwnd window) { return Reserve(plat::FromHandle(window)); }
