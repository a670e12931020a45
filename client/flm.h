#pragma once
// The change-management model: value objects for VOBs, views and the
// objects of the change-management process (projects, streams, activities)
// with the VOB objects they touch (elements, versions).
//
// Value objects are copied by value and start null (is_null). They are made
// by the static constructors below, by an object's queries, or, for the
// objects of a VOB, from their VOB and DBID (nothing is checked until a
// query). Constructors and queries are calls of the client: each is logged
// and may be made to fail in tests. Each answers a status of tbs.h, 0 on
// success, and fills its out-argument only then: TBS_ST_INVALID_ARG for a null
// out-argument or a query of a null object; TBS_ST_NOT_FOUND for an object, view or VOB
// that is not there (with a message); TBS_ST_WRONG_KIND for an object of another kind.
//
// Nothing in the repository is change-managed yet: no view is a stream view
// (is_flm_view answers false), a view's stream and a stream's project are
// null, an element has no component root directory element and a version
// records no activity. Those null answers come with status 0: they are
// answers, not failures. When the model keeps projects, streams and
// activities, the same queries answer them.
#include <string>

#include "tbs_uuid.h"
#include "vob.h"

// Any object of a VOB: null while its DBID is 0.
class FLM_VobObject {
 public:
  FLM_VobObject() = default;
  FLM_VobObject(vob_handle_t vob, vob_dbid_t dbid) : vob_(vob), dbid_(dbid) {}

  bool is_null() const { return dbid_ == 0; }
  vob_handle_t vob() const { return vob_; }
  vob_dbid_t dbid() const { return dbid_; }

 private:
  vob_handle_t vob_ = 0;
  vob_dbid_t dbid_ = 0;
};

class FLM_Project : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
};

class FLM_Activity : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
};

class FLM_Stream : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  // The project the stream belongs to.
  int project(FLM_Project* project) const;
};

class FLM_Element : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  // The component root directory element of the element's component: null
  // when the element belongs to no component (its changes are then recorded
  // by no activity).
  int crde(FLM_Element* crde) const;
};

class FLM_Version : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  int element(FLM_Element* element) const;
  // The activity whose change set holds the version (null for none).
  int activity(FLM_Activity* activity) const;
};

// A VOB, known by its handle; null while the handle is 0.
class FLM_Vob {
 public:
  FLM_Vob() = default;
  // TBS_ST_NOT_FOUND for a handle that names no VOB.
  static int construct_from_handle(vob_handle_t handle, FLM_Vob* vob);

  bool is_null() const { return handle_ == 0; }
  vob_handle_t handle() const { return handle_; }
  const std::string& tag() const { return tag_; }

 private:
  vob_handle_t handle_ = 0;
  std::string tag_;
};

// A view, known by its tag and UUID; null while the tag is empty.
class FLM_View {
 public:
  FLM_View() = default;
  // TBS_ST_NOT_FOUND for a tag or UUID that names no view.
  static int construct_from_tag(const char* tag, FLM_View* view);
  static int construct_from_uuid(const tbs_uuid_t& uuid, FLM_View* view);

  bool is_null() const { return tag_.empty(); }
  const std::string& tag() const { return tag_; }
  const tbs_uuid_t& uuid() const { return uuid_; }

  // Whether the view works in a stream (a change-management view). TBS_ST_NOT_FOUND
  // when the view is gone.
  int is_flm_view(bool* flm) const;
  // The view's stream: null for a view that is no stream view.
  int stream(FLM_Stream* stream) const;

 private:
  std::string tag_;
  tbs_uuid_t uuid_{};
};
