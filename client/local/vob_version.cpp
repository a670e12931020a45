// The vob_ calls on elements, branches, versions, check-outs, derived
// objects, symbolic links and hyperlinks.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "imsg.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "local/vob_typedef.h"
#include "tbs_oid.h"
#include "vob.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using client_local::StoreError;
using namespace client_local::repo;
namespace views = client_local::views;

namespace {

bool IsElement(std::uint32_t m) { return m == VOB_MTYPE_DIR_ELEMENT || m == VOB_MTYPE_FILE_ELEMENT; }
bool IsVersion(std::uint32_t m) { return m == VOB_MTYPE_DIR_VERSION || m == VOB_MTYPE_VERSION; }

// The object, of one of the kinds the test accepts: else TBS_ST_NOT_FOUND or TBS_ST_WRONG_KIND.
template <class Test>
Object NeedKind(Store& s, vob_handle_t vob, vob_dbid_t dbid, Test test) {
  Object object = NeedObject(s, vob, dbid);
  if (!test(object.mtype))
    throw StoreError{TBS_ST_WRONG_KIND, "object " + Num(dbid) + " is a " + vob_utl_mtype_to_str(object.mtype)};
  return object;
}
Object NeedVersion(Store& s, vob_handle_t vob, vob_dbid_t dbid) { return NeedKind(s, vob, dbid, IsVersion); }
Object NeedBranch(Store& s, vob_handle_t vob, vob_dbid_t dbid) {
  return NeedKind(s, vob, dbid, [](std::uint32_t m) { return m == VOB_MTYPE_BRANCH; });
}

int Give(vob_dbid_t found, vob_dbid_t* out) {
  if (!found) return TBS_ST_NOT_FOUND;
  *out = found;
  return TBS_ST_OK;
}

// The view's check-out of the element at a pathname without extension.
struct Checkout {
  Object version;
  bool reserved = false;
};
int FindCheckout(Store& s, vob_handle_t vob, const char* pathname, const char* view, Checkout* out) {
  if (std::strstr(pathname, "@@")) return TBS_ST_INVALID_ARG;
  vob_dbid_t elem = 0;
  std::uint32_t mtype = 0;
  if (int rc = Resolve(s, vob, pathname, "", &elem, &mtype); rc != TBS_ST_OK) return rc;
  if (!IsElement(mtype)) return TBS_ST_WRONG_KIND;
  Statement q(s, "SELECT c.version, c.reserved FROM vob_objs o CROSS JOIN vob_checkouts c"
                 " ON c.vob = o.vob AND c.version = o.dbid WHERE o.vob = ?1 AND o.elem = ?2 AND c.view = ?3");
  q.Bind(1, vob).Bind(2, elem).Bind(3, view);
  if (!q.Step()) {
    imsg_print_text(IMSG_ERROR, ("Element \"" + std::string(pathname) + "\" is not checked out in view \"" +
                                 view + "\".\n").c_str());
    return TBS_ST_NOT_FOUND;
  }
  out->version = *Load(s, vob, static_cast<vob_dbid_t>(q.Int(0)));
  out->reserved = q.Int(1) != 0;
  return TBS_ST_OK;
}

void DropVersion(Store& s, const Object& version) {
  // Hyperlinks at either end of the version go with it.
  Statement links(s, "SELECT vob, hlink FROM vob_hlinks WHERE (from_vob = ?1 AND from_obj = ?2)"
                     " OR (to_vob = ?1 AND to_obj = ?2)");
  links.Bind(1, version.vob).Bind(2, version.dbid);
  std::vector<std::pair<std::int64_t, std::int64_t>> found;
  while (links.Step()) found.emplace_back(links.Int(0), links.Int(1));
  for (const auto& [vob, hlink] : found) {
    for (const char* sql : {"DELETE FROM vob_hlinks WHERE vob = ?1 AND hlink = ?2",
                            "DELETE FROM vob_events WHERE vob = ?1 AND obj = ?2",
                            "DELETE FROM vob_objs WHERE vob = ?1 AND dbid = ?2"}) {
      Statement drop(s, sql);
      drop.Bind(1, vob).Bind(2, hlink).Run();
    }
  }
  for (const char* sql : {"DELETE FROM vob_attrs WHERE vob = ?1 AND obj = ?2",
                          "DELETE FROM vob_locks WHERE vob = ?1 AND obj = ?2",
                          "DELETE FROM vob_triggers WHERE vob = ?1 AND obj = ?2","DELETE FROM vob_checkouts WHERE vob = ?1 AND version = ?2",
                          "DELETE FROM vob_labels WHERE vob = ?1 AND version = ?2",
                          "DELETE FROM vob_events WHERE vob = ?1 AND obj = ?2",
                          "DELETE FROM vob_objs WHERE vob = ?1 AND dbid = ?2"}) {
    Statement drop(s, sql);
    drop.Bind(1, version.vob).Bind(2, version.dbid).Run();
  }
}

}  // namespace

// ---- Resolution ----

int vob_resolve_general(vob_handle_t vob, const char* pathname, vob_dbid_t* dbid, std::uint32_t* mtype) {
  return LocalCall("vob_resolve_general", {Num(vob), Text(pathname)},
                   NonNull(pathname, dbid, mtype) && std::strlen(pathname) <= 1024,
                   [&](Store& s) { return Resolve(s, vob, pathname, "", dbid, mtype); });
}

namespace {
template <class Test>
int ResolveKind(const char* name, vob_handle_t vob, const char* pathname, vob_dbid_t* out, Test test) {
  return LocalCall(name, {Num(vob), Text(pathname)}, NonNull(pathname,
                   out) && std::strlen(pathname) <= 1024, [&](Store& s) {
    vob_dbid_t dbid = 0;
    std::uint32_t mtype = 0;
    if (int rc = Resolve(s, vob, pathname, "", &dbid, &mtype); rc != TBS_ST_OK) return rc;
    if (!test(mtype)) return TBS_ST_WRONG_KIND;
    *out = dbid;
    return TBS_ST_OK;
  });
}
}  // namespace

int vob_resolve_elem(vob_handle_t vob, const char* pathname, vob_dbid_t* elem) {
  return ResolveKind("vob_resolve_elem", vob, pathname, elem, IsElement);
}
int vob_resolve_ver(vob_handle_t vob, const char* pathname, vob_dbid_t* version) {
  return ResolveKind("vob_resolve_ver", vob, pathname, version, IsVersion);
}

int vob_resolve_vob(const char* pathname, vob_handle_t* vob) {
  return LocalCall("vob_resolve_vob", {Text(pathname)}, NonNull(pathname, vob) && std::strlen(pathname) <= 1024, [&] {
    std::string name = BackslashName(pathname);
    std::string view, rest;
    if (SplitViewName(name, &view, &rest)) name = rest;
    return InStore([&](Store& s) {
      const vob_handle_t found = VobOfName(s, name, nullptr);
      if (!found) return TBS_ST_NOT_FOUND;
      *vob = found;
      return TBS_ST_OK;
    });
  });
}

int vob_elem_idstr_to_version(vob_handle_t vob, vob_dbid_t elem, const char* idstr, vob_dbid_t* version) {
  return LocalCall("vob_elem_idstr_to_version", {Num(vob), Num(elem), Text(idstr)}, NonNull(idstr,
                   version), [&](Store& s) {
    NeedKind(s, vob, elem, IsElement);
    return Give(VersionById(s, vob, elem, idstr, ""), version);
  });
}

int vob_elem_get_view_version(vob_handle_t vob, vob_dbid_t elem, const char* view, vob_dbid_t* version) {
  return LocalCall("vob_elem_get_view_version", {Num(vob), Num(elem), Text(view)}, NonNull(view,
                   version), [&](Store& s) {
    NeedKind(s, vob, elem, IsElement);
    return Give(ViewVersion(s, vob, elem, view), version);
  });
}

int vob_elem_is_directory(vob_handle_t vob, vob_dbid_t elem, int* directory) {
  return LocalCall("vob_elem_is_directory", {Num(vob), Num(elem)}, NonNull(directory), [&](Store& s) {
    *directory = NeedKind(s, vob, elem, IsElement).mtype == VOB_MTYPE_DIR_ELEMENT;
    return TBS_ST_OK;
  });
}

// ---- Branches ----

int vob_branch_get_pname(vob_handle_t vob, vob_dbid_t branch, char* out, std::size_t size) {
  return LocalCall("vob_branch_get_pname", {Num(vob), Num(branch)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    return InStore([&](Store& s) { return CopyOut(Pathname(s, NeedBranch(s, vob, branch)), out, size); });
  });
}

int vob_branch_get_elem(vob_handle_t vob, vob_dbid_t branch, vob_dbid_t* elem) {
  return LocalCall("vob_branch_get_elem", {Num(vob), Num(branch)}, NonNull(elem),
                   [&](Store& s) { return Give(NeedBranch(s, vob, branch).elem, elem); });
}

int vob_branch_get_latest_ver(vob_handle_t vob, vob_dbid_t branch, vob_dbid_t* version) {
  return LocalCall("vob_branch_get_latest_ver", {Num(vob), Num(branch)}, NonNull(version), [&](Store& s) {
    NeedBranch(s, vob, branch);
    return Give(LatestVersion(s, vob, branch), version);
  });
}

int vob_branch_get_pred_ver(vob_handle_t vob, vob_dbid_t branch, vob_dbid_t* version) {
  return LocalCall("vob_branch_get_pred_ver", {Num(vob), Num(branch)}, NonNull(version),
                   [&](Store& s) { return Give(NeedBranch(s, vob, branch).pred, version); });
}

// ---- Versions ----

int vob_ver_is_checked_out(vob_handle_t vob, vob_dbid_t version, int* checked_out) {
  return LocalCall("vob_ver_is_checked_out", {Num(vob), Num(version)}, NonNull(checked_out), [&](Store& s) {
    *checked_out = NeedVersion(s, vob, version).number == VOB_VERSION_CHECKEDOUT;
    return TBS_ST_OK;
  });
}

int vob_ver_get_idstr(vob_handle_t vob, vob_dbid_t version, char* out, std::size_t size) {
  return LocalCall("vob_ver_get_idstr", {Num(vob), Num(version)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    return InStore([&](Store& s) { return CopyOut(VersionId(s, NeedVersion(s, vob, version)), out, size); });
  });
}

int vob_ver_get_elem(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* elem) {
  return LocalCall("vob_ver_get_elem", {Num(vob), Num(version)}, NonNull(elem),
                   [&](Store& s) { return Give(NeedVersion(s, vob, version).elem, elem); });
}

int vob_ver_get_branch(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* branch) {
  return LocalCall("vob_ver_get_branch", {Num(vob), Num(version)}, NonNull(branch),
                   [&](Store& s) { return Give(NeedVersion(s, vob, version).branch, branch); });
}

int vob_ver_get_pred_ver(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* pred) {
  return LocalCall("vob_ver_get_pred_ver", {Num(vob), Num(version)}, NonNull(pred), [&](Store& s) {
    const Object v = NeedVersion(s, vob, version);
    if (v.number > 0) {
      Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND branch = ?2 AND mtype IN (?4, ?5)"
                     " AND number >= 0 AND number < ?3 ORDER BY number DESC LIMIT 1");
      BindMtypes(q.Bind(1, vob).Bind(2, v.branch).Bind(3, v.number), 4, kVersionMtypes);
      if (q.Step()) return Give(static_cast<vob_dbid_t>(q.Int(0)), pred);
    }
    return Give(v.pred, pred);
  });
}

int vob_ver_get_contents(vob_handle_t vob, vob_dbid_t version, stg_area_t area, const char** text) {
  return LocalCall("vob_ver_get_contents", {Num(vob), Num(version)}, NonNull(text), [&](Store& s) {
    *text = AreaCopy(area, NeedVersion(s, vob, version).text);
    return TBS_ST_OK;
  });
}

int vob_ver_set_contents(vob_handle_t vob, vob_dbid_t version, const char* text) {
  return LocalCall("vob_ver_set_contents", {Num(vob), Num(version)}, NonNull(text), [&](Store& s) {
    if (NeedVersion(s, vob, version).number != VOB_VERSION_CHECKEDOUT) return TBS_ST_PERMISSION;
    Statement set(s, "UPDATE vob_objs SET text = ?3 WHERE vob = ?1 AND dbid = ?2");
    set.Bind(1, vob).Bind(2, version).Bind(3, text).Run();
    return TBS_ST_OK;
  });
}

// ---- Labels ----

int vob_ver_next_labels(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* cursor) {
  return LocalCall("vob_ver_next_labels", {Num(vob), Num(version), cursor ? Num(*cursor) : "(null)"},
                   NonNull(cursor), [&](Store& s) {
    NeedVersion(s, vob, version);
    Statement q(s, "SELECT min(lbtype) FROM vob_labels WHERE vob = ?1 AND version = ?2 AND lbtype > ?3");
    q.Bind(1, vob).Bind(2, version).Bind(3, *cursor);
    if (!q.Step() || q.IsNull(0)) return TBS_ST_NOT_FOUND;
    *cursor = static_cast<vob_dbid_t>(q.Int(0));
    return TBS_ST_OK;
  });
}

int vob_ver_has_label(vob_handle_t vob, vob_dbid_t version, const char* lbtype, int* has) {
  return LocalCall("vob_ver_has_label", {Num(vob), Num(version), Text(lbtype)}, NonNull(lbtype, has), [&](Store& s) {
    NeedVersion(s, vob, version);
    const vob_dbid_t type = FindNamed(s, vob, VOB_MTYPE_LBTYPE, lbtype);
    if (!type) return TBS_ST_NOT_FOUND;
    Statement q(s, "SELECT 1 FROM vob_labels WHERE vob = ?1 AND version = ?2 AND lbtype = ?3");
    q.Bind(1, vob).Bind(2, version).Bind(3, type);
    *has = q.Step() ? 1 : 0;
    return TBS_ST_OK;
  });
}

namespace {

// Attaches the label to a checked-in version. A label that another version
// of the element holds in the version's slot is refused, or, with move, taken
// from that version (whose change is lock-checked like any other).
int AttachLabel(Store& s, vob_handle_t vob, vob_dbid_t version, const char* lbtype, bool move) {
  const Object v = NeedVersion(s, vob, version);
  if (v.number == VOB_VERSION_CHECKEDOUT)
    throw StoreError{TBS_ST_INVALID_ARG, "Version \"" + Pathname(s, v) + "\" is checked out: it takes no label."};
  const vob_dbid_t type = FindNamed(s, vob, VOB_MTYPE_LBTYPE, lbtype);
  if (!type) throw StoreError{TBS_ST_NOT_FOUND, "Label type \"" + std::string(lbtype) + "\" not found."};
  Statement q(s, "SELECT 1 FROM vob_labels WHERE vob = ?1 AND version = ?2 AND lbtype = ?3");
  q.Bind(1, vob).Bind(2, version).Bind(3, type);
  if (q.Step()) return TBS_ST_OK;
  const std::uint32_t occurs = LoadTypeDef(s, vob, type).occurs;
  if (const std::string why = LabelBreaks(s, vob, version, type, occurs); !why.empty()) {
    if (!move) {
      Complain(why);
      return TBS_ST_ALREADY;
    }
    while (const vob_dbid_t holder = LabelHolder(s, vob, version, type, occurs)) {
      Statement drop(s, "DELETE FROM vob_labels WHERE vob = ?1 AND version = ?2 AND lbtype = ?3");
      drop.Bind(1, vob).Bind(2, holder).Bind(3, type).Run();
      AddEvent(s, vob, holder, "remove label", lbtype);
    }
  }
  RequireUnlocked(s, vob, type);  // a locked label type is attached nowhere
  Statement add(s, "INSERT INTO vob_labels (vob, version, lbtype) VALUES (?1, ?2, ?3)");
  add.Bind(1, vob).Bind(2, version).Bind(3, type).Run();
  AddEvent(s, vob, version, "make label", lbtype);
  return TBS_ST_OK;
}

}  // namespace

int vob_ver_add_label(vob_handle_t vob, vob_dbid_t version, const char* lbtype) {
  return LocalCall("vob_ver_add_label", {Num(vob), Num(version), Text(lbtype)}, NonNull(lbtype),
                   [&](Store& s) { return AttachLabel(s, vob, version, lbtype, false); });
}

int vob_ver_move_label(vob_handle_t vob, vob_dbid_t version, const char* lbtype) {
  return LocalCall("vob_ver_move_label", {Num(vob), Num(version), Text(lbtype)}, NonNull(lbtype),
                   [&](Store& s) { return AttachLabel(s, vob, version, lbtype, true); });
}

int vob_ver_drop_label(vob_handle_t vob, vob_dbid_t version, const char* lbtype) {
  return LocalCall("vob_ver_drop_label", {Num(vob), Num(version), Text(lbtype)}, NonNull(lbtype), [&](Store& s) {
    const Object v = NeedVersion(s, vob, version);
    const vob_dbid_t type = FindNamed(s, vob, VOB_MTYPE_LBTYPE, lbtype);
    if (!type) throw StoreError{TBS_ST_NOT_FOUND, "Label type \"" + std::string(lbtype) + "\" not found."};
    RequireUnlocked(s, vob, type);
    Statement drop(s, "DELETE FROM vob_labels WHERE vob = ?1 AND version = ?2 AND lbtype = ?3");
    drop.Bind(1, vob).Bind(2, version).Bind(3, type).Run();
    if (Changes(s) == 0)
      throw StoreError{TBS_ST_NOT_FOUND, "Version \"" + Pathname(s, v) + "\" has no label \"" + lbtype + "\"."};
    AddEvent(s, vob, version, "remove label", lbtype);
    return TBS_ST_OK;
  });
}

int vob_ver_find_merge(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* from) {
  return LocalCall("vob_ver_find_merge", {Num(vob), Num(version)}, NonNull(from), [&](Store& s) {
    NeedVersion(s, vob, version);
    Statement q(s, "SELECT h.from_obj FROM vob_hlinks h JOIN vob_objs o ON o.vob = h.vob AND o.dbid = h.hlink"
                   " WHERE h.to_vob = ?1 AND h.to_obj = ?2 AND o.name = 'Merge' ORDER BY h.hlink LIMIT 1");
    q.Bind(1, vob).Bind(2, version);
    return Give(q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0, from);
  });
}

int vob_ver_next_merges(vob_handle_t vob, vob_dbid_t version, vob_dbid_t* cursor, vob_dbid_t* from) {
  return LocalCall("vob_ver_next_merges", {Num(vob), Num(version), cursor ? Num(*cursor) : "(null)"},
                   NonNull(cursor, from), [&](Store& s) {
    NeedVersion(s, vob, version);
    Statement q(s, "SELECT h.hlink, h.from_obj FROM vob_hlinks h JOIN vob_objs o ON o.vob = h.vob AND o.dbid = h.hlink"
                   " WHERE h.to_vob = ?1 AND h.to_obj = ?2 AND o.name = 'Merge' AND h.hlink > ?3"
                   " ORDER BY h.hlink LIMIT 1");
    q.Bind(1, vob).Bind(2, version).Bind(3, *cursor);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    *cursor = static_cast<vob_dbid_t>(q.Int(0));
    *from = static_cast<vob_dbid_t>(q.Int(1));
    return TBS_ST_OK;
  });
}

// ---- Check-outs ----

int vob_ver_get_ckout_info(vob_handle_t vob, vob_dbid_t version, stg_area_t area, vob_ckout_info_s* info) {
  return LocalCall("vob_ver_get_ckout_info", {Num(vob), Num(version)}, NonNull(info), [&](Store& s) {
    NeedVersion(s, vob, version);
    Statement q(s, "SELECT c.reserved, c.view, c.comment, e.user, e.secs, c.nonmastered, c.view_uuid, c.view_host,"
                   " c.view_path FROM vob_checkouts c"
                   " JOIN vob_events e ON e.id = c.event WHERE c.vob = ?1 AND c.version = ?2");
    q.Bind(1, vob).Bind(2, version);
    if (!q.Step()) return TBS_ST_WRONG_KIND;
    vob_ckout_info_s result;
    result.reserved = static_cast<int>(q.Int(0));
    result.view = AreaCopy(area, q.Text(1));
    result.comment = AreaCopy(area, q.Text(2));
    result.user = AreaCopy(area, q.Text(3));
    result.time.secs = static_cast<std::uint32_t>(q.Int(4));
    result.nonmastered = static_cast<int>(q.Int(5));
    result.view_uuid = AreaCopy(area, q.Text(6));
    result.view_host = AreaCopy(area, q.Text(7));
    result.view_path = AreaCopy(area, q.Text(8));
    *info = result;
    return TBS_ST_OK;
  });
}

namespace {
int SetReserved(const char* name, vob_handle_t vob, vob_dbid_t version, bool reserved) {
  return LocalCall(name, {Num(vob), Num(version)}, true, [&](Store& s) {
    const Object v = NeedVersion(s, vob, version);
    if (v.number != VOB_VERSION_CHECKEDOUT) return TBS_ST_WRONG_KIND;
    if (reserved) {
      Statement other(s, "SELECT view FROM vob_checkouts WHERE vob = ?1 AND branch = ?2 AND reserved = 1"
                         " AND version <> ?3");
      other.Bind(1, vob).Bind(2, v.branch).Bind(3, version);
      if (other.Step()) {
        imsg_print_text(IMSG_ERROR, ("Branch is checked out reserved in view \"" + other.Text(0) + "\".\n").c_str());
        return TBS_ST_ALREADY;
      }
    }
    Statement set(s, "UPDATE vob_checkouts SET reserved = ?3 WHERE vob = ?1 AND version = ?2");
    set.Bind(1, vob).Bind(2, version).Bind(3, reserved ? 1 : 0).Run();
    AddEvent(s, vob, version, reserved ? "reserve checkout" : "unreserve checkout", "");
    return TBS_ST_OK;
  });
}
}  // namespace

int vob_branch_reserve(vob_handle_t vob, vob_dbid_t version) {
  return SetReserved("vob_branch_reserve", vob, version, true);
}
int vob_branch_unreserve(vob_handle_t vob, vob_dbid_t version) {
  return SetReserved("vob_branch_unreserve", vob, version, false);
}

int vob_utl_checkin(vob_handle_t vob, const char* pathname, const char* view, const char* comment,
                    vob_dbid_t* version) {
  return LocalCall("vob_utl_checkin", {Num(vob), Text(pathname), Text(view), Text(comment)},
                   NonNull(pathname, view) && *view, [&](Store& s) {
    Checkout checkout;
    if (int rc = FindCheckout(s, vob, pathname, view, &checkout); rc != TBS_ST_OK) return rc;
    const Object& v = checkout.version;
    // A version checked in on the branch after the one checked out must be
    // merged in first, or its changes would be lost.
    const vob_dbid_t newest = LatestVersion(s, vob, v.branch);
    if (newest && newest != v.pred) {
      Statement merged(s, "SELECT 1 FROM vob_hlinks h JOIN vob_objs o ON o.vob = h.vob AND o.dbid = h.hlink"
                          " WHERE h.from_vob = ?1 AND h.from_obj = ?2 AND h.to_vob = ?1 AND h.to_obj = ?3"
                          " AND o.name = 'Merge'");
      merged.Bind(1, vob).Bind(2, newest).Bind(3, v.dbid);
      if (!merged.Step()) {
        Complain("Version \"" + Pathname(s, *Load(s, vob, newest)) +
                 "\" is later than the version checked out: merge it into the check-out before checking in.");
        return TBS_ST_FAILURE;
      }
    }
    // Through a view with a root, the file there is what is checked in.
    std::string from_file;
    if (views::ReadElementFile(s, view, vob, v.elem, &from_file)) {
      Statement contents(s, "UPDATE vob_objs SET text = ?3 WHERE vob = ?1 AND dbid = ?2");
      contents.Bind(1, vob).Bind(2, v.dbid).Bind(3, from_file).Run();
    }
    Statement other(s, "SELECT view FROM vob_checkouts WHERE vob = ?1 AND branch = ?2 AND reserved = 1"
                       " AND version <> ?3");
    other.Bind(1, vob).Bind(2, v.branch).Bind(3, v.dbid);
    if (other.Step()) {
      imsg_print_text(IMSG_ERROR, ("Branch is checked out reserved in view \"" + other.Text(0) + "\".\n").c_str());
      return TBS_ST_ALREADY;
    }
    const auto latest = Load(s, vob, LatestVersion(s, vob, v.branch));
    const std::int64_t number = latest ? latest->number + 1 : 0;
    Statement set(s, "UPDATE vob_objs SET number = ?3, pred = ?4 WHERE vob = ?1 AND dbid = ?2");
    set.Bind(1, vob).Bind(2, v.dbid).Bind(3, number).Bind(4, latest ? latest->dbid : v.pred).Run();
    Statement drop(s, "DELETE FROM vob_checkouts WHERE vob = ?1 AND version = ?2");
    drop.Bind(1, vob).Bind(2, v.dbid).Run();
    AddEvent(s, vob, v.dbid, "checkin version", comment ? comment : "");
    views::RefreshElement(s, view, vob, v.elem);
    if (version) *version = v.dbid;
    return TBS_ST_OK;
  });
}

int vob_utl_uncheckout(vob_handle_t vob, const char* pathname, const char* view) {
  return LocalCall("vob_utl_uncheckout", {Num(vob), Text(pathname), Text(view)}, NonNull(pathname,
                   view) && *view, [&](Store& s) {
    Checkout checkout;
    if (int rc = FindCheckout(s, vob, pathname, view, &checkout); rc != TBS_ST_OK) return rc;
    DropVersion(s, checkout.version);
    views::RefreshElement(s, view, vob, checkout.version.elem);
    return TBS_ST_OK;
  });
}

// ---- Derived objects and symbolic links ----

int vob_obj_get_fstat_db(vob_handle_t vob, vob_dbid_t dbid, vob_fstat_s* stat) {
  return LocalCall("vob_obj_get_fstat_db", {Num(vob), Num(dbid)}, NonNull(stat), [&](Store& s) {
    const Object o = NeedKind(s, vob, dbid, vob_mtype_is_fs_object);
    vob_fstat_s result;
    std::int64_t size = static_cast<std::int64_t>(o.text.size());
    if (IsElement(o.mtype)) {
      const auto latest = Load(s, vob, LatestVersion(s, vob, o.branch));
      size = latest ? static_cast<std::int64_t>(latest->text.size()) : 0;
    }
    result.size = size;
    Statement bits(s, "SELECT mode FROM vob_objs WHERE vob = ?1 AND dbid = ?2");
    bits.Bind(1, vob).Bind(2, dbid).Step();
    const auto mode = static_cast<std::uint32_t>(bits.Int(0));
    result.mode = o.mtype == VOB_MTYPE_DIR_ELEMENT ? 040000 | mode : o.mtype == VOB_MTYPE_SYMLINK ? 0120777 : 0100000 | mode;
    Statement q(s, "SELECT max(secs) FROM vob_events WHERE vob = ?1 AND obj = ?2");
    q.Bind(1, vob).Bind(2, dbid);
    if (q.Step() && !q.IsNull(0)) result.mtime.secs = static_cast<std::uint32_t>(q.Int(0));
    *stat = result;
    return TBS_ST_OK;
  });
}

int vob_obj_protect(vob_handle_t vob, vob_dbid_t dbid, std::uint32_t mode) {
  return LocalCall("vob_obj_protect", {Num(vob), Num(dbid), Num(mode)}, mode <= 07777, [&](Store& s) {
    const Object o = NeedKind(s, vob, dbid, vob_mtype_is_fs_object);
    RequireChangeRight(s, o);
    Statement set(s, "UPDATE vob_objs SET mode = ?3 WHERE vob = ?1 AND dbid = ?2");
    set.Bind(1, vob).Bind(2, dbid).Bind(3, mode).Run();
    AddEvent(s, vob, dbid, "change protection", "");
    if (IsElement(o.mtype)) views::RefreshElementInViews(s, vob, dbid);
    return TBS_ST_OK;
  });
}

int vob_slink_get_text(vob_handle_t vob, vob_dbid_t slink, char* out, std::size_t size) {
  return LocalCall("vob_slink_get_text", {Num(vob), Num(slink)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    return InStore([&](Store& s) {
      return CopyOut(NeedKind(s, vob, slink, [](std::uint32_t m) { return m == VOB_MTYPE_SYMLINK; }).text, out, size);
    });
  });
}

// ---- Hyperlinks ----

int vob_hlink_get_info(vob_handle_t vob, vob_dbid_t hlink, stg_area_t area, vob_hlink_info_s* info) {
  return LocalCall("vob_hlink_get_info", {Num(vob), Num(hlink)}, NonNull(info), [&](Store& s) {
    const Object h = NeedKind(s, vob, hlink, [](std::uint32_t m) { return m == VOB_MTYPE_HLINK; });
    Statement q(s, "SELECT from_vob, from_obj, to_vob, to_obj, from_text, to_text FROM vob_hlinks"
                   " WHERE vob = ?1 AND hlink = ?2");
    q.Bind(1, vob).Bind(2, hlink);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    vob_hlink_info_s result;
    result.type = AreaCopy(area, h.name);
    result.from_vob = static_cast<vob_handle_t>(q.Int(0));
    const auto from = Load(s, result.from_vob, static_cast<vob_dbid_t>(q.Int(1)));
    if (from) tbs_str_to_oid(from->oid.c_str(), &result.from_oid);
    result.to_vob = static_cast<vob_handle_t>(q.Int(2));
    if (result.to_vob) {
      const auto to = Load(s, result.to_vob, static_cast<vob_dbid_t>(q.Int(3)));
      if (to) tbs_str_to_oid(to->oid.c_str(), &result.to_oid);
    }
    result.from_text = AreaCopy(area, q.Text(4));
    result.to_text = AreaCopy(area, q.Text(5));
    Statement event(s, "SELECT comment FROM vob_events WHERE vob = ?1 AND obj = ?2 ORDER BY id LIMIT 1");
    event.Bind(1, vob).Bind(2, hlink);
    result.comment = AreaCopy(area, event.Step() ? event.Text(0) : std::string());
    *info = result;
    return TBS_ST_OK;
  });
}

int vob_obj_next_hlinks(vob_handle_t vob, vob_dbid_t dbid, vob_dbid_t* cursor) {
  return LocalCall("vob_obj_next_hlinks", {Num(vob), Num(dbid), cursor ? Num(*cursor) : "(null)"},
                   NonNull(cursor), [&](Store& s) {
    Statement q(s, "SELECT min(hlink) FROM vob_hlinks WHERE vob = ?1 AND hlink > ?3 AND"
                   " ((from_vob = ?1 AND from_obj = ?2) OR (to_vob = ?1 AND to_obj = ?2))");
    q.Bind(1, vob).Bind(2, dbid).Bind(3, *cursor);
    if (!q.Step() || q.IsNull(0)) return TBS_ST_NOT_FOUND;
    *cursor = static_cast<vob_dbid_t>(q.Int(0));
    return TBS_ST_OK;
  });
}

int vob_obj_has_hlink(vob_handle_t vob, vob_dbid_t dbid, int* has) {
  return LocalCall("vob_obj_has_hlink", {Num(vob), Num(dbid)}, NonNull(has), [&](Store& s) {
    Statement q(s, "SELECT 1 FROM vob_hlinks WHERE (from_vob = ?1 AND from_obj = ?2) OR (to_vob = ?1 AND to_obj = ?2)");
    q.Bind(1, vob).Bind(2, dbid);
    *has = q.Step() ? 1 : 0;
    return TBS_ST_OK;
  });
}
