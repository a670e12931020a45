#include "fileops/operations_page.h"

#include "fileops/addsrc_advanced_options.h"
#include "gu.h"
#include "platform/controls.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"

using namespace rvcmndlg::res;

CRvOperationsPage::CRvOperationsPage() : plat::PropertyPage(IDD_OPERATIONS_PAGE) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
  m_suppress_errors = m_options.SuppressErrors();
  m_ci_prompt_comment = m_options.PromptForCIComment();
  m_use_checkout_info = m_options.UseCheckoutInfo();
  m_ci_preserve_time = m_options.CheckinPreserveTime();
  m_co_prompt_comment = m_options.PromptForCOComment();
  m_co_reserved = m_options.CheckoutReserved();
  m_co_unreserved = m_options.CheckoutUnreserved();
  m_co_nonmastered = m_options.CheckoutNonmastered();
  m_co_preserve_time = m_options.CheckoutPreserveTime();
  m_confirm_uncheckout = m_options.ConfirmUncheckout();
  m_uncheckout_save_file = m_options.UncheckoutSaveFile();
  m_addsrc_master = m_options.AddSrcMaster();
}

bool CRvOperationsPage::OnInitDialog() {
  plat::PropertyPage::OnInitDialog();
  {
    rvcmndlg::EntryScope resources;
    m_font.Create(IDD_OPERATIONS_PAGE);
  }
  m_font.Apply(*this);
  UpdateUnreserved();
  return true;
}

void CRvOperationsPage::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxCheck(dx, IDC_SUPPRESS_ERRORS, m_suppress_errors);
  plat::DdxCheck(dx, IDC_CI_PROMPT_COMMENT, m_ci_prompt_comment);
  plat::DdxCheck(dx, IDC_CI_USE_CHECKOUT_INFO, m_use_checkout_info);
  plat::DdxCheck(dx, IDC_CI_PRESERVE_TIME, m_ci_preserve_time);
  plat::DdxCheck(dx, IDC_CO_PROMPT_COMMENT, m_co_prompt_comment);
  plat::DdxCheck(dx, IDC_CO_RESERVED, m_co_reserved);
  plat::DdxCheck(dx, IDC_CO_UNRESERVED, m_co_unreserved);
  plat::DdxCheck(dx, IDC_CO_NONMASTERED, m_co_nonmastered);
  plat::DdxCheck(dx, IDC_CO_PRESERVE_TIME, m_co_preserve_time);
  plat::DdxCheck(dx, IDC_UNCO_CONFIRM, m_confirm_uncheckout);
  plat::DdxCheck(dx, IDC_UNCO_SAVE_FILE, m_uncheckout_save_file);
}

bool CRvOperationsPage::OnCommand(int id, int code) {
  if (code != plat::bn::Clicked) return plat::PropertyPage::OnCommand(id, code);
  switch (id) {
    case IDC_CO_RESERVED: UpdateUnreserved(); return true;
    case IDC_CI_PRESERVE_TIME: m_ci_preserve_time_changed = true; return true;
    case IDC_CO_PRESERVE_TIME: m_co_preserve_time_changed = true; return true;
    case IDC_ADDSRC_ADVANCED: OnAdvanced(); return true;
    default: return plat::PropertyPage::OnCommand(id, code);
  }
}

void CRvOperationsPage::UpdateUnreserved() {
  auto* reserved = Item<plat::Button>(IDC_CO_RESERVED);
  auto* unreserved = Item<plat::Button>(IDC_CO_UNRESERVED);
  if (!reserved || !unreserved) return;
  const bool on = reserved->GetCheck() == plat::Checked;
  unreserved->EnableWindow(on);
  if (!on) unreserved->SetCheck(plat::Unchecked);
}

void CRvOperationsPage::OnAdvanced() {
  CAddSrcAdvancedOptions dialog(this);
  dialog.m_master = m_addsrc_master;
  if (dialog.DoModal() != plat::IdOk) return;
  m_addsrc_master = dialog.m_master;
  SetModified(true);
}

bool CRvOperationsPage::OnApply() {
  if (IsCreated() && !UpdateData(true)) return false;
  m_options.SetSuppressErrors(m_suppress_errors);
  m_options.SetPromptForCIComment(m_ci_prompt_comment);
  if (m_ci_preserve_time_changed) m_options.SetCheckinPreserveTime(m_ci_preserve_time);
  m_options.SetUseCheckoutInfo(m_use_checkout_info);
  m_options.SetPromptForCOComment(m_co_prompt_comment);
  m_options.SetCheckoutReserved(m_co_reserved);
  m_options.SetCheckoutUnreserved(m_co_unreserved);
  m_options.SetCheckoutNonmastered(m_co_nonmastered);
  if (m_co_preserve_time_changed) m_options.SetCheckoutPreserveTime(m_co_preserve_time);
  m_options.SetAddSrcMaster(m_addsrc_master);
  m_options.SetConfirmUncheckout(m_confirm_uncheckout);
  m_options.SetUncheckoutSaveFile(m_uncheckout_save_file);
  return true;
}

void CRvOperationsPage::OnSheetHelp() { gu_help(plat::Hwnd::Null, kHelpTopic, 1, 0); }
