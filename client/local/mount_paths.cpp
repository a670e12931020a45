// Local forms of pathnames: this machine's administrative shares.
#include <cctype>

#include "local/mount_state.h"
#include "platform/machine.h"
#include "platform/text.h"

namespace client_local {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::optional<std::string> LocalLibraryName(std::string_view name, bool* other_machine) {
  if (other_machine) *other_machine = false;
  if (name.find('\0') != std::string_view::npos) return std::nullopt;
  if (name.size() >= 3 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' &&
      IsSeparator(name[2]))
    return std::string(name);
  if (name.size() < 3 || !IsSeparator(name[0]) || !IsSeparator(name[1])) return std::nullopt;
  std::string_view rest = name.substr(2);
  std::size_t end = 0;
  while (end < rest.size() && !IsSeparator(rest[end])) ++end;
  const std::string_view server = rest.substr(0, end);
  if (server.empty()) return std::nullopt;
  if (plat::IEquals(server, "view")) return std::string(name);
  if (!plat::IEquals(server, plat::MachineHostName())) {
    if (other_machine) *other_machine = true;
    return std::nullopt;
  }
  rest.remove_prefix(end);
  if (rest.empty()) return std::nullopt;
  rest.remove_prefix(1);
  std::size_t share_end = 0;
  while (share_end < rest.size() && !IsSeparator(rest[share_end])) ++share_end;
  const std::string_view share = rest.substr(0, share_end);
  if (share.size() != 2 || !std::isalpha(static_cast<unsigned char>(share[0])) || share[1] != '$')
    return std::nullopt;
  std::string local(1, plat::AsciiUpper(share[0]));
  local += ":\\";
  rest.remove_prefix(share_end);
  while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
  local += rest;
  return local;
}

}  // namespace client_local
