#pragma once
// Command utilities of the client libraries.
#include "vob.h"

// Checks out an element (its branch "main"), a branch or a checked-in
// version (its branch) in the view: a checked-out version, successor of the
// branch's latest version and holding its contents, and a check-out record
// with the comment. A reserved check-out is refused (TBS_ST_ALREADY) while another
// view holds the branch reserved, and any check-out when the view already
// has the branch checked out. *version (may be null) gets the checked-out
// version.
int cmd_utl_checkout(vob_handle_t vob, vob_dbid_t dbid, const char* view, int reserved, const char* comment,
                     vob_dbid_t* version);
