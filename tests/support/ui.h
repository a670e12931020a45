#pragma once
// Shared pieces of the framework's tests: a scripted host in force, and a
// loop that pumps this thread until a condition holds (bounded, never a hang).
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

#include "platform/hosts.h"
#include "platform/message.h"
#include "platform/resources.h"

namespace plat::test {

inline std::shared_ptr<ScriptedHost> UseScriptedHost(long timeout_ms = 5000) {
  auto host = std::make_shared<ScriptedHost>(timeout_ms);
  SetUiHost(host);
  return host;
}

// The scripted user of one test, in force while alive: at its end nothing
// went wrong and every window it was told of came.
class ScriptedUser {
 public:
  ScriptedUser() : host_(UseScriptedHost()) {}
  ~ScriptedUser() {
    EXPECT_TRUE(host_->Failures().empty()) << host_->TranscriptText();
    EXPECT_TRUE(host_->Unmet().empty()) << host_->TranscriptText();
    SetUiHost(nullptr);
  }
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  ScriptedHost* operator->() const { return host_.get(); }

 private:
  std::shared_ptr<ScriptedHost> host_;
};

// Pumps this thread's messages until done() or ten seconds pass.
inline bool PumpUntil(const std::function<bool()>& done) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    Message m;
    bool timed_out = false;
    if (GetMessageTimeout(m, 20, timed_out)) DispatchMessage(m);
  }
  return true;
}

inline ControlTemplate Ctl(const char* cls, int id, const char* text, std::uint32_t style = 0) {
  return ControlTemplate{cls, id, text, style};
}

// A dialog template with the given controls, registered in the application's
// resources.
inline void AddTemplate(int id, const std::string& caption, std::vector<ControlTemplate> controls) {
  DialogTemplate t;
  t.id = id;
  t.caption = caption;
  t.controls = std::move(controls);
  AppResources().AddDialog(std::move(t));
}

}  // namespace plat::test
