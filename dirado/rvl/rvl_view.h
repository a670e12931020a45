#pragma once
// Views: view handles, views with their config specs, load scopes and
// start/stop, view tags through the registry, view-private files and the
// root directory of views.
#include <cstdint>
#include <iosfwd>
#include <vector>

#include "gcl_handle.h"
#include "gcl_string.h"
#include "view.h"

class GCL_Status;

// A repository view handle; freed with view_free_handle when the last
// handle copy goes.
class RVL_ViewHandleRep : public GCL_Body {
 public:
  explicit RVL_ViewHandleRep(view_handle_t handle) : handle_(handle) {}
  ~RVL_ViewHandleRep() override;
  RVL_ViewHandleRep(const RVL_ViewHandleRep&) = delete;
  RVL_ViewHandleRep& operator=(const RVL_ViewHandleRep&) = delete;
  bool is_null() const override { return handle_ == nullptr; }
  void print(std::ostream& out) const override;
  view_handle_t handle() const { return handle_; }

 private:
  view_handle_t handle_;
};

class RVL_ViewHandle : public GCL_Handle<RVL_ViewHandleRep> {
 public:
  RVL_ViewHandle() = default;
  // Takes over a repository handle (it is freed with the body).
  explicit RVL_ViewHandle(view_handle_t handle);
  static RVL_ViewHandle from_tag(GCL_Status& status, const GCL_String& tag);
  view_handle_t handle() const { return rep() ? rep()->handle() : nullptr; }
  bool is_null() const { return handle() == nullptr; }
  // A second repository handle of the same view (view_dup_handle).
  RVL_ViewHandle duplicate(GCL_Status& status) const;
  GCL_String tag() const;
};

class RVL_ViewRep : public GCL_Body {
 public:
  explicit RVL_ViewRep(const RVL_ViewHandle& handle) : handle_(handle) {}
  bool is_null() const override { return handle_.is_null(); }
  bool equals(const GCL_Body& other) const override;
  // "View" section: tag, uuid, owner, host, kind, state.
  void print(std::ostream& out) const override;
  const RVL_ViewHandle& handle() const { return handle_; }

 private:
  const RVL_ViewHandle handle_;
};

class RVL_View : public GCL_Handle<RVL_ViewRep> {
 public:
  RVL_View() = default;
  explicit RVL_View(const RVL_ViewHandle& handle);
  // The view of a tag; null with the repository's code on the status.
  static RVL_View from_tag(GCL_Status& status, const GCL_String& tag);

  bool is_null() const { return !rep() || rep()->is_null(); }
  view_handle_t handle() const { return rep() ? rep()->handle().handle() : nullptr; }
  GCL_String tag() const { return rep() ? rep()->handle().tag() : GCL_String(); }

  // Starting: the tag is registered on this machine, then its root name in
  // the drive-name mapping.
  bool register_tag(GCL_Status& status) const;
  // Stopping: every step is tried; the first failure stays on the status.
  bool stop(GCL_Status& status) const;
  bool properties(GCL_Status& status, view_prop_t* props) const;
  bool set_comment(GCL_Status& status, const GCL_String& comment) const;
  bool is_snapshot(GCL_Status& status) const;
  int freeze_state(GCL_Status& status) const;

  // Snapshot views: the load scopes, replacing them, and whether a VOB
  // pathname is in them.
  bool load_scopes(GCL_Status& status, std::vector<GCL_String>* scopes) const;
  bool set_load_scopes(GCL_Status& status, const std::vector<GCL_String>& scopes) const;
  bool in_load_scopes(GCL_Status& status, const GCL_String& pathname) const;

  // The config spec's text, exactly as stored. On any failure the status
  // keeps the failure and the text is empty. No temporary file remains.
  GCL_String config_spec(GCL_Status& status) const;
  // Sets the config spec and makes the view take it up. A spec that does
  // not parse, or a temporary file that cannot be written, changes nothing.
  // No temporary file remains.
  bool set_config_spec(GCL_Status& status, const GCL_String& text) const;

  void describe(std::ostream& out) const;
};

class RVL_ViewTagRep : public GCL_Body {
 public:
  RVL_ViewTagRep(const GCL_String& tag, const GCL_String& uuid, const GCL_String& host, const GCL_String& gpath,
                 const GCL_String& region, const GCL_String& comment, const GCL_String& access)
      : tag_(tag), uuid_(uuid), host_(host), gpath_(gpath), region_(region), comment_(comment), access_(access) {}
  bool is_null() const override { return tag_.length() == 0; }
  bool equals(const GCL_Body& other) const override;
  // "View Tag" section.
  void print(std::ostream& out) const override;

  GCL_String tag_, uuid_, host_, gpath_, region_, comment_, access_;
};

class RVL_ViewTag : public GCL_Handle<RVL_ViewTagRep> {
 public:
  RVL_ViewTag() = default;
  // The tag's registry entry in the default region; null with TBS_ST_NOT_FOUND on the
  // status when there is none.
  static RVL_ViewTag from_name(GCL_Status& status, const GCL_String& tag);
  static RVL_ViewTag from_uuid(GCL_Status& status, const GCL_String& uuid);
  // The current view, the view of the current directory, the view of a
  // pathname.
  static RVL_ViewTag current(GCL_Status& status);
  static RVL_ViewTag cdview(GCL_Status& status);
  static RVL_ViewTag of_path(GCL_Status& status, const GCL_String& pathname);
  static GCL_String default_region(GCL_Status& status);
  static RVL_ViewTag make(const GCL_String& tag, const GCL_String& uuid, const GCL_String& host,
                          const GCL_String& gpath, const GCL_String& region, const GCL_String& comment,
                          const GCL_String& access);

  bool is_null() const { return !rep(); }
  GCL_String name() const { return rep() ? rep()->tag_ : GCL_String(); }
  GCL_String uuid() const { return rep() ? rep()->uuid_ : GCL_String(); }
  GCL_String host() const { return rep() ? rep()->host_ : GCL_String(); }
  GCL_String global_path() const { return rep() ? rep()->gpath_ : GCL_String(); }
  GCL_String region() const { return rep() ? rep()->region_ : GCL_String(); }
  GCL_String comment() const { return rep() ? rep()->comment_ : GCL_String(); }
  bool is_public() const { return rep() && rep()->access_ == "public"; }
  bool is_snapshot(GCL_Status& status) const;
  // Whether "\\view\TAG" is there.
  bool root_exists(GCL_Status& status) const;
  RVL_View view(GCL_Status& status) const;
  void describe(std::ostream& out) const;
};

class RVL_ViewPrivateRep : public GCL_Body {
 public:
  explicit RVL_ViewPrivateRep(const GCL_String& pathname) : pathname_(pathname) {}
  bool is_null() const override { return pathname_.length() == 0; }
  void print(std::ostream& out) const override;
  const GCL_String pathname_;
  mutable view_xstat_t stat_;
};

// A file in a view's root (view-private or not) with its extended status.
class RVL_ViewPrivate : public GCL_Handle<RVL_ViewPrivateRep> {
 public:
  RVL_ViewPrivate() = default;
  explicit RVL_ViewPrivate(const GCL_String& pathname);
  GCL_String pathname() const { return rep() ? rep()->pathname_ : GCL_String(); }
  // The extended status (view_get_xstat); false with the code on the status.
  bool xstat(GCL_Status& status, view_xstat_t* stat) const;
  bool is_view_private(GCL_Status& status) const;
  bool is_hijacked(GCL_Status& status) const;
};

class RVL_ViewRootRep : public GCL_Body {
 public:
  explicit RVL_ViewRootRep(const GCL_String& root) : root_(root) {}
  bool is_null() const override { return root_.length() == 0; }
  void print(std::ostream& out) const override;
  const GCL_String root_;
};

// The root directory of views ("\\view").
class RVL_ViewRoot : public GCL_Handle<RVL_ViewRootRep> {
 public:
  explicit RVL_ViewRoot(GCL_Status& status);
  GCL_String pathname() const { return rep() ? rep()->root_ : GCL_String(); }
  // "\\view\TAG".
  GCL_String of_tag(const GCL_String& tag) const;
};
