#include "viewvob/mount/mntreq.h"

#include <cstring>
#include <limits>
#include <string>
#include <utility>

namespace rvmount {

namespace {
constexpr std::size_t kMaxWord = std::numeric_limits<std::uint32_t>::max();
}

bool RequestBuilder::Add(const void* bytes, std::size_t size, std::uint32_t* handle) {
  if (size >= kMaxWord || request_.table.size() >= kMaxWord - 1) return false;
  const auto* begin = static_cast<const std::uint8_t*>(bytes);
  request_.table.emplace_back(begin, begin + size);
  *handle = static_cast<std::uint32_t>(request_.table.size());
  return true;
}

bool RequestBuilder::Text(std::string_view text, view_mfs_text_t* field) {
  if (text.size() >= kMaxWord - 1) return false;
  const std::string copy(text);  // with its terminating zero
  if (!Add(copy.c_str(), copy.size() + 1, &field->ptr)) return false;
  field->len = static_cast<std::uint32_t>(text.size());
  field->size = field->len + 1;
  return true;
}

bool RequestBuilder::Finish(std::uint32_t op, const void* block, std::size_t size, view_mfs_request_t* request) {
  std::uint32_t handle = 0;
  if (!Add(block, size, &handle)) return false;
  request_.header = view_mfs_header_t{};
  request_.header.op = op;
  request_.header.data_size = static_cast<std::uint32_t>(size);
  request_.header.data = handle;
  *request = std::move(request_);
  request_ = view_mfs_request_t{};
  return true;
}

}  // namespace rvmount
