#pragma once
// Handles and bodies: every object of the object model is a handle onto a
// reference-counted body ("Rep"). Copying a handle shares its body; the last
// handle to let go destroys it. Counts are atomic, so handles onto one body
// may live on several threads at once.
#include <atomic>
#include <cstdint>
#include <iosfwd>

class GCL_Body {
 public:
  // A new body has no reference: the first handle that takes it makes the
  // count 1.
  GCL_Body() = default;
  virtual ~GCL_Body();

  virtual void add_reference();
  // Decrements the count and destroys the body when the count was 1.
  virtual void release();
  virtual std::uint32_t reference_count() const;
  // Whether the body stands for "nothing"; a plain body always does.
  virtual bool is_null() const;
  // Compares contents with another body of the same class (the caller has
  // checked the class). A plain body equals only itself.
  virtual bool equals(const GCL_Body& other) const;
  // "Reference Count: N\n"; body classes describe themselves.
  virtual void print(std::ostream& out) const;

 protected:
  // A copied body starts without references of its own.
  GCL_Body(const GCL_Body&) {}
  GCL_Body& operator=(const GCL_Body&) { return *this; }

 private:
  std::atomic<std::uint32_t> count_{0};
};

class GCL_HandleBase {
 public:
  GCL_HandleBase() = default;
  // Takes the body (adds a reference); null makes a null handle.
  explicit GCL_HandleBase(GCL_Body* body);
  GCL_HandleBase(const GCL_HandleBase& other);
  GCL_HandleBase(GCL_HandleBase&& other) noexcept;
  // The new body gets its reference before the old one is released, so
  // assigning a handle to itself changes nothing.
  GCL_HandleBase& operator=(const GCL_HandleBase& other);
  GCL_HandleBase& operator=(GCL_HandleBase&& other) noexcept;
  virtual ~GCL_HandleBase();

  // The hook that gives every handle its run-time type: callers find the
  // kind of an object by a dynamic cast of its handle.
  virtual void gcl_handle_hook() const;

  GCL_Body* body() const { return body_; }
  bool has_body() const { return body_ != nullptr; }
  // The body's count; 0 for a null handle.
  std::uint32_t reference_count() const;

  // Same body; else both bodies of one class and equal contents. A null
  // handle equals only a null handle.
  bool operator==(const GCL_HandleBase& other) const;
  bool operator!=(const GCL_HandleBase& other) const { return !(*this == other); }

 protected:
  // Takes over a body (add on the new, then release the old).
  void set_body(GCL_Body* body);

 private:
  GCL_Body* body_ = nullptr;
};

template <class Rep>
class GCL_Handle : public GCL_HandleBase {
 public:
  GCL_Handle() = default;
  explicit GCL_Handle(Rep* rep) : GCL_HandleBase(rep) {}

 protected:
  Rep* rep() const { return static_cast<Rep*>(body()); }
  void set_rep(Rep* rep) { set_body(rep); }
};
