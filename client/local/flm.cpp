// The change-management model of the local implementation. The store keeps
// no projects, streams or activities yet: each query checks what it is asked
// about and answers that nothing is change-managed.
#include "flm.h"

#include <string>

#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;
namespace views = client_local::views;

namespace {

bool IsElement(std::uint32_t m) { return m == VOB_MTYPE_DIR_ELEMENT || m == VOB_MTYPE_FILE_ELEMENT; }
bool IsVersion(std::uint32_t m) { return m == VOB_MTYPE_DIR_VERSION || m == VOB_MTYPE_VERSION; }

std::string UuidText(const tbs_uuid_t& uuid) {
  char text[TBS_UUID_STR_SIZE] = "";
  tbs_uuid_to_str(&uuid, text, sizeof text);
  return text;
}

// The object of a query, which must be there: TBS_ST_NOT_FOUND with a message when it is
// not, TBS_ST_WRONG_KIND when the test refuses its kind.
template <class Test>
int NeedObject(Store& s, const FLM_VobObject& object, const char* what, Test test, Object* found) {
  const auto loaded = Load(s, object.vob(), object.dbid());
  if (!loaded) {
    Complain("There is no " + std::string(what) + " " + Num(object.dbid()) + " in VOB " +
             (VobExists(s, object.vob()) ? "\"" + VobTag(s, object.vob()) + "\"" : Num(object.vob())) + ".");
    return TBS_ST_NOT_FOUND;
  }
  if (!test(loaded->mtype)) return TBS_ST_WRONG_KIND;
  if (found) *found = *loaded;
  return TBS_ST_OK;
}

bool AnyKind(std::uint32_t) { return true; }

// The view of a value, which must still be there.
int NeedView(Store& s, const std::string& tag) {
  if (views::LoadView(s, tag)) return TBS_ST_OK;
  Complain("The view \"" + tag + "\" no longer exists.");
  return TBS_ST_NOT_FOUND;
}

}  // namespace

int FLM_Vob::construct_from_handle(vob_handle_t handle, FLM_Vob* vob) {
  return LocalCall("FLM_Vob::construct_from_handle", {Num(handle)}, NonNull(vob), [&](Store& s) {
    if (!VobExists(s, handle)) {
      Complain("The VOB handle " + Num(handle) + " names no VOB.");
      return TBS_ST_NOT_FOUND;
    }
    FLM_Vob made;
    made.handle_ = handle;
    made.tag_ = VobTag(s, handle);
    *vob = made;
    return TBS_ST_OK;
  });
}

int FLM_View::construct_from_tag(const char* tag, FLM_View* view) {
  return LocalCall("FLM_View::construct_from_tag", {Text(tag)}, NonNull(tag, view), [&](Store& s) {
    const auto row = views::LoadView(s, tag);
    tbs_uuid_t uuid{};
    if (!row || tbs_str_to_uuid(row->uuid.c_str(), &uuid) != TBS_ST_OK) {
      Complain("There is no view with the tag \"" + std::string(tag) + "\".");
      return TBS_ST_NOT_FOUND;
    }
    FLM_View made;
    made.tag_ = row->tag;
    made.uuid_ = uuid;
    *view = made;
    return TBS_ST_OK;
  });
}

int FLM_View::construct_from_uuid(const tbs_uuid_t& uuid, FLM_View* view) {
  const std::string text = UuidText(uuid);
  return LocalCall("FLM_View::construct_from_uuid", {text}, NonNull(view) && !tbs_uuid_is_null(&uuid), [&](Store& s) {
    Statement q(s, "SELECT tag FROM views WHERE uuid = ?1");
    q.Bind(1, text);
    if (!q.Step()) {
      Complain("There is no view with the UUID " + text + ".");
      return TBS_ST_NOT_FOUND;
    }
    FLM_View made;
    made.tag_ = q.Text(0);
    made.uuid_ = uuid;
    *view = made;
    return TBS_ST_OK;
  });
}

int FLM_View::is_flm_view(bool* flm) const {
  return LocalCall("FLM_View::is_flm_view", {Text(tag_.c_str())}, NonNull(flm) && !is_null(), [&](Store& s) {
    if (int rc = NeedView(s, tag_); rc != TBS_ST_OK) return rc;
    *flm = false;  // no view works in a stream yet
    return TBS_ST_OK;
  });
}

int FLM_View::stream(FLM_Stream* stream) const {
  return LocalCall("FLM_View::stream", {Text(tag_.c_str())}, NonNull(stream) && !is_null(), [&](Store& s) {
    if (int rc = NeedView(s, tag_); rc != TBS_ST_OK) return rc;
    *stream = FLM_Stream();
    return TBS_ST_OK;
  });
}

int FLM_Stream::project(FLM_Project* project) const {
  return LocalCall("FLM_Stream::project", {Num(vob()), Num(dbid())}, NonNull(project) && !is_null(), [&](Store& s) {
    if (int rc = NeedObject(s, *this, "stream", AnyKind, nullptr); rc != TBS_ST_OK) return rc;
    *project = FLM_Project();
    return TBS_ST_OK;
  });
}

int FLM_Element::crde(FLM_Element* crde) const {
  return LocalCall("FLM_Element::crde", {Num(vob()), Num(dbid())}, NonNull(crde) && !is_null(), [&](Store& s) {
    if (int rc = NeedObject(s, *this, "element", IsElement, nullptr); rc != TBS_ST_OK) return rc;
    *crde = FLM_Element();  // no element belongs to a component yet
    return TBS_ST_OK;
  });
}

int FLM_Version::element(FLM_Element* element) const {
  return LocalCall("FLM_Version::element", {Num(vob()), Num(dbid())}, NonNull(element) && !is_null(), [&](Store& s) {
    Object version;
    if (int rc = NeedObject(s, *this, "version", IsVersion, &version); rc != TBS_ST_OK) return rc;
    *element = FLM_Element(vob(), version.elem);
    return TBS_ST_OK;
  });
}

int FLM_Version::activity(FLM_Activity* activity) const {
  return LocalCall("FLM_Version::activity", {Num(vob()), Num(dbid())},
                   NonNull(activity) && !is_null(), [&](Store& s) {
    if (int rc = NeedObject(s, *this, "version", IsVersion, nullptr); rc != TBS_ST_OK) return rc;
    *activity = FLM_Activity();  // no change set holds a version yet
    return TBS_ST_OK;
  });
}
