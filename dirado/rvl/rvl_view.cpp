// Views, view handles, view tags, view-private files and the view root.
#include "rvl_view.h"

#include <cerrno>
#include <cstdio>
#include <ostream>

#include "fileutl_file.h"
#include "gcl_indent.h"
#include "gcl_status.h"
#include "imsg.h"
#include "ntpfxmap.h"
#include "rgy.h"
#include "rvl_call.h"
#include "tbs.h"
#include "tbs_errno.h"
#include "tbs_uuid.h"
#include "ws.h"

namespace {

constexpr const char* kViewModule = "\\dirado\\rvl\\rvl_view_rep.cxx";
constexpr const char* kViewTagModule = "\\dirado\\rvl\\rvl_view_tag_rep.cxx";

GCL_String RootName(const GCL_String& tag) { return GCL_String((std::string("\\\\view\\") + tag.c_str()).c_str()); }

// Puts a code on the status the way a repository call would.
void SetCode(GCL_Status& status, int code) { status.set_code(static_cast<std::uint32_t>(code)); }

// Removes a temporary file, by the second means when the first fails; what
// it prints goes on the status, whose code stays.
void RemoveTemp(GCL_Status& status, const char* name) {
  GCL_CaptureScope scope(status, GCL_CaptureScope::kUnlessCollecting);
  if (fileutl_rm(name) != 0) unix_nt_unlink(name);
}

}  // namespace

// ---- RVL_ViewHandle ----

RVL_ViewHandleRep::~RVL_ViewHandleRep() {
  if (handle_) view_free_handle(handle_);
}

void RVL_ViewHandleRep::print(std::ostream& out) const {
  char tag[300] = "";
  view_handle_get_tag(handle_, tag, sizeof tag);
  out << GCL_IndentPrefix() << "View Handle: " << (*tag ? tag : "NULL") << "\n";
}

RVL_ViewHandle::RVL_ViewHandle(view_handle_t handle)
    : GCL_Handle<RVL_ViewHandleRep>(handle ? new RVL_ViewHandleRep(handle) : nullptr) {}

RVL_ViewHandle RVL_ViewHandle::from_tag(GCL_Status& status, const GCL_String& tag) {
  view_handle_t handle = nullptr;
  if (RVL_Call(status, [&] { return view_get_handle_by_tag(tag.c_str(), &handle); }) != 0) return RVL_ViewHandle();
  return RVL_ViewHandle(handle);
}

RVL_ViewHandle RVL_ViewHandle::duplicate(GCL_Status& status) const {
  view_handle_t copy = nullptr;
  if (RVL_Call(status, [&] { return view_dup_handle(handle(), &copy); }) != 0) return RVL_ViewHandle();
  return RVL_ViewHandle(copy);
}

GCL_String RVL_ViewHandle::tag() const {
  char tag[300];
  return view_handle_get_tag(handle(), tag, sizeof tag) == 0 ? GCL_String(tag) : GCL_String();
}

// ---- RVL_View ----

bool RVL_ViewRep::equals(const GCL_Body& other) const {
  const auto* view = dynamic_cast<const RVL_ViewRep*>(&other);
  return view && view->handle_.tag() == handle_.tag();
}

void RVL_ViewRep::print(std::ostream& out) const {
  GCL_IndentSection section("View");
  const GCL_String prefix = GCL_IndentPrefix();
  out << prefix;
  GCL_Body::print(out);
  view_prop_t props;
  if (view_getprop(handle_.handle(), &props) != 0) {
    out << prefix << "Tag: " << handle_.tag().c_str() << "\n" << prefix << "Properties: UNKNOWN\n";
    return;
  }
  out << prefix << "Tag: " << props.tag << "\n";
  out << prefix << "UUID: " << props.uuid << "\n";
  out << prefix << "Owner: " << props.owner << "\n";
  out << prefix << "Host: " << props.host << "\n";
  out << prefix << "Kind: " << (props.snapshot ? "snapshot" : "dynamic") << "\n";
  out << prefix << "Active: " << (props.active ? "TRUE" : "FALSE") << "\n";
  out << prefix << "Comment: " << props.comment << "\n";
}

RVL_View::RVL_View(const RVL_ViewHandle& handle)
    : GCL_Handle<RVL_ViewRep>(handle.is_null() ? nullptr : new RVL_ViewRep(handle)) {}

RVL_View RVL_View::from_tag(GCL_Status& status, const GCL_String& tag) {
  const RVL_ViewHandle handle = RVL_ViewHandle::from_tag(status, tag);
  return handle.is_null() ? RVL_View() : RVL_View(handle);
}

#define RVL_VIEW_CHECK(status, result)                                              \
  do {                                                                              \
    if (is_null()) {                                                                \
      RVL_InternalError(status, kViewModule, __LINE__, "view object is NULL");      \
      return result;                                                                \
    }                                                                               \
  } while (0)

bool RVL_View::register_tag(GCL_Status& status) const {
  RVL_VIEW_CHECK(status, false);
  const GCL_String name = tag();
  if (RVL_Call(status, [&] { return view_register_view_tag(name.c_str()); }) != 0) return false;
  return RVL_Call(status, [&] { return ntpfxmap_register(RootName(name).c_str()); }) == 0;
}

bool RVL_View::stop(GCL_Status& status) const {
  RVL_VIEW_CHECK(status, false);
  const GCL_String name = tag();
  int first = 0;
  GCL_Status step;
  auto keep = [&](int code) {
    if (code != 0 && first == 0) {
      first = code;
      status = step;
    }
  };
  keep(RVL_Call(step, [&] { return view_mfs_unregister_tag(name.c_str()); }));
  keep(RVL_Call(step, [&] { return view_remove_mappings(name.c_str(), 0); }));
  keep(RVL_Call(step, [&] { return view_server_exit(handle()); }));
  const int unmapped = RVL_Call(step, [&] { return ntpfxmap_unregister(RootName(name).c_str()); });
  if (unmapped != TBS_ST_NOT_FOUND) keep(unmapped);  // a view never started here has no mapping
  if (first == 0) status.make_ok();
  return first == 0;
}

bool RVL_View::properties(GCL_Status& status, view_prop_t* props) const {
  RVL_VIEW_CHECK(status, false);
  return RVL_Call(status, [&] { return view_getprop(handle(), props); }) == 0;
}

bool RVL_View::set_comment(GCL_Status& status, const GCL_String& comment) const {
  view_prop_t props;
  if (!properties(status, &props)) return false;
  props.comment = comment.c_str();
  return RVL_Call(status, [&] { return view_setprop(handle(), &props); }) == 0;
}

bool RVL_View::is_snapshot(GCL_Status& status) const {
  RVL_VIEW_CHECK(status, false);
  int snapshot = 0;
  return RVL_Call(status, [&] { return view_ws_is_ws_view(handle(), &snapshot); }) == 0 && snapshot;
}

int RVL_View::freeze_state(GCL_Status& status) const {
  RVL_VIEW_CHECK(status, 0);
  int state = 0;
  RVL_Call(status, [&] { return view_frz_get_freeze_state(handle(), &state); });
  return state;
}

bool RVL_View::load_scopes(GCL_Status& status, std::vector<GCL_String>* scopes) const {
  RVL_VIEW_CHECK(status, false);
  scopes->clear();
  ws_handle_t ws = nullptr;
  if (RVL_Call(status, [&] { return ws_get_handle_by_viewh(handle(), &ws); }) != 0) return false;
  ws_scopes_t* list = nullptr;
  const int rc = RVL_Call(status, [&] { return ws_get_scopes(ws, &list); });
  if (rc == 0)
    for (std::size_t i = 0; i < list->count; ++i) scopes->push_back(GCL_String(list->scopes[i]));
  ws_free_scopes(list);
  ws_free_handle(ws);
  return rc == 0;
}

bool RVL_View::set_load_scopes(GCL_Status& status, const std::vector<GCL_String>& scopes) const {
  RVL_VIEW_CHECK(status, false);
  ws_handle_t ws = nullptr;
  if (RVL_Call(status, [&] { return ws_get_handle_by_viewh(handle(), &ws); }) != 0) return false;
  std::vector<const char*> names;
  for (const GCL_String& scope : scopes) names.push_back(scope.c_str());
  const int rc = RVL_Call(status, [&] { return ws_load_scopes(ws, names.data(), names.size()); });
  ws_free_handle(ws);
  return rc == 0;
}

bool RVL_View::in_load_scopes(GCL_Status& status, const GCL_String& pathname) const {
  std::vector<GCL_String> scopes;
  if (!load_scopes(status, &scopes)) return false;
  std::vector<const char*> names;
  for (const GCL_String& scope : scopes) names.push_back(scope.c_str());
  return fileutl_pname_scoped_by_list(pathname.c_str(), names.data(), names.size()) != 0;
}

GCL_String RVL_View::config_spec(GCL_Status& status) const {
  RVL_VIEW_CHECK(status, GCL_String());
  char name[1100];
  std::FILE* file = nullptr;
  {
    GCL_CaptureScope scope(status, GCL_CaptureScope::kUnlessCollecting);
    file = fileutl_tmpfile_ext_binary("cs", name, sizeof name);
  }
  if (!file) {
    SetCode(status, tbs_errno2status(errno ? errno : EIO));
    return GCL_String();
  }
  int closed = 0;
  {
    GCL_CaptureScope scope(status, GCL_CaptureScope::kUnlessCollecting);
    closed = fileutl_fclose(file);
  }
  if (closed != 0) {
    SetCode(status, closed);
    RemoveTemp(status, name);
    return GCL_String();
  }
  const int rc = RVL_Call(status, [&] {
    const int code = view_get_config_spec(handle(), name);
    if (code != 0) imsg_print(IMSG_ERROR, "%s\n", tbs_strerror(code));
    return code;
  });
  if (rc != 0) {
    RemoveTemp(status, name);
    return GCL_String();
  }
  char* buffer = nullptr;
  std::size_t length = 0;
  if (RVL_Call(status, [&] { return strutl_read(name, &buffer, &length); }) != 0) {
    RemoveTemp(status, name);
    return GCL_String();  // the read's failure stays on the status
  }
  GCL_String text(buffer, static_cast<std::uint32_t>(length));
  stg_free(buffer);
  RemoveTemp(status, name);
  status.make_ok();
  return text;
}

bool RVL_View::set_config_spec(GCL_Status& status, const GCL_String& text) const {
  RVL_VIEW_CHECK(status, false);
  char name[1100];
  std::FILE* file = nullptr;
  {
    GCL_CaptureScope scope(status, GCL_CaptureScope::kUnlessCollecting);
    file = fileutl_tmpfile_ext("cs", name, sizeof name);
  }
  if (!file) {
    SetCode(status, tbs_errno2status(errno ? errno : EIO));
    return false;
  }
  const std::size_t wrote = std::fwrite(text.c_str(), 1, text.length(), file);
  int closed = 0;
  {
    GCL_CaptureScope scope(status, GCL_CaptureScope::kUnlessCollecting);
    closed = fileutl_fclose(file);
  }
  if (wrote != text.length() || closed != 0) {
    SetCode(status, closed != 0 ? closed : TBS_ST_FAILURE);
    RemoveTemp(status, name);
    return false;
  }
  const int rc = RVL_Call(status, [&] { return view_set_spec(handle(), name); });
  RemoveTemp(status, name);
  if (rc != 0) return false;  // the old rules stay; nothing to take up
  return RVL_Call(status, [&] { return view_inval_view(handle()); }) == 0;
}

void RVL_View::describe(std::ostream& out) const {
  if (rep())
    rep()->print(out);
  else
    out << GCL_IndentPrefix() << "View is currently NULL\n";
}

// ---- RVL_ViewTag ----

bool RVL_ViewTagRep::equals(const GCL_Body& other) const {
  const auto* tag = dynamic_cast<const RVL_ViewTagRep*>(&other);
  return tag && tag->tag_ == tag_ && tag->region_ == region_;
}

void RVL_ViewTagRep::print(std::ostream& out) const {
  GCL_IndentSection section("View Tag");
  const GCL_String prefix = GCL_IndentPrefix();
  out << prefix;
  GCL_Body::print(out);
  out << prefix << "Tag: " << tag_.c_str() << "\n";
  out << prefix << "UUID: " << uuid_.c_str() << "\n";
  out << prefix << "Region: " << region_.c_str() << "\n";
  out << prefix << "Host: " << host_.c_str() << "\n";
  out << prefix << "Global Path: " << gpath_.c_str() << "\n";
  out << prefix << "Access: " << access_.c_str() << "\n";
  out << prefix << "Comment: " << comment_.c_str() << "\n";
}

GCL_String RVL_ViewTag::default_region(GCL_Status& status) {
  char region[300];
  if (RVL_Call(status, [&] { return rgy_get_default_region(region, sizeof region); }) != 0) return GCL_String();
  return GCL_String(region);
}

namespace {

template <class Find>
RVL_ViewTag LookUp(GCL_Status& status, Find&& find) {
  const GCL_String region = RVL_ViewTag::default_region(status);
  if (!status.ok()) return RVL_ViewTag();
  rgy_cursor_t cursor = nullptr;
  if (RVL_Call(status, [&] { return rgy_open_cursor(RGY_KIND_VIEW_TAG, region.c_str(), &cursor); }) != 0)
    return RVL_ViewTag();
  rgy_entry_t entry = nullptr;
  int count = 0;
  const int rc = RVL_Call(status, [&] { return find(cursor, &entry, &count); });
  rgy_close_cursor(cursor);
  if (rc != 0) return RVL_ViewTag();
  if (count < 1) {
    SetCode(status, TBS_ST_NOT_FOUND);
    return RVL_ViewTag();
  }
  auto field = [&](int key) {
    char text[1100];
    return rgy_getstring_from_entry(entry, key, sizeof text, text) == 0 ? GCL_String(text) : GCL_String();
  };
  RVL_ViewTag tag = RVL_ViewTag::make(field(RGY_KEY_TAG), field(RGY_KEY_UUID), field(RGY_KEY_HOST),
                                      field(RGY_KEY_GPATH), region, field(RGY_KEY_COMMENT), field(RGY_KEY_ACCESS));
  rgy_delete_entry(entry);
  return tag;
}

}  // namespace

RVL_ViewTag RVL_ViewTag::from_name(GCL_Status& status, const GCL_String& tag) {
  return LookUp(status, [&](rgy_cursor_t cursor, rgy_entry_t* entry, int* count) {
    return rgy_findbystring_entry(cursor, RGY_KEY_TAG, tag.c_str(), 1, entry, count);
  });
}

RVL_ViewTag RVL_ViewTag::from_uuid(GCL_Status& status, const GCL_String& uuid) {
  tbs_uuid_t id;
  if (tbs_str_to_uuid(uuid.c_str(), &id) != 0) {
    SetCode(status, TBS_ST_INVALID_ARG);
    return RVL_ViewTag();
  }
  return LookUp(status, [&](rgy_cursor_t cursor, rgy_entry_t* entry, int* count) {
    return rgy_findbyuuid_entry(cursor, &id, 1, entry, count);
  });
}

RVL_ViewTag RVL_ViewTag::current(GCL_Status& status) {
  char tag[300];
  if (RVL_Call(status, [&] { return view_current_view_info(tag, sizeof tag); }) != 0) return RVL_ViewTag();
  return from_name(status, GCL_String(tag));
}

RVL_ViewTag RVL_ViewTag::cdview(GCL_Status& status) {
  char tag[300];
  if (RVL_Call(status, [&] { return view_cdview_view_info(tag, sizeof tag); }) != 0) return RVL_ViewTag();
  return from_name(status, GCL_String(tag));
}

RVL_ViewTag RVL_ViewTag::of_path(GCL_Status& status, const GCL_String& pathname) {
  char tag[300];
  if (RVL_Call(status, [&] { return vob_utl_get_view_from_path(pathname.c_str(), tag, sizeof tag); }) != 0)
    return RVL_ViewTag();
  return from_name(status, GCL_String(tag));
}

bool RVL_ViewTag::is_snapshot(GCL_Status& status) const {
  if (is_null()) {
    RVL_InternalError(status, kViewTagModule, __LINE__, "view tag object is NULL");
    return false;
  }
  int snapshot = 0;
  return RVL_Call(status, [&] { return view_ws_is_ws_tag(name().c_str(), &snapshot); }) == 0 && snapshot;
}

bool RVL_ViewTag::root_exists(GCL_Status& status) const {
  if (is_null()) {
    RVL_InternalError(status, kViewTagModule, __LINE__, "view tag object is NULL");
    return false;
  }
  const RVL_ViewRoot root(status);
  if (!status.ok()) return false;
  return fileutl_exists(root.of_tag(name()).c_str()) != 0;
}

RVL_View RVL_ViewTag::view(GCL_Status& status) const { return RVL_View::from_tag(status, name()); }

void RVL_ViewTag::describe(std::ostream& out) const {
  if (rep())
    rep()->print(out);
  else
    out << GCL_IndentPrefix() << "View Tag is currently NULL\n";
}

// ---- RVL_ViewPrivate ----

void RVL_ViewPrivateRep::print(std::ostream& out) const {
  out << GCL_IndentPrefix() << "View Private File: " << pathname_.c_str() << "\n";
}

RVL_ViewPrivate::RVL_ViewPrivate(const GCL_String& pathname)
    : GCL_Handle<RVL_ViewPrivateRep>(new RVL_ViewPrivateRep(pathname)) {}

bool RVL_ViewPrivate::xstat(GCL_Status& status, view_xstat_t* stat) const {
  if (!rep() || !stat) {
    RVL_InternalError(status, kViewModule, __LINE__, "view-private object is NULL");
    return false;
  }
  if (RVL_Call(status, [&] { return view_get_xstat(pathname().c_str(), stat); }) != 0) return false;
  rep()->stat_ = *stat;
  return true;
}

bool RVL_ViewPrivate::is_view_private(GCL_Status& status) const {
  view_xstat_t stat;
  return xstat(status, &stat) && stat.state == VIEW_FILE_PRIVATE;
}

bool RVL_ViewPrivate::is_hijacked(GCL_Status& status) const {
  view_xstat_t stat;
  return xstat(status, &stat) && stat.state == VIEW_FILE_HIJACKED;
}

// ---- RVL_ViewRoot ----

void RVL_ViewRootRep::print(std::ostream& out) const {
  out << GCL_IndentPrefix() << "View Root: " << root_.c_str() << "\n";
}

RVL_ViewRoot::RVL_ViewRoot(GCL_Status& status) {
  char root[64];
  if (RVL_Call(status, [&] { return tbs_view_root(root, sizeof root); }) == 0)
    set_rep(new RVL_ViewRootRep(GCL_String(root)));
}

GCL_String RVL_ViewRoot::of_tag(const GCL_String& tag) const {
  return GCL_String((std::string(pathname().c_str()) + "\\" + tag.c_str()).c_str());
}

RVL_ViewTag RVL_ViewTag::make(const GCL_String& tag, const GCL_String& uuid, const GCL_String& host,
                              const GCL_String& gpath, const GCL_String& region, const GCL_String& comment,
                              const GCL_String& access) {
  RVL_ViewTag result;
  result.set_rep(new RVL_ViewTagRep(tag, uuid, host, gpath, region, comment, access));
  return result;
}
