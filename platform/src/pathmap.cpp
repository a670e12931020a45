// The mapping between the library's pathnames and host paths (see
// docs/pathnames.md): views under HOME/views, drives under HOME/drives.
#include "platform/pathmap.h"

#include <array>
#include <cstdlib>
#include <mutex>

#include "platform/text.h"

namespace plat {
namespace {

constexpr std::string_view kVersionMark = "@@";

std::optional<char> DriveLetter(char c) {
  const char upper = AsciiUpper(c);
  if (upper >= 'A' && upper <= 'Z') return upper;
  return std::nullopt;
}

// The slot of an upper-case drive letter.
std::size_t DriveIndex(char upper) { return static_cast<std::size_t>(upper - 'A'); }

// The directory a path stays in when it is written "dir/" too.
std::filesystem::path WithoutTrailingSeparator(std::filesystem::path p) {
  if (!p.has_filename() && p != p.root_path()) p = p.parent_path();
  return p;
}

// ---- state ------------------------------------------------------------------------

struct MapState {
  std::mutex mutex;
  std::filesystem::path home;  // empty until set or first used
  std::array<std::optional<std::string>, 26> drives;
};

MapState& State() {
  static MapState state;
  return state;
}

// Called with the state locked.
const std::filesystem::path& HomeLocked(MapState& state) {
  if (state.home.empty()) {
    std::error_code ec;
    std::filesystem::path cwd = std::filesystem::current_path(ec);
    if (!ec) state.home = WithoutTrailingSeparator(cwd.lexically_normal());
  }
  return state.home;
}

// ---- library pathnames --------------------------------------------------------------

// Names below a root, with "." and empty names dropped and ".." applied;
// nullopt when ".." would climb above the root.
std::optional<std::vector<std::string>> RelativeNames(std::string_view rest) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string_view::npos) end = rest.size();
    std::string_view name = rest.substr(start, end - start);
    if (name == "..") {
      if (names.empty()) return std::nullopt;
      names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.emplace_back(name);
    }
    start = end + 1;
  }
  return names;
}

// A \\view\TAG\rest name taken apart.
struct ViewPath {
  std::string tag;
  std::vector<std::string> names;
};

// `s` uses backslashes only. Nullopt unless it is \\view\TAG[\rest].
std::optional<ViewPath> ParseViewPath(std::string_view s) {
  constexpr std::string_view kPrefix = "\\\\view\\";
  if (!IStartsWith(s, kPrefix)) return std::nullopt;
  s.remove_prefix(kPrefix.size());
  size_t end = s.find('\\');
  std::string_view tag = s.substr(0, end);
  if (tag.empty() || tag == "." || tag == "..") return std::nullopt;
  auto names = RelativeNames(end == std::string_view::npos ? std::string_view() : s.substr(end + 1));
  if (!names) return std::nullopt;
  return ViewPath{std::string(tag), std::move(*names)};
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) text += "\\" + names[i];
  return text;
}

std::string ViewPathText(const ViewPath& view) { return "\\\\view\\" + view.tag + JoinNames(view.names); }

std::filesystem::path Append(std::filesystem::path base, const std::vector<std::string>& names) {
  for (const auto& name : names) base /= name;
  return base;
}

// Backslashes for forward slashes; nullopt for names no file can have.
std::optional<std::string> Canonical(std::string_view name) {
  if (name.empty() || name.find('\0') != std::string_view::npos) return std::nullopt;
  std::string s(name);
  for (char& c : s)
    if (c == '/') c = '\\';
  return s;
}

// A canonical name (backslashes only, no version extension) taken apart: the
// drive letter and the rest after "X:"; nullopt without a drive or when
// relative ("C:dir").
struct DriveName {
  char drive;             // upper case
  std::string_view rest;  // "" or "\\..."
};
std::optional<DriveName> ReadDriveName(std::string_view s) {
  if (s.size() < 2 || s[1] != ':') return std::nullopt;
  auto drive = DriveLetter(s[0]);
  if (!drive || (s.size() > 2 && s[2] != '\\')) return std::nullopt;
  return DriveName{*drive, s.substr(2)};
}

// The view a canonical name (no version extension) goes through, with the
// names below the view's root.
std::optional<ViewPath> ViewOf(std::string_view s, const std::optional<std::string>& assignment) {
  if (s.starts_with("\\\\")) return ParseViewPath(s);
  auto drive = ReadDriveName(s);
  if (!drive) return std::nullopt;
  auto names = RelativeNames(drive->rest);
  if (!names) return std::nullopt;
  if (drive->drive == 'M') {
    if (names->empty()) return std::nullopt;
    ViewPath view{names->front(), {}};
    view.names.assign(names->begin() + 1, names->end());
    return view;
  }
  if (!assignment) return std::nullopt;
  auto view = ParseViewPath(*assignment);
  if (!view) return std::nullopt;
  view->names.insert(view->names.end(), names->begin(), names->end());
  return view;
}

std::optional<std::string> AssignmentOf(std::string_view s) {
  auto drive = ReadDriveName(s);
  if (!drive || drive->drive == 'M') return std::nullopt;
  MapState& state = State();
  std::lock_guard lock(state.mutex);
  return state.drives[DriveIndex(drive->drive)];
}

}  // namespace

bool SetHome(const std::filesystem::path& home) {
  if (home.empty()) return false;
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(home, ec);
  if (ec) return false;
  MapState& state = State();
  std::lock_guard lock(state.mutex);
  state.home = WithoutTrailingSeparator(absolute.lexically_normal());
  return true;
}

std::string DefaultHome() {
  if (const char* env = std::getenv("RVDLG_HOME"); env && *env) return env;
  if (const char* user_home = std::getenv("HOME"); user_home && *user_home)
    return (std::filesystem::path(user_home) / ".rvdlg").string();
  return ".rvdlg";
}

std::filesystem::path Home() {
  MapState& state = State();
  std::lock_guard lock(state.mutex);
  return HomeLocked(state);
}

AssignStatus AssignDrive(char letter, std::string_view view_path) {
  auto drive = DriveLetter(letter);
  if (!drive) return AssignStatus::kBadLetter;
  if (*drive == 'M') return AssignStatus::kViewsDrive;
  auto canonical = Canonical(view_path);
  if (!canonical || canonical->find(kVersionMark) != std::string::npos) return AssignStatus::kBadTarget;
  auto view = ParseViewPath(*canonical);
  if (!view) return AssignStatus::kBadTarget;
  MapState& state = State();
  std::lock_guard lock(state.mutex);
  state.drives[DriveIndex(*drive)] = ViewPathText(*view);
  return AssignStatus::kOk;
}

bool UnassignDrive(char letter) {
  auto drive = DriveLetter(letter);
  if (!drive) return false;
  MapState& state = State();
  std::lock_guard lock(state.mutex);
  auto& slot = state.drives[DriveIndex(*drive)];
  bool was = slot.has_value();
  slot.reset();
  return was;
}

std::optional<std::string> DriveAssignment(char letter) {
  auto drive = DriveLetter(letter);
  if (!drive) return std::nullopt;
  MapState& state = State();
  std::lock_guard lock(state.mutex);
  return state.drives[DriveIndex(*drive)];
}

std::vector<char> AssignedDrives() {
  MapState& state = State();
  std::lock_guard lock(state.mutex);
  std::vector<char> letters;
  for (size_t i = 0; i < state.drives.size(); ++i)
    if (state.drives[i]) letters.push_back(static_cast<char>('A' + i));
  return letters;
}

const char* ToString(AssignStatus status) {
  switch (status) {
    case AssignStatus::kOk: return "ok";
    case AssignStatus::kBadLetter: return "not a drive letter";
    case AssignStatus::kViewsDrive: return "M: shows all views and cannot be assigned";
    case AssignStatus::kBadTarget: return "not a \\\\view\\TAG path";
  }
  return "unknown status";
}

VersionedName SplitVersionExtension(std::string_view name) {
  size_t mark = name.find(kVersionMark);
  if (mark == std::string_view::npos) return {std::string(name), {}};
  return {std::string(name.substr(0, mark)), std::string(name.substr(mark))};
}

std::optional<ViewName> ReadViewName(std::string_view name) {
  const VersionedName split = SplitVersionExtension(name);
  auto s = Canonical(split.path);
  if (!s) return std::nullopt;
  auto view = ViewOf(*s, AssignmentOf(*s));
  if (!view) return std::nullopt;
  ViewName read{view->tag, JoinNames(view->names), split.extension};
  // A name ending in '@' before the extension would run into its "@@" and
  // read back as another name.
  if (!read.extension.empty() && (read.tag + read.path).back() == '@') return std::nullopt;
  return read;
}

std::optional<std::filesystem::path> ToHostPath(std::string_view library_path) {
  auto s = Canonical(SplitVersionExtension(library_path).path);
  if (!s) return std::nullopt;
  const std::filesystem::path home = Home();
  if (home.empty()) return std::nullopt;
  const auto assignment = AssignmentOf(*s);
  if (auto view = ViewOf(*s, assignment)) return Append(home / "views" / view->tag, view->names);
  // Not through a view: the all-views drive's root, or a drive of the host.
  auto drive = ReadDriveName(*s);
  if (!drive || assignment) return std::nullopt;
  auto names = RelativeNames(drive->rest);
  if (!names) return std::nullopt;
  if (drive->drive == 'M') return names->empty() ? std::optional(home / "views") : std::nullopt;
  return Append(home / "drives" / std::string(1, AsciiLower(drive->drive)), *names);
}

std::optional<std::string> FromHostPath(const std::filesystem::path& host_path) {
  if (host_path.empty()) return std::nullopt;
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(host_path, ec);
  if (ec) return std::nullopt;
  std::filesystem::path home = Home();
  if (home.empty()) return std::nullopt;

  // The names of the host path below home.
  std::vector<std::string> below;
  auto h = home.begin();
  for (const auto& part : absolute.lexically_normal()) {
    if (part.empty()) continue;  // from a trailing separator
    if (h != home.end()) {
      if (*h != part) return std::nullopt;
      ++h;
      continue;
    }
    std::string name = part.string();
    // A name with a backslash cannot be written; one with @@ would read back
    // as a version extension.
    if (name.find('\\') != std::string::npos || name.find(kVersionMark) != std::string::npos)
      return std::nullopt;
    below.push_back(std::move(name));
  }
  if (h != home.end() || below.empty()) return std::nullopt;

  std::string text;
  size_t first = 0;
  if (below[0] == "views") {
    if (below.size() == 1) return std::string("M:\\");
    text = "\\\\view\\" + below[1];
    first = 2;
  } else if (below[0] == "drives" && below.size() >= 2 && below[1].size() == 1 &&
             below[1][0] >= 'a' && below[1][0] <= 'z' && below[1][0] != 'm') {
    text = std::string(1, static_cast<char>(below[1][0] - 'a' + 'A')) + ":";
    if (below.size() == 2) return text + "\\";
    first = 2;
  } else {
    return std::nullopt;
  }
  for (size_t i = first; i < below.size(); ++i) text += "\\" + below[i];
  return text;
}

}  // namespace plat
