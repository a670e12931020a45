#pragma once
// The product's machine settings: its common registry key and its numbered
// parameters.
#include <cstddef>

// The product's common registry key below a hive. It is given with a leading
// backslash, as the product has always given it; callers drop it.
const char* ntregy_get_common_key();

// Copies product parameter `param` into buffer (size bytes, terminated).
// 0; 1002 when the parameter is not set; 1003 for a null buffer or a size
// of 0; 1001 when the value does not fit (nothing is copied then).
int ntregy_get_param(int param, char* buffer, std::size_t size);

// Sets a product parameter in the local store (for setting up a machine and
// for tests). 0; 1003 for a null value; 1001 without a store.
int ntregy_set_param(int param, const char* value);
