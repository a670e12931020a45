#pragma once
// The registration rows of the metadata pages (their place in the table is
// page_registration.cpp's), the single-list pages callers construct
// themselves, and what the pages share: their typed object, their context
// menus and the box before a change that cannot be undone.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "gcl_handle.h"
#include "gcl_status.h"
#include "platform/resources.h"
#include "tbs.h"

class CRvPropertyBase;
class RVL_HyperlinkComposite;
namespace plat {
class Window;
}

namespace rvcmndlg {

void RegisterLabelsPage();
void RegisterAttrHLinkPage();
void RegisterProtectionPage();
void RegisterLockPage();

// The Attributes and Hyperlinks pages: the Custom page's lists alone, on the
// heap for the caller's sheet; with the change-management process's own
// attributes or hyperlinks when asked.
CRvPropertyBase* ConstructAttributesPage(bool show_change_management = false);
CRvPropertyBase* ConstructHyperlinksPage(bool show_change_management = false);

// SetObject of a page that keeps a typed copy of its object: any other
// object is refused with TBS_ST_WRONG_KIND.
template <class Typed>
void KeepTypedObject(GCL_Status& status, const GCL_HandleBase& object, Typed& member) {
  status.make_ok();
  const auto* typed = dynamic_cast<const Typed*>(&object);
  if (!typed) {
    status.set_code(TBS_ST_WRONG_KIND);
    return;
  }
  member = *typed;
}

// The pop-up of the pages' context menu at the index; nothing when missing.
std::optional<plat::Menu> PagePopup(int index);
// The box that asks before a change that cannot be undone; true for OK.
bool ConfirmNoUndo(plat::Window* owner, int format, std::initializer_list<std::string_view> args);

}  // namespace rvcmndlg

// The Custom page's row of a hyperlink. Called under the client lock.
std::string format_hyperlink_string(GCL_Status& status, const RVL_HyperlinkComposite& composite);
