#pragma once
// Administration of the file-system driver: its tuning values, handed to the
// driver with a view-root mount.
#include <cstdint>

inline constexpr int ADM_RVFS_TUNABLE_COUNT = 24;

// The tunables as the driver reads them: 24 32-bit words (96 bytes).
struct adm_rvfs_tunables_t {
  std::uint32_t words[ADM_RVFS_TUNABLE_COUNT];
};
static_assert(sizeof(adm_rvfs_tunables_t) == 96);

// The machine's values; a word never set is its default (see the local
// implementation's table). 0; TBS_ST_INVALID_ARG for null.
int adm_rvfs_get_tunables(adm_rvfs_tunables_t* tunables);
// Sets one word. 0; TBS_ST_INVALID_ARG for an index outside 0..23.
int adm_rvfs_set_tunable(int index, std::uint32_t value);

// The client hosts known to the registry server: every host the store knows
// (registered host information and broker ports), each name once, in order.
struct adm_clnt_list_t {
  std::uint32_t count = 0;
  char** names = nullptr;
};
// *list is the caller's until adm_clnt_list_free. 0; TBS_ST_INVALID_ARG for null.
int adm_clnt_list_get(adm_clnt_list_t** list);
// Frees a list (null is allowed).
void adm_clnt_list_free(adm_clnt_list_t* list);
