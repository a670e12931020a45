#pragma once
// VOB handles: a handle onto a body that holds the repository's handle of a
// VOB. Two handles are equal when they name the same VOB. (This is the part
// the VOB objects need; the VOB's own properties come with VOB management.)
#include <cstdint>
#include <iosfwd>

#include "gcl_handle.h"
#include "gcl_string.h"

class GCL_Status;

class RVL_VobRep : public GCL_Body {
 public:
  explicit RVL_VobRep(std::uint32_t handle) : handle_(handle) {}
  bool is_null() const override { return handle_ == 0; }
  bool equals(const GCL_Body& other) const override;
  // "Vob" section: reference count, handle and tag.
  void print(std::ostream& out) const override;
  std::uint32_t handle() const { return handle_; }

 private:
  const std::uint32_t handle_;
};

class RVL_Vob : public GCL_Handle<RVL_VobRep> {
 public:
  RVL_Vob() = default;
  // The VOB of a repository handle (0: the null VOB).
  explicit RVL_Vob(std::uint32_t handle);
  // The VOB with the tag ("\name"); the status gets the repository's code
  // and the handle stays null when there is none.
  static RVL_Vob from_tag(GCL_Status& status, const GCL_String& tag);

  // The repository's VOB handle; 0 for the null VOB.
  std::uint32_t handle() const { return rep() ? rep()->handle() : 0; }
  bool is_null() const { return handle() == 0; }
  // The VOB's tag; empty on failure (the code goes on the status).
  GCL_String tag(GCL_Status& status) const;
  void describe(std::ostream& out) const;

  bool operator==(const RVL_Vob& other) const { return handle() == other.handle(); }
  bool operator!=(const RVL_Vob& other) const { return handle() != other.handle(); }
};
