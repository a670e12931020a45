#include "fileops/confirm_undo_checkout_dlg.h"

#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

CConfirmUndoCheckoutDlg::CConfirmUndoCheckoutDlg(plat::Window* parent)
    : plat::Dialog(IDD_CONFIRM_UNDO_CHECKOUT, parent) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CConfirmUndoCheckoutDlg::OnInitDialog() {
  // The question names the file; the template's text is its format.
  if (const auto* t = Template())
    for (const auto& control : t->controls)
      if (control.id == IDC_CONFIRM_UNDO_TEXT)
        SetDlgItemText(IDC_CONFIRM_UNDO_TEXT, plat::FormatPrintf(control.text, {m_name}));
  plat::Dialog::OnInitDialog();
  for (int id : {IdYesToAll, plat::IdCancel})
    if (plat::Window* button = GetDlgItem(id)) button->EnableWindow(m_multiple != 0);
  if (plat::Window* keep = GetDlgItem(IDC_CONFIRM_UNDO_KEEP)) keep->EnableWindow(m_keepAllowed != 0);
  return true;
}

void CConfirmUndoCheckoutDlg::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxCheck(dx, IDC_CONFIRM_UNDO_KEEP, m_keep);
}

bool CConfirmUndoCheckoutDlg::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked) return plat::Dialog::OnCommand(id, code);
  switch (id) {
    case plat::IdYes:
    case IdYesToAll:
      if (UpdateData(true)) EndDialog(id);
      return true;
    case plat::IdNo: EndDialog(plat::IdNo); return true;
    case plat::IdCancel: EndDialog(plat::IdCancel); return true;  // No to All
    default: return plat::Dialog::OnCommand(id, code);
  }
}
