#pragma once
// Storage areas: memory pools that hold a call's results until whoever
// created the area deletes it. Everything allocated in an area is freed
// together, by stg_free_area (the area stays, empty) or stg_delete_area (the
// area goes). Areas are named by numbers that are never reused, so a deleted
// or unknown area is refused cleanly. All calls are thread-safe.
#include <cstddef>
#include <cstdint>

using stg_area_t = std::uint32_t;
inline constexpr stg_area_t STG_NULL_AREA = 0;

// Creates an area whose memory is taken in blocks of about `size` bytes
// (0: a default block size). STG_NULL_AREA when no area could be obtained.
stg_area_t stg_create_area(std::size_t size);

// Frees everything in the area and the area itself. 0, or TBS_ST_INVALID_ARG for an
// unknown area (nothing changes).
int stg_delete_area(stg_area_t area);

// Frees everything allocated in the area; the area stays for new
// allocations. With keep_memory non-zero its first block is kept for reuse.
// 0, or TBS_ST_INVALID_ARG for an unknown area.
int stg_free_area(stg_area_t area, int keep_memory);

// size bytes in the area, aligned for any type; null for an unknown area or
// when no memory is left. A request of 0 bytes still gives a distinct block.
void* stg_alloc(stg_area_t area, std::size_t size);

// A copy of text in the area; null for a null text or an unknown area.
char* stg_strdup(stg_area_t area, const char* text);

// For tests: the number of live areas, and the bytes handed out in an area
// since it was created or last freed (-1 for an unknown area).
int stg_live_area_count();
long stg_area_used(stg_area_t area);
