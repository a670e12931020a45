// Hyperlinks seen from an object.
#include "vob_hlink.h"

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

int Find(vob_handle_t vob, vob_dbid_t dbid, const char* hltype, bool well_known,
         vob_dbid_t* cursor, vob_hlinkh_s* handle) {
  const std::string type = hltype ? hltype : "";
  return InStore([&](Store& s) {
    if (!Load(s, vob, dbid)) return TBS_ST_NOT_FOUND;
    Statement q(s, "SELECT h.hlink, h.from_obj = ?2 AND h.from_vob = ?1 FROM vob_hlinks h"
                   " JOIN vob_objs o ON o.vob = h.vob AND o.dbid = h.hlink JOIN vob_objs t ON t.vob = o.vob"
                   " AND t.dbid = o.type WHERE h.vob = ?1 AND h.hlink > ?3"
                   " AND ((h.from_vob = ?1 AND h.from_obj = ?2) OR (h.to_vob = ?1 AND h.to_obj = ?2))"
                   " AND (?4 = '' OR o.name = ?4) AND (?5 = 0 OR t.predefined = 1) ORDER BY h.hlink LIMIT 1");
    q.Bind(1, vob).Bind(2, dbid).Bind(3, *cursor).Bind(4, type).Bind(5, well_known ? 1 : 0);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    vob_hlinkh_s found;
    found.vob = vob;
    found.hlink = static_cast<vob_dbid_t>(q.Int(0));
    found.from_end = static_cast<int>(q.Int(1));
    *cursor = found.hlink;
    *handle = found;
    return TBS_ST_OK;
  });
}

std::string ObjectName(Store& s, vob_handle_t vob, vob_dbid_t dbid) {
  const auto object = Load(s, vob, dbid);
  if (!object) return "<unavailable>";
  const std::string path = Pathname(s, *object);
  return path.empty() ? object->name + "@" + VobTag(s, vob) : path;
}

}  // namespace

int vob_obj_find_hlink(vob_handle_t vob, vob_dbid_t dbid, const char* hltype, vob_dbid_t* cursor,
                       vob_hlinkh_s* handle) {
  return LocalCall("vob_obj_find_hlink", {Num(vob), Num(dbid), Text(hltype)}, NonNull(cursor, handle), [&] {
    return Find(vob, dbid, hltype, false, cursor, handle);
  });
}

int vob_obj_find_wk_hlink(vob_handle_t vob, vob_dbid_t dbid, const char* wk_type, vob_dbid_t* cursor,
                          vob_hlinkh_s* handle) {
  return LocalCall("vob_obj_find_wk_hlink", {Num(vob), Num(dbid), Text(wk_type)}, NonNull(cursor, handle), [&] {
    return Find(vob, dbid, wk_type, true, cursor, handle);
  });
}

int vob_hlink_hlinkh_get_hlink(const vob_hlinkh_s* handle, vob_handle_t* vob, vob_dbid_t* hlink) {
  return LocalCall("vob_hlink_hlinkh_get_hlink", {handle ? Num(handle->hlink) : "(null)"},
                   NonNull(handle, vob, hlink) && handle->hlink != 0, [&] {
    *vob = handle->vob;
    *hlink = handle->hlink;
    return TBS_ST_OK;
  });
}

int vob_hlink_hlinkh_get_arrow(const vob_hlinkh_s* handle, int* from_end) {
  return LocalCall("vob_hlink_hlinkh_get_arrow", {handle ? Num(handle->hlink) : "(null)"},
                   NonNull(handle, from_end) && handle->hlink != 0, [&] {
    *from_end = handle->from_end ? 1 : 0;
    return TBS_ST_OK;
  });
}

namespace {

// A hyperlink's name as its texts show it: TYPE@DBID@VOB; false when the
// object is no hyperlink.
bool LinkName(Store& s, vob_handle_t vob, vob_dbid_t hlink, std::string* name) {
  const auto link = Load(s, vob, hlink);
  if (!link || link->mtype != VOB_MTYPE_HLINK) return false;
  *name = link->name + "@" + Num(hlink) + "@" + VobTag(s, vob);
  return true;
}

}  // namespace

int vob_hlink_fmt_info(vob_handle_t vob, vob_dbid_t hlink, int from_end, char* out, std::size_t size) {
  return LocalCall("vob_hlink_fmt_info", {Num(vob), Num(hlink), Num(from_end)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    return InStore([&](Store& s) {
      std::string name;
      if (!LinkName(s, vob, hlink, &name)) return TBS_ST_NOT_FOUND;
      Statement q(s, "SELECT from_vob, from_obj, to_vob, to_obj FROM vob_hlinks WHERE vob = ?1 AND hlink = ?2");
      q.Bind(1, vob).Bind(2, hlink);
      if (!q.Step()) return TBS_ST_NOT_FOUND;
      std::string text;
      if (from_end) {
        text = name + " -> " +
               (q.Int(2) ? ObjectName(s, static_cast<vob_handle_t>(q.Int(2)), static_cast<vob_dbid_t>(q.Int(3))) : "");
      } else {
        text = name + " <- " + ObjectName(s, static_cast<vob_handle_t>(q.Int(0)), static_cast<vob_dbid_t>(q.Int(1)));
      }
      return CopyOut(text, out, size);
    });
  });
}

int vob_hlink_fmt_single_ended_info(vob_handle_t vob, vob_dbid_t hlink, char* out, std::size_t size) {
  return LocalCall("vob_hlink_fmt_single_ended_info", {Num(vob), Num(hlink)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    return InStore([&](Store& s) {
      std::string text;
      if (!LinkName(s, vob, hlink, &text)) return TBS_ST_NOT_FOUND;
      Statement q(s, "SELECT from_text FROM vob_hlinks WHERE vob = ?1 AND hlink = ?2");
      q.Bind(1, vob).Bind(2, hlink);
      if (!q.Step()) return TBS_ST_NOT_FOUND;
      if (!q.Text(0).empty()) text += " \"" + q.Text(0) + "\"";
      return CopyOut(text, out, size);
    });
  });
}
