#include "fileops/file_item.h"

#include "fileops/operation_list.h"
#include "gcl_status.h"

void CFileItem::Init(GCL_Status&, const COperationObj& entry) {
  m_path = entry.m_path;
  m_byVob = entry.m_vob != 0;
  if (!m_byVob) return;
  m_vob = entry.m_vob;
  m_objectId = entry.m_objectId;
  m_viewTag = entry.m_viewTag;
}
