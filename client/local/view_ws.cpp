// What the client asks of a view's working space.
#include "view_ws.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <string>

#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "platform/pathmap.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Store;
using namespace client_local::repo;

namespace {
std::mutex g_inval_mutex;
std::map<std::string, long>& Invalidations() {
  static auto* counts = new std::map<std::string, long>();
  return *counts;
}
}  // namespace

int view_ws_lookup_pn(const char* pathname, char* view, std::size_t size, vob_handle_t* vob, vob_dbid_t* version) {
  return LocalCall("view_ws_lookup_pn", {Text(pathname)}, NonNull(pathname, view, vob, version) && size != 0, [&] {
    const std::string text = BackslashName(pathname);
    std::string tag, rest;
    if (!SplitViewName(text, &tag, &rest) || text.find("@@") != std::string::npos)
      return TBS_ST_INVALID_ARG;
    return InStore([&](Store& s) {
      std::string in_vob;
      const vob_handle_t found_vob = VobOfName(s, rest, &in_vob);
      if (!found_vob) return TBS_ST_NOT_FOUND;
      vob_dbid_t dbid = 0;
      std::uint32_t mtype = 0;
      if (int rc = Resolve(s, found_vob, in_vob, tag, &dbid, &mtype); rc != TBS_ST_OK) return rc;
      if (mtype != VOB_MTYPE_VERSION && mtype != VOB_MTYPE_DIR_VERSION) return TBS_ST_WRONG_KIND;
      if (int rc = CopyOut(tag, view, size); rc != TBS_ST_OK) return rc;
      *vob = found_vob;
      *version = dbid;
      return TBS_ST_OK;
    });
  });
}

int view_file_loaded_version(const char* pathname, vob_handle_t* vob, vob_dbid_t* version, int* checked_out) {
  return LocalCall("view_file_loaded_version", {Text(pathname)}, NonNull(pathname, vob, version, checked_out), [&] {
    const auto file = client_local::views::ParseViewFile(pathname);
    if (!file) return TBS_ST_INVALID_ARG;
    if (!file->InsideRoot() || file->relative == ".") return TBS_ST_NOT_FOUND;
    const std::string& tag = file->view;
    const std::string& relative = file->relative;
    return InStore([&](Store& s) {
      if (!client_local::views::LoadView(s, tag)) return TBS_ST_NOT_FOUND;
      vob_handle_t found_vob = 0;
      vob_dbid_t found = 0;
      bool out = false;
      if (!client_local::views::LoadedVersion(s, tag, relative, &found_vob, &found, &out)) return TBS_ST_NOT_FOUND;
      *vob = found_vob;
      *version = found;
      *checked_out = out ? 1 : 0;
      return TBS_ST_OK;
    });
  });
}

int view_inval_obj(const char* view, vob_handle_t vob, vob_dbid_t dbid) {
  return LocalCall("view_inval_obj", {Text(view), Num(vob), Num(dbid)}, NonNull(view) && *view, [&] {
    std::lock_guard lock(g_inval_mutex);
    ++Invalidations()[view];
    return TBS_ST_OK;
  });
}

long view_inval_count(const char* view) {
  std::lock_guard lock(g_inval_mutex);
  const auto found = Invalidations().find(view ? view : "");
  return found == Invalidations().end() ? 0 : found->second;
}
