#pragma once
// What the activity forms of the check-out and check-in comments share: the
// list of the view's stream's activities, the activity bound to a Tracklane
// record, and making the chosen activity the view's current one.
#include "flm.h"

class GCL_Status;
namespace plat {
class ComboBox;
class Window;
}  // namespace plat

class CActivityChoice {
 public:
  // The stream's activities in the list, the one given selected (added when
  // the stream does not list it).
  void Fill(plat::ComboBox* list, const FLM_Stream& stream, GCL_Status& status, const FLM_Activity& select);
  // The activity of the list's selection (null for none).
  FLM_Activity Chosen(const plat::ComboBox* list) const;

 private:
  FLM_ActivityList m_activities;  // the list's entries, in order
};

// The stream's activity bound to the record (null when none is).
FLM_Activity ActivityOfRecord(const FLM_Stream& stream, const FLM_TLEntityID& record);

// Makes the activity the view's current one unless it is already; false,
// after the status box, when the view refuses it.
bool MakeViewActivityCurrent(plat::Window* owner, const FLM_View& view, const FLM_Activity& activity);
