#pragma once
// What the file operations ask about one file of a view.
#include <cstddef>
#include <string>
#include <vector>

// Whether the pathname lies inside a view: *in_ws 1 or 0. 0; TBS_ST_INVALID_ARG for a
// null argument.
int ws_is_in_ws(const char* pathname, int* in_ws);
// The snapshot-root form (kind WS_IS_IN_WS_ROOT): when the pathname lies
// inside a snapshot view, that view's root ("\\view\TAG") into root (size
// bytes). 0; TBS_ST_NOT_FOUND when it lies in no snapshot view (nothing printed);
// TBS_ST_INVALID_ARG for a null argument, another kind or a buffer too small.
inline constexpr int WS_IS_IN_WS_ROOT = 2;
int ws_is_in_ws(const char* pathname, int kind, char* root, std::size_t size);

// Whether the file can be reached (mode 0: it is there, 2: writable, 4:
// readable): 0 when it can; TBS_ST_NOT_FOUND when it is not there; TBS_ST_PERMISSION when the mode
// is refused; TBS_ST_INVALID_ARG for a null or unmappable name.
int unix_nt_access(const char* pathname, int mode);

// The workspace object at a pathname of a view: 0 when the file is
// hijacked (a checked-in copy changed by hand), TBS_ST_INVALID_ARG when it is not, TBS_ST_NOT_FOUND
// when it is not there.
int cmd_resolve_ws_obj(const char* pathname);

// The check-outs of the element at a pathname of a view, in every view.
struct cmd_lscheckout_entry_s {
  std::string view;
  int reserved = 0;
};
// directory: the caller's word that the pathname is a directory. 0; TBS_ST_NOT_FOUND
// when the pathname is no element; TBS_ST_INVALID_ARG for a null argument.
int cmd_lscheckout_get_list(const char* pathname, int directory, std::vector<cmd_lscheckout_entry_s>* list);
