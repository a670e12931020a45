#include "fileops/checkout_operation.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <exception>

#include "fileops/checkout_dlgs.h"
#include "fileops/entry_points.h"
#include "fileops/progress_dlg.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "gcl_string.h"
#include "kelp.h"
#include "platform/pathmap.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/user_options.h"
#include "stg.h"
#include "strutl.h"
#include "tbs.h"
#include "tsl.h"
#include "vob.h"

using namespace rvcmndlg::res;

namespace {

constexpr int kCheckoutArea = 1012;

// A test (or a site) may force the nonmastered answer for a branch mastered
// elsewhere: a number that is not 0.
bool NonmasteredForced() {
  const char* trigger = std::getenv("STRATA_NMASTER_TRIG");
  return trigger && std::isdigit(static_cast<unsigned char>(trigger[0])) && std::atoi(trigger) != 0;
}

}  // namespace

void FailWithMessage(GCL_Status& status, std::uint32_t code, const std::string& message) {
  status.set_code(code);
  status.push_message(GCL_String((message + "\n").c_str()));
}

// The edit control's line ends: every line break as "\r\n".
std::string ToEditLineEnds(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += c;
    if (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) out += '\n';
  }
  return out;
}

std::string FromEditLineEnds(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

std::string MastershipCommandLine(const std::vector<std::string>& requests) {
  std::string command = "tsldlg /reqmaster /objects ";
  for (const std::string& request : requests) command += QuotedPath(request) + " ";
  return command + "/RFMProgress";
}

// ---- the version callback ----

CCommonCheckoutOperation::CCommonCheckoutOperation(CProgressDlg& progress, plat::ObjectArray& entries)
    : CCommonOperation(progress, entries), m_mastershipAllowed(tslReqMasterEnabledOnSite()) {}

int CCommonCheckoutOperation::ConfirmVersionCallback(const char* name, std::uint32_t count,
                                                     const cmd_checkout_candidate_s* candidates, int /*further*/,
                                                     int hijacked, int* use_modified, void* context) {
  return static_cast<CCommonCheckoutOperation*>(context)->ConfirmVersion(name, count, candidates, hijacked,
                                                                         use_modified);
}

int CCommonCheckoutOperation::ConfirmVersion(const char* name, std::uint32_t count,
                                             const cmd_checkout_candidate_s* candidates, int hijacked,
                                             int* use_modified) {
  int eligible = 0;
  bool hijack_merge = false, reserved_elsewhere = false, not_mastered = false, manual_merge = false;
  for (std::uint32_t i = 0; i < count; ++i) {
    const cmd_checkout_candidate_s& c = candidates[i];
    if (!IsEligible(c)) continue;
    ++eligible;
    hijack_merge = hijack_merge || c.needs_hijack_merge;
    reserved_elsewhere = reserved_elsewhere || c.reserved_elsewhere;
    not_mastered = not_mastered || c.not_mastered_here;
    manual_merge = manual_merge || !c.auto_merge;
  }
  if (hijacked && hijack_merge && manual_merge) {
    m_progress.Pause();
    plat::MessageBox(&m_progress, plat::LoadString(IDS_HIJACK_MERGE_FORBIDDEN), plat::AppName(),
                     plat::mb::Ok | plat::mb::IconError);
    m_progress.Resume();
    m_cancelled = 1;
    return CMD_CHECKOUT_NONE;
  }
  if (eligible == 0) return CMD_CHECKOUT_NONE;
  if (hijacked) {
    if (m_usePrivate) {
      *use_modified = 1;
    } else {
      m_progress.Pause();
      CConfirmUsePrivate question(&m_progress);
      question.m_name = name;
      question.m_multiple = IsMultiple();
      question.m_hijackMerge = hijack_merge;
      const int answer = question.DoModal();
      m_progress.Resume();
      if (answer != plat::IdYes && answer != CConfirmUsePrivate::IdYesToAll && answer != plat::IdNo) {
        m_cancelled = 1;
        return CMD_CHECKOUT_NONE;
      }
      if (answer == CConfirmUsePrivate::IdYesToAll) m_usePrivate = true;
      *use_modified = answer == plat::IdNo ? 0 : 1;
    }
  }
  if (not_mastered && NonmasteredForced()) return CMD_CHECKOUT_NONMASTERED;
  if (count == 1 && !hijack_merge && !reserved_elsewhere && !not_mastered) return 0;

  m_progress.Pause();
  CConfirmCheckoutVersion choice(&m_progress);
  choice.m_name = name;
  choice.m_candidates = candidates;
  choice.m_count = count;
  choice.m_mastershipAllowed = m_mastershipAllowed;
  const int answer = choice.DoModal();
  m_progress.Resume();
  if (answer == plat::IdCancel || answer == -1) {
    m_cancelled = 1;
    return CMD_CHECKOUT_NONE;
  }
  if (choice.m_requestMastership) AddMastershipRequest(name, candidates[0]);
  if (answer == plat::IdNo) {
    m_skipCurrent = 1;
    return CMD_CHECKOUT_NONE;
  }
  if (answer == plat::IdYes) return choice.m_selected == 0 || choice.m_selected == 1 ? choice.m_selected : -1;
  return 0;
}

// The branch of the file's first candidate, by the file's own name.
void CCommonCheckoutOperation::AddMastershipRequest(const char* name, const cmd_checkout_candidate_s& first) {
  const stg_area_t area = stg_create_area(0);
  if (area == STG_NULL_AREA) return;
  const char *dir = nullptr, *leaf = nullptr;
  if (vob_utl_strip_leaf(name, area, &dir, &leaf) == 0) {
    const char* joined = strutl_concat(area, strutl_concat(area, dir, "\\"), leaf);
    const char* object =
        strutl_concat(area, strutl_concat(area, joined, tbs_version_ext_pname()), first.branch ? first.branch : "");
    if (object) m_requests.emplace_back(object);
  }
  stg_delete_area(area);
}

void CCommonCheckoutOperation::SendMastershipRequests() {
  if (m_requests.empty()) return;
  plat::ProcessSpec spec;
  spec.command_line = MastershipCommandLine(m_requests);
  // The tool goes on by itself; nothing waits for it here.
  const plat::StartResult started = plat::CurrentLauncher()->Start(spec);
  if (started) return;
  m_progress.Pause();
  plat::MessageBox(&m_progress,
                   plat::FormatPrintf(plat::LoadString(IDS_CANNOT_EXECUTE), {spec.command_line, started.error().code}),
                   plat::AppName(), plat::mb::Ok | plat::mb::IconError);
  m_progress.Resume();
}

// ---- the operation ----

void CCheckoutOperation::SetOptions(const std::string& comment, int reserved, int unreserved, int version,
                                    int use_private, int preserve_time, int nonmastered) {
  m_withOptions = 1;
  m_comment = FromEditLineEnds(comment);
  m_reserved = reserved == 1;
  m_unreserved = unreserved == 1;
  m_version = version == 1;
  m_usePrivate = use_private == 1;
  m_preserveTime = preserve_time == 1;
  m_nonmastered = nonmastered == 1;
}

void CCheckoutOperation::BeginRun() {
  if (m_withOptions.load()) {
    m_prompt = false;
    return;
  }
  const CUserOptions options;
  m_prompt = options.PromptForCOComment();
  m_reserved = options.CheckoutReserved();
  m_unreserved = options.CheckoutUnreserved();
  m_nonmastered = options.CheckoutNonmastered();
  m_preserveTime = options.CheckoutPreserveTime();
}

// A reserved, nonmastered check-out of a branch mastered here is a plain
// reserved one, unless the element is reserved already and there is no
// unreserved fallback.
void CCheckoutOperation::AdjustNonmastered(CFileItem& item) {
  if (!m_reserved || !m_nonmastered) return;
  GCL_Status probe;
  if (!item.IsReplicated(probe) || !item.IsMasteredHere(probe)) return;
  if (item.HasReservedCheckout(probe) && !m_unreserved) return;
  m_nonmastered = false;
}

void CCheckoutOperation::ProcessFile(GCL_Status& status, CFileItem& item) {
  if (!item.Element(status)) {
    // No element: a hijacked copy is checked out, a view-private file is
    // left alone, and a name that reaches nothing keeps the lookup's failure;
    // so does a lookup that failed for another reason than finding nothing.
    GCL_Status probe;
    if (static_cast<int>(status.code()) != TBS_ST_NOT_FOUND || !item.Exists(probe)) return;
    status.reset(0);
    if (!item.IsHijacked(status) || !status.ok()) return;
  } else if (item.IsCheckedOut(status)) {
    FailWithMessage(status, TBS_ST_FAILURE,
         plat::FormatPrintf(plat::LoadString(IDS_ALREADY_CHECKED_OUT), {item.ViewTag(status)}));
    return;
  }
  if (!status.ok()) return;
  if (!AskForComment(status, item)) return;
  m_progress.AllowShowing();
  if (IsCancelled()) return;
  GCL_Status probe;
  if (!item.IsReplicated(probe)) m_nonmastered = false;
  const std::string name = item.ViewPathname(status);
  if (!status.ok()) return;
  if (!m_version) {
    CheckOutPathname(status, name, 0);
    return;
  }
  // The version the view selects, exactly, by its extended name.
  const vob_dbid_t version = item.Version(status);
  if (!version || !status.ok()) return;
  std::array<char, 2048> path{};
  if (GCL_CapturedCall(status, [&] {
        return vob_obj_to_pname_flags(item.Vob(), version, 0, path.data(), path.size());
      }) != 0)
    return;
  CheckOutPathname(status, name + plat::SplitVersionExtension(path.data()).extension, 1);
}

CCommonCheckoutOperation::CommentForm CCommonCheckoutOperation::ChooseCommentForm(GCL_Status& status,
                                                                                  CFileItem& item) {
  GCL_Status probe;
  if (!item.IsChangeManagedView(probe)) return m_prompt ? kPlainForm : kNoCommentForm;
  if (!m_prompt) {
    GCL_Status question;
    FLM_Activity current;
    if (!NeedsActivity(item)) return kNoCommentForm;
    if (GCL_CapturedCall(question, [&] { return item.View(question).current_activity(&current); }) == 0 &&
        !current.is_null())
      return kNoCommentForm;
  }
  bool tracker = false;
  if (GCL_CapturedCall(status, [&] { return item.View(status).is_tl_enabled(&tracker); }) != 0) return kFormRefused;
  if (tracker && !kelp_is_installed()) {
    // The file fails with the reason, shown once in the error box.
    FailWithMessage(status, TBS_ST_ERR, plat::LoadString(IDS_TL_NOT_INSTALLED));
    return kFormRefused;
  }
  return tracker ? kTrackerForm : kActivityForm;
}

bool CCommonCheckoutOperation::NeedsActivity(CFileItem& item) {
  GCL_Status probe;
  return item.RecordsActivity(probe);
}

bool CCheckoutOperation::AskForComment(GCL_Status& status, CFileItem& item) {
  if (IsCancelled()) return false;
  if (!m_prompt) AdjustNonmastered(item);
  const CommentForm form = ChooseCommentForm(status, item);
  if (form == kFormRefused) return false;
  if (form == kNoCommentForm) return true;
  return ShowCommentDialog(status, item, form);
}

int CCommonCheckoutOperation::RunCommentForm(CCheckoutCommentDlg& dialog, CFileItem& item) {
  GCL_Status probe;
  dialog.m_name = item.DisplayName();
  dialog.m_comment = ToEditLineEnds(m_comment);
  dialog.m_replicated = item.IsReplicated(probe);
  dialog.m_preserveTime = m_preserveTime;
  dialog.m_multiple = IsMultiple();
  m_progress.Pause();
  const int answer = dialog.DoModal();
  m_progress.Resume();
  if (answer == plat::IdCancel) m_cancelled = 1;
  if (answer == plat::IdOk || answer == CCheckoutCommentDlg::IdApplyToAll) {
    m_comment = FromEditLineEnds(dialog.m_comment);
    m_preserveTime = dialog.m_preserveTime != 0;
    m_prompt = answer == plat::IdOk;
  }
  return answer;
}

bool CCheckoutOperation::ShowCommentDialog(GCL_Status& status, CFileItem& item, CommentForm form) {
  auto dialog =
      MakeCommentForm<CCheckoutCommentDlg, CCheckoutActivityCommentDlg, CCheckoutTLEntityCommentDlg>(form, item, status);
  GCL_Status probe;
  dialog->m_reserved = m_reserved;
  dialog->m_unreserved = m_unreserved;
  dialog->m_nonmastered = item.IsReplicated(probe) && m_nonmastered;
  const int answer = RunCommentForm(*dialog, item);
  if (answer == plat::IdCancel) return false;
  if (answer != plat::IdOk && answer != CCheckoutCommentDlg::IdApplyToAll) return true;
  m_reserved = dialog->m_reserved != 0;
  m_unreserved = dialog->m_unreserved != 0;
  m_nonmastered = dialog->m_nonmastered != 0;
  AdjustNonmastered(item);
  return true;
}

void CCheckoutOperation::CheckOutPathname(GCL_Status& status, const std::string& pathname, int version_flag) {
  GCL_CaptureScope capture(status);
  const stg_area_t area = stg_create_area(kCheckoutArea);
  if (area == STG_NULL_AREA) {
    status.set_code(TBS_ST_NO_MEMORY);
    return;
  }
  int result = TBS_ST_FAILURE;
  try {
    const char* names[1] = {pathname.c_str()};
    cmd_checkout_args_s args;
    args.version = 8;
    args.area = area;
    args.pnames = names;
    args.pname_count = 1;
    args.unreserved = m_reserved ? m_unreserved : 1;
    args.reserved = m_reserved;
    args.preserve_time = m_preserveTime;
    args.version_flag = version_flag;
    args.callback = &CCommonCheckoutOperation::ConfirmVersionCallback;
    args.context = static_cast<CCommonCheckoutOperation*>(this);
    args.nonmastered = m_nonmastered;
    args.comment = m_comment.c_str();
    args.comment_mode = m_comment.empty() ? CMD_CHECKOUT_COMMENT_NONE : CMD_CHECKOUT_COMMENT_GIVEN;
    result = cmd_checkout(&args);
  } catch (const std::exception& e) {
    // The command's exception is this file's failure, with its text.
    status.push_message(GCL_String((std::string(e.what()) + "\n").c_str()));
    result = TBS_ST_FAILURE;
  }
  // A file the user skipped or cancelled is no failure: it was not processed.
  if (IsCancelled() || m_skipCurrent.load()) result = 0;
  stg_delete_area(area);
  status.set_code(static_cast<std::uint32_t>(result));
}

bool CCheckoutOperation::ContinueAfterError(GCL_Status& status, CFileItem& item) {
  if (!CUserOptions().SuppressErrors()) ReportAndAsk(status, &item, IDS_ERROR_CHECKOUT);
  return true;
}
