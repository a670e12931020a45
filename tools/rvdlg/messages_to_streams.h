#pragma once
// Where a command that runs the client directly shows its messages.
#include <ostream>
#include <string>

#include "commands.h"
#include "imsg.h"
#include "imsg_redirect_scope.h"

namespace rvdlg {

// While alive, the client libraries' messages go to the command's streams:
// notices and output to out, everything else to err.
class MessagesToStreams {
 public:
  explicit MessagesToStreams(Context& context) : context_(context), scope_(&MessagesToStreams::Output, this) {}

 private:
  static void Output(void* self, int kind, const char* text) {
    auto& context = static_cast<MessagesToStreams*>(self)->context_;
    std::string plain(text);
    imsg_strip_style_chars(plain.data());
    plain.resize(std::char_traits<char>::length(plain.c_str()));
    const bool normal = kind == IMSG_NOTICE || kind == IMSG_NOTICE_CONT || kind == IMSG_OUTPUT;
    (normal ? context.out : context.err) << plain << std::flush;
  }

  Context& context_;
  imsg_redirect_scope scope_;
};

}  // namespace rvdlg
