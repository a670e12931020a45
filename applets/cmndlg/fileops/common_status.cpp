#include "fileops/common_status.h"

#include "imsg.h"
#include "platform/dialog.h"

std::string StripStyle(std::string text) {
  text.resize(std::char_traits<char>::length(imsg_strip_style_chars(text.data())));
  return text;
}

namespace {

std::string CollectedText(const GCL_Status& status) { return status.messages().c_str(); }

// A status with a collector says what it captured and what its collector took.
std::string CollectedText(const GCL_StatusBase& status) {
  std::string text = status.messages().c_str();
  LC_TDynamicCollection<GCL_String, LC_CUnmanaged> collected(8);
  status.collected(collected);
  for (std::uint32_t i = 0; i < collected.Length(); ++i) text += collected[i].c_str();
  return text;
}

void ShowStatus(plat::Window* owner, const std::string& intro, bool clean, const std::string& collected) {
  if (collected.empty() && clean) return;
  const std::string text = StripStyle((intro.empty() ? std::string() : intro + "\r\n") + collected);
  plat::MessageBox(owner, text, std::string(), plat::mb::Ok | (clean ? plat::mb::IconInformation : plat::mb::IconError));
}

}  // namespace

void ShowStatusBox(plat::Window* owner, const std::string& intro, const GCL_Status& status) {
  ShowStatus(owner, intro, status.ok(), CollectedText(status));
}

void ShowStatusBox(plat::Window* owner, const std::string& intro, const GCL_StatusBase& status) {
  ShowStatus(owner, intro, status.ok(), CollectedText(status));
}

void ShowRedirectorBox(plat::Window* owner, int error, const FLM_ImsgRedirector& redirector) {
  std::string text;
  for (const auto& message : redirector.messages()) text += message;
  if (text.empty() && error == 0) return;
  plat::MessageBox(owner, StripStyle(text), std::string(),
                   plat::mb::Ok | (error != 0 ? plat::mb::IconError : plat::mb::IconInformation));
}

void ShowPlainBox(plat::Window* owner, const std::string& text) {
  plat::MessageBox(owner, text, std::string(), plat::mb::Ok);
}

void CCommonStatus::Report(plat::Window* owner) const { ShowStatusBox(owner, std::string(), *this); }

bool CCommonStatus::HasSomethingToReport() const { return !ok() || collected_kind(IMSG_WARNING); }

std::string CErrorMsgHandler::AllMessages() const {
  std::string text;
  for (const auto& message : messages()) text += message;
  return text;
}
