// The sheet: its pages chosen by the registry, owned and deleted last to first.
#include <string>

#include "flm.h"
#include "gcl_capture.h"
#include "gcl_handle.h"
#include "gcl_status.h"
#include "platform/resources.h"
#include "propsheet/propsheet_font.h"
#include "res/resource_ids.h"
#include "propsheet/property_sheet.h"
#include "rvl_resolve.h"
#include "rvl_vob.h"
#include "rvl_vobobject.h"
#include "tbs.h"

CRvPropertySheet::CRvPropertySheet(std::string caption, plat::Window* parent, int first_page)
    : plat::PropertySheet(std::move(caption), parent, first_page), m_font(std::make_unique<CPropertySheetFont>()) {
  SetFlags(Flags() | plat::kSheetHasHelp);
}

CRvPropertySheet::~CRvPropertySheet() {
  DestroyWindow();
  RemovePages();
}

void CRvPropertySheet::RemovePages() {
  while (!m_pages.empty()) {
    const int last = GetPageCount() - 1;
    if (last >= 0) RemovePage(last);
    m_pages.pop_back();
  }
}

void CRvPropertySheet::AddPages(const GCL_HandleBase& object) {
  for (const SubclassInfo& info : registered_subclasses()) {
    if (!info.is_appropriate || !info.construct || !info.is_appropriate(object)) continue;
    std::unique_ptr<CRvPropertyBase> made(info.construct());
    auto* page = dynamic_cast<plat::PropertyPage*>(made.get());
    if (!page) continue;  // a factory that makes no page adds nothing
    AddPage(page);
    m_pages.push_back(std::move(made));
  }
}

void CRvPropertySheet::SetObject(GCL_Status& status, const GCL_HandleBase& object) {
  status.make_ok();
  AddPages(object);
  if (m_pages.empty()) {
    status.set_code(TBS_ST_WRONG_KIND);
    status.push_message(GCL_String(plat::LoadString(rvcmndlg::res::IDS_NO_PAGES_FOR_OBJECT).c_str()));
    return;
  }
  for (auto& page : m_pages) {
    page->SetObject(status, object);
    if (!status.ok()) return;
  }
  for (int i = 0; i < GetPageCount(); ++i) GetPage(i)->SetFlags(GetPage(i)->Flags() | plat::kPageHasHelp);
}

void CRvPropertySheet::SetObject(GCL_Status& status, const GCL_HandleBase& object, const GCL_String& name) {
  SetObject(status, object);
  if (status.ok()) SetTitleByObject(status, object, name);
}

void CRvPropertySheet::SetObjectByName(GCL_Status& status, const GCL_String& name) {
  std::unique_ptr<GCL_HandleBase> object;
  {
    DiradoAccess lock;
    object = RVL_ResolveHandle(status, name);
  }
  // Pages are chosen outside the lock: a predicate may show a box.
  if (object) SetObject(status, *object, name);
}

namespace {

// The title a change-management object goes by (a folder's, project's,
// stream's, activity's or baseline's title; a component's name); empty for
// any other object, or when it cannot be read: the name then serves.
std::string ChangeManagementTitle(const GCL_HandleBase& object) {
  const auto* vob_object = dynamic_cast<const RVL_VobObject*>(&object);
  if (!vob_object) return {};
  CRvPropertyBase::DiradoAccess lock;
  GCL_Status status;
  const std::uint32_t mtype = vob_object->mtype(status);
  if (!status.ok()) return {};
  const FLM_VobObject model(vob_object->vob().handle(), vob_object->dbid());
  std::string title;
  switch (mtype) {
    case VOB_MTYPE_FOLDER:
    case VOB_MTYPE_PROJECT:
    case VOB_MTYPE_STREAM:
    case VOB_MTYPE_ACTIVITY:
    case VOB_MTYPE_BASELINE: GCL_CapturedCall(status, [&] { return model.title(&title); }); break;
    case VOB_MTYPE_COMPONENT: GCL_CapturedCall(status, [&] { return model.name(&title); }); break;
    default: break;
  }
  return status.ok() ? title : std::string();
}

}  // namespace

void CRvPropertySheet::SetTitleByObject(GCL_Status&, const GCL_HandleBase& object, const GCL_String& name) {
  std::string title = ChangeManagementTitle(object);
  if (title.empty()) title = name.c_str();
  SetTitle(plat::FormatMessage(plat::LoadString(rvcmndlg::res::IDS_SHEET_CAPTION), {title}));
}

void CRvPropertySheet::OnInitDialog() {
  plat::PropertySheet::OnInitDialog();
  if (GetPageCount() > 0 && m_font->Create(GetPage(0)->TemplateId())) m_font->Apply(*this);
}
