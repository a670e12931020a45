#pragma once
// A push button that opens a menu instead of acting at once: a click asks
// the button for its menu, shows it, and hands the chosen command on.
#include "platform/controls.h"
#include "platform/resources.h"

class CMenuButton : public plat::Button {
 protected:
  // The menu to show now; nothing (no items) shows no menu.
  virtual plat::Menu BuildMenu() = 0;
  // A command was chosen: by default the parent hears of it as a command
  // from a menu.
  virtual void OnMenuCommand(int command_id);
  bool OnReflect(int code) override;
};
