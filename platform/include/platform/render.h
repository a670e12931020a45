#pragma once
// Draws any window as text, the way the terminal host and transcripts show it.
#include <string>

namespace plat {

class Window;

// A few lines: the caption line with the window's kind and template id, then
// one line per visible control with its id, kind, text and state. Property
// sheets show their tabs, the active page's controls and their buttons.
std::string RenderWindow(const Window& window);
// A control's text without its accelerator marks ("&&" is one ampersand).
std::string WithoutAmpersands(const std::string& text);
// One line for a window that shows progress (its status lines and bar).
std::string RenderProgressLine(const Window& window);

}  // namespace plat
