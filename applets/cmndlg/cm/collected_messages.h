#pragma once
// The messages a model call printed, as the change-management dialogs show
// them.
#include <cstdint>
#include <string>

class FLM_ImsgRedirector;
namespace plat {
class Window;
}

// The collected messages, one a line; the status's text when there are none.
std::string CollectedText(const FLM_ImsgRedirector& collected, int status);
// That text in a plain box over the owner.
void ShowCollected(plat::Window* owner, const FLM_ImsgRedirector& collected, int status);
// "SENTENCE\n\nCOLLECTED" in a box with the icon (plat::mb::Icon*).
void ShowFailure(plat::Window* owner, const std::string& sentence, const FLM_ImsgRedirector& collected, int status,
                 std::uint32_t icon);
