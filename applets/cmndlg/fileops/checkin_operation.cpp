#include "fileops/checkin_operation.h"

#include <exception>
#include <memory>
#include <vector>

#include "cmd_checkin.h"
#include "cmd_merge.h"
#include "fileops/checkin_dlgs.h"
#include "fileops/progress_dlg.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "gcl_string.h"
#include "kelp.h"
#include "platform/dialog.h"
#include "platform/resources.h"
#include "res/resource_ids.h"
#include "rvcmndlg/user_options.h"
#include "stg.h"
#include "tbs.h"
#include "vob.h"

using namespace rvcmndlg::res;

namespace {

constexpr int kCheckinArea = 1000;
constexpr int kMergeArea = 1012;

std::string WithoutCarriageReturns(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

void Fail(GCL_Status& status, const std::string& message) {
  status.set_code(TBS_ST_FAILURE);
  status.push_message(GCL_String((message + "\r\n").c_str()));
}

// A read whose answer was never recorded (1002) is no failure.
bool ReadFailed(GCL_Status& status) {
  if (status.code() == TBS_ST_NOT_FOUND) status.reset(0);
  return !status.ok();
}

}  // namespace

void CCheckinOperation::SetOptions(const std::string& comment, int identical, int prompt, int use_checkout_info,
                                   int preserve_time) {
  m_withOptions = 1;
  m_comment = WithoutCarriageReturns(comment);
  m_identical = identical == 1;
  m_prompt = prompt == 1;
  m_useCheckoutInfo = use_checkout_info == 1;
  m_preserveTime = preserve_time == 1;
}

void CCheckinOperation::BeginRun() {
  if (!m_withOptions.load()) {
    const CUserOptions options;
    m_comment.clear();
    m_identical = false;
    m_prompt = options.PromptForCIComment();
    m_useCheckoutInfo = options.UseCheckoutInfo();
    m_preserveTime = options.CheckinPreserveTime();
  }
  m_useOriginalActivity = true;
  m_confirmAdd = true;
  m_finishNeeded = true;
  m_keepCheckedOut = false;
  m_master = false;
}

void CCheckinOperation::ProcessFile(GCL_Status& status, CFileItem& item) {
  const bool element = item.Element(status) != 0;
  if (element && item.IsCheckedOut(status)) {
    if (status.ok()) CheckInCheckedOut(status, item);
    return;
  }
  GCL_Status probe;
  if (!item.Exists(probe)) {
    // A name that reaches nothing fails with the lookup's status.
    if (status.ok()) status.set_code(TBS_ST_NOT_FOUND);
    if (status.message_count() == 0)
      status.push_message(GCL_String(("Unable to find \"" + item.DisplayName() + "\".\n").c_str()));
    return;
  }
  if (element && !status.ok()) return;
  // Only "not found" makes the file a candidate for adding: a lookup that
  // failed otherwise fails the file.
  if (ReadFailed(status)) return;
  if (item.IsHijacked(status)) {
    Fail(status, plat::LoadString(IDS_CHECKIN_HIJACKED));
    return;
  }
  if (!status.ok()) return;
  if (element)
    Fail(status, plat::FormatPrintf(plat::LoadString(IDS_NOT_CHECKED_OUT_TO_VIEW), {item.ViewTag(status)}));
  else
    OfferToAdd(status, item);
}

void CCheckinOperation::OfferToAdd(GCL_Status& status, CFileItem& item) {
  if (m_confirmAdd) {
    const std::string& path = item.DisplayName();
    m_progress.Pause();
    CConfirmAddToSrc question(&m_progress);
    question.m_name = path.substr(path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/") + 1);
    const int answer = question.DoModal();
    m_progress.Resume();
    if (answer == plat::IdNo) return;  // left alone: nothing failed
    if (answer != plat::IdYes && answer != CConfirmAddToSrc::IdYesToAll) {
      m_cancelled = 1;
      return;
    }
    if (answer == CConfirmAddToSrc::IdYesToAll) m_confirmAdd = false;
  }
  AddAndCheckIn(status, item);
}

void CCheckinOperation::AddAndCheckIn(GCL_Status& status, CFileItem& item) {
  if (m_prompt && !AskForComment(status, item)) return;
  m_progress.AllowShowing();
  if (IsCancelled()) return;
  const std::vector<std::string>& names = RunFileNames();
  if (names.empty()) return;
  m_factory.Add(status, item, m_comment, m_keepCheckedOut, m_master, m_progress, m_preserveTime, names,
                &CCommonCheckoutOperation::ConfirmVersionCallback, static_cast<CCommonCheckoutOperation*>(this));
  m_finishNeeded = true;
}

void CCheckinOperation::EndRun() {
  if (!m_finishNeeded) return;
  GCL_Status finished;
  m_factory.Finish(finished);
  ReportAndAsk(finished, nullptr, 0);
}

void CCheckinOperation::CheckInCheckedOut(GCL_Status& status, CFileItem& item) {
  if (item.NeedsMerge(status) && !MergeLatest(status, item)) return;
  if (!status.ok()) return;
  const std::string original_comment = WithoutCarriageReturns(item.CheckoutComment(status));
  if (ReadFailed(status)) return;
  const FLM_Activity original_activity = item.CheckoutActivity(status);
  if (ReadFailed(status)) return;

  std::string comment;
  if (m_prompt) {
    if (!AskForComment(status, item)) return;
    comment = m_comment;
  } else if (m_useCheckoutInfo) {
    comment = original_comment;
  } else {
    comment = m_comment;
    const bool directory = item.IsDirectory(status);
    if (ReadFailed(status)) return;
    if (directory) {
      const bool separate = !original_comment.empty() && original_comment.back() != '\n';
      comment = original_comment + (separate ? "\n" : "") + m_comment;
    }
  }
  if (!MoveToChosenActivity(status, item, original_activity)) return;
  m_progress.AllowShowing();
  if (IsCancelled()) return;
  // The check-out may have gone while the dialogs were up.
  GCL_Status fresh;
  int still = 0;
  const vob_dbid_t version = item.Version(fresh);
  if (!version || GCL_CapturedCall(fresh, [&] { return vob_ver_is_checked_out(item.Vob(), version, &still); }) != 0 ||
      !still) {
    Fail(status, plat::FormatPrintf(plat::LoadString(IDS_NOT_CHECKED_OUT_TO_VIEW), {item.ViewTag(status)}));
    return;
  }
  RunCheckin(status, item, comment);
}

bool CCheckinOperation::MoveToChosenActivity(GCL_Status& status, CFileItem& item, const FLM_Activity& original) {
  FLM_Activity chosen = m_useOriginalActivity || m_activity.is_null() ? original : m_activity;
  if (!chosen.is_null() && !original.is_null() && !(chosen == original)) {
    GCL_Status moving;
    const vob_dbid_t version = item.Version(moving);
    const std::string tag = item.ViewTag(moving);
    if (!version || !moving.ok() || tag.empty() ||
        GCL_CapturedCall(moving, [&] {
          return original.move_change_set_version(FLM_Version(item.Vob(), version), chosen, tag.c_str());
        }) != 0) {
      Fail(status, plat::LoadString(IDS_CANNOT_CHANGE_ACTIVITY));
      return false;
    }
  }
  m_activity = chosen;
  return true;
}

bool CCheckinOperation::AskForComment(GCL_Status& status, CFileItem& item) {
  if (IsCancelled()) return false;
  GCL_Status probe;
  if (!item.IsChangeManagedView(probe)) return ShowPlainCommentDialog(status, item);
  bool tracker = false;
  if (GCL_CapturedCall(status, [&] { return item.View(status).is_tl_enabled(&tracker); }) != 0) return false;
  if (tracker && !kelp_is_installed()) {
    // Nothing is checked in, and the entry says why: it was not processed.
    const std::string reason = plat::LoadString(IDS_TL_NOT_INSTALLED);
    m_progress.Pause();
    plat::MessageBox(&m_progress, reason, plat::AppName(), plat::mb::Ok | plat::mb::IconError);
    m_progress.Resume();
    status.push_message(GCL_String((reason + "\n").c_str()));
    m_skipCurrent = 1;
    return false;
  }
  return ShowCommentDialog(status, item, tracker);
}

bool CCheckinOperation::ShowCommentDialog(GCL_Status& status, CFileItem& item, bool tracker) {
  m_progress.Pause();
  std::unique_ptr<CCheckinActivityCommentDlg> dialog;
  if (tracker)
    dialog = std::make_unique<CCheckinTLEntityCommentDlg>(item, status, &m_progress);
  else
    dialog = std::make_unique<CCheckinActivityCommentDlg>(item, status, &m_progress);
  dialog->m_multiple = IsMultiple();
  dialog->m_useOriginal = IsMultiple() && m_useCheckoutInfo;
  dialog->m_identical = m_identical;
  dialog->m_preserveTime = m_preserveTime;
  const int answer = dialog->DoModal();
  m_progress.Resume();
  if (answer != plat::IdOk && answer != CCheckinCommentDlg::IdApplyToAll) {
    m_cancelled = 1;
    return false;
  }
  m_activity = dialog->m_activity;
  m_comment = WithoutCarriageReturns(dialog->m_comment);
  m_identical = dialog->m_identical != 0;
  m_useCheckoutInfo = m_useOriginalActivity = dialog->m_useOriginal != 0;
  m_preserveTime = dialog->m_preserveTime != 0;
  m_prompt = answer == plat::IdOk;
  return true;
}

bool CCheckinOperation::ShowPlainCommentDialog(GCL_Status& status, CFileItem& item) {
  GCL_Status read;
  const std::string original = item.CheckoutComment(read);
  if (ReadFailed(read)) {
    status.set_code(read.code());
    status.push_message(read.messages());
    return false;
  }
  GCL_Status probe;
  m_progress.Pause();
  CCheckinCommentDlg dialog(&m_progress);
  dialog.m_name = item.DisplayName();
  dialog.m_comment = dialog.m_original = original;
  dialog.m_identical = m_identical;
  dialog.m_useOriginal = IsMultiple() && m_useCheckoutInfo;
  dialog.m_preserveTime = m_preserveTime;
  dialog.m_multiple = IsMultiple();
  dialog.m_directory = item.IsDirectory(probe);
  const int answer = dialog.DoModal();
  m_progress.Resume();
  if (answer != plat::IdOk && answer != CCheckinCommentDlg::IdApplyToAll) {
    m_cancelled = 1;
    return false;
  }
  m_comment = WithoutCarriageReturns(dialog.m_comment);
  m_identical = dialog.m_identical != 0;
  m_useCheckoutInfo = m_useOriginalActivity = dialog.m_useOriginal != 0;
  m_preserveTime = dialog.m_preserveTime != 0;
  m_prompt = answer == plat::IdOk;
  return true;
}

bool CCheckinOperation::MergeLatest(GCL_Status& status, CFileItem& item) {
  m_progress.Pause();
  CConfirmMergeDialog question(&m_progress);
  question.m_name = item.DisplayName();
  const int answer = question.DoModal();
  m_progress.Resume();
  if (answer == plat::IdNo) {
    m_skipCurrent = 1;
    return false;
  }
  if (answer != plat::IdYes) {
    m_cancelled = 1;
    return false;
  }
  const vob_dbid_t version = item.Version(status);
  vob_dbid_t branch = 0, latest = 0;
  std::vector<char> latest_name(2048);
  if (!version || GCL_CapturedCall(status, [&] { return vob_ver_get_branch(item.Vob(), version, &branch); }) != 0 ||
      GCL_CapturedCall(status, [&] { return vob_branch_get_latest_ver(item.Vob(), branch, &latest); }) != 0 ||
      GCL_CapturedCall(status, [&] {
        return vob_obj_to_pname_flags(item.Vob(), latest, 0, latest_name.data(), latest_name.size());
      }) != 0) {
    if (status.ok()) status.set_code(TBS_ST_FAILURE);
    return false;
  }
  const std::string target = item.ViewPathname(status);
  if (!status.ok()) return false;
  Merge(status, latest_name.data(), target, question.m_graphical != 0);
  if (!status.ok()) return false;
  m_progress.Pause();
  const int check_in = plat::MessageBox(&m_progress, plat::LoadString(IDS_MERGED_CHECK_IN_NOW), plat::AppName(),
                                        plat::mb::YesNo | plat::mb::IconQuestion);
  m_progress.Resume();
  return check_in == plat::IdYes;
}

void CCheckinOperation::Merge(GCL_Status& status, const std::string& contributor, const std::string& target,
                              bool graphical) {
  GCL_CaptureScope capture(status);
  const stg_area_t area = stg_create_area(kMergeArea);
  if (area == STG_NULL_AREA) {
    status.set_code(TBS_ST_NO_MEMORY);  // the file cannot be merged, so it cannot be checked in
    return;
  }
  const char* contributors[1] = {contributor.c_str()};
  cmd_merge_args_s args;
  args.version = 5;
  args.area = area;
  args.contributors = contributors;
  args.contributor_count = 1;
  args.target = target.c_str();
  auto run = [&](bool as_graphical) {
    args.graphical = as_graphical;
    args.mode = as_graphical ? CMD_MERGE_MODE_GRAPHICAL : CMD_MERGE_MODE_TEXT;
    try {
      return cmd_merge(&args);
    } catch (const std::exception& e) {
      status.push_message(GCL_String((std::string(e.what()) + "\n").c_str()));
      return TBS_ST_FAILURE;
    }
  };
  int result = run(graphical);
  status.set_code(static_cast<std::uint32_t>(result));
  if (!graphical && result != TBS_ST_OK && result != TBS_ST_INTERRUPTED) {
    status.reset(0);
    result = run(true);
    status.set_code(static_cast<std::uint32_t>(result));
  }
  if (result != TBS_ST_OK && result != TBS_ST_INTERRUPTED)
    status.push_message(GCL_String((plat::LoadString(IDS_MERGE_LATEST_FAILED) + "\n").c_str()));
  stg_delete_area(area);
}

void CCheckinOperation::RunCheckin(GCL_Status& status, CFileItem& item, const std::string& comment) {
  status.reset(0);
  GCL_Status captured;
  GCL_CaptureScope capture(captured);
  int result = TBS_ST_FAILURE;
  const stg_area_t area = stg_create_area(kCheckinArea);
  if (area != STG_NULL_AREA) {
    try {
      const std::string path = item.ViewPathname(captured);
      auto** names = static_cast<const char**>(stg_alloc(area, 32 * sizeof(const char*)));
      if (names && !path.empty()) {
        names[0] = stg_strdup(area, path.c_str());
        cmd_checkin_args_s args;
        args.version = 3;
        args.area = area;
        args.pnames = names;
        args.pname_count = 1;
        args.one = 1;
        args.preserve_time = m_preserveTime;
        args.identical = m_identical;
        args.comment = comment.c_str();
        args.comment_mode = comment.empty() ? CMD_CHECKIN_COMMENT_NONE : CMD_CHECKIN_COMMENT_GIVEN;
        result = cmd_checkin(&args);
      }
    } catch (const std::exception& e) {
      captured.push_message(GCL_String((std::string(e.what()) + "\n").c_str()));
      result = TBS_ST_FAILURE;
    }
    stg_delete_area(area);
  }
  capture.End();
  if (result == TBS_ST_OK) return;
  status.set_code(static_cast<std::uint32_t>(result));
  status.push_message(captured.messages());
}

bool CCheckinOperation::ContinueAfterError(GCL_Status& status, CFileItem& item) {
  if (!CUserOptions().SuppressErrors()) ReportAndAsk(status, &item, IDS_ERROR_CHECKIN);
  return true;
}
