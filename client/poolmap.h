#pragma once
// Storage pool maps of a VOB's mount options. The option "poolmap=MAP" holds
// one or more pool maps separated by "|"; each pool map is "POOL:PATHNAME",
// the pool's name up to the first ":", then the pathname of its storage.
#include <string>
#include <vector>

struct poolmap_pool_t {
  std::string map;       // the pool map as written
  std::string pathname;  // its storage pathname
};

// Splits a map text into pools. 0 (an empty text has none); TBS_ST_INVALID_ARG for a null
// text or a map without a pool name or pathname (pools left empty).
int poolmap_crack_mapstring(const char* mapstring, std::vector<poolmap_pool_t>* pools);

// The pools of every "poolmap=" option of comma-separated mount options, in
// order. 0; TBS_ST_INVALID_ARG as poolmap_crack_mapstring.
int poolmap_crack_mntopts(const char* options, std::vector<poolmap_pool_t>* pools);
