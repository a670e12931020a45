// Draws every dialog template of the library, in its initial state, with the
// graphical host and saves each as DIR/TEMPLATE-NAME.png.
#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "platform/dialog.h"
#include "platform/qt_host.h"
#include "qt_window.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"

namespace {

using namespace rvcmndlg::res;

// Every template needs a name here: a new one without is an error, so no
// template goes without its picture.
const std::map<int, std::string>& TemplateNames() {
  static const std::map<int, std::string> names = {
      {IDD_OPERATIONS_PAGE, "IDD_OPERATIONS_PAGE"},
      {IDD_ADDSRC_ADVANCED, "IDD_ADDSRC_ADVANCED"},
      {IDD_PROGRESS, "IDD_PROGRESS"},
      {IDD_IMSG_PROGRESS, "IDD_IMSG_PROGRESS"},
      {IDD_CONFIRM_UNDO_CHECKOUT, "IDD_CONFIRM_UNDO_CHECKOUT"},
      {IDD_RUN_COMMAND, "IDD_RUN_COMMAND"},
      {IDD_BROWSE_ACTIVITY, "IDD_BROWSE_ACTIVITY"},
      {IDD_NEW_ACTIVITY, "IDD_NEW_ACTIVITY"},
      {IDD_ACT_CONTRIBS, "IDD_ACT_CONTRIBS"},
      {IDD_STREAM_CHOOSER, "IDD_STREAM_CHOOSER"},
      {IDD_BROWSE_TL_ACTIVITY, "IDD_BROWSE_TL_ACTIVITY"},
      {IDD_VIEW_PROPERTIES, "IDD_VIEW_PROPERTIES"},
      {IDD_BROWSE_VIEWS, "IDD_BROWSE_VIEWS"},
      {IDD_CHECKOUT_COMMENT, "IDD_CHECKOUT_COMMENT"},
      {IDD_CHECKOUT_ACTIVITY_COMMENT, "IDD_CHECKOUT_ACTIVITY_COMMENT"},
      {IDD_CHECKOUT_TL_COMMENT, "IDD_CHECKOUT_TL_COMMENT"},
      {IDD_CONFIRM_USE_PRIVATE, "IDD_CONFIRM_USE_PRIVATE"},
      {IDD_CONFIRM_CHECKOUT_VERSION, "IDD_CONFIRM_CHECKOUT_VERSION"},
      {IDD_GENERAL_PAGE, "IDD_GENERAL_PAGE"},
      {IDD_GENERAL_SYMLINK_PAGE, "IDD_GENERAL_SYMLINK_PAGE"},
      {IDD_GENERAL_CHECKOUT_PAGE, "IDD_GENERAL_CHECKOUT_PAGE"},
      {IDD_GENERAL_ELEMENT_PAGE, "IDD_GENERAL_ELEMENT_PAGE"},
      {IDD_GENERAL_BRANCH_PAGE, "IDD_GENERAL_BRANCH_PAGE"},
      {IDD_GENERAL_DERIVEDOBJ_PAGE, "IDD_GENERAL_DERIVEDOBJ_PAGE"},
      // Start View, Stop View and Remove View.
      {IDD_START_VIEW, "IDD_START_VIEW"},
      {IDD_STOP_VIEW, "IDD_STOP_VIEW"},
      {IDD_REMOVE_VIEW, "IDD_REMOVE_VIEW"},
      // Mount and unmount VOB.
      {IDD_MOUNT_VOB, "IDD_MOUNT_VOB"},
      {IDD_UNMOUNT_VOB, "IDD_UNMOUNT_VOB"},
      // The Lock and Protection pages and the prompt.
      {IDD_LOCK_PAGE, "IDD_LOCK_PAGE"},
      {IDD_PROTECTION_PAGE, "IDD_PROTECTION_PAGE"},
      {IDD_PROMPT, "IDD_PROMPT"},
      {IDD_CUSTOM_PAGE, "IDD_CUSTOM_PAGE"},
      {IDD_LABELS_PAGE, "IDD_LABELS_PAGE"},
      {IDD_ATTRIBUTES_PAGE, "IDD_ATTRIBUTES_PAGE"},
      {IDD_HYPERLINKS_PAGE, "IDD_HYPERLINKS_PAGE"},
      {IDD_PROMPT_ATTRIBUTE, "IDD_PROMPT_ATTRIBUTE"},
      {IDD_PROMPT_LABEL_TYPE, "IDD_PROMPT_LABEL_TYPE"},
      {IDD_PROMPT_TRIGGER_TYPE, "IDD_PROMPT_TRIGGER_TYPE"},
  };
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: rv_screenshots DIR\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  QApplication app(argc, argv);
  auto host = std::make_shared<plat::QtHost>();
  plat::SetUiHost(host);
  const plat::ResourceScope scope(rvcmndlg::LibraryResources());
  int status = 0;
  for (int id : rvcmndlg::LibraryResources().DialogIds()) {
    const auto name = TemplateNames().find(id);
    if (name == TemplateNames().end()) {
      std::cerr << "rv_screenshots: template " << id << " has no name\n";
      status = 1;
      continue;
    }
    plat::Dialog dialog(id);
    QWidget* window = nullptr;
    if (dialog.Create(nullptr)) {
      dialog.ShowWindow(true);
      window = plat::qt::FindHostWindow(dialog.GetHwnd());
    }
    const std::filesystem::path file = dir / (name->second + ".png");
    if (!window || !window->grab().save(QString::fromStdString(file.string()))) {
      std::cerr << "rv_screenshots: cannot draw " << name->second << "\n";
      status = 1;
      continue;
    }
    std::cout << file.string() << "\n";
    dialog.DestroyWindow();
  }
  for (const auto& failure : host->Failures()) {
    std::cerr << "rv_screenshots: " << failure << "\n";
    status = 1;
  }
  plat::SetUiHost(nullptr);
  return status;
}
