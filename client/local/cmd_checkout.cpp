// cmd_checkout: a view's file checked out, one store transaction per name.
// The candidates are read first and the caller's callback is asked outside
// any transaction (it may show dialogs); the check-out is then written in one
// transaction that reads the candidates again, and the view's file changes
// as its last step (put back if the store cannot keep the change).
#include "cmd_checkout.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "date_fmt.h"
#include "imsg.h"
#include "local/flm_repo.h"
#include "local/line_merge.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "view.h"
#include "view_ws.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;
namespace views = client_local::views;
namespace fs = std::filesystem;

namespace {

// A candidate as the store has it: its version, flags and texts.
struct Choice {
  Object version;
  cmd_checkout_candidate_s words;  // flags only; texts below
  std::string name, branch, creator, created, reserved_by, master;
  std::vector<std::string> refusals;  // why the options forbid it
};

// What one name leads to.
struct Target {
  std::string shown;  // the name as given
  views::ViewFile file;
  vob_handle_t vob = 0;
  Object element;
  bool hijacked = false;
  vob_dbid_t loaded = 0;  // the version the view's file was loaded from (0: none)
  std::vector<Choice> choices;
};

// The options a check-out is decided with.
struct Options {
  bool reserved, unreserved, nonmastered, preserve_time, exact;
  std::string comment;
};

bool IsElement(std::uint32_t m) { return m == VOB_MTYPE_DIR_ELEMENT || m == VOB_MTYPE_FILE_ELEMENT; }

bool ReadText(const fs::path& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

std::string CreationTime(std::int64_t secs) {
  tbs_time2_t time;
  time.secs = static_cast<std::uint32_t>(secs);
  char text[128];
  return date_fmt_short_date_time(&time, text, sizeof text) == TBS_ST_OK ? text : Num(secs);
}

// The candidate's flags and texts.
Choice Describe(Store& s, const Target& t, const Options& o, const Object& version, bool first) {
  Choice c;
  c.version = version;
  const auto branch = Load(s, t.vob, version.branch);
  c.name = Pathname(s, version);
  c.branch = branch ? BranchPath(s, *branch) : std::string();
  const std::string branch_name = branch ? Pathname(s, *branch) : c.name;
  Statement made(s, "SELECT user, secs FROM vob_events WHERE vob = ?1 AND obj = ?2 ORDER BY id LIMIT 1");
  made.Bind(1, t.vob).Bind(2, version.dbid);
  if (made.Step()) {
    c.creator = made.Text(0);
    c.created = CreationTime(made.Int(1));
  }
  Statement other(s, "SELECT view FROM vob_checkouts WHERE vob = ?1 AND branch = ?2 AND reserved = 1 AND view <> ?3"
                     " ORDER BY view LIMIT 1");
  other.Bind(1, t.vob).Bind(2, version.branch).Bind(3, t.file.view);
  if (other.Step()) c.reserved_by = other.Text(0);
  const vob_dbid_t master = MasterReplica(s, t.vob, version.branch);
  const auto master_object = Load(s, t.vob, master);
  c.master = master_object ? master_object->name : std::string();
  const bool file = t.element.mtype == VOB_MTYPE_FILE_ELEMENT;
  cmd_checkout_candidate_s& w = c.words;
  w.not_latest = first && version.dbid != LatestVersion(s, t.vob, version.branch);
  w.not_loaded = file && version.dbid != t.loaded;
  w.needs_hijack_merge = t.hijacked && version.dbid != t.loaded;
  w.auto_merge = 1;  // every element type here merges line by line
  w.reserved_elsewhere = o.reserved && !c.reserved_by.empty();
  w.not_mastered_here = master != CurrentReplica(s, t.vob);
  if (w.reserved_elsewhere && !o.unreserved)
    c.refusals.push_back("Branch \"" + branch_name + "\" is checked out reserved in view \"" + c.reserved_by + "\".");
  if (w.not_mastered_here && !o.nonmastered)
    c.refusals.push_back("Branch \"" + branch_name + "\" is mastered by replica \"" + c.master +
                         "\": only an unreserved, nonmastered check-out is allowed here.");
  w.not_allowed = !c.refusals.empty();
  return c;
}

// Reads what the name leads to and its candidates (inside a command).
int Survey(Store& s, const std::string& version_id, const Options& o, Target* t) {
  const std::string& tag = t->file.view;
  const auto view = views::LoadView(s, tag);
  if (!view) {
    Complain("No such view: \"" + tag + "\".");
    return TBS_ST_NOT_FOUND;
  }
  std::string in_vob;
  std::string rest = "\\" + t->file.relative;
  for (char& c : rest)
    if (c == '/') c = '\\';
  t->vob = VobOfName(s, rest, &in_vob);
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
  if (!t->vob || Resolve(s, t->vob, in_vob, "", &dbid, &mtype) != TBS_ST_OK) {
    Complain("Unable to find \"" + t->shown + "\".");
    return TBS_ST_NOT_FOUND;
  }
  if (!IsElement(mtype)) {
    Complain("\"" + t->shown + "\" is not an element: only elements are checked out.");
    return TBS_ST_WRONG_KIND;
  }
  t->element = *Load(s, t->vob, dbid);
  Statement mine(s, "SELECT 1 FROM vob_objs o CROSS JOIN vob_checkouts c ON c.vob = o.vob AND c.version = o.dbid"
                    " WHERE o.vob = ?1 AND o.elem = ?2 AND c.view = ?3");
  mine.Bind(1, t->vob).Bind(2, dbid).Bind(3, tag);
  if (mine.Step()) {
    Complain("Element \"" + t->shown + "\" is already checked out to view \"" + tag + "\".");
    return TBS_ST_ALREADY;
  }
  t->hijacked = views::FileState(s, tag, t->file.relative) == VIEW_FILE_HIJACKED;
  vob_handle_t loaded_vob = 0;
  bool loaded_out = false;
  if (!views::LoadedVersion(s, tag, t->file.relative, &loaded_vob, &t->loaded, &loaded_out)) t->loaded = 0;
  vob_dbid_t selected = 0;
  if (o.exact) {
    selected = VersionById(s, t->vob, dbid, version_id, tag);
  } else if (t->hijacked) {
    selected = t->loaded;
  } else {
    bool checked_out = false;
    selected = views::Select(s, *view, views::ParsedSpec(*view), t->vob, dbid, &checked_out);
  }
  const auto first = Load(s, t->vob, selected);
  if (!first || first->number == VOB_VERSION_CHECKEDOUT) {
    Complain(o.exact ? "No version \"" + version_id + "\" of \"" + t->shown + "\" can be checked out."
                     : "View \"" + tag + "\" selects no version of \"" + t->shown + "\" to check out.");
    return TBS_ST_NOT_FOUND;
  }
  t->choices.clear();
  t->choices.push_back(Describe(s, *t, o, *first, true));
  const vob_dbid_t latest = LatestVersion(s, t->vob, first->branch);
  if (!o.exact && latest && latest != selected) t->choices.push_back(Describe(s, *t, o, *Load(s, t->vob, latest), false));
  return TBS_ST_OK;
}

// The first free name FILE.hijack, FILE.hijack.1, ...; the file is moved
// there without ever replacing an existing file.
int MoveAside(const fs::path& file, fs::path* moved) {
  for (int n = 0; n < 10000; ++n) {
    fs::path candidate = file;
    candidate += n == 0 ? std::string(".hijack") : ".hijack." + std::to_string(n);
    if (::link(file.c_str(), candidate.c_str()) != 0) {
      if (errno == EEXIST) continue;
      return errno;
    }
    if (::unlink(file.c_str()) != 0) {
      const int failure = errno;
      ::unlink(candidate.c_str());
      return failure;
    }
    *moved = candidate;
    return 0;
  }
  return EEXIST;
}

// The view's file as it was, to put back when the command is undone.
struct FileBefore {
  fs::path path;
  bool existed = false;
  std::string text;
  fs::perms perms = fs::perms::none;
  fs::file_time_type mtime;
  fs::path moved;  // where a hijacked file was moved aside
};

void PutBack(const FileBefore& before) {
  std::error_code error;
  if (!before.moved.empty()) {
    std::rename(before.moved.c_str(), before.path.c_str());
    return;  // the original file itself, untouched
  }
  if (!before.existed) {
    fs::remove(before.path, error);
    return;
  }
  std::string now;
  if (!ReadText(before.path, &now) || now != before.text) views::ReplaceFile(before.path, before.text, before.perms);
  fs::permissions(before.path, before.perms, error);
  fs::last_write_time(before.path, before.mtime, error);
}

int CannotWrite(const Target& t, int failure) {
  Complain("Cannot write \"" + t.shown + "\" in the view: " + std::strerror(failure) + ".");
  return TBS_ST_FAILURE;
}

// Makes the view's file the writable check-out holding text (nothing when
// text is null: the file stays as it is). The last step of the command.
int WriteViewFile(Store& s, const Target& t, const Options& o, const std::string* text, bool move_aside,
                  fs::path* moved_to) {
  FileBefore before;
  before.path = t.file.host;
  std::error_code error;
  const auto status = fs::symlink_status(before.path, error);
  before.existed = fs::exists(status);
  if (before.existed) {
    if (!fs::is_regular_file(status) || !ReadText(before.path, &before.text)) return CannotWrite(t, EIO);
    before.perms = status.permissions();
    before.mtime = fs::last_write_time(before.path, error);
  }
  s.OnRollback([before] { PutBack(before); });
  const fs::perms writable = (before.existed ? before.perms : fs::perms(0444)) | fs::perms::owner_write;
  if (move_aside && before.existed) {
    fs::path moved;
    if (const int failure = MoveAside(before.path, &moved)) return CannotWrite(t, failure);
    s.OnRollback([before, moved] {
      FileBefore aside = before;
      aside.moved = moved;
      std::error_code ignored;
      fs::remove(before.path, ignored);
      PutBack(aside);
    });
    *moved_to = moved;
  }
  const bool rewrite = text && (!before.existed || move_aside || *text != before.text);
  if (rewrite) {
    if (const int failure = views::ReplaceFile(before.path, *text, writable)) return CannotWrite(t, failure);
  } else {
    fs::permissions(before.path, writable, error);
    if (error) return CannotWrite(t, error.value());
  }
  if (o.preserve_time && before.existed)
    fs::last_write_time(before.path, before.mtime, error);
  else
    fs::last_write_time(before.path, fs::file_time_type::clock::now(), error);
  return error ? CannotWrite(t, error.value()) : TBS_ST_OK;
}

// The hijacked file's edits merged into the chosen version; false with the
// conflicts named when they clash.
bool MergeHijack(Store& s, const Target& t, const Choice& chosen, std::string* merged) {
  std::string edited;
  if (!ReadText(t.file.host, &edited)) {
    Complain("Cannot read \"" + t.shown + "\".");
    return false;
  }
  const auto base = Load(s, t.vob, t.loaded);
  auto result = client_local::merge::Merge3(base ? base->text : std::string(), edited, chosen.version.text);
  if (!result.conflicts.empty()) {
    std::string spans;
    for (const auto& conflict : result.conflicts)
      spans += (spans.empty() ? "" : ", ") + client_local::merge::LineSpan(conflict);
    Complain("The hijacked file \"" + t.shown + "\" conflicts with \"" + chosen.name + "\" (" + spans +
             "): resolve the hijack before checking it out.");
    return false;
  }
  *merged = std::move(result.text);
  return true;
}

// The check-out itself (inside its command): the candidates read again and
// checked against what the caller chose from.
int Write(Store& s, const std::string& version_id, const Options& o, const Target& asked, std::size_t index,
          bool nonmastered, bool use_modified, fs::path* moved_to) {
  Target t = asked;
  if (int rc = Survey(s, version_id, o, &t)) return rc;
  if (t.choices.size() != asked.choices.size() || t.choices[index].version.dbid != asked.choices[index].version.dbid ||
      t.hijacked != asked.hijacked || t.loaded != asked.loaded) {
    Complain("\"" + t.shown + "\" changed while its check-out was being decided; nothing was checked out.");
    return TBS_ST_ALREADY;
  }
  const Choice& chosen = t.choices[index];
  std::string merged;
  const std::string* text = &chosen.version.text;
  const bool has_file =
      t.element.mtype == VOB_MTYPE_FILE_ELEMENT && fs::is_directory(views::RootOf(t.file.view));
  if (has_file && t.hijacked && use_modified) {
    if (!chosen.words.needs_hijack_merge)
      text = nullptr;  // the edits are the check-out as they are
    else if (!MergeHijack(s, t, chosen, &merged))
      return TBS_ST_FAILURE;
    else
      text = &merged;
  }
  const bool reserved = o.reserved && !chosen.words.reserved_elsewhere && !nonmastered;
  const vob_dbid_t checked_out = AddCheckout(s, chosen.version, t.file.view, reserved, nonmastered, o.comment);
  if (int rc = client_local::flm::JoinViewActivity(s, t.file.view, t.element, checked_out, t.shown)) return rc;
  if (int rc = view_inval_obj(t.file.view.c_str(), t.vob, t.element.dbid)) return rc;
  if (!has_file) return TBS_ST_OK;
  views::RecordCheckedOut(s, t.file.view, t.vob, t.element.name, checked_out);
  // Last: the file changes only when everything else has been done.
  return WriteViewFile(s, t, o, text, t.hijacked && !use_modified, moved_to);
}

int Refuse(const std::vector<std::string>& refusals) {
  for (const std::string& refusal : refusals) Complain(refusal);
  return TBS_ST_ALREADY;
}

int CheckOutOne(const cmd_checkout_args_s& args, const char* pathname) {
  Options o{args.reserved != 0, args.unreserved != 0, args.nonmastered != 0, args.preserve_time != 0,
            args.version_flag != 0,
            args.comment_mode == CMD_CHECKOUT_COMMENT_GIVEN && args.comment ? args.comment : ""};
  Target t;
  t.shown = BackslashName(pathname);
  std::string file_name = t.shown, version_id;
  if (o.exact) {
    const std::size_t at = t.shown.find("@@");
    if (at == std::string::npos) {
      Complain("\"" + t.shown + "\" names no version: give the view's name, \"@@\" and the version.");
      return TBS_ST_INVALID_ARG;
    }
    file_name = t.shown.substr(0, at);
    version_id = t.shown.substr(at + 2);
  }
  const auto file = views::ParseViewFile(file_name);
  if (!file || !file->InsideRoot() || file->relative == ".") {
    Complain("\"" + t.shown + "\" is not a file through a view: a check-out is made in a view.");
    return TBS_ST_INVALID_ARG;
  }
  t.file = *file;
  Store* store = client_local::CurrentStore();
  if (!store) return TBS_ST_FAILURE;
  if (int rc = store->Command([&](Store& s) { return Survey(s, version_id, o, &t); })) return rc;

  std::vector<cmd_checkout_candidate_s> candidates;
  try {
    for (const Choice& c : t.choices) {
      cmd_checkout_candidate_s words = c.words;
      words.name = AreaCopy(args.area, c.name);
      words.branch = AreaCopy(args.area, c.branch);
      words.creator = AreaCopy(args.area, c.creator);
      words.created = AreaCopy(args.area, c.created);
      words.reserved_by = AreaCopy(args.area, c.reserved_by);
      words.master = AreaCopy(args.area, c.master);
      candidates.push_back(words);
    }
  } catch (const client_local::StoreError& e) {
    // No room in the caller's area: the call fails, it does not throw.
    Complain(e.message);
    return e.status;
  }
  int answer = 0;
  int use_modified = 1;
  if (args.callback)
    answer = args.callback(t.shown.c_str(), static_cast<std::uint32_t>(candidates.size()), candidates.data(), 0,
                           t.hijacked ? 1 : 0, &use_modified, args.context);
  bool nonmastered = false;
  if (answer == CMD_CHECKOUT_NONE) {
    std::vector<std::string> refusals;
    for (const Choice& c : t.choices) refusals.insert(refusals.end(), c.refusals.begin(), c.refusals.end());
    return refusals.empty() ? TBS_ST_INTERRUPTED : Refuse(refusals);
  }
  if (answer == CMD_CHECKOUT_NONMASTERED) {
    answer = 0;
    o.nonmastered = true;
  }
  if (answer < 0 || static_cast<std::size_t>(answer) >= t.choices.size()) {
    Complain("No candidate " + Num(answer) + " to check out for \"" + t.shown + "\".");
    return TBS_ST_INVALID_ARG;
  }
  const auto index = static_cast<std::size_t>(answer);
  const Choice& chosen = t.choices[index];
  std::vector<std::string> refusals;
  if (chosen.words.reserved_elsewhere && !o.unreserved) refusals.push_back(chosen.refusals.front());
  if (!refusals.empty()) return Refuse(refusals);
  if (chosen.words.not_mastered_here) {
    if (!o.nonmastered) return Refuse({chosen.refusals.back()});
    nonmastered = true;
  }
  fs::path moved;
  const int status = store->Command(
      [&](Store& s) { return Write(s, version_id, o, t, index, nonmastered, use_modified != 0, &moved); });
  if (status != TBS_ST_OK) return status;
  if (!moved.empty())
    imsg_print(IMSG_NOTICE, "Hijacked file \"%s\" renamed to \"%s\".\n", t.shown, moved.filename().string());
  imsg_print(IMSG_NOTICE, "Checked out \"%s\" from version \"%s\".\n", t.shown, chosen.name);
  return TBS_ST_OK;
}

}  // namespace

int cmd_checkout(cmd_checkout_args_s* args) {
  return LocalCall("cmd_checkout",
                   {args && args->pname_count && args->pnames && args->pnames[0] ? args->pnames[0] : "(none)",
                    args ? Num(args->reserved) : "(null)", args ? Num(args->unreserved) : "",
                    args ? Num(args->nonmastered) : "", args ? Num(args->version_flag) : ""},
                   NonNull(args) && args->version == 8 && args->area != STG_NULL_AREA && args->pnames &&
                       args->pname_count != 0 && (args->add_to_srcs == 0 || args->add_to_srcs == 1) &&
                       (args->comment_mode == CMD_CHECKOUT_COMMENT_NONE ||
                        (args->comment_mode == CMD_CHECKOUT_COMMENT_GIVEN && args->comment)),
                   [&] {
    for (std::uint32_t i = 0; i < args->pname_count; ++i) {
      if (!args->pnames[i]) return TBS_ST_INVALID_ARG;
      if (int status = CheckOutOne(*args, args->pnames[i])) return status;
    }
    return TBS_ST_OK;
  });
}
