#include "cm/hosted_controls.h"

#include "cmctls/class_ids.h"
#include "flm.h"
#include "platform/dialog.h"
#include "platform/text.h"
#include "platform/types.h"
#include "res/resource_ids.h"
#include "tbs.h"

using plat::DispCall;
using plat::DispError;
using plat::DispValue;
using namespace rvcmndlg::res;

CHostedWrapper::CHostedWrapper(const char* class_id, int name_string_id)
    : class_id_(class_id), name_string_id_(name_string_id) {}

CHostedWrapper::~CHostedWrapper() {
  if (owned_) owned_->DestroyWindow();
}

bool CHostedWrapper::Attach(plat::Dialog& dialog, int control_id) {
  owner_ = &dialog;
  auto* control = dialog.Item<plat::HostedControl>(control_id);
  control_ = control && control->IsInstalled() && plat::IEquals(control->ClassId(), class_id_) ? control : nullptr;
  return control_ != nullptr;
}

bool CHostedWrapper::CreateOver(plat::Window& placeholder, int control_id) {
  owner_ = placeholder.Parent();
  auto control = std::make_unique<plat::HostedControl>(class_id_);
  if (!control->CreateOver(placeholder, control_id)) return false;
  owned_ = std::move(control);
  control_ = owned_.get();
  return true;
}

int CHostedWrapper::Call(int dispid, DispCall call, const std::vector<DispValue>& args, DispValue* result) {
  if (!control_) {
    last_error_ = plat::FormatMessage(plat::LoadString(IDS_CONTROL_NOT_INSTALLED), {plat::LoadString(name_string_id_)});
    TellMissingOnce();
    return TBS_ST_FAILURE;
  }
  plat::DispResult r = control_->Invoke(dispid, call, args);
  last_error_ = r.message;
  switch (r.error) {
    case DispError::None:
      if (result) *result = std::move(r.value);
      return TBS_ST_OK;
    case DispError::UnknownMember:
    case DispError::BadArguments: return TBS_ST_INVALID_ARG;
    case DispError::NoControl:
    case DispError::Failed: break;
  }
  return TBS_ST_FAILURE;
}

void CHostedWrapper::TellMissingOnce() {
  if (told_) return;
  told_ = true;
  plat::MessageBox(owner_, last_error_, plat::AppName(), plat::mb::Ok | plat::mb::IconWarning);
}

namespace {

// Reads a result of the expected kind into *out.
int Read(int status, const DispValue& v, std::string* out) {
  if (status == TBS_ST_OK) *out = v.AsText();
  return status;
}
int Read(int status, const DispValue& v, bool* out) {
  if (status == TBS_ST_OK) *out = v.AsBool();
  return status;
}
int Read(int status, const DispValue& v, long* out) {
  if (status == TBS_ST_OK) *out = v.AsLong();
  return status;
}
// A member that answers a status of its own: the call's failure, else that.
int StatusOf(int status, const DispValue& v) { return status ? status : static_cast<int>(v.AsLong()); }

}  // namespace

// ---- the timeline ----

CBaselineTimeline::CBaselineTimeline() : CHostedWrapper(cmctls::kBaselineTimelineClass, IDS_CTL_TIMELINE) {}

int CBaselineTimeline::GetSelection(std::string* selector) {
  DispValue v;
  return Read(Get(1, &v), v, selector);
}
int CBaselineTimeline::SetSelection(const std::string& selector) { return Put(1, DispValue::Text(selector)); }
int CBaselineTimeline::AddBaseline(const std::string& selector) {
  return Call(2, DispCall::Method, {DispValue::Text(selector)});
}
int CBaselineTimeline::Clear() { return Call(3, DispCall::Method); }
int CBaselineTimeline::DoneAdding() { return Call(5, DispCall::Method); }
int CBaselineTimeline::Count(long* count) {
  DispValue v;
  return Read(Call(6, DispCall::Method, {}, &v), v, count);
}
int CBaselineTimeline::HasSelection(bool* selected) {
  DispValue v;
  return Read(Call(7, DispCall::Method, {}, &v), v, selected);
}

// ---- the baseline tree ----

CBaselineTree::CBaselineTree() : CHostedWrapper(cmctls::kBaselineTreeClass, IDS_CTL_BASELINE_TREE) {}

int CBaselineTree::ShowMembers(bool show) { return Put(1, DispValue::Bool(show)); }
int CBaselineTree::GetSelection(std::string* selector) {
  DispValue v;
  return Read(Get(2, &v), v, selector);
}
int CBaselineTree::AddBaseline(const std::string& selector) {
  DispValue v;
  return StatusOf(Call(4, DispCall::Method, {DispValue::Text(selector)}, &v), v);
}
int CBaselineTree::RemoveBaseline(const std::string& selector) {
  return Call(6, DispCall::Method, {DispValue::Text(selector)});
}
int CBaselineTree::ReplaceBaseline(const std::string& selector) {
  DispValue v;
  return StatusOf(Call(10, DispCall::Method, {DispValue::Text(selector)}, &v), v);
}
int CBaselineTree::IsChanged(bool* changed) {
  DispValue v;
  return Read(Call(7, DispCall::Method, {}, &v), v, changed);
}
int CBaselineTree::Count(long* count) {
  DispValue v;
  return Read(Call(14, DispCall::Method, {}, &v), v, count);
}
int CBaselineTree::LoadMembers(FLM_Baseline& composite) {
  return Call(12, DispCall::Method, {DispValue::Pointer(&composite)});
}
int CBaselineTree::LoadFoundation(FLM_Foundation& foundation, const std::string& first, const std::string& stream) {
  return Call(18, DispCall::Method, {DispValue::Pointer(&foundation), DispValue::Text(first), DispValue::Text(stream)});
}
int CBaselineTree::WriteFoundation(FLM_Foundation* foundation) {
  if (!foundation) return TBS_ST_INVALID_ARG;
  return Call(13, DispCall::Method, {DispValue::Pointer(foundation)});
}
int CBaselineTree::SetProjectVob(const std::string& tag) { return Call(21, DispCall::Method, {DispValue::Text(tag)}); }

// ---- the project tree ----

CProjectTree::CProjectTree() : CHostedWrapper(cmctls::kProjectTreeClass, IDS_CTL_PROJECT_TREE) {}

int CProjectTree::SetVob(const std::string& tag) { return Call(11, DispCall::Method, {DispValue::Text(tag)}); }
int CProjectTree::Start() { return Call(4, DispCall::Method, {DispValue::Bool(true)}); }
int CProjectTree::Load(bool* loaded) {
  DispValue v;
  return Read(Call(2, DispCall::Method, {}, &v), v, loaded);
}
int CProjectTree::ShowAllVobs(bool all) { return Call(3, DispCall::Method, {DispValue::Bool(all)}); }
int CProjectTree::ShowAllStreams(bool all) { return Call(5, DispCall::Method, {DispValue::Bool(all)}); }
int CProjectTree::AllVobsShown(bool* all) {
  DispValue v;
  return Read(Call(8, DispCall::Method, {}, &v), v, all);
}
int CProjectTree::Select(const std::string& selector, bool* found) {
  DispValue v;
  return Read(Call(6, DispCall::Method, {DispValue::Text(selector)}, &v), v, found);
}
int CProjectTree::GetSelection(std::string* selector) {
  DispValue v;
  return Read(Call(7, DispCall::Method, {}, &v), v, selector);
}
int CProjectTree::Closing() { return Call(10, DispCall::Method); }

// ---- the diagram ----

CDrawtree::CDrawtree() : CHostedWrapper(cmctls::kDrawtreeClass, IDS_CTL_DRAWTREE) {}

int CDrawtree::GetMode(short* mode) {
  DispValue v;
  long value = 0;
  const int st = Read(Get(1, &v), v, &value);
  if (st == TBS_ST_OK) *mode = static_cast<short>(value);
  return st;
}
int CDrawtree::SetMode(short mode) { return Put(1, DispValue::Long(mode)); }
int CDrawtree::Draw(bool* drawn) {
  DispValue v;
  return Read(Call(2, DispCall::Method, {}, &v), v, drawn);
}
