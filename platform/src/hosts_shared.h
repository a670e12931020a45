#pragma once
// Internal: the pieces the UI hosts share.
#include <string>
#include <vector>

#include "platform/window.h"

namespace plat {

struct Menu;
struct MenuItem;

// The text without blanks, tabs or carriage returns around it.
std::string Trim(const std::string& s);
// Splits words of an answer line: double quotes group, \" is a quote.
std::vector<std::string> Words(const std::string& line);
// The command id of the item named by an id or a text, 0 when none.
int FindMenuChoice(const std::vector<MenuItem>& items, const std::string& choice);
// A popup menu drawn as text, one item a line.
std::string MenuRendering(const Menu& menu);
// Ends a window whatever it takes: its default, then Cancel, then by force.
void EndWindowSomehow(Window& window, int attempt);

}  // namespace plat
