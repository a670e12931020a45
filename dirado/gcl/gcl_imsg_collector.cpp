// Message collectors and the statuses that own one.
#include "gcl_imsg_collector.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <mutex>

#include "gcl_env.h"
#include "imsg.h"

namespace {
std::atomic<bool> g_switch{false};
// Guards every collector's messages and flags: messages may arrive from
// other threads.
std::mutex g_mutex;
// Whether this thread holds it: a message printed meanwhile (an internal
// error reported from inside) is not collected but written to stderr.
thread_local bool t_holding = false;

class CollectorLock {
 public:
  CollectorLock() : lock_(g_mutex) { t_holding = true; }
  ~CollectorLock() { t_holding = false; }
  CollectorLock(const CollectorLock&) = delete;
  CollectorLock& operator=(const CollectorLock&) = delete;

 private:
  std::lock_guard<std::mutex> lock_;
};

bool ValidKind(int kind) { return kind >= 0 && kind < IMSG_KIND_COUNT; }

// Notices, warnings and errors with their continuations.
bool Collected(int kind) {
  return kind == IMSG_NOTICE || kind == IMSG_NOTICE_CONT || kind == IMSG_WARNING || kind == IMSG_WARNING_CONT ||
         kind == IMSG_ERROR || kind == IMSG_ERROR_CONT;
}
}  // namespace

bool GCL_ImsgCollectorSwitch() { return g_switch.load(); }

bool GCL_SetImsgCollectorSwitch(bool on) { return g_switch.exchange(on); }

GCL_ImsgCollector::GCL_ImsgCollector() {
  imsg_redirect_procs_t found;
  imsg_get_redirect_procs(&found);
  std::copy(std::begin(found.procs), std::end(found.procs), saved_procs_);
  saved_context_ = found.context;
  // One context serves all kinds, so every kind comes to this collector:
  // the kinds it collects are kept, the others are handed to the procedure
  // they went to before, with its own context.
  imsg_redirect_procs_t mine;
  std::fill(std::begin(mine.procs), std::end(mine.procs), &GCL_ImsgCollector::receive);
  mine.context = this;
  std::copy(std::begin(mine.procs), std::end(mine.procs), installed_procs_);
  previous_switch_ = GCL_SetImsgCollectorSwitch(true);
  imsg_set_redirect_procs(&mine);
}

GCL_ImsgCollector::~GCL_ImsgCollector() {
  imsg_redirect_procs_t saved;
  std::copy(std::begin(saved_procs_), std::end(saved_procs_), saved.procs);
  saved.context = saved_context_;
  imsg_set_redirect_procs(&saved);
  GCL_SetImsgCollectorSwitch(previous_switch_);
  if (!GCL_GetEnvFlags().lost_output) return;
  CollectorLock lock;
  if (messages_.IsEmpty()) return;
  std::fputs("Notice: some imsg output may not have been displayed:\n", stdout);
  for (const GCL_String& message : messages_) std::printf("%s\n", message.c_str());
  std::fflush(stdout);
}

void GCL_ImsgCollector::receive(void* context, int kind, const char* text) {
  auto* self = static_cast<GCL_ImsgCollector*>(context);
  if (!ValidKind(kind)) return;
  if (Collected(kind) && t_holding) {
    std::fputs(text, stderr);
  } else if (Collected(kind)) {
    self->forward(kind, text);
  } else {
    // A kind left where it went: its saved procedure with its saved context.
    self->saved_procs_[kind](self->saved_context_, kind, text);
  }
}

void GCL_ImsgCollector::forward(int kind, const char* text) {
  if (kind == IMSG_NOTICE_CONT) kind = IMSG_NOTICE;
  if (kind == IMSG_WARNING_CONT) kind = IMSG_WARNING;
  if (kind == IMSG_ERROR_CONT) kind = IMSG_ERROR;
  add(GCL_String(text), kind);
}

bool GCL_ImsgCollector::is_empty() const {
  CollectorLock lock;
  return messages_.IsEmpty();
}

std::uint32_t GCL_ImsgCollector::message_count() const {
  CollectorLock lock;
  return messages_.Length();
}

void GCL_ImsgCollector::copy_messages(LC_TCollection<GCL_String>& out) const {
  LC_TDynamicCollection<GCL_String, LC_CUnmanaged> copy;
  {
    CollectorLock lock;
    copy = messages_;
  }
  for (const GCL_String& message : copy) out.Append(message);
}

void GCL_ImsgCollector::reset() {
  CollectorLock lock;
  messages_.MakeEmpty();
  std::fill(std::begin(kinds_), std::end(kinds_), false);
}

void GCL_ImsgCollector::add(const GCL_String& message, int kind) {
  CollectorLock lock;
  messages_.Append(message);
  if (ValidKind(kind)) kinds_[kind] = true;
}

bool GCL_ImsgCollector::has_kind(int kind) const {
  if (!ValidKind(kind)) return false;
  CollectorLock lock;
  return kinds_[kind];
}

// --- GCL_StatusBase ----------------------------------------------------------

GCL_StatusBase::GCL_StatusBase() : collector_(std::make_unique<GCL_ImsgCollector>()) {}

GCL_StatusBase::GCL_StatusBase(std::uint32_t code)
    : GCL_Status(code), collector_(std::make_unique<GCL_ImsgCollector>()) {}

GCL_StatusBase::GCL_StatusBase(const GCL_StatusBase& other)
    : GCL_Status(other), collector_(std::make_unique<GCL_ImsgCollector>()) {}

GCL_StatusBase& GCL_StatusBase::operator=(const GCL_StatusBase& other) {
  return *this = static_cast<const GCL_Status&>(other);
}

GCL_StatusBase& GCL_StatusBase::operator=(const GCL_Status& other) {
  GCL_Status::operator=(other);
  collector_->reset();
  return *this;
}

GCL_StatusBase::~GCL_StatusBase() {
  // Give back in reverse order of taking: this status's capture began after
  // its collector was made.
  end_all_capture();
  collector_.reset();
}

bool GCL_StatusBase::has_collected() const { return !collector_->is_empty(); }

void GCL_StatusBase::collected(LC_TCollection<GCL_String>& out) const { collector_->copy_messages(out); }

bool GCL_StatusBase::collected_kind(int kind) const { return collector_->has_kind(kind); }

void GCL_StatusBase::clear_collected() { collector_->reset(); }
