// cmd_resolve_general: what a user types, to an object.
#include "cmd_resolve.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "local/local_call.h"
#include "local/vob_repo.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;

namespace {

constexpr std::size_t kMaxName = 1024;

// "kind:..." with a kind of selector (a drive letter is no kind).
bool IsSelector(const std::string& name) {
  const std::size_t colon = name.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  vob_objsel_kind_t kind;
  return vob_utl_str_to_objsel_kind(name.substr(0, colon).c_str(), &kind) == TBS_ST_OK;
}

int ResolveSelector(Store& s, const std::string& name, cmd_resolve_result_s* result) {
  vob_objsel_kind_t kind;
  char leaf[kMaxName + 1], tag[kMaxName + 1];
  if (vob_utl_parse_objsel(name.c_str(), &kind, leaf, sizeof leaf, tag, sizeof tag) != TBS_ST_OK)
    return TBS_ST_INVALID_ARG;
  if (!*tag) return TBS_ST_NOT_FOUND;  // no VOB to look in
  Statement q(s, "SELECT id FROM vobs WHERE tag = ?1");
  q.Bind(1, tag);
  if (!q.Step()) return TBS_ST_NOT_FOUND;
  const auto vob = static_cast<vob_handle_t>(q.Int(0));
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
  if (kind == VOB_OBJSEL_VOB) {
    Statement self(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND mtype = ?2");
    self.Bind(1, vob).Bind(2, VOB_MTYPE_VOB);
    if (!self.Step()) return TBS_ST_NOT_FOUND;
    dbid = static_cast<vob_dbid_t>(self.Int(0));
    mtype = VOB_MTYPE_VOB;
  } else {
    const int rc = vob_obj_resolve(vob, name.c_str(), &dbid, &mtype);
    if (rc != TBS_ST_OK) return rc;
  }
  result->vob = vob;
  result->dbid = dbid;
  result->mtype = mtype;
  return TBS_ST_OK;
}

}  // namespace

int cmd_resolve_general(const char* name, cmd_resolve_result_s* result) {
  return LocalCall("cmd_resolve_general", {Text(name)}, NonNull(name, result) && *name, [&] {
    if (std::strlen(name) > kMaxName) {
      Complain("Name is too long: at most " + Num(kMaxName) + " bytes.");
      return TBS_ST_INVALID_ARG;
    }
    *result = cmd_resolve_result_s{};
    const int status = InStore([&](Store& s) {
      std::string text = name;
      if (IsSelector(text)) {
        const int rc = ResolveSelector(s, text, result);
        if (rc == TBS_ST_INVALID_ARG) Complain("\"" + text + "\" is not a valid object selector.");
        return rc;
      }
      std::replace(text.begin(), text.end(), '/', '\\');
      std::string view, rest;
      if (!SplitViewName(text, &view, &rest)) {
        if (text[0] != '\\' || text.compare(0, 2, "\\\\") == 0) return TBS_ST_NOT_FOUND;
        rest = text;
      }
      std::string in_vob;
      const vob_handle_t vob = VobOfName(s, rest, &in_vob);
      if (!vob) return TBS_ST_NOT_FOUND;
      if (view.size() + 1 > sizeof result->view) return TBS_ST_INVALID_ARG;
      const int rc = Resolve(s, vob, in_vob, view, &result->dbid, &result->mtype);
      if (rc != TBS_ST_OK) return rc;
      result->vob = vob;
      std::memcpy(result->view, view.c_str(), view.size() + 1);
      return TBS_ST_OK;
    });
    if (status == TBS_ST_NOT_FOUND) Complain("Unable to find \"" + std::string(name) + "\".");
    return status;
  });
}
