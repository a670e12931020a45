// What a user types as a name: pathnames through views, extended names and
// selectors. Any text resolves or is refused; a view name read once reads
// back the same from its normal text.
#include <string>

#include "cmd_resolve.h"
#include "fuzz_store.h"
#include "fuzz_target.h"
#include "platform/pathmap.h"

RV_FUZZ_TARGET(names, input) {
  rv_fuzz::UseScratchStore();
  const std::string name(input.substr(0, input.find('\0')));
  const plat::VersionedName versioned = plat::SplitVersionExtension(name);
  RV_FUZZ_CHECK(versioned.path + versioned.extension == name);
  if (const auto view = plat::ReadViewName(name)) {
    const auto again = plat::ReadViewName(view->Text());
    RV_FUZZ_CHECK(again && again->Text() == view->Text());
  }
  plat::ToHostPath(name);
  cmd_resolve_result_s result;
  cmd_resolve_general(name.c_str(), &result);
}
