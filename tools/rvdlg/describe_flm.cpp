// rvdlg describe of the change-management objects (folders, projects,
// streams, components, baselines, activities), named by selector: their
// fields and the objects they relate to, read through the model.
#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>

#include "commands.h"
#include "flm.h"
#include "flm_imsg_redirector.h"
#include "tbs.h"
#include "vob.h"

namespace rvdlg {

namespace {

// Collects the answers of the model's queries: the first failure stops the
// rest and is kept.
class Reader {
 public:
  template <class Query>
  bool operator()(Query&& query) {
    if (status == 0) status = query();
    return status == 0;
  }
  int status = 0;
};

std::string Yes(bool value) { return value ? "yes" : "no"; }

template <class Object>
std::string NameOf(Reader& read, const Object& object) {
  if (object.is_null()) return "none";
  std::string name;
  read([&] { return object.name(&name); });
  return name;
}

template <class List>
std::string NamesOf(Reader& read, const List& list) {
  std::string text;
  for (const auto& item : list) text += (text.empty() ? "" : " ") + NameOf(read, item);
  return text.empty() ? "none" : text;
}

std::string Labeling(int status) {
  static const char* const kTexts[] = {"not labeled", "incremental", "full", "initially labeled", "no versions to label"};
  return status >= 0 && status < 5 ? kTexts[status] : "unknown";
}

void Line(std::ostream& out, const char* field, const std::string& value) { out << "  " << field << ": " << value << "\n"; }

void DescribeFolder(std::ostream& out, Reader& read, const FLM_Folder& folder) {
  FLM_Folder parent;
  FLM_FolderList folders;
  FLM_ProjectList projects;
  read([&] { return folder.parent(&parent); });
  read([&] { return folder.contents(&folders, &projects); });
  Line(out, "parent folder", NameOf(read, parent));
  Line(out, "folders", NamesOf(read, folders));
  Line(out, "projects", NamesOf(read, projects));
}

void DescribeProject(std::ostream& out, Reader& read, const FLM_Project& project) {
  FLM_Folder folder;
  FLM_StreamList streams;
  FLM_Stream integration;
  FLM_ComponentList modifiable;
  bool single = false;
  std::string database;
  read([&] { return project.folder(&folder); });
  read([&] { return project.streams(&streams); });
  read([&] { return project.default_integration_stream(&integration); });
  read([&] { return project.is_single_stream(&single); });
  read([&] { return project.modifiable_components(&modifiable); });
  read([&] { return project.tl_database(&database); });
  Line(out, "folder", NameOf(read, folder));
  Line(out, "project type", single ? "single stream" : "multi-stream");
  Line(out, "integration stream", NameOf(read, integration));
  Line(out, "streams", NamesOf(read, streams));
  Line(out, "modifiable components", NamesOf(read, modifiable));
  Line(out, "Tracklane database", database.empty() ? "none" : database);
}

void DescribeStream(std::ostream& out, Reader& read, const FLM_Stream& stream) {
  FLM_Project project;
  FLM_Stream target;
  bool integration = false, read_only = false;
  std::string brtype;
  FLM_Foundation foundation;
  FLM_BaselineList recommended;
  FLM_ComponentList components;
  FLM_ActivityList activities;
  FLM_StringList views;
  read([&] { return stream.project(&project); });
  read([&] { return stream.is_integration(&integration); });
  read([&] { return stream.is_read_only(&read_only); });
  read([&] { return stream.deliver_stream(&target); });
  read([&] { return stream.branch_type(&brtype); });
  read([&] { return stream.foundation(&foundation); });
  read([&] { return stream.recommended_baselines(&recommended); });
  read([&] { return stream.components(&components); });
  read([&] { return stream.activities(&activities); });
  read([&] { return stream.views(&views); });
  std::string view_text;
  for (const std::string& view : views) view_text += (view_text.empty() ? "" : " ") + view;
  Line(out, "project", NameOf(read, project));
  Line(out, "integration stream", Yes(integration));
  Line(out, "read-only", Yes(read_only));
  Line(out, "deliver to", NameOf(read, target));
  Line(out, "branch type", brtype);
  Line(out, "foundation baselines", NamesOf(read, foundation.baselines()));
  Line(out, "recommended baselines", NamesOf(read, recommended));
  Line(out, "components", NamesOf(read, components));
  Line(out, "activities", NamesOf(read, activities));
  Line(out, "views", view_text.empty() ? "none" : view_text);
}

void DescribeComponent(std::ostream& out, Reader& read, const FLM_Component& component) {
  FLM_Element root;
  FLM_BaselineList baselines;
  read([&] { return component.root_directory(&root); });
  read([&] { return component.baselines(&baselines); });
  std::string root_text = "none";
  if (!root.is_null()) {
    char pathname[1100];
    read([&] { return vob_obj_to_pname_flags(root.vob(), root.dbid(), 0, pathname, sizeof pathname); });
    root_text = pathname;
  }
  Line(out, "root directory", root_text);
  Line(out, "baselines", NamesOf(read, baselines));
}

void DescribeBaseline(std::ostream& out, Reader& read, const FLM_Baseline& baseline) {
  FLM_Component component;
  FLM_Stream stream;
  FLM_Baseline pred;
  int labeling = 0;
  std::string level, lbtype;
  FLM_BaselineList members;
  bool obsolete = false;
  read([&] { return baseline.component(&component); });
  read([&] { return baseline.stream(&stream); });
  read([&] { return baseline.predecessor(&pred); });
  read([&] { return baseline.labeling_status(&labeling); });
  read([&] { return baseline.promotion_level(&level); });
  read([&] { return baseline.label_type(&lbtype); });
  read([&] { return baseline.members(&members); });
  read([&] { return baseline.is_obsolete(&obsolete); });
  Line(out, "component", NameOf(read, component));
  Line(out, "stream", NameOf(read, stream));
  Line(out, "predecessor", NameOf(read, pred));
  Line(out, "label status", Labeling(labeling));
  Line(out, "promotion level", level.empty() ? "none" : level);
  Line(out, "label type", lbtype.empty() ? "none" : lbtype);
  Line(out, "members", NamesOf(read, members));
  Line(out, "obsolete", Yes(obsolete));
}

void DescribeActivity(std::ostream& out, Reader& read, const FLM_Activity& activity) {
  FLM_Stream stream, source;
  int kind = 0, state = 0;
  FLM_ActivityList contributors;
  FLM_VersionList changes;
  FLM_TLEntityID record;
  read([&] { return activity.stream(&stream); });
  read([&] { return activity.kind(&kind); });
  read([&] { return activity.integration_state(&state); });
  read([&] { return activity.source_stream(&source); });
  read([&] { return activity.contributors(&contributors); });
  read([&] { return activity.change_set(&changes); });
  read([&] { return activity.bound_tl_entity_id(&record); });
  static const char* const kKinds[] = {"regular", "deliver", "rebase"};
  static const char* const kStates[] = {"none", "in progress", "done"};
  Line(out, "stream", NameOf(read, stream));
  Line(out, "kind", kind >= 0 && kind < 3 ? kKinds[kind] : "unknown");
  if (kind != FLM_ACTIVITY_REGULAR) {
    Line(out, "state", state >= 0 && state < 3 ? kStates[state] : "unknown");
    Line(out, "from stream", NameOf(read, source));
    Line(out, "contributors", NamesOf(read, contributors));
  }
  std::string versions;
  for (const FLM_Version& version : changes) {
    char pathname[1100];
    if (read([&] { return vob_obj_to_pname_flags(version.vob(), version.dbid(), 0, pathname, sizeof pathname); }))
      versions += std::string(versions.empty() ? "" : " ") + pathname;
  }
  Line(out, "change set", versions.empty() ? "none" : versions);
  Line(out, "Tracklane record", record.is_null() ? "none" : record.display_name());
}

// Reads the object of the selector's kind and describes it.
template <class Object, class Describe>
int DescribeAs(const std::string& name, std::ostream& out, Describe&& describe) {
  Object object;
  if (int rc = Object::construct_from_selector(name.c_str(), &object)) return rc;
  Reader read;
  std::string title;
  FLM_OsUser owner;
  read([&] { return object.title(&title); });
  read([&] { return object.owner(&owner); });
  std::ostringstream text;
  text << name << ":\n";
  Line(text, "name", NameOf(read, object));
  // An activity's title is its headline.
  if (!title.empty()) Line(text, std::is_same_v<Object, FLM_Activity> ? "headline" : "title", title);
  Line(text, "owner", owner.name());
  describe(text, read, object);
  if (read.status == 0) out << text.str();
  return read.status;
}

}  // namespace

bool DescribeChangeObject(Context& context, const std::string& name, int* status) {
  const std::size_t colon = name.find(':');
  vob_objsel_kind_t kind = VOB_OBJSEL_NONE;
  if (colon == std::string::npos || vob_utl_str_to_objsel_kind(name.substr(0, colon).c_str(), &kind) != TBS_ST_OK)
    return false;
  FLM_ImsgRedirector messages;
  switch (kind) {
    case VOB_OBJSEL_FOLDER: *status = DescribeAs<FLM_Folder>(name, context.out, DescribeFolder); break;
    case VOB_OBJSEL_PROJECT: *status = DescribeAs<FLM_Project>(name, context.out, DescribeProject); break;
    case VOB_OBJSEL_STREAM: *status = DescribeAs<FLM_Stream>(name, context.out, DescribeStream); break;
    case VOB_OBJSEL_COMPONENT: *status = DescribeAs<FLM_Component>(name, context.out, DescribeComponent); break;
    case VOB_OBJSEL_BASELINE: *status = DescribeAs<FLM_Baseline>(name, context.out, DescribeBaseline); break;
    case VOB_OBJSEL_ACTIVITY: *status = DescribeAs<FLM_Activity>(name, context.out, DescribeActivity); break;
    default: return false;
  }
  if (*status != 0) {
    context.err << "rvdlg: describe: " << name << ": " << tbs_strerror(*status) << "\n";
    for (const std::string& message : messages.messages()) context.err << message;
  }
  return true;
}

}  // namespace rvdlg
