// The change-management model of the local implementation: each query reads
// the objects of a project VOB (vob_objs rows of the change-management
// meta-types) and the facts the flm_ tables keep about them.
#include "flm.h"

#include <cstdio>
#include <string>

#include "local/flm_repo.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "platform/machine.h"
#include "ntpfxmap.h"
#include "view.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;
using namespace client_local::flm;
namespace views = client_local::views;

namespace client_local::flm {

int NeedObject(Store& s, vob_handle_t vob, vob_dbid_t dbid, std::initializer_list<std::uint32_t> kinds, Object* found) {
  const auto loaded = Load(s, vob, dbid);
  if (!loaded) {
    // Named by the kind asked for: "version" for either kind of version.
    std::string what = kinds.size() == 1 ? vob_utl_mtype_to_str(*kinds.begin()) : "object";
    for (const std::uint32_t kind : kinds) {
      if (kind == VOB_MTYPE_VERSION) what = "version";
      if (kind == VOB_MTYPE_FILE_ELEMENT) what = "element";
    }
    Complain("There is no " + what + " " + Num(dbid) + " in VOB " +
             (VobExists(s, vob) ? "\"" + VobTag(s, vob) + "\"" : Num(vob)) + ".");
    return TBS_ST_NOT_FOUND;
  }
  bool fits = kinds.size() == 0;
  for (const std::uint32_t kind : kinds) fits = fits || loaded->mtype == kind;
  if (!fits) return TBS_ST_WRONG_KIND;
  if (found) *found = *loaded;
  return TBS_ST_OK;
}

std::int64_t FactNumber(Store& s, const char* sql, vob_handle_t vob, vob_dbid_t dbid) {
  Statement q(s, sql);
  q.Bind(1, vob).Bind(2, dbid);
  return q.Step() ? q.Int(0) : 0;
}

std::string FactText(Store& s, const char* sql, vob_handle_t vob, vob_dbid_t dbid) {
  Statement q(s, sql);
  q.Bind(1, vob).Bind(2, dbid);
  return q.Step() ? q.Text(0) : std::string();
}

std::string StreamConfigSpec(Store& s, vob_handle_t vob, vob_dbid_t stream) {
  std::string spec = "element * CHECKEDOUT\n";
  const std::string brtype = FactText(s, "SELECT brtype FROM flm_streams WHERE vob = ?1 AND stream = ?2", vob, stream);
  if (!brtype.empty()) spec += "element * \\main\\" + brtype + "\\LATEST\n";
  // Each labeled foundation baseline (a composite's members too) selects its
  // label below its component's root.
  Statement q(s,
              "WITH RECURSIVE bls (baseline) AS (SELECT baseline FROM flm_stream_baselines"
              " WHERE vob = ?1 AND stream = ?2 AND role = 0"
              " UNION SELECT member FROM flm_members m JOIN bls ON m.composite = bls.baseline AND m.vob = ?1)"
              " SELECT b.lbtype, c.root_vob, c.root_elem FROM bls JOIN flm_baselines b ON b.vob = ?1"
              " AND b.baseline = bls.baseline JOIN flm_components c ON c.vob = ?1 AND c.component = b.component"
              " WHERE b.lbtype != '' AND c.root_elem != 0 ORDER BY b.baseline");
  q.Bind(1, vob).Bind(2, stream);
  while (q.Step()) {
    const auto root = Load(s, static_cast<vob_handle_t>(q.Int(1)), static_cast<vob_dbid_t>(q.Int(2)));
    if (root) spec += "element " + VobTag(s, root->vob) + root->name + "\\... " + q.Text(0) + "\n";
  }
  return spec + "element * \\main\\LATEST\n";
}

vob_dbid_t ComponentRootOf(Store& s, const Object& element) {
  Statement q(s, "SELECT DISTINCT root_elem FROM flm_components WHERE root_vob = ?1 AND root_elem != 0");
  q.Bind(1, element.vob);
  vob_dbid_t best = 0;
  std::string best_name;
  while (q.Step()) {
    const auto root = Load(s, element.vob, static_cast<vob_dbid_t>(q.Int(0)));
    if (!root) continue;
    const bool holds = element.name == root->name || root->name.empty() ||
                       (element.name.compare(0, root->name.size(), root->name) == 0 &&
                        element.name[root->name.size()] == '\\');
    if (holds && (best == 0 || root->name.size() > best_name.size())) {
      best = root->dbid;
      best_name = root->name;
    }
  }
  return best;
}

int JoinViewActivity(Store& s, const std::string& view, const Object& element, vob_dbid_t checked_out,
                     const std::string& shown) {
  Statement row(s, "SELECT vob, activity FROM flm_views WHERE view = ?1");
  row.Bind(1, view);
  if (!row.Step() || ComponentRootOf(s, element) == 0) return TBS_ST_OK;
  if (row.Int(1) == 0) {
    Complain("View \"" + view + "\" has no current activity: set one before checking out \"" + shown + "\".");
    return TBS_ST_FAILURE;
  }
  Statement join(s, "INSERT INTO flm_changes (vob, version, activity_vob, activity) VALUES (?1, ?2, ?3, ?4)");
  join.Bind(1, element.vob).Bind(2, checked_out).Bind(3, row.Int(0)).Bind(4, row.Int(1)).Run();
  return TBS_ST_OK;
}

FLM_TLEntityID BoundRecord(Store& s, vob_handle_t vob, vob_dbid_t activity) {
  Statement q(s, "SELECT tl_database, tl_number FROM flm_activities WHERE vob = ?1 AND activity = ?2");
  q.Bind(1, vob).Bind(2, activity);
  if (!q.Step() || q.Int(1) == 0) return {};
  return FLM_TLEntityID(q.Text(0), static_cast<long>(q.Int(1)));
}

FLM_TLEntityID AddRecord(Store& s, const std::string& database, const std::string& type, const std::string& state,
                         const std::string& headline, const std::string& description) {
  Statement known(s, "SELECT 1 FROM tl_types WHERE db = ?1 AND name = ?2");
  known.Bind(1, database).Bind(2, type);
  if (!known.Step()) {
    Complain("The Tracklane database \"" + database + "\" has no record type \"" + type + "\".");
    return {};
  }
  Statement last(s, "SELECT coalesce(max(number), 0) + 1 FROM tl_records WHERE db = ?1");
  last.Bind(1, database).Step();
  const auto number = static_cast<long>(last.Int(0));
  Statement add(s,
                "INSERT INTO tl_records (db, number, type, state, headline, description)"
                " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  add.Bind(1, database).Bind(2, number).Bind(3, type).Bind(4, state).Bind(5, headline).Bind(6, description).Run();
  return FLM_TLEntityID(database, number);
}

}  // namespace client_local::flm

namespace {

std::string UuidText(const tbs_uuid_t& uuid) {
  char text[TBS_UUID_STR_SIZE] = "";
  tbs_uuid_to_str(&uuid, text, sizeof text);
  return text;
}

// The view of a value, which must still be there.
int NeedView(Store& s, const std::string& tag) {
  if (views::LoadView(s, tag)) return TBS_ST_OK;
  Complain("The view \"" + tag + "\" no longer exists.");
  return TBS_ST_NOT_FOUND;
}

// The one shape of a query of a VOB object: logged under the call's name,
// refused for a null object or out-argument, the object checked for its
// kind, then the answer built and handed out whole.
template <class Out, class Work>
int Query(const char* call, const FLM_VobObject& self, std::initializer_list<std::uint32_t> kinds, Out* out,
          Work&& work) {
  return LocalCall(call, {Num(self.vob()), Num(self.dbid())}, NonNull(out) && !self.is_null(), [&](Store& s) {
    Object object;
    if (int rc = NeedObject(s, self, kinds, &object); rc != TBS_ST_OK) return rc;
    Out answer{};
    work(s, object, answer);
    *out = answer;
    return TBS_ST_OK;
  });
}

// The objects of the self's VOB whose DBIDs the query's first column holds;
// parameters 1 and 2 are the VOB and the self's DBID.
template <class T>
void Collect(Store& s, const char* sql, const Object& self, FLM_List<T>& out) {
  Statement q(s, sql);
  q.Bind(1, self.vob).Bind(2, self.dbid);
  while (q.Step()) out.append(T(self.vob, static_cast<vob_dbid_t>(q.Int(0))));
}

// One object of the self's VOB (null for 0).
template <class T>
T Related(Store& s, const char* sql, const Object& self) {
  return T(self.vob, static_cast<vob_dbid_t>(FactNumber(s, sql, self.vob, self.dbid)));
}

bool Flag(Store& s, const char* sql, const Object& self) { return FactNumber(s, sql, self.vob, self.dbid) != 0; }
std::string Fact(Store& s, const char* sql, const Object& self) { return FactText(s, sql, self.vob, self.dbid); }

// Queries of one fact of an object of a kind: the first column of the SQL
// (parameters 1 and 2 the VOB and DBID) as an object of its VOB (or a list
// of them, one a row), a text, a number or a flag.
template <class T>
int RelatedQuery(const char* call, const FLM_VobObject& self, std::uint32_t kind, const char* sql, T* out) {
  return Query(call, self, {kind}, out,
               [sql](Store& s, const Object& o, T& answer) { answer = Related<T>(s, sql, o); });
}
template <class T>
int ListQuery(const char* call, const FLM_VobObject& self, std::uint32_t kind, const char* sql, FLM_List<T>* out) {
  return Query(call, self, {kind}, out,
               [sql](Store& s, const Object& o, FLM_List<T>& answer) { Collect(s, sql, o, answer); });
}
int TextQuery(const char* call, const FLM_VobObject& self, std::uint32_t kind, const char* sql, std::string* out) {
  return Query(call, self, {kind}, out,
               [sql](Store& s, const Object& o, std::string& answer) { answer = Fact(s, sql, o); });
}
int NumberQuery(const char* call, const FLM_VobObject& self, std::uint32_t kind, const char* sql, int* out) {
  return Query(call, self, {kind}, out, [sql](Store& s, const Object& o, int& answer) {
    answer = static_cast<int>(FactNumber(s, sql, o.vob, o.dbid));
  });
}
int FlagQuery(const char* call, const FLM_VobObject& self, std::uint32_t kind, const char* sql, bool* out) {
  return Query(call, self, {kind}, out, [sql](Store& s, const Object& o, bool& answer) { answer = Flag(s, sql, o); });
}

// The view's row of flm_views: its stream's VOB, the stream and the activity.
struct ViewStream {
  vob_handle_t vob = 0;
  vob_dbid_t stream = 0, activity = 0;
};
ViewStream StreamOfView(Store& s, const std::string& tag) {
  Statement q(s, "SELECT vob, stream, activity FROM flm_views WHERE view = ?1");
  q.Bind(1, tag);
  if (!q.Step()) return {};
  return {static_cast<vob_handle_t>(q.Int(0)), static_cast<vob_dbid_t>(q.Int(1)), static_cast<vob_dbid_t>(q.Int(2))};
}

template <class Out, class Work>
int ViewQuery(const char* call, const FLM_View& view, Out* out, Work&& work) {
  return LocalCall(call, {Text(view.tag().c_str())}, NonNull(out) && !view.is_null(), [&](Store& s) {
    if (int rc = NeedView(s, view.tag()); rc != TBS_ST_OK) return rc;
    Out answer{};
    work(s, StreamOfView(s, view.tag()), answer);
    *out = answer;
    return TBS_ST_OK;
  });
}

constexpr const char* kStreamProject = "SELECT project FROM flm_streams WHERE vob = ?1 AND stream = ?2";
constexpr const char* kProjectDatabase = "SELECT tl_database FROM flm_projects WHERE vob = ?1 AND project = ?2";

}  // namespace

// ---- Values ----

std::string FLM_TLEntityID::display_name() const {
  if (is_null()) return {};
  char number[16];
  std::snprintf(number, sizeof number, "%08ld", number_);
  return database_ + number;
}

int FLM_OsUser::current_user(FLM_OsUser* user) {
  return LocalCall("FLM_OsUser::current_user", {}, NonNull(user), [&] {
    const std::string name = plat::MachineUserName();
    if (name.empty()) {
      Complain("The current user's name cannot be read.");
      return TBS_ST_FAILURE;
    }
    *user = FLM_OsUser(name);
    return TBS_ST_OK;
  });
}

int FLM_OsUser::login_name(std::string* name) const {
  return LocalCall("FLM_OsUser::login_name", {Text(name_.c_str())}, NonNull(name) && !is_null(), [&] {
    *name = name_;
    return TBS_ST_OK;
  });
}

FLM_Foundation::FLM_Foundation(FLM_BaselineList baselines) : baselines_(std::move(baselines)) {}

const FLM_Baseline& FLM_Foundation::operator[](std::size_t index) const { return baselines_[index]; }

// ---- Any object ----

int FLM_VobObject::FromSelector(const char* call, const char* selector, std::uint32_t mtype, FLM_VobObject* object) {
  return LocalCall(call, {Text(selector)}, NonNull(selector, object), [&](Store& s) {
    vob_objsel_kind_t kind;
    char name[kPathBufferSize], tag[kNameBufferSize];
    if (vob_utl_parse_objsel(selector, &kind, name, sizeof name, tag, sizeof tag) != TBS_ST_OK || !*tag) {
      Complain("\"" + std::string(selector) + "\" is not a valid object selector.");
      return TBS_ST_INVALID_ARG;
    }
    Statement q(s, "SELECT id FROM vobs WHERE tag = ?1");
    q.Bind(1, std::string(tag));
    const auto vob = q.Step() ? static_cast<vob_handle_t>(q.Int(0)) : vob_handle_t{0};
    const std::uint32_t wanted = vob_utl_objsel_kind_to_mtype(kind);
    const vob_dbid_t found = vob && wanted != VOB_MTYPE_NONE ? FindNamed(s, vob, wanted, name) : 0;
    if (!found) {
      Complain("There is no object \"" + std::string(selector) + "\".");
      return TBS_ST_NOT_FOUND;
    }
    if (mtype != VOB_MTYPE_NONE && wanted != mtype) return TBS_ST_WRONG_KIND;
    *object = FLM_VobObject(vob, found);
    return TBS_ST_OK;
  });
}

int FLM_VobObject::name(std::string* name) const {
  return Query("FLM_VobObject::name", *this, {}, name, [](Store&, const Object& o, std::string& out) { out = o.name; });
}

int FLM_VobObject::selector(std::string* selector) const {
  return Query("FLM_VobObject::selector", *this, {}, selector,
               [](Store& s, const Object& o, std::string& out) { out = Selector(s, o); });
}

int FLM_VobObject::title(std::string* title) const {
  return Query("FLM_VobObject::title", *this, {}, title,
               [](Store&, const Object& o, std::string& out) { out = o.text; });
}

int FLM_VobObject::owner(FLM_OsUser* owner) const {
  return Query("FLM_VobObject::owner", *this, {}, owner, [](Store& s, const Object& o, FLM_OsUser& out) {
    out = FLM_OsUser(Fact(s, "SELECT user FROM vob_events WHERE vob = ?1 AND obj = ?2 ORDER BY id LIMIT 1", o));
  });
}

int FLM_VobObject::master(std::string* replica) const {
  // Every object is mastered by its VOB's original replica.
  return Query("FLM_VobObject::master", *this, {}, replica,
               [](Store&, const Object&, std::string& out) { out = "original"; });
}

int FLM_VobObject::has_local_mastership(bool* local) const {
  // A version is mastered where its branch is.
  return Query("FLM_VobObject::has_local_mastership", *this, {}, local, [](Store& s, const Object& o, bool& out) {
    const bool version = o.mtype == VOB_MTYPE_VERSION || o.mtype == VOB_MTYPE_DIR_VERSION;
    out = MasterReplica(s, o.vob, version ? o.branch : o.dbid) == CurrentReplica(s, o.vob);
  });
}

int FLM_VobObject::is_obsolete(bool* obsolete) const {
  return Query("FLM_VobObject::is_obsolete", *this, {}, obsolete,
               [](Store&, const Object& o, bool& out) { out = o.obsolete; });
}

// ---- Folders and projects ----

int FLM_Folder::construct_from_selector(const char* selector, FLM_Folder* folder) {
  return FromSelector("FLM_Folder::construct_from_selector", selector, VOB_MTYPE_FOLDER, folder);
}

int FLM_Folder::parent(FLM_Folder* parent) const {
  return RelatedQuery("FLM_Folder::parent", *this, VOB_MTYPE_FOLDER,
                      "SELECT parent FROM flm_folders WHERE vob = ?1 AND folder = ?2", parent);
}

int FLM_Folder::contents(FLM_FolderList* folders, FLM_ProjectList* projects) const {
  return LocalCall(
      "FLM_Folder::contents", {Num(vob()), Num(dbid())}, NonNull(folders, projects) && !is_null(), [&](Store& s) {
        Object o;
        if (int rc = NeedObject(s, *this, {VOB_MTYPE_FOLDER}, &o); rc != TBS_ST_OK) return rc;
        FLM_FolderList sub;
        FLM_ProjectList held;
        Collect(s,
                "SELECT f.folder FROM flm_folders f JOIN vob_objs v ON v.vob = f.vob AND v.dbid = f.folder"
                " WHERE f.vob = ?1 AND f.parent = ?2 ORDER BY v.name",
                o, sub);
        Collect(s,
                "SELECT p.project FROM flm_projects p JOIN vob_objs v ON v.vob = p.vob AND v.dbid = p.project"
                " WHERE p.vob = ?1 AND p.folder = ?2 ORDER BY v.name",
                o, held);
        *folders = sub;
        *projects = held;
        return TBS_ST_OK;
      });
}

int FLM_Project::construct_from_selector(const char* selector, FLM_Project* project) {
  return FromSelector("FLM_Project::construct_from_selector", selector, VOB_MTYPE_PROJECT, project);
}

int FLM_Project::folder(FLM_Folder* folder) const {
  return RelatedQuery("FLM_Project::folder", *this, VOB_MTYPE_PROJECT,
                      "SELECT folder FROM flm_projects WHERE vob = ?1 AND project = ?2", folder);
}

int FLM_Project::streams(FLM_StreamList* streams) const {
  return ListQuery("FLM_Project::streams", *this, VOB_MTYPE_PROJECT,
                   "SELECT st.stream FROM flm_streams st JOIN vob_objs v ON v.vob = st.vob AND v.dbid = st.stream"
                   " JOIN flm_projects p ON p.vob = st.vob AND p.project = st.project"
                   " WHERE st.vob = ?1 AND st.project = ?2 ORDER BY st.stream = p.integration DESC, v.name",
                   streams);
}

int FLM_Project::default_integration_stream(FLM_Stream* stream) const {
  return RelatedQuery("FLM_Project::default_integration_stream", *this, VOB_MTYPE_PROJECT,
                      "SELECT integration FROM flm_projects WHERE vob = ?1 AND project = ?2", stream);
}

int FLM_Project::is_single_stream(bool* single) const {
  return FlagQuery("FLM_Project::is_single_stream", *this, VOB_MTYPE_PROJECT,
                   "SELECT single_stream FROM flm_projects WHERE vob = ?1 AND project = ?2", single);
}

int FLM_Project::modifiable_components(FLM_ComponentList* components) const {
  return ListQuery("FLM_Project::modifiable_components", *this, VOB_MTYPE_PROJECT,
                   "SELECT m.component FROM flm_modifiable m JOIN vob_objs v ON v.vob = m.vob AND v.dbid = m.component"
                   " WHERE m.vob = ?1 AND m.project = ?2 ORDER BY v.name",
                   components);
}

int FLM_Project::rebase_level(std::string* level) const {
  return TextQuery("FLM_Project::rebase_level", *this, VOB_MTYPE_PROJECT,
                   "SELECT rebase_level FROM flm_projects WHERE vob = ?1 AND project = ?2", level);
}

int FLM_Project::is_tl_enabled(bool* enabled) const {
  return Query("FLM_Project::is_tl_enabled", *this, {VOB_MTYPE_PROJECT}, enabled,
               [](Store& s, const Object& o, bool& out) { out = !Fact(s, kProjectDatabase, o).empty(); });
}

int FLM_Project::tl_database(std::string* database) const {
  return TextQuery("FLM_Project::tl_database", *this, VOB_MTYPE_PROJECT, kProjectDatabase, database);
}

// ---- Streams ----

int FLM_Stream::construct_from_selector(const char* selector, FLM_Stream* stream) {
  return FromSelector("FLM_Stream::construct_from_selector", selector, VOB_MTYPE_STREAM, stream);
}

int FLM_Stream::project(FLM_Project* project) const {
  return RelatedQuery("FLM_Stream::project", *this, VOB_MTYPE_STREAM, kStreamProject, project);
}

int FLM_Stream::is_integration(bool* integration) const {
  return FlagQuery("FLM_Stream::is_integration", *this, VOB_MTYPE_STREAM,
                   "SELECT integration FROM flm_streams WHERE vob = ?1 AND stream = ?2", integration);
}

int FLM_Stream::is_read_only(bool* read_only) const {
  return FlagQuery("FLM_Stream::is_read_only", *this, VOB_MTYPE_STREAM,
                   "SELECT read_only FROM flm_streams WHERE vob = ?1 AND stream = ?2", read_only);
}

int FLM_Stream::deliver_stream(FLM_Stream* target) const {
  return RelatedQuery("FLM_Stream::deliver_stream", *this, VOB_MTYPE_STREAM,
                      "SELECT deliver_to FROM flm_streams WHERE vob = ?1 AND stream = ?2", target);
}

int FLM_Stream::branch_type(std::string* brtype) const {
  return TextQuery("FLM_Stream::branch_type", *this, VOB_MTYPE_STREAM,
                   "SELECT brtype FROM flm_streams WHERE vob = ?1 AND stream = ?2", brtype);
}

int FLM_Stream::activities(FLM_ActivityList* activities) const {
  return Query("FLM_Stream::activities", *this, {VOB_MTYPE_STREAM}, activities,
               [](Store& s, const Object& o, FLM_ActivityList& out) {
                 Collect(
                     s,
                     "SELECT a.activity FROM flm_activities a JOIN vob_objs v ON v.vob = a.vob AND v.dbid = a.activity"
                     " WHERE a.vob = ?1 AND a.stream = ?2 ORDER BY v.name",
                     o, out);
               });
}

int FLM_Stream::components(FLM_ComponentList* components) const {
  return Query(
      "FLM_Stream::components", *this, {VOB_MTYPE_STREAM}, components,
      [](Store& s, const Object& o, FLM_ComponentList& out) {
        Collect(
            s,
            "SELECT DISTINCT b.component FROM flm_stream_baselines sb JOIN flm_baselines b"
            " ON b.vob = sb.vob AND b.baseline = sb.baseline JOIN vob_objs v ON v.vob = b.vob AND v.dbid = b.component"
            " WHERE sb.vob = ?1 AND sb.stream = ?2 AND sb.role = 0 ORDER BY v.name",
            o, out);
      });
}

namespace {
constexpr const char* kStreamBaselines =
    "SELECT sb.baseline FROM flm_stream_baselines sb JOIN vob_objs v ON v.vob = sb.vob AND v.dbid = sb.baseline"
    " WHERE sb.vob = ?1 AND sb.stream = ?2 AND sb.role = ?3 ORDER BY v.name";
void StreamBaselines(Store& s, const Object& o, int role, FLM_BaselineList& out) {
  Statement q(s, kStreamBaselines);
  q.Bind(1, o.vob).Bind(2, o.dbid).Bind(3, role);
  while (q.Step()) out.append(FLM_Baseline(o.vob, static_cast<vob_dbid_t>(q.Int(0))));
}
}  // namespace

int FLM_Stream::foundation(FLM_Foundation* foundation) const {
  return Query("FLM_Stream::foundation", *this, {VOB_MTYPE_STREAM}, foundation,
               [](Store& s, const Object& o, FLM_Foundation& out) { StreamBaselines(s, o, 0, out.baselines_); });
}

int FLM_Stream::recommended_baselines(FLM_BaselineList* baselines) const {
  return Query("FLM_Stream::recommended_baselines", *this, {VOB_MTYPE_STREAM}, baselines,
               [](Store& s, const Object& o, FLM_BaselineList& out) { StreamBaselines(s, o, 1, out); });
}

int FLM_Stream::baselines(FLM_BaselineList* baselines) const {
  return ListQuery("FLM_Stream::baselines", *this, VOB_MTYPE_STREAM,
                   "SELECT baseline FROM flm_baselines WHERE vob = ?1 AND stream = ?2 ORDER BY baseline", baselines);
}

int FLM_Stream::config_spec(std::string* spec) const {
  return Query("FLM_Stream::config_spec", *this, {VOB_MTYPE_STREAM}, spec,
               [](Store& s, const Object& o, std::string& out) { out = StreamConfigSpec(s, o.vob, o.dbid); });
}

int FLM_Stream::views(FLM_StringList* tags) const {
  return Query("FLM_Stream::views", *this, {VOB_MTYPE_STREAM}, tags,
               [](Store& s, const Object& o, FLM_StringList& out) {
                 Statement q(s, "SELECT view FROM flm_views WHERE vob = ?1 AND stream = ?2 ORDER BY view");
                 q.Bind(1, o.vob).Bind(2, o.dbid);
                 while (q.Step()) out.append(q.Text(0));
               });
}

int FLM_Stream::pvar(const char* name, std::string* value) const {
  return LocalCall("FLM_Stream::pvar", {Num(vob()), Num(dbid()), Text(name)}, NonNull(name, value) && !is_null(),
                   [&](Store& s) {
                     Object o;
                     if (int rc = NeedObject(s, *this, {VOB_MTYPE_STREAM}, &o); rc != TBS_ST_OK) return rc;
                     Statement q(s,
                                 "SELECT value FROM flm_pvars WHERE vob = ?1 AND obj IN (?2, ?3) AND name = ?4"
                                 " ORDER BY obj = ?2 DESC LIMIT 1");
                     q.Bind(1, o.vob)
                         .Bind(2, o.dbid)
                         .Bind(3, FactNumber(s, kStreamProject, o.vob, o.dbid))
                         .Bind(4, std::string(name));
                     *value = q.Step() ? q.Text(0) : std::string();
                     return TBS_ST_OK;
                   });
}

namespace {
// The first "activity_N" that names no activity of the VOB.
std::string FreeActivityName(Store& s, vob_handle_t vob) {
  for (long n = 1;; ++n) {
    const std::string name = "activity_" + std::to_string(n);
    if (!FindNamed(s, vob, VOB_MTYPE_ACTIVITY, name)) return name;
  }
}
}  // namespace

int FLM_Stream::create_activity(const char* id, const char* headline, const char* comment,
                                const FLM_TLEntityID* record, FLM_Activity* activity) const {
  return LocalCall("FLM_Stream::create_activity", {Num(vob()), Num(dbid()), Text(id), Text(headline)},
                   NonNull(id, headline, activity) && !is_null(), [&](Store& s) {
    if (int rc = NeedObject(s, *this, {VOB_MTYPE_STREAM}); rc != TBS_ST_OK) return rc;
    if (std::string(headline).find_first_not_of(" \t") == std::string::npos) {
      Complain("An activity needs a headline.");
      return TBS_ST_INVALID_ARG;
    }
    if (record && !record->is_null()) {
      Complain("A Tracklane record cannot be bound to a new activity here.");
      return TBS_ST_INVALID_ARG;
    }
    const std::string name = *id ? std::string(id) : FreeActivityName(s, vob());
    return AddActivity(s, *this, name.c_str(), headline, nullptr, comment, activity);
  });
}

// ---- Components and baselines ----

int FLM_Component::construct_from_selector(const char* selector, FLM_Component* component) {
  return FromSelector("FLM_Component::construct_from_selector", selector, VOB_MTYPE_COMPONENT, component);
}

int FLM_Component::root_directory(FLM_Element* root) const {
  return Query("FLM_Component::root_directory", *this, {VOB_MTYPE_COMPONENT}, root,
               [](Store& s, const Object& o, FLM_Element& out) {
                 Statement q(s, "SELECT root_vob, root_elem FROM flm_components WHERE vob = ?1 AND component = ?2");
                 q.Bind(1, o.vob).Bind(2, o.dbid);
                 if (q.Step())
                   out = FLM_Element(static_cast<vob_handle_t>(q.Int(0)), static_cast<vob_dbid_t>(q.Int(1)));
               });
}

int FLM_Component::baselines(FLM_BaselineList* baselines) const {
  return ListQuery("FLM_Component::baselines", *this, VOB_MTYPE_COMPONENT,
                   "SELECT baseline FROM flm_baselines WHERE vob = ?1 AND component = ?2 ORDER BY baseline", baselines);
}

int FLM_Baseline::construct_from_selector(const char* selector, FLM_Baseline* baseline) {
  return FromSelector("FLM_Baseline::construct_from_selector", selector, VOB_MTYPE_BASELINE, baseline);
}

int FLM_Baseline::component(FLM_Component* component) const {
  return RelatedQuery("FLM_Baseline::component", *this, VOB_MTYPE_BASELINE,
                      "SELECT component FROM flm_baselines WHERE vob = ?1 AND baseline = ?2", component);
}

int FLM_Baseline::stream(FLM_Stream* stream) const {
  return RelatedQuery("FLM_Baseline::stream", *this, VOB_MTYPE_BASELINE,
                      "SELECT stream FROM flm_baselines WHERE vob = ?1 AND baseline = ?2", stream);
}

int FLM_Baseline::predecessor(FLM_Baseline* pred) const {
  return RelatedQuery("FLM_Baseline::predecessor", *this, VOB_MTYPE_BASELINE,
                      "SELECT pred FROM flm_baselines WHERE vob = ?1 AND baseline = ?2", pred);
}

int FLM_Baseline::labeling_status(int* status) const {
  return NumberQuery("FLM_Baseline::labeling_status", *this, VOB_MTYPE_BASELINE,
                     "SELECT labeling FROM flm_baselines WHERE vob = ?1 AND baseline = ?2", status);
}

int FLM_Baseline::promotion_level(std::string* level) const {
  return TextQuery("FLM_Baseline::promotion_level", *this, VOB_MTYPE_BASELINE,
                   "SELECT plevel FROM flm_baselines WHERE vob = ?1 AND baseline = ?2", level);
}

int FLM_Baseline::label_type(std::string* lbtype) const {
  return TextQuery("FLM_Baseline::label_type", *this, VOB_MTYPE_BASELINE,
                   "SELECT lbtype FROM flm_baselines WHERE vob = ?1 AND baseline = ?2", lbtype);
}

int FLM_Baseline::members(FLM_BaselineList* members) const {
  return ListQuery("FLM_Baseline::members", *this, VOB_MTYPE_BASELINE,
                   "SELECT m.member FROM flm_members m JOIN vob_objs v ON v.vob = m.vob AND v.dbid = m.member"
                   " WHERE m.vob = ?1 AND m.composite = ?2 ORDER BY v.name",
                   members);
}

int FLM_Baseline::streams(FLM_StreamList* streams) const {
  return ListQuery(
      "FLM_Baseline::streams", *this, VOB_MTYPE_BASELINE,
      "SELECT sb.stream FROM flm_stream_baselines sb JOIN vob_objs v ON v.vob = sb.vob AND v.dbid = sb.stream"
      " WHERE sb.vob = ?1 AND sb.baseline = ?2 AND sb.role = 0 ORDER BY v.name",
      streams);
}

// ---- Activities ----

int FLM_ActivityBase::pvar_exists(const char* name, bool* exists) const {
  return LocalCall("FLM_ActivityBase::pvar_exists", {Num(vob()), Num(dbid()), Text(name)},
                   NonNull(name, exists) && !is_null(), [&](Store& s) {
    if (int rc = NeedObject(s, *this, {VOB_MTYPE_ACTIVITY}); rc != TBS_ST_OK) return rc;
    Statement q(s, "SELECT 1 FROM flm_pvars WHERE vob = ?1 AND obj = ?2 AND name = ?3");
    q.Bind(1, vob()).Bind(2, dbid()).Bind(3, std::string(name));
    *exists = q.Step();
    return TBS_ST_OK;
  });
}

int FLM_Activity::construct_from_selector(const char* selector, FLM_Activity* activity) {
  return FromSelector("FLM_Activity::construct_from_selector", selector, VOB_MTYPE_ACTIVITY, activity);
}

int FLM_Activity::headline(std::string* headline) const {
  return Query("FLM_Activity::headline", *this, {VOB_MTYPE_ACTIVITY}, headline,
               [](Store&, const Object& o, std::string& out) { out = o.text; });
}

int FLM_Activity::stream(FLM_Stream* stream) const {
  return RelatedQuery("FLM_Activity::stream", *this, VOB_MTYPE_ACTIVITY,
                      "SELECT stream FROM flm_activities WHERE vob = ?1 AND activity = ?2", stream);
}

int FLM_Activity::kind(int* kind) const {
  return NumberQuery("FLM_Activity::kind", *this, VOB_MTYPE_ACTIVITY,
                     "SELECT kind FROM flm_activities WHERE vob = ?1 AND activity = ?2", kind);
}

int FLM_Activity::integration_state(int* state) const {
  return NumberQuery("FLM_Activity::integration_state", *this, VOB_MTYPE_ACTIVITY,
                     "SELECT state FROM flm_activities WHERE vob = ?1 AND activity = ?2", state);
}

int FLM_Activity::source_stream(FLM_Stream* stream) const {
  return RelatedQuery("FLM_Activity::source_stream", *this, VOB_MTYPE_ACTIVITY,
                      "SELECT source FROM flm_activities WHERE vob = ?1 AND activity = ?2", stream);
}

int FLM_Activity::contributors(FLM_ActivityList* contributors) const {
  return Query(
      "FLM_Activity::contributors", *this, {VOB_MTYPE_ACTIVITY}, contributors,
      [](Store& s, const Object& o, FLM_ActivityList& out) {
        Collect(
            s,
            "SELECT c.contributor FROM flm_contributors c JOIN vob_objs v ON v.vob = c.vob AND v.dbid = c.contributor"
            " WHERE c.vob = ?1 AND c.activity = ?2 ORDER BY v.name",
            o, out);
      });
}

int FLM_Activity::contrib_activities(FLM_ActivityList* contributors) const {
  return Query("FLM_Activity::contrib_activities", *this, {VOB_MTYPE_ACTIVITY}, contributors,
               [](Store& s, const Object& o, FLM_ActivityList& out) {
    Collect(s, "SELECT contributor FROM flm_contributors WHERE vob = ?1 AND activity = ?2 ORDER BY rowid", o, out);
  });
}

int FLM_Activity::is_integration_activity(bool* integration) const {
  return Query("FLM_Activity::is_integration_activity", *this, {VOB_MTYPE_ACTIVITY}, integration,
               [](Store& s, const Object& o, bool& out) {
    out = Flag(s, "SELECT kind != 0 FROM flm_activities WHERE vob = ?1 AND activity = ?2", o);
  });
}

int FLM_Activity::integration_baselines(FLM_BaselineList* baselines) const {
  return ListQuery("FLM_Activity::integration_baselines", *this, VOB_MTYPE_ACTIVITY,
                   "SELECT b.baseline FROM flm_op_baselines b JOIN vob_objs v ON v.vob = b.vob AND v.dbid = b.baseline"
                   " WHERE b.vob = ?1 AND b.activity = ?2 ORDER BY v.name",
                   baselines);
}

int FLM_Activity::change_set(FLM_VersionList* versions) const {
  return Query(
      "FLM_Activity::change_set", *this, {VOB_MTYPE_ACTIVITY}, versions,
      [](Store& s, const Object& o, FLM_VersionList& out) {
        Statement q(s, "SELECT vob, version FROM flm_changes WHERE activity_vob = ?1 AND activity = ?2 ORDER BY rowid");
        q.Bind(1, o.vob).Bind(2, o.dbid);
        while (q.Step())
          out.append(FLM_Version(static_cast<vob_handle_t>(q.Int(0)), static_cast<vob_dbid_t>(q.Int(1))));
      });
}

int FLM_Activity::bound_tl_entity_id(FLM_TLEntityID* record) const {
  return Query("FLM_Activity::bound_tl_entity_id", *this, {VOB_MTYPE_ACTIVITY}, record,
               [](Store& s, const Object& o, FLM_TLEntityID& out) { out = BoundRecord(s, o.vob, o.dbid); });
}

int FLM_Activity::move_change_set_version(const FLM_Version& version, const FLM_Activity& to,
                                          const char* view_tag) const {
  return LocalCall("FLM_Activity::move_change_set_version",
                   {Num(dbid()), Num(version.dbid()), Num(to.dbid()), Text(view_tag)},
                   NonNull(view_tag) && !is_null() && !to.is_null() && !version.is_null(), [&](Store& s) {
    if (int rc = NeedObject(s, *this, {VOB_MTYPE_ACTIVITY}); rc != TBS_ST_OK) return rc;
    if (int rc = NeedObject(s, to, {VOB_MTYPE_ACTIVITY}); rc != TBS_ST_OK) return rc;
    const char* stream_of = "SELECT stream FROM flm_activities WHERE vob = ?1 AND activity = ?2";
    if (to.vob() != vob() || FactNumber(s, stream_of, vob(), dbid()) != FactNumber(s, stream_of, to.vob(), to.dbid())) {
      Complain("The activity is not one of the same stream's.");
      return TBS_ST_INVALID_ARG;
    }
    Statement held(s, "SELECT 1 FROM vob_checkouts WHERE vob = ?1 AND version = ?2 AND view = ?3");
    held.Bind(1, version.vob()).Bind(2, version.dbid()).Bind(3, std::string(view_tag));
    if (!held.Step()) {
      Complain("The version is not checked out in view \"" + std::string(view_tag) + "\".");
      return TBS_ST_NOT_FOUND;
    }
    Statement move(s, "UPDATE flm_changes SET activity_vob = ?3, activity = ?4 WHERE vob = ?1 AND version = ?2"
                      " AND activity_vob = ?5 AND activity = ?6");
    move.Bind(1, version.vob()).Bind(2, version.dbid()).Bind(3, to.vob()).Bind(4, to.dbid());
    move.Bind(5, vob()).Bind(6, dbid()).Run();
    if (Changes(s) == 0) {
      Complain("The version is not in the activity's change set.");
      return TBS_ST_NOT_FOUND;
    }
    return TBS_ST_OK;
  });
}

// ---- Elements and versions ----

int FLM_Element::crde(FLM_Element* crde) const {
  return Query("FLM_Element::crde", *this, {VOB_MTYPE_DIR_ELEMENT, VOB_MTYPE_FILE_ELEMENT}, crde,
               [](Store& s, const Object& o, FLM_Element& out) {
                 if (const vob_dbid_t root = ComponentRootOf(s, o)) out = FLM_Element(o.vob, root);
               });
}

int FLM_Version::element(FLM_Element* element) const {
  return Query("FLM_Version::element", *this, {VOB_MTYPE_DIR_VERSION, VOB_MTYPE_VERSION}, element,
               [](Store&, const Object& o, FLM_Element& out) { out = FLM_Element(o.vob, o.elem); });
}

int FLM_Version::activity(FLM_Activity* activity) const {
  return Query("FLM_Version::activity", *this, {VOB_MTYPE_DIR_VERSION, VOB_MTYPE_VERSION}, activity,
               [](Store& s, const Object& o, FLM_Activity& out) {
                 Statement q(s, "SELECT activity_vob, activity FROM flm_changes WHERE vob = ?1 AND version = ?2");
                 q.Bind(1, o.vob).Bind(2, o.dbid);
                 if (q.Step())
                   out = FLM_Activity(static_cast<vob_handle_t>(q.Int(0)), static_cast<vob_dbid_t>(q.Int(1)));
               });
}

// ---- VOBs ----

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

int FLM_Vob::project_vobs(FLM_List<FLM_Vob>* vobs) {
  return LocalCall("FLM_Vob::project_vobs", {}, NonNull(vobs), [&](Store& s) {
    FLM_List<FLM_Vob> found;
    Statement q(s,
                "SELECT v.id, v.tag FROM vobs v WHERE EXISTS (SELECT 1 FROM flm_folders f"
                " WHERE f.vob = v.id AND f.parent = 0) ORDER BY v.tag");
    while (q.Step()) {
      FLM_Vob made;
      made.handle_ = static_cast<vob_handle_t>(q.Int(0));
      made.tag_ = q.Text(1);
      found.append(made);
    }
    *vobs = found;
    return TBS_ST_OK;
  });
}

int FLM_Vob::root_folder(FLM_Folder* folder) const {
  return LocalCall("FLM_Vob::root_folder", {Num(handle_)}, NonNull(folder) && !is_null(), [&](Store& s) {
    if (!VobExists(s, handle_)) {
      Complain("The VOB handle " + Num(handle_) + " names no VOB.");
      return TBS_ST_NOT_FOUND;
    }
    *folder = FLM_Folder(handle_, static_cast<vob_dbid_t>(FactNumber(
                                      s, "SELECT folder FROM flm_folders WHERE vob = ?1 AND parent = ?2", handle_, 0)));
    return TBS_ST_OK;
  });
}

int FLM_Vob::plevels(FLM_StringList* levels) const {
  return LocalCall("FLM_Vob::plevels", {Num(handle_)}, NonNull(levels) && !is_null(), [&](Store& s) {
    if (!VobExists(s, handle_)) {
      Complain("The VOB handle " + Num(handle_) + " names no VOB.");
      return TBS_ST_NOT_FOUND;
    }
    FLM_StringList found;
    Statement q(s, "SELECT name FROM flm_plevels WHERE vob = ?1 ORDER BY position");
    q.Bind(1, handle_);
    while (q.Step()) found.append(q.Text(0));
    *levels = found;
    return TBS_ST_OK;
  });
}

// ---- Views ----

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

int FLM_View::construct_from_view_root(const char* pathname, FLM_View* view) {
  return LocalCall("FLM_View::construct_from_view_root", {Text(pathname)}, NonNull(pathname, view), [&] {
    std::string tag, rest;
    if (!SplitViewName(BackslashName(pathname), &tag, &rest) || tag.empty()) {
      Complain("\"" + std::string(pathname) + "\" is not a pathname in a view.");
      return TBS_ST_NOT_FOUND;
    }
    return FLM_View::construct_from_tag(tag.c_str(), view);
  });
}

int FLM_View::start() const {
  return LocalCall("FLM_View::start", {tag_}, !is_null(), [&] {
    if (view_is_active(tag_.c_str())) return TBS_ST_OK;
    if (int rc = view_register_view_tag(tag_.c_str())) return rc;
    return ntpfxmap_register(view_root().c_str());
  });
}

int FLM_View::end(int flags) const {
  return LocalCall("FLM_View::end", {tag_, Num(flags)}, !is_null() && flags == 0, [&] {
    if (int rc = view_mfs_unregister_tag(tag_.c_str())) return rc;
    const int unmapped = ntpfxmap_unregister(view_root().c_str());
    return unmapped == TBS_ST_NOT_FOUND ? TBS_ST_OK : unmapped;  // not started through start()
  });
}

std::string FLM_View::view_root() const { return is_null() ? std::string() : "\\\\view\\" + tag_; }

int FLM_View::is_flm_view(bool* flm) const {
  return ViewQuery("FLM_View::is_flm_view", *this, flm,
                   [](Store&, const ViewStream& in, bool& out) { out = in.stream != 0; });
}

int FLM_View::stream(FLM_Stream* stream) const {
  return ViewQuery("FLM_View::stream", *this, stream,
                   [](Store&, const ViewStream& in, FLM_Stream& out) { out = FLM_Stream(in.vob, in.stream); });
}

int FLM_View::current_activity(FLM_Activity* activity) const {
  return ViewQuery("FLM_View::current_activity", *this, activity,
                   [](Store&, const ViewStream& in, FLM_Activity& out) { out = FLM_Activity(in.vob, in.activity); });
}

int FLM_View::set_activity(const FLM_Activity& activity) const {
  return LocalCall("FLM_View::set_activity", {Text(tag_.c_str()), Num(activity.dbid())}, !is_null(), [&](Store& s) {
    if (int rc = NeedView(s, tag_); rc != TBS_ST_OK) return rc;
    const ViewStream in = StreamOfView(s, tag_);
    if (in.stream == 0) {
      Complain("View \"" + tag_ + "\" works in no stream: it has no activity.");
      return TBS_ST_INVALID_ARG;
    }
    if (!activity.is_null()) {
      if (int rc = NeedObject(s, activity, {VOB_MTYPE_ACTIVITY}); rc != TBS_ST_OK) return rc;
      if (activity.vob() != in.vob ||
          static_cast<vob_dbid_t>(FactNumber(s, "SELECT stream FROM flm_activities WHERE vob = ?1 AND activity = ?2",
                                             activity.vob(), activity.dbid())) != in.stream) {
        Complain("The activity is not one of the view's stream's.");
        return TBS_ST_INVALID_ARG;
      }
    }
    Statement set(s, "UPDATE flm_views SET activity = ?2 WHERE view = ?1");
    set.Bind(1, tag_).Bind(2, activity.dbid()).Run();
    return TBS_ST_OK;
  });
}

int FLM_View::is_tl_enabled(bool* enabled) const {
  return ViewQuery("FLM_View::is_tl_enabled", *this, enabled, [](Store& s, const ViewStream& in, bool& out) {
    const auto project = static_cast<vob_dbid_t>(FactNumber(s, kStreamProject, in.vob, in.stream));
    out = in.stream != 0 && !FactText(s, kProjectDatabase, in.vob, project).empty();
  });
}
