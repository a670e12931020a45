#include "fileops/addsrc_dlgs.h"

#include "res/resource_ids.h"

using namespace rvcmndlg::res;

namespace {

constexpr char kHelp[] = "rvint_exp/addtosrccomment.htm";

// What every form starts with before the caller's values.
void SetDefaults(CCheckoutCommentDlg& dialog) { dialog.m_multiple = 1; }

}  // namespace

CAddToSrcCommentDlg::CAddToSrcCommentDlg(plat::Window* parent) : CCheckoutCommentDlg(IDD_ADDSRC_COMMENT, parent) {
  SetDefaults(*this);
  m_help = kHelp;
}

CAddToSrcActivityCommentDlg::CAddToSrcActivityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent)
    : CCheckoutActivityCommentDlg(IDD_ADDSRC_ACTIVITY_COMMENT, item, status, parent) {
  SetDefaults(*this);
  m_help = kHelp;
  m_activityAlwaysNeeded = true;
}

CAddToSrcTLEntityCommentDlg::CAddToSrcTLEntityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent)
    : CCheckoutTLEntityCommentDlg(IDD_ADDSRC_TL_COMMENT, item, status, parent) {
  SetDefaults(*this);
  m_help = kHelp;
  m_activityAlwaysNeeded = true;
}
