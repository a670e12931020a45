#include "fileops/addsrc_factory.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>

#include "cmd_checkin.h"
#include "cmd_uncheckout.h"
#include "cmd_utl.h"
#include "fileops/file_item.h"
#include "fileops/progress_dlg.h"
#include "fileutl_stat.h"
#include "flm.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "gcl_string.h"
#include "imsg.h"
#include "ntcs.h"
#include "platform/resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/user_options.h"
#include "stg.h"
#include "tbs.h"
#include "view_ws.h"
#include "vob.h"

using namespace rvcmndlg::res;

namespace {

constexpr int kAddArea = 1000;

// The client lock, held around the repository's calls only: never while a
// dialog could show.
class ClientLock {
 public:
  ClientLock() { nt_enter_critical_section(); }
  ~ClientLock() { nt_leave_critical_section(); }
  ClientLock(const ClientLock&) = delete;
  ClientLock& operator=(const ClientLock&) = delete;
};

// A storage area for one command, given back at the end of the scope.
class Area {
 public:
  Area() : area_(stg_create_area(kAddArea)) {}
  ~Area() {
    if (area_ != STG_NULL_AREA) stg_delete_area(area_);
  }
  Area(const Area&) = delete;
  Area& operator=(const Area&) = delete;
  stg_area_t get() const { return area_; }

 private:
  stg_area_t area_;
};

// Names compare with '\' separators and no trailing separator.
std::string Normal(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  while (path.size() > 1 && path.back() == '\\') path.pop_back();
  return path;
}

// What a directory's name selects in its view.
struct Selected {
  std::array<char, 300> view{};
  vob_handle_t vob = 0;
  vob_dbid_t version = 0;
  bool directory = false;
  bool checked_out = false;
};

bool Lookup(const std::string& name, Selected* out) {
  if (view_ws_lookup_pn(name.c_str(), out->view.data(), out->view.size(), &out->vob, &out->version) != 0) return false;
  std::uint32_t mtype = 0;
  int checked_out = 0;
  if (vob_obj_get_mtype(out->vob, out->version, &mtype) != 0 ||
      vob_ver_is_checked_out(out->vob, out->version, &checked_out) != 0)
    return false;
  out->directory = mtype == VOB_MTYPE_DIR_VERSION;
  out->checked_out = checked_out != 0;
  return true;
}

void TakeOver(GCL_Status& into, const GCL_Status& from) {
  const std::string messages = from.messages().c_str();
  if (!messages.empty()) into.push_message(GCL_String(messages.c_str()));
}

}  // namespace

std::string ParentOf(const std::string& path) {
  const std::string name = Normal(path);
  const std::size_t cut = name.find_last_of('\\');
  return cut == std::string::npos ? std::string(".") : name.substr(0, cut);
}

bool CAddToSrcFactory::IsRunFile(const std::string& path) const {
  return m_names.count(Normal(path)) != 0;
}

int CAddToSrcFactory::ProgressCallback(const char* path, int stage, int directory, void* context) {
  return static_cast<CAddToSrcFactory*>(context)->OnStage(path ? path : "", stage, directory != 0);
}

int CAddToSrcFactory::OnStage(const std::string& path, int stage, bool directory) {
  static constexpr int kFileLines[] = {IDS_ADDSRC_PUTTING_FILE, IDS_ADDSRC_CHECKING_OUT, IDS_ADDSRC_CHECKING_IN};
  static constexpr int kDirectoryLines[] = {IDS_ADDSRC_PUTTING_DIRECTORY, IDS_ADDSRC_CHECKING_OUT_DIRECTORY,
                                            IDS_ADDSRC_CHECKING_IN_DIRECTORY};
  const std::string name = Normal(path);
  if (stage >= CMD_UTL_MKELEM_MADE && stage <= CMD_UTL_MKELEM_CHECKED_IN) {
    m_progress->SetLine2(plat::LoadString(directory ? kDirectoryLines[stage] : kFileLines[stage]));
  } else if (stage == CMD_UTL_MKELEM_FAILED) {
    m_progress->SetLine2(plat::FormatMessage(plat::LoadString(IDS_ERROR_ADDSRC), {path}));
  }
  // The list follows what the command checks out and in.
  if (directory && stage == CMD_UTL_MKELEM_CHECKED_OUT &&
      std::find(m_parents.begin(), m_parents.end(), name) == m_parents.end())
    m_parents.push_back(name);
  if (directory && stage == CMD_UTL_MKELEM_CHECKED_IN)
    m_parents.erase(std::remove(m_parents.begin(), m_parents.end(), name), m_parents.end());
  if (stage == CMD_UTL_MKELEM_MADE) m_madeNow.push_back(name);
  return m_progress->IsCancelled() ? 1 : 0;
}

void CAddToSrcFactory::CheckOutParent(const std::string& path) {
  const std::string parent = ParentOf(path);
  Selected selected;
  if (!Lookup(parent, &selected) || !selected.directory || selected.checked_out) return;
  Area area;
  if (area.get() == STG_NULL_AREA) return;
  const CUserOptions options;
  const char* names[1] = {parent.c_str()};
  cmd_checkout_args_s args;
  args.version = 8;
  args.area = area.get();
  args.pnames = names;
  args.pname_count = 1;
  args.reserved = options.CheckoutReserved();
  args.unreserved = args.reserved ? options.CheckoutUnreserved() : 1;
  args.add_to_srcs = 1;
  args.comment = m_comment.c_str();
  args.comment_mode = CMD_CHECKOUT_COMMENT_GIVEN;
  if (cmd_checkout(&args) == 0) m_parents.push_back(parent);
}

void CAddToSrcFactory::ReleaseParent(const std::string& path) {
  const std::string parent = ParentOf(path);
  const auto listed = std::find(m_parents.begin(), m_parents.end(), parent);
  if (listed == m_parents.end() || m_filled.count(parent)) return;
  m_parents.erase(listed);
  Selected selected;
  if (!Lookup(parent, &selected) || !selected.checked_out) return;
  Area area;
  const char* names[1] = {parent.c_str()};
  cmd_uncheckout_args_s args;
  args.area = area.get();
  args.pnames = names;
  args.pname_count = 1;
  cmd_uncheckout(&args);
}

int CAddToSrcFactory::Add(GCL_Status& status, CFileItem& item, const std::string& comment, int keep, int master,
                          CProgressDlg& progress, int preserve_time, const std::vector<std::string>& names,
                          cmd_checkout_confirm_fn confirm, void* context) {
  m_keep = keep;
  m_progress = &progress;
  m_comment = comment;
  m_madeNow.clear();
  status.reset(TBS_ST_FAILURE);
  GCL_CaptureScope capture(status);
  const std::string& path = item.DisplayName();
  int result = TBS_ST_FAILURE;
  {
    ClientLock lock;
    if (m_first) {
      for (const std::string& name : names) m_names.insert(Normal(name));
      CheckOutParent(path);
      m_first = 0;
    }
    Area area;
    if (area.get() == STG_NULL_AREA) {
      status.set_code(TBS_ST_FAILURE);
      return 0;
    }
    fileutl_stat_t st;
    const bool directory = fileutl_stat(path.c_str(), &st) == 0 && (st.mode & FILEUTL_S_IFMT) == FILEUTL_S_IFDIR;
    const char* pnames[1] = {path.c_str()};
    cmd_utl_mkelem_args_s args;
    args.area = area.get();
    args.pnames = pnames;
    args.pname_count = 1;
    args.checkin = 1 - keep;
    args.preserve_time = preserve_time;
    args.master = master;
    args.add_to_srcs = 1;
    args.directory = directory ? 1 : 0;
    args.keep = keep;
    args.progress = &CAddToSrcFactory::ProgressCallback;
    args.progress_context = this;
    args.comment = m_comment.c_str();
    args.comment_mode = CMD_UTL_MKELEM_COMMENT_GIVEN;
    try {
      result = cmd_utl_mkelem(&args, confirm, context);
    } catch (const std::exception& e) {
      // The command's exception fails this file with its text.
      status.push_message(GCL_String((plat::LoadString(IDS_EXCEPTION_THROWN) + plat::LoadString(IDS_EXCEPTION_TEXT) +
                                      e.what() + "\n")
                                         .c_str()));
      result = TBS_ST_FAILURE;
    }
    if (result == 0) {
      for (const std::string& made : m_madeNow) m_filled.insert(ParentOf(made));
    } else {
      ReleaseParent(path);
    }
  }
  capture.End();
  status.set_code(static_cast<std::uint32_t>(result));
  return result == 0 ? 1 : 0;
}

void CAddToSrcFactory::FinishDirectory(GCL_Status& status, const std::string& directory) {
  GCL_Status own;
  GCL_CaptureScope capture(own);
  ClientLock lock;
  // A directory that cannot be read or named stays checked out: the closing box says so.
  auto fail = [&] {
    capture.End();
    status.set_code(TBS_ST_FAILURE);
    TakeOver(status, own);
  };
  Selected selected;
  if (!Lookup(directory, &selected)) return fail();
  if (!selected.checked_out) return;
  const bool run_file = IsRunFile(directory);
  if (run_file && m_keep) return;
  bool local = true;
  FLM_VobObject(selected.vob, selected.version).has_local_mastership(&local);
  if (!local) {
    imsg_print(IMSG_ERROR, "%s\n",
               plat::FormatMessage(plat::LoadString(IDS_PARENT_NOT_MASTERED), {directory}));
    capture.End();
    TakeOver(status, own);  // the closing box shows it
    return;
  }
  if (m_progress) m_progress->SetLine2(plat::LoadString(IDS_ADDSRC_CHECKING_IN_DIRECTORY));
  Area area;
  const char* names[1] = {directory.c_str()};
  cmd_checkin_args_s args;
  args.area = area.get();
  args.pnames = names;
  args.pname_count = 1;
  if (run_file && !m_comment.empty()) {
    args.comment = m_comment.c_str();
    args.comment_mode = CMD_CHECKIN_COMMENT_GIVEN;
  }
  const int result = area.get() == STG_NULL_AREA ? TBS_ST_FAILURE : cmd_checkin(&args);
  capture.End();
  if (result == 0) return;
  status.set_code(static_cast<std::uint32_t>(result));
  TakeOver(status, own);
}

void CAddToSrcFactory::Finish(GCL_Status& status) {
  status.reset(0);
  for (const std::string& directory : m_parents)
    if (!directory.empty()) FinishDirectory(status, directory);
  m_parents.clear();
  m_filled.clear();
  m_first = 1;
}
