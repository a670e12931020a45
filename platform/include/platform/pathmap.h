#pragma once
// Maps the library's pathnames (drive letters, backslashes, \\view\TAG view
// roots, the @@ version extension) onto the host file system, all below the
// host program's home directory. docs/pathnames.md describes the mapping.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/export.h"

namespace plat {

// The home directory everything maps into. Until SetHome is called it is the
// current directory at the time of first use. SetHome makes a relative path
// absolute; it refuses an empty path (returns false, changes nothing).
RVCMNDLG_API bool SetHome(const std::filesystem::path& home);
RVCMNDLG_API std::filesystem::path Home();
// The home rvdlg and the programs it runs use when none is given:
// $RVDLG_HOME, else ~/.rvdlg, else .rvdlg.
RVCMNDLG_API std::string DefaultHome();

enum class AssignStatus {
  kOk,
  kBadLetter,    // not a letter A-Z
  kViewsDrive,   // M: always shows all views and cannot be reassigned
  kBadTarget,    // not a well-formed \\view\TAG path
};

// Assigns a drive letter (either case) to a view root, or to a directory in a
// view: AssignDrive('Z', "\\\\view\\TAG"). Replaces an earlier assignment.
RVCMNDLG_API AssignStatus AssignDrive(char letter, std::string_view view_path);
// False when the letter was not assigned.
RVCMNDLG_API bool UnassignDrive(char letter);
// The \\view\TAG... path a drive is assigned to, normalised (backslashes, no
// trailing backslash); nullopt when unassigned.
RVCMNDLG_API std::optional<std::string> DriveAssignment(char letter);
// The assigned letters, upper case, in order.
RVCMNDLG_API std::vector<char> AssignedDrives();
RVCMNDLG_API const char* ToString(AssignStatus status);

// A host path for a library pathname; nullopt for a relative, empty or
// malformed name or one whose ".." would leave its root. A version extension
// ("@@...") is left out of the mapping.
RVCMNDLG_API std::optional<std::filesystem::path> ToHostPath(std::string_view library_path);
// The library pathname of a host path below HOME/views or HOME/drives;
// nullopt elsewhere. A relative host path is taken from the current directory.
RVCMNDLG_API std::optional<std::string> FromHostPath(const std::filesystem::path& host_path);

// A name read through a view: the one reader of \\view\TAG[\rest],
// M:\TAG[\rest] (the all-views drive) and X:[\rest] for a drive X assigned
// to a view or a directory in one. Either separator is accepted; "view" and
// drive letters match in any case, tags and names keep theirs; doubled
// separators, "." and trailing separators are dropped and ".." goes up one
// name, never above the view root (the drive's root for an assigned drive);
// a version extension ("@@...") is kept as written.
struct ViewName {
  std::string tag;        // the view's tag
  std::string path;       // below the view's root: "" for the root, else "\a\b"
  std::string extension;  // "" or "@@..."

  // The name as the view's VOBs know it: path + extension ("\vob\f.c@@\main\1").
  std::string InView() const { return path + extension; }
  // The normalised name: \\view\TAG + path + extension.
  std::string Text() const { return "\\\\view\\" + tag + path + extension; }
};
// Nullopt for any other name: a UNC name of another server, an unassigned
// drive, M:\ itself, relative names, a view without a tag, a tag "." or ".."
// or holding "@@", a NUL, ".." above the root, or a last name ending in '@'
// before a version extension (it would run into the "@@").
RVCMNDLG_API std::optional<ViewName> ReadViewName(std::string_view name);

// A pathname cut at the first "@@": path + extension is the whole name, and
// the extension (starting with "@@") is empty when there is none.
struct VersionedName {
  std::string path;
  std::string extension;
};
RVCMNDLG_API VersionedName SplitVersionExtension(std::string_view name);

}  // namespace plat
