#pragma once
// While alive, every kind of message goes to one procedure with one context;
// at its end the procedures found at its start are back (last in, first out
// with every other installer).
#include "imsg.h"

class imsg_redirect_scope {
 public:
  imsg_redirect_scope(imsg_output_proc_t proc, void* context) {
    imsg_get_redirect_procs(&previous_);
    imsg_redirect_procs_t mine;
    for (auto& each : mine.procs) each = proc;
    mine.context = context;
    imsg_set_redirect_procs(&mine);
  }
  ~imsg_redirect_scope() { imsg_set_redirect_procs(&previous_); }
  imsg_redirect_scope(const imsg_redirect_scope&) = delete;
  imsg_redirect_scope& operator=(const imsg_redirect_scope&) = delete;

 private:
  imsg_redirect_procs_t previous_;
};
