#include "vob_utl_series.h"

#include <string>

#include "local/calllog.h"
#include "tbs.h"

using client_local::CallLog;

int vob_utl_set_series_next_op(int first, int last) {
  // Made once per file of every run: its arguments are built only for a log.
  CallLog::Call call("vob_utl_set_series_next_op", CallLog::Watching()
                                                       ? std::vector<std::string>{std::to_string(first), std::to_string(last)}
                                                       : std::vector<std::string>{});
  if (call.Failed()) return call.Status();
  return call.Return(TBS_ST_OK);
}
