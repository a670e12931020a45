#pragma once
// The change-management model: value objects for VOBs, views and the
// objects of the change-management process (folders, projects, streams,
// components, baselines, activities) with the VOB objects they touch
// (elements, versions).
//
// The process objects live in a project VOB as objects of the meta-types
// VOB_MTYPE_FOLDER, _PROJECT, _STREAM, _COMPONENT, _BASELINE and _ACTIVITY,
// named by selectors ("stream:hello_dev@\projects"). A project sits in a
// folder and has streams: one integration stream, which the others deliver
// to, and development streams. A component is rooted at a directory element
// of a VOB (or at none); a baseline records a component's state as made in a
// stream, with its predecessor, labeling status, promotion level and label
// type; a composite baseline has member baselines. A stream starts from its
// foundation baselines and works on its branch type through activities,
// whose change sets hold versions (a version in one change set at most).
// A view may work in a stream, with one of its activities current.
//
// Value objects are copied by value and start null (is_null). They are made
// by the static constructors below, by an object's queries, or, for the
// objects of a VOB, from their VOB and DBID (nothing is checked until a
// query). Constructors and queries are calls of the client: each is logged
// and may be made to fail in tests, and runs in one command of the store.
// Each answers a status of tbs.h, 0 on success, and fills its out-argument
// only then: TBS_ST_INVALID_ARG for a null out-argument or a query of a null
// object; TBS_ST_NOT_FOUND for an object, view or VOB that is not there (with
// a message); TBS_ST_WRONG_KIND for an object of another kind. A null answer
// with status 0 ("no project", "no activity") is an answer, not a failure.
//
// The objects are made by the builders of flm_admin.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tbs_uuid.h"
#include "vob.h"

// A list answered by a query: length and indexed access.
template <class T>
class FLM_List {
 public:
  std::size_t length() const { return items_.size(); }
  const T& operator[](std::size_t index) const { return items_.at(index); }
  void append(const T& item) { items_.push_back(item); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<T> items_;
};
using FLM_StringList = FLM_List<std::string>;

// A user of the operating system, by login name; null while empty.
class FLM_OsUser {
 public:
  FLM_OsUser() = default;
  explicit FLM_OsUser(std::string name) : name_(std::move(name)) {}
  bool is_null() const { return name_.empty(); }
  const std::string& name() const { return name_; }

  // The user this program runs as.
  static int current_user(FLM_OsUser* user);
  // The user's login name (TBS_ST_INVALID_ARG for a null user).
  int login_name(std::string* name) const;

  friend bool operator==(const FLM_OsUser& a, const FLM_OsUser& b) { return a.name_ == b.name_; }

 private:
  std::string name_;
};

// A Tracklane record: its database and number; null while the number is 0.
class FLM_TLEntityID {
 public:
  FLM_TLEntityID() = default;
  FLM_TLEntityID(std::string database, long number) : database_(std::move(database)), number_(number) {}
  bool is_null() const { return number_ == 0; }
  const std::string& database() const { return database_; }
  long number() const { return number_; }
  // The database followed by the number in eight digits: "SAMPL00000001";
  // empty for a null record.
  std::string display_name() const;

 private:
  std::string database_;
  long number_ = 0;
};

// Any object of a VOB: null while its DBID is 0.
class FLM_VobObject {
 public:
  FLM_VobObject() = default;
  FLM_VobObject(vob_handle_t vob, vob_dbid_t dbid) : vob_(vob), dbid_(dbid) {}

  bool is_null() const { return dbid_ == 0; }
  vob_handle_t vob() const { return vob_; }
  vob_dbid_t dbid() const { return dbid_; }

  // The object's name and selector ("baseline:BL2@\projects"); its title or
  // headline (empty for objects without one).
  int name(std::string* name) const;
  int selector(std::string* selector) const;
  int title(std::string* title) const;
  // Who made the object.
  int owner(FLM_OsUser* owner) const;
  // The replica that masters the object, and whether it is this site's.
  int master(std::string* replica) const;
  int has_local_mastership(bool* local) const;
  int is_obsolete(bool* obsolete) const;

  friend bool operator==(const FLM_VobObject& a, const FLM_VobObject& b) {
    return a.vob_ == b.vob_ && a.dbid_ == b.dbid_;
  }

 protected:
  // The object a selector names, which must be of the meta-type (0: any):
  // the one way the classes below are made from selectors.
  static int FromSelector(const char* call, const char* selector, std::uint32_t mtype, FLM_VobObject* object);

 private:
  vob_handle_t vob_ = 0;
  vob_dbid_t dbid_ = 0;
};

class FLM_Project;
class FLM_Stream;
class FLM_Component;
class FLM_Baseline;
class FLM_Activity;
class FLM_Element;
class FLM_Version;
using FLM_ProjectList = FLM_List<FLM_Project>;
using FLM_StreamList = FLM_List<FLM_Stream>;
using FLM_ComponentList = FLM_List<FLM_Component>;
using FLM_BaselineList = FLM_List<FLM_Baseline>;
using FLM_ActivityList = FLM_List<FLM_Activity>;
using FLM_VersionList = FLM_List<FLM_Version>;

class FLM_Folder : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  static int construct_from_selector(const char* selector, FLM_Folder* folder);
  // The folder it sits in (null for a VOB's root folder).
  int parent(FLM_Folder* parent) const;
  // What it holds: folders and projects, by name.
  int contents(FLM_List<FLM_Folder>* folders, FLM_ProjectList* projects) const;
};
using FLM_FolderList = FLM_List<FLM_Folder>;

class FLM_Project : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  static int construct_from_selector(const char* selector, FLM_Project* project);
  int folder(FLM_Folder* folder) const;
  // Its streams, the integration stream first, then by name.
  int streams(FLM_StreamList* streams) const;
  int default_integration_stream(FLM_Stream* stream) const;
  int is_single_stream(bool* single) const;
  int modifiable_components(FLM_ComponentList* components) const;
  // The promotion level a rebase needs at least (empty for any).
  int rebase_level(std::string* level) const;
  // Whether its activities are bound to Tracklane records, and the database.
  int is_tl_enabled(bool* enabled) const;
  int tl_database(std::string* database) const;
};

// A stream's foundation: the baselines it starts from, one per component.
class FLM_Foundation {
 public:
  FLM_Foundation() = default;
  // A foundation a caller puts together (a tree control writes one).
  // Out of line: FLM_Baseline is complete only below.
  explicit FLM_Foundation(FLM_BaselineList baselines);
  const FLM_BaselineList& baselines() const { return baselines_; }
  std::size_t length() const { return baselines_.length(); }
  const FLM_Baseline& operator[](std::size_t index) const;

 private:
  friend class FLM_Stream;
  FLM_BaselineList baselines_;
};

class FLM_Stream : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  static int construct_from_selector(const char* selector, FLM_Stream* stream);
  // The project the stream belongs to.
  int project(FLM_Project* project) const;
  int is_integration(bool* integration) const;
  int is_read_only(bool* read_only) const;
  // Where it delivers to (null for the integration stream).
  int deliver_stream(FLM_Stream* target) const;
  // The branch type its work goes on.
  int branch_type(std::string* brtype) const;
  // Its activities by name (integration activities included).
  int activities(FLM_ActivityList* activities) const;
  // The components of its foundation.
  int components(FLM_ComponentList* components) const;
  int foundation(FLM_Foundation* foundation) const;
  int recommended_baselines(FLM_BaselineList* baselines) const;
  // The baselines made in it, oldest first.
  int baselines(FLM_BaselineList* baselines) const;
  // The config spec a view of the stream works with: its branch, then the
  // foundation baselines' labels, then \main\LATEST.
  int config_spec(std::string* spec) const;
  // The tags of the views that work in it.
  int views(FLM_StringList* tags) const;
  // A value of the stream's or else its project's policy variables (empty
  // when neither sets it).
  int pvar(const char* name, std::string* value) const;
  // A new activity of the stream, owned by this user, in one command: id is
  // a leaf name free in the project VOB (TBS_ST_ALREADY naming it when
  // taken), or empty for the first free "activity_N"; the headline is
  // required; comment (may be null) goes with its creation event; record
  // must be null (binding a Tracklane record is not offered here).
  int create_activity(const char* id, const char* headline, const char* comment, const FLM_TLEntityID* record,
                      FLM_Activity* activity) const;
};

class FLM_Element : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  // The component root directory element of the element's component: null
  // when the element belongs to no component (its changes are then recorded
  // by no activity).
  int crde(FLM_Element* crde) const;
};

class FLM_Component : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  static int construct_from_selector(const char* selector, FLM_Component* component);
  // The root directory element (null for a component without one).
  int root_directory(FLM_Element* root) const;
  // Its baselines, oldest first (obsolete ones too).
  int baselines(FLM_BaselineList* baselines) const;
};

// Labeling states of a baseline.
inline constexpr int FLM_LABELING_NOT_LABELED = 0;
inline constexpr int FLM_LABELING_INCREMENTAL = 1;
inline constexpr int FLM_LABELING_FULL = 2;
inline constexpr int FLM_LABELING_INITIAL = 3;
inline constexpr int FLM_LABELING_NOTHING_TO_LABEL = 4;

class FLM_Baseline : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  static int construct_from_selector(const char* selector, FLM_Baseline* baseline);
  int component(FLM_Component* component) const;
  // The stream it was made in.
  int stream(FLM_Stream* stream) const;
  // The baseline before it in its component (null for the first).
  int predecessor(FLM_Baseline* pred) const;
  int labeling_status(int* status) const;  // FLM_LABELING_*
  int promotion_level(std::string* level) const;
  // The label type its versions carry (empty when unlabeled).
  int label_type(std::string* lbtype) const;
  // A composite's member baselines (none for another baseline).
  int members(FLM_BaselineList* members) const;
  // The streams whose foundation holds it.
  int streams(FLM_StreamList* streams) const;
};

// Kinds of activities, and the states of an integration activity.
inline constexpr int FLM_ACTIVITY_REGULAR = 0;
inline constexpr int FLM_ACTIVITY_DELIVER = 1;
inline constexpr int FLM_ACTIVITY_REBASE = 2;
inline constexpr int FLM_INTEGRATION_NONE = 0;
inline constexpr int FLM_INTEGRATION_RUNNING = 1;
inline constexpr int FLM_INTEGRATION_DONE = 2;
// The policy variables a deliver or a rebase activity carries.
inline constexpr const char* FLM_PVAR_DELIVER = "FLX_DELIVER";
inline constexpr const char* FLM_PVAR_REBASE = "FLX_REBASE";

// What activities of every kind share.
class FLM_ActivityBase : public FLM_VobObject {
 public:
  using FLM_VobObject::FLM_VobObject;
  // Whether the activity carries the policy variable (its own, not its
  // stream's).
  int pvar_exists(const char* name, bool* exists) const;
};

class FLM_Activity : public FLM_ActivityBase {
 public:
  using FLM_ActivityBase::FLM_ActivityBase;
  static int construct_from_selector(const char* selector, FLM_Activity* activity);
  int headline(std::string* headline) const;
  int stream(FLM_Stream* stream) const;
  int kind(int* kind) const;                // FLM_ACTIVITY_*
  int integration_state(int* state) const;  // FLM_INTEGRATION_*
  // The stream that delivers (for a deliver; null for other activities).
  int source_stream(FLM_Stream* stream) const;
  // The activities a deliver or rebase brings (its contributors), and the
  // baselines it brings.
  int contributors(FLM_ActivityList* contributors) const;
  int integration_baselines(FLM_BaselineList* baselines) const;
  // The contributors in the order they were recorded.
  int contrib_activities(FLM_ActivityList* contributors) const;
  // Whether it is a deliver or a rebase.
  int is_integration_activity(bool* integration) const;
  // The versions of its change set, in the order they were added.
  int change_set(FLM_VersionList* versions) const;
  // The Tracklane record it is bound to (null for none).
  int bound_tl_entity_id(FLM_TLEntityID* record) const;
  // Moves a version of its change set, checked out in the view, to another
  // activity of its stream: TBS_ST_NOT_FOUND when the version is not in its
  // change set or not checked out in the view, TBS_ST_INVALID_ARG for an
  // activity of another stream.
  int move_change_set_version(const FLM_Version& version, const FLM_Activity& to, const char* view_tag) const;
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
  // Every project VOB (a VOB with a root folder), by tag.
  static int project_vobs(FLM_List<FLM_Vob>* vobs);

  bool is_null() const { return handle_ == 0; }
  vob_handle_t handle() const { return handle_; }
  const std::string& tag() const { return tag_; }

  // The root folder of a project VOB (null for another VOB).
  int root_folder(FLM_Folder* folder) const;
  // The promotion levels, lowest first.
  int plevels(FLM_StringList* levels) const;

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
  // The view a pathname goes through ("\\view\TAG\..." or "M:\TAG\...", read
  // lexically). TBS_ST_NOT_FOUND when it goes through no view or the view is gone.
  static int construct_from_view_root(const char* pathname, FLM_View* view);

  bool is_null() const { return tag_.empty(); }
  // The view's root, "\\view\TAG" (empty for a null view).
  std::string view_root() const;
  const std::string& tag() const { return tag_; }
  const tbs_uuid_t& uuid() const { return uuid_; }

  // Starts the view on this machine (its root is there and its root name in
  // the prefix map); a started view is left as it is. TBS_ST_NOT_FOUND when
  // the view is gone.
  int start() const;
  // Stops the view (flags: 0): its root is parked until it starts again and
  // its root name leaves the prefix map. Its drives stay.
  int end(int flags) const;

  // Whether the view works in a stream (a change-management view). TBS_ST_NOT_FOUND
  // when the view is gone.
  int is_flm_view(bool* flm) const;
  // The view's stream: null for a view that is no stream view.
  int stream(FLM_Stream* stream) const;
  // The activity the view's work goes to (null for none).
  int current_activity(FLM_Activity* activity) const;
  // Whether the view's stream's project is Tracklane-enabled.
  int is_tl_enabled(bool* enabled) const;
  // Makes the activity (one of the view's stream's, or null for none) the
  // one the view's work goes to. TBS_ST_INVALID_ARG for an activity of
  // another stream or a view that is no stream view.
  int set_activity(const FLM_Activity& activity) const;

 private:
  std::string tag_;
  tbs_uuid_t uuid_{};
};
