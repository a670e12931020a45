// Handles and bodies.
#include "gcl_handle.h"

#include <ostream>
#include <typeinfo>
#include <utility>

GCL_Body::~GCL_Body() = default;

void GCL_Body::add_reference() { count_.fetch_add(1, std::memory_order_relaxed); }

void GCL_Body::release() {
  // The last release sees every write made through other handles.
  if (count_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}

std::uint32_t GCL_Body::reference_count() const { return count_.load(std::memory_order_acquire); }

bool GCL_Body::is_null() const { return true; }

bool GCL_Body::equals(const GCL_Body& other) const { return this == &other; }

void GCL_Body::print(std::ostream& out) const { out << "Reference Count: " << reference_count() << "\n"; }

GCL_HandleBase::GCL_HandleBase(GCL_Body* body) : body_(body) {
  if (body_) body_->add_reference();
}

GCL_HandleBase::GCL_HandleBase(const GCL_HandleBase& other) : body_(other.body_) {
  if (body_) body_->add_reference();
}

GCL_HandleBase::GCL_HandleBase(GCL_HandleBase&& other) noexcept : body_(std::exchange(other.body_, nullptr)) {}

GCL_HandleBase& GCL_HandleBase::operator=(const GCL_HandleBase& other) {
  set_body(other.body_);
  return *this;
}

GCL_HandleBase& GCL_HandleBase::operator=(GCL_HandleBase&& other) noexcept {
  if (this != &other) {
    GCL_Body* old = std::exchange(body_, std::exchange(other.body_, nullptr));
    if (old) old->release();
  }
  return *this;
}

GCL_HandleBase::~GCL_HandleBase() {
  if (body_) body_->release();
}

void GCL_HandleBase::gcl_handle_hook() const {}

std::uint32_t GCL_HandleBase::reference_count() const { return body_ ? body_->reference_count() : 0; }

bool GCL_HandleBase::operator==(const GCL_HandleBase& other) const {
  if (body_ == other.body_) return true;
  if (!body_ || !other.body_) return false;
  return typeid(*body_) == typeid(*other.body_) && body_->equals(*other.body_);
}

void GCL_HandleBase::set_body(GCL_Body* body) {
  if (body) body->add_reference();
  GCL_Body* old = std::exchange(body_, body);
  if (old) old->release();
}
