// Settings kept in the store: what the configuration service uses while a
// store is in force.
#include <optional>

#include "local/settings.h"
#include "local/store.h"
#include "tbs.h"

namespace client_local {

namespace {

class StoreSettings : public SettingsStore {
 public:
  explicit StoreSettings(Store& store) : store_(store) {}

  int GetBoolean(int knob, int level, std::optional<bool>& value) override {
    value.reset();
    return store_.Command([&](Store& s) {
      Statement read(s, "SELECT value FROM settings WHERE knob = ?1 AND level = ?2");
      read.Bind(1, knob).Bind(2, level);
      if (read.Step()) value = read.Int(0) != 0;
      return TBS_ST_OK;
    });
  }

  int SetBoolean(int knob, int level, bool value) override {
    return store_.Command([&](Store& s) {
      Statement write(s, "INSERT INTO settings (knob, level, value) VALUES (?1, ?2, ?3)"
                         " ON CONFLICT (knob, level) DO UPDATE SET value = excluded.value");
      write.Bind(1, knob).Bind(2, level).Bind(3, value ? 1 : 0).Run();
      return TBS_ST_OK;
    });
  }

  int Unset(int knob, int level) override {
    return store_.Command([&](Store& s) {
      Statement remove(s, "DELETE FROM settings WHERE knob = ?1 AND level = ?2");
      remove.Bind(1, knob).Bind(2, level).Run();
      return TBS_ST_OK;
    });
  }

 private:
  Store& store_;
};

}  // namespace

void OnStoreChanged(Store* store) {
  if (store)
    UseSettingsStore(std::make_unique<StoreSettings>(*store));
  else
    UseSettingsStore(nullptr);
}

}  // namespace client_local
