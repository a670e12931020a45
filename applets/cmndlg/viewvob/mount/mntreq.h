#pragma once
// Building a request for the file-system driver: the request's table, and
// the handles its blocks carry instead of pointers.
#include <cstdint>
#include <string_view>

#include "view_mfs.h"

namespace rvmount {

// Builds one request. Every pointer word of the blocks holds a 32-bit handle
// into the request's table (handle N is entry N - 1, 0 is null); the driver
// resolves them, so the blocks stay exact 32-bit byte images whatever the
// size of a pointer here.
class RequestBuilder {
 public:
  // Adds bytes to the table; false when the table or the bytes would pass
  // what 32-bit words can count.
  bool Add(const void* bytes, std::size_t size, std::uint32_t* handle);
  // A text with its terminating zero: handle, length, length + 1.
  bool Text(std::string_view text, view_mfs_text_t* field);
  // Puts the data block in last and gives the request (the builder is then
  // spent).
  bool Finish(std::uint32_t op, const void* block, std::size_t size, view_mfs_request_t* request);

 private:
  view_mfs_request_t request_;
};

}  // namespace rvmount
