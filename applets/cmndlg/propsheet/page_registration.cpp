#include "propsheet/page_registration.h"

#include "propsheet/general/general_page_base.h"
#include "propsheet/metadata/metadata_pages.h"

namespace rvcmndlg {

namespace {

// register_with_base of each page class, in tab order: general pages of
// branches, versions, derived objects, elements, replicas, named objects,
// symbolic links, views, view-private files, the view root and VOBs; the
// change-management pages; type and trigger pages; VOB tag, replica and
// mastership pages; labels, attributes and hyperlinks, triggers, protection,
// locks; the view pages; the pool scrubber. Pages are added as they are built.
using RegisterWithBase = void (*)();
constexpr RegisterWithBase kRows[] = {
    RegisterGeneralBranchPage,   RegisterGeneralCheckoutPage, RegisterGeneralDerivedObjPage,
    RegisterGeneralElementPage,  nullptr /* replica */,       RegisterGeneralPage,
    RegisterGeneralSymlinkPage,
    RegisterLabelsPage,          RegisterAttrHLinkPage,
    // triggers, then:
    RegisterProtectionPage,      RegisterLockPage,
};

}  // namespace

void RegisterLibraryPages() {
  for (RegisterWithBase row : kRows)
    if (row) row();
}

}  // namespace rvcmndlg
