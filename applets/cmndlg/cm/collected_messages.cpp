#include "cm/collected_messages.h"

#include "flm_imsg_redirector.h"
#include "platform/dialog.h"
#include "platform/types.h"
#include "tbs.h"

std::string CollectedText(const FLM_ImsgRedirector& collected, int status) {
  std::string text;
  for (const auto& message : collected.messages()) text += (text.empty() ? "" : "\n") + message;
  return text.empty() ? tbs_strerror(status) : text;
}

void ShowCollected(plat::Window* owner, const FLM_ImsgRedirector& collected, int status) {
  plat::MessageBox(owner, CollectedText(collected, status), plat::AppName(), plat::mb::Ok);
}

void ShowFailure(plat::Window* owner, const std::string& sentence, const FLM_ImsgRedirector& collected, int status,
                 std::uint32_t icon) {
  plat::MessageBox(owner, sentence + "\n\n" + CollectedText(collected, status), plat::AppName(), plat::mb::Ok | icon);
}
