#include "vob_utl_series.h"

#include <string>

#include "local/calllog.h"
#include "local/local_call.h"
#include "tbs.h"

using client_local::CallLog;
using client_local::LocalCall;

int vob_utl_set_series_next_op(int first, int last) {
  // Made once per file of every run: its arguments are built only for a log.
  std::vector<std::string> args;
  if (CallLog::Watching()) args = {std::to_string(first), std::to_string(last)};
  return LocalCall("vob_utl_set_series_next_op", std::move(args), true, [] { return TBS_ST_OK; });
}
