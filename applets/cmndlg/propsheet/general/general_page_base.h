#pragma once
// What the General pages share: the object's name, kind, creator, creation
// time and description, the description's change bit and its apply, the
// type's sheet opened from a page, and the pages' registration rows.
#include <cstdint>
#include <string>

#include "propsheet/property_sheet.h"
#include "rvl_namedobj.h"
#include "rvl_vobobject.h"

class CRvGeneralPageBase : public CBasePropertyPage {
 public:
  // Bits of the changed-fields word.
  static constexpr std::uint32_t kDescriptionChanged = 1u << 0;
  static constexpr std::uint32_t kReservedChanged = 1u << 1;

  std::uint32_t DirtyBits() const { return m_dirty; }

 protected:
  CRvGeneralPageBase(int page_id, const char* help_topic, bool has_description = true);

  // Keeps the object when it is of the page's class (the typed copy is the
  // page's); any other object is refused.
  void KeepObject(GCL_Status& status, const RVL_VobObject* object);
  template <class Typed>
  void KeepTyped(GCL_Status& status, const GCL_HandleBase& object, Typed& member) {
    const auto* typed = dynamic_cast<const Typed*>(&object);
    KeepObject(status, typed);
    if (typed) member = *typed;
  }

  // The name the page read (the VOB pathname of a file-system object, since
  // an object named without a view has no view to name it by; a named
  // object's name), then the kind.
  void FetchNameAndKind(GCL_Status& status, const GCL_String& name);
  // The creation event: user.group, time and comment.
  void FetchEvent(GCL_Status& status);

  void DoDataExchange(plat::DataExchange& dx) override;
  bool OnSetActive() override;
  bool OnCommand(int id, int code) override;
  // Applies the description when changed; false (after the box) when the
  // repository refused it.
  bool OnApply() override;
  // The description part of OnApply: the status of the write, or ok when
  // nothing was pending. Called under the client lock.
  void ApplyDescription(GCL_Status& status);
  // Ends an Apply: the box for a failure, else the platform's answer.
  bool FinishApply(const GCL_Status& status);

  // The element's or branch's type and its name; the page then offers the
  // type's sheet from its context menu.
  void KeepType(GCL_Status& status, const RVL_NamedObj& type);
  // OnTypeProperties: the type's own sheet on a new thread, titled by its name.
  void OpenTypeProperties();
  // The "TypeName" pop-up of the context menu (a right click anywhere on the page).
  bool OnContextMenu() override;
  plat::LResult OnNotify(plat::NotifyHeader& header) override;

  std::string m_name, m_kind, m_created_by, m_created_on, m_description;
  std::uint32_t m_dirty = 0;
  std::string m_type_name;

 private:
  RVL_NamedObj m_type;
  bool m_has_type = false;
  const char* m_topic;
  bool m_has_description;
  RVL_VobObject m_object;
};

namespace rvcmndlg {

// register_with_base of a page class: its predicate and its factory.
template <class Page>
void RegisterPageClass() {
  CRvPropertyBase::register_page_subclass({&Page::is_appropriate, &Page::construct});
}

// A related object's own sheet (a type, the other end of a hyperlink) on a
// new thread, titled by its name; 742 when it cannot be shown.
void OpenRelatedSheet(const GCL_HandleBase& object, const std::string& name);

// The registration rows of the General pages (their place in the table is
// page_registration.cpp's).
void RegisterGeneralBranchPage();
void RegisterGeneralCheckoutPage();
void RegisterGeneralDerivedObjPage();
void RegisterGeneralElementPage();
void RegisterGeneralPage();
void RegisterGeneralSymlinkPage();

}  // namespace rvcmndlg
