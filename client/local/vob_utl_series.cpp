#include "vob_utl_series.h"

#include <string>

#include "local/calllog.h"
#include "tbs.h"

using client_local::CallLog;

int vob_utl_set_series_next_op(int first, int last) {
  CallLog::Call call("vob_utl_set_series_next_op", {std::to_string(first), std::to_string(last)});
  if (call.Failed()) return call.Status();
  return call.Return(TBS_ST_OK);
}
