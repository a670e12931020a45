// Pathname utilities over the library's names; existence through the
// framework's path map.
#include "fileutl.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "local/local_call.h"
#include "platform/pathmap.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(std::string_view name) {
  return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

bool IsAbsolute(std::string_view name) {
  if (HasDrive(name)) return name.size() >= 3 && IsSeparator(name[2]);
  return name.size() >= 2 && IsSeparator(name[0]) && IsSeparator(name[1]);
}

int Deliver(const std::string& text, char* out, std::size_t size) {
  if (text.size() + 1 > size) {
    out[0] = '\0';
    return TBS_ST_INVALID_ARG;
  }
  std::memcpy(out, text.c_str(), text.size() + 1);
  return TBS_ST_OK;
}

// Root ("X:" or "\\server") and the names below it, normalised. False when
// ".." would leave the root.
bool Normalise(std::string_view absolute, std::string& result) {
  std::string root;
  std::string_view rest;
  if (HasDrive(absolute)) {
    root = std::string(1, absolute[0]) + ":";
    rest = absolute.substr(2);
  } else {
    // "\\server\share...": the server is part of the root.
    std::string_view after = absolute.substr(2);
    std::size_t end = 0;
    while (end < after.size() && !IsSeparator(after[end])) ++end;
    if (end == 0) return false;  // "\\" without a server
    root = "\\\\" + std::string(after.substr(0, end));
    rest = after.substr(end);
  }
  std::vector<std::string_view> names;
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string_view name = rest.substr(0, end);
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (names.empty()) return false;
      names.pop_back();
      continue;
    }
    names.push_back(name);
  }
  result = root;
  if (names.empty()) result += '\\';
  for (std::string_view name : names) {
    result += '\\';
    result += name;
  }
  return true;
}

}  // namespace

int fileutl_is_abspn(const char* pathname) { return pathname && IsAbsolute(pathname) ? 1 : 0; }

int fileutl_abspn(const char* pathname, char* out, std::size_t size) {
  return LocalCall("fileutl_abspn", {pathname ? pathname : "(null)"}, NonNull(pathname, out) && size != 0, [&] {
    std::string_view name(pathname);
    std::string absolute;
    if (IsAbsolute(name)) {
      absolute = name;
    } else {
      std::error_code error;
      auto here = std::filesystem::current_path(error);
      auto current = error ? std::nullopt : plat::FromHostPath(here);
      if (!current) {
        out[0] = '\0';
        return TBS_ST_PNAME_CONVERSION;
      }
      if (HasDrive(name)) {  // "X:rest" is taken from the root of X:
        absolute = std::string(name.substr(0, 2)) + "\\" + std::string(name.substr(2));
      } else if (!name.empty() && IsSeparator(name[0])) {
        std::string drive_root =
            HasDrive(*current) ? current->substr(0, 2) : current->substr(0, current->find('\\', 2));
        absolute = drive_root + std::string(name);
      } else {
        absolute = *current + "\\" + std::string(name);
      }
    }
    std::string result;
    if (!Normalise(absolute, result)) {
      out[0] = '\0';
      return TBS_ST_PNAME_CONVERSION;
    }
    return Deliver(result, out, size);
  });
}

int fileutl_strip_leaf(const char* pathname, char* out, std::size_t size) {
  if (!pathname || !out || size == 0) return TBS_ST_INVALID_ARG;
  std::string_view name(pathname);
  std::size_t last = name.find_last_of("\\/");
  std::string result;
  if (last == std::string_view::npos) {
    result = HasDrive(name) ? std::string(name.substr(0, 2)) : ".";
  } else if (last == 2 && HasDrive(name)) {
    result = std::string(name.substr(0, 3));  // "C:\file" -> "C:\"
  } else if (last == 0) {
    result = std::string(name.substr(0, 1));  // "\file" -> "\"
  } else {
    result = std::string(name.substr(0, last));
  }
  return Deliver(result, out, size);
}

int fileutl_path_locate(const char* name, const char* search_path, char* out, std::size_t size) {
  return LocalCall("fileutl_path_locate", {name ? name : "(null)", search_path ? search_path : "(null)"},
                   NonNull(name, search_path, out) && *name && size != 0, [&] {
    auto exists = [](const std::string& candidate) {
      auto host = plat::ToHostPath(candidate);
      std::error_code error;
      return host && std::filesystem::exists(*host, error);
    };
    if (IsAbsolute(name)) {
      if (exists(name)) return Deliver(name, out, size);
      out[0] = '\0';
      return TBS_ST_NOT_FOUND;
    }
    std::string_view rest(search_path);
    while (!rest.empty()) {
      std::size_t end = rest.find(';');
      std::string_view directory = rest.substr(0, end);
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
      if (directory.empty()) continue;
      std::string candidate(directory);
      if (!IsSeparator(candidate.back())) candidate += '\\';
      candidate += name;
      if (exists(candidate)) return Deliver(candidate, out, size);
    }
    out[0] = '\0';
    return TBS_ST_NOT_FOUND;
  });
}
