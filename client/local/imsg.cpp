// Message routing: the default procedures, the layers of installed
// procedures, trace levels.
#include "imsg.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/sync.h"
#include "tbs.h"

bool operator==(const imsg_redirect_procs_t& a, const imsg_redirect_procs_t& b) {
  return a.context == b.context && std::equal(std::begin(a.procs), std::end(a.procs), std::begin(b.procs));
}

namespace {

bool ValidKind(int kind) { return kind >= 0 && kind < IMSG_KIND_COUNT; }

// --- Default procedures ----------------------------------------------------

std::atomic<bool> g_suppress_prefix{false};

// Guards the output stream: a write in progress finishes before a redirect
// returns, so whoever redirected may close its stream once restored.
std::mutex g_output_mutex;
std::FILE* g_output = nullptr;  // null: the standard streams

const char* Prefix(int kind) {
  switch (kind) {
    case IMSG_TRACE: return "Trace: ";
    case IMSG_WARNING: return "Warning: ";
    case IMSG_ERROR: return "Error: ";
    case IMSG_DEBUG: return "Debug: ";
    case IMSG_INTERNAL_ERROR: return "Internal error: ";
    default: return "";
  }
}

bool ToStdout(int kind) {
  return kind == IMSG_NOTICE || kind == IMSG_NOTICE_CONT || kind == IMSG_VERBOSE || kind == IMSG_OUTPUT;
}

void DefaultOutput(void*, int kind, const char* text) {
  std::string line = g_suppress_prefix.load() ? std::string() : std::string(Prefix(kind));
  std::string plain(text);
  plain.resize(std::char_traits<char>::length(imsg_strip_style_chars(plain.data())));
  line += plain;
  std::lock_guard lock(g_output_mutex);
  std::FILE* stream = g_output ? g_output : (ToStdout(kind) ? stdout : stderr);
  std::fputs(line.c_str(), stream);
  std::fflush(stream);
}

imsg_redirect_procs_t DefaultProcs() {
  imsg_redirect_procs_t procs;
  std::fill(std::begin(procs.procs), std::end(procs.procs), &DefaultOutput);
  return procs;
}

// --- Layers ----------------------------------------------------------------

struct Layer {
  imsg_redirect_procs_t installed;
  imsg_redirect_procs_t found;  // in force when pushed: its owner restores this
  plat::ThreadId owner = 0;     // the thread that pushed it
  int in_flight = 0;            // calls of its procedures running now
};

struct Routing {
  std::mutex mutex;
  std::condition_variable idle;
  const imsg_redirect_procs_t base = DefaultProcs();
  std::vector<std::shared_ptr<Layer>> layers;  // bottom first

  const imsg_redirect_procs_t& Current() const { return layers.empty() ? base : layers.back()->installed; }
};

Routing& TheRouting() {
  static Routing routing;
  return routing;
}

// The layers whose procedures this thread is inside (a procedure may print).
thread_local std::vector<const Layer*> t_calling;

// What this thread last read with imsg_get_redirect_procs. An installer reads
// and then sets, and another thread may install in between: the layer it
// pushes has found what it read, which is what it will restore.
thread_local std::optional<imsg_redirect_procs_t> t_last_read;

void Deliver(int kind, const char* text) {
  Routing& routing = TheRouting();
  std::shared_ptr<Layer> layer;
  imsg_redirect_procs_t procs;
  {
    std::lock_guard lock(routing.mutex);
    procs = routing.Current();
    if (!routing.layers.empty()) {
      layer = routing.layers.back();
      ++layer->in_flight;
    }
  }
  struct Done {
    Routing& routing;
    const std::shared_ptr<Layer>& layer;
    ~Done() {
      if (!layer) return;
      t_calling.pop_back();
      {
        std::lock_guard lock(routing.mutex);
        --layer->in_flight;
      }
      routing.idle.notify_all();
    }
  } done{routing, layer};
  if (layer) t_calling.push_back(layer.get());
  procs.procs[kind](procs.context, kind, text);
}

// --- Trace levels ----------------------------------------------------------

struct TraceLevels {
  std::mutex mutex;
  std::map<std::string, int, std::less<>> levels;
  TraceLevels() {
    const char* setting = std::getenv("RVDLG_TRACE");
    if (!setting) return;
    std::string_view rest(setting);
    auto separator = [](char c) { return c == ',' || std::isspace(static_cast<unsigned char>(c)); };
    while (!rest.empty()) {
      std::size_t end = 0;
      while (end < rest.size() && !separator(rest[end])) ++end;
      std::string_view item = rest.substr(0, end);
      rest.remove_prefix(std::min(end + 1, rest.size()));
      if (item.empty()) continue;
      std::size_t equals = item.find('=');
      int level = 1;
      if (equals != std::string_view::npos) {
        level = std::atoi(std::string(item.substr(equals + 1)).c_str());
        item = item.substr(0, equals);
      }
      if (!item.empty() && level >= 0) levels[std::string(item)] = level;
    }
  }
};

TraceLevels& TheTraceLevels() {
  static TraceLevels levels;
  return levels;
}

}  // namespace

int imsg_get_redirect_procs(imsg_redirect_procs_t* out) {
  if (!out) return TBS_ST_INVALID_ARG;
  Routing& routing = TheRouting();
  std::lock_guard lock(routing.mutex);
  *out = routing.Current();
  t_last_read = *out;
  return TBS_ST_OK;
}

int imsg_set_redirect_procs(const imsg_redirect_procs_t* procs) {
  if (!procs) return TBS_ST_INVALID_ARG;
  for (imsg_output_proc_t proc : procs->procs)
    if (!proc) return TBS_ST_INVALID_ARG;
  Routing& routing = TheRouting();
  std::unique_lock lock(routing.mutex);
  auto& layers = routing.layers;
  // A restore: this thread's topmost layer that found these procedures ends.
  // Only the thread's own layers count (an installer reads, sets and restores
  // on one thread): found procedures are values, and a new installer on
  // another thread may set the very values an ended one left as found.
  const plat::ThreadId me = plat::CurrentThreadId();
  const imsg_redirect_procs_t read = t_last_read.value_or(routing.Current());
  t_last_read.reset();
  auto ending = std::find_if(layers.rbegin(), layers.rend(),
                             [&](const auto& layer) { return layer->owner == me && layer->found == *procs; });
  if (ending == layers.rend()) {
    // Even the procedures in force make a layer: its owner will restore it.
    auto layer = std::make_shared<Layer>();
    layer->installed = *procs;
    layer->found = read;
    layer->owner = me;
    layers.push_back(std::move(layer));
    return TBS_ST_OK;
  }
  // Taken out of the stack, the procedures in force are those of the top
  // layer left, and a layer that was above it now sits on what it found.
  std::shared_ptr<Layer> layer = *ending;
  layers.erase(std::next(ending).base());
  // Calls of its procedures on other threads finish before its owner may go.
  const auto own = std::count(t_calling.begin(), t_calling.end(), layer.get());
  routing.idle.wait(lock, [&] { return layer->in_flight <= own; });
  return TBS_ST_OK;
}

int imsg_print_text(int kind, const char* text) {
  if (!ValidKind(kind) || !text) return TBS_ST_INVALID_ARG;
  Deliver(kind, text);
  return TBS_ST_OK;
}

int imsg_print_args(int kind, std::string_view format, std::initializer_list<plat::FormatArg> args) {
  if (!ValidKind(kind)) return TBS_ST_INVALID_ARG;
  const std::string text = plat::FormatPrintf(format, args);
  Deliver(kind, text.c_str());
  return TBS_ST_OK;
}

std::FILE* imsg_redirect_output(std::FILE* stream) {
  std::lock_guard lock(g_output_mutex);
  std::FILE* previous = g_output;
  g_output = stream;
  return previous;
}

char* imsg_strip_style_chars(char* text) {
  if (!text) return nullptr;
  char* out = text;
  for (const char* in = text; *in;) {
    if (*in == IMSG_STYLE_MARK) {
      ++in;             // the mark
      if (*in) ++in;    // its style letter
      continue;
    }
    *out++ = *in++;
  }
  *out = '\0';
  return text;
}

int imsg_suppress_prefix(int suppress) { return g_suppress_prefix.exchange(suppress != 0) ? 1 : 0; }

int imsg_should_trace(const char* facility, int level) {
  if (!facility || !*facility) return 0;
  TraceLevels& trace = TheTraceLevels();
  std::lock_guard lock(trace.mutex);
  auto found = trace.levels.find(std::string_view(facility));
  return found != trace.levels.end() && found->second > 0 && found->second >= level ? 1 : 0;
}

int imsg_set_trace_level(const char* facility, int level) {
  if (!facility || !*facility || level < 0) return TBS_ST_INVALID_ARG;
  TraceLevels& trace = TheTraceLevels();
  std::lock_guard lock(trace.mutex);
  if (level == 0)
    trace.levels.erase(std::string(facility));
  else
    trace.levels[facility] = level;
  return TBS_ST_OK;
}
