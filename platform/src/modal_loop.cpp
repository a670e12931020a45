#include "modal_loop.h"

#include "platform/message.h"
#include "platform/uihost.h"

namespace plat {

namespace {
bool HasEnded(Window& window) { return !window.IsWindow() || !window.IsModal() || window.ModalEnded(); }
}  // namespace

void RunModal(Window& window, const std::function<void()>& init, bool present) {
  Window* owner = window.Owner();
  const bool disabled_owner = owner && owner != &window && owner->IsEnabled();
  if (disabled_owner) owner->EnableWindow(false);
  if (init) init();
  // A window that ended while it initialised never reaches the user.
  if (!present || HasEnded(window)) {
    Message m;
    while (!HasEnded(window)) {
      if (!GetMessage(m)) {
        PostQuitMessage(static_cast<int>(m.wparam));
        window.EndModal(IdCancel);
        break;
      }
      DispatchMessage(m);
    }
    if (disabled_owner) owner->EnableWindow(true);
    return;
  }
  auto host = CurrentUiHost();
  window.SetStyle(window.Style() | ws::Visible);
  host->WindowShown(window, true);
  while (!HasEnded(window)) {
    Message m;
    if (PeekMessage(m, true)) {
      if (m.message == msg::Quit) {
        // The quit is for the outer loop: end this one and pass it on.
        PostQuitMessage(static_cast<int>(m.wparam));
        window.EndModal(IdCancel);
        break;
      }
      DispatchMessage(m);
      continue;
    }
    if (host->Interact(window) == HostAnswer::Acted || HasEnded(window)) continue;
    bool timed_out = false;
    if (GetMessageTimeout(m, host->WaitTimeoutMs(), timed_out)) {
      DispatchMessage(m);
    } else if (timed_out) {
      host->WaitTimedOut(window);
      if (!HasEnded(window)) window.EndModal(IdCancel);
    } else {
      PostQuitMessage(static_cast<int>(m.wparam));
      window.EndModal(IdCancel);
    }
  }
  host->WindowHidden(window);
  // The owner is enabled before the window goes, so focus returns to it.
  if (disabled_owner) owner->EnableWindow(true);
}

}  // namespace plat
