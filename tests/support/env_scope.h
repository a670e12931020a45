#pragma once
// Sets an environment variable for one test and reads the settings afresh;
// the end removes it and reads them again.
#include <cstdlib>

#include "gcl_env.h"

class EnvScope {
 public:
  EnvScope(const char* name, const char* value) : name_(name) {
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
    GCL_RereadEnvironment();
  }
  ~EnvScope() {
    unsetenv(name_);
    GCL_RereadEnvironment();
  }
  EnvScope(const EnvScope&) = delete;
  EnvScope& operator=(const EnvScope&) = delete;

 private:
  const char* name_;
};
