#pragma once
// Maps the library's pathnames (drive letters, backslashes, \\view\TAG view
// roots, the @@ version extension) onto the host file system, all below the
// host program's home directory. docs/pathnames.md describes the mapping.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// The home directory everything maps into. Until SetHome is called it is the
// current directory at the time of first use. SetHome makes a relative path
// absolute; it refuses an empty path (returns false, changes nothing).
bool SetHome(const std::filesystem::path& home);
std::filesystem::path Home();

enum class AssignStatus {
  kOk,
  kBadLetter,    // not a letter A-Z
  kViewsDrive,   // M: always shows all views and cannot be reassigned
  kBadTarget,    // not a well-formed \\view\TAG path
};

// Assigns a drive letter (either case) to a view root, or to a directory in a
// view: AssignDrive('Z', "\\\\view\\TAG"). Replaces an earlier assignment.
AssignStatus AssignDrive(char letter, std::string_view view_path);
// False when the letter was not assigned.
bool UnassignDrive(char letter);
// The \\view\TAG... path a drive is assigned to, normalised (backslashes, no
// trailing backslash); nullopt when unassigned.
std::optional<std::string> DriveAssignment(char letter);
// The assigned letters, upper case, in order.
std::vector<char> AssignedDrives();
const char* ToString(AssignStatus status);

// A host path for a library pathname; nullopt for a relative, empty or
// malformed name or one whose ".." would leave its root. A version extension
// ("@@...") is left out of the mapping.
std::optional<std::filesystem::path> ToHostPath(std::string_view library_path);
// The library pathname of a host path below HOME/views or HOME/drives;
// nullopt elsewhere. A relative host path is taken from the current directory.
std::optional<std::string> FromHostPath(const std::filesystem::path& host_path);

// A pathname cut at the first "@@": path + extension is the whole name, and
// the extension (starting with "@@") is empty when there is none.
struct VersionedName {
  std::string path;
  std::string extension;
};
VersionedName SplitVersionExtension(std::string_view name);

}  // namespace plat
