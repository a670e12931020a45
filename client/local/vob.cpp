// The vob_ calls of the local implementation.
#include "vob.h"

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "fileutl.h"
#include "imsg.h"
#include "local/local_call.h"
#include "local/vob_repo.h"
#include "platform/text.h"
#include "tbs_oid.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using client_local::StoreError;
using namespace client_local::repo;

namespace {

struct MtypeName {
  std::uint32_t mtype;
  const char* text;
};
constexpr MtypeName kMtypes[] = {
    {VOB_MTYPE_VOB, "versioned object base"},
    {VOB_MTYPE_DIR_ELEMENT, "directory element"},
    {VOB_MTYPE_FILE_ELEMENT, "file element"},
    {VOB_MTYPE_HLINK, "hyperlink"},
    {VOB_MTYPE_BRANCH, "branch"},
    {VOB_MTYPE_DIR_VERSION, "directory version"},
    {VOB_MTYPE_VERSION, "version"},
    {VOB_MTYPE_DERIVED_OBJECT, "derived object"},
    {VOB_MTYPE_SYMLINK, "symbolic link"},
    {VOB_MTYPE_POOL, "pool"},
    {VOB_MTYPE_DO_VERSION, "derived object version"},
    {VOB_MTYPE_ELTYPE, "element type"},
    {VOB_MTYPE_BRTYPE, "branch type"},
    {VOB_MTYPE_LBTYPE, "label type"},
    {VOB_MTYPE_ATTYPE, "attribute type"},
    {VOB_MTYPE_HLTYPE, "hyperlink type"},
    {VOB_MTYPE_TRTYPE, "trigger type"},
    {VOB_MTYPE_REPLICA, "replica"},
    {VOB_MTYPE_DIRECTORY, "directory"},
    {VOB_MTYPE_ACTIVITY, "activity"},
    {VOB_MTYPE_FOLDER, "folder"},
    {VOB_MTYPE_PROJECT, "project"},
    {VOB_MTYPE_STREAM, "stream"},
    {VOB_MTYPE_BASELINE, "baseline"},
    {VOB_MTYPE_COMPONENT, "component"},
};

struct SelKind {
  vob_objsel_kind_t kind;
  const char* text;
  std::uint32_t mtype;
};
constexpr SelKind kSelKinds[] = {
    {VOB_OBJSEL_VOB, "vob", VOB_MTYPE_VOB},         {VOB_OBJSEL_ELTYPE, "eltype", VOB_MTYPE_ELTYPE},
    {VOB_OBJSEL_BRTYPE, "brtype", VOB_MTYPE_BRTYPE}, {VOB_OBJSEL_LBTYPE, "lbtype", VOB_MTYPE_LBTYPE},
    {VOB_OBJSEL_ATTYPE, "attype", VOB_MTYPE_ATTYPE}, {VOB_OBJSEL_HLTYPE, "hltype", VOB_MTYPE_HLTYPE},
    {VOB_OBJSEL_TRTYPE, "trtype", VOB_MTYPE_TRTYPE}, {VOB_OBJSEL_REPLICA, "replica", VOB_MTYPE_REPLICA},
    {VOB_OBJSEL_POOL, "pool", VOB_MTYPE_POOL},       {VOB_OBJSEL_HLINK, "hlink", VOB_MTYPE_HLINK},
    {VOB_OBJSEL_OID, "oid", VOB_MTYPE_NONE},
    {VOB_OBJSEL_FOLDER, "folder", VOB_MTYPE_FOLDER},
    {VOB_OBJSEL_PROJECT, "project", VOB_MTYPE_PROJECT},
    {VOB_OBJSEL_STREAM, "stream", VOB_MTYPE_STREAM},
    {VOB_OBJSEL_COMPONENT, "component", VOB_MTYPE_COMPONENT},
    {VOB_OBJSEL_BASELINE, "baseline", VOB_MTYPE_BASELINE},
    {VOB_OBJSEL_ACTIVITY, "activity", VOB_MTYPE_ACTIVITY},
};

bool IsType(std::uint32_t mtype) { return mtype >= VOB_MTYPE_ELTYPE && mtype <= VOB_MTYPE_TRTYPE; }
bool IsElement(std::uint32_t m) { return m == VOB_MTYPE_DIR_ELEMENT || m == VOB_MTYPE_FILE_ELEMENT; }
bool IsVersion(std::uint32_t m) { return m == VOB_MTYPE_DIR_VERSION || m == VOB_MTYPE_VERSION; }
bool IsChangeObject(std::uint32_t m) {
  return m == VOB_MTYPE_ACTIVITY || m == VOB_MTYPE_FOLDER || (m >= VOB_MTYPE_PROJECT && m <= VOB_MTYPE_COMPONENT);
}
bool IsNamed(std::uint32_t m) {
  return IsType(m) || IsChangeObject(m) || m == VOB_MTYPE_VOB || m == VOB_MTYPE_REPLICA || m == VOB_MTYPE_POOL;
}

bool ValidTag(const char* tag) {
  if (!tag || tag[0] != '\\') return false;
  return ValidLeafName(tag + 1) && !std::strchr(tag + 1, ':');
}

void Predefine(Store& s, vob_handle_t vob, std::uint32_t mtype, const char* name, vob_dbid_t* dbid = nullptr) {
  Object o;
  o.vob = vob;
  o.mtype = mtype;
  o.name = name;
  o.predefined = true;
  const vob_dbid_t made = Insert(s, o, std::string("create ") + vob_utl_mtype_to_str(mtype), "");
  if (dbid) *dbid = made;
}

// A new branch of an element with version 0 (or sprouting from a version).
vob_dbid_t MakeBranch(Store& s, const Object& elem, vob_dbid_t brtype, const std::string& brname, vob_dbid_t parent,
                      vob_dbid_t sprout, const std::string& comment) {
  Object branch;
  branch.vob = elem.vob;
  branch.mtype = VOB_MTYPE_BRANCH;
  branch.name = brname;
  branch.type = brtype;
  branch.elem = elem.dbid;
  branch.branch = parent;
  branch.pred = sprout;
  Insert(s, branch, "create branch", comment);
  std::string contents;
  if (sprout) contents = NeedObject(s, elem.vob, sprout).text;
  Object version;
  version.vob = elem.vob;
  version.mtype = elem.mtype == VOB_MTYPE_DIR_ELEMENT ? VOB_MTYPE_DIR_VERSION : VOB_MTYPE_VERSION;
  version.elem = elem.dbid;
  version.branch = branch.dbid;
  version.number = 0;
  version.pred = sprout;
  version.text = contents;
  Insert(s, version, "create version", comment);
  return branch.dbid;
}

std::atomic<int> g_cache_enabled{0};
std::atomic<long> g_cache_enables{0};

}  // namespace

bool vob_mtype_is_fs_object(std::uint32_t mtype) {
  switch (mtype) {
    case VOB_MTYPE_DIR_ELEMENT:
    case VOB_MTYPE_FILE_ELEMENT:
    case VOB_MTYPE_BRANCH:
    case VOB_MTYPE_DIR_VERSION:
    case VOB_MTYPE_VERSION:
    case VOB_MTYPE_DERIVED_OBJECT:
    case VOB_MTYPE_SYMLINK:
    case VOB_MTYPE_DO_VERSION:
    case VOB_MTYPE_DIRECTORY:
      return true;
    default:
      return false;
  }
}

const char* vob_utl_mtype_to_str(std::uint32_t mtype) {
  for (const MtypeName& entry : kMtypes)
    if (entry.mtype == mtype) return entry.text;
  return "unknown";
}

// ---- VOBs ----

int vob_create(const char* tag, const char* comment, vob_handle_t* vob) {
  return LocalCall("vob_create", {Text(tag), Text(comment)}, NonNull(tag, vob), [&] {
    if (!ValidTag(tag)) {
      Complain("\"" + std::string(tag) + "\" is not a valid VOB tag: a tag is a backslash followed by a name.");
      return TBS_ST_INVALID_ARG;
    }
    return InStore([&](Store& s) {
      Statement taken(s, "SELECT 1 FROM vobs WHERE tag = ?1");
      taken.Bind(1, tag);
      if (taken.Step()) return TBS_ST_ALREADY;
      tbs_uuid_t uuid;
      tbs_uuid_gen(&uuid);
      char text[TBS_ID_STR_SIZE];
      tbs_uuid_to_str(&uuid, text, sizeof text);
      Statement add(s, "INSERT INTO vobs (tag, uuid, next_dbid) VALUES (?1, ?2, 1)");
      add.Bind(1, tag).Bind(2, text).Run();
      Statement id(s, "SELECT id FROM vobs WHERE tag = ?1");
      id.Bind(1, tag);
      id.Step();
      const auto handle = static_cast<vob_handle_t>(id.Int(0));
      Object self;
      self.vob = handle;
      self.mtype = VOB_MTYPE_VOB;
      self.name = tag;
      self.predefined = true;
      Insert(s, self, "create versioned object base", comment ? comment : "");
      vob_dbid_t directory = 0, main = 0;
      Predefine(s, handle, VOB_MTYPE_ELTYPE, "file");
      Predefine(s, handle, VOB_MTYPE_ELTYPE, "text_file");
      Predefine(s, handle, VOB_MTYPE_ELTYPE, "directory", &directory);
      Predefine(s, handle, VOB_MTYPE_BRTYPE, "main", &main);
      Predefine(s, handle, VOB_MTYPE_LBTYPE, "LATEST");
      Predefine(s, handle, VOB_MTYPE_LBTYPE, "BACKSTOP");
      Predefine(s, handle, VOB_MTYPE_LBTYPE, "CHECKEDOUT");
      Predefine(s, handle, VOB_MTYPE_HLTYPE, "Merge");
      Predefine(s, handle, VOB_MTYPE_REPLICA, "original");
      Predefine(s, handle, VOB_MTYPE_POOL, "sdft");
      Object root;
      root.vob = handle;
      root.mtype = VOB_MTYPE_DIR_ELEMENT;
      root.type = directory;
      Insert(s, root, "create directory element", "");
      root.branch = MakeBranch(s, root, main, "main", 0, 0, "");
      Statement link(s, "UPDATE vob_objs SET branch = ?3 WHERE vob = ?1 AND dbid = ?2");
      link.Bind(1, handle).Bind(2, root.dbid).Bind(3, root.branch).Run();
      *vob = handle;
      return TBS_ST_OK;
    });
  });
}

int vob_lookup_tag(const char* tag, vob_handle_t* vob) {
  return LocalCall("vob_lookup_tag", {Text(tag)}, NonNull(tag, vob), [&](Store& s) {
    Statement q(s, "SELECT id FROM vobs WHERE tag = ?1");
    q.Bind(1, tag);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    *vob = static_cast<vob_handle_t>(q.Int(0));
    return TBS_ST_OK;
  });
}

int vob_get_tag(vob_handle_t vob, char* out, std::size_t size) {
  return LocalCall("vob_get_tag", {Num(vob)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    return InStore([&](Store& s) {
      if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
      return CopyOut(VobTag(s, vob), out, size);
    });
  });
}

int vob_get_uuid(vob_handle_t vob, tbs_uuid_t* uuid) {
  return LocalCall("vob_get_uuid", {Num(vob)}, NonNull(uuid), [&](Store& s) {
    Statement q(s, "SELECT uuid FROM vobs WHERE id = ?1");
    q.Bind(1, vob);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    return tbs_str_to_uuid(q.Text(0).c_str(), uuid);
  });
}

namespace {
// The first object of a meta-type in a VOB (with an empty name: the root).
int FindFirst(const char* name, vob_handle_t vob, vob_dbid_t* dbid, std::uint32_t mtype, bool unnamed) {
  return LocalCall(name, {Num(vob)}, NonNull(dbid), [&](Store& s) {
    Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND mtype = ?2 AND (?3 = 0 OR name = '')"
                   " ORDER BY dbid LIMIT 1");
    q.Bind(1, vob).Bind(2, mtype).Bind(3, unnamed ? 1 : 0);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    *dbid = static_cast<vob_dbid_t>(q.Int(0));
    return TBS_ST_OK;
  });
}
}  // namespace

int vob_get_vob_object(vob_handle_t vob, vob_dbid_t* dbid) {
  return FindFirst("vob_get_vob_object", vob, dbid, VOB_MTYPE_VOB, false);
}
int vob_get_root_elem(vob_handle_t vob, vob_dbid_t* elem) {
  return FindFirst("vob_get_root_elem", vob, elem, VOB_MTYPE_DIR_ELEMENT, true);
}

// ---- Making objects ----

int vob_mktype(vob_handle_t vob, std::uint32_t mtype, const char* name, const char* comment, vob_dbid_t* type) {
  return LocalCall("vob_mktype", {Num(vob), Num(mtype), Text(name), Text(comment)},
                   NonNull(name) && IsType(mtype), [&] {
    if (!ValidLeafName(name) || (name[0] >= '0' && name[0] <= '9')) {
      Complain(BadNameText(name));
      return TBS_ST_INVALID_ARG;
    }
    return InStore([&](Store& s) {
      if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
      if (FindNamed(s, vob, mtype, name)) return TBS_ST_ALREADY;
      Object o;
      o.vob = vob;
      o.mtype = mtype;
      o.name = name;
      const vob_dbid_t made =
          Insert(s, o, std::string("create ") + vob_utl_mtype_to_str(mtype), comment ? comment : "");
      if (type) *type = made;
      return TBS_ST_OK;
    });
  });
}

namespace {
// Checks a new path in the VOB and finds its directory element.
int NewPath(Store& s, vob_handle_t vob, const char* path, vob_dbid_t* parent, std::string* normal) {
  if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
  std::string text = path;
  if (text.empty() || text[0] != '\\') return TBS_ST_INVALID_ARG;
  while (text.size() > 1 && text.back() == '\\') text.pop_back();
  const std::size_t cut = text.rfind('\\');
  const std::string leaf = text.substr(cut + 1);
  if (!ValidElementName(leaf) || text.size() > 1024) {
    Complain(BadElementNameText(leaf));
    return TBS_ST_INVALID_ARG;
  }
  const PathObject dir = FindPath(s, vob, text.substr(0, cut));
  if (dir.dbid == 0) return TBS_ST_NOT_FOUND;
  if (dir.mtype != VOB_MTYPE_DIR_ELEMENT) return TBS_ST_WRONG_KIND;
  if (FindPath(s, vob, text).dbid != 0) return TBS_ST_ALREADY;
  *parent = dir.dbid;
  *normal = text;
  return TBS_ST_OK;
}
}  // namespace

int vob_mkelem(vob_handle_t vob, const char* path, int directory, const char* comment, vob_dbid_t* elem) {
  return LocalCall("vob_mkelem", {Num(vob), Text(path), Num(directory), Text(comment)}, NonNull(path), [&](Store& s) {
    vob_dbid_t parent = 0;
    std::string normal;
    if (int rc = NewPath(s, vob, path, &parent, &normal); rc != TBS_ST_OK) return rc;
    Object o;
    o.vob = vob;
    o.mtype = directory ? VOB_MTYPE_DIR_ELEMENT : VOB_MTYPE_FILE_ELEMENT;
    o.name = normal;
    o.type = FindNamed(s, vob, VOB_MTYPE_ELTYPE, directory ? "directory" : "text_file");
    o.elem = parent;
    Insert(s, o, directory ? "create directory element" : "create file element", comment ? comment : "");
    o.branch = MakeBranch(s, o, FindNamed(s, vob, VOB_MTYPE_BRTYPE, "main"), "main", 0, 0, comment ? comment : "");
    Statement link(s, "UPDATE vob_objs SET branch = ?3 WHERE vob = ?1 AND dbid = ?2");
    link.Bind(1, vob).Bind(2, o.dbid).Bind(3, o.branch).Run();
    if (elem) *elem = o.dbid;
    return TBS_ST_OK;
  });
}

int vob_mkbranch(vob_handle_t vob, vob_dbid_t version, const char* brtype, const char* comment,
                 vob_dbid_t* branch) {
  return LocalCall("vob_mkbranch", {Num(vob), Num(version), Text(brtype), Text(comment)},
                   NonNull(brtype), [&](Store& s) {
    const Object from = NeedObject(s, vob, version);
    if (!IsVersion(from.mtype) || from.number == VOB_VERSION_CHECKEDOUT) return TBS_ST_WRONG_KIND;
    const vob_dbid_t type = FindNamed(s, vob, VOB_MTYPE_BRTYPE, brtype);
    if (!type) return TBS_ST_NOT_FOUND;
    Statement taken(s, "SELECT 1 FROM vob_objs WHERE vob = ?1 AND mtype = ?4 AND elem = ?2 AND type = ?3");
    taken.Bind(1, vob).Bind(2, from.elem).Bind(3, type).Bind(4, VOB_MTYPE_BRANCH);
    if (taken.Step()) return TBS_ST_ALREADY;
    const vob_dbid_t made = MakeBranch(s, NeedObject(s, vob, from.elem), type, brtype, from.branch, version,
                                       comment ? comment : "");
    if (branch) *branch = made;
    return TBS_ST_OK;
  });
}

int vob_mkslink(vob_handle_t vob, const char* path, const char* text, const char* comment, vob_dbid_t* slink) {
  return LocalCall("vob_mkslink", {Num(vob), Text(path), Text(text), Text(comment)}, NonNull(path,
                   text) && *text, [&](Store& s) {
    vob_dbid_t parent = 0;
    std::string normal;
    if (int rc = NewPath(s, vob, path, &parent, &normal); rc != TBS_ST_OK) return rc;
    Object o;
    o.vob = vob;
    o.mtype = VOB_MTYPE_SYMLINK;
    o.name = normal;
    o.elem = parent;
    o.text = text;
    const vob_dbid_t made = Insert(s, o, "create symbolic link", comment ? comment : "");
    if (slink) *slink = made;
    return TBS_ST_OK;
  });
}

int vob_hlink_create(vob_handle_t vob, const char* hltype, vob_handle_t from_vob, vob_dbid_t from,
                     vob_handle_t to_vob, vob_dbid_t to, const char* from_text, const char* to_text,
                     vob_dbid_t* hlink) {
  return LocalCall("vob_hlink_create",
                   {Num(vob), Text(hltype), Num(from_vob), Num(from), Num(to_vob), Num(to), Text(from_text),
                    Text(to_text)},
                   NonNull(hltype) && from_vob == vob, [&](Store& s) {
    NeedObject(s, from_vob, from);
    if (to_vob) NeedObject(s, to_vob, to);
    const vob_dbid_t type = FindNamed(s, vob, VOB_MTYPE_HLTYPE, hltype);
    if (!type) return TBS_ST_NOT_FOUND;
    Object o;
    o.vob = vob;
    o.mtype = VOB_MTYPE_HLINK;
    o.name = hltype;
    o.type = type;
    Insert(s, o, "create hyperlink", "");
    Statement add(s, "INSERT INTO vob_hlinks (vob, hlink, from_vob, from_obj, to_vob, to_obj, from_text, to_text)"
                     " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    add.Bind(1, vob).Bind(2, o.dbid).Bind(3, from_vob).Bind(4, from).Bind(5, to_vob).Bind(6, to_vob ? to : 0);
    add.Bind(7, from_text ? from_text : "").Bind(8, to_text ? to_text : "").Run();
    if (hlink) *hlink = o.dbid;
    return TBS_ST_OK;
  });
}

// ---- Any object ----

int vob_obj_get_mtype(vob_handle_t vob, vob_dbid_t dbid, std::uint32_t* mtype) {
  return LocalCall("vob_obj_get_mtype", {Num(vob), Num(dbid)}, NonNull(mtype), [&](Store& s) {
    *mtype = NeedObject(s, vob, dbid).mtype;
    return TBS_ST_OK;
  });
}

int vob_obj_get_oid(vob_handle_t vob, vob_dbid_t dbid, tbs_oid_t* oid) {
  return LocalCall("vob_obj_get_oid", {Num(vob), Num(dbid)}, NonNull(oid), [&](Store& s) {
    const Object o = NeedObject(s, vob, dbid);
    return tbs_str_to_oid(o.oid.c_str(), oid);
  });
}

int vob_obj_oid_to_dbid(vob_handle_t vob, const tbs_oid_t* oid, vob_dbid_t* dbid) {
  return LocalCall("vob_obj_oid_to_dbid", {Num(vob)}, NonNull(oid, dbid), [&] {
    char text[TBS_ID_STR_SIZE];
    tbs_oid_to_str(oid, text, sizeof text);
    return InStore([&](Store& s) {
      Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND oid = ?2");
      q.Bind(1, vob).Bind(2, text);
      if (!q.Step()) return TBS_ST_NOT_FOUND;
      *dbid = static_cast<vob_dbid_t>(q.Int(0));
      return TBS_ST_OK;
    });
  });
}

int vob_obj_exists(vob_handle_t vob, vob_dbid_t dbid, int* exists) {
  return LocalCall("vob_obj_exists", {Num(vob), Num(dbid)}, NonNull(exists), [&](Store& s) {
    if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
    *exists = Load(s, vob, dbid) ? 1 : 0;
    return TBS_ST_OK;
  });
}

int vob_obj_to_pname_flags(vob_handle_t vob, vob_dbid_t dbid, int flags, char* out, std::size_t size) {
  return LocalCall("vob_obj_to_pname_flags", {Num(vob), Num(dbid), Num(flags)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    return InStore([&](Store& s) {
      const std::string path = Pathname(s, NeedObject(s, vob, dbid));
      if (path.empty()) return TBS_ST_WRONG_KIND;
      return CopyOut(path, out, size);
    });
  });
}

int vob_obj_get_type(vob_handle_t vob, vob_dbid_t dbid, vob_dbid_t* type) {
  return LocalCall("vob_obj_get_type", {Num(vob), Num(dbid)}, NonNull(type), [&](Store& s) {
    const Object o = NeedObject(s, vob, dbid);
    if (!o.type) return TBS_ST_WRONG_KIND;
    *type = o.type;
    return TBS_ST_OK;
  });
}

int vob_type_find_gtype(vob_handle_t vob, vob_dbid_t dbid, vob_dbid_t* type) {
  return LocalCall("vob_type_find_gtype", {Num(vob), Num(dbid)}, NonNull(type), [&](Store& s) {
    const Object o = NeedObject(s, vob, dbid);
    if (!o.type) return TBS_ST_NOT_FOUND;
    *type = o.type;
    return TBS_ST_OK;
  });
}

int vob_obj_get_name(vob_handle_t vob, vob_dbid_t dbid, char* out, std::size_t size) {
  return LocalCall("vob_obj_get_name", {Num(vob), Num(dbid)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    return InStore([&](Store& s) {
      const Object o = NeedObject(s, vob, dbid);
      if (IsNamed(o.mtype) || o.mtype == VOB_MTYPE_HLINK) return CopyOut(o.name, out, size);
      if (IsElement(o.mtype) || o.mtype == VOB_MTYPE_SYMLINK)
        return CopyOut(o.name.substr(o.name.rfind('\\') == std::string::npos ? 0 : o.name.rfind('\\') + 1), out,
                       size);
      return TBS_ST_WRONG_KIND;
    });
  });
}

int vob_obj_set_name(vob_handle_t vob, vob_dbid_t dbid, const char* name) {
  return LocalCall("vob_obj_set_name", {Num(vob), Num(dbid), Text(name)}, NonNull(name), [&] {
    if (!ValidLeafName(name) || (name[0] >= '0' && name[0] <= '9')) {
      Complain(BadNameText(name));
      return TBS_ST_INVALID_ARG;
    }
    return InStore([&](Store& s) {
      const Object o = NeedObject(s, vob, dbid);
      if (!IsNamed(o.mtype) || o.mtype == VOB_MTYPE_VOB) return TBS_ST_WRONG_KIND;
      if (o.predefined) return TBS_ST_PERMISSION;
      if (o.name == name) return TBS_ST_OK;
      RequireChangeRight(s, o);
      if (FindNamed(s, vob, o.mtype, name)) return TBS_ST_ALREADY;
      Statement set(s, "UPDATE vob_objs SET name = ?3 WHERE vob = ?1 AND dbid = ?2");
      set.Bind(1, vob).Bind(2, dbid).Bind(3, name).Run();
      // Branches carry their type's name.
      if (o.mtype == VOB_MTYPE_BRTYPE) {
        Statement branches(s, "UPDATE vob_objs SET name = ?3 WHERE vob = ?1 AND mtype = ?4 AND type = ?2");
        branches.Bind(1, vob).Bind(2, dbid).Bind(3, name).Bind(4, VOB_MTYPE_BRANCH).Run();
      }
      AddEvent(s, vob, dbid, "rename", o.name + " -> " + name);
      return TBS_ST_OK;
    });
  });
}

int vob_obj_get_selector(vob_handle_t vob, vob_dbid_t dbid, char* out, std::size_t size) {
  return LocalCall("vob_obj_get_selector", {Num(vob), Num(dbid)}, NonNull(out) && size != 0, [&] {
    out[0] = '\0';
    return InStore([&](Store& s) {
      const std::string selector = Selector(s, NeedObject(s, vob, dbid));
      return selector.empty() ? TBS_ST_WRONG_KIND : CopyOut(selector, out, size);
    });
  });
}

namespace {
int GetFlag(const char* name, const char* column, vob_handle_t vob, vob_dbid_t dbid, int* value) {
  return LocalCall(name, {Num(vob), Num(dbid)}, NonNull(value), [&](Store& s) {
    const Object o = NeedObject(s, vob, dbid);
    *value = std::strcmp(column, "obsolete") == 0 ? o.obsolete : o.predefined;
    return TBS_ST_OK;
  });
}
}  // namespace

int vob_obj_get_obsolete(vob_handle_t vob, vob_dbid_t dbid, int* obsolete) {
  return GetFlag("vob_obj_get_obsolete", "obsolete", vob, dbid, obsolete);
}
int vob_obj_is_predefined(vob_handle_t vob, vob_dbid_t dbid, int* predefined) {
  return GetFlag("vob_obj_is_predefined", "predefined", vob, dbid, predefined);
}

int vob_obj_set_obsolete(vob_handle_t vob, vob_dbid_t dbid, int obsolete) {
  return LocalCall("vob_obj_set_obsolete", {Num(vob), Num(dbid), Num(obsolete)}, true, [&](Store& s) {
    NeedObject(s, vob, dbid);
    Statement set(s, "UPDATE vob_objs SET obsolete = ?3 WHERE vob = ?1 AND dbid = ?2");
    set.Bind(1, vob).Bind(2, dbid).Bind(3, obsolete ? 1 : 0).Run();
    return TBS_ST_OK;
  });
}

int vob_obj_dump(vob_handle_t vob, vob_dbid_t dbid) {
  return LocalCall("vob_obj_dump", {Num(vob), Num(dbid)}, true, [&](Store& s) {
    const Object o = NeedObject(s, vob, dbid);
    const std::string text = "dbid " + Num(o.dbid) + " mtype " + Num(o.mtype) + " (" +
                             vob_utl_mtype_to_str(o.mtype) + ") oid " + o.oid + " name \"" + o.name + "\"\n";
    imsg_print_text(IMSG_OUTPUT, text.c_str());
    return TBS_ST_OK;
  });
}

// ---- Events ----

int vob_obj_find_eventh(vob_handle_t vob, vob_dbid_t dbid, vob_eventh_t* event) {
  return LocalCall("vob_obj_find_eventh", {Num(vob), Num(dbid)}, NonNull(event), [&](Store& s) {
    Statement q(s, "SELECT min(id) FROM vob_events WHERE vob = ?1 AND obj = ?2");
    q.Bind(1, vob).Bind(2, dbid);
    if (!q.Step() || q.IsNull(0)) return TBS_ST_NOT_FOUND;
    *event = static_cast<vob_eventh_t>(q.Int(0));
    return TBS_ST_OK;
  });
}

int vob_obj_next_evenths(vob_handle_t vob, vob_dbid_t dbid, vob_eventh_t* event) {
  return LocalCall("vob_obj_next_evenths", {Num(vob), Num(dbid), event ? Num(*event) : "(null)"},
                   NonNull(event), [&](Store& s) {
    Statement q(s, "SELECT min(id) FROM vob_events WHERE vob = ?1 AND obj = ?2 AND id > ?3");
    q.Bind(1, vob).Bind(2, dbid).Bind(3, *event);
    if (!q.Step() || q.IsNull(0)) return TBS_ST_NOT_FOUND;
    *event = static_cast<vob_eventh_t>(q.Int(0));
    return TBS_ST_OK;
  });
}

int vob_event_get_info(vob_handle_t vob, vob_eventh_t event, stg_area_t area, vob_event_info_s* info) {
  return LocalCall("vob_event_get_info", {Num(vob), Num(event)}, NonNull(info), [&](Store& s) {
    Statement q(s, "SELECT kind, secs, user, grp, host, comment FROM vob_events WHERE vob = ?1 AND id = ?2");
    q.Bind(1, vob).Bind(2, event);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    vob_event_info_s result;
    result.handle = event;
    result.kind = AreaCopy(area, q.Text(0));
    result.time.secs = static_cast<std::uint32_t>(q.Int(1));
    result.user = AreaCopy(area, q.Text(2));
    result.group = AreaCopy(area, q.Text(3));
    result.host = AreaCopy(area, q.Text(4));
    result.comment = AreaCopy(area, q.Text(5));
    *info = result;
    return TBS_ST_OK;
  });
}

int vob_event_change_comment(vob_handle_t vob, vob_eventh_t event, const char* comment) {
  return LocalCall("vob_event_change_comment", {Num(vob), Num(event), Text(comment)}, NonNull(comment), [&](Store& s) {
    Statement q(s, "SELECT obj, user FROM vob_events WHERE vob = ?1 AND id = ?2");
    q.Bind(1, vob).Bind(2, event);
    if (!q.Step()) return TBS_ST_NOT_FOUND;
    if (const auto object = Load(s, vob, static_cast<vob_dbid_t>(q.Int(0)))) RequireChangeRight(s, *object, q.Text(1));
    Statement set(s, "UPDATE vob_events SET comment = ?3 WHERE vob = ?1 AND id = ?2");
    set.Bind(1, vob).Bind(2, event).Bind(3, comment).Run();
    return TBS_ST_OK;
  });
}

// ---- Names ----

int vob_utl_strip_leaf(const char* pathname, stg_area_t area, const char** dir, const char** leaf) {
  return LocalCall("vob_utl_strip_leaf", {Text(pathname)}, NonNull(pathname, dir, leaf), [&] {
    std::vector<char> directory(std::strlen(pathname) + 4);  // room for the longest answer, "."
    if (int rc = fileutl_strip_leaf(pathname, directory.data(), directory.size())) return rc;
    const char* last = std::strrchr(pathname, '\\');
    if (const char* slash = std::strrchr(pathname, '/'); slash && (!last || slash > last)) last = slash;
    const char* copied_dir = stg_strdup(area, directory.data());
    const char* copied_leaf = stg_strdup(area, last ? last + 1 : pathname);
    if (!copied_dir || !copied_leaf) return TBS_ST_INVALID_ARG;
    *dir = copied_dir;
    *leaf = copied_leaf;
    return TBS_ST_OK;
  });
}

// ---- Selectors and the object cache ----

int vob_utl_str_to_objsel_kind(const char* text, vob_objsel_kind_t* kind) {
  if (!text || !kind) return TBS_ST_INVALID_ARG;
  for (const SelKind& entry : kSelKinds)
    if (std::strcmp(entry.text, text) == 0) {
      *kind = entry.kind;
      return TBS_ST_OK;
    }
  return TBS_ST_INVALID_ARG;
}

const char* vob_utl_objsel_kind_to_str(vob_objsel_kind_t kind) {
  for (const SelKind& entry : kSelKinds)
    if (entry.kind == kind) return entry.text;
  return nullptr;
}

std::uint32_t vob_utl_objsel_kind_to_mtype(vob_objsel_kind_t kind) {
  for (const SelKind& entry : kSelKinds)
    if (entry.kind == kind) return entry.mtype;
  return VOB_MTYPE_NONE;
}

vob_objsel_kind_t vob_utl_mtype_to_objsel_kind(std::uint32_t mtype) {
  if (mtype == VOB_MTYPE_NONE) return VOB_OBJSEL_NONE;
  for (const SelKind& entry : kSelKinds)
    if (entry.mtype == mtype) return entry.kind;
  return VOB_OBJSEL_NONE;
}

int vob_utl_parse_objsel(const char* selector, vob_objsel_kind_t* kind, char* name, std::size_t name_size,
                         char* tag, std::size_t tag_size) {
  if (!selector || !kind || !name || !tag || name_size == 0 || tag_size == 0) return TBS_ST_INVALID_ARG;
  const std::string text = selector;
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return TBS_ST_INVALID_ARG;
  vob_objsel_kind_t found;
  if (vob_utl_str_to_objsel_kind(text.substr(0, colon).c_str(), &found) != TBS_ST_OK) return TBS_ST_INVALID_ARG;
  std::string rest = text.substr(colon + 1), the_tag;
  if (found == VOB_OBJSEL_VOB) {
    if (!ValidTag(rest.c_str())) return TBS_ST_INVALID_ARG;
    the_tag = rest;
  } else {
    const std::size_t at = rest.rfind("@\\");
    if (at != std::string::npos) {
      the_tag = rest.substr(at + 1);
      rest = rest.substr(0, at);
      if (!ValidTag(the_tag.c_str())) return TBS_ST_INVALID_ARG;
    }
    if (found == VOB_OBJSEL_HLINK) {
      // "Type@DBID": the type's name and the hyperlink's number.
      const std::size_t cut = rest.rfind('@');
      if (cut == std::string::npos || !ValidLeafName(rest.substr(0, cut)) || cut + 1 >= rest.size() ||
          rest.find_first_not_of("0123456789", cut + 1) != std::string::npos)
        return TBS_ST_INVALID_ARG;
    } else if (found == VOB_OBJSEL_OID) {
      tbs_oid_t oid;
      if (tbs_str_to_oid(rest.c_str(), &oid) != TBS_ST_OK && tbs_dstr_to_oid(rest.c_str(), &oid) != TBS_ST_OK)
        return TBS_ST_INVALID_ARG;
    } else if (!ValidLeafName(rest)) {
      return TBS_ST_INVALID_ARG;
    }
  }
  if (rest.size() + 1 > name_size || the_tag.size() + 1 > tag_size) return TBS_ST_INVALID_ARG;
  *kind = found;
  CopyOut(found == VOB_OBJSEL_VOB ? the_tag : rest, name, name_size);
  CopyOut(the_tag, tag, tag_size);
  return TBS_ST_OK;
}

int vob_utl_create_objsel(vob_objsel_kind_t kind, const char* name, const char* tag, char* out, std::size_t size) {
  const char* kind_text = vob_utl_objsel_kind_to_str(kind);
  if (!kind_text || !name || !*name || !out || size == 0) return TBS_ST_INVALID_ARG;
  std::string text = std::string(kind_text) + ":" + name;
  if (kind != VOB_OBJSEL_VOB && tag && *tag) text += std::string("@") + tag;
  return CopyOut(text, out, size);
}

int vob_obj_resolve(vob_handle_t vob, const char* selector, vob_dbid_t* dbid, std::uint32_t* mtype) {
  return LocalCall("vob_obj_resolve", {Num(vob), Text(selector)}, NonNull(selector, dbid, mtype), [&] {
    vob_objsel_kind_t kind;
    char name[kPathBufferSize], tag[kNameBufferSize];
    if (vob_utl_parse_objsel(selector, &kind, name, sizeof name, tag, sizeof tag) != TBS_ST_OK)
      return TBS_ST_INVALID_ARG;
    return InStore([&](Store& s) {
      if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
      if (*tag && VobTag(s, vob) != tag) return TBS_ST_NOT_FOUND;
      vob_dbid_t found = 0;
      if (kind == VOB_OBJSEL_OID) {
        tbs_oid_t oid;
        if (tbs_str_to_oid(name, &oid) != TBS_ST_OK) tbs_dstr_to_oid(name, &oid);
        char text[TBS_ID_STR_SIZE];
        tbs_oid_to_str(&oid, text, sizeof text);
        Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND oid = ?2");
        q.Bind(1, vob).Bind(2, text);
        if (q.Step()) found = static_cast<vob_dbid_t>(q.Int(0));
      } else if (kind == VOB_OBJSEL_HLINK) {
        const std::string text = name;
        const std::size_t cut = text.rfind('@');
        const auto number =
            cut == std::string::npos ? std::nullopt : plat::ParseDecimal(text.substr(cut + 1), UINT32_MAX);
        const auto hlink = number ? Load(s, vob, static_cast<vob_dbid_t>(*number)) : std::nullopt;
        if (hlink && hlink->mtype == VOB_MTYPE_HLINK && hlink->name == text.substr(0, cut)) found = hlink->dbid;
      } else {
        found = FindNamed(s, vob, vob_utl_objsel_kind_to_mtype(kind), name);
      }
      if (!found) return TBS_ST_NOT_FOUND;
      *dbid = found;
      *mtype = NeedObject(s, vob, found).mtype;
      return TBS_ST_OK;
    });
  });
}

int vob_ob_all_cache_action(int action) {
  int enabled = 0;  // what a query answers
  const int status = LocalCall("vob_ob_all_cache_action", {Num(action)}, true, [&] {
    switch (action) {
      case VOB_CACHE_ENABLE:
        g_cache_enabled = 1;
        ++g_cache_enables;
        return TBS_ST_OK;
      case VOB_CACHE_DISABLE:
        g_cache_enabled = 0;
        return TBS_ST_OK;
      case VOB_CACHE_QUERY:
        enabled = g_cache_enabled.load();
        return TBS_ST_OK;
      case VOB_CACHE_STATS: {
        const std::string text = "object cache: " + std::string(g_cache_enabled ? "enabled" : "disabled") +
                                 ", enabled " + Num(g_cache_enables.load()) + " times\n";
        imsg_print_text(IMSG_OUTPUT, text.c_str());
        return TBS_ST_OK;
      }
      default:
        return TBS_ST_INVALID_ARG;
    }
  });
  return action == VOB_CACHE_QUERY && status == TBS_ST_OK ? enabled : status;
}
