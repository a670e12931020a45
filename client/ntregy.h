#pragma once
// The product's machine settings: its common registry key, its numbered
// parameters and the VOBs mounted at logon.
#include <cstddef>
#include <string>
#include <vector>

// The product's common registry key below a hive. It is given with a leading
// backslash, as the product has always given it; callers drop it.
const char* ntregy_get_common_key();

// Copies product parameter `param` into buffer (size bytes, terminated).
// 0; TBS_ST_NOT_FOUND when the parameter is not set; TBS_ST_INVALID_ARG for a null buffer or a size
// of 0; TBS_ST_FAILURE when the value does not fit (nothing is copied then).
int ntregy_get_param(int param, char* buffer, std::size_t size);

// Sets a product parameter in the local store (for setting up a machine and
// for tests). 0; TBS_ST_INVALID_ARG for a null value; TBS_ST_FAILURE without a store.
int ntregy_set_param(int param, const char* value);

// The VOBs mounted again at logon, by tag as given. Adding a tag that is
// there keeps one; removing one that is not there is no failure. 0;
// TBS_ST_INVALID_ARG for a null or empty tag; TBS_ST_FAILURE without a
// store.
int ntregy_add_persistent_vob(const char* tag);
int ntregy_remove_persistent_vob(const char* tag);
// The registered tags in the order they were added. 0; TBS_ST_INVALID_ARG
// for null.
int ntregy_get_persistent_vobs(std::vector<std::string>* tags);
