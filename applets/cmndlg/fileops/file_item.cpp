#include "fileops/file_item.h"

#include <array>
#include <vector>

#include "file_query.h"
#include "fileops/operation_list.h"
#include "gcl_status.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"

namespace {

// Runs one repository call under the status's capture and leaves its status.
template <typename Call>
int Captured(GCL_Status& status, Call&& call) {
  status.begin_capture();
  const int result = call();
  status.set_code(static_cast<std::uint32_t>(result));
  status.end_capture();
  return result;
}

}  // namespace

void CFileItem::Init(GCL_Status&, const COperationObj& entry) {
  m_path = entry.m_path;
  m_byVob = entry.m_vob != 0;
  if (!m_byVob) return;
  m_vob = entry.m_vob;
  m_objectId = entry.m_objectId;
  m_viewTag = entry.m_viewTag;
  m_viewKnown = true;
}

const std::string& CFileItem::ViewTag(GCL_Status& status) {
  if (m_viewKnown) return m_viewTag;
  std::array<char, 1024> tag{};
  if (Captured(status, [&] { return vob_utl_get_view_from_path(m_path.c_str(), tag.data(), tag.size()); }) == 0) {
    m_viewTag = tag.data();
    m_viewKnown = true;
  }
  return m_viewTag;
}

bool CFileItem::IsInView(GCL_Status& status) {
  if (m_byVob) return true;
  if (!m_inView) {
    int in = 0;
    if (Captured(status, [&] { return ws_is_in_ws(m_path.c_str(), &in); }) == 0) m_inView = in != 0;
  }
  return m_inView.value_or(false);
}

bool CFileItem::Exists(GCL_Status& status) {
  if (m_byVob) return true;
  if (!m_exists) {
    const int result = Captured(status, [&] { return unix_nt_access(m_path.c_str(), 0); });
    if (result == TBS_ST_NOT_FOUND) status.set_code(0);  // a plain "no" is an answer, not a failure
    m_exists = result == 0;
  }
  return *m_exists;
}

vob_dbid_t CFileItem::Version(GCL_Status& status) {
  if (m_versionKnown) return m_version;
  if (m_byVob) {
    Captured(status, [&] { return vob_elem_get_view_version(m_vob, m_objectId, m_viewTag.c_str(), &m_version); });
  } else {
    std::array<char, 1024> tag{};
    Captured(status, [&] { return view_ws_lookup_pn(m_path.c_str(), tag.data(), tag.size(), &m_vob, &m_version); });
    if (m_version && !m_viewKnown) {
      m_viewTag = tag.data();
      m_viewKnown = true;
    }
  }
  m_versionKnown = m_version != 0;
  return m_version;
}

vob_dbid_t CFileItem::Element(GCL_Status& status) {
  if (m_elementKnown) return m_element;
  if (m_byVob) {
    m_element = m_objectId;
  } else {
    const vob_dbid_t version = Version(status);
    if (!version) return 0;
    Captured(status, [&] { return vob_ver_get_elem(m_vob, version, &m_element); });
  }
  m_elementKnown = m_element != 0;
  return m_element;
}

bool CFileItem::IsDirectory(GCL_Status& status) {
  if (!m_directory) {
    const vob_dbid_t element = Element(status);
    if (!element) return false;
    std::uint32_t mtype = VOB_MTYPE_NONE;
    if (Captured(status, [&] { return vob_obj_get_mtype(m_vob, element, &mtype); }) == 0)
      m_directory = mtype == VOB_MTYPE_DIR_ELEMENT;
  }
  return m_directory.value_or(false);
}

void CFileItem::LoadCheckouts(GCL_Status& status) {
  if (m_checkedOut) return;
  std::vector<cmd_lscheckout_entry_s> list;
  const std::string& view = ViewTag(status);
  const int directory = IsDirectory(status) ? 1 : 0;
  int result = 0;
  if (m_byVob) {
    // Known by VOB and id: ask through the view's version of the element.
    std::array<char, 2048> path{};
    result = Captured(status, [&] {
      return vob_obj_to_pname_flags(m_vob, m_objectId, 0, path.data(), path.size());
    });
    if (result == 0) {
      const std::string through_view = "\\\\view\\" + view + path.data();
      result = Captured(status, [&] { return cmd_lscheckout_get_list(through_view.c_str(), directory, &list); });
    }
  } else {
    result = Captured(status, [&] { return cmd_lscheckout_get_list(m_path.c_str(), directory, &list); });
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
  if (m_byVob) return false;
  if (!m_hijacked) {
    const int result = Captured(status, [&] { return cmd_resolve_ws_obj(m_path.c_str()); });
    if (result == TBS_ST_INVALID_ARG || result == TBS_ST_NOT_FOUND) status.set_code(0);  // not hijacked
    m_hijacked = result == 0;
  }
  return *m_hijacked;
}
