// cmd_merge: the contributors' changes merged into a view's file, and the
// merge arrows recorded, in one transaction of the store.
#include "cmd_merge.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "imsg.h"
#include "local/line_merge.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "platform/pathmap.h"
#include "view.h"

using client_local::LocalCall;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;
namespace views = client_local::views;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxName = 1024;
// How much of the conflicts a graphical merge lists.
constexpr std::size_t kListedConflicts = 20;
constexpr std::size_t kListedLines = 20;
// How far back the search for a common ancestor goes.
constexpr std::size_t kMaxAncestors = 100000;

// A file of a view's root, not the root itself.
bool ToViewFile(const std::string& name, views::ViewFile* out) {
  auto file = views::ParseViewFile(name);
  if (!file || !file->InsideRoot() || file->relative == ".") return false;
  *out = std::move(*file);
  return true;
}

bool ReadHostFile(const fs::path& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// One side of the merge: its text and, for an element's version, the version.
struct Side {
  std::string name;  // as the caller gave it
  std::string text;
  vob_handle_t vob = 0;
  vob_dbid_t version = 0;  // 0: not an element's version (a view-private file)
  vob_dbid_t elem = 0;
};

int NotFound(const std::string& name) {
  Complain("Unable to find \"" + name + "\".");
  return TBS_ST_NOT_FOUND;
}

void TakeVersion(Store& s, vob_handle_t vob, vob_dbid_t version, Side* side) {
  const auto object = Load(s, vob, version);
  side->vob = vob;
  side->version = version;
  side->elem = object ? object->elem : 0;
}

// The target: the view's check-out of a file element, or a view-private file.
int ReadTarget(Store& s, const std::string& name, Side* target, fs::path* host) {
  views::ViewFile file;
  if (!ToViewFile(name, &file)) {
    Complain("\"" + name + "\" is not a file through a view: a merge writes into a view's file.");
    return TBS_ST_INVALID_ARG;
  }
  if (!views::LoadView(s, file.view)) {
    Complain("No such view: \"" + file.view + "\".");
    return TBS_ST_NOT_FOUND;
  }
  std::error_code error;
  switch (views::FileState(s, file.view, file.relative)) {
    case VIEW_FILE_ABSENT:
      return NotFound(name);
    case VIEW_FILE_DIRECTORY:
      Complain("\"" + name + "\" is a directory: only files are merged.");
      return TBS_ST_WRONG_KIND;
    case VIEW_FILE_CHECKED_IN:
    case VIEW_FILE_HIJACKED:
      Complain("Element \"" + name + "\" is not checked out in view \"" + file.view +
               "\": check it out before merging into it.");
      return TBS_ST_NOT_FOUND;
    case VIEW_FILE_CHECKED_OUT: {
      vob_handle_t vob = 0;
      vob_dbid_t version = 0;
      bool checked_out = false;
      if (views::LoadedVersion(s, file.view, file.relative, &vob, &version, &checked_out) && checked_out)
        TakeVersion(s, vob, version, target);
      break;
    }
    default:  // view-private: a plain file only
      if (!fs::is_regular_file(fs::symlink_status(file.host, error))) {
        Complain("\"" + name + "\" is not a plain file: only files are merged.");
        return TBS_ST_WRONG_KIND;
      }
      break;
  }
  if (!ReadHostFile(file.host, &target->text)) {
    Complain("Cannot read \"" + name + "\".");
    return TBS_ST_FAILURE;
  }
  *host = file.host;
  return TBS_ST_OK;
}

// A contributor or a base: a version by its extended name, or a view's file
// as it is on disk (a checked-in or checked-out copy stands for its version).
int ReadSide(Store& s, const std::string& name, Side* side) {
  std::string view, rest;
  const bool through_view = SplitViewName(name, &view, &rest);
  if (!through_view) {
    if (name.empty() || name[0] != '\\' || name.compare(0, 2, "\\\\") == 0) return NotFound(name);
    rest = name;
  }
  if (name.find("@@") != std::string::npos) {
    std::string in_vob;
    const vob_handle_t vob = VobOfName(s, rest, &in_vob);
    vob_dbid_t dbid = 0;
    std::uint32_t mtype = 0;
    if (!vob || Resolve(s, vob, in_vob, view, &dbid, &mtype) != TBS_ST_OK) return NotFound(name);
    if (mtype != VOB_MTYPE_VERSION) {
      Complain("\"" + name + "\" is not a version of a file element.");
      return TBS_ST_WRONG_KIND;
    }
    TakeVersion(s, vob, dbid, side);
    side->text = Load(s, vob, dbid)->text;
    return TBS_ST_OK;
  }
  if (!through_view) {
    Complain("\"" + name + "\" names an element: give the version to merge (\"" + name + "@@\\main\\LATEST\").");
    return TBS_ST_WRONG_KIND;
  }
  views::ViewFile file;
  if (!ToViewFile(name, &file) || !views::LoadView(s, file.view)) return NotFound(name);
  const int state = views::FileState(s, file.view, file.relative);
  std::error_code error;
  if (state == VIEW_FILE_ABSENT) return NotFound(name);
  if (state == VIEW_FILE_DIRECTORY || !fs::is_regular_file(fs::symlink_status(file.host, error))) {
    Complain("\"" + name + "\" is not a plain file: only files are merged.");
    return TBS_ST_WRONG_KIND;
  }
  if (!ReadHostFile(file.host, &side->text)) {
    Complain("Cannot read \"" + name + "\".");
    return TBS_ST_FAILURE;
  }
  if (state == VIEW_FILE_CHECKED_IN || state == VIEW_FILE_CHECKED_OUT) {
    vob_handle_t vob = 0;
    vob_dbid_t version = 0;
    bool checked_out = false;
    if (views::LoadedVersion(s, file.view, file.relative, &vob, &version, &checked_out))
      TakeVersion(s, vob, version, side);
  }
  return TBS_ST_OK;
}

// A version's parents: its predecessor and the versions of its element that
// were merged into it.
std::vector<vob_dbid_t> Parents(Store& s, vob_handle_t vob, vob_dbid_t version, vob_dbid_t elem) {
  std::vector<vob_dbid_t> parents;
  const auto object = Load(s, vob, version);
  if (object && object->pred) parents.push_back(object->pred);
  Statement merged(s, "SELECT h.from_obj FROM vob_hlinks h JOIN vob_objs o ON o.vob = h.vob AND o.dbid = h.hlink"
                      " JOIN vob_objs f ON f.vob = h.from_vob AND f.dbid = h.from_obj"
                      " WHERE h.to_vob = ?1 AND h.to_obj = ?2 AND h.from_vob = ?1 AND o.name = 'Merge'"
                      " AND f.elem = ?3");
  merged.Bind(1, vob).Bind(2, version).Bind(3, elem);
  while (merged.Step()) parents.push_back(static_cast<vob_dbid_t>(merged.Int(0)));
  return parents;
}

// Every ancestor of a version (itself included) with its distance.
std::map<vob_dbid_t, std::size_t> Ancestors(Store& s, vob_handle_t vob, vob_dbid_t version, vob_dbid_t elem) {
  std::map<vob_dbid_t, std::size_t> found{{version, 0}};
  std::vector<vob_dbid_t> wave{version};
  for (std::size_t distance = 1; !wave.empty() && found.size() < kMaxAncestors; ++distance) {
    std::vector<vob_dbid_t> next;
    for (const vob_dbid_t at : wave)
      for (const vob_dbid_t parent : Parents(s, vob, at, elem))
        if (found.emplace(parent, distance).second) next.push_back(parent);
    wave = std::move(next);
  }
  return found;
}

// The closest common ancestor of two versions of one element (0: none).
vob_dbid_t CommonAncestor(Store& s, const Side& a, const Side& b) {
  const auto of_a = Ancestors(s, a.vob, a.version, a.elem);
  const auto of_b = Ancestors(s, b.vob, b.version, b.elem);
  vob_dbid_t best = 0;
  std::size_t best_distance = std::numeric_limits<std::size_t>::max();
  for (const auto& [version, distance] : of_a) {
    const auto other = of_b.find(version);
    if (other == of_b.end()) continue;
    const std::size_t total = distance + other->second;
    if (total < best_distance || (total == best_distance && version > best)) {
      best = version;
      best_distance = total;
    }
  }
  return best;
}

std::string VersionName(Store& s, vob_handle_t vob, vob_dbid_t version) {
  const auto object = Load(s, vob, version);
  return object ? Pathname(s, *object) : std::string();
}

void ListLines(const std::vector<std::string>& lines, std::string& text) {
  for (std::size_t i = 0; i < lines.size() && i < kListedLines; ++i) {
    text += lines[i];
    if (lines[i].empty() || lines[i].back() != '\n') text += "\n";
  }
  if (lines.size() > kListedLines) text += "... " + Num(static_cast<std::int64_t>(lines.size() - kListedLines)) +
                                           " more lines\n";
}

// Says why a merge with conflicts was not done; a graphical merge also
// shows each conflict.
void ReportConflicts(const std::string& target, const Side& contributor, const std::string& base_name,
                     const std::vector<client_local::merge::Conflict>& conflicts, bool graphical) {
  std::string spans;
  for (std::size_t i = 0; i < conflicts.size(); ++i) {
    if (i == 5) {
      spans += ", ...";
      break;
    }
    spans += (i ? ", " : "") + client_local::merge::LineSpan(conflicts[i]);
  }
  const std::string count = Num(static_cast<std::int64_t>(conflicts.size()));
  Complain("Merging \"" + contributor.name + "\" into \"" + target + "\": " + count +
           (conflicts.size() == 1 ? " conflict" : " conflicts") + " (" + spans + ")" +
           (base_name.empty() ? " without a base: where the two differ, nothing tells which change to take."
                              : "."));
  if (graphical) {
    std::string text = "No merge tool can be shown here. The conflicts:\n";
    for (std::size_t i = 0; i < conflicts.size() && i < kListedConflicts; ++i) {
      const auto& conflict = conflicts[i];
      text += "<<<<<<< " + target + " (" + client_local::merge::LineSpan(conflict) + ")\n";
      ListLines(conflict.ours, text);
      if (!base_name.empty()) {
        text += "||||||| " + base_name + "\n";
        ListLines(conflict.base, text);
      }
      text += "=======\n";
      ListLines(conflict.theirs, text);
      text += ">>>>>>> " + contributor.name + "\n";
    }
    if (conflicts.size() > kListedConflicts)
      text += "... " + Num(static_cast<std::int64_t>(conflicts.size() - kListedConflicts)) + " more conflicts\n";
    text += "Resolve them in the target by hand, then record the merge without merging contents.\n";
    imsg_print_text(IMSG_ERROR_CONT, text.c_str());
  }
}

// Whether a merge arrow already goes from one version to the other.
bool HasArrow(Store& s, const Side& from, const Side& to) {
  Statement q(s, "SELECT 1 FROM vob_hlinks h JOIN vob_objs o ON o.vob = h.vob AND o.dbid = h.hlink"
                 " WHERE h.vob = ?1 AND h.from_vob = ?1 AND h.from_obj = ?2 AND h.to_vob = ?3 AND h.to_obj = ?4"
                 " AND o.name = 'Merge'");
  q.Bind(1, from.vob).Bind(2, from.version).Bind(3, to.vob).Bind(4, to.version);
  return q.Step();
}

// What a merge says when it is done: held back until the store has kept it.
struct Note {
  int kind;
  std::string text;
};
using Notes = std::vector<Note>;

int RecordArrow(Store& s, const Side& from, const Side& to, Notes* notes) {
  if (!from.version || !to.version || (from.vob == to.vob && from.version == to.version) || HasArrow(s, from, to))
    return TBS_ST_OK;
  if (int rc = vob_hlink_create(from.vob, "Merge", from.vob, from.version, to.vob, to.version, "", "", nullptr))
    return rc;
  notes->push_back({IMSG_NOTICE, "Recorded merge arrow from \"" + VersionName(s, from.vob, from.version) + "\" to \"" +
                                    VersionName(s, to.vob, to.version) + "\".\n"});
  return TBS_ST_OK;
}

// The target file rewritten: a new file beside it (same permissions) put in
// its place at once, so the target is never seen half-written. The original
// text is kept to put back if the transaction fails afterwards.
struct Rewrite {
  fs::path path;
  std::string original;
  bool done = false;
};

int WriteTarget(const std::string& name, const fs::path& path, const std::string& original, const std::string& text,
                Rewrite* rewrite) {
  if (text == original) return TBS_ST_OK;
  std::error_code error;
  const fs::perms perms = fs::status(path, error).permissions();
  if (const int failure = error ? error.value() : views::ReplaceFile(path, text, perms)) {
    Complain("Cannot write the merge into \"" + name + "\": " + std::strerror(failure) + ".");
    return TBS_ST_FAILURE;
  }
  rewrite->path = path;
  rewrite->original = original;
  rewrite->done = true;
  return TBS_ST_OK;
}

int Merge(Store& s, const cmd_merge_args_s& args, Rewrite* rewrite, Notes* notes) {
  const std::string target_name = BackslashName(args.target);
  Side target;
  target.name = target_name;
  fs::path host;
  if (int rc = ReadTarget(s, target_name, &target, &host)) return rc;
  std::optional<Side> base;
  if (args.base && *args.base) {
    base.emplace();
    base->name = BackslashName(args.base);
    if (int rc = ReadSide(s, base->name, &*base)) return rc;
  }
  std::vector<Side> contributors(args.contributor_count);
  for (std::uint32_t i = 0; i < args.contributor_count; ++i) {
    contributors[i].name = BackslashName(args.contributors[i]);
    if (int rc = ReadSide(s, contributors[i].name, &contributors[i])) return rc;
  }
  if (contributors.empty()) {
    notes->push_back({IMSG_NOTICE, "No contributors: nothing to merge into \"" + target_name + "\".\n"});
    return TBS_ST_OK;
  }

  std::string merged = target.text;
  if (!args.record_only) {
    bool conflicts = false;
    for (const Side& contributor : contributors) {
      std::optional<client_local::merge::Result> result;
      std::string base_name;
      if (base) {
        base_name = base->name;
        result = client_local::merge::Merge3(base->text, merged, contributor.text);
      } else if (target.version && contributor.version && target.vob == contributor.vob &&
                 target.elem == contributor.elem) {
        if (const vob_dbid_t ancestor = CommonAncestor(s, target, contributor)) {
          base_name = VersionName(s, target.vob, ancestor);
          result = client_local::merge::Merge3(Load(s, target.vob, ancestor)->text, merged, contributor.text);
        }
      }
      if (!result) result = client_local::merge::Merge2(merged, contributor.text);
      if (!result->conflicts.empty()) {
        ReportConflicts(target_name, contributor, base_name, result->conflicts, args.graphical != 0);
        conflicts = true;
        continue;
      }
      if (result->text == merged)
        notes->push_back({IMSG_NOTICE, "No changes to merge from \"" + contributor.name + "\".\n"});
      else
        notes->push_back({IMSG_NOTICE, "Merged \"" + contributor.name + "\" into \"" + target_name + "\".\n"});
      merged = std::move(result->text);
    }
    if (conflicts) {
      Complain("\"" + target_name + "\" was left unchanged.");
      return TBS_ST_FAILURE;
    }
  }
  bool any_arrow = false;
  for (const Side& contributor : contributors) {
    if (int rc = RecordArrow(s, contributor, target, notes)) return rc;
    any_arrow = any_arrow || (contributor.version && target.version);
  }
  if (args.record_only && !any_arrow)
    notes->push_back({IMSG_WARNING, "No merge arrow to record: the target and the contributors are not elements' versions.\n"});
  // Last: the file changes only when everything else has been done.
  return WriteTarget(target_name, host, target.text, merged, rewrite);
}

void PutBack(const Rewrite& rewrite) {
  std::error_code error;
  const fs::perms perms = fs::status(rewrite.path, error).permissions();
  if (rewrite.done && (error || views::ReplaceFile(rewrite.path, rewrite.original, perms) != 0))
    Complain("Cannot put back the text of \"" + rewrite.path.string() + "\".");
}

}  // namespace

int cmd_merge(cmd_merge_args_s* args) {
  std::vector<std::string> logged;
  if (args) {
    logged = {Num(args->version), Text(args->target), Text(args->base), Num(args->contributor_count),
              Num(args->graphical), Num(args->mode), Num(args->record_only)};
    for (std::uint32_t i = 0; args->contributors && i < args->contributor_count && i < 64; ++i)
      logged.push_back(Text(args->contributors[i]));
  } else {
    logged = {"(null)"};
  }
  return LocalCall("cmd_merge", std::move(logged), true, [&] {
    if (!args || args->version != 5 || args->area == STG_NULL_AREA || !args->target ||
        (args->contributor_count > 0 && !args->contributors))
      return TBS_ST_INVALID_ARG;
    for (std::uint32_t i = 0; i < args->contributor_count; ++i)
      if (!args->contributors[i]) return TBS_ST_INVALID_ARG;
    auto too_long = [](const char* name) { return name && std::strlen(name) > kMaxName; };
    bool long_name = too_long(args->target) || too_long(args->base);
    for (std::uint32_t i = 0; i < args->contributor_count; ++i)
      long_name = long_name || too_long(args->contributors[i]);
    if (long_name) {
      Complain("Name is too long: at most " + Num(kMaxName) + " bytes.");
      return TBS_ST_INVALID_ARG;
    }
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_FAILURE;
    Rewrite rewrite;
    Notes notes;
    const int status = store->Command([&](Store& s) { return Merge(s, *args, &rewrite, &notes); });
    if (status != TBS_ST_OK) {
      PutBack(rewrite);  // the store kept nothing: neither does the file
    } else {
      for (const Note& note : notes) imsg_print_text(note.kind, note.text.c_str());
    }
    return status;
  });
}
