// Status objects and their message capture.
#include "gcl_status.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <mutex>
#include <type_traits>
#include <vector>

#include "gcl_env.h"
#include "imsg.h"

static_assert(GCL_Status::kind_count == IMSG_KIND_COUNT);
static_assert(std::is_same_v<GCL_Status::OutputProc, imsg_output_proc_t>);

namespace {
// Guards the message lists of all statuses: a capture procedure may push
// from another thread while the owner reads.
std::mutex g_mutex;
// Whether this thread holds it: a message printed while it does (an
// internal error reported from inside) cannot be captured and goes to the
// standard error stream instead.
thread_local bool t_holding = false;

class MessagesLock {
 public:
  MessagesLock() : lock_(g_mutex) { t_holding = true; }
  ~MessagesLock() { t_holding = false; }
  MessagesLock(const MessagesLock&) = delete;
  MessagesLock& operator=(const MessagesLock&) = delete;

 private:
  std::lock_guard<std::mutex> lock_;
};
}  // namespace

GCL_String GCL_ErrMsgStack::joined() const {
  std::vector<const GCL_String*> from_top;
  std::uint64_t total = 0;
  ForEach([&](const GCL_String& text) {
    from_top.push_back(&text);
    total += text.length();
  });
  GCL_String result;
  if (total > 0 && total <= GCL_StringRep::max_length) result.reserve(static_cast<std::uint32_t>(total));
  for (auto it = from_top.rbegin(); it != from_top.rend(); ++it) {
    if ((*it)->length() > GCL_StringRep::max_length - result.length()) break;  // no longer fits
    result.append(**it);
  }
  return result;
}

GCL_Status::GCL_Status(const GCL_Status& other) : code_(other.code_) {
  MessagesLock lock;
  if (other.messages_) messages_ = new GCL_ErrMsgStack(*other.messages_);
}

GCL_Status& GCL_Status::operator=(const GCL_Status& other) {
  if (this == &other) return *this;
  MessagesLock lock;
  GCL_ErrMsgStack* copy = other.messages_ ? new GCL_ErrMsgStack(*other.messages_) : nullptr;
  delete messages_;
  messages_ = copy;
  code_ = other.code_;
  return *this;
}

GCL_Status::~GCL_Status() {
  end_all_capture();
  delete messages_;
}

std::uint32_t GCL_Status::set_code(std::uint32_t code) {
  if (code == 0) reset(0);
  code_ = code;
  return code;
}

void GCL_Status::reset(std::uint32_t code) {
  code_ = code;
  GCL_ErrMsgStack* gone = nullptr;
  {
    MessagesLock lock;
    gone = messages_;
    messages_ = nullptr;
  }
  delete gone;
}

void GCL_Status::push_message(const GCL_String& text) {
  MessagesLock lock;
  if (!messages_) messages_ = new GCL_ErrMsgStack;
  messages_->Push(text);
}

GCL_String GCL_Status::messages() const {
  MessagesLock lock;
  return messages_ ? messages_->joined() : GCL_String();
}

std::uint32_t GCL_Status::message_count() const {
  MessagesLock lock;
  return messages_ ? messages_->Depth() : 0;
}

void GCL_Status::begin_capture() {
  if (depth_ == 0) {
    imsg_redirect_procs_t found;
    imsg_get_redirect_procs(&found);
    std::copy(std::begin(found.procs), std::end(found.procs), saved_procs_);
    saved_context_ = found.context;
    imsg_redirect_procs_t mine;
    for (auto& proc : mine.procs) proc = &GCL_Status::capture_proc;
    mine.context = this;
    imsg_set_redirect_procs(&mine);
  }
  ++depth_;
}

void GCL_Status::end_capture() {
  if (depth_ <= 0) return;
  if (--depth_ == 0) {
    imsg_redirect_procs_t saved;
    std::copy(std::begin(saved_procs_), std::end(saved_procs_), saved.procs);
    saved.context = saved_context_;
    imsg_set_redirect_procs(&saved);
  }
}

void GCL_Status::end_all_capture() {
  if (depth_ > 0) {
    depth_ = 1;
    end_capture();
  }
}

void GCL_Status::capture_proc(void* context, int, const char* text) {
  if (t_holding) {
    std::fputs(text, stderr);
    return;
  }
  static_cast<GCL_Status*>(context)->push_message(GCL_String(text));
  if (GCL_GetEnvFlags().status_imsg_copy) {
    std::fputs(text, stderr);
    std::fflush(stderr);
  }
}
