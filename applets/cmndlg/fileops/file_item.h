#pragma once
// One file of a run: made afresh by the per-file loop for each entry, it
// knows the file by its path, or by VOB and object id in a view.
#include <cstdint>
#include <string>

#include "vob.h"

class COperationObj;
class GCL_Status;

class CFileItem {
 public:
  CFileItem() = default;
  // Path form when the entry has no VOB, VOB form otherwise; the status
  // receives the first failure.
  void Init(GCL_Status& status, const COperationObj& entry);

  bool IsByVob() const { return m_byVob; }
  const std::string& Path() const { return m_path; }
  // The name the user sees (the path).
  const std::string& DisplayName() const { return m_path; }
  vob_handle_t Vob() const { return m_vob; }
  std::uint32_t ObjectId() const { return m_objectId; }
  const std::string& ViewTag() const { return m_viewTag; }

 private:
  bool m_byVob = false;
  std::string m_path;
  vob_handle_t m_vob = 0;
  std::uint32_t m_objectId = 0;
  std::string m_viewTag;
};
