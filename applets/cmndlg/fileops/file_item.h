#pragma once
// One file of a run: made afresh by the per-file loop for each entry, it
// knows the file by its path, or by VOB and object id in a view.
#include <cstdint>
#include <optional>
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

  // Queries of the repository. Each runs under the status's message capture
  // and leaves the repository's status in it; an answer once found is kept.
  // The view holding the file (its tag; empty when none was found).
  const std::string& ViewTag(GCL_Status& status);
  bool IsInView(GCL_Status& status);
  // The file can be reached (always for the VOB form).
  bool Exists(GCL_Status& status);
  // The version the file selects in its view (0 when none).
  vob_dbid_t Version(GCL_Status& status);
  // The element (0 when the file is no element) and whether it is a
  // directory element.
  vob_dbid_t Element(GCL_Status& status);
  bool IsDirectory(GCL_Status& status);
  bool IsCheckedOut(GCL_Status& status);
  bool HasReservedCheckout(GCL_Status& status);
  // A checked-in copy changed by hand (never for the VOB form).
  bool IsHijacked(GCL_Status& status);

 private:
  void LoadCheckouts(GCL_Status& status);

  bool m_byVob = false;
  std::string m_path;
  vob_handle_t m_vob = 0;
  std::uint32_t m_objectId = 0;
  std::string m_viewTag;
  bool m_viewKnown = false;
  vob_dbid_t m_version = 0;
  bool m_versionKnown = false;
  vob_dbid_t m_element = 0;
  bool m_elementKnown = false;
  std::optional<bool> m_inView, m_exists, m_directory, m_checkedOut, m_reserved, m_hijacked;
};
