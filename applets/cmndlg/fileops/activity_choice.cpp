#include "fileops/activity_choice.h"

#include <string>

#include "fileops/common_status.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "platform/controls.h"

void CActivityChoice::Fill(plat::ComboBox* list, const FLM_Stream& stream, GCL_Status& status,
                           const FLM_Activity& select) {
  if (!list || stream.is_null()) return;
  list->ResetContent();
  m_activities = FLM_ActivityList();
  GCL_CapturedCall(status, [&] { return stream.activities(&m_activities); });
  bool listed = false;
  for (const auto& activity : m_activities) listed = listed || activity == select;
  if (!select.is_null() && !listed) m_activities.append(select);
  for (const auto& activity : m_activities) {
    std::string name;
    activity.name(&name);
    const int index = list->AddString(name);
    if (activity == select) list->SetCurSel(index);
  }
}

FLM_Activity CActivityChoice::Chosen(const plat::ComboBox* list) const {
  const int index = list ? list->GetCurSel() : -1;
  if (index < 0 || static_cast<std::size_t>(index) >= m_activities.length()) return {};
  return m_activities[static_cast<std::size_t>(index)];
}

FLM_Activity ActivityOfRecord(const FLM_Stream& stream, const FLM_TLEntityID& record) {
  FLM_ActivityList activities;
  if (record.is_null() || stream.activities(&activities) != 0) return {};
  for (const auto& activity : activities) {
    FLM_TLEntityID bound;
    if (activity.bound_tl_entity_id(&bound) == 0 && bound.display_name() == record.display_name()) return activity;
  }
  return {};
}

bool MakeViewActivityCurrent(plat::Window* owner, const FLM_View& view, const FLM_Activity& activity) {
  GCL_Status status;
  FLM_Activity current;
  if (GCL_CapturedCall(status, [&] { return view.current_activity(&current); }) == 0 && current == activity) return true;
  status.reset(0);
  if (GCL_CapturedCall(status, [&] { return view.set_activity(activity); }) == 0) return true;
  ShowStatusBox(owner, std::string(), status);
  return false;
}
