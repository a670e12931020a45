#pragma once
// The registry and prefix-map work shared by mounting and unmounting: owned
// cursors and entries, reading fields, and the registrations one call makes.
#include <optional>
#include <string>
#include <vector>

#include "rgy.h"

namespace rvmount {

// The entries a call holds; deleted when it ends.
class Entries {
 public:
  Entries() = default;
  ~Entries() { Clear(); }
  Entries(const Entries&) = delete;
  Entries& operator=(const Entries&) = delete;
  void Clear();
  std::vector<rgy_entry_t>& list() { return list_; }

 private:
  std::vector<rgy_entry_t> list_;
};

// A cursor over the VOB tags of a region; closed when it ends.
class TagCursor {
 public:
  TagCursor() = default;
  ~TagCursor();
  TagCursor(const TagCursor&) = delete;
  TagCursor& operator=(const TagCursor&) = delete;
  int Open(const std::string& region);  // prints a failure
  rgy_cursor_t get() const { return cursor_; }

 private:
  rgy_cursor_t cursor_ = nullptr;
};

// The default region's name; prints a failure.
int DefaultRegion(std::string* region);

// The VOB tag entries of the region with that tag (at most 50) into entries.
int FindTag(const TagCursor& cursor, const std::string& tag, Entries& entries, int* count);

// A string field; nullopt (with *status set) when it cannot be read in a
// buffer of that size.
std::optional<std::string> ReadKey(rgy_entry_t entry, int key, std::size_t size, int* status = nullptr);
inline constexpr std::size_t kKeyBuffer = 1024;
inline constexpr std::size_t kUuidBuffer = 51;

// Whether the entry's access reads "public"; a field that cannot be read
// makes the VOB private.
bool IsPublic(rgy_entry_t entry);

// A pool pathname without one trailing "\" or "/".
std::string PoolPath(const std::string& pathname);

// The local form of a registered pathname (ntpfxmap_convert with room for
// any result).
int ConvertPath(const std::string& pathname, std::string* local);

// The prefix-map registrations one call made: undone when the call ends,
// unless kept.
class Registrations {
 public:
  Registrations() = default;
  ~Registrations();
  Registrations(const Registrations&) = delete;
  Registrations& operator=(const Registrations&) = delete;
  int Register(const std::string& pathname);
  void Keep() { paths_.clear(); }

 private:
  std::vector<std::string> paths_;
};

}  // namespace rvmount
