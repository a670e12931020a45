#pragma once
// The registry: two hives (current user, local machine) of keys holding named,
// typed values. Keys are backslash paths ("Software\\Norvane\\Strata"),
// matched without regard to ASCII case and spelt as first created. The empty
// value name is the key's default value.
//
// All keys and values are process-wide state behind one lock, so any thread
// may read and write. A RegKey remembers only its hive and path; every call
// looks the key up afresh, so a key deleted meanwhile is simply not found.
//
// Storage is in memory until Registry::UseDirectory, which loads user.reg and
// machine.reg from a configuration directory and writes a hive back on every
// change (see hive_file.cpp for the file format).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace plat {

enum class Hive { CurrentUser, LocalMachine };

// Value types, numbered as on the desktop.
inline constexpr std::uint32_t kRegString = 1;  // text plus a terminating NUL
inline constexpr std::uint32_t kRegBinary = 3;  // any bytes
inline constexpr std::uint32_t kRegDword = 4;   // 4 bytes, little-endian

enum class RegistryStatus {
  kOk,
  kNotFound,         // no such key or value
  kInvalidArgument,  // a malformed key path, or an operation on an empty RegKey
  kHasSubkeys,       // DeleteKey on a key that still has subkeys
  kIoError,          // the hive file could not be read or written
  kCorruptHive,      // the hive file did not load; the hive is read-only
};

// A status and, when not ok, a sentence saying what went wrong.
struct RegStatus {
  RegistryStatus status = RegistryStatus::kOk;
  std::string message;

  bool ok() const { return status == RegistryStatus::kOk; }
  explicit operator bool() const { return ok(); }
};

// Either a value or the status saying why there is none.
template <class T>
class RegResult : public Result<T, RegStatus> {
 public:
  using Result<T, RegStatus>::Result;
  RegistryStatus status() const { return this->ok() ? RegistryStatus::kOk : this->error().status; }
  std::string message() const { return this->ok() ? std::string() : this->error().message; }
};

struct RegValue {
  std::uint32_t type = kRegBinary;
  std::vector<std::uint8_t> bytes;

  bool operator==(const RegValue&) const = default;
};

// An open key. Movable, not copyable; a moved-from key is empty and every
// call on it fails with kInvalidArgument.
class RegKey {
 public:
  RegKey() = default;
  RegKey(RegKey&& other) noexcept;
  RegKey& operator=(RegKey&& other) noexcept;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() = default;

  // Opens an existing key; the empty path is the hive's root.
  static RegResult<RegKey> Open(Hive hive, std::string_view path);
  // Opens a key, creating it and any missing parents.
  static RegResult<RegKey> Create(Hive hive, std::string_view path);
  // Opens or creates a key below this one.
  RegResult<RegKey> OpenSubkey(std::string_view relative_path) const;
  RegResult<RegKey> CreateSubkey(std::string_view relative_path) const;

  bool IsOpen() const { return open_; }
  Hive GetHive() const { return hive_; }
  // The path as spelt when the key was opened.
  const std::string& Path() const { return path_; }

  std::optional<RegValue> QueryValue(std::string_view name) const;
  // Nullopt when the value is missing or is not a 4-byte kRegDword.
  std::optional<std::uint32_t> QueryDword(std::string_view name) const;
  // Nullopt when the value is missing or not a kRegString. The text ends at
  // the first NUL or at the end of the bytes, whichever comes first.
  std::optional<std::string> QueryString(std::string_view name) const;

  RegStatus SetValue(std::string_view name, const RegValue& value);
  RegStatus SetDword(std::string_view name, std::uint32_t value);
  RegStatus SetString(std::string_view name, std::string_view text);
  RegStatus SetBinary(std::string_view name, const std::vector<std::uint8_t>& bytes);
  RegStatus DeleteValue(std::string_view name);

  // Names of the direct subkeys, sorted without regard to case.
  std::vector<std::string> EnumSubkeys() const;
  // Names of the values in the order they were first set.
  std::vector<std::string> EnumValues() const;

 private:
  RegKey(Hive hive, std::string path) : hive_(hive), path_(std::move(path)), open_(true) {}

  Hive hive_ = Hive::CurrentUser;
  std::string path_;
  bool open_ = false;
};

// Deletes a key that has no subkeys (kHasSubkeys otherwise), with its values.
RegStatus DeleteKey(Hive hive, std::string_view path);
// Deletes a key with everything below it.
RegStatus DeleteKeyTree(Hive hive, std::string_view path);

// Where the hives live.
class Registry {
 public:
  // Both hives in memory and empty; nothing is written anywhere.
  static void UseMemory();
  // Loads both hives from `directory` (user.reg, machine.reg) and writes every
  // later change there. A missing directory or file is an empty hive. A file
  // that cannot be read or parsed leaves its hive empty and read-only, and the
  // file untouched; the returned status and LoadError() say which file and line.
  static RegStatus UseDirectory(const std::filesystem::path& directory);
  // The load problems of the hives in force, one line each; empty when none.
  static std::string LoadError();
  // The file a hive is stored in; empty in memory mode.
  static std::filesystem::path HiveFile(Hive hive);
};

const char* ToString(RegistryStatus status);

}  // namespace plat
