#pragma once
// The "Operations" options page: the user's editor for the settings of check
// in, check out, undo check out and add to source control.
#include "rvcmndlg/user_options.h"
#include "platform/propsheet.h"
#include "propsheet/propsheet_font.h"

class CRvOperationsPage : public plat::PropertyPage {
 public:
  static constexpr const char* kHelpTopic = "rvint_exp/operationsoptions.htm";
  // Reads the settings the page shows.
  CRvOperationsPage();

  int m_suppress_errors = 0;
  int m_ci_prompt_comment = 0;
  int m_use_checkout_info = 0;
  int m_ci_preserve_time = 0;
  int m_co_prompt_comment = 0;
  int m_co_reserved = 0;
  int m_co_unreserved = 0;
  int m_co_nonmastered = 0;
  int m_co_preserve_time = 0;
  int m_confirm_uncheckout = 0;
  int m_uncheckout_save_file = 0;
  int m_addsrc_master = 0;
  // The preserve-time settings are written only when their boxes changed.
  bool m_ci_preserve_time_changed = false;
  bool m_co_preserve_time_changed = false;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(plat::DataExchange& dx) override;
  bool OnCommand(int id, int code) override;
  bool OnApply() override;
  void OnSheetHelp() override;

 private:
  // "Unreserved if already reserved" only while "Reserved" is ticked.
  void UpdateUnreserved();
  void OnAdvanced();

  CUserOptions m_options;
  CPropertySheetFont m_font;
};
