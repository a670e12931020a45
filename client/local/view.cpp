// Views: tags, handles, properties, config specs, active state and roots.
#include "view.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string_view>
#include <system_error>
#include <vector>

#include "configspec.h"
#include "fileutl_file.h"
#include "imsg.h"
#include "ntregy.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "platform/pathmap.h"
#include "rgy.h"
#include "sysutl.h"
#include "tbs_errno.h"
#include "tbs_oid.h"
#include "platform/text.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using client_local::repo::CopyOut;
using client_local::repo::Num;
using client_local::repo::kNameBufferSize;
using client_local::repo::Text;
namespace views = client_local::views;
namespace fs = std::filesystem;

struct view_handle {
  std::string tag;
};

namespace {

std::mutex g_handles_mutex;
std::set<view_handle*>& Handles() {
  static auto* handles = new std::set<view_handle*>();
  return *handles;
}

// The tag of a live handle; false for a handle that is not live.
bool TagOf(view_handle_t view, std::string* tag) {
  std::lock_guard lock(g_handles_mutex);
  if (!view || !Handles().count(view)) return false;
  *tag = view->tag;
  return true;
}

view_handle_t NewHandle(const std::string& tag) {
  auto* handle = new view_handle{tag};
  std::lock_guard lock(g_handles_mutex);
  Handles().insert(handle);
  return handle;
}

bool ValidTag(const char* tag) {
  if (!tag || !*tag) return false;
  const std::string text = tag;
  if (text.size() > 255 || text == "." || text == "..") return false;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (!(std::isalnum(c) || c == '_' || c == '-' || c == '.')) return false;
  }
  return true;
}

// The view a library pathname goes through ('/' read as '\'), with the name
// as read; false when it goes through none.
bool ViewOfName(const char* pathname, std::string* view, std::string* name) {
  *name = client_local::repo::BackslashName(pathname);
  std::string rest;
  return client_local::repo::SplitViewName(*name, view, &rest) && !view->empty();
}

// Whole-view work under a tag handle: TBS_ST_INVALID_ARG for a dead handle, TBS_ST_NOT_FOUND for a
// view that is gone.
template <class Work>
int WithView(view_handle_t view, Work&& work) {
  std::string tag;
  if (!TagOf(view, &tag)) return TBS_ST_INVALID_ARG;
  return InStore([&](Store& s) {
    auto row = views::LoadView(s, tag);
    if (!row) return TBS_ST_NOT_FOUND;
    return work(s, *row);
  });
}

// Where a stopped dynamic view keeps its root.
fs::path StoredRootOf(const std::string& tag) { return plat::Home() / "viewstore" / (tag + ".vws"); }

// Moves a root directory whole; nothing to move is fine. A place already
// taken is refused, so two copies of a root never meet.
int MoveRoot(const fs::path& from, const fs::path& to) {
  std::error_code error;
  if (!fs::exists(fs::symlink_status(from, error))) return TBS_ST_OK;
  if (fs::exists(fs::symlink_status(to, error))) {
    imsg_print(IMSG_ERROR, "The view root \"%s\" is already there.\n", to.string());
    return TBS_ST_ALREADY;
  }
  fs::create_directories(to.parent_path(), error);
  fs::rename(from, to, error);
  return error ? tbs_errno2status(error.value()) : TBS_ST_OK;
}

int SetActive(const std::string& tag, bool active) {
  return InStore([&](Store& s) {
    const auto row = views::LoadView(s, tag);
    if (!row) return TBS_ST_NOT_FOUND;
    Statement q(s, "UPDATE views SET active = ?2 WHERE tag = ?1");
    q.Bind(1, tag).Bind(2, active ? 1 : 0).Run();
    if (!row->snapshot) {
      const fs::path root = views::RootOf(tag), stored = StoredRootOf(tag);
      if (int moved = active ? MoveRoot(stored, root) : MoveRoot(root, stored)) return moved;
      std::error_code error;
      if (active) fs::create_directories(root, error);
    }
    if (active) views::RefreshRoot(s, tag);
    return TBS_ST_OK;
  });
}

// Puts a tag first in the recently used views: no tag twice (case aside), at
// most VIEW_RECENT_MAX, and never more than a reader's buffer holds.
void RememberRecent(const std::string& tag) {
  std::vector<char> buffer(8 * VIEW_RECENT_SIZE);  // a list written elsewhere may be longer
  std::vector<std::string> tags{tag};
  if (ntregy_get_param(VIEW_RECENT_PARAM, buffer.data(), buffer.size()) == TBS_ST_OK) {
    std::string_view text = buffer.data();
    while (!text.empty() && tags.size() < VIEW_RECENT_MAX) {
      const std::size_t comma = text.find(',');
      const std::string piece(text.substr(0, comma));
      if (!piece.empty() && !plat::IEquals(piece, tag)) tags.push_back(piece);
      text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
  }
  std::string joined;
  for (const std::string& t : tags) {
    if (joined.size() + t.size() + 1 >= VIEW_RECENT_SIZE) break;
    joined += (joined.empty() ? "" : ",") + t;
  }
  ntregy_set_param(VIEW_RECENT_PARAM, joined.c_str());
}

// The view's object entry in the registry.
int AddViewObject(const std::string& tag, const char* uuid, const char* owner, const char* host, bool snapshot) {
  rgy_entry_t entry = nullptr;
  if (int r = rgy_create_entry(RGY_KIND_VIEW_OBJECT, &entry); r != TBS_ST_OK) return r;
  const std::string storage = "\\\\" + std::string(host) + "\\viewstore\\" + tag + ".vws";
  rgy_setstring_in_entry(entry, RGY_KEY_UUID, uuid);
  rgy_setstring_in_entry(entry, RGY_KEY_HOST, host);
  rgy_setstring_in_entry(entry, RGY_KEY_GPATH, storage.c_str());
  rgy_setstring_in_entry(entry, RGY_KEY_OWNER, owner);
  rgy_setstring_in_entry(entry, RGY_KEY_VIEW_KIND, snapshot ? RGY_VIEW_SNAPSHOT : RGY_VIEW_DYNAMIC);
  const int added = rgy_add_entry(nullptr, entry);
  rgy_delete_entry(entry);
  return added;
}

}  // namespace

int view_create(const char* tag, int snapshot, const char* comment) {
  return LocalCall("view_create", {Text(tag), Num(snapshot), Text(comment)}, NonNull(comment) && ValidTag(tag), [&] {
    const fs::path root = views::RootOf(tag);
    std::error_code error;
    if (fs::exists(fs::symlink_status(root, error))) {
      imsg_print(IMSG_ERROR, "The view root \"%s\" is already there.\n", root.string());
      return TBS_ST_ALREADY;
    }
    const int rc = InStore([&](Store& s) {
      if (views::LoadView(s, tag)) return TBS_ST_ALREADY;
      char owner[kNameBufferSize] = "", host[kNameBufferSize] = "", uuid_text[TBS_UUID_STR_SIZE] = "";
      sysutl_myloginname(owner, sizeof owner);
      sysutl_myhostname(host, sizeof host);
      tbs_uuid_t uuid;
      tbs_uuid_gen(&uuid);
      tbs_uuid_to_str(&uuid, uuid_text, sizeof uuid_text);
      Statement add(s, "INSERT INTO views (tag, uuid, owner, host, spec, snapshot, active, comment, created)"
                       " VALUES (?1, ?2, ?3, ?4, ?5, ?6, 1, ?7, ?8)");
      add.Bind(1, std::string(tag)).Bind(2, std::string(uuid_text)).Bind(3, std::string(owner));
      add.Bind(4, std::string(host)).Bind(5, std::string(CONFIGSPEC_DEFAULT)).Bind(6, snapshot ? 1 : 0);
      add.Bind(7, std::string(comment)).Bind(8, static_cast<std::int64_t>(std::time(nullptr))).Run();
      char region[kNameBufferSize];
      if (rgy_get_default_region(region, sizeof region) == TBS_ST_OK) {
        rgy_entry_t entry = nullptr;
        if (int r = rgy_create_entry(RGY_KIND_VIEW_TAG, &entry); r != TBS_ST_OK) return r;
        const std::string gpath = "\\\\view\\" + std::string(tag);
        rgy_setstring_in_entry(entry, RGY_KEY_TAG, tag);
        rgy_setstring_in_entry(entry, RGY_KEY_UUID, uuid_text);
        rgy_setstring_in_entry(entry, RGY_KEY_HOST, host);
        rgy_setstring_in_entry(entry, RGY_KEY_GPATH, gpath.c_str());
        rgy_setstring_in_entry(entry, RGY_KEY_COMMENT, comment);
        rgy_setstring_in_entry(entry, RGY_KEY_ACCESS, "public");
        const int added = rgy_add_entry(region, entry);
        rgy_delete_entry(entry);
        if (added != TBS_ST_OK) return added;
      }
      if (int r = AddViewObject(tag, uuid_text, owner, host, snapshot != 0); r != TBS_ST_OK) return r;
      views::RefreshRoot(s, tag);
      return TBS_ST_OK;
    });
    if (rc != TBS_ST_OK) fs::remove_all(root, error);  // it was not there before
    if (rc == TBS_ST_OK) RememberRecent(tag);
    return rc;
  });
}

int view_remove(const char* tag) {
  return LocalCall("view_remove", {Text(tag)}, ValidTag(tag), [&] {
    views::Removal removal;
    const int rc = InStore([&](Store& s) {
      const auto row = views::LoadView(s, tag);
      if (!row) return TBS_ST_NOT_FOUND;
      return views::RemoveView(s, *row, &removal);
    });
    if (rc == TBS_ST_OK) removal.Finish();
    return rc;
  });
}

namespace client_local::views {

int RemoveView(Store& s, const ViewRow& row, Removal* removal) {
  // The directories go aside first and come back when the command is undone.
  const fs::path place = plat::Home() / "viewstore";
  for (const fs::path& dir : {RootOf(row.tag), StoredRootOf(row.tag)}) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(dir, error))) continue;
    fs::path aside;
    for (int n = 0; aside.empty() || fs::exists(fs::symlink_status(aside, error)); ++n)
      aside = place / (".removing." + row.tag + "." + std::to_string(n));
    fs::create_directories(place, error);
    fs::rename(dir, aside, error);
    if (error) {
      imsg_print(IMSG_ERROR, "Cannot remove \"%s\": %s.\n", dir.string(), error.message());
      return tbs_errno2status(error.value());
    }
    removal->aside.push_back(aside);
    s.OnRollback([dir, aside] {
      std::error_code ignored;
      fs::rename(aside, dir, ignored);
    });
  }
  removal->drives = StoredDrives(s, row.tag);
  for (const char* table : {"DELETE FROM view_drives WHERE view = ?1", "DELETE FROM view_logon WHERE view = ?1",
                            "DELETE FROM views WHERE tag = ?1"}) {
    Statement drop(s, table);
    drop.Bind(1, row.tag).Run();
  }
  tbs_uuid_t uuid{};
  if (tbs_str_to_uuid(row.uuid.c_str(), &uuid) == TBS_ST_OK) {
    const int r = rgy_remove_by_uuid(&uuid);
    if (r != TBS_ST_OK && r != TBS_ST_NOT_FOUND) return r;
  }
  char region[kNameBufferSize];
  if (rgy_get_default_region(region, sizeof region) == TBS_ST_OK) {
    const int r = rgy_remove_by_string(RGY_KIND_VIEW_TAG, region, row.tag.c_str());
    if (r != TBS_ST_OK && r != TBS_ST_NOT_FOUND) return r;
  }
  return TBS_ST_OK;
}

void Removal::Finish() const {
  std::error_code error;
  for (const fs::path& dir : aside) fs::remove_all(dir, error);
  UnlinkDrives(drives);
}

}  // namespace client_local::views

int view_get_handle_by_tag(const char* tag, view_handle_t* view) {
  return LocalCall("view_get_handle_by_tag", {Text(tag)}, NonNull(tag, view), [&] {
    *view = nullptr;
    const int rc = InStore([&](Store& s) { return views::LoadView(s, tag) ? TBS_ST_OK : TBS_ST_NOT_FOUND; });
    if (rc == TBS_ST_OK) *view = NewHandle(tag);
    return rc;
  });
}

int view_dup_handle(view_handle_t view, view_handle_t* copy) {
  return LocalCall("view_dup_handle", {}, true, [&] {
    std::string tag;
    if (!copy || !TagOf(view, &tag)) return TBS_ST_INVALID_ARG;
    *copy = NewHandle(tag);
    return TBS_ST_OK;
  });
}

int view_free_handle(view_handle_t view) {
  return LocalCall("view_free_handle", {}, true, [&] {
    {
      std::lock_guard lock(g_handles_mutex);
      if (!view || Handles().erase(view) == 0) return TBS_ST_INVALID_ARG;
    }
    delete view;
    return TBS_ST_OK;
  });
}

long view_live_handle_count() {
  std::lock_guard lock(g_handles_mutex);
  return static_cast<long>(Handles().size());
}

int view_handle_get_tag(view_handle_t view, char* out, std::size_t size) {
  std::string tag;
  if (!out || !TagOf(view, &tag)) return TBS_ST_INVALID_ARG;
  return CopyOut(tag, out, size);
}

int view_getprop(view_handle_t view, view_prop_t* props) {
  return LocalCall("view_getprop", {}, NonNull(props), [&] {
    return WithView(view, [&](Store&, const views::ViewRow& row) {
      props->tag = row.tag;
      props->uuid = row.uuid;
      props->owner = row.owner;
      props->host = row.host;
      props->comment = row.comment;
      props->snapshot = row.snapshot;
      props->active = row.active;
      props->created = row.created;
      return TBS_ST_OK;
    });
  });
}

int view_setprop(view_handle_t view, const view_prop_t* props) {
  return LocalCall("view_setprop", {}, NonNull(props), [&] {
    return WithView(view, [&](Store& s, const views::ViewRow& row) {
      Statement q(s, "UPDATE views SET comment = ?2 WHERE tag = ?1");
      q.Bind(1, row.tag).Bind(2, props->comment).Run();
      return TBS_ST_OK;
    });
  });
}

int view_get_config_spec(view_handle_t view, const char* pathname) {
  return LocalCall("view_get_config_spec", {Text(pathname)}, true, [&] {
    const auto host = pathname ? plat::ToHostPath(pathname) : std::nullopt;
    if (!host) return TBS_ST_INVALID_ARG;
    return WithView(view, [&](Store&, const views::ViewRow& row) {
      std::ofstream out(*host, std::ios::binary | std::ios::trunc);
      if (!out) return tbs_errno2status(errno ? errno : EIO);
      out << row.spec;
      out.close();
      return out ? TBS_ST_OK : tbs_errno2status(EIO);
    });
  });
}

int view_set_spec(view_handle_t view, const char* pathname) {
  return LocalCall("view_set_spec", {Text(pathname)}, true, [&] {
    std::string tag;
    if (!pathname || !TagOf(view, &tag)) return TBS_ST_INVALID_ARG;
    char* text = nullptr;
    std::size_t length = 0;
    if (int rc = strutl_read(pathname, &text, &length); rc != TBS_ST_OK) return rc;
    const std::string spec_text(text, length);
    stg_free(text);
    if (spec_text.find('\0') != std::string::npos) {
      imsg_print_text(IMSG_ERROR, "A config spec holds no NUL characters.\n");
      return TBS_ST_INVALID_ARG;
    }
    configspec_t spec;
    std::string error;
    if (configspec_parse(spec_text.c_str(), &spec, &error) != TBS_ST_OK) {
      imsg_print_text(IMSG_ERROR, (error + "\n").c_str());
      return TBS_ST_INVALID_ARG;
    }
    return WithView(view, [&](Store& s, const views::ViewRow& row) {
      Statement q(s, "UPDATE views SET spec = ?2 WHERE tag = ?1");
      q.Bind(1, row.tag).Bind(2, spec_text).Run();
      return TBS_ST_OK;
    });
  });
}

int view_inval_view(view_handle_t view) {
  return LocalCall("view_inval_view", {}, true, [&] {
    return WithView(view, [&](Store& s, const views::ViewRow& row) {
      views::RefreshRoot(s, row.tag);
      return TBS_ST_OK;
    });
  });
}

int view_ws_is_ws_view(view_handle_t view, int* snapshot) {
  return LocalCall("view_ws_is_ws_view", {}, NonNull(snapshot), [&] {
    return WithView(view, [&](Store&, const views::ViewRow& row) {
      *snapshot = row.snapshot ? 1 : 0;
      return TBS_ST_OK;
    });
  });
}

int view_ws_is_ws_tag(const char* tag, int* snapshot) {
  return LocalCall("view_ws_is_ws_tag", {Text(tag)}, NonNull(tag, snapshot), [&](Store& s) {
    const auto row = views::LoadView(s, tag);
    if (!row) return TBS_ST_NOT_FOUND;
    *snapshot = row->snapshot ? 1 : 0;
    return TBS_ST_OK;
  });
}

int view_frz_get_freeze_state(view_handle_t view, int* state) {
  return LocalCall("view_frz_get_freeze_state", {}, NonNull(state), [&] {
    return WithView(view, [&](Store&, const views::ViewRow&) {
      *state = 0;
      return TBS_ST_OK;
    });
  });
}

int view_register_view_tag(const char* tag) {
  return LocalCall("view_register_view_tag", {Text(tag)}, ValidTag(tag), [&] {
    const int rc = SetActive(tag, true);
    if (rc == TBS_ST_OK) RememberRecent(tag);
    return rc;
  });
}

int view_is_active(const char* tag) {
  int active = 0;
  LocalCall("view_is_active", {Text(tag)}, NonNull(tag), [&](Store& s) {
    const auto row = views::LoadView(s, tag);
    active = row && row->active ? 1 : 0;
    return TBS_ST_OK;
  });
  return active;
}

int view_mfs_unregister_tag(const char* tag) {
  return LocalCall("view_mfs_unregister_tag", {Text(tag)}, ValidTag(tag), [&] {
    return SetActive(tag, false);
  });
}

int view_remove_mappings(const char* tag) {
  return LocalCall("view_remove_mappings", {Text(tag)}, ValidTag(tag),
                   [&](Store& s) { return views::LoadView(s, tag) ? TBS_ST_OK : TBS_ST_NOT_FOUND; });
}

int view_server_exit(view_handle_t view) {
  return LocalCall("view_server_exit", {}, true, [&] {
    std::string tag;
    if (!TagOf(view, &tag)) return TBS_ST_INVALID_ARG;
    return SetActive(tag, false);
  });
}

int vob_utl_get_view_from_path(const char* pathname, char* tag, std::size_t size) {
  return LocalCall("vob_utl_get_view_from_path", {Text(pathname)}, NonNull(pathname, tag) && size != 0, [&] {
    tag[0] = '\0';
    std::string view, name;
    if (!ViewOfName(pathname, &view, &name)) return TBS_ST_NOT_FOUND;
    return CopyOut(view, tag, size);
  });
}

int view_get_view_info(const char* pathname, view_info_s* info) {
  return LocalCall("view_get_view_info", {Text(pathname)}, NonNull(pathname, info), [&] {
    std::string view, name;
    if (!ViewOfName(pathname, &view, &name)) return TBS_ST_NOT_FOUND;
    return InStore([&](Store& s) {
      const auto row = views::LoadView(s, view);
      tbs_uuid_t uuid{};
      if (!row || tbs_str_to_uuid(row->uuid.c_str(), &uuid) != TBS_ST_OK) {
        imsg_print(IMSG_ERROR, "There is no view with the tag \"%s\".\n", view);
        return TBS_ST_NOT_FOUND;
      }
      view_info_s found;
      found.tag = row->tag;
      found.uuid = uuid;
      found.snapshot = row->snapshot ? 1 : 0;
      *info = found;
      return TBS_ST_OK;
    });
  });
}

int view_cdview_view_info(char* tag, std::size_t size) {
  return LocalCall("view_cdview_view_info", {}, NonNull(tag) && size != 0, [&] {
    tag[0] = '\0';
    std::error_code error;
    const fs::path here = fs::current_path(error);
    const auto name = error ? std::nullopt : plat::FromHostPath(here);
    std::string view, rest;
    if (!name || !client_local::repo::SplitViewName(*name, &view, &rest) || view.empty())
      return TBS_ST_NOT_FOUND;
    return CopyOut(view, tag, size);
  });
}

int view_current_view_info(char* tag, std::size_t size) { return view_cdview_view_info(tag, size); }

int view_file_state(const char* pathname, int* state) {
  return LocalCall("view_file_state", {Text(pathname)}, NonNull(pathname, state), [&] {
    const auto file = views::ParseViewFile(pathname);
    if (!file || !file->InsideRoot()) return TBS_ST_INVALID_ARG;
    const std::string& view = file->view;
    const std::string& relative = file->relative;
    return InStore([&](Store& s) {
      if (!views::LoadView(s, view)) return TBS_ST_NOT_FOUND;
      *state = views::FileState(s, view, relative == "." ? std::string() : relative);
      return TBS_ST_OK;
    });
  });
}

int view_get_xstat(const char* pathname, view_xstat_t* stat) {
  if (!stat) return TBS_ST_INVALID_ARG;
  int state = VIEW_FILE_ABSENT;
  if (int rc = view_file_state(pathname, &state); rc != TBS_ST_OK) return rc;
  if (state == VIEW_FILE_ABSENT) return TBS_ST_NOT_FOUND;
  const auto host = plat::ToHostPath(pathname);
  std::error_code error;
  const auto status = fs::symlink_status(*host, error);
  view_xstat_t result;
  result.state = state;
  result.mode = static_cast<std::uint32_t>(status.permissions()) & 07777;
  if (fs::is_regular_file(status)) result.size = static_cast<std::int64_t>(fs::file_size(*host, error));
  const auto when = fs::last_write_time(*host, error);
  if (!error)
    result.mtime = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::file_clock::to_sys(when).time_since_epoch())
                       .count();
  *stat = result;
  return TBS_ST_OK;
}
