#include "imsg_verbosity.h"

#include <atomic>

namespace {
std::atomic<int> g_verbosity{1};
}

int imsg_get_desired_verbosity() { return g_verbosity.load(); }

int imsg_set_desired_verbosity(int verbosity) { return g_verbosity.exchange(verbosity); }
