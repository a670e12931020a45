#pragma once
// The font adjustment that sheets and pages apply when their dialogs are
// initialised: one font, made once from a dialog template's face at 11
// tenths of its point size, given to a window and its direct children.
#include "platform/window.h"

class CPropertySheetFont {
 public:
  // Makes the font from the template (once; later calls keep the first).
  // False when the template cannot be found.
  bool Create(int template_id);
  bool IsCreated() const { return created_; }
  const plat::Font& GetFont() const { return font_; }
  // Gives the font to the window and each of its direct children.
  void Apply(plat::Window& window) const;

 private:
  plat::Font font_;
  bool created_ = false;
};
