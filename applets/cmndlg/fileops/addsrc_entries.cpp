// The entries of adding to source control, and the list's members.
#include <memory>

#include "fileops/addsrc_operation.h"
#include "fileops/entry_points.h"
#include "fileops/run_operation.h"
#include "platform/window.h"
#include "res/resource_ids.h"
#include "rvcmndlg/file_operation_list.h"

using namespace rvcmndlg::res;

namespace {

constexpr OperationRun kAddRun{IDS_ADDING_TO_SOURCE, IDR_AVI_OTHER, "rvAddToSrcOp"};

}  // namespace

int rvAddToSrcOp(plat::ObjectArray& entries, plat::Window* parent, int show_progress) {
  return RunFileOperation(entries, parent, show_progress, kAddRun, [](CProgressDlg& progress, plat::ObjectArray& list) {
    return std::make_unique<CAddToSrcOperation>(progress, list);
  });
}

int rvAddToSrcWithOptionsOp(plat::ObjectArray& entries, const std::string& comment, int keep_checked_out,
                            plat::Window* parent, int preserve_time, int show_progress) {
  return RunFileOperation(entries, parent, show_progress, kAddRun, [&](CProgressDlg& progress, plat::ObjectArray& list) {
    auto operation = std::make_unique<CAddToSrcOperation>(progress, list);
    operation->SetOptions(comment, keep_checked_out, preserve_time);
    return operation;
  });
}

int CFileOperationList::AddToSrc(plat::Window* parent) { return rvAddToSrcOp(*this, parent, m_ATSShowProgress); }

int CFileOperationList::AddToSrc(const std::string& path, plat::Window* parent) {
  AddFile(path, 0);
  return AddToSrc(parent);
}

int CFileOperationList::AddToSrcWithOptions(plat::Window* parent) {
  return rvAddToSrcWithOptionsOp(*this, m_ATSComment, m_ATSKeepCheckedOut, parent, m_ATSPreserveTime,
                                 m_ATSShowProgress);
}

int CFileOperationList::AddToSrcWithOptions(const std::string& path, plat::Window* parent) {
  AddFile(path, 0);
  return AddToSrcWithOptions(parent);
}

int CFileOperationList::AddToSrcWithHwnd(plat::Hwnd window, int with_options) {
  plat::Window* parent = plat::FromHandle(window);
  return with_options ? AddToSrcWithOptions(parent) : AddToSrc(parent);
}
