#pragma once
// The registration rows of the lock and protection pages (their place in the
// table is page_registration.cpp's).

namespace rvcmndlg {

void RegisterProtectionPage();
void RegisterLockPage();

}  // namespace rvcmndlg
