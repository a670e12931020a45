#pragma once
// Internal: the nested message loop shared by every modal window.
#include "platform/window.h"

namespace plat {

// Shows the modal window to the UI host, pumps this thread's messages and
// lets the host act until the window has ended, then tells the host it is
// gone. The owner is disabled around the loop when it was enabled.
void RunModal(Window& window);

}  // namespace plat
