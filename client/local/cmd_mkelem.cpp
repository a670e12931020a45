// cmd_utl_mkelem: view-private files and directories become elements. All
// names of a command go in one store transaction; the view's files change
// only as its last step and go back when the store cannot keep the change.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "cmd_utl.h"
#include "imsg.h"
#include "local/flm_repo.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "view_ws.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;
namespace views = client_local::views;
namespace fs = std::filesystem;

namespace {

// Thrown from inside the command to end it with a status (the store undoes
// everything the command did).
struct Stop {
  int status;
};

class Maker {
 public:
  Maker(Store& s, const cmd_utl_mkelem_args_s& args) : s_(s), args_(args) {
    if (args.comment_mode == CMD_UTL_MKELEM_COMMENT_GIVEN && args.comment) comment_ = args.comment;
  }

  void Add(const std::string& pathname);

 private:
  // Why the name cannot be added: the message and status.
  [[noreturn]] static void Refuse(int status, const std::string& why) {
    Complain(why);
    throw Stop{status};
  }
  void Report(const std::string& name, int stage, bool directory) {
    if (args_.progress && args_.progress(name.c_str(), stage, directory ? 1 : 0, args_.progress_context) != 0)
      throw Stop{TBS_ST_INTERRUPTED};
  }
  // The name a directory element of the VOB is reported by (its path in the VOB).
  std::string Shown(const std::string& in_vob) const { return prefix_ + in_vob; }
  vob_dbid_t Find(const std::string& in_vob, std::uint32_t* mtype) {
    vob_dbid_t dbid = 0;
    return Resolve(s_, vob_, in_vob, "", &dbid, mtype) == TBS_ST_OK ? dbid : 0;
  }
  // The view's check-out of an element (0: none).
  vob_dbid_t CheckoutOf(vob_dbid_t elem) {
    Statement q(s_, "SELECT c.version FROM vob_checkouts c JOIN vob_objs o ON o.vob = c.vob AND o.dbid = c.version"
                    " WHERE c.vob = ?1 AND o.elem = ?2 AND c.view = ?3");
    q.Bind(1, vob_).Bind(2, elem).Bind(3, view_);
    return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;
  }
  // The view's check-out of the element; in a stream view it joins the current activity.
  vob_dbid_t CheckOut(vob_dbid_t elem, const std::string& shown);
  void EnsureDirectoryCheckedOut(const std::string& in_vob, vob_dbid_t dir);
  vob_dbid_t MakeElement(const std::string& in_vob, bool directory);
  void CheckIn(vob_dbid_t checked_out, const std::string& text);
  void FinishFile(const fs::path& host, const std::string& text, vob_dbid_t version, bool checked_out,
                  const std::string& in_vob);

  Store& s_;
  const cmd_utl_mkelem_args_s& args_;
  std::string comment_;
  std::string view_;
  vob_handle_t vob_ = 0;
  std::string prefix_;  // the given name up to the VOB's root
};

vob_dbid_t Maker::CheckOut(vob_dbid_t elem, const std::string& shown) {
  const Object element = *Load(s_, vob_, elem);
  const auto latest = Load(s_, vob_, LatestVersion(s_, vob_, element.branch));
  if (!latest) throw Stop{TBS_ST_NOT_FOUND};
  Statement other(s_, "SELECT 1 FROM vob_checkouts WHERE vob = ?1 AND branch = ?2 AND reserved = 1");
  other.Bind(1, vob_).Bind(2, element.branch);
  const bool nonmastered = MasterReplica(s_, vob_, element.branch) != CurrentReplica(s_, vob_);
  const bool reserved = !other.Step() && !nonmastered;
  const vob_dbid_t checked_out = AddCheckout(s_, *latest, view_, reserved, nonmastered, comment_);
  if (int rc = client_local::flm::JoinViewActivity(s_, view_, element, checked_out, shown)) throw Stop{rc};
  return checked_out;
}

// A new element goes only into a directory the view has checked out.
void Maker::EnsureDirectoryCheckedOut(const std::string& in_vob, vob_dbid_t dir) {
  if (CheckoutOf(dir)) return;
  CheckOut(dir, Shown(in_vob));
  Report(Shown(in_vob), CMD_UTL_MKELEM_CHECKED_OUT, true);
}

vob_dbid_t Maker::MakeElement(const std::string& in_vob, bool directory) {
  vob_dbid_t elem = 0;
  if (int rc = vob_mkelem(vob_, in_vob.c_str(), directory ? 1 : 0, comment_.c_str(), &elem)) throw Stop{rc};
  Report(Shown(in_vob), CMD_UTL_MKELEM_MADE, directory);
  return elem;
}

// The first check-in of a new element: \main\1 with the text.
void Maker::CheckIn(vob_dbid_t checked_out, const std::string& text) {
  const Object version = *Load(s_, vob_, checked_out);
  Statement set(s_, "UPDATE vob_objs SET number = 1, text = ?3 WHERE vob = ?1 AND dbid = ?2");
  set.Bind(1, vob_).Bind(2, checked_out).Bind(3, text).Run();
  Statement drop(s_, "DELETE FROM vob_checkouts WHERE vob = ?1 AND version = ?2");
  drop.Bind(1, vob_).Bind(2, checked_out).Run();
  AddEvent(s_, vob_, version.dbid, "checkin version", comment_);
}

// Last: the view's file becomes the element's, its bytes as they are.
void Maker::FinishFile(const fs::path& host, const std::string& text, vob_dbid_t version, bool checked_out,
                       const std::string& in_vob) {
  std::error_code error;
  const fs::perms before = fs::status(host, error).permissions();
  const fs::file_time_type mtime = fs::last_write_time(host, error);
  s_.OnRollback([host, before, mtime] {
    std::error_code ignored;
    fs::permissions(host, before, ignored);
    fs::last_write_time(host, mtime, ignored);
  });
  std::string now;
  {
    std::ifstream in(host, std::ios::binary);
    now.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (now != text) Refuse(TBS_ST_FAILURE, "\"" + Shown(in_vob) + "\" changed while it was being added.");
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(host, checked_out ? (before | fs::perms::owner_write) : (before & ~write), error);
  if (!error && !args_.preserve_time) fs::last_write_time(host, fs::file_time_type::clock::now(), error);
  if (error) Refuse(TBS_ST_FAILURE, "Cannot change \"" + host.string() + "\": " + error.message() + ".");
  if (checked_out)
    views::RecordCheckedOut(s_, view_, vob_, in_vob, version);
  else
    views::RecordCheckedIn(s_, view_, vob_, in_vob, version);
}

void Maker::Add(const std::string& pathname) {
  const std::string shown = BackslashName(pathname.c_str());
  const auto file = views::ParseViewFile(shown);
  if (!file || !file->InsideRoot() || file->relative == ".")
    Refuse(TBS_ST_INVALID_ARG, "\"" + shown + "\" is not a file through a view: elements are made in a view.");
  view_ = file->view;
  if (!views::LoadView(s_, view_)) Refuse(TBS_ST_NOT_FOUND, "No such view: \"" + view_ + "\".");
  std::error_code error;
  const fs::file_status status = fs::symlink_status(file->host, error);
  if (error || !fs::exists(status)) Refuse(TBS_ST_NOT_FOUND, "Unable to find \"" + shown + "\".");
  if (fs::is_symlink(status))
    Refuse(TBS_ST_WRONG_KIND, "\"" + shown + "\" is a symbolic link: only files and directories become elements.");
  const bool directory = fs::is_directory(status);
  if (!directory && !fs::is_regular_file(status))
    Refuse(TBS_ST_WRONG_KIND, "\"" + shown + "\" is a special file: only files and directories become elements.");
  std::string rest = "\\" + file->relative;
  for (char& c : rest)
    if (c == '/') c = '\\';
  std::string in_vob;
  vob_ = VobOfName(s_, rest, &in_vob);
  if (!vob_) Refuse(TBS_ST_NOT_FOUND, "\"" + shown + "\" is in no VOB.");
  prefix_ = "\\\\view\\" + view_ + VobTag(s_, vob_);
  std::uint32_t mtype = 0;
  if (in_vob.empty() || in_vob == "\\" || Find(in_vob, &mtype))
    Refuse(TBS_ST_ALREADY, "\"" + shown + "\" is already an element.");
  // The directories on the way: elements to go into, or view-private ones to make.
  std::vector<std::string> parts;
  for (std::size_t at = 1; at <= in_vob.size();) {
    const std::size_t end = std::min(in_vob.find('\\', at), in_vob.size());
    parts.push_back(in_vob.substr(at, end - at));
    at = end + 1;
  }
  for (const std::string& part : parts)
    if (!ValidElementName(part)) Refuse(TBS_ST_INVALID_ARG, BadElementNameText(part));
  std::string dir_name;
  vob_dbid_t dir = Find("\\", &mtype);
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const std::string next = dir_name + "\\" + parts[i];
    if (const vob_dbid_t found = Find(next, &mtype)) {
      if (mtype != VOB_MTYPE_DIR_ELEMENT) Refuse(TBS_ST_WRONG_KIND, "\"" + Shown(next) + "\" is not a directory.");
      dir = found;
    } else {
      EnsureDirectoryCheckedOut(dir_name, dir);
      dir = MakeElement(next, true);
      CheckOut(dir, Shown(next));
      Report(Shown(next), CMD_UTL_MKELEM_CHECKED_OUT, true);
    }
    dir_name = next;
  }
  EnsureDirectoryCheckedOut(dir_name, dir);
  const vob_dbid_t elem = MakeElement(in_vob, directory);
  const vob_dbid_t checked_out = CheckOut(elem, shown);
  Report(shown, CMD_UTL_MKELEM_CHECKED_OUT, directory);
  std::string text;
  if (!directory) {
    std::ifstream in(file->host, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) Refuse(TBS_ST_FAILURE, "Cannot read \"" + shown + "\".");
    Statement set(s_, "UPDATE vob_objs SET text = ?3 WHERE vob = ?1 AND dbid = ?2");
    set.Bind(1, vob_).Bind(2, checked_out).Bind(3, text).Run();
  }
  const bool keep = args_.keep != 0 || args_.checkin == 0;
  if (!keep) {
    CheckIn(checked_out, text);
    Report(shown, CMD_UTL_MKELEM_CHECKED_IN, directory);
  }
  if (int rc = view_inval_obj(view_.c_str(), vob_, elem)) throw Stop{rc};
  if (!directory) FinishFile(file->host, text, checked_out, keep, in_vob);
  imsg_print(IMSG_NOTICE, "Created element \"%s\"%s.\n", shown, keep ? " (checked out)" : "");
}

bool ValidBlock(const cmd_utl_mkelem_args_s* args) {
  return NonNull(args) && args->version == 0 && args->area != STG_NULL_AREA && args->pnames &&
         args->pname_count != 0 && args->add_to_srcs == 1 &&
         (args->comment_mode == CMD_UTL_MKELEM_COMMENT_GIVEN || args->comment_mode == CMD_CHECKOUT_COMMENT_NONE);
}

}  // namespace

int cmd_utl_mkelem(cmd_utl_mkelem_args_s* args, cmd_checkout_confirm_fn /*callback*/, void* /*context*/) {
  return LocalCall("cmd_utl_mkelem",
                   {args && args->pname_count && args->pnames && args->pnames[0] ? args->pnames[0] : "(none)",
                    args ? Num(args->keep) : "(null)", args ? Num(args->preserve_time) : "",
                    args ? Num(args->directory) : ""},
                   ValidBlock(args), [&] {
    for (std::uint32_t i = 0; i < args->pname_count; ++i)
      if (!args->pnames[i]) return TBS_ST_INVALID_ARG;
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_FAILURE;
    std::string failing;
    const int status = store->Command([&](Store& s) {
      for (std::uint32_t i = 0; i < args->pname_count; ++i) {
        failing = args->pnames[i];
        Maker maker(s, *args);
        try {
          maker.Add(failing);
        } catch (const Stop& stop) {
          return stop.status;
        }
      }
      return TBS_ST_OK;
    });
    if (status != TBS_ST_OK && status != TBS_ST_INTERRUPTED && args->progress)
      args->progress(BackslashName(failing.c_str()).c_str(), CMD_UTL_MKELEM_FAILED, args->directory,
                     args->progress_context);
    return status;
  });
}
