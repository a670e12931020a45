// rvdlg describe: the describe output of VOB objects named by pathname,
// extended name or selector, and of VOBs, views, their tags and hosts
// ("vob:\\public", "view:TAG", "vobtag:\\public", "viewtag:TAG",
// "host:NAME"; "host:" alone is this machine), the change-management objects
// by selector, and files inside a view's directory.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "flm.h"
#include "flm_imsg_redirector.h"
#include "gcl_status.h"
#include "rvl_host.h"
#include "rvl_resolve.h"
#include "rvl_view.h"
#include "rvl_vob.h"
#include "rvl_vobobject.h"
#include "rvl_vobtag.h"
#include "tbs.h"

namespace rvdlg {

namespace {

bool Starts(const std::string& name, const char* prefix, std::string* rest) {
  const std::string head = prefix;
  if (name.compare(0, head.size(), head) != 0) return false;
  *rest = name.substr(head.size());
  return true;
}

// The places of the repository: false when the name is none of them.
bool DescribePlace(Context& context, const std::string& name, GCL_Status& status, bool* done) {
  std::string rest;
  *done = false;
  if (Starts(name, "vob:", &rest)) {
    const RVL_Vob vob = RVL_Vob::from_tag(status, GCL_String(rest.c_str()));
    if (!status.ok() || vob.is_null()) return true;
    context.out << name << ":\n";
    vob.describe(context.out);
  } else if (Starts(name, "view:", &rest)) {
    const RVL_View view = RVL_View::from_tag(status, GCL_String(rest.c_str()));
    if (!status.ok() || view.is_null()) return true;
    context.out << name << ":\n";
    view.describe(context.out);
  } else if (Starts(name, "vobtag:", &rest)) {
    const RVL_VobTag tag = RVL_VobTag::from_name(status, GCL_String(rest.c_str()));
    if (!status.ok() || tag.is_null()) return true;
    context.out << name << ":\n";
    tag.describe(context.out);
  } else if (Starts(name, "viewtag:", &rest)) {
    const RVL_ViewTag tag = RVL_ViewTag::from_name(status, GCL_String(rest.c_str()));
    if (!status.ok() || tag.is_null()) return true;
    context.out << name << ":\n";
    tag.describe(context.out);
  } else if (Starts(name, "host:", &rest)) {
    const RVL_Host host = rest.empty() ? RVL_Host() : RVL_Host(GCL_String(rest.c_str()));
    host.os_name(status);  // an unknown host fails here
    if (!status.ok()) return true;
    context.out << name << ":\n";
    host.describe(context.out);
  } else {
    return false;
  }
  *done = true;
  return true;
}

// A view named by its tag or by a pathname through it: false when the name
// is neither.
bool DescribeView(Context& context, const std::string& name, const std::string& library) {
  FLM_View view;
  {
    FLM_ImsgRedirector quiet;  // a name that is no view is reported by the caller
    if (FLM_View::construct_from_tag(name.c_str(), &view) != 0 &&
        FLM_View::construct_from_view_root((library.empty() ? name : library).c_str(), &view) != 0)
      return false;
  }
  GCL_Status status;
  const RVL_View found = RVL_View::from_tag(status, GCL_String(view.tag().c_str()));
  if (!status.ok() || found.is_null()) return false;
  context.out << name << ":\n";
  found.describe(context.out);
  return true;
}

int Describe(Context& context, const std::vector<std::string>& names) {
  int result = 0;
  for (const std::string& name : names) {
    GCL_Status status;
    bool done = false;
    if (DescribePlace(context, name, status, &done)) {
      if (!done) {
        context.err << "rvdlg: describe: " << name << ": "
                    << tbs_strerror(static_cast<int>(status.ok() ? TBS_ST_NOT_FOUND : status.code())) << "\n";
        const GCL_String messages = status.messages();
        if (!messages.is_null()) context.err << messages;
        result = 1;
      }
      continue;
    }
    int change_status = 0;
    if (DescribeChangeObject(context, name, &change_status)) {
      if (change_status != 0) result = 1;
      continue;
    }
    // A file inside a view's directory is named through its view (a name
    // with a colon is a selector or a drive's pathname, never a host file).
    const std::string library = name.find(':') == std::string::npos ? LibraryPathname(name) : std::string();
    const std::unique_ptr<RVL_VobObject> object =
        RVL_ResolveName(status, GCL_String((library.empty() ? name : library).c_str()));
    if ((!object || !status.ok()) && DescribeView(context, name, library)) continue;
    if (!object || !status.ok()) {
      context.err << "rvdlg: describe: " << name << ": " << tbs_strerror(static_cast<int>(status.code())) << "\n";
      const GCL_String messages = status.messages();
      if (!messages.is_null()) context.err << messages;
      result = 1;
      continue;
    }
    context.out << name << ":\n";
    object->describe(context.out);
  }
  return result;
}

}  // namespace

void InstallDescribeCommand(CLI::App& app, Runner& chosen) {
  auto* command =
      app.add_subcommand("describe", "print the describe output of VOB objects, VOBs, views, tags and hosts");
  auto names = std::make_shared<std::vector<std::string>>();
  command
      ->add_option("NAME", *names,
                   "pathname, extended name, selector, a file inside a view's directory, vob:TAG, view:TAG, vobtag:TAG,"
                   " viewtag:TAG or host:NAME")
      ->required();
  command->callback([&chosen, names] { chosen = [names](Context& c) { return Describe(c, *names); }; });
}

}  // namespace rvdlg
