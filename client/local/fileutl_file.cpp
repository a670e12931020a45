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

#include "local/calllog.h"
#include "local/vob_repo.h"
#include "platform/pathmap.h"
#include "tbs.h"
#include "tbs_errno.h"

using client_local::CallLog;
using client_local::repo::Text;

namespace {

std::FILE* MakeTemp(const char* name, const char* ext, char* pathname, std::size_t size, const char* mode) {
  CallLog::Call call(name, {Text(ext)});
  if (call.Failed()) {
    errno = EIO;
    return nullptr;
  }
  if (!ext || !pathname || size == 0) {
    errno = EINVAL;
    return nullptr;
  }
  const std::filesystem::path dir = plat::Home() / "drives" / "c" / "tmp";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    errno = error.value();
    return nullptr;
  }
  std::string suffix = ext;
  if (!suffix.empty() && suffix.front() != '.') suffix.insert(suffix.begin(), '.');
  std::string pattern = (dir / ("rvtmpXXXXXX" + suffix)).string();
  const int fd = mkstemps(pattern.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return nullptr;
  const auto name_text = plat::FromHostPath(pattern);
  if (!name_text || name_text->size() + 1 > size) {
    ::close(fd);
    std::filesystem::remove(pattern, error);
    errno = ENAMETOOLONG;
    return nullptr;
  }
  std::FILE* file = fdopen(fd, mode);
  if (!file) {
    const int saved = errno;
    ::close(fd);
    std::filesystem::remove(pattern, error);
    errno = saved;
    return nullptr;
  }
  std::memcpy(pathname, name_text->c_str(), name_text->size() + 1);
  call.Return(0);
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
  CallLog::Call call("fileutl_fclose", {});
  if (!file) return call.Return(TBS_ST_INVALID_ARG);
  if (call.Failed()) {
    std::fclose(file);
    return call.Status();
  }
  const bool failed = std::fflush(file) != 0 || std::ferror(file);
  const int saved = errno;
  const bool close_failed = std::fclose(file) != 0;
  if (failed) return call.Return(tbs_errno2status(saved ? saved : EIO));
  if (close_failed) return call.Return(tbs_errno2status(errno ? errno : EIO));
  return call.Return(TBS_ST_OK);
}

int unix_nt_unlink(const char* pathname) {
  CallLog::Call call("unix_nt_unlink", {Text(pathname)});
  if (call.Failed()) {
    errno = EIO;
    return -1;
  }
  const auto host = pathname ? plat::ToHostPath(pathname) : std::nullopt;
  if (!host) {
    errno = EINVAL;
    return call.Return(-1);
  }
  return call.Return(::unlink(host->c_str()) == 0 ? 0 : -1);
}

int fileutl_rm(const char* pathname) {
  CallLog::Call call("fileutl_rm", {Text(pathname)});
  if (call.Failed()) return call.Status();
  const auto host = pathname ? plat::ToHostPath(pathname) : std::nullopt;
  if (!host) return call.Return(TBS_ST_INVALID_ARG);
  if (::unlink(host->c_str()) != 0) return call.Return(tbs_errno2status(errno));
  return call.Return(TBS_ST_OK);
}

int fileutl_exists(const char* pathname) {
  const auto host = pathname ? plat::ToHostPath(pathname) : std::nullopt;
  if (!host) return 0;
  std::error_code error;
  return std::filesystem::exists(*host, error) ? 1 : 0;
}

int strutl_read(const char* pathname, char** text, std::size_t* length) {
  CallLog::Call call("strutl_read", {Text(pathname)});
  if (call.Failed()) return call.Status();
  if (!text || !length) return call.Return(TBS_ST_INVALID_ARG);
  *text = nullptr;
  *length = 0;
  const auto host = pathname ? plat::ToHostPath(pathname) : std::nullopt;
  if (!host) return call.Return(TBS_ST_INVALID_ARG);
  std::ifstream in(*host, std::ios::binary);
  if (!in) return call.Return(tbs_errno2status(errno ? errno : ENOENT));
  std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return call.Return(tbs_errno2status(EIO));
  char* buffer = static_cast<char*>(std::malloc(contents.size() + 1));
  if (!buffer) return call.Return(TBS_ST_NO_MEMORY);
  std::memcpy(buffer, contents.data(), contents.size());
  buffer[contents.size()] = '\0';
  *text = buffer;
  *length = contents.size();
  return call.Return(TBS_ST_OK);
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
