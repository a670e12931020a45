// Users, groups and their identifiers from the host's account database.
#include "sysutl.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"
#include "platform/text.h"
#include "tbs.h"

namespace {

constexpr std::string_view kUserPrefix = "S-1-22-1-";
constexpr std::string_view kGroupPrefix = "S-1-22-2-";

int Deliver(const std::string& text, char* out, std::size_t size) {
  if (text.size() + 1 > size) {
    out[0] = '\0';
    return TBS_ST_INVALID_ARG;
  }
  std::memcpy(out, text.c_str(), text.size() + 1);
  return TBS_ST_OK;
}

struct User {
  std::string name, gecos, home;
  uid_t uid = 0;
  gid_t gid = 0;
};

std::optional<User> FromPasswd(const passwd* pw) {
  if (!pw) return std::nullopt;
  return User{pw->pw_name, pw->pw_gecos ? pw->pw_gecos : "", pw->pw_dir ? pw->pw_dir : "", pw->pw_uid, pw->pw_gid};
}

std::optional<User> UserByName(const char* name) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* result = nullptr;
  if (getpwnam_r(name, &entry, buffer.data(), buffer.size(), &result) != 0) return std::nullopt;
  return FromPasswd(result);
}

std::optional<User> UserById(uid_t uid) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* result = nullptr;
  if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &result) != 0) return std::nullopt;
  return FromPasswd(result);
}

struct Group {
  std::string name;
  gid_t gid = 0;
};

std::optional<Group> GroupFrom(const group* gr) {
  if (!gr) return std::nullopt;
  return Group{gr->gr_name, gr->gr_gid};
}

std::optional<Group> GroupByName(const char* name) {
  std::vector<char> buffer(65536);
  group entry{};
  group* result = nullptr;
  if (getgrnam_r(name, &entry, buffer.data(), buffer.size(), &result) != 0) return std::nullopt;
  return GroupFrom(result);
}

std::optional<Group> GroupById(gid_t gid) {
  std::vector<char> buffer(65536);
  group entry{};
  group* result = nullptr;
  if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &result) != 0) return std::nullopt;
  return GroupFrom(result);
}

// The number after the prefix: decimal digits only, no sign, in range.
std::optional<unsigned long> IdOf(const char* sid, std::string_view prefix) {
  std::string_view text(sid);
  if (text.substr(0, prefix.size()) != prefix) return std::nullopt;
  text.remove_prefix(prefix.size());
  if (text.empty() || text.size() > 10) return std::nullopt;
  const auto value = plat::ParseDecimal(text, 0xFFFFFFFEull);
  if (!value) return std::nullopt;
  return static_cast<unsigned long>(*value);
}

bool BadArgs(const char* in, char* out, std::size_t size) {
  if (out && size > 0) out[0] = '\0';
  return !in || !*in || !out || size == 0;
}

}  // namespace

int sysutl_myloginname(char* out, std::size_t size) {
  if (!out || size == 0) return TBS_ST_INVALID_ARG;
  std::string name = plat::MachineUserName();
  if (name.empty()) {
    auto user = UserById(getuid());
    if (!user) {
      out[0] = '\0';
      return TBS_ST_NOT_FOUND;
    }
    name = user->name;
  }
  return Deliver(name, out, size);
}

int sysutl_mygroupname(char* out, std::size_t size) {
  if (!out || size == 0) return TBS_ST_INVALID_ARG;
  auto group = GroupById(getgid());
  if (!group) {
    out[0] = '\0';
    return TBS_ST_NOT_FOUND;
  }
  return Deliver(group->name, out, size);
}

int sysutl_user_to_usid(const char* user, char* out, std::size_t size) {
  if (BadArgs(user, out, size)) return TBS_ST_INVALID_ARG;
  auto found = UserByName(user);
  if (!found) return TBS_ST_NOT_FOUND;
  return Deliver(std::string(kUserPrefix) + std::to_string(found->uid), out, size);
}

int sysutl_usid_to_user(const char* usid, char* out, std::size_t size) {
  if (BadArgs(usid, out, size)) return TBS_ST_INVALID_ARG;
  auto id = IdOf(usid, kUserPrefix);
  auto found = id ? UserById(static_cast<uid_t>(*id)) : std::nullopt;
  if (!found) return TBS_ST_NOT_FOUND;
  return Deliver(found->name, out, size);
}

int sysutl_group_to_gsid(const char* group, char* out, std::size_t size) {
  if (BadArgs(group, out, size)) return TBS_ST_INVALID_ARG;
  auto found = GroupByName(group);
  if (!found) return TBS_ST_NOT_FOUND;
  return Deliver(std::string(kGroupPrefix) + std::to_string(found->gid), out, size);
}

int sysutl_gsid_to_group(const char* gsid, char* out, std::size_t size) {
  if (BadArgs(gsid, out, size)) return TBS_ST_INVALID_ARG;
  auto id = IdOf(gsid, kGroupPrefix);
  auto found = id ? GroupById(static_cast<gid_t>(*id)) : std::nullopt;
  if (!found) return TBS_ST_NOT_FOUND;
  return Deliver(found->name, out, size);
}

int sysutl_user_to_gsid(const char* user, char* out, std::size_t size) {
  if (BadArgs(user, out, size)) return TBS_ST_INVALID_ARG;
  auto found = UserByName(user);
  if (!found) return TBS_ST_NOT_FOUND;
  return Deliver(std::string(kGroupPrefix) + std::to_string(found->gid), out, size);
}

int sysutl_user_to_fullname(const char* user, char* out, std::size_t size) {
  if (BadArgs(user, out, size)) return TBS_ST_INVALID_ARG;
  auto found = UserByName(user);
  if (!found) return TBS_ST_NOT_FOUND;
  return Deliver(found->gecos.substr(0, found->gecos.find(',')), out, size);
}

int sysutl_get_homedir(const char* user, char* out, std::size_t size) {
  if (BadArgs(user, out, size)) return TBS_ST_INVALID_ARG;
  auto found = UserByName(user);
  if (!found) return TBS_ST_NOT_FOUND;
  return Deliver(found->home, out, size);
}
