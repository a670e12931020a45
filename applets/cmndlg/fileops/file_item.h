#pragma once
// One file of a run: made afresh by the per-file loop for each entry, it
// knows the file by its path, or by VOB and object id in a view.
#include <cstdint>
#include <optional>
#include <string>

#include "flm.h"
#include "vob.h"

class COperationObj;
class GCL_Status;

class CFileItem {
 public:
  CFileItem() = default;
  // Path form when the entry has no VOB: nothing is asked yet. VOB form
  // otherwise: the VOB and then the view of the entry's tag are made under
  // the status's message capture; a failure leaves its status and messages
  // in the status (a success never clears what the status held), and every
  // later query of the item answers nothing and leaves that failure.
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
  // The file's name through its view: the path, or for the VOB form
  // \\view\TAG and the element's pathname (empty when it cannot be found).
  std::string ViewPathname(GCL_Status& status);
  // The view holding the file (null when none was found).
  const FLM_View& View(GCL_Status& status);
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

  // Change management: whether the view works in a stream, its stream and
  // the stream's project (null for a view that is no stream view), and
  // whether the file's changes are recorded by an activity (its element
  // belongs to a component).
  bool IsChangeManagedView(GCL_Status& status);
  const FLM_Stream& Stream(GCL_Status& status);
  const FLM_Project& Project(GCL_Status& status);
  bool RecordsActivity(GCL_Status& status);
  // The comment and activity of the version the file selects, as its
  // check-out recorded them (a checked-in version has no check-out: the
  // comment read fails with TBS_ST_WRONG_KIND).
  const std::string& CheckoutComment(GCL_Status& status);
  const FLM_Activity& CheckoutActivity(GCL_Status& status);
  // The file's VOB has replicas elsewhere; the branch of the version the
  // file selects is mastered by the replica this host works in.
  bool IsReplicated(GCL_Status& status);
  bool IsMasteredHere(GCL_Status& status);
  // The file is checked out and versions were checked in on its branch after
  // the one it was checked out from, with no merge recorded from the latest
  // of them into the check-out.
  bool NeedsMerge(GCL_Status& status);

 private:
  void LoadCheckouts(GCL_Status& status);
  // True when Init failed: the status then holds that failure.
  bool InitFailed(GCL_Status& status) const;
  // The VOB of the file (0 when it cannot be found).
  vob_handle_t VobOfFile(GCL_Status& status);

  bool m_byVob = false;
  std::string m_path;
  vob_handle_t m_vob = 0;
  std::uint32_t m_objectId = 0;
  FLM_Vob m_flmVob;
  std::uint32_t m_initCode = 0;
  std::string m_initMessages;
  std::string m_viewTag;
  bool m_viewKnown = false;
  FLM_View m_view;
  vob_dbid_t m_version = 0;
  bool m_versionKnown = false;
  vob_dbid_t m_element = 0;
  bool m_elementKnown = false;
  std::optional<bool> m_inView, m_exists, m_directory, m_checkedOut, m_reserved, m_hijacked;
  std::optional<bool> m_flmView, m_recordsActivity, m_replicated, m_masteredHere, m_needsMerge;
  std::optional<FLM_Stream> m_stream;
  std::optional<FLM_Project> m_project;
  std::optional<std::string> m_checkoutComment;
  std::optional<FLM_Activity> m_activity;
};
