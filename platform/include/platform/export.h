#pragma once
// What the library's shared object exports: only declarations marked
// RVCMNDLG_API (the public headers' entries and classes); everything else is
// built with hidden visibility.
#if defined(__GNUC__)
#define RVCMNDLG_API __attribute__((visibility("default")))
#else
#define RVCMNDLG_API
#endif
