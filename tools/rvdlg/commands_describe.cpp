// rvdlg describe: the describe output of VOB objects named by pathname,
// extended name or selector, and of VOBs, views, their tags and hosts
// ("vob:\\public", "view:TAG", "vobtag:\\public", "viewtag:TAG",
// "host:NAME"; "host:" alone is this machine), the change-management objects
// by selector, and files inside a view's directory.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "flm.h"
#include "flm_imsg_redirector.h"
#include "gcl_status.h"
#include "gcl_time.h"
#include "propsheet/metadata/metadata_pages.h"
#include "propsheet/property_sheet.h"
#include "res/library_resources.h"
#include "rvl_attribute.h"
#include "rvl_hyperlink.h"
#include "rvl_infostg.h"
#include "rvl_version.h"
#include "sysutl.h"
#include "vob_attr.h"
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

// Owner, group, mode, lock, labels, attributes and hyperlinks of a VOB object; a part
// the repository cannot read is left out.
void DescribeMetadata(std::ostream& out, const RVL_VobObject& object) {
  out << "  Metadata:\n";
  const vob_handle_t vob = object.vob().handle();
  char owner_sid[300], group_sid[300], name[300];
  std::uint32_t mode = 0;
  if (vob_obj_get_protection(vob, object.dbid(), owner_sid, sizeof owner_sid, group_sid, sizeof group_sid, &mode) ==
      0) {
    auto named = [&](int code, const char* sid) { return code == 0 ? std::string(name) : std::string(sid); };
    out << "    Owner: " << named(sysutl_usid_to_user(owner_sid, name, sizeof name), owner_sid) << "\n";
    out << "    Group: " << named(sysutl_gsid_to_group(group_sid, name, sizeof name), group_sid) << "\n";
    char octal[16];
    std::snprintf(octal, sizeof octal, "0%03o", mode);
    out << "    Mode: " << octal << "\n";
  }
  GCL_Status status;
  RVL_InfoStg<vob_lock_info_s> lock;
  object.lock_info(status, lock);
  const vob_lock_info_s& record = lock.record();
  auto text = [](const char* s) { return std::string(s ? s : ""); };
  if (!status.ok() || !record.locked) {
    out << "    Lock: Unlocked\n";
  } else {
    out << "    Lock: " << (record.obsolete ? "Obsolete" : "Locked") << " by " << text(record.user) << "."
        << text(record.group) << " on " << GCL_Time(record.time.secs, record.time.usecs).long_date_time().c_str()
        << "\n";
    if (!text(record.comment).empty()) out << "      \"" << text(record.comment) << "\"\n";
    if (record.excluded_count) {
      out << "      Excluded users: ";
      for (std::uint32_t i = 0; i < record.excluded_count; ++i) out << (i ? ", " : "") << text(record.excluded[i]);
      out << "\n";
    }
  }
  status.make_ok();
  if (const auto* version = dynamic_cast<const RVL_Version*>(&object))
    for (const GCL_String& label : version->labels(status)) out << "    Label: " << label.c_str() << "\n";
  status.make_ok();
  const RVL_AttributeList attributes = object.attributes(status);
  for (std::uint32_t i = 0; status.ok() && i < attributes.Length(); ++i) {
    GCL_Status type_status;
    out << "    Attribute: " << attributes[i].type().name(type_status).c_str() << " = "
        << attributes[i].value().text().c_str() << "\n";
  }
  // The hyperlinks as the object's Custom page lists them.
  status.make_ok();
  rvcmndlg::EntryScope resources;
  for (const RVL_HyperlinkComposite& hyperlink : RVL_FindHyperlinks(status, object, GCL_String())) {
    if (CBasePropertyPage::IsFLXHyperlink(hyperlink)) continue;
    GCL_Status row_status;
    const std::string row = format_hyperlink_string(row_status, hyperlink);
    if (row_status.ok()) out << "    Hyperlink: " << row << "\n";
  }
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
    DescribeMetadata(context.out, *object);
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
