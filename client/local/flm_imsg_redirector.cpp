#include "flm_imsg_redirector.h"

FLM_ImsgRedirector::FLM_ImsgRedirector() {
  imsg_get_redirect_procs(&found_);
  imsg_redirect_procs_t mine;
  for (auto& proc : mine.procs) proc = &FLM_ImsgRedirector::Receive;
  mine.context = this;
  imsg_set_redirect_procs(&mine);
}

FLM_ImsgRedirector::~FLM_ImsgRedirector() { imsg_set_redirect_procs(&found_); }

void FLM_ImsgRedirector::Receive(void* context, int, const char* text) {
  auto* self = static_cast<FLM_ImsgRedirector*>(context);
  std::lock_guard lock(self->mutex_);
  self->messages_.emplace_back(text ? text : "");
}

int FLM_ImsgRedirector::count() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(messages_.size());
}

std::string FLM_ImsgRedirector::message(int index) const {
  std::lock_guard lock(mutex_);
  if (index < 0 || static_cast<std::size_t>(index) >= messages_.size()) return {};
  return messages_[static_cast<std::size_t>(index)];
}

std::vector<std::string> FLM_ImsgRedirector::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

void FLM_ImsgRedirector::clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}
