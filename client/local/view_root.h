#pragma once
// The root directories of views: what the view calls and the check-out,
// check-in and undo check-out calls share. Functions taking a Store run
// inside a command of it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "configspec.h"
#include "local/store.h"
#include "vob.h"

namespace client_local::views {

struct ViewRow {
  std::string tag, uuid, owner, host, spec, comment;
  bool snapshot = false;
  bool active = false;
  std::int64_t created = 0;
};

std::optional<ViewRow> LoadView(Store& s, const std::string& tag);
configspec_t ParsedSpec(const ViewRow& view);
// HOME/views/TAG.
std::filesystem::path RootOf(const std::string& tag);

// A name of a file through a view ("\\view\TAG\rest" or "M:\TAG\rest", '/'
// read as '\', no version extension): its view, host file and path relative
// to the view's root. Worked out lexically, so a name too long for the file
// system is simply a file that is not there.
struct ViewFile {
  std::string view;
  std::filesystem::path host;
  std::string relative;  // "." for the root itself
  // Whether the name stays inside the root (the root itself included).
  bool InsideRoot() const;
};
// Nothing for a name that goes through no view, has a version extension or
// cannot be a host path.
std::optional<ViewFile> ParseViewFile(const std::string& name);
// The host file of an element of a VOB in a view's root ("" for a VOB's root
// directory element is the VOB's directory).
std::filesystem::path ElementFile(Store& s, const std::string& view, vob_handle_t vob, const std::string& elem_name);

// The version the view's config spec selects for an element (0: none), and
// whether it is the view's check-out.
vob_dbid_t Select(Store& s, const ViewRow& view, const configspec_t& spec, vob_handle_t vob, vob_dbid_t elem,
                  bool* checked_out);

// Brings one element's file (and nothing else) in line with the view.
void RefreshElement(Store& s, const std::string& view, vob_handle_t vob, vob_dbid_t elem);
// Brings one element's file in line in every view (its permissions after a
// change of the element's protection).
void RefreshElementInViews(Store& s, vob_handle_t vob, vob_dbid_t elem);
// Brings the whole root in line with the view.
void RefreshRoot(Store& s, const std::string& view);

// When the view has a root and the element's file is there: the file's
// contents into *text (true). Used by check-in.
bool ReadElementFile(Store& s, const std::string& view, vob_handle_t vob, vob_dbid_t elem, std::string* text);

// The version a file of a view's root (by its path relative to the root) was
// loaded from, and whether it is the view's check-out; false when no element's
// file is recorded there.
bool LoadedVersion(Store& s, const std::string& view, const std::string& relative, vob_handle_t* vob,
                   vob_dbid_t* version, bool* checked_out);

// Records that the view's file of an element holds the view's check-out
// (the file itself is the caller's).
void RecordCheckedOut(Store& s, const std::string& view, vob_handle_t vob, const std::string& elem_name,
                      vob_dbid_t version);

// Records that the view's file of an element holds a checked-in version.
void RecordCheckedIn(Store& s, const std::string& view, vob_handle_t vob, const std::string& elem_name,
                     vob_dbid_t version);

// Replaces a file's text at once: a new file beside it with the permissions,
// renamed into its place, so the file is never seen half-written. 0, or the
// system error that stopped it (the file is then untouched).
int ReplaceFile(const std::filesystem::path& path, const std::string& text, std::filesystem::perms perms);

// The state of a host file in a view's root (VIEW_FILE_*), by its path
// relative to the root.
int FileState(Store& s, const std::string& view, const std::string& relative);

// Removing a view: what is left to do once the store has it gone.
struct Removal {
  std::vector<std::filesystem::path> aside;  // its directories, moved out of the way
  std::vector<char> drives;                  // the letters it had
  // Deletes the directories and drops the drives' links and assignments.
  void Finish() const;
};
// Inside a command: moves the view's directories (live and parked) aside,
// then drops its drives, logon entry, row, registry object and tag. When the
// command is undone the directories come back.
int RemoveView(Store& s, const ViewRow& row, Removal* removal);

// The drive letters stored for a view, and dropping their links and
// path-map assignments (after the store has dropped them).
std::vector<char> StoredDrives(Store& s, const std::string& tag);
void UnlinkDrives(const std::vector<char>& letters);

}  // namespace client_local::views
