#pragma once
// Internal: the nested message loop shared by every modal window.
#include <functional>

#include "platform/window.h"

namespace plat {

// Shows the modal window to the UI host, pumps this thread's messages and
// lets the host act until the window has ended, then tells the host it is
// gone. The owner is disabled around the loop when it was enabled.
// init runs once the owner is disabled, before the window is shown (the
// dialog's initialisation).
// A window that is not presented stays hidden and only pumps messages.
void RunModal(Window& window, const std::function<void()>& init = {}, bool present = true);

}  // namespace plat
