// Files by their library names.
#include "fileutl_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include <unistd.h>

#include "local/local_call.h"
#include "local/vob_repo.h"
#include "platform/pathmap.h"
#include "tbs.h"
#include "tbs_errno.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::repo::Text;

namespace {

std::FILE* MakeTemp(const char* name, const char* ext, char* pathname, std::size_t size, const char* mode) {
  std::FILE* file = nullptr;
  bool ran = false;
  LocalCall(name, {Text(ext)}, true, [&] {
    ran = true;
    if (!ext || !pathname || size == 0) {
      errno = EINVAL;
      return TBS_ST_INVALID_ARG;
    }
    const std::filesystem::path dir = plat::Home() / "drives" / "c" / "tmp";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
      errno = error.value();
      return tbs_errno2status(errno);
    }
    std::string suffix = ext;
    if (!suffix.empty() && suffix.front() != '.') suffix.insert(suffix.begin(), '.');
    std::string pattern = (dir / ("rvtmpXXXXXX" + suffix)).string();
    const int fd = mkstemps(pattern.data(), static_cast<int>(suffix.size()));
    if (fd < 0) return tbs_errno2status(errno);
    const auto name_text = plat::FromHostPath(pattern);
    if (!name_text || name_text->size() + 1 > size) {
      ::close(fd);
      std::filesystem::remove(pattern, error);
      errno = ENAMETOOLONG;
      return tbs_errno2status(errno);
    }
    file = fdopen(fd, mode);
    if (!file) {
      const int saved = errno;
      ::close(fd);
      std::filesystem::remove(pattern, error);
      errno = saved;
      return tbs_errno2status(errno);
    }
    std::memcpy(pathname, name_text->c_str(), name_text->size() + 1);
    return TBS_ST_OK;
  });
  if (!ran) errno = EIO;  // an injected failure
  return file;
}

}  // namespace

std::FILE* fileutl_tmpfile_ext(const char* ext, char* pathname, std::size_t size) {
  return MakeTemp("fileutl_tmpfile_ext", ext, pathname, size, "w");
}

std::FILE* fileutl_tmpfile_ext_binary(const char* ext, char* pathname, std::size_t size) {
  return MakeTemp("fileutl_tmpfile_ext_binary", ext, pathname, size, "wb");
}

int fileutl_fclose(std::FILE* file) {
  bool ran = false;
  const int status = LocalCall("fileutl_fclose", {}, NonNull(file), [&] {
    ran = true;
    const bool failed = std::fflush(file) != 0 || std::ferror(file);
    const int saved = errno;
    const bool close_failed = std::fclose(file) != 0;
    if (failed) return tbs_errno2status(saved ? saved : EIO);
    if (close_failed) return tbs_errno2status(errno ? errno : EIO);
    return TBS_ST_OK;
  });
  if (file && !ran) std::fclose(file);  // an injected failure still gives the file up
  return status;
}

int unix_nt_unlink(const char* pathname) {
  int result = -1;
  bool ran = false;
  LocalCall("unix_nt_unlink", {Text(pathname)}, true, [&] {
    ran = true;
    const auto host = pathname ? plat::ToHostPath(pathname) : std::nullopt;
    if (!host) {
      errno = EINVAL;
      return -1;
    }
    result = ::unlink(host->c_str()) == 0 ? 0 : -1;
    return result;
  });
  if (!ran) errno = EIO;  // an injected failure
  return result;
}

int fileutl_rm(const char* pathname) {
  return LocalCall("fileutl_rm", {Text(pathname)}, true, [&] {
    const auto host = pathname ? plat::ToHostPath(pathname) : std::nullopt;
    if (!host) return TBS_ST_INVALID_ARG;
    if (::unlink(host->c_str()) != 0) return tbs_errno2status(errno);
    return TBS_ST_OK;
  });
}

int fileutl_exists(const char* pathname) {
  const auto host = pathname ? plat::ToHostPath(pathname) : std::nullopt;
  if (!host) return 0;
  std::error_code error;
  return std::filesystem::exists(*host, error) ? 1 : 0;
}

int strutl_read(const char* pathname, char** text, std::size_t* length) {
  return LocalCall("strutl_read", {Text(pathname)}, NonNull(text, length), [&] {
    *text = nullptr;
    *length = 0;
    const auto host = pathname ? plat::ToHostPath(pathname) : std::nullopt;
    if (!host) return TBS_ST_INVALID_ARG;
    std::ifstream in(*host, std::ios::binary);
    if (!in) return tbs_errno2status(errno ? errno : ENOENT);
    std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return tbs_errno2status(EIO);
    char* buffer = static_cast<char*>(std::malloc(contents.size() + 1));
    if (!buffer) return TBS_ST_NO_MEMORY;
    std::memcpy(buffer, contents.data(), contents.size());
    buffer[contents.size()] = '\0';
    *text = buffer;
    *length = contents.size();
    return TBS_ST_OK;
  });
}

void stg_free(void* buffer) { std::free(buffer); }

int fileutl_pname_scoped_by_list(const char* pathname, const char* const* scopes, std::size_t count) {
  if (!pathname || (!scopes && count)) return 0;
  auto norm = [](std::string text) {
    for (char& c : text)
      if (c == '/') c = '\\';
    while (text.size() > 1 && text.back() == '\\') text.pop_back();
    return text;
  };
  const std::string name = norm(pathname);
  for (std::size_t i = 0; i < count; ++i) {
    if (!scopes[i]) continue;
    const std::string scope = norm(scopes[i]);
    if (name == scope) return 1;
    if (name.size() > scope.size() && name.compare(0, scope.size(), scope) == 0 && name[scope.size()] == '\\')
      return 1;
  }
  return 0;
}
