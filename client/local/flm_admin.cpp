// The builders of the change-management model: each one command of the
// store, so a builder that fails leaves nothing behind.
#include "flm_admin.h"

#include <string>

#include "local/flm_repo.h"
#include "local/local_call.h"
#include "local/view_root.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;
using namespace client_local::flm;
namespace views = client_local::views;

namespace {

constexpr int kFoundation = 0;
constexpr int kRecommended = 1;

std::string Nonnull(const char* text) { return text ? text : ""; }

// Runs a statement whose parameters are the numbers given, in order.
void Run(Store& s, const char* sql, std::initializer_list<std::int64_t> values) {
  Statement q(s, sql);
  int index = 1;
  for (const std::int64_t value : values) q.Bind(index++, value);
  q.Run();
}

// Two objects of one VOB, each of its kind.
int NeedPair(Store& s, const FLM_VobObject& a, std::uint32_t a_kind, const FLM_VobObject& b, std::uint32_t b_kind) {
  if (a.vob() != b.vob()) {
    Complain("The objects are in different VOBs.");
    return TBS_ST_INVALID_ARG;
  }
  if (int rc = NeedObject(s, a, {a_kind}); rc != TBS_ST_OK) return rc;
  return NeedObject(s, b, {b_kind});
}

int AddStreamBaseline(const char* call, const FLM_Stream& stream, const FLM_Baseline& baseline, int role) {
  return LocalCall(
      call, {Num(stream.vob()), Num(stream.dbid()), Num(baseline.dbid())}, !stream.is_null() && !baseline.is_null(),
      [&](Store& s) {
        if (int rc = NeedPair(s, stream, VOB_MTYPE_STREAM, baseline, VOB_MTYPE_BASELINE); rc != TBS_ST_OK) return rc;
        Run(s, "INSERT OR IGNORE INTO flm_stream_baselines (vob, stream, role, baseline) VALUES (?1, ?2, ?3, ?4)",
            {stream.vob(), stream.dbid(), role, baseline.dbid()});
        return TBS_ST_OK;
      });
}

}  // namespace

namespace client_local::flm {

int MakeObject(Store& s, vob_handle_t vob, std::uint32_t mtype, const char* name, const char* title,
               const char* owner, vob_dbid_t* made, const char* comment) {
  if (!VobExists(s, vob)) {
    Complain("The VOB handle " + Num(vob) + " names no VOB.");
    return TBS_ST_NOT_FOUND;
  }
  if (!ValidLeafName(name)) {
    Complain(BadNameText(name));
    return TBS_ST_INVALID_ARG;
  }
  if (FindNamed(s, vob, mtype, name)) {
    Complain("There is already a " + std::string(vob_utl_mtype_to_str(mtype)) + " \"" + name + "\" in " +
             VobTag(s, vob) + ".");
    return TBS_ST_ALREADY;
  }
  Object o;
  o.vob = vob;
  o.mtype = mtype;
  o.name = name;
  o.text = Nonnull(title);
  *made = Insert(s, o, std::string("create ") + vob_utl_mtype_to_str(mtype), Nonnull(comment));
  if (owner && *owner) {
    Statement set(s, "UPDATE vob_events SET user = ?3 WHERE id = (SELECT min(id) FROM vob_events"
                     " WHERE vob = ?1 AND obj = ?2)");
    set.Bind(1, vob).Bind(2, *made).Bind(3, std::string(owner)).Run();
  }
  return TBS_ST_OK;
}

int AddActivity(Store& s, const FLM_Stream& stream, const char* name, const char* headline, const char* owner,
                const char* comment, FLM_Activity* activity) {
  vob_dbid_t made = 0;
  if (int rc = MakeObject(s, stream.vob(), VOB_MTYPE_ACTIVITY, name, headline, owner, &made, comment); rc != TBS_ST_OK)
    return rc;
  Run(s, "INSERT INTO flm_activities (vob, activity, stream, kind, state) VALUES (?1, ?2, ?3, ?4, ?5)",
      {stream.vob(), made, stream.dbid(), FLM_ACTIVITY_REGULAR, FLM_INTEGRATION_NONE});
  *activity = FLM_Activity(stream.vob(), made);
  return TBS_ST_OK;
}

}  // namespace client_local::flm

int flm_admin_mkrootfolder(vob_handle_t vob, FLM_Folder* root) {
  return LocalCall("flm_admin_mkrootfolder", {Num(vob)}, NonNull(root), [&](Store& s) {
    vob_dbid_t folder =
        static_cast<vob_dbid_t>(FactNumber(s, "SELECT folder FROM flm_folders WHERE vob = ?1 AND parent = ?2", vob, 0));
    if (!folder) {
      if (int rc = MakeObject(s, vob, VOB_MTYPE_FOLDER, "RootFolder", "", nullptr, &folder); rc != TBS_ST_OK) return rc;
      Run(s, "INSERT INTO flm_folders (vob, folder, parent) VALUES (?1, ?2, 0)", {vob, folder});
    }
    *root = FLM_Folder(vob, folder);
    return TBS_ST_OK;
  });
}

int flm_admin_set_plevels(vob_handle_t vob, const FLM_StringList& levels) {
  return LocalCall("flm_admin_set_plevels", {Num(vob), Num(static_cast<std::int64_t>(levels.length()))}, true,
                   [&](Store& s) {
                     if (!VobExists(s, vob)) return TBS_ST_NOT_FOUND;
                     Run(s, "DELETE FROM flm_plevels WHERE vob = ?1", {vob});
                     std::int64_t position = 0;
                     for (const std::string& level : levels) {
                       if (!ValidLeafName(level)) {
                         Complain(BadNameText(level));
                         return TBS_ST_INVALID_ARG;
                       }
                       Statement add(s, "INSERT INTO flm_plevels (vob, position, name) VALUES (?1, ?2, ?3)");
                       add.Bind(1, vob).Bind(2, position++).Bind(3, level).Run();
                     }
                     return TBS_ST_OK;
                   });
}

int flm_admin_mkfolder(const FLM_Folder& parent, const char* name, FLM_Folder* folder) {
  return LocalCall("flm_admin_mkfolder", {Num(parent.vob()), Num(parent.dbid()), Text(name)},
                   NonNull(name, folder) && !parent.is_null(), [&](Store& s) {
                     if (int rc = NeedObject(s, parent, {VOB_MTYPE_FOLDER}); rc != TBS_ST_OK) return rc;
                     vob_dbid_t made = 0;
                     if (int rc = MakeObject(s, parent.vob(), VOB_MTYPE_FOLDER, name, "", nullptr, &made);
                         rc != TBS_ST_OK)
                       return rc;
                     Run(s, "INSERT INTO flm_folders (vob, folder, parent) VALUES (?1, ?2, ?3)",
                         {parent.vob(), made, parent.dbid()});
                     *folder = FLM_Folder(parent.vob(), made);
                     return TBS_ST_OK;
                   });
}

int flm_admin_mkproject(const FLM_Folder& folder, const char* name, const char* title, bool single_stream,
                        FLM_Project* project) {
  return LocalCall("flm_admin_mkproject", {Num(folder.vob()), Num(folder.dbid()), Text(name), Text(title)},
                   NonNull(name, title, project) && !folder.is_null(), [&](Store& s) {
                     if (int rc = NeedObject(s, folder, {VOB_MTYPE_FOLDER}); rc != TBS_ST_OK) return rc;
                     vob_dbid_t made = 0;
                     if (int rc = MakeObject(s, folder.vob(), VOB_MTYPE_PROJECT, name, title, nullptr, &made);
                         rc != TBS_ST_OK)
                       return rc;
                     Run(s, "INSERT INTO flm_projects (vob, project, folder, single_stream) VALUES (?1, ?2, ?3, ?4)",
                         {folder.vob(), made, folder.dbid(), single_stream ? 1 : 0});
                     *project = FLM_Project(folder.vob(), made);
                     return TBS_ST_OK;
                   });
}

int flm_admin_set_project_tl(const FLM_Project& project, const char* database, const FLM_StringList& types) {
  return LocalCall(
      "flm_admin_set_project_tl", {Num(project.vob()), Num(project.dbid()), Text(database)},
      NonNull(database) && !project.is_null() && ValidLeafName(database), [&](Store& s) {
        if (int rc = NeedObject(s, project, {VOB_MTYPE_PROJECT}); rc != TBS_ST_OK) return rc;
        Statement set(s, "UPDATE flm_projects SET tl_database = ?3 WHERE vob = ?1 AND project = ?2");
        set.Bind(1, project.vob()).Bind(2, project.dbid()).Bind(3, std::string(database)).Run();
        Run(s, "DELETE FROM tl_project_types WHERE vob = ?1 AND project = ?2", {project.vob(), project.dbid()});
        for (const std::string& type : types) {
          Statement known(s, "SELECT 1 FROM tl_types WHERE db = ?1 AND name = ?2");
          known.Bind(1, std::string(database)).Bind(2, type);
          if (!known.Step()) {
            Complain("The Tracklane database " + std::string(database) + " has no record type \"" + type + "\".");
            return TBS_ST_NOT_FOUND;
          }
          Statement add(s, "INSERT OR IGNORE INTO tl_project_types (vob, project, type) VALUES (?1, ?2, ?3)");
          add.Bind(1, project.vob()).Bind(2, project.dbid()).Bind(3, type).Run();
        }
        return TBS_ST_OK;
      });
}

int flm_admin_set_modifiable(const FLM_Project& project, const FLM_Component& component) {
  return LocalCall("flm_admin_set_modifiable", {Num(project.vob()), Num(project.dbid()), Num(component.dbid())},
                   !project.is_null() && !component.is_null(), [&](Store& s) {
                     if (int rc = NeedPair(s, project, VOB_MTYPE_PROJECT, component, VOB_MTYPE_COMPONENT);
                         rc != TBS_ST_OK)
                       return rc;
                     Run(s, "INSERT OR IGNORE INTO flm_modifiable (vob, project, component) VALUES (?1, ?2, ?3)",
                         {project.vob(), project.dbid(), component.dbid()});
                     return TBS_ST_OK;
                   });
}

int flm_admin_mkcomponent(vob_handle_t vob, const char* name, vob_handle_t root_vob, vob_dbid_t root_elem,
                          FLM_Component* component) {
  return LocalCall("flm_admin_mkcomponent", {Num(vob), Text(name), Num(root_vob), Num(root_elem)},
                   NonNull(name, component), [&](Store& s) {
                     if (root_elem) {
                       if (int rc = NeedObject(s, root_vob, root_elem, {VOB_MTYPE_DIR_ELEMENT}); rc != TBS_ST_OK)
                         return rc;
                       Statement taken(s, "SELECT 1 FROM flm_components WHERE root_vob = ?1 AND root_elem = ?2");
                       taken.Bind(1, root_vob).Bind(2, root_elem);
                       if (taken.Step()) {
                         Complain("The directory is already the root of a component.");
                         return TBS_ST_ALREADY;
                       }
                     }
                     vob_dbid_t made = 0;
                     if (int rc = MakeObject(s, vob, VOB_MTYPE_COMPONENT, name, "", nullptr, &made); rc != TBS_ST_OK)
                       return rc;
                     Run(s, "INSERT INTO flm_components (vob, component, root_vob, root_elem) VALUES (?1, ?2, ?3, ?4)",
                         {vob, made, root_elem ? root_vob : 0, root_elem});
                     *component = FLM_Component(vob, made);
                     return TBS_ST_OK;
                   });
}

int flm_admin_mkstream(const FLM_Project& project, const char* name, const char* title, bool integration,
                       const char* brtype, const char* owner, FLM_Stream* stream) {
  return LocalCall(
      "flm_admin_mkstream",
      {Num(project.vob()), Num(project.dbid()), Text(name), Text(title), Num(integration), Text(brtype)},
      NonNull(name, title, brtype, stream) && !project.is_null() && ValidLeafName(brtype), [&](Store& s) {
        if (int rc = NeedObject(s, project, {VOB_MTYPE_PROJECT}); rc != TBS_ST_OK) return rc;
        const auto target = static_cast<vob_dbid_t>(FactNumber(
            s, "SELECT integration FROM flm_projects WHERE vob = ?1 AND project = ?2", project.vob(), project.dbid()));
        if (!integration && !target) {
          Complain("The project has no integration stream to deliver to.");
          return TBS_ST_NOT_FOUND;
        }
        vob_dbid_t made = 0;
        if (int rc = MakeObject(s, project.vob(), VOB_MTYPE_STREAM, name, title, owner, &made); rc != TBS_ST_OK)
          return rc;
        Statement add(s,
                      "INSERT INTO flm_streams (vob, stream, project, integration, deliver_to, brtype)"
                      " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
        add.Bind(1, project.vob()).Bind(2, made).Bind(3, project.dbid()).Bind(4, integration ? 1 : 0);
        add.Bind(5, integration ? 0 : target).Bind(6, std::string(brtype)).Run();
        if (integration && !target)
          Run(s, "UPDATE flm_projects SET integration = ?3 WHERE vob = ?1 AND project = ?2",
              {project.vob(), project.dbid(), made});
        *stream = FLM_Stream(project.vob(), made);
        return TBS_ST_OK;
      });
}

int flm_admin_mkbaseline(const FLM_Stream& stream, const FLM_Component& component, const char* name,
                         const FLM_Baseline& pred, int labeling, const char* plevel, const char* lbtype,
                         FLM_Baseline* baseline) {
  return LocalCall(
      "flm_admin_mkbaseline",
      {Num(stream.dbid()), Num(component.dbid()), Text(name), Num(pred.dbid()), Num(labeling), Text(plevel),
       Text(lbtype)},
      NonNull(name, plevel, lbtype, baseline) && !stream.is_null() && !component.is_null() &&
          labeling >= FLM_LABELING_NOT_LABELED && labeling <= FLM_LABELING_NOTHING_TO_LABEL,
      [&](Store& s) {
        if (int rc = NeedPair(s, stream, VOB_MTYPE_STREAM, component, VOB_MTYPE_COMPONENT); rc != TBS_ST_OK) return rc;
        if (!pred.is_null()) {
          if (int rc = NeedPair(s, pred, VOB_MTYPE_BASELINE, component, VOB_MTYPE_COMPONENT); rc != TBS_ST_OK)
            return rc;
        }
        if (*plevel) {
          Statement level(s, "SELECT 1 FROM flm_plevels WHERE vob = ?1 AND name = ?2");
          level.Bind(1, stream.vob()).Bind(2, std::string(plevel));
          if (!level.Step()) {
            Complain("There is no promotion level \"" + std::string(plevel) + "\".");
            return TBS_ST_NOT_FOUND;
          }
        }
        vob_dbid_t made = 0;
        if (int rc = MakeObject(s, stream.vob(), VOB_MTYPE_BASELINE, name, "", nullptr, &made); rc != TBS_ST_OK)
          return rc;
        Statement add(s,
                      "INSERT INTO flm_baselines (vob, baseline, component, stream, pred, labeling, plevel, lbtype)"
                      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
        add.Bind(1, stream.vob()).Bind(2, made).Bind(3, component.dbid()).Bind(4, stream.dbid()).Bind(5, pred.dbid());
        add.Bind(6, labeling).Bind(7, std::string(plevel)).Bind(8, std::string(lbtype)).Run();
        *baseline = FLM_Baseline(stream.vob(), made);
        return TBS_ST_OK;
      });
}

int flm_admin_add_member(const FLM_Baseline& composite, const FLM_Baseline& member) {
  return LocalCall("flm_admin_add_member", {Num(composite.vob()), Num(composite.dbid()), Num(member.dbid())},
                   !composite.is_null() && !member.is_null() && !(composite == member), [&](Store& s) {
                     if (int rc = NeedPair(s, composite, VOB_MTYPE_BASELINE, member, VOB_MTYPE_BASELINE);
                         rc != TBS_ST_OK)
                       return rc;
                     Run(s, "INSERT OR IGNORE INTO flm_members (vob, composite, member) VALUES (?1, ?2, ?3)",
                         {composite.vob(), composite.dbid(), member.dbid()});
                     return TBS_ST_OK;
                   });
}

int flm_admin_add_foundation(const FLM_Stream& stream, const FLM_Baseline& baseline) {
  return AddStreamBaseline("flm_admin_add_foundation", stream, baseline, kFoundation);
}

int flm_admin_add_recommended(const FLM_Stream& stream, const FLM_Baseline& baseline) {
  return AddStreamBaseline("flm_admin_add_recommended", stream, baseline, kRecommended);
}

int flm_admin_mkactivity(const FLM_Stream& stream, const char* name, const char* headline, const char* owner,
                         FLM_Activity* activity) {
  return LocalCall("flm_admin_mkactivity", {Num(stream.vob()), Num(stream.dbid()), Text(name), Text(headline)},
                   NonNull(name, headline, activity) && !stream.is_null(), [&](Store& s) {
    if (int rc = NeedObject(s, stream, {VOB_MTYPE_STREAM}); rc != TBS_ST_OK) return rc;
    return AddActivity(s, stream, name, headline, owner, nullptr, activity);
  });
}

int flm_admin_set_integration(const FLM_Activity& activity, int kind, int state, const FLM_Stream& source) {
  return LocalCall("flm_admin_set_integration", {Num(activity.dbid()), Num(kind), Num(state), Num(source.dbid())},
                   !activity.is_null() && !source.is_null() && (kind == FLM_ACTIVITY_DELIVER || kind == FLM_ACTIVITY_REBASE) &&
                       (state == FLM_INTEGRATION_RUNNING || state == FLM_INTEGRATION_DONE),
                   [&](Store& s) {
    if (int rc = NeedPair(s, activity, VOB_MTYPE_ACTIVITY, source, VOB_MTYPE_STREAM); rc != TBS_ST_OK) return rc;
    Run(s, "UPDATE flm_activities SET kind = ?3, state = ?4, source = ?5 WHERE vob = ?1 AND activity = ?2",
        {activity.vob(), activity.dbid(), kind, state, source.dbid()});
    // A deliver or rebase carries the policy variable that tells its kind.
    Statement mark(s, "INSERT OR REPLACE INTO flm_pvars (vob, obj, name, value) VALUES (?1, ?2, ?3, ?4)");
    mark.Bind(1, activity.vob()).Bind(2, activity.dbid());
    mark.Bind(3, std::string(kind == FLM_ACTIVITY_DELIVER ? FLM_PVAR_DELIVER : FLM_PVAR_REBASE));
    mark.Bind(4, Num(source.dbid())).Run();
    return TBS_ST_OK;
  });
}

int flm_admin_add_contributor(const FLM_Activity& integration, const FLM_Activity& contributor) {
  return LocalCall("flm_admin_add_contributor", {Num(integration.dbid()), Num(contributor.dbid())},
                   !integration.is_null() && !contributor.is_null() && !(integration == contributor), [&](Store& s) {
                     if (int rc = NeedPair(s, integration, VOB_MTYPE_ACTIVITY, contributor, VOB_MTYPE_ACTIVITY);
                         rc != TBS_ST_OK)
                       return rc;
                     Run(s, "INSERT OR IGNORE INTO flm_contributors (vob, activity, contributor) VALUES (?1, ?2, ?3)",
                         {integration.vob(), integration.dbid(), contributor.dbid()});
                     return TBS_ST_OK;
                   });
}

int flm_admin_add_integration_baseline(const FLM_Activity& integration, const FLM_Baseline& baseline) {
  return LocalCall("flm_admin_add_integration_baseline", {Num(integration.dbid()), Num(baseline.dbid())},
                   !integration.is_null() && !baseline.is_null(), [&](Store& s) {
                     if (int rc = NeedPair(s, integration, VOB_MTYPE_ACTIVITY, baseline, VOB_MTYPE_BASELINE);
                         rc != TBS_ST_OK)
                       return rc;
                     Run(s, "INSERT OR IGNORE INTO flm_op_baselines (vob, activity, baseline) VALUES (?1, ?2, ?3)",
                         {integration.vob(), integration.dbid(), baseline.dbid()});
                     return TBS_ST_OK;
                   });
}

int flm_admin_add_change(const FLM_Activity& activity, const FLM_Version& version) {
  return LocalCall(
      "flm_admin_add_change", {Num(activity.dbid()), Num(version.vob()), Num(version.dbid())},
      !activity.is_null() && !version.is_null(), [&](Store& s) {
        if (int rc = NeedObject(s, activity, {VOB_MTYPE_ACTIVITY}); rc != TBS_ST_OK) return rc;
        if (int rc = NeedObject(s, version, {VOB_MTYPE_VERSION, VOB_MTYPE_DIR_VERSION}); rc != TBS_ST_OK) return rc;
        Statement held(s, "SELECT activity_vob, activity FROM flm_changes WHERE vob = ?1 AND version = ?2");
        held.Bind(1, version.vob()).Bind(2, version.dbid());
        if (held.Step()) {
          if (FLM_VobObject(static_cast<vob_handle_t>(held.Int(0)), static_cast<vob_dbid_t>(held.Int(1))) == activity)
            return TBS_ST_OK;
          Complain("The version is already in the change set of another activity.");
          return TBS_ST_ALREADY;
        }
        Run(s, "INSERT INTO flm_changes (vob, version, activity_vob, activity) VALUES (?1, ?2, ?3, ?4)",
            {version.vob(), version.dbid(), activity.vob(), activity.dbid()});
        return TBS_ST_OK;
      });
}

int flm_admin_set_pvar(const FLM_VobObject& object, const char* name, const char* value) {
  return LocalCall(
      "flm_admin_set_pvar", {Num(object.vob()), Num(object.dbid()), Text(name), Text(value)},
      NonNull(name, value) && !object.is_null() && ValidLeafName(Nonnull(name)), [&](Store& s) {
        if (int rc = NeedObject(s, object, {VOB_MTYPE_PROJECT, VOB_MTYPE_STREAM}); rc != TBS_ST_OK) return rc;
        Statement set(s, "INSERT OR REPLACE INTO flm_pvars (vob, obj, name, value) VALUES (?1, ?2, ?3, ?4)");
        set.Bind(1, object.vob()).Bind(2, object.dbid()).Bind(3, std::string(name)).Bind(4, std::string(value)).Run();
        return TBS_ST_OK;
      });
}

int flm_admin_set_view_stream(const char* view, const FLM_Stream& stream, const FLM_Activity& activity) {
  return LocalCall(
      "flm_admin_set_view_stream", {Text(view), Num(stream.vob()), Num(stream.dbid()), Num(activity.dbid())},
      NonNull(view) && !stream.is_null(), [&](Store& s) {
        if (!views::LoadView(s, view)) {
          Complain("There is no view with the tag \"" + std::string(view) + "\".");
          return TBS_ST_NOT_FOUND;
        }
        if (int rc = NeedObject(s, stream, {VOB_MTYPE_STREAM}); rc != TBS_ST_OK) return rc;
        if (!activity.is_null()) {
          if (int rc = NeedPair(s, activity, VOB_MTYPE_ACTIVITY, stream, VOB_MTYPE_STREAM); rc != TBS_ST_OK) return rc;
          if (FactNumber(s, "SELECT stream FROM flm_activities WHERE vob = ?1 AND activity = ?2", activity.vob(),
                         activity.dbid()) != stream.dbid()) {
            Complain("The activity is not one of the stream's.");
            return TBS_ST_INVALID_ARG;
          }
        }
        Statement set(s, "INSERT OR REPLACE INTO flm_views (view, vob, stream, activity) VALUES (?1, ?2, ?3, ?4)");
        set.Bind(1, std::string(view)).Bind(2, stream.vob()).Bind(3, stream.dbid()).Bind(4, activity.dbid()).Run();
        Statement spec(s, "UPDATE views SET spec = ?2 WHERE tag = ?1");
        spec.Bind(1, std::string(view)).Bind(2, StreamConfigSpec(s, stream.vob(), stream.dbid())).Run();
        views::RefreshRoot(s, view);
        return TBS_ST_OK;
      });
}

int flm_admin_add_tl_type(const char* database, const char* type) {
  return LocalCall("flm_admin_add_tl_type", {Text(database), Text(type)},
                   NonNull(database, type) && ValidLeafName(database) && ValidLeafName(type), [&](Store& s) {
                     Statement add(s, "INSERT OR IGNORE INTO tl_types (db, name) VALUES (?1, ?2)");
                     add.Bind(1, std::string(database)).Bind(2, std::string(type)).Run();
                     return TBS_ST_OK;
                   });
}

int flm_admin_mktlrecord(const char* database, const char* type, const char* state, const char* headline,
                         const char* description, FLM_TLEntityID* record) {
  return LocalCall("flm_admin_mktlrecord", {Text(database), Text(type), Text(state), Text(headline)},
                   NonNull(database, type, state, headline, description, record) && *headline && *state, [&](Store& s) {
                     const FLM_TLEntityID made =
                         client_local::flm::AddRecord(s, database, type, state, headline, description);
                     if (made.is_null()) return TBS_ST_NOT_FOUND;
                     *record = made;
                     return TBS_ST_OK;
                   });
}

int flm_admin_bind_tl(const FLM_Activity& activity, const FLM_TLEntityID& record) {
  return LocalCall(
      "flm_admin_bind_tl", {Num(activity.dbid()), record.display_name()}, !activity.is_null() && !record.is_null(),
      [&](Store& s) {
        if (int rc = NeedObject(s, activity, {VOB_MTYPE_ACTIVITY}); rc != TBS_ST_OK) return rc;
        Statement known(s, "SELECT 1 FROM tl_records WHERE db = ?1 AND number = ?2");
        known.Bind(1, record.database()).Bind(2, record.number());
        if (!known.Step()) {
          Complain("There is no Tracklane record " + record.display_name() + ".");
          return TBS_ST_NOT_FOUND;
        }
        Statement bound(s, "SELECT 1 FROM flm_activities WHERE tl_database = ?1 AND tl_number = ?2");
        bound.Bind(1, record.database()).Bind(2, record.number());
        if (bound.Step()) {
          Complain("The Tracklane record " + record.display_name() + " is already bound to an activity.");
          return TBS_ST_ALREADY;
        }
        Statement set(s, "UPDATE flm_activities SET tl_database = ?3, tl_number = ?4 WHERE vob = ?1 AND activity = ?2");
        set.Bind(1, activity.vob()).Bind(2, activity.dbid()).Bind(3, record.database()).Bind(4, record.number()).Run();
        return TBS_ST_OK;
      });
}

int flm_admin_rm_tl_database(const char* database) {
  return LocalCall("flm_admin_rm_tl_database", {Text(database)}, NonNull(database), [&](Store& s) {
    for (const char* sql : {"DELETE FROM tl_records WHERE db = ?1", "DELETE FROM tl_types WHERE db = ?1"}) {
      Statement drop(s, sql);
      drop.Bind(1, std::string(database)).Run();
    }
    return TBS_ST_OK;
  });
}
