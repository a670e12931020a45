#include "propsheet/property_messages.h"

#include "gcl_status.h"
#include "platform/dialog.h"
#include "platform/resources.h"
#include "res/resource_ids.h"
#include "tbs.h"

namespace rvcmndlg {

namespace {

void ErrorBox(const std::string& text) {
  plat::MessageBox(nullptr, text, std::string(), plat::mb::Ok | plat::mb::IconError);
}

}  // namespace

std::string StatusText(const GCL_Status& status) {
  if (status.message_count() > 0) {
    std::string text = status.messages().c_str();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
  }
  return tbs_strerror(static_cast<int>(status.code()));
}

std::string CannotDisplayText(const std::string& name, const GCL_Status& status) {
  return plat::FormatMessage(plat::LoadString(res::IDS_CANNOT_DISPLAY_PROPERTIES), {name, StatusText(status)});
}

void ShowCannotDisplay(const std::string& name, const GCL_Status& status) {
  ErrorBox(CannotDisplayText(name, status));
}

void ShowPageUnavailable() { ErrorBox(plat::LoadString(res::IDS_PAGE_INIT_FAILED)); }

void ShowPageFetchFailed(const GCL_Status& status) {
  ErrorBox(plat::FormatMessage(plat::LoadString(res::IDS_PAGE_FETCH_FAILED), {StatusText(status)}));
}

void ShowStatusError(const GCL_Status& status) { ErrorBox(StatusText(status)); }

}  // namespace rvcmndlg
