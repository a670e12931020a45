// Answer files of the scripted host: any text loads or is refused with an
// error naming its line.
#include <string>

#include "fuzz_target.h"
#include "platform/hosts.h"

RV_FUZZ_TARGET(answers, input) {
  plat::ScriptedHost host;
  std::string error;
  if (!host.LoadAnswers(std::string(input), &error)) RV_FUZZ_CHECK(!error.empty());
  host.Unmet();
}
