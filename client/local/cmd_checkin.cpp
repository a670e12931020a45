// cmd_checkin: a view's check-out checked in, one store transaction per name.
// The repository's check-in (vob_utl_checkin) takes the view's file as the
// new version and makes it read-only; this command refuses identical
// contents first and settles the file's time. When the store cannot keep the
// change, the view's file goes back as it was: writable, bytes and time.
#include "cmd_checkin.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "imsg.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "platform/pathmap.h"
#include "view_ws.h"
#include "vob.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Store;
using namespace client_local::repo;
namespace views = client_local::views;
namespace fs = std::filesystem;

namespace {

// The view's file as it was before the check-in.
struct FileBefore {
  fs::path path;
  std::string text;
  fs::perms perms = fs::perms::none;
  fs::file_time_type mtime;
};

bool ReadBefore(const fs::path& path, FileBefore* before) {
  std::error_code error;
  const auto status = fs::status(path, error);
  if (error || !fs::is_regular_file(status)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  before->text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  before->path = path;
  before->perms = status.permissions();
  before->mtime = fs::last_write_time(path, error);
  return !error;
}

void PutBack(const FileBefore& before) {
  std::error_code ignored;
  fs::remove(before.path, ignored);
  std::ofstream(before.path, std::ios::binary | std::ios::trunc) << before.text;
  fs::permissions(before.path, before.perms, ignored);
  fs::last_write_time(before.path, before.mtime, ignored);
}

struct Request {
  std::string shown;
  bool preserve_time = false;
  bool identical = false;
  std::string comment;
};

int CheckInOne(Store& s, const Request& r, std::string* checked_in) {
  const auto file = views::ParseViewFile(r.shown);
  if (!file || !file->InsideRoot() || file->relative == ".") {
    Complain("\"" + r.shown + "\" is not a file through a view: a check-in is made in a view.");
    return TBS_ST_INVALID_ARG;
  }
  char view[256];
  vob_handle_t vob = 0;
  vob_dbid_t selected = 0;
  if (int rc = view_ws_lookup_pn(r.shown.c_str(), view, sizeof view, &vob, &selected)) {
    Complain("Unable to find \"" + r.shown + "\".");
    return rc;
  }
  const auto version = Load(s, vob, selected);
  if (!version) return TBS_ST_NOT_FOUND;
  const auto element = Load(s, vob, version->elem);
  if (!element) return TBS_ST_NOT_FOUND;
  const bool is_file = element->mtype == VOB_MTYPE_FILE_ELEMENT;

  FileBefore before;
  const bool has_file = is_file && ReadBefore(file->host, &before);
  if (has_file && !r.identical && version->number == VOB_VERSION_CHECKEDOUT) {
    const vob_dbid_t latest = LatestVersion(s, vob, version->branch);
    const auto previous = Load(s, vob, latest ? latest : version->pred);
    if (previous && previous->text == before.text) {
      Complain("\"" + r.shown + "\" is identical to its predecessor \"" + Pathname(s, *previous) +
               "\": nothing to check in.");
      return TBS_ST_FAILURE;
    }
  }
  // Registered first, so it runs last: whatever the check-in did to the file
  // is undone, and the file's time comes back too.
  if (has_file) s.OnRollback([before] { PutBack(before); });
  const auto through_view = plat::ReadViewName(r.shown);
  if (!through_view) return TBS_ST_INVALID_ARG;
  vob_dbid_t made = 0;
  if (int rc = vob_utl_checkin(vob, through_view->InView().c_str(), view, r.comment.c_str(), &made)) return rc;
  if (const auto new_version = Load(s, vob, made)) *checked_in = Pathname(s, *new_version);
  if (!has_file) return TBS_ST_OK;
  std::error_code error;
  fs::last_write_time(file->host, r.preserve_time ? before.mtime : fs::file_time_type::clock::now(), error);
  if (error) {
    Complain("Cannot set the time of \"" + r.shown + "\": " + error.message() + ".");
    return TBS_ST_FAILURE;
  }
  return TBS_ST_OK;
}

}  // namespace

int cmd_checkin(cmd_checkin_args_s* args) {
  const bool valid = NonNull(args) && args->version == 3 && args->area != STG_NULL_AREA && args->pnames &&
                     args->pname_count != 0 && args->one == 1 &&
                     (args->comment_mode == CMD_CHECKIN_COMMENT_NONE ||
                      (args->comment_mode == CMD_CHECKIN_COMMENT_GIVEN && args->comment));
  return LocalCall("cmd_checkin",
                   {args && args->pname_count && args->pnames && args->pnames[0] ? args->pnames[0] : "(none)",
                    args ? Num(args->comment_mode) : "(null)", args ? Num(args->identical) : "",
                    args ? Num(args->preserve_time) : "", valid && args->comment ? args->comment : ""},
                   valid, [&] {
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_FAILURE;
    for (std::uint32_t i = 0; i < args->pname_count; ++i) {
      if (!args->pnames[i]) return TBS_ST_INVALID_ARG;
      Request r;
      std::string made;
      r.shown = BackslashName(args->pnames[i]);
      r.preserve_time = args->preserve_time != 0;
      r.identical = args->identical != 0;
      if (args->comment_mode == CMD_CHECKIN_COMMENT_GIVEN) r.comment = args->comment;
      if (int status = store->Command([&](Store& s) { return CheckInOne(s, r, &made); })) return status;
      imsg_print(IMSG_NOTICE, "Checked in \"%s\" version \"%s\".\n", r.shown, made);
    }
    return TBS_ST_OK;
  });
}
