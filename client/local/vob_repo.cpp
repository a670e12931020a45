// The repository's shared pieces: objects, events, names and resolution.
#include "local/vob_repo.h"

#include <sqlite3.h>

#include <cctype>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <vector>

#include "imsg.h"
#include "local/credentials.h"
#include "local/view_root.h"
#include "platform/machine.h"
#include "platform/pathmap.h"
#include "strutl.h"
#include "sysutl.h"
#include "platform/text.h"
#include "tbs_oid.h"

namespace client_local::repo {

namespace {

constexpr const char* kColumns =
    "vob, dbid, mtype, oid, name, type, elem, branch, number, pred, text, obsolete, predefined";

Object Read(const Statement& row) {
  Object o;
  o.vob = static_cast<vob_handle_t>(row.Int(0));
  o.dbid = static_cast<vob_dbid_t>(row.Int(1));
  o.mtype = static_cast<std::uint32_t>(row.Int(2));
  o.oid = row.Text(3);
  o.name = row.Text(4);
  o.type = static_cast<vob_dbid_t>(row.Int(5));
  o.elem = static_cast<vob_dbid_t>(row.Int(6));
  o.branch = static_cast<vob_dbid_t>(row.Int(7));
  o.number = row.Int(8);
  o.pred = static_cast<vob_dbid_t>(row.Int(9));
  o.text = row.Text(10);
  o.obsolete = row.Int(11) != 0;
  o.predefined = row.Int(12) != 0;
  return o;
}

std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

constexpr std::uint64_t kMaxVersionNumber = 999'999'999;  // nine digits

// Objects with a pathname in their VOB.
constexpr std::uint32_t kPathMtypes[] = {VOB_MTYPE_DIR_ELEMENT, VOB_MTYPE_FILE_ELEMENT, VOB_MTYPE_DERIVED_OBJECT,
                                         VOB_MTYPE_SYMLINK};

}  // namespace

void BindMtypes(Statement& q, int first, std::span<const std::uint32_t> mtypes) {
  for (std::uint32_t mtype : mtypes) q.Bind(first++, mtype);
}

std::string Num(std::int64_t value) { return std::to_string(value); }
std::string Text(const char* text) { return text ? text : "(null)"; }

bool VobExists(Store& s, vob_handle_t vob) {
  Statement q(s, "SELECT 1 FROM vobs WHERE id = ?1");
  q.Bind(1, vob);
  return q.Step();
}

std::string VobTag(Store& s, vob_handle_t vob) {
  Statement q(s, "SELECT tag FROM vobs WHERE id = ?1");
  q.Bind(1, vob);
  return q.Step() ? q.Text(0) : std::string();
}

std::optional<Object> Load(Store& s, vob_handle_t vob, vob_dbid_t dbid) {
  if (dbid == 0) return std::nullopt;
  Statement q(s, std::string("SELECT ") + kColumns + " FROM vob_objs WHERE vob = ?1 AND dbid = ?2");
  q.Bind(1, vob).Bind(2, dbid);
  if (!q.Step()) return std::nullopt;
  return Read(q);
}

Object NeedObject(Store& s, vob_handle_t vob, vob_dbid_t dbid) {
  auto object = Load(s, vob, dbid);
  if (!object) throw StoreError{TBS_ST_NOT_FOUND, "no object " + Num(dbid) + " in VOB " + Num(vob)};
  return *object;
}

vob_dbid_t FindNamed(Store& s, vob_handle_t vob, std::uint32_t mtype, const std::string& name) {
  Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND mtype = ?2 AND name = ?3");
  q.Bind(1, vob).Bind(2, mtype).Bind(3, name);
  return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;
}

PathObject FindPath(Store& s, vob_handle_t vob, const std::string& path) {
  // The meta-types as rows rather than an IN list: SQLite makes a temporary
  // table (with a page cache of its own) for each use of an IN list of more
  // than two parameters.
  Statement q(s, "SELECT o.dbid, o.mtype FROM (VALUES (?3), (?4), (?5), (?6)) AS m"
                 " CROSS JOIN vob_objs o ON o.vob = ?1 AND o.mtype = m.column1 AND o.name = ?2");
  BindMtypes(q.Bind(1, vob).Bind(2, path), 3, kPathMtypes);
  if (!q.Step()) return {};
  return {static_cast<vob_dbid_t>(q.Int(0)), static_cast<std::uint32_t>(q.Int(1))};
}

vob_eventh_t AddEvent(Store& s, vob_handle_t vob, vob_dbid_t obj, const std::string& kind,
                      const std::string& comment) {
  // Check-outs, reservations and check-ins ("... checkout", "check... version")
  // and new versions change what their branch holds.
  if (kind != "lock" && kind != "unlock")
    RequireUnlocked(s, vob, obj, kind.find("check") != std::string::npos || kind == "create version");
  const Principal me = CurrentPrincipal();
  Statement add(s, "INSERT INTO vob_events (vob, obj, kind, secs, user, grp, host, comment)"
                   " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
  add.Bind(1, vob).Bind(2, obj).Bind(3, kind).Bind(4, static_cast<std::int64_t>(std::time(nullptr)));
  add.Bind(5, plat::MachineUserName()).Bind(6, me.group).Bind(7, plat::MachineHostName()).Bind(8, comment).Run();
  return static_cast<vob_eventh_t>(sqlite3_last_insert_rowid(s.Handle()));
}

vob_dbid_t Insert(Store& s, Object& o, const std::string& event_kind, const std::string& comment) {
  Statement next(s, "SELECT next_dbid FROM vobs WHERE id = ?1");
  next.Bind(1, o.vob);
  if (!next.Step()) throw StoreError{TBS_ST_NOT_FOUND, "no such VOB"};
  o.dbid = static_cast<vob_dbid_t>(next.Int(0));
  Statement bump(s, "UPDATE vobs SET next_dbid = next_dbid + 1 WHERE id = ?1");
  bump.Bind(1, o.vob).Run();
  tbs_uuid_t id;
  tbs_uuid_gen(&id);
  char text[TBS_ID_STR_SIZE];
  tbs_uuid_to_dstr(&id, text, sizeof text);
  o.oid = text;
  Statement add(s, std::string("INSERT INTO vob_objs (") + kColumns +
                       ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)");
  add.Bind(1, o.vob).Bind(2, o.dbid).Bind(3, o.mtype).Bind(4, o.oid).Bind(5, o.name).Bind(6, o.type);
  add.Bind(7, o.elem).Bind(8, o.branch).Bind(9, o.number).Bind(10, o.pred).Bind(11, o.text);
  add.Bind(12, o.obsolete ? 1 : 0).Bind(13, o.predefined ? 1 : 0).Run();
  const Principal me = CurrentPrincipal();
  // New files are readable by everyone; directories searchable too.
  Statement own(s, "UPDATE vob_objs SET owner = ?3, grp = ?4, mode = ?5 WHERE vob = ?1 AND dbid = ?2");
  own.Bind(1, o.vob).Bind(2, o.dbid).Bind(3, me.user_sid).Bind(4, me.group_sid);
  own.Bind(5, o.mtype == VOB_MTYPE_DIR_ELEMENT ? 0555 : 0444).Run();
  AddEvent(s, o.vob, o.dbid, event_kind, comment);
  return o.dbid;
}

Principal CurrentPrincipal() {
  // A user's identifiers and group, read once per user name: they do not
  // change under a running process, and each read opens /etc/passwd or
  // /etc/group (a check-out asks several times a file). Only a complete
  // answer is kept.
  static std::mutex mutex;
  static std::map<std::string, Principal> known;
  Principal me;
  char text[kNameBufferSize];
  me.user = plat::MachineUserName();
  if (me.user.empty() && sysutl_myloginname(text, sizeof text) == TBS_ST_OK) me.user = text;
  if (me.user.empty()) return me;
  {
    std::lock_guard lock(mutex);
    if (const auto found = known.find(me.user); found != known.end()) return found->second;
  }
  me.privileged = IsPrivilegedUser(me.user);
  if (sysutl_user_to_usid(me.user.c_str(), text, sizeof text) == TBS_ST_OK) me.user_sid = text;
  if (sysutl_user_to_gsid(me.user.c_str(), text, sizeof text) == TBS_ST_OK) {
    me.group_sid = text;
    if (sysutl_gsid_to_group(me.group_sid.c_str(), text, sizeof text) == TBS_ST_OK) me.group = text;
  }
  if (!me.user_sid.empty() && !me.group.empty()) {
    std::lock_guard lock(mutex);
    known.emplace(me.user, me);
  }
  return me;
}

void RequireChangeRight(Store& s, const Object& object, const std::string& also_user) {
  const Principal me = CurrentPrincipal();
  if (me.privileged || (!also_user.empty() && also_user == me.user)) return;
  Statement q(s, "SELECT o.owner, v.owner FROM vob_objs o LEFT JOIN vob_objs v ON v.vob = o.vob AND v.mtype = ?3"
                 " WHERE o.vob = ?1 AND o.dbid = ?2");
  q.Bind(1, object.vob).Bind(2, object.dbid).Bind(3, VOB_MTYPE_VOB);
  const bool found = q.Step();
  const std::string owner = found ? q.Text(0) : "", vob_owner = found ? q.Text(1) : "";
  if (!me.user_sid.empty() && (me.user_sid == owner || me.user_sid == vob_owner)) return;
  std::string owner_name = owner;
  char text[kNameBufferSize];
  if (owner.empty())
    owner_name = "no one: only a privileged user may change it";
  else if (sysutl_usid_to_user(owner.c_str(), text, sizeof text) == TBS_ST_OK)
    owner_name = text;
  std::string name = Selector(s, object);
  if (name.empty()) name = Pathname(s, object);
  throw StoreError{TBS_ST_PERMISSION, "No permission to change \"" + name + "\": it belongs to " + owner_name + "."};
}

vob_dbid_t CurrentReplica(Store& s, vob_handle_t vob) { return FindNamed(s, vob, VOB_MTYPE_REPLICA, "original"); }

vob_dbid_t MasterReplica(Store& s, vob_handle_t vob, vob_dbid_t dbid) {
  Statement q(s, "SELECT r.dbid FROM vob_objs o JOIN vob_objs r ON r.vob = o.vob AND r.mtype = ?3 AND r.name = o.master"
                 " WHERE o.vob = ?1 AND o.dbid = ?2");
  q.Bind(1, vob).Bind(2, dbid).Bind(3, VOB_MTYPE_REPLICA);
  return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : CurrentReplica(s, vob);
}

vob_dbid_t LatestVersion(Store& s, vob_handle_t vob, vob_dbid_t branch) {
  Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND branch = ?2 AND mtype IN (?3, ?4)"
                 " AND number >= 0 ORDER BY number DESC LIMIT 1");
  BindMtypes(q.Bind(1, vob).Bind(2, branch), 3, kVersionMtypes);
  return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;
}

vob_dbid_t BranchByPath(Store& s, vob_handle_t vob, vob_dbid_t elem, const std::string& path) {
  const std::vector<std::string> parts = Components(path);
  if (parts.empty() || parts[0] != "main") return 0;
  const auto element = Load(s, vob, elem);
  if (!element) return 0;
  vob_dbid_t branch = element->branch;
  for (std::size_t i = 1; i < parts.size() && branch; ++i) {
    Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND mtype = ?5 AND elem = ?2 AND branch = ?3"
                   " AND name = ?4");
    q.Bind(1, vob).Bind(2, elem).Bind(3, branch).Bind(4, parts[i]).Bind(5, VOB_MTYPE_BRANCH);
    branch = q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;
  }
  return branch;
}

vob_dbid_t VersionById(Store& s, vob_handle_t vob, vob_dbid_t elem, const std::string& idstr,
                       const std::string& view) {
  const std::size_t cut = idstr.rfind('\\');
  if (cut == std::string::npos || cut + 1 >= idstr.size()) return 0;
  const std::string leaf = idstr.substr(cut + 1);
  const vob_dbid_t branch = BranchByPath(s, vob, elem, idstr.substr(0, cut));
  if (!branch) return 0;
  if (const auto number = plat::ParseDecimal(leaf, kMaxVersionNumber)) {
    Statement q(s, "SELECT dbid FROM vob_objs WHERE vob = ?1 AND branch = ?2 AND mtype IN (?4, ?5) AND number = ?3");
    BindMtypes(q.Bind(1, vob).Bind(2, branch).Bind(3, static_cast<std::int64_t>(*number)), 4, kVersionMtypes);
    return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;
  }
  if (leaf == "LATEST") return LatestVersion(s, vob, branch);
  if (leaf == "CHECKEDOUT") {
    Statement q(s, "SELECT version FROM vob_checkouts WHERE vob = ?1 AND branch = ?2"
                   " AND (?3 = '' OR view = ?3) ORDER BY version LIMIT 1");
    q.Bind(1, vob).Bind(2, branch).Bind(3, view);
    return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;
  }
  Statement q(s, "SELECT l.version FROM vob_labels l JOIN vob_objs t ON t.vob = l.vob AND t.dbid = l.lbtype"
                 " JOIN vob_objs v ON v.vob = l.vob AND v.dbid = l.version"
                 " WHERE l.vob = ?1 AND t.mtype = ?4 AND t.name = ?2 AND v.branch = ?3");
  q.Bind(1, vob).Bind(2, leaf).Bind(3, branch).Bind(4, VOB_MTYPE_LBTYPE);
  return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;
}

vob_dbid_t CheckedOutVersion(Store& s, vob_handle_t vob, vob_dbid_t elem, const std::string& view) {
  // The element's objects first, by their index, then their check-outs: the
  // VOB's other check-outs are never read, however many there are. min()
  // rather than ORDER BY ... LIMIT 1, which sorts in a temporary table.
  Statement q(s, "SELECT min(c.version) FROM vob_objs o CROSS JOIN vob_checkouts c"
                 " ON c.vob = o.vob AND c.version = o.dbid WHERE o.vob = ?1 AND o.elem = ?2 AND c.view = ?3");
  q.Bind(1, vob).Bind(2, elem).Bind(3, view);
  return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;  // NULL, when none, reads as 0
}

vob_dbid_t ViewVersion(Store& s, vob_handle_t vob, vob_dbid_t elem, const std::string& view) {
  if (const auto row = views::LoadView(s, view)) {
    bool checked_out = false;
    return views::Select(s, *row, views::ParsedSpec(*row), vob, elem, &checked_out);
  }
  if (!view.empty())
    if (const vob_dbid_t checked_out = CheckedOutVersion(s, vob, elem, view)) return checked_out;
  const auto element = Load(s, vob, elem);
  return element ? LatestVersion(s, vob, element->branch) : 0;
}

vob_dbid_t AddCheckout(Store& s, const Object& from, const std::string& view, bool reserved, bool nonmastered,
                       const std::string& comment) {
  Object checked_out;
  checked_out.vob = from.vob;
  checked_out.mtype = from.mtype;
  checked_out.elem = from.elem;
  checked_out.branch = from.branch;
  checked_out.number = VOB_VERSION_CHECKEDOUT;
  checked_out.pred = from.dbid;
  checked_out.text = from.text;
  Insert(s, checked_out, "checkout version", comment);
  Statement event(s, "SELECT max(id) FROM vob_events WHERE vob = ?1 AND obj = ?2");
  event.Bind(1, from.vob).Bind(2, checked_out.dbid);
  event.Step();
  // The view as it is now, so the check-out can still be named once it is gone.
  Statement add(s, "INSERT INTO vob_checkouts (vob, version, branch, view, reserved, comment, event, nonmastered,"
                   " view_uuid, view_host, view_path)"
                   " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, coalesce((SELECT uuid FROM views WHERE tag = ?4), ''),"
                   " coalesce((SELECT host FROM views WHERE tag = ?4), ''), '\\\\view\\' || ?4)");
  add.Bind(1, from.vob).Bind(2, checked_out.dbid).Bind(3, from.branch).Bind(4, view).Bind(5, reserved ? 1 : 0);
  add.Bind(6, comment).Bind(7, event.Int(0)).Bind(8, nonmastered ? 1 : 0).Run();
  return checked_out.dbid;
}

std::string BranchPath(Store& s, const Object& branch) {
  std::string path;
  std::optional<Object> at = branch;
  for (int guard = 0; at && at->mtype == VOB_MTYPE_BRANCH && guard < 1000; ++guard) {
    path = "\\" + at->name + path;
    at = at->branch ? Load(s, at->vob, at->branch) : std::nullopt;
  }
  return path;
}

std::string VersionId(Store& s, const Object& version) {
  const auto branch = Load(s, version.vob, version.branch);
  if (!branch) return {};
  return BranchPath(s, *branch) + "\\" +
         (version.number == VOB_VERSION_CHECKEDOUT ? std::string("CHECKEDOUT") : Num(version.number));
}

std::string Selector(Store& s, const Object& o) {
  const vob_objsel_kind_t kind = vob_utl_mtype_to_objsel_kind(o.mtype);
  if (kind == VOB_OBJSEL_NONE) return {};
  if (kind == VOB_OBJSEL_VOB) return "vob:" + o.name;
  const std::string name = kind == VOB_OBJSEL_HLINK ? o.name + "@" + Num(o.dbid) : o.name;
  return std::string(vob_utl_objsel_kind_to_str(kind)) + ":" + name + "@" + VobTag(s, o.vob);
}

std::string Pathname(Store& s, const Object& o) {
  const std::string tag = VobTag(s, o.vob);
  switch (o.mtype) {
    case VOB_MTYPE_DIR_ELEMENT:
    case VOB_MTYPE_FILE_ELEMENT:
      return tag + o.name + "@@";
    case VOB_MTYPE_SYMLINK:
    case VOB_MTYPE_DERIVED_OBJECT:
      return tag + o.name;
    case VOB_MTYPE_BRANCH:
    case VOB_MTYPE_DIR_VERSION:
    case VOB_MTYPE_VERSION: {
      const auto element = Load(s, o.vob, o.elem);
      if (!element) return {};
      return tag + element->name + "@@" + (o.mtype == VOB_MTYPE_BRANCH ? BranchPath(s, o) : VersionId(s, o));
    }
    default:
      return {};
  }
}

vob_handle_t VobOfName(Store& s, const std::string& name, std::string* rest) {
  // The longest tag that names the start of the name, sought here rather
  // than by ORDER BY, which sorts at each call.
  Statement q(s, "SELECT id, tag FROM vobs");
  vob_handle_t found = 0;
  std::size_t found_length = 0;
  while (q.Step()) {
    const std::string tag = q.Text(1);
    if (found != 0 && tag.size() <= found_length) continue;
    if (name.compare(0, tag.size(), tag) != 0) continue;
    const std::string_view after = std::string_view(name).substr(tag.size());
    if (!after.empty() && after[0] != '\\' && after.substr(0, 2) != "@@") continue;
    found = static_cast<vob_handle_t>(q.Int(0));
    found_length = tag.size();
  }
  if (found != 0 && rest) *rest = name.substr(found_length);
  return found;
}

std::string BackslashName(const char* pathname) {
  std::string name = pathname;
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

bool SplitViewName(const std::string& name, std::string* view, std::string* rest) {
  const auto read = plat::ReadViewName(name);
  if (!read) return false;
  *view = read->tag;
  *rest = read->InView();
  return true;
}

int Resolve(Store& s, vob_handle_t vob, std::string name, const std::string& view, vob_dbid_t* dbid,
            std::uint32_t* mtype) {
  if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
  const std::string tag = VobTag(s, vob);
  if (name.compare(0, tag.size(), tag) == 0 &&
      (name.size() == tag.size() || name[tag.size()] == '\\' || name.compare(tag.size(), 2, "@@") == 0))
    name = name.substr(tag.size());
  const std::size_t at = name.find("@@");
  const bool extended = at != std::string::npos;
  std::string path = extended ? name.substr(0, at) : name;
  const std::string ext = extended ? name.substr(at + 2) : std::string();
  while (!path.empty() && path.back() == '\\') path.pop_back();
  if (!path.empty() && path[0] != '\\') return TBS_ST_NOT_FOUND;
  const auto [found, found_mtype] = FindPath(s, vob, path);
  if (found == 0) return TBS_ST_NOT_FOUND;
  vob_dbid_t result = found;
  const bool element = found_mtype == VOB_MTYPE_DIR_ELEMENT || found_mtype == VOB_MTYPE_FILE_ELEMENT;
  if (!element) {
    if (extended) return TBS_ST_NOT_FOUND;
  } else if (!extended) {
    if (!view.empty()) result = ViewVersion(s, vob, found, view);
  } else if (!ext.empty()) {
    result = BranchByPath(s, vob, found, ext);
    if (!result) result = VersionById(s, vob, found, ext, view);
  }
  if (!result) return TBS_ST_NOT_FOUND;
  const auto object = Load(s, vob, result);
  if (!object) return TBS_ST_NOT_FOUND;
  *dbid = result;
  *mtype = object->mtype;
  return TBS_ST_OK;
}

bool ValidLeafName(const std::string& name) {
  if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= ' ' || c >= 0x7F || c == '"' || c == '\'' || c == '\\' || c == '/' || c == '@' || c == ':')
      return false;
  }
  return true;
}

bool ValidElementName(const std::string& name) {
  if (name.empty() || name.size() > 255 || name == "." || name == ".." || name.find("@@") != std::string::npos)
    return false;
  for (std::size_t at = 0; at < name.size();) {
    const auto c = static_cast<unsigned char>(name[at]);
    if (c < ' ' || c == 0x7F || c == '\\' || c == '/' || c == ':') return false;
    const int length = strutl_mblen(name.c_str() + at);
    if (c >= 0x80 && length < 2) return false;  // not well-formed UTF-8
    at += static_cast<std::size_t>(length);
  }
  return true;
}

std::string BadElementNameText(const std::string& name) {
  const std::string shown = name.size() > 64 ? name.substr(0, 64) + "..." : name;
  return "\"" + shown + "\" is not a valid element name: a name is 1 to 255 bytes of UTF-8 without control"
         " characters, '\\', '/', ':' or \"@@\".";
}

void Complain(const std::string& text) { imsg_print_text(IMSG_ERROR, (text + "\n").c_str()); }

std::string BadNameText(const std::string& name) {
  const std::string shown = name.size() > 64 ? name.substr(0, 64) + "..." : name;
  return "\"" + shown + "\" is not a valid name: a name is 1 to 255 printable ASCII characters without blanks,"
         " quotes, '@', ':' or separators.";
}

int Changes(Store& s) { return sqlite3_changes(s.Handle()); }

int CopyOut(const std::string& text, char* out, std::size_t size) {
  if (!out || size == 0) return TBS_ST_INVALID_ARG;
  if (text.size() + 1 > size) {
    out[0] = '\0';
    return TBS_ST_INVALID_ARG;
  }
  std::memcpy(out, text.c_str(), text.size() + 1);
  return TBS_ST_OK;
}

const char* AreaCopy(stg_area_t area, const std::string& text) {
  const char* copy = stg_strdup(area, text.c_str());
  if (!copy) throw StoreError{TBS_ST_NO_MEMORY, "no room in the storage area"};
  return copy;
}

}  // namespace client_local::repo
