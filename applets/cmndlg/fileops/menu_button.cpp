#include "fileops/menu_button.h"

#include "platform/dialog.h"
#include "platform/message.h"

bool CMenuButton::OnReflect(int code) {
  if (code != plat::bn::Clicked) return false;
  const plat::Menu menu = BuildMenu();
  if (menu.items.empty()) return true;
  if (const int chosen = plat::TrackPopupMenu(menu, this)) OnMenuCommand(chosen);
  return true;
}

void CMenuButton::OnMenuCommand(int command_id) {
  if (plat::Window* parent = Parent())
    plat::SendMessage(parent->GetHwnd(), plat::msg::Command, plat::MakeWParam(command_id, 0), 0);
}
