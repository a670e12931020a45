#pragma once
// Everything a caller of the common-dialogs library needs: open a home, put
// a UI host in force, fill a file list and call an entry.
#include "platform/hosts.h"    // the stock hosts: scripted, automatic, terminal
#include "platform/pathmap.h"  // the library's pathnames and host paths
#include "platform/uihost.h"   // the UI host interface and SetUiHost
#include "rvcmndlg/entries.h"
#include "rvcmndlg/file_operation_list.h"
#include "rvcmndlg/home.h"
#include "rvcmndlg/status.h"
#include "rvcmndlg/user_options.h"
#include "rvcmndlg/version.h"
