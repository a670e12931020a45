#include "viewvob/mount/mntrgy.h"

#include "ntpfxmap.h"
#include "tbs.h"
#include "viewvob/mount/mntmsg.h"

namespace rvmount {

void Entries::Clear() {
  for (rgy_entry_t entry : list_) rgy_delete_entry(entry);
  list_.clear();
}

TagCursor::~TagCursor() {
  if (cursor_) rgy_close_cursor(cursor_);
}

int TagCursor::Open(const std::string& region) {
  if (int status = rgy_open_cursor(RGY_KIND_VOB_TAG, region.c_str(), &cursor_)) {
    cursor_ = nullptr;
    PrintCallFailure("rgy_open_cursor", region, status);
    return status;
  }
  return TBS_ST_OK;
}

int DefaultRegion(std::string* region) {
  std::vector<char> buffer(1024);
  if (int status = rgy_get_default_region(buffer.data(), buffer.size())) {
    PrintCallFailure("rgy_get_default_region", status);
    return status;
  }
  *region = buffer.data();
  return TBS_ST_OK;
}

int FindTag(const TagCursor& cursor, const std::string& tag, Entries& entries, int* count) {
  constexpr int kMax = 50;
  rgy_entry_t found[kMax] = {};
  *count = 0;
  const int status = rgy_findbystring_entry(cursor.get(), RGY_KEY_TAG, tag.c_str(), kMax, found, count);
  for (int i = 0; i < *count; ++i) entries.list().push_back(found[i]);
  return status;
}

std::optional<std::string> ReadKey(rgy_entry_t entry, int key, std::size_t size, int* status) {
  std::vector<char> buffer(size);
  const int result = rgy_getstring_from_entry(entry, key, size, buffer.data());
  if (status) *status = result;
  if (result != TBS_ST_OK) return std::nullopt;
  return std::string(buffer.data());
}

bool IsPublic(rgy_entry_t entry) { return ReadKey(entry, RGY_KEY_ACCESS, kKeyBuffer) == "public"; }

std::string PoolPath(const std::string& pathname) {
  std::string path = pathname;
  if (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

int ConvertPath(const std::string& pathname, std::string* local) {
  std::vector<char> buffer(pathname.size() + 4096);
  const int status = ntpfxmap_convert(pathname.c_str(), buffer.data(), buffer.size());
  if (status == TBS_ST_OK) *local = buffer.data();
  return status;
}

Registrations::~Registrations() {
  for (auto path = paths_.rbegin(); path != paths_.rend(); ++path) ntpfxmap_unregister(path->c_str());
}

int Registrations::Register(const std::string& pathname) {
  const int status = ntpfxmap_register(pathname.c_str());
  if (status == TBS_ST_OK) paths_.push_back(pathname);
  return status;
}

}  // namespace rvmount
