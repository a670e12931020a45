// The entries of check-out, and the list's members.
#include <memory>

#include "fileops/checkout_operation.h"
#include "fileops/entry_points.h"
#include "fileops/run_operation.h"
#include "platform/window.h"
#include "res/resource_ids.h"
#include "rvcmndlg/file_operation_list.h"

using namespace rvcmndlg::res;

namespace {

constexpr OperationRun kCheckoutRun{IDS_CHECKING_OUT, IDR_AVI_CHECKOUT, "rvCheckoutOp"};

}  // namespace

int rvCheckoutOp(plat::ObjectArray& entries, plat::Window* parent, int version, int use_private, int show_progress) {
  return RunFileOperation(entries, parent, show_progress, kCheckoutRun,
                          [version, use_private](CProgressDlg& progress, plat::ObjectArray& list) {
                            auto operation = std::make_unique<CCheckoutOperation>(progress, list);
                            operation->SetFlags(version, use_private);
                            return operation;
                          });
}

int rvCheckoutWithOptionsOp(plat::ObjectArray& entries, const std::string& comment, int reserved, int unreserved,
                            int version, int use_private, plat::Window* parent, int preserve_time, int show_progress,
                            int nonmastered) {
  return RunFileOperation(entries, parent, show_progress, kCheckoutRun, [&](CProgressDlg& progress, plat::ObjectArray& list) {
    auto operation = std::make_unique<CCheckoutOperation>(progress, list);
    operation->SetOptions(comment, reserved, unreserved, version, use_private, preserve_time, nonmastered);
    return operation;
  });
}

int CFileOperationList::Checkout(plat::Window* parent) {
  return rvCheckoutOp(*this, parent, m_COVer, m_COUsePrivate, m_COShowProgress);
}

int CFileOperationList::Checkout(const std::string& path, plat::Window* parent) {
  AddFile(path, 0);
  return Checkout(parent);
}

int CFileOperationList::CheckoutWithOptions(plat::Window* parent) {
  return rvCheckoutWithOptionsOp(*this, m_COComment, m_COReserved, m_COUnreserved, m_COVer, m_COUsePrivate, parent,
                                 m_COPreserveTime, m_COShowProgress, m_CONonmastered);
}

int CFileOperationList::CheckoutWithOptions(const std::string& path, plat::Window* parent) {
  AddFile(path, 0);
  return CheckoutWithOptions(parent);
}

int CFileOperationList::CheckoutWithHwnd(plat::Hwnd window, int with_options) {
  plat::Window* parent = plat::FromHandle(window);
  return with_options ? CheckoutWithOptions(parent) : Checkout(parent);
}
