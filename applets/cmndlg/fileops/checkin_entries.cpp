// The entries of check-in, and the list's members.
#include <memory>

#include "fileops/checkin_operation.h"
#include "fileops/entry_points.h"
#include "fileops/run_operation.h"
#include "platform/window.h"
#include "res/resource_ids.h"
#include "rvcmndlg/file_operation_list.h"

using namespace rvcmndlg::res;

namespace {

constexpr OperationRun kCheckinRun{IDS_CHECKING_IN, IDR_AVI_CHECKIN, "rvCheckinOp"};

}  // namespace

int rvCheckinOp(plat::ObjectArray& entries, plat::Window* parent, int show_progress) {
  return RunFileOperation(entries, parent, show_progress, kCheckinRun, [](CProgressDlg& progress, plat::ObjectArray& list) {
    return std::make_unique<CCheckinOperation>(progress, list);
  });
}

int rvCheckinWithOptionsOp(plat::ObjectArray& entries, const std::string& comment, int identical, int prompt,
                           int use_checkout_info, plat::Window* parent, int preserve_time, int show_progress) {
  return RunFileOperation(entries, parent, show_progress, kCheckinRun, [&](CProgressDlg& progress, plat::ObjectArray& list) {
    auto operation = std::make_unique<CCheckinOperation>(progress, list);
    operation->SetOptions(comment, identical, prompt, use_checkout_info, preserve_time);
    return operation;
  });
}

int CFileOperationList::Checkin(plat::Window* parent) { return rvCheckinOp(*this, parent, m_CIShowProgress); }

int CFileOperationList::Checkin(const std::string& path, plat::Window* parent) {
  AddFile(path, 0);
  return Checkin(parent);
}

int CFileOperationList::CheckinWithOptions(plat::Window* parent) {
  return rvCheckinWithOptionsOp(*this, m_CIComment, m_CIIdentical, m_CIPrompt, m_CIUseCheckoutInfo, parent,
                                m_CIPreserveTime, m_CIShowProgress);
}

int CFileOperationList::CheckinWithOptions(const std::string& path, plat::Window* parent) {
  AddFile(path, 0);
  return CheckinWithOptions(parent);
}

int CFileOperationList::CheckinWithHwnd(plat::Hwnd window, int with_options) {
  plat::Window* parent = plat::FromHandle(window);
  return with_options ? CheckinWithOptions(parent) : Checkin(parent);
}
