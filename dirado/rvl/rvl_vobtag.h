#pragma once
// VOB tags: a tag's registry data in the default region, whether it is
// mounted, and mounting and unmounting through the mount engine.
#include <iosfwd>
#include <vector>

#include "gcl_handle.h"
#include "gcl_string.h"
#include "rvl_mntopts.h"

class GCL_Status;

class RVL_VobTagRep : public GCL_Body {
 public:
  RVL_VobTagRep(const GCL_String& tag, const GCL_String& gpath, const GCL_String& region, const GCL_String& options,
                const GCL_String& access, const GCL_String& uuid)
      : tag_(tag), gpath_(gpath), region_(region), options_(options), access_(access), uuid_(uuid) {}
  bool is_null() const override { return tag_.length() == 0; }
  bool equals(const GCL_Body& other) const override;
  // "Vob Tag" section, with the mount options' own section.
  void print(std::ostream& out) const override;

  const GCL_String tag_, gpath_, region_, options_, access_, uuid_;
};

class RVL_VobTag : public GCL_Handle<RVL_VobTagRep> {
 public:
  RVL_VobTag() = default;
  // The tag's entry in the default region's registry; null with the code on
  // the status (TBS_ST_NOT_FOUND when there is none).
  static RVL_VobTag from_name(GCL_Status& status, const GCL_String& tag);
  static RVL_VobTag from_uuid(GCL_Status& status, const GCL_String& uuid);
  // Every tag of the region (empty: the machine's default region), in
  // registry order. A failure stays on the status; the tags read before it
  // stay in the list.
  static bool list_region(GCL_Status& status, const GCL_String& region, std::vector<RVL_VobTag>* tags);
  static RVL_VobTag make(const GCL_String& tag, const GCL_String& gpath, const GCL_String& region,
                         const GCL_String& options, const GCL_String& access, const GCL_String& uuid);

  bool is_null() const { return !rep(); }
  GCL_String name() const { return rep() ? rep()->tag_ : GCL_String(); }
  GCL_String global_path() const { return rep() ? rep()->gpath_ : GCL_String(); }
  GCL_String region() const { return rep() ? rep()->region_ : GCL_String(); }
  GCL_String options_text() const { return rep() ? rep()->options_ : GCL_String(); }
  GCL_String uuid() const { return rep() ? rep()->uuid_ : GCL_String(); }
  bool is_public() const { return rep() && rep()->access_ == "public"; }
  // The registered options as a record (false with TBS_ST_INVALID_ARG when they do not
  // parse).
  bool mount_options(GCL_Status& status, RVL_VobMountOptions* options) const;

  bool is_mounted() const;
  // Mounting and unmounting go through the mount engine with the tag alone:
  // no options and no flags (the engine reads the tag's own options). The
  // engine's code and messages go on the status.
  bool mount(GCL_Status& status) const;
  bool unmount(GCL_Status& status) const;

  void describe(std::ostream& out) const;
};
