#pragma once
// The library's page classes in registration order, which is also their tab
// order wherever several apply. Each page's file adds its row in its place.

namespace rvcmndlg {

// Registers every library page class once (CRvPropertyBase does, before the
// registry is first read).
void RegisterLibraryPages();

}  // namespace rvcmndlg
