#pragma once
// Hyperlinks: a typed link from one object to another (or to nothing), with
// optional texts at its ends. The hyperlink record is fetched from the
// repository and kept while the object cache stays active in the same
// generation (rvl_cache.h).
#include <cstdint>
#include <memory>
#include <vector>

#include "rvl_vobobject.h"

struct vob_hlink_info_s;
struct vob_hlinkh_s;

class RVL_HyperlinkRep : public RVL_VobObjectRep {
 public:
  using RVL_VobObjectRep::RVL_VobObjectRep;
  ~RVL_HyperlinkRep() override;
  void print(std::ostream& out) const override;
  // The type's name, "@DBID@" and the VOB's tag.
  GCL_String display_name(GCL_Status& status) const override;
  // The record (null on failure): the held one while the cache generation
  // it was stamped with is the current one, else a fresh one.
  const vob_hlink_info_s* info(GCL_Status& status) const;

 private:
  mutable std::unique_ptr<RVL_InfoStg<vob_hlink_info_s>> record_;
  mutable std::uint32_t generation_ = 0;
};

class RVL_Hyperlink : public RVL_VobObject {
 public:
  RVL_Hyperlink() = default;
  RVL_Hyperlink(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, std::uint32_t expected_mtype = 0);
  RVL_Hyperlink(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid, RVL_VobObjectRep::Resolved known,
                const GCL_String& text);
  // A new hyperlink of the type from one object to another (a null to-object
  // makes a hyperlink without one).
  static RVL_Hyperlink create(GCL_Status& status, const GCL_String& type, const RVL_VobObject& from,
                              const RVL_VobObject& to, const GCL_String& from_text, const GCL_String& to_text);

  // The hyperlink a hyperlink handle names (vob_hlink_hlinkh_get_hlink).
  static RVL_Hyperlink from_handle(GCL_Status& status, const vob_hlinkh_s& handle);

  const vob_hlink_info_s* info(GCL_Status& status) const;
  // "Type@N@\vob -> to-object" seen from the from-end, "<- from-object"
  // from the to-end; the single-ended form names the hyperlink and its
  // from-text.
  GCL_String formatted(GCL_Status& status, bool from_end) const;
  GCL_String single_ended(GCL_Status& status) const;
  GCL_String type_name(GCL_Status& status) const;
  GCL_String name(GCL_Status& status) const;
  GCL_String from_text(GCL_Status& status) const;
  GCL_String to_text(GCL_Status& status) const;
  RVL_VobObject from_object(GCL_Status& status) const;
  RVL_VobObject to_object(GCL_Status& status) const;
};

// One end of a hyperlink seen from an object.
class RVL_HyperlinkArrowRep : public GCL_Body {
 public:
  RVL_HyperlinkArrowRep(GCL_Status& status, const vob_hlinkh_s& handle);
  ~RVL_HyperlinkArrowRep() override;
  bool is_null() const override;
  bool equals(const GCL_Body& other) const override;
  // "Hyperlink Arrow": the hyperlink handle.
  void print(std::ostream& out) const override;
  const vob_hlinkh_s& handle() const { return *handle_; }
  bool from_end() const { return from_end_; }

 private:
  std::unique_ptr<vob_hlinkh_s> handle_;
  bool from_end_ = true;
};

class RVL_HyperlinkArrow : public GCL_Handle<RVL_HyperlinkArrowRep> {
 public:
  RVL_HyperlinkArrow() = default;
  RVL_HyperlinkArrow(GCL_Status& status, const vob_hlinkh_s& handle);

  bool is_null() const { return !rep() || rep()->is_null(); }
  // Whether the arrow leaves the object it was found on.
  bool from_end() const { return rep() && rep()->from_end(); }
  RVL_Hyperlink hyperlink(GCL_Status& status) const;
  RVL_VobObject from_object(GCL_Status& status) const;
  RVL_VobObject to_object(GCL_Status& status) const;
  GCL_String from_text(GCL_Status& status) const;
  GCL_String to_text(GCL_Status& status) const;
  void describe(std::ostream& out) const;
};

// A hyperlink and its arrow, for display.
class RVL_HyperlinkCompositeRep : public GCL_Body {
 public:
  RVL_HyperlinkCompositeRep(const RVL_Hyperlink& hyperlink, const RVL_HyperlinkArrow& arrow)
      : hyperlink_(hyperlink), arrow_(arrow) {}
  bool is_null() const override { return hyperlink_.is_null(); }
  bool equals(const GCL_Body& other) const override;
  // "Hyperlink Composite": the hyperlink and the arrow, or "Hyperlink Object
  // is currently NULL".
  void print(std::ostream& out) const override;
  const RVL_Hyperlink& hyperlink() const { return hyperlink_; }
  const RVL_HyperlinkArrow& arrow() const { return arrow_; }

 private:
  RVL_Hyperlink hyperlink_;
  RVL_HyperlinkArrow arrow_;
};

class RVL_HyperlinkComposite : public GCL_Handle<RVL_HyperlinkCompositeRep> {
 public:
  RVL_HyperlinkComposite() = default;
  RVL_HyperlinkComposite(const RVL_Hyperlink& hyperlink, const RVL_HyperlinkArrow& arrow);
  bool is_null() const { return !rep() || rep()->is_null(); }
  RVL_Hyperlink hyperlink() const { return rep() ? rep()->hyperlink() : RVL_Hyperlink(); }
  RVL_HyperlinkArrow arrow() const { return rep() ? rep()->arrow() : RVL_HyperlinkArrow(); }
  void describe(std::ostream& out) const;
};

// The object's hyperlinks of a type (empty: any), or its well-known ones.
std::vector<RVL_HyperlinkComposite> RVL_FindHyperlinks(GCL_Status& status, const RVL_VobObject& object,
                                                       const GCL_String& type, bool well_known = false);
