#include "ntpfxmap.h"

#include <cctype>
#include <cstring>
#include <string>
#include <string_view>

#include "local/local_call.h"
#include "local/mount_state.h"
#include "local/store.h"
#include "tbs.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A name is absolute when it starts "X:\" or "\\server\share".
bool Absolute(std::string_view name) {
  if (name.size() >= 3 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' && IsSeparator(name[2]))
    return true;
  if (name.size() < 5 || !IsSeparator(name[0]) || !IsSeparator(name[1])) return false;
  const std::size_t end = name.find_first_of("\\/", 2);
  return end != std::string_view::npos && end > 2 && end + 1 < name.size();
}

}  // namespace

int ntpfxmap_register(const char* pathname) {
  return LocalCall("ntpfxmap_register", {pathname ? pathname : "(null)"}, NonNull(pathname), [&] {
    if (!Absolute(pathname)) return TBS_ST_NOT_FOUND;
    return InStore([&](Store& s) {
      Statement write(s, "INSERT INTO pfx_map (pathname, refs) VALUES (?1, 1)"
                         " ON CONFLICT (pathname) DO UPDATE SET refs = refs + 1");
      write.Bind(1, pathname).Run();
      return TBS_ST_OK;
    });
  });
}

int ntpfxmap_unregister(const char* pathname) {
  return LocalCall("ntpfxmap_unregister", {pathname ? pathname : "(null)"}, NonNull(pathname), [&] {
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_NOT_FOUND;
    return store->Command([&](Store& s) {
      Statement read(s, "SELECT refs FROM pfx_map WHERE pathname = ?1");
      read.Bind(1, pathname);
      if (!read.Step()) return TBS_ST_NOT_FOUND;
      if (read.Int(0) > 1) {
        Statement down(s, "UPDATE pfx_map SET refs = refs - 1 WHERE pathname = ?1");
        down.Bind(1, pathname).Run();
      } else {
        Statement remove(s, "DELETE FROM pfx_map WHERE pathname = ?1");
        remove.Bind(1, pathname).Run();
      }
      return TBS_ST_OK;
    });
  });
}

int ntpfxmap_convert(const char* pathname, char* out, std::size_t size) {
  return LocalCall("ntpfxmap_convert", {pathname ? pathname : "(null)"}, NonNull(pathname, out) && size != 0, [&] {
    out[0] = '\0';
    bool other_machine = false;
    const auto local = client_local::LocalLibraryName(pathname, &other_machine);
    if (!local) return TBS_ST_PNAME_CONVERSION;
    if (local->size() + 1 > size) return TBS_ST_INVALID_ARG;
    std::memcpy(out, local->c_str(), local->size() + 1);
    return TBS_ST_OK;
  });
}

namespace client_local {

std::vector<std::pair<std::string, int>> PrefixMapEntries() {
  std::vector<std::pair<std::string, int>> entries;
  if (Store* store = CurrentStore()) store->Command([&](Store& s) {
      Statement read(s, "SELECT pathname, refs FROM pfx_map ORDER BY pathname");
      while (read.Step()) entries.emplace_back(read.Text(0), static_cast<int>(read.Int(1)));
      return TBS_ST_OK;
    });
  return entries;
}

}  // namespace client_local
