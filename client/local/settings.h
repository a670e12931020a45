#pragma once
// Where the configuration service keeps the values set at the site and user
// levels. The service checks settings and levels before it asks the store.
#include <memory>
#include <optional>

namespace client_local {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The value set at the level, if any; a status other than 0 on failure.
  virtual int GetBoolean(int knob, int level, std::optional<bool>& value) = 0;
  virtual int SetBoolean(int knob, int level, bool value) = 0;
  virtual int Unset(int knob, int level) = 0;
};

// A store in memory: what the service uses until another is put in.
std::unique_ptr<SettingsStore> MakeMemorySettingsStore();

// Puts a store in (null: a fresh memory store) and returns the one it
// replaces. Calls in progress finish with the old store first.
std::unique_ptr<SettingsStore> UseSettingsStore(std::unique_ptr<SettingsStore> store);

}  // namespace client_local
