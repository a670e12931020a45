#pragma once
// Small readings of a dialog the file operations' dialogs share.
#include <string>

#include "platform/controls.h"
#include "platform/dialog.h"

inline bool IsChecked(const plat::Dialog& dialog, int id) {
  const auto* box = dialog.Item<plat::Button>(id);
  return box && box->GetCheck() == plat::Checked;
}

// The template text of a control: the dialogs format theirs.
inline std::string TemplateText(const plat::DialogTemplate* t, int id) {
  if (t)
    for (const auto& control : t->controls)
      if (control.id == id) return control.text;
  return {};
}
