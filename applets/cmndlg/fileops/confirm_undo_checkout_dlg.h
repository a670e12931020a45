#pragma once
// "Confirm Undo Check Out": asks before a check-out is undone, and whether
// to keep a copy of the file.
#include <string>

#include "platform/dialog.h"

class CConfirmUndoCheckoutDlg : public plat::Dialog {
 public:
  explicit CConfirmUndoCheckoutDlg(plat::Window* parent = nullptr);

  // Inputs; m_keep is also the answer.
  int m_keep = 0;
  std::string m_name;
  int m_multiple = 0;
  int m_keepAllowed = 0;

  // Results of DoModal: IdYes, IdYesToAll, IdNo, or IdCancel for No to All.
  static constexpr int IdYesToAll = 24595;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(plat::DataExchange& dx) override;
  bool OnCommand(int id, int code) override;
};
