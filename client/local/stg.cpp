// Storage areas: bump allocation in blocks, one lock for the table of areas
// and their contents.
#include "stg.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "local/local_call.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;

namespace {

constexpr std::size_t kDefaultBlock = 4096;
// Blocks are arrays of max_align_t, so every piece handed out is a whole
// number of them and aligned for any type.
constexpr std::size_t kUnit = sizeof(std::max_align_t);
constexpr std::size_t kMaxRequest = std::size_t(1) << 30;  // a larger request is refused

std::size_t RoundUp(std::size_t n) { return (n + kUnit - 1) / kUnit * kUnit; }

struct Block {
  std::unique_ptr<std::max_align_t[]> memory;
  std::size_t size = 0;  // bytes
  std::size_t used = 0;
};

struct Area {
  std::size_t block_size;
  std::vector<Block> blocks;
  std::size_t handed_out = 0;

  static bool NewBlock(Block& block, std::size_t size) {
    block.size = size;
    block.memory.reset(new (std::nothrow) std::max_align_t[size / kUnit]);
    return block.memory != nullptr;
  }

  void* Allocate(std::size_t size) {
    const std::size_t needed = RoundUp(size == 0 ? 1 : size);
    void* result = nullptr;
    if (needed > block_size) {
      // A big request gets a block of its own, put behind the current one so
      // that the current block's room is not lost.
      Block own;
      if (!NewBlock(own, needed)) return nullptr;
      own.used = needed;
      result = own.memory.get();
      blocks.insert(blocks.empty() ? blocks.end() : blocks.end() - 1, std::move(own));
    } else {
      if (blocks.empty() || blocks.back().size - blocks.back().used < needed) {
        Block block;
        if (!NewBlock(block, block_size)) return nullptr;
        blocks.push_back(std::move(block));
      }
      Block& block = blocks.back();
      result = reinterpret_cast<unsigned char*>(block.memory.get()) + block.used;
      block.used += needed;
    }
    handed_out += needed;
    return result;
  }

  void Reset(bool keep_memory) {
    if (keep_memory && !blocks.empty()) {
      blocks.resize(1);
      blocks.front().used = 0;
    } else {
      blocks.clear();
    }
    handed_out = 0;
  }
};

struct Areas {
  std::mutex mutex;
  stg_area_t next = 1;
  std::map<stg_area_t, Area> areas;

  Area* Find(stg_area_t area) {
    auto found = areas.find(area);
    return found == areas.end() ? nullptr : &found->second;
  }
};

Areas& TheAreas() {
  static Areas areas;
  return areas;
}

}  // namespace

stg_area_t stg_create_area(std::size_t size) {
  stg_area_t made = STG_NULL_AREA;
  LocalCall("stg_create_area", {std::to_string(size)}, true, [&] {
    if (size > kMaxRequest) return TBS_ST_NO_MEMORY;
    Areas& areas = TheAreas();
    std::lock_guard lock(areas.mutex);
    if (areas.next == 0) return TBS_ST_NO_MEMORY;  // every number used: numbers are never reused
    made = areas.next++;
    areas.areas.emplace(made, Area{RoundUp(size == 0 ? kDefaultBlock : size), {}, 0});
    return TBS_ST_OK;
  });
  return made;
}

int stg_delete_area(stg_area_t area) {
  return LocalCall("stg_delete_area", {std::to_string(area)}, true, [&] {
    Areas& areas = TheAreas();
    std::lock_guard lock(areas.mutex);
    return areas.areas.erase(area) ? TBS_ST_OK : TBS_ST_INVALID_ARG;
  });
}

int stg_free_area(stg_area_t area, int keep_memory) {
  return LocalCall("stg_free_area", {std::to_string(area), std::to_string(keep_memory)}, true, [&] {
    Areas& areas = TheAreas();
    std::lock_guard lock(areas.mutex);
    Area* found = areas.Find(area);
    if (!found) return TBS_ST_INVALID_ARG;
    found->Reset(keep_memory != 0);
    return TBS_ST_OK;
  });
}

namespace {

// Memory of the area: TBS_ST_NO_MEMORY past the largest request or when the area is
// full, TBS_ST_INVALID_ARG for an unknown area.
int AllocateFrom(stg_area_t area, std::size_t size, void** memory) {
  if (size > kMaxRequest) return TBS_ST_NO_MEMORY;
  Areas& areas = TheAreas();
  std::lock_guard lock(areas.mutex);
  Area* found = areas.Find(area);
  if (!found) return TBS_ST_INVALID_ARG;
  *memory = found->Allocate(size);
  return *memory ? TBS_ST_OK : TBS_ST_NO_MEMORY;
}

}  // namespace

void* stg_alloc(stg_area_t area, std::size_t size) {
  void* memory = nullptr;
  LocalCall("stg_alloc", {std::to_string(area), std::to_string(size)}, true,
            [&] { return AllocateFrom(area, size, &memory); });
  return memory;
}

char* stg_strdup(stg_area_t area, const char* text) {
  char* copy = nullptr;
  LocalCall("stg_strdup", {std::to_string(area), text ? text : "(null)"}, NonNull(text), [&] {
    const std::size_t length = std::strlen(text);
    if (length >= kMaxRequest) return TBS_ST_NO_MEMORY;
    void* memory = nullptr;
    if (int status = AllocateFrom(area, length + 1, &memory)) return status;
    copy = static_cast<char*>(memory);
    std::memcpy(copy, text, length + 1);
    return TBS_ST_OK;
  });
  return copy;
}

int stg_live_area_count() {
  Areas& areas = TheAreas();
  std::lock_guard lock(areas.mutex);
  return static_cast<int>(areas.areas.size());
}

long stg_area_used(stg_area_t area) {
  Areas& areas = TheAreas();
  std::lock_guard lock(areas.mutex);
  Area* found = areas.Find(area);
  return found ? static_cast<long>(found->handed_out) : -1;
}
