#include "fileops/file_item.h"

#include <array>
#include <vector>

#include "file_query.h"
#include "rvcmndlg/file_operation_list.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "gcl_string.h"
#include "platform/pathmap.h"
#include "stg.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"
#include "vob_ob.h"

namespace {

const std::string kNoText;
const FLM_Stream kNoStream;
const FLM_Project kNoProject;
const FLM_Activity kNoActivity;

}  // namespace

void CFileItem::Init(GCL_Status& status, const COperationObj& entry) {
  m_path = entry.m_path;
  m_byVob = entry.m_vob != 0;
  if (!m_byVob) return;
  m_viewTag = entry.m_viewTag;
  m_viewKnown = true;
  // Captured apart, so that a success leaves what the status held alone.
  GCL_Status made;
  int result = 0;
  {
    GCL_CaptureScope capture(made);
    result = FLM_Vob::construct_from_handle(entry.m_vob, &m_flmVob);
    if (result == 0) {
      m_vob = m_flmVob.handle();
      m_objectId = entry.m_objectId;
      result = FLM_View::construct_from_tag(entry.m_viewTag.c_str(), &m_view);
    }
  }
  if (made.message_count() > 0) status.push_message(made.messages());
  if (result == 0) return;
  status.set_code(static_cast<std::uint32_t>(result));
  m_initCode = static_cast<std::uint32_t>(result);
  m_initMessages = made.messages().c_str();
}

bool CFileItem::InitFailed(GCL_Status& status) const {
  if (m_initCode == 0) return false;
  if (status.ok()) {
    // The status was cleared since: the item's failure stands all the same.
    if (!m_initMessages.empty()) status.push_message(GCL_String(m_initMessages.c_str()));
    status.set_code(m_initCode);
  }
  return true;
}

const std::string& CFileItem::ViewTag(GCL_Status& status) {
  if (InitFailed(status) || m_viewKnown) return m_viewTag;
  std::array<char, 1024> tag{};
  if (GCL_CapturedCall(status, [&] { return vob_utl_get_view_from_path(m_path.c_str(), tag.data(), tag.size()); }) == 0) {
    m_viewTag = tag.data();
    m_viewKnown = true;
  }
  return m_viewTag;
}

std::string CFileItem::ViewPathname(GCL_Status& status) {
  if (InitFailed(status)) return {};
  if (!m_byVob) return m_path;
  std::array<char, 2048> path{};
  if (GCL_CapturedCall(status, [&] { return vob_obj_to_pname_flags(m_vob, m_objectId, 0, path.data(), path.size()); }) != 0)
    return {};
  // The element's own name: without a version extension.
  return "\\\\view\\" + m_viewTag + plat::SplitVersionExtension(path.data()).path;
}

const FLM_View& CFileItem::View(GCL_Status& status) {
  if (InitFailed(status) || !m_view.is_null()) return m_view;
  view_info_s info;
  if (GCL_CapturedCall(status, [&] { return view_get_view_info(m_path.c_str(), &info); }) != 0) return m_view;
  if (GCL_CapturedCall(status, [&] { return FLM_View::construct_from_uuid(info.uuid, &m_view); }) == 0 && !m_viewKnown) {
    m_viewTag = m_view.tag();
    m_viewKnown = true;
  }
  return m_view;
}

bool CFileItem::IsInView(GCL_Status& status) {
  if (InitFailed(status)) return false;
  if (m_byVob) return true;
  if (!m_inView) {
    int in = 0;
    if (GCL_CapturedCall(status, [&] { return ws_is_in_ws(m_path.c_str(), &in); }) == 0) m_inView = in != 0;
  }
  return m_inView.value_or(false);
}

bool CFileItem::Exists(GCL_Status& status) {
  if (InitFailed(status)) return false;
  if (m_byVob) return true;
  if (!m_exists) {
    const int result = GCL_CapturedCall(status, [&] { return unix_nt_access(m_path.c_str(), 0); });
    if (result == TBS_ST_NOT_FOUND) status.set_code(0);  // a plain "no" is an answer, not a failure
    m_exists = result == 0;
  }
  return *m_exists;
}

vob_dbid_t CFileItem::Version(GCL_Status& status) {
  if (InitFailed(status)) return 0;
  if (m_versionKnown) return m_version;
  if (m_byVob) {
    GCL_CapturedCall(status, [&] { return vob_elem_get_view_version(m_vob, m_objectId, m_viewTag.c_str(), &m_version); });
  } else {
    std::array<char, 1024> tag{};
    GCL_CapturedCall(status, [&] { return view_ws_lookup_pn(m_path.c_str(), tag.data(), tag.size(), &m_vob, &m_version); });
    if (m_version && !m_viewKnown) {
      m_viewTag = tag.data();
      m_viewKnown = true;
    }
  }
  m_versionKnown = m_version != 0;
  return m_version;
}

vob_dbid_t CFileItem::Element(GCL_Status& status) {
  if (InitFailed(status)) return 0;
  if (m_elementKnown) return m_element;
  if (m_byVob) {
    m_element = m_objectId;
  } else {
    const vob_dbid_t version = Version(status);
    if (!version) return 0;
    GCL_CapturedCall(status, [&] { return vob_ver_get_elem(m_vob, version, &m_element); });
  }
  m_elementKnown = m_element != 0;
  return m_element;
}

bool CFileItem::IsDirectory(GCL_Status& status) {
  if (!m_directory) {
    const vob_dbid_t element = Element(status);
    if (!element) return false;
    std::uint32_t mtype = VOB_MTYPE_NONE;
    if (GCL_CapturedCall(status, [&] { return vob_obj_get_mtype(m_vob, element, &mtype); }) == 0)
      m_directory = mtype == VOB_MTYPE_DIR_ELEMENT;
  }
  return m_directory.value_or(false);
}

void CFileItem::LoadCheckouts(GCL_Status& status) {
  if (InitFailed(status) || m_checkedOut) return;
  std::vector<cmd_lscheckout_entry_s> list;
  const std::string& view = ViewTag(status);
  const int directory = IsDirectory(status) ? 1 : 0;
  int result = 0;
  if (m_byVob) {
    // Known by VOB and id: ask through the view's name of the element.
    const std::string through_view = ViewPathname(status);
    if (through_view.empty()) return;
    result = GCL_CapturedCall(status, [&] { return cmd_lscheckout_get_list(through_view.c_str(), directory, &list); });
  } else {
    result = GCL_CapturedCall(status, [&] { return cmd_lscheckout_get_list(m_path.c_str(), directory, &list); });
  }
  if (result != 0) return;
  m_checkedOut = false;
  m_reserved = false;
  for (const auto& entry : list) {
    if (entry.view == view) m_checkedOut = true;
    if (entry.reserved) m_reserved = true;
  }
}

bool CFileItem::IsCheckedOut(GCL_Status& status) {
  LoadCheckouts(status);
  return m_checkedOut.value_or(false);
}

bool CFileItem::HasReservedCheckout(GCL_Status& status) {
  LoadCheckouts(status);
  return m_reserved.value_or(false);
}

bool CFileItem::IsHijacked(GCL_Status& status) {
  if (InitFailed(status) || m_byVob) return false;
  if (!m_hijacked) {
    const int result = GCL_CapturedCall(status, [&] { return cmd_resolve_ws_obj(m_path.c_str()); });
    if (result == TBS_ST_INVALID_ARG || result == TBS_ST_NOT_FOUND) status.set_code(0);  // not hijacked
    m_hijacked = result == 0;
  }
  return *m_hijacked;
}

bool CFileItem::IsChangeManagedView(GCL_Status& status) {
  if (!m_flmView) {
    const FLM_View& view = View(status);
    if (view.is_null()) return false;
    bool flm = false;
    if (GCL_CapturedCall(status, [&] { return view.is_flm_view(&flm); }) == 0) m_flmView = flm;
  }
  return m_flmView.value_or(false);
}

const FLM_Stream& CFileItem::Stream(GCL_Status& status) {
  if (!m_stream) {
    const FLM_View& view = View(status);
    if (view.is_null()) return kNoStream;
    FLM_Stream stream;
    if (GCL_CapturedCall(status, [&] { return view.stream(&stream); }) != 0) return kNoStream;
    m_stream = stream;
  }
  return *m_stream;
}

const FLM_Project& CFileItem::Project(GCL_Status& status) {
  if (!m_project) {
    const FLM_Stream& stream = Stream(status);
    if (!m_stream) return kNoProject;  // the stream was not found
    FLM_Project project;  // a view without a stream has no project
    if (!stream.is_null() && GCL_CapturedCall(status, [&] { return stream.project(&project); }) != 0) return kNoProject;
    m_project = project;
  }
  return *m_project;
}

bool CFileItem::RecordsActivity(GCL_Status& status) {
  if (!m_recordsActivity) {
    const vob_dbid_t version = Version(status);
    if (!version) return false;
    FLM_Element element, crde;
    if (GCL_CapturedCall(status, [&] { return FLM_Version(m_vob, version).element(&element); }) != 0) return false;
    if (GCL_CapturedCall(status, [&] { return element.crde(&crde); }) != 0) return false;
    m_recordsActivity = !crde.is_null();
  }
  return *m_recordsActivity;
}

const std::string& CFileItem::CheckoutComment(GCL_Status& status) {
  if (!m_checkoutComment) {
    const vob_dbid_t version = Version(status);
    if (!version) return kNoText;
    const stg_area_t area = stg_create_area(0);
    if (area == STG_NULL_AREA) {
      status.set_code(TBS_ST_NO_MEMORY);
      return kNoText;
    }
    vob_ckout_info_s info;
    if (GCL_CapturedCall(status, [&] { return vob_ver_get_ckout_info(m_vob, version, area, &info); }) == 0)
      m_checkoutComment = info.comment ? info.comment : "";
    stg_delete_area(area);
    if (!m_checkoutComment) return kNoText;
  }
  return *m_checkoutComment;
}

const FLM_Activity& CFileItem::CheckoutActivity(GCL_Status& status) {
  if (!m_activity) {
    const vob_dbid_t version = Version(status);
    if (!version) return kNoActivity;
    FLM_Activity activity;
    if (GCL_CapturedCall(status, [&] { return FLM_Version(m_vob, version).activity(&activity); }) != 0) return kNoActivity;
    m_activity = activity;
  }
  return *m_activity;
}

vob_handle_t CFileItem::VobOfFile(GCL_Status& status) {
  if (InitFailed(status)) return 0;
  if (m_vob) return m_vob;
  vob_handle_t vob = 0;
  if (GCL_CapturedCall(status, [&] { return vob_resolve_vob(m_path.c_str(), &vob); }) == 0) m_vob = vob;
  return m_vob;
}

bool CFileItem::IsReplicated(GCL_Status& status) {
  if (!m_replicated) {
    const vob_handle_t vob = VobOfFile(status);
    if (!vob) return false;
    int replicated = 0;
    if (GCL_CapturedCall(status, [&] { return vob_ob_is_replicated(vob, &replicated); }) == 0) m_replicated = replicated != 0;
  }
  return m_replicated.value_or(false);
}

bool CFileItem::IsMasteredHere(GCL_Status& status) {
  if (!m_masteredHere) {
    // Mastership is a branch's: the branch of the version the file selects.
    const vob_dbid_t version = Version(status);
    if (!version) return false;
    vob_dbid_t branch = 0, master = 0, here = 0;
    if (GCL_CapturedCall(status, [&] { return vob_ver_get_branch(m_vob, version, &branch); }) != 0) return false;
    if (GCL_CapturedCall(status, [&] { return vob_obj_get_master(m_vob, branch, &master); }) != 0) return false;
    if (GCL_CapturedCall(status, [&] { return vob_ob_get_wk_obj(m_vob, VOB_WK_OBJ_REPLICA, &here); }) != 0) return false;
    m_masteredHere = master == here;
  }
  return *m_masteredHere;
}

bool CFileItem::NeedsMerge(GCL_Status& status) {
  if (!m_needsMerge) {
    const vob_dbid_t version = Version(status);
    if (!version) return false;
    int checked_out = 0;
    if (GCL_CapturedCall(status, [&] { return vob_ver_is_checked_out(m_vob, version, &checked_out); }) != 0) return false;
    if (!checked_out) {
      m_needsMerge = false;  // nothing to merge into
      return false;
    }
    vob_dbid_t from = 0, branch = 0, latest = 0;
    if (GCL_CapturedCall(status, [&] { return vob_ver_get_pred_ver(m_vob, version, &from); }) != 0) return false;
    if (GCL_CapturedCall(status, [&] { return vob_ver_get_branch(m_vob, version, &branch); }) != 0) return false;
    if (GCL_CapturedCall(status, [&] { return vob_branch_get_latest_ver(m_vob, branch, &latest); }) != 0) return false;
    bool needs = latest != from;
    if (needs) {
      // The first merge recorded is usually the only one; when it is not
      // from the latest version, the later merges may be.
      vob_dbid_t merged = 0, cursor = 0;
      int result = GCL_CapturedCall(status, [&] { return vob_ver_find_merge(m_vob, version, &merged); });
      if (result == 0 && merged != latest) {
        do {
          result = GCL_CapturedCall(status, [&] { return vob_ver_next_merges(m_vob, version, &cursor, &merged); });
        } while (result == 0 && merged != latest);
      }
      if (result == TBS_ST_NOT_FOUND)
        status.set_code(0);  // no merge from the latest is recorded: an answer, not a failure
      else if (result != 0)
        return false;
      needs = result != 0;
    }
    m_needsMerge = needs;
  }
  return *m_needsMerge;
}
