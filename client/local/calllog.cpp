#include "local/calllog.h"

#include <atomic>
#include <map>
#include <mutex>
#include <stdexcept>

#include "imsg.h"

namespace client_local {

namespace {

struct State {
  std::mutex mutex;
  bool recording = false;
  std::vector<CallRecord> calls;
  std::map<std::string, Failure, std::less<>> failures;
  std::map<std::string, std::string, std::less<>> throws;  // name -> the exception's text
  // Calls that have begun are numbered from the log's start; Clear starts a
  // new generation so that a call begun before it does not write into the
  // new log.
  unsigned long generation = 0;
  // recording or a failure injected; lets a call skip the lock when neither.
  std::atomic<bool> watching{false};
  void UpdateWatching() { watching.store(recording || !failures.empty() || !throws.empty(), std::memory_order_release); }
};

State& TheState() {
  static State state;
  return state;
}

}  // namespace

void CallLog::StartRecording() {
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  state.calls.clear();
  ++state.generation;
  state.recording = true;
  state.UpdateWatching();
}

void CallLog::StopRecording() {
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  state.recording = false;
  state.UpdateWatching();
}

bool CallLog::Watching() { return TheState().watching.load(std::memory_order_acquire); }

bool CallLog::Recording() {
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  return state.recording;
}

std::vector<CallRecord> CallLog::Calls() {
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  return state.calls;
}

std::vector<CallRecord> CallLog::Calls(const std::string& name) {
  std::vector<CallRecord> matching;
  for (CallRecord& call : Calls())
    if (call.name == name) matching.push_back(std::move(call));
  return matching;
}

void CallLog::Clear() {
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  state.calls.clear();
  ++state.generation;
}

bool CallLog::InjectFailure(const std::string& name, Failure failure) {
  if (name.empty() || failure.times == 0 || failure.times < -1 || failure.nth < 1) return false;
  for (const InjectedMessage& message : failure.messages)
    if (message.kind < 0 || message.kind >= IMSG_KIND_COUNT) return false;
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  state.failures[name] = std::move(failure);
  state.UpdateWatching();
  return true;
}

bool CallLog::InjectThrow(const std::string& name, const std::string& text) {
  if (name.empty() || text.empty()) return false;
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  state.throws[name] = text;
  state.UpdateWatching();
  return true;
}

void CallLog::ClearFailure(const std::string& name) {
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  state.failures.erase(name);
  state.throws.erase(name);
  state.UpdateWatching();
}

void CallLog::ClearFailures() {
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  state.failures.clear();
  state.throws.clear();
  state.UpdateWatching();
}

CallLog::Call::Call(const char* name, std::vector<std::string> args) {
  State& state = TheState();
  if (!state.watching.load(std::memory_order_acquire)) return;
  std::vector<InjectedMessage> messages;
  std::string throws;
  bool injected = false;
  {
    std::lock_guard lock(state.mutex);
    if (auto thrown = state.throws.find(std::string_view(name)); thrown != state.throws.end()) throws = thrown->second;
    auto failure = state.failures.find(std::string_view(name));
    if (failure != state.failures.end() && failure->second.nth > 1) {
      --failure->second.nth;  // a call before the one that fails runs as usual
    } else if (failure != state.failures.end()) {
      injected = true;
      messages = failure->second.messages;
      injected_status_ = failure->second.status;
      failed_ = injected_status_ != 0;
      if (failure->second.times > 0 && --failure->second.times == 0) {
        state.failures.erase(failure);
        state.UpdateWatching();
      }
    }
    if (state.recording) {
      index_ = static_cast<long>(state.calls.size());
      generation_ = state.generation;
      state.calls.push_back(CallRecord{name, std::move(args), -1, injected});
    }
  }
  // Printed outside the lock: an output procedure may itself make calls.
  for (const InjectedMessage& message : messages) imsg_print_text(message.kind, message.text.c_str());
  if (!throws.empty()) throw std::runtime_error(throws);
}

CallLog::Call::~Call() {
  if (failed_) Return(injected_status_);
}

int CallLog::Call::Return(int status) {
  if (index_ < 0) return status;
  State& state = TheState();
  std::lock_guard lock(state.mutex);
  if (generation_ == state.generation && static_cast<std::size_t>(index_) < state.calls.size())
    state.calls[static_cast<std::size_t>(index_)].status = status;
  index_ = -1;
  return status;
}

}  // namespace client_local
