#pragma once
// How much the user asked to see: 0 quiet, 1 normal (the default), 2 and
// more for tracing output as well. Process-wide.

int imsg_get_desired_verbosity();
// Returns the previous verbosity; whoever changes it restores it.
int imsg_set_desired_verbosity(int verbosity);
