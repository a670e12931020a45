#include "rvcmndlg/file_operation_list.h"
#include "vob.h"

#include <vector>

#include "fileops/entry_points.h"
#include "rvcmndlg/user_options.h"

int COperationObj::Status() const {
  std::lock_guard lock(mutex_);
  return status_;
}

void COperationObj::SetStatus(int status) {
  std::lock_guard lock(mutex_);
  status_ = status;
}

std::string COperationObj::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

void COperationObj::SetMessages(std::string messages) {
  std::lock_guard lock(mutex_);
  messages_ = std::move(messages);
}

CFileOperationList::CFileOperationList() {
  const CUserOptions options;
  m_CIUseCheckoutInfo = options.UseCheckoutInfo();
  m_CIPrompt = options.PromptForCIComment();
  m_CIPreserveTime = options.CheckinPreserveTime();
  m_ATSPreserveTime = options.CheckinPreserveTime();
  m_COPrompt = options.PromptForCOComment();
  m_COReserved = options.CheckoutReserved();
  m_COUnreserved = options.CheckoutUnreserved();
  m_CONonmastered = options.CheckoutNonmastered();
  m_COPreserveTime = options.CheckoutPreserveTime();
  m_UNCOKeepFile = options.UncheckoutSaveFile();
}

CFileOperationList::~CFileOperationList() { RemoveAll(); }

int CFileOperationList::AddFile(const std::string& path, std::uint32_t flags) {
  auto* entry = new COperationObj;
  entry->m_path = path;
  entry->m_flags = flags;
  return Add(entry);
}

int CFileOperationList::AddFile(const char* path, std::uint32_t flags) {
  return AddFile(std::string(path ? path : ""), flags);
}

int CFileOperationList::AddFile(vob_handle_t vob, std::uint32_t object_id, const std::string& view_tag,
                                std::uint32_t flags) {
  auto* entry = new COperationObj;
  entry->m_vob = vob;
  entry->m_objectId = object_id;
  entry->m_viewTag = view_tag;
  entry->m_flags = flags;
  return Add(entry);
}

COperationObj* CFileOperationList::Entry(int index) const { return dynamic_cast<COperationObj*>(GetAt(index)); }

void CFileOperationList::RemoveAt(int index) {
  plat::Object* entry = GetAt(index);
  plat::ObjectArray::RemoveAt(index);
  delete entry;
}

void CFileOperationList::RemoveAll() {
  for (plat::Object* entry : items_) delete entry;
  plat::ObjectArray::RemoveAll();
}

int CFileOperationList::Diff(void*) {
  std::vector<std::string> paths;
  for (int i = 0; i < GetSize(); ++i)
    if (COperationObj* entry = Entry(i)) paths.push_back(entry->m_path);
  return rvDiffFiles(paths, m_DIFFPredecessor);
}

int CFileOperationList::Diff(const std::string& path, void* parent) {
  AddFile(path, 0);
  return Diff(parent);
}
