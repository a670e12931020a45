#include "file_query.h"

#include <unistd.h>

#include <array>

#include "local/local_call.h"
#include "local/store.h"
#include "local/vob_repo.h"
#include "platform/pathmap.h"
#include "tbs.h"
#include "tbs_errno.h"
#include "view.h"
#include "view_ws.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;

int ws_is_in_ws(const char* pathname, int* in_ws) {
  return LocalCall("ws_is_in_ws", {client_local::repo::Text(pathname)}, NonNull(pathname, in_ws), [&] {
    std::array<char, client_local::repo::kNameBufferSize> tag{};
    *in_ws = vob_utl_get_view_from_path(pathname, tag.data(), tag.size()) == TBS_ST_OK ? 1 : 0;
    return TBS_ST_OK;
  });
}

int ws_is_in_ws(const char* pathname, int kind, char* root, std::size_t size) {
  return LocalCall("ws_is_in_ws", {client_local::repo::Text(pathname), std::to_string(kind)},
                   NonNull(pathname, root) && size != 0 && kind == WS_IS_IN_WS_ROOT, [&] {
    root[0] = '\0';
    std::array<char, client_local::repo::kNameBufferSize> tag{};
    int snapshot = 0;
    if (vob_utl_get_view_from_path(pathname, tag.data(), tag.size()) != TBS_ST_OK ||
        view_ws_is_ws_tag(tag.data(), &snapshot) != TBS_ST_OK || !snapshot)
      return TBS_ST_NOT_FOUND;
    return tbs_view_root(tag.data(), root, size);
  });
}

int unix_nt_access(const char* pathname, int mode) {
  return LocalCall("unix_nt_access", {client_local::repo::Text(pathname), std::to_string(mode)},
                   NonNull(pathname), [&] {
    const auto host = plat::ToHostPath(pathname);
    if (!host) return TBS_ST_INVALID_ARG;
    if (::access(host->c_str(), F_OK) != 0) return TBS_ST_NOT_FOUND;
    const int wanted = (mode & 2 ? W_OK : 0) | (mode & 4 ? R_OK : 0);
    if (wanted && ::access(host->c_str(), wanted) != 0) return TBS_ST_PERMISSION;
    return TBS_ST_OK;
  });
}

int cmd_resolve_ws_obj(const char* pathname) {
  return LocalCall("cmd_resolve_ws_obj", {client_local::repo::Text(pathname)}, NonNull(pathname), [&] {
    int state = VIEW_FILE_ABSENT;
    if (view_file_state(pathname, &state) != TBS_ST_OK || state == VIEW_FILE_ABSENT)
      return TBS_ST_NOT_FOUND;
    return state == VIEW_FILE_HIJACKED ? TBS_ST_OK : TBS_ST_INVALID_ARG;
  });
}

int cmd_lscheckout_get_list(const char* pathname, int directory, std::vector<cmd_lscheckout_entry_s>* list) {
  return LocalCall("cmd_lscheckout_get_list", {client_local::repo::Text(pathname), std::to_string(directory)},
                   NonNull(pathname, list), [&] {
    list->clear();
    std::array<char, client_local::repo::kNameBufferSize> view{};
    vob_handle_t vob = 0;
    vob_dbid_t version = 0;
    if (int status = view_ws_lookup_pn(pathname, view.data(), view.size(), &vob, &version)) return status;
    vob_dbid_t element = 0;
    if (int status = vob_ver_get_elem(vob, version, &element)) return status;
    return InStore([&](Store& s) {
      Statement read(s, "SELECT c.view, c.reserved FROM vob_objs o CROSS JOIN vob_checkouts c"
                        " ON c.vob = o.vob AND c.version = o.dbid WHERE o.vob = ?1 AND o.elem = ?2 ORDER BY c.view");
      read.Bind(1, vob).Bind(2, element);
      while (read.Step()) list->push_back(cmd_lscheckout_entry_s{read.Text(0), static_cast<int>(read.Int(1))});
      return TBS_ST_OK;
    });
  });
}
