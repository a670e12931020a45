#pragma once
// What the change-management dialogs share: the template comes from the
// library's resources whoever calls, and Help (its button or the F1 key)
// opens the dialog's topic.
#include <string>

#include "platform/dialog.h"

class CCmDialog : public plat::Dialog {
 protected:
  CCmDialog(int template_id, std::string help_topic, plat::Window* parent);

  void OnHelp() override;
  bool OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam, const std::string* text,
                 plat::LResult& result) override;

 private:
  const std::string help_topic_;
};
