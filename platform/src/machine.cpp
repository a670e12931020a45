// Machine facts: the real ones from the system, or a test's profile.
#include "platform/machine.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/pathmap.h"
#include "platform/text.h"

namespace plat {
namespace {

constexpr size_t kComputerNameLength = 15;

struct ProfileSlot {
  std::mutex mutex;
  std::optional<MachineProfile> profile;
  // The effective user's id and name as the password database last gave them.
  std::optional<std::pair<uid_t, std::string>> real_user;
};

ProfileSlot& Slot() {
  static ProfileSlot slot;
  return slot;
}

std::string HostName() {
  std::vector<char> buffer(HOST_NAME_MAX + 1, '\0');
  if (gethostname(buffer.data(), buffer.size() - 1) != 0) return {};
  return std::string(buffer.data());
}

// The password database is read once per effective user: each read opens
// /etc/passwd, and a check-out asks for the user several times a file.
std::string UserName() {
  const uid_t uid = geteuid();
  ProfileSlot& slot = Slot();
  {
    std::lock_guard lock(slot.mutex);
    if (slot.real_user && slot.real_user->first == uid) return slot.real_user->second;
  }
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name &&
      *found->pw_name) {
    std::lock_guard lock(slot.mutex);
    slot.real_user.emplace(uid, found->pw_name);
    return found->pw_name;
  }
  // No password entry (e.g. a container's made-up uid): trust the environment.
  const char* user = std::getenv("USER");
  return user ? user : "";
}

// Reads the leading "major.minor.build" numbers of a kernel release.
void ParseRelease(std::string_view release, MachineProfile& out) {
  int* fields[] = {&out.os_major, &out.os_minor, &out.os_build};
  size_t pos = 0;
  for (int* field : fields) {
    std::uint64_t value = 0;
    const size_t digits = ReadDecimal(release.substr(pos), &value, INT_MAX);
    if (digits == 0) return;
    pos += digits;
    *field = static_cast<int>(value);
    if (pos >= release.size() || release[pos] != '.') return;
    ++pos;
  }
}

}  // namespace

std::string ComputerNameFor(std::string_view host_name) {
  std::string name;
  for (char c : host_name) name += AsciiUpper(c);
  if (name.size() > kComputerNameLength) {
    size_t cut = kComputerNameLength;
    // Never cut inside a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return name;
}

MachineProfile RealMachineInfo() {
  MachineProfile facts;
  facts.host_name = HostName();
  facts.computer_name = ComputerNameFor(facts.host_name);
  facts.user_name = UserName();
  // C:, M: (all views), the drives of the path map and every drive a
  // directory or link under HOME/drives stands for.
  facts.logical_drives = (1u << ('C' - 'A')) | (1u << ('M' - 'A'));
  for (char letter : AssignedDrives()) facts.logical_drives |= 1u << (letter - 'A');
  std::error_code error;
  for (char letter = 'a'; letter <= 'z'; ++letter)
    if (std::filesystem::exists(std::filesystem::symlink_status(Home() / "drives" / std::string(1, letter), error)))
      facts.logical_drives |= 1u << (letter - 'a');
  utsname uts{};
  if (uname(&uts) == 0) {
    facts.os_name = std::string(uts.sysname) + " " + uts.release;
    ParseRelease(uts.release, facts);
  }
  return facts;
}

namespace {

// A fact from the profile in force, else from the system.
template <typename Fact, typename Real>
auto FromProfileOr(Fact fact, Real real) -> decltype(real()) {
  {
    ProfileSlot& slot = Slot();
    std::lock_guard lock(slot.mutex);
    if (slot.profile) return fact(*slot.profile);
  }
  return real();
}

}  // namespace

MachineProfile MachineInfo() {
  return FromProfileOr([](const MachineProfile& profile) { return profile; }, RealMachineInfo);
}

std::string MachineUserName() {
  return FromProfileOr([](const MachineProfile& profile) { return profile.user_name; }, UserName);
}

std::string MachineHostName() {
  return FromProfileOr([](const MachineProfile& profile) { return profile.host_name; }, HostName);
}

std::vector<std::string> MachineLoadedModules() {
  // The real process lists none: no console hosts it.
  return FromProfileOr([](const MachineProfile& profile) { return profile.loaded_modules; },
                       [] { return std::vector<std::string>{}; });
}

void SetMachineProfile(std::optional<MachineProfile> profile) {
  ProfileSlot& slot = Slot();
  std::lock_guard lock(slot.mutex);
  slot.profile = std::move(profile);
}

}  // namespace plat
