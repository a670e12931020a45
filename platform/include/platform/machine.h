#pragma once
// Facts about the machine the library runs on: names, user, drives and the
// operating-system version. Tests install a profile that replaces the real
// facts as a whole, so a test sees exactly the machine it describes.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

namespace plat {

struct MachineProfile {
  std::string host_name;      // the network host name
  std::string computer_name;  // the host name upper-cased, at most 15 characters
  std::string user_name;
  std::uint32_t logical_drives = 0;  // bit 0 is A:, bit 2 is C:
  int os_major = 0;
  int os_minor = 0;
  int os_build = 0;
  std::string os_name;
  // Module names loaded in the process ("mmc.exe" when the console hosts it).
  std::vector<std::string> loaded_modules;

  bool operator==(const MachineProfile&) const = default;
};

// The profile in force, or the real facts when none is. The real drives are
// C: and every drive assigned in the path map; the OS version comes from the
// kernel release ("6.1.0-18-amd64" is 6, 1, build 0).
MachineProfile MachineInfo();
// The real facts, whatever profile is in force.
MachineProfile RealMachineInfo();
// The user's and the host's name as MachineInfo() gives them, without its
// look at every drive.
std::string MachineUserName();
std::string MachineHostName();
// The modules MachineInfo() lists, likewise without the drives.
std::vector<std::string> MachineLoadedModules();
// Installs a profile (nullopt: back to the real facts).
void SetMachineProfile(std::optional<MachineProfile> profile);

// The computer name for a host name: upper-cased ASCII, cut to 15 bytes.
std::string ComputerNameFor(std::string_view host_name);

}  // namespace plat
