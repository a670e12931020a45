// The pathname prefix map: any name registers and converts without fault; a
// registered name unregisters once per registration.
#include <string>

#include "fuzz_target.h"
#include "fuzz_store.h"
#include "ntpfxmap.h"
#include "tbs.h"

RV_FUZZ_TARGET(pfxmap, input) {
  rv_fuzz::UseScratchStore();
  const std::string name(input.substr(0, input.find('\0')));
  char out[1100];
  const int converted = ntpfxmap_convert(name.c_str(), out, sizeof out);
  if (converted == TBS_ST_OK) RV_FUZZ_CHECK(std::string(out).size() < sizeof out);
  char tiny[4];
  ntpfxmap_convert(name.c_str(), tiny, sizeof tiny);
  if (ntpfxmap_register(name.c_str()) != TBS_ST_OK) return;
  RV_FUZZ_CHECK(ntpfxmap_register(name.c_str()) == TBS_ST_OK);
  RV_FUZZ_CHECK(ntpfxmap_unregister(name.c_str()) == TBS_ST_OK);
  RV_FUZZ_CHECK(ntpfxmap_unregister(name.c_str()) == TBS_ST_OK);
  RV_FUZZ_CHECK(ntpfxmap_unregister(name.c_str()) == TBS_ST_NOT_FOUND);
}
