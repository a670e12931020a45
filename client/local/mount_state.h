#pragma once
// What the local file-system driver, prefix map and pathname forms keep, for
// tests and for the local calls themselves.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "view_mfs.h"

namespace client_local {

// The last requests the driver stand-in was handed (including failed and
// injected ones), oldest first, as copies; at most kMfsRequestsKept.
inline constexpr std::size_t kMfsRequestsKept = 256;
std::vector<view_mfs_request_t> MfsRequests();
void ClearMfsRequests();

struct MfsMount {
  std::string pathname;
  std::string vob_uuid;  // text form (the unmount's object identifier is the same bytes)
  unsigned flags = 0;
  std::string storage;   // storage pathname, absolute form
  std::string options;   // the block's values, as "name=value" items (for display)
};
// The mount table, in mount order.
std::vector<MfsMount> MfsMounts();

// The prefix map: registered pathnames with their counts, sorted.
std::vector<std::pair<std::string, int>> PrefixMapEntries();

// "\\HOST\X$\rest" for this machine's host name (any case) is "X:\rest"; a
// drive name ("X:\...") or a view name ("\\view\...") is itself. nullopt for
// anything else; *other_machine tells whether it named another machine's share.
std::optional<std::string> LocalLibraryName(std::string_view name, bool* other_machine = nullptr);

}  // namespace client_local
