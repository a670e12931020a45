#include "poolmap.h"

#include <string_view>

#include "local/local_call.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

namespace {

int Crack(std::string_view text, std::vector<poolmap_pool_t>& pools) {
  while (!text.empty()) {
    const std::size_t bar = text.find('|');
    const std::string_view map = text.substr(0, bar);
    text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
    if (map.empty()) continue;
    const std::size_t colon = map.find(':');
    if (colon == 0 || colon == std::string_view::npos || colon + 1 == map.size()) return TBS_ST_INVALID_ARG;
    pools.push_back(poolmap_pool_t{std::string(map), std::string(map.substr(colon + 1))});
  }
  return TBS_ST_OK;
}

}  // namespace

int poolmap_crack_mapstring(const char* mapstring, std::vector<poolmap_pool_t>* pools) {
  return LocalCall("poolmap_crack_mapstring", {mapstring ? mapstring : "(null)"}, NonNull(mapstring, pools), [&] {
    std::vector<poolmap_pool_t> result;
    if (int status = Crack(mapstring, result)) return status;
    *pools = std::move(result);
    return TBS_ST_OK;
  });
}

int poolmap_crack_mntopts(const char* options, std::vector<poolmap_pool_t>* pools) {
  return LocalCall("poolmap_crack_mntopts", {options ? options : "(null)"}, NonNull(options, pools), [&] {
    std::vector<poolmap_pool_t> result;
    std::string_view rest(options);
    constexpr std::string_view kOption = "poolmap=";
    while (!rest.empty()) {
      const std::size_t comma = rest.find(',');
      const std::string_view token = rest.substr(0, comma);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
      if (token.substr(0, kOption.size()) != kOption) continue;
      if (int status = Crack(token.substr(kOption.size()), result)) return status;
    }
    *pools = std::move(result);
    return TBS_ST_OK;
  });
}
