#include "fileops/addsrc_advanced_options.h"

#include "gu.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"

CAddSrcAdvancedOptions::CAddSrcAdvancedOptions(plat::Window* parent)
    : plat::Dialog(rvcmndlg::res::IDD_ADDSRC_ADVANCED, parent) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

void CAddSrcAdvancedOptions::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxCheck(dx, rvcmndlg::res::IDC_ADDSRC_MASTER, m_master);
}

void CAddSrcAdvancedOptions::OnHelp() { gu_help(plat::Hwnd::Null, kHelpTopic, 1, 0); }
