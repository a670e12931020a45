#pragma once
// The comment forms of adding to source control: plain, with an activity of
// the view's stream, with a Tracklane record. They are the check-out forms
// over their own templates: keep checked out, preserve time and, for a
// replicated VOB, the mastership of new branches.
#include "fileops/checkout_dlgs.h"

// "Add To Source Control". Results: IdOk, IdApplyToAll or IdCancel.
class CAddToSrcCommentDlg : public CCheckoutCommentDlg {
 public:
  explicit CAddToSrcCommentDlg(plat::Window* parent = nullptr);
};

class CAddToSrcActivityCommentDlg : public CCheckoutActivityCommentDlg {
 public:
  CAddToSrcActivityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent = nullptr);
};

class CAddToSrcTLEntityCommentDlg : public CCheckoutTLEntityCommentDlg {
 public:
  CAddToSrcTLEntityCommentDlg(CFileItem& item, GCL_Status& status, plat::Window* parent = nullptr);
};
