#pragma once
// Either a value or the error that says why there is none.
#include <utility>
#include <variant>

namespace plat {

template <class T, class Error>
class Result {
 public:
  Result(T value) : data_(std::move(value)) {}        // NOLINT: implicit by design
  Result(Error error) : data_(std::move(error)) {}    // NOLINT

  bool ok() const { return std::holds_alternative<T>(data_); }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<T>(data_); }
  const T& value() const { return std::get<T>(data_); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  const Error& error() const { return std::get<Error>(data_); }

 private:
  std::variant<T, Error> data_;
};

}  // namespace plat
