#pragma once
// The registration rows of the metadata pages (their place in the table is
// page_registration.cpp's), the single-list pages callers construct
// themselves, and what the pages' context commands share.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/resources.h"

class CRvPropertyBase;
class GCL_Status;
class RVL_HyperlinkComposite;
namespace plat {
class Window;
}

namespace rvcmndlg {

void RegisterLabelsPage();
void RegisterAttrHLinkPage();
void RegisterProtectionPage();
void RegisterLockPage();

// The Attributes and Hyperlinks pages: the Custom page's lists alone.
CRvPropertyBase* ConstructAttributesPage();
CRvPropertyBase* ConstructHyperlinksPage();

// The pop-up of the pages' context menu at the index; nothing when missing.
std::optional<plat::Menu> PagePopup(int index);
// The box that asks before a change that cannot be undone; true for OK.
bool ConfirmNoUndo(plat::Window* owner, int format, std::initializer_list<std::string_view> args);

}  // namespace rvcmndlg

// The Custom page's row of a hyperlink. Called under the client lock.
std::string format_hyperlink_string(GCL_Status& status, const RVL_HyperlinkComposite& composite);
