#include "nlbd.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "local/local_call.h"
#include "local/settings.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::SettingsStore;

namespace {

// The boolean settings the service knows, with the product's defaults.
struct Knob {
  int knob;
  bool product_default;
};

constexpr Knob kKnobs[] = {
    {NLBD_KNOB_INTEROP_TEXT_MODE, false},
    {NLBD_KNOB_CHECKIN_PRESERVE_TIME, false},
    {NLBD_KNOB_CHECKOUT_PRESERVE_TIME, false},
};

const Knob* FindKnob(int knob) {
  for (const Knob& entry : kKnobs)
    if (entry.knob == knob) return &entry;
  return nullptr;
}

bool ValidLevel(int level) {
  return level == NLBD_LEVEL_DEFAULT || level == NLBD_LEVEL_SITE || level == NLBD_LEVEL_USER;
}

class MemoryStore : public SettingsStore {
 public:
  int GetBoolean(int knob, int level, std::optional<bool>& value) override {
    auto found = values_.find({knob, level});
    value = found == values_.end() ? std::nullopt : std::optional<bool>(found->second);
    return TBS_ST_OK;
  }
  int SetBoolean(int knob, int level, bool value) override {
    values_[{knob, level}] = value;
    return TBS_ST_OK;
  }
  int Unset(int knob, int level) override {
    values_.erase({knob, level});
    return TBS_ST_OK;
  }

 private:
  std::map<std::pair<int, int>, bool> values_;
};

// The store in force; every use holds the lock.
struct Service {
  std::mutex mutex;
  std::unique_ptr<SettingsStore> store = client_local::MakeMemorySettingsStore();
};

Service& TheService() {
  static Service service;
  return service;
}

// The value at one level: the product's default at level 0, else the store's.
int ValueAt(SettingsStore& store, const Knob& knob, int level, std::optional<bool>& value) {
  if (level == NLBD_LEVEL_DEFAULT) {
    value = knob.product_default;
    return TBS_ST_OK;
  }
  return store.GetBoolean(knob.knob, level, value);
}

}  // namespace

namespace client_local {

std::unique_ptr<SettingsStore> MakeMemorySettingsStore() { return std::make_unique<MemoryStore>(); }

std::unique_ptr<SettingsStore> UseSettingsStore(std::unique_ptr<SettingsStore> store) {
  if (!store) store = MakeMemorySettingsStore();
  Service& service = TheService();
  std::lock_guard lock(service.mutex);
  std::swap(store, service.store);
  return store;
}

}  // namespace client_local

int nlbd_knob_get_boolean(int knob, int level, int* value) {
  return LocalCall("nlbd_knob_get_boolean", {std::to_string(knob), std::to_string(level)},
                   NonNull(value) && ValidLevel(level), [&] {
    *value = 0;
    const Knob* entry = FindKnob(knob);
    if (!entry) return TBS_ST_NOT_FOUND;
    Service& service = TheService();
    std::lock_guard lock(service.mutex);
    for (int at : {NLBD_LEVEL_USER, NLBD_LEVEL_SITE, NLBD_LEVEL_DEFAULT}) {
      if (at < level) break;
      std::optional<bool> found;
      if (int status = ValueAt(*service.store, *entry, at, found)) return status;
      if (found) {
        *value = *found ? 1 : 0;
        return TBS_ST_OK;
      }
    }
    return TBS_ST_NOT_FOUND;
  });
}

int nlbd_knoblet_get_boolean(int knob, int level, int* value) {
  return LocalCall("nlbd_knoblet_get_boolean", {std::to_string(knob), std::to_string(level)},
                   NonNull(value) && ValidLevel(level), [&] {
    *value = 0;
    const Knob* entry = FindKnob(knob);
    if (!entry) return TBS_ST_NOT_FOUND;
    Service& service = TheService();
    std::lock_guard lock(service.mutex);
    std::optional<bool> found;
    if (int status = ValueAt(*service.store, *entry, level, found)) return status;
    if (!found) return TBS_ST_NOT_FOUND;
    *value = *found ? 1 : 0;
    return TBS_ST_OK;
  });
}

namespace {

// Checks shared by the two changes; 0 when the change may go ahead.
int CheckChange(int knob, int level, int flags) {
  if (!ValidLevel(level) || flags != 0) return TBS_ST_INVALID_ARG;
  if (!FindKnob(knob)) return TBS_ST_NOT_FOUND;
  if (level == NLBD_LEVEL_DEFAULT) return TBS_ST_PERMISSION;
  return TBS_ST_OK;
}

}  // namespace

int nlbd_knoblet_set_boolean(int knob, int level, int flags, int value) {
  return LocalCall("nlbd_knoblet_set_boolean",
                   {std::to_string(knob), std::to_string(level), std::to_string(flags), std::to_string(value)},
                   true, [&] {
    if (int status = CheckChange(knob, level, flags)) return status;
    Service& service = TheService();
    std::lock_guard lock(service.mutex);
    return service.store->SetBoolean(knob, level, value != 0);
  });
}

int nlbd_knoblet_unset_value(int knob, int level, int flags) {
  return LocalCall("nlbd_knoblet_unset_value", {std::to_string(knob), std::to_string(level), std::to_string(flags)},
                   true, [&] {
    if (int status = CheckChange(knob, level, flags)) return status;
    Service& service = TheService();
    std::lock_guard lock(service.mutex);
    return service.store->Unset(knob, level);
  });
}
