#pragma once
// Message routing of the client libraries.
//
// Every message the client libraries print has one of eleven kinds (0..10).
// Each kind goes to a replaceable output procedure; one context pointer is
// handed to every procedure. The routing is process-wide: whoever installs
// procedures first reads the ones in force (imsg_get_redirect_procs), and
// later restores exactly what it found (imsg_set_redirect_procs), last in,
// first out.
//
// Installing and restoring are layers. An installer reads, sets and
// restores on one thread. Setting procedures pushes a layer that has found
// what its thread last read; setting, on that thread, the procedures a layer
// found removes that layer.
// When layers of two threads end out of order, the layer that ends early is
// taken out from under the one above it, which from then on restores to what
// the removed layer had found: the procedures in force stay those of the top
// layer, and no procedure of a finished layer is ever called again.
// Restoring waits until calls of the layer's procedures running on other
// threads have returned, so its owner may be destroyed right afterwards; an
// output procedure therefore must not wait for the thread that restores it.
//
// Style markup: a message may carry style marks for a display that renders
// them. A mark is the byte IMSG_STYLE_MARK ('\x02') followed by one style
// letter (IMSG_STYLE_PLAIN 'n', IMSG_STYLE_BOLD 'b', IMSG_STYLE_PATH 'p',
// IMSG_STYLE_ERROR 'e'); a style lasts until the next mark. Any letter after
// the mark is taken as a style, so stripping removes every two-byte mark, and
// a mark at the very end is dropped too. The default procedures strip marks.
//
// imsg_print formats printf-style without trusting the format (a text from
// outside may be passed as the format: a missing argument formats as empty
// text and never reads past the arguments given).
#include <cstdio>
#include <string_view>

#include "platform/resources.h"  // plat::FormatArg, for imsg_print's arguments

// Message kinds. Kinds 5 and 7 continue a warning or error on a further line;
// 1 continues a notice.
inline constexpr int IMSG_NOTICE = 0;
inline constexpr int IMSG_NOTICE_CONT = 1;
inline constexpr int IMSG_VERBOSE = 2;
inline constexpr int IMSG_TRACE = 3;
inline constexpr int IMSG_WARNING = 4;
inline constexpr int IMSG_WARNING_CONT = 5;
inline constexpr int IMSG_ERROR = 6;
inline constexpr int IMSG_ERROR_CONT = 7;
inline constexpr int IMSG_DEBUG = 8;
inline constexpr int IMSG_OUTPUT = 9;  // a command's plain output
inline constexpr int IMSG_INTERNAL_ERROR = 10;
inline constexpr int IMSG_KIND_COUNT = 11;

inline constexpr char IMSG_STYLE_MARK = '\x02';
inline constexpr char IMSG_STYLE_PLAIN = 'n';
inline constexpr char IMSG_STYLE_BOLD = 'b';
inline constexpr char IMSG_STYLE_PATH = 'p';
inline constexpr char IMSG_STYLE_ERROR = 'e';

// An output procedure receives the routing context, the message's kind and
// its text (never null).
using imsg_output_proc_t = void (*)(void* context, int kind, const char* text);

// The eleven procedures and the context in force.
struct imsg_redirect_procs_t {
  imsg_output_proc_t procs[IMSG_KIND_COUNT] = {};
  void* context = nullptr;
};

bool operator==(const imsg_redirect_procs_t& a, const imsg_redirect_procs_t& b);

// Reads the procedures and context in force into *out. 0, or TBS_ST_INVALID_ARG for a null
// pointer.
int imsg_get_redirect_procs(imsg_redirect_procs_t* out);

// Installs procedures (a new layer), or restores what a layer found (see
// above). 0; TBS_ST_INVALID_ARG and nothing changed for a null pointer or a null procedure.
int imsg_set_redirect_procs(const imsg_redirect_procs_t* procs);

// Prints preformatted text (no format processing) with the given kind
// through the routing. 0; TBS_ST_INVALID_ARG and nothing printed for a kind outside 0..10
// or a null text.
int imsg_print_text(int kind, const char* text);

// Formats printf-style (plat::FormatPrintf) and prints through the routing.
int imsg_print_args(int kind, std::string_view format,
                    std::initializer_list<plat::FormatArg> args);

template <typename... Args>
int imsg_print(int kind, std::string_view format, const Args&... args) {
  return imsg_print_args(kind, format, {plat::FormatArg(args)...});
}

// Where the default procedures write: a stream, or null for the standard
// streams (notices and output to stdout, everything else to stderr).
// Returns the stream in force before; whoever redirects restores it.
std::FILE* imsg_redirect_output(std::FILE* stream);

// Removes the style marks from text in place and returns text (null stays
// null). The text never grows.
char* imsg_strip_style_chars(char* text);

// Whether the default procedures leave out their kind prefixes ("Warning: ",
// "Error: ", ...). Returns the previous setting (0 or 1); any non-zero
// argument suppresses. Whoever changes it restores the previous setting.
int imsg_suppress_prefix(int suppress);

// Non-zero when tracing of the facility is on at the level or above.
// Trace levels come from the environment variable RVDLG_TRACE ("facility=N"
// items separated by commas or spaces; a bare facility means level 1), read
// once, and from imsg_set_trace_level. A null or empty facility answers 0.
int imsg_should_trace(const char* facility, int level);

// Sets the trace level of a facility (0 turns it off). 0, or TBS_ST_INVALID_ARG for a null
// or empty facility or a negative level.
int imsg_set_trace_level(const char* facility, int level);
