// The root directories of views.
#include "local/view_root.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include <fstream>
#include <iterator>
#include <set>
#include <system_error>
#include <vector>

#include "fileutl_file.h"
#include "local/vob_repo.h"
#include "platform/pathmap.h"
#include "view.h"

namespace client_local::views {

using repo::CheckedOutVersion;
using repo::Load;
using repo::Object;
using repo::VobTag;

namespace fs = std::filesystem;

namespace {

struct Record {
  vob_handle_t vob = 0;
  vob_dbid_t version = 0;
  bool checked_out = false;
};

std::string Relative(Store& s, vob_handle_t vob, const std::string& elem_name) {
  std::string rel = VobTag(s, vob);
  if (!rel.empty() && rel[0] == '\\') rel.erase(0, 1);
  rel += elem_name;
  for (char& c : rel)
    if (c == '\\') c = '/';
  return rel;
}

std::optional<Record> LoadRecord(Store& s, const std::string& view, const std::string& rel) {
  Statement q(s, "SELECT vob, version, checked_out FROM view_files WHERE view = ?1 AND path = ?2");
  q.Bind(1, view).Bind(2, rel);
  if (!q.Step()) return std::nullopt;
  return Record{static_cast<vob_handle_t>(q.Int(0)), static_cast<vob_dbid_t>(q.Int(1)), q.Int(2) != 0};
}

void SaveRecord(Store& s, const std::string& view, const std::string& rel, const Record& r) {
  Statement q(s, "INSERT OR REPLACE INTO view_files (view, path, vob, version, checked_out)"
                 " VALUES (?1, ?2, ?3, ?4, ?5)");
  q.Bind(1, view).Bind(2, rel).Bind(3, r.vob).Bind(4, r.version).Bind(5, r.checked_out ? 1 : 0).Run();
}

void DropRecord(Store& s, const std::string& view, const std::string& rel) {
  Statement q(s, "DELETE FROM view_files WHERE view = ?1 AND path = ?2");
  q.Bind(1, view).Bind(2, rel).Run();
}

bool ReadFile(const fs::path& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool Writable(const fs::path& path) {
  std::error_code error;
  const auto perms = fs::status(path, error).permissions();
  return !error && (perms & fs::perms::owner_write) != fs::perms::none;
}

// Puts the file back as it is now if the command is undone: the store then
// keeps nothing of the change, and neither may the view's directory.
void PutBackOnRollback(Store& s, const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (!fs::exists(status)) {
    s.OnRollback([path] {
      std::error_code ignored;
      fs::remove(path, ignored);
    });
    return;
  }
  std::string text;
  if (!fs::is_regular_file(status) || !ReadFile(path, &text)) return;
  s.OnRollback([path, text, perms = status.permissions()] {
    std::error_code ignored;
    fs::remove(path, ignored);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    fs::permissions(path, perms, ignored);
  });
}

// A view's copy of an element: the element's read and execute bits, and the
// owner's write bit only for the view's check-out.
fs::perms CopyPerms(Store& s, const Object& element, bool checked_out) {
  Statement q(s, "SELECT mode FROM vob_objs WHERE vob = ?1 AND dbid = ?2");
  q.Bind(1, element.vob).Bind(2, element.dbid);
  const std::int64_t mode = q.Step() ? q.Int(0) : 0444;
  return fs::perms(static_cast<unsigned>(mode) & 0555) | (checked_out ? fs::perms::owner_write : fs::perms::none);
}

// Writes a version's file: its contents and permissions replace the file at
// once. A file that is writable now keeps its write bit until the store has
// committed, so a process killed in between leaves either the old state or a
// writable copy with the version's bytes, and both agree with the store. A
// failure throws (the command is undone).
void WriteFile(Store& s, const fs::path& path, const std::string& contents, fs::perms perms) {
  PutBackOnRollback(s, path);
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  const bool drop_write_later = (perms & fs::perms::owner_write) == fs::perms::none && Writable(path);
  const fs::perms now = drop_write_later ? perms | fs::perms::owner_write : perms;
  const int failure = ReplaceFile(path, contents, now);
  if (failure == ENAMETOOLONG) {
    // No room for a new file's name beside it: written in place.
    fs::remove(path, error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    out.close();
    if (!out) s.Fail("cannot write the view file " + path.string());
    fs::permissions(path, now, error);
    if (error) s.Fail("cannot set the permissions of " + path.string());
  } else if (failure) {
    s.Fail("cannot write the view file " + path.string());
  }
  if (drop_write_later)
    s.AfterCommit([path, perms] {
      std::error_code ignored;
      fs::permissions(path, perms, ignored);
    });
}

std::string Contents(Store& s, vob_handle_t vob, vob_dbid_t version) {
  const auto v = Load(s, vob, version);
  return v ? v->text : std::string();
}

// Changed by hand: the bytes differ from the version's. A writable copy with
// the version's very bytes is not: a check-out, check-in or undo killed
// between the store and the file leaves one, and no one's work is in it.
bool Hijacked(Store& s, const fs::path& path, const Record& record) {
  if (record.checked_out) return false;
  std::string text;
  if (!ReadFile(path, &text)) return Writable(path);
  return text != Contents(s, record.vob, record.version);
}

vob_dbid_t LabelVersion(Store& s, vob_handle_t vob, vob_dbid_t elem, const std::string& label) {
  Statement q(s, "SELECT l.version FROM vob_labels l JOIN vob_objs t ON t.vob = l.vob AND t.dbid = l.lbtype"
                 " JOIN vob_objs v ON v.vob = l.vob AND v.dbid = l.version"
                 " WHERE l.vob = ?1 AND t.mtype = ?4 AND t.name = ?2 AND v.elem = ?3");
  q.Bind(1, vob).Bind(2, label).Bind(3, elem).Bind(4, VOB_MTYPE_LBTYPE);
  return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;
}

bool InLoadScope(const configspec_t& spec, const std::string& full_name, bool directory) {
  for (const std::string& scope : spec.load_rules) {
    const char* scopes[] = {scope.c_str()};
    if (fileutl_pname_scoped_by_list(full_name.c_str(), scopes, 1)) return true;
    // A directory on the way to a scope is loaded too.
    if (directory && scope.size() > full_name.size() && scope.compare(0, full_name.size(), full_name) == 0 &&
        scope[full_name.size()] == '\\')
      return true;
  }
  return false;
}

void RefreshOne(Store& s, const ViewRow& view, const configspec_t& spec, const Object& element,
                const std::set<std::string>* shown_dirs, std::set<std::string>* dirs_out) {
  const std::string rel = Relative(s, element.vob, element.name);
  const fs::path path = RootOf(view.tag) / rel;
  const bool directory = element.mtype == VOB_MTYPE_DIR_ELEMENT;
  bool checked_out = false;
  vob_dbid_t selected = Select(s, view, spec, element.vob, element.dbid, &checked_out);
  if (selected && shown_dirs && !element.name.empty()) {
    const std::string parent = rel.substr(0, rel.rfind('/'));
    if (!shown_dirs->count(parent)) selected = 0;
  }
  std::error_code error;
  if (directory) {
    if (selected || element.name.empty()) {
      fs::create_directories(path, error);
      if (error) s.Fail("cannot make the view directory " + path.string());
      if (dirs_out) dirs_out->insert(rel);
    }
    return;
  }
  const auto record = LoadRecord(s, view.tag, rel);
  const bool exists = fs::exists(fs::symlink_status(path, error));
  if (record && !exists) {
    DropRecord(s, view.tag, rel);
  } else if (record && Hijacked(s, path, *record)) {
    // Hand-made changes stay; a check-out takes them over as they are.
    if (checked_out) {
      PutBackOnRollback(s, path);
      fs::permissions(path, fs::perms(0644), error);
      SaveRecord(s, view.tag, rel, Record{element.vob, selected, true});
    }
    return;
  } else if (record && record->checked_out &&
             CheckedOutVersion(s, element.vob, element.dbid, view.tag) == record->version) {
    return;  // the user's work on the view's check-out, whatever the rules say
  } else if (!record && exists) {
    return;  // view-private: never overwritten
  }
  if (!selected) {
    if (exists && record) {
      PutBackOnRollback(s, path);
      fs::remove(path, error);
    }
    if (record) DropRecord(s, view.tag, rel);
    return;
  }
  WriteFile(s, path, Contents(s, element.vob, selected), CopyPerms(s, element, checked_out));
  SaveRecord(s, view.tag, rel, Record{element.vob, selected, checked_out});
}

}  // namespace

std::optional<ViewRow> LoadView(Store& s, const std::string& tag) {
  Statement q(s, "SELECT tag, uuid, owner, host, spec, comment, snapshot, active, created FROM views WHERE tag = ?1");
  q.Bind(1, tag);
  if (!q.Step()) return std::nullopt;
  ViewRow row;
  row.tag = q.Text(0);
  row.uuid = q.Text(1);
  row.owner = q.Text(2);
  row.host = q.Text(3);
  row.spec = q.Text(4);
  row.comment = q.Text(5);
  row.snapshot = q.Int(6) != 0;
  row.active = q.Int(7) != 0;
  row.created = q.Int(8);
  return row;
}

configspec_t ParsedSpec(const ViewRow& view) {
  configspec_t spec;
  std::string error;
  configspec_parse(view.spec.c_str(), &spec, &error);  // stored specs have parsed
  return spec;
}

fs::path RootOf(const std::string& tag) { return plat::Home() / "views" / tag; }

bool ViewFile::InsideRoot() const {
  return !(relative.empty() || relative == ".." || relative.rfind("../", 0) == 0);
}

std::optional<ViewFile> ParseViewFile(const std::string& pathname) {
  const std::string name = repo::BackslashName(pathname.c_str());
  ViewFile file;
  std::string rest;
  if (!repo::SplitViewName(name, &file.view, &rest) || file.view.empty() || name.find("@@") != std::string::npos)
    return std::nullopt;
  const auto host = plat::ToHostPath(name);
  if (!host) return std::nullopt;
  file.host = *host;
  file.relative = host->lexically_normal().lexically_relative(RootOf(file.view).lexically_normal()).generic_string();
  return file;
}

fs::path ElementFile(Store& s, const std::string& view, vob_handle_t vob, const std::string& elem_name) {
  return RootOf(view) / Relative(s, vob, elem_name);
}

vob_dbid_t Select(Store& s, const ViewRow& view, const configspec_t& spec, vob_handle_t vob, vob_dbid_t elem,
                  bool* checked_out) {
  *checked_out = false;
  const auto element = Load(s, vob, elem);
  if (!element) return 0;
  const std::string full = VobTag(s, vob) + element->name;
  if (view.snapshot && !InLoadScope(spec, full, element->mtype == VOB_MTYPE_DIR_ELEMENT)) return 0;
  for (const configspec_rule_t& rule : spec.rules) {
    if (!configspec_match(rule.pattern, full)) continue;
    vob_dbid_t found = 0;
    switch (rule.kind) {
      case configspec_rule_t::kCheckedOut:
        found = CheckedOutVersion(s, vob, elem, view.tag);
        if (found) *checked_out = true;
        break;
      case configspec_rule_t::kLatest: {
        const vob_dbid_t branch = repo::BranchByPath(s, vob, elem, rule.branch);
        found = branch ? repo::LatestVersion(s, vob, branch) : 0;
        break;
      }
      case configspec_rule_t::kLabel:
        found = LabelVersion(s, vob, elem, rule.label);
        break;
      case configspec_rule_t::kVersion: {
        const std::string& id = rule.branch;
        if (id.size() >= 10 && id.compare(id.size() - 10, 10, "CHECKEDOUT") == 0) break;
        found = repo::VersionById(s, vob, elem, id, view.tag);
        break;
      }
    }
    if (found) return found;
  }
  return 0;
}

void RefreshElement(Store& s, const std::string& view, vob_handle_t vob, vob_dbid_t elem) {
  const auto row = LoadView(s, view);
  const auto element = Load(s, vob, elem);
  if (!row || !element) return;
  std::error_code error;
  if (!fs::is_directory(RootOf(view), error)) return;
  const configspec_t spec = ParsedSpec(*row);
  RefreshOne(s, *row, spec, *element, nullptr, nullptr);
}

void RefreshElementInViews(Store& s, vob_handle_t vob, vob_dbid_t elem) {
  std::vector<std::string> tags;
  {
    Statement q(s, "SELECT tag FROM views ORDER BY tag");
    while (q.Step()) tags.push_back(q.Text(0));
  }
  for (const std::string& tag : tags) RefreshElement(s, tag, vob, elem);
}

void RefreshRoot(Store& s, const std::string& view) {
  const auto row = LoadView(s, view);
  if (!row) return;
  const configspec_t spec = ParsedSpec(*row);
  std::error_code error;
  fs::create_directories(RootOf(view), error);
  if (error) s.Fail("cannot make the view root " + RootOf(view).string());
  std::vector<std::pair<vob_handle_t, vob_dbid_t>> elements;
  {
    Statement q(s, "SELECT vob, dbid FROM vob_objs WHERE mtype IN (?1, ?2) ORDER BY vob, name");
    q.Bind(1, VOB_MTYPE_DIR_ELEMENT).Bind(2, VOB_MTYPE_FILE_ELEMENT);
    while (q.Step()) elements.emplace_back(static_cast<vob_handle_t>(q.Int(0)), static_cast<vob_dbid_t>(q.Int(1)));
  }
  std::set<std::string> dirs;
  for (const auto& [vob, dbid] : elements) {
    const auto element = Load(s, vob, dbid);
    if (element) RefreshOne(s, *row, spec, *element, &dirs, &dirs);
  }
}

bool ReadElementFile(Store& s, const std::string& view, vob_handle_t vob, vob_dbid_t elem, std::string* text) {
  if (!LoadView(s, view)) return false;
  const auto element = Load(s, vob, elem);
  if (!element || element->mtype != VOB_MTYPE_FILE_ELEMENT) return false;
  const fs::path path = ElementFile(s, view, vob, element->name);
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return false;
  // Only the view's own check-out file: never a stale or private one.
  const auto record = LoadRecord(s, view, Relative(s, vob, element->name));
  if (!record || !record->checked_out) return false;
  return ReadFile(path, text);
}

bool LoadedVersion(Store& s, const std::string& view, const std::string& relative, vob_handle_t* vob,
                   vob_dbid_t* version, bool* checked_out) {
  const auto record = LoadRecord(s, view, relative);
  if (!record) return false;
  *vob = record->vob;
  *version = record->version;
  *checked_out = record->checked_out;
  return true;
}

void RecordCheckedOut(Store& s, const std::string& view, vob_handle_t vob, const std::string& elem_name,
                      vob_dbid_t version) {
  SaveRecord(s, view, Relative(s, vob, elem_name), Record{vob, version, true});
}

void RecordCheckedIn(Store& s, const std::string& view, vob_handle_t vob, const std::string& elem_name,
                     vob_dbid_t version) {
  SaveRecord(s, view, Relative(s, vob, elem_name), Record{vob, version, false});
}

int ReplaceFile(const fs::path& path, const std::string& text, fs::perms perms) {
  const std::string pattern = (path.parent_path() / ("." + path.filename().string() + ".new.XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return errno;
  const fs::path temp(name.data());
  int failure = 0;
  std::size_t written = 0;
  while (written < text.size() && !failure) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n > 0)
      written += static_cast<std::size_t>(n);
    else if (n < 0 && errno != EINTR)
      failure = errno;
    else if (n == 0)
      failure = EIO;
  }
  if (::close(fd) != 0 && !failure) failure = errno;
  std::error_code error;
  if (!failure) {
    fs::permissions(temp, perms, error);
    if (error) failure = error.value();
  }
  if (!failure && std::rename(temp.c_str(), path.c_str()) != 0) failure = errno;
  if (failure) fs::remove(temp, error);
  return failure;
}

int FileState(Store& s, const std::string& view, const std::string& relative) {
  const fs::path path = RootOf(view) / relative;
  std::error_code error;
  const auto status = fs::symlink_status(path, error);
  if (error || !fs::exists(status)) return VIEW_FILE_ABSENT;
  const auto record = LoadRecord(s, view, relative);
  if (fs::is_directory(status)) {
    // A directory of a VOB or of a directory element; anything else is private.
    Statement q(s, "SELECT tag FROM vobs");
    while (q.Step()) {
      std::string tag = q.Text(0);
      if (!tag.empty() && tag[0] == '\\') tag.erase(0, 1);
      if (relative == tag) return VIEW_FILE_DIRECTORY;
      if (relative.compare(0, tag.size() + 1, tag + "/") == 0) {
        std::string name = "\\" + relative.substr(tag.size() + 1);
        for (char& c : name)
          if (c == '/') c = '\\';
        Statement e(s, "SELECT 1 FROM vob_objs o JOIN vobs v ON v.id = o.vob WHERE v.tag = ?1 AND o.mtype = ?3"
                       " AND o.name = ?2");
        e.Bind(1, "\\" + tag).Bind(2, name).Bind(3, VOB_MTYPE_DIR_ELEMENT);
        if (e.Step()) return VIEW_FILE_DIRECTORY;
      }
    }
    return VIEW_FILE_PRIVATE;
  }
  if (!record) return VIEW_FILE_PRIVATE;
  if (record->checked_out) return VIEW_FILE_CHECKED_OUT;
  return Hijacked(s, path, *record) ? VIEW_FILE_HIJACKED : VIEW_FILE_CHECKED_IN;
}

}  // namespace client_local::views
