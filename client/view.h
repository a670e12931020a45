#pragma once
// Views: a view has a tag, a UUID, an owner, a host, a config spec (see
// configspec.h and docs/configspecs.md), for a snapshot view load rules, an
// active state and a root directory. The root of view TAG is "\\view\TAG"
// (HOME/views/TAG): each VOB has a directory there named by its tag, and each
// element the config spec selects is there as a file: a checked-in version
// as a read-only copy of its contents, a checked-out version writable. A
// file the view does not select is absent; any other file there is
// view-private. A checked-in file whose contents or write permission were
// changed by hand is hijacked: the view leaves it alone.
//
// Calls answer 0 or a status of tbs.h: TBS_ST_NOT_FOUND for an unknown view, TBS_ST_INVALID_ARG for a
// bad argument (nothing done), TBS_ST_ALREADY for a tag in use.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tbs_uuid.h"

struct view_handle;
using view_handle_t = view_handle*;

// A new view: the tag (letters, digits, '_', '-', '.'; at most 255 bytes),
// the default config spec, this user and host, active, with its root
// directory filled, its tag in the registry of the default region (when
// there is one) and its view object entry in the registry (RGY_KIND_VIEW_OBJECT),
// and first in the recently used views. TBS_ST_ALREADY when the tag is taken in
// the store, in the registry or by a directory that is already there.
int view_create(const char* tag, int snapshot, const char* comment);
// Removes a view, its tag and object entry in the registry and its root
// directory (or stored root) with everything in it.
int view_remove(const char* tag);

// Handles: each handle from view_get_handle_by_tag or view_dup_handle is
// freed once with view_free_handle (TBS_ST_INVALID_ARG for null or a handle already freed).
int view_get_handle_by_tag(const char* tag, view_handle_t* view);
int view_dup_handle(view_handle_t view, view_handle_t* copy);
int view_free_handle(view_handle_t view);
// For tests: how many handles are live.
long view_live_handle_count();
// The handle's tag. TBS_ST_INVALID_ARG for a bad handle or a buffer too small.
int view_handle_get_tag(view_handle_t view, char* out, std::size_t size);

struct view_prop_t {
  std::string tag, uuid, owner, host, comment;
  int snapshot = 0;
  int active = 0;
  std::int64_t created = 0;  // seconds since 1970
};
int view_getprop(view_handle_t view, view_prop_t* props);
// Sets what may change: the comment.
int view_setprop(view_handle_t view, const view_prop_t* props);

// Writes the view's config spec into the file (a library name). The status
// of a file failure.
int view_get_config_spec(view_handle_t view, const char* pathname);
// Takes the config spec from the file. A spec that does not parse is refused
// with TBS_ST_INVALID_ARG after printing "Syntax error on line L, near column C, ..." as
// an error; nothing changes.
int view_set_spec(view_handle_t view, const char* pathname);
// Makes the view take up its rules: its root directory is brought in line
// with what the config spec selects (hijacked and view-private files are
// left as they are).
int view_inval_view(view_handle_t view);

// Whether the view (or the view of a tag) is a snapshot view.
int view_ws_is_ws_view(view_handle_t view, int* snapshot);
int view_ws_is_ws_tag(const char* tag, int* snapshot);
// Freeze state: always 0 (not frozen) here.
int view_frz_get_freeze_state(view_handle_t view, int* state);

// Starting and stopping on this machine: registering makes the view active,
// puts it first in the recently used views and its root directory present;
// the stop calls make it inactive. A dynamic view's root HOME/views/TAG is
// there only while it is started: stopping moves it whole to
// HOME/viewstore/TAG.vws and starting moves it back and brings it in line,
// so check-outs and view-private files stay as they were. A snapshot view's
// root stays where it is.
int view_register_view_tag(const char* tag);
int view_mfs_unregister_tag(const char* tag);
int view_server_exit(view_handle_t view);
// Whether the view is started: 1 when active, 0 when stopped or unknown.
int view_is_active(const char* tag);

// Drives of views. A drive "K:" assigned to a view makes HOME/drives/k a
// symbolic link to the view's root and K:\... a name through the view; every
// process that opens the store assigns the stored drives in its path map.
// With persistent set the view also gets a logon entry: the next logon
// starts it and assigns the drive again ("" assigns no drive, but still
// records the logon entry). TBS_ST_INVALID_ARG for a drive that is not ""
// or "X:", or is M: (all views); TBS_ST_ALREADY for a letter in use;
// TBS_ST_NOT_FOUND for an unknown view. A refusal changes nothing.
int view_add_mapping(const char* tag, const char* drive, int persistent);
// Drops the drives of a view (its links and its path-map assignments); a
// non-zero flag drops its logon entry too. TBS_ST_NOT_FOUND for an unknown view.
int view_remove_mappings(const char* tag, int flag);
// The logon entries in the order they were made: the tag and its drive
// ("K:", or "" for none).
struct view_logon_entry_s {
  std::string tag;
  std::string drive;
};
int view_get_logon_entries(std::vector<view_logon_entry_s>* entries);
// Logging on: drops every drive that no logon entry keeps.
int view_drop_transient_mappings();

// The recently used views, most recent first: product parameter 20 (see
// ntregy.h) holds their tags separated by commas. Only the client writes it.
inline constexpr int VIEW_RECENT_PARAM = 20;
inline constexpr std::size_t VIEW_RECENT_MAX = 128;       // tags kept
inline constexpr std::size_t VIEW_RECENT_SIZE = 8192;     // bytes a reader's buffer holds

// The view of the current directory (an empty tag outside views) and the
// view of a pathname ("\\view\TAG\..." or "M:\TAG\..."). TBS_ST_NOT_FOUND when the
// current directory or pathname is in no view.
int view_cdview_view_info(char* tag, std::size_t size);
int view_current_view_info(char* tag, std::size_t size);
int vob_utl_get_view_from_path(const char* pathname, char* tag, std::size_t size);

// What a pathname through a view ("\\view\TAG\..." or "M:\TAG\...") tells
// of its view: the tag, the UUID and whether it is a snapshot view. 0; TBS_ST_NOT_FOUND
// when the pathname is through no view (nothing printed) or its view is not
// there (an error printed); TBS_ST_INVALID_ARG for a null argument.
struct view_info_s {
  std::uint32_t version = 1;
  std::string tag;
  tbs_uuid_t uuid{};
  int snapshot = 0;
};
int view_get_view_info(const char* pathname, view_info_s* info);

// The state of a file in a view's root (a library name through the view).
inline constexpr int VIEW_FILE_ABSENT = 0;       // not there
inline constexpr int VIEW_FILE_CHECKED_IN = 1;   // a read-only copy of the selected version
inline constexpr int VIEW_FILE_CHECKED_OUT = 2;  // the view's check-out, writable
inline constexpr int VIEW_FILE_HIJACKED = 3;     // a checked-in copy changed by hand
inline constexpr int VIEW_FILE_PRIVATE = 4;      // view-private
inline constexpr int VIEW_FILE_DIRECTORY = 5;    // a directory element's directory
int view_file_state(const char* pathname, int* state);

// Extended status of a file in a view's root: its kind (a state above), its
// size and mode bits. TBS_ST_NOT_FOUND when it is not there.
struct view_xstat_t {
  int state = VIEW_FILE_ABSENT;
  std::int64_t size = 0;
  std::uint32_t mode = 0;
  std::int64_t mtime = 0;
};
int view_get_xstat(const char* pathname, view_xstat_t* stat);
