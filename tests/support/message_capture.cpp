#include "support/message_capture.h"

namespace rv_test {

MessageCapture::MessageCapture() {
  imsg_get_redirect_procs(&previous_);
  imsg_redirect_procs_t procs;
  for (auto& proc : procs.procs) proc = &MessageCapture::Output;
  procs.context = this;
  imsg_set_redirect_procs(&procs);
}

MessageCapture::~MessageCapture() { imsg_set_redirect_procs(&previous_); }

std::vector<Message> MessageCapture::Messages() {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::string MessageCapture::Text() {
  std::string text;
  for (const auto& m : Messages()) text += m.text;
  return text;
}

void MessageCapture::Clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

void MessageCapture::Output(void* context, int kind, const char* text) {
  auto* self = static_cast<MessageCapture*>(context);
  std::lock_guard lock(self->mutex_);
  self->messages_.push_back({kind, text});
}

}  // namespace rv_test
