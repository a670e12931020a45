#include "cm/cm_dialog.h"

#include "gu.h"
#include "res/library_resources.h"

CCmDialog::CCmDialog(int template_id, std::string help_topic, plat::Window* parent)
    : plat::Dialog(template_id, parent), help_topic_(std::move(help_topic)) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

void CCmDialog::OnHelp() { gu_help(plat::Hwnd::Null, help_topic_.c_str(), 1, 0); }

bool CCmDialog::OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam, const std::string* text,
                          plat::LResult& result) {
  if (message != plat::msg::Help) return plat::Dialog::OnMessage(message, wparam, lparam, text, result);
  OnHelp();
  result = 1;
  return true;
}
