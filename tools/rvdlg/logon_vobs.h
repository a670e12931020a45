#pragma once
// The VOBs registered to be mounted again at logon, for `rvdlg logon`.

namespace rvdlg {

struct Context;

// Mounts every registered VOB that is not mounted, printing "TAG succeeded"
// or "TAG failed" with its messages indented; a VOB mounted already succeeds
// as it is. A VOB that fails stays registered. 0 when each succeeded, else 1.
int ReconnectVobsAtLogon(Context& context);
// Prints the registered VOBs, one tag a line. 0; 1 when they cannot be read.
int ShowLogonVobs(Context& context);

}  // namespace rvdlg
