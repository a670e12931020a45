#include "propsheet/propsheet_font.h"

#include "platform/resources.h"

bool CPropertySheetFont::Create(int template_id) {
  if (created_) return true;
  const auto dialog = plat::FindDialogTemplate(template_id);
  if (!dialog) return false;
  // Tenths of a point: an 8-point template gives 88, that is 8.8 points.
  font_ = plat::Font{dialog->font_face, dialog->point_size * 11};
  created_ = true;
  return true;
}

void CPropertySheetFont::Apply(plat::Window& window) const {
  if (!created_) return;
  window.SetFont(font_);
  for (plat::Window* child : window.Children()) child->SetFont(font_);
}
