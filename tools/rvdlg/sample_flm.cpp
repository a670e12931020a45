// The change-management sample of `rvdlg init`: the project VOB \projects
// over the VOB \public, made with the model's builders.
#include <initializer_list>
#include <string>

#include "cmd_utl.h"
#include "flm_admin.h"
#include "sample_repo.h"
#include "tbs.h"
#include "view.h"
#include "vob.h"

namespace rvdlg {

namespace {

constexpr const char* kBuilder = "rvdlg_init";  // the view that makes the versions
constexpr const char* kPat = "pat";              // the other developer of the sample

FLM_StringList Strings(std::initializer_list<const char*> texts) {
  FLM_StringList list;
  for (const char* text : texts) list.append(text);
  return list;
}

// The objects of the sample, as they are made.
struct ChangeSample {
  vob_handle_t pub = 0, pvob = 0;
  vob_dbid_t hello_dev_version = 0;
  FLM_Folder root;
  FLM_Component component, hello_all;
  FLM_Project hello, tracked;
  FLM_Stream hello_int, hello_dev, pat_dev, tracked_int, tracked_dev;
  FLM_Baseline initial, bl1, bl1_bad, bl2, hello_bl2;
  FLM_Activity fix_greeting, tidy_util, deliver_dev, deliver_pat, fix_crash;
  FLM_TLEntityID bound, free_record, closed;
};

// hello.c's work in hello_dev: the branch hello_dev from the version BL2
// labels (REL2), with one version on it.
int MakeHelloDevVersion(ChangeSample& c) {
  vob_dbid_t rel2 = 0, branch = 0, out = 0;
  if (int rc = vob_resolve_ver(c.pub, "\\src\\hello.c@@\\main\\REL2", &rel2)) return rc;
  if (int rc = vob_mktype(c.pub, VOB_MTYPE_BRTYPE, "hello_dev", "the stream hello_dev", nullptr)) return rc;
  if (int rc = vob_mkbranch(c.pub, rel2, "hello_dev", "fix the greeting", &branch)) return rc;
  if (int rc = cmd_utl_checkout(c.pub, branch, kBuilder, 1, "fix the greeting", &out)) return rc;
  if (int rc = vob_ver_set_contents(c.pub, out, "#include <stdio.h>\nint main(void) { puts(\"Hello, world!\"); return 0; }\n"))
    return rc;
  return vob_utl_checkin(c.pub, "\\public\\src\\hello.c", kBuilder, "the greeting fixed", &c.hello_dev_version);
}

int MakeBaselines(ChangeSample& c) {
  const FLM_Baseline none;
  if (int rc = flm_admin_mkbaseline(c.hello_int, c.component, "public_INITIAL", none, FLM_LABELING_INITIAL, "INITIAL",
                                    "", &c.initial))
    return rc;
  if (int rc = flm_admin_mkbaseline(c.hello_int, c.component, "BL1", c.initial, FLM_LABELING_FULL, "TESTED", "REL1",
                                    &c.bl1))
    return rc;
  if (int rc = flm_admin_mkbaseline(c.hello_int, c.component, "BL1_bad", c.bl1, FLM_LABELING_NOT_LABELED, "REJECTED",
                                    "", &c.bl1_bad))
    return rc;
  if (int rc = vob_obj_set_obsolete(c.pvob, c.bl1_bad.dbid(), 1)) return rc;
  if (int rc = flm_admin_mkbaseline(c.hello_int, c.component, "BL2", c.bl1, FLM_LABELING_INCREMENTAL, "BUILT", "REL2",
                                    &c.bl2))
    return rc;
  if (int rc = flm_admin_mkbaseline(c.hello_int, c.hello_all, "hello_BL2", none, FLM_LABELING_NOTHING_TO_LABEL,
                                    "BUILT", "", &c.hello_bl2))
    return rc;
  return flm_admin_add_member(c.hello_bl2, c.bl2);
}

int MakeFoundations(ChangeSample& c) {
  if (int rc = flm_admin_add_foundation(c.hello_int, c.initial)) return rc;
  for (const FLM_Stream* stream : {&c.hello_dev, &c.pat_dev})
    for (const FLM_Baseline* baseline : {&c.bl2, &c.hello_bl2})
      if (int rc = flm_admin_add_foundation(*stream, *baseline)) return rc;
  for (const FLM_Baseline* baseline : {&c.bl2, &c.hello_bl2})
    if (int rc = flm_admin_add_recommended(c.hello_int, *baseline)) return rc;
  return 0;
}

int MakeActivities(ChangeSample& c) {
  if (int rc = flm_admin_mkactivity(c.hello_dev, "fix_greeting", "Fix the greeting", nullptr, &c.fix_greeting)) return rc;
  if (int rc = flm_admin_add_change(c.fix_greeting, FLM_Version(c.pub, c.hello_dev_version))) return rc;
  if (int rc = flm_admin_mkactivity(c.pat_dev, "tidy_util", "Tidy the helpers", kPat, &c.tidy_util)) return rc;
  if (int rc = flm_admin_mkactivity(c.hello_int, "deliver.hello_dev.1", "deliver hello_dev", nullptr, &c.deliver_dev))
    return rc;
  if (int rc = flm_admin_set_integration(c.deliver_dev, FLM_ACTIVITY_DELIVER, FLM_INTEGRATION_DONE, c.hello_dev))
    return rc;
  if (int rc = flm_admin_add_contributor(c.deliver_dev, c.fix_greeting)) return rc;
  if (int rc = flm_admin_mkactivity(c.hello_int, "deliver.pat_dev.1", "deliver pat_dev", kPat, &c.deliver_pat))
    return rc;
  if (int rc = flm_admin_set_integration(c.deliver_pat, FLM_ACTIVITY_DELIVER, FLM_INTEGRATION_RUNNING, c.pat_dev))
    return rc;
  return flm_admin_add_contributor(c.deliver_pat, c.tidy_util);
}

int MakeTracked(ChangeSample& c) {
  for (const char* type : {"Defect", "Enhancement"})
    if (int rc = flm_admin_add_tl_type("SAMPL", type)) return rc;
  if (int rc = flm_admin_mkproject(c.root, "tracked", "Tracked work", false, &c.tracked)) return rc;
  if (int rc = flm_admin_set_project_tl(c.tracked, "SAMPL", Strings({"Defect", "Enhancement"}))) return rc;
  if (int rc = flm_admin_mkstream(c.tracked, "tracked_int", "Tracked integration", true, "tracked_int", nullptr,
                                  &c.tracked_int))
    return rc;
  if (int rc = flm_admin_mkstream(c.tracked, "tracked_dev", "Tracked development", false, "tracked_dev", nullptr,
                                  &c.tracked_dev))
    return rc;
  if (int rc = flm_admin_add_foundation(c.tracked_dev, c.bl2)) return rc;
  if (int rc = flm_admin_mktlrecord("SAMPL", "Defect", "Opened", "The greeting is garbled", "Seen on every run.",
                                    &c.bound))
    return rc;
  if (int rc = flm_admin_mktlrecord("SAMPL", "Enhancement", "Submitted", "Add a farewell", "Say goodbye on exit.",
                                    &c.free_record))
    return rc;
  if (int rc = flm_admin_mktlrecord("SAMPL", "Defect", "Closed", "Old build break", "", &c.closed)) return rc;
  if (int rc = flm_admin_mkactivity(c.tracked_dev, "fix_garbled", "The greeting is garbled", nullptr, &c.fix_crash))
    return rc;
  return flm_admin_bind_tl(c.fix_crash, c.bound);
}

int MakeStreamViews(ChangeSample& c) {
  const FLM_Stream* streams[] = {&c.hello_dev, &c.hello_int, &c.tracked_dev};
  const FLM_Activity* activities[] = {&c.fix_greeting, nullptr, &c.fix_crash};
  for (std::size_t i = 0; i < std::size(kStreamViews); ++i) {
    if (int rc = view_create(kStreamViews[i], 0, "a view of the change-management sample")) return rc;
    if (int rc = flm_admin_set_view_stream(kStreamViews[i], *streams[i], activities[i] ? *activities[i] : FLM_Activity()))
      return rc;
  }
  return 0;
}

}  // namespace

int BuildChangeSample(std::string* what) {
  SampleSteps step{what};
  ChangeSample c;
  vob_dbid_t public_root = 0;
  step("finding \\public", [&] {
    const int rc = vob_lookup_tag("\\public", &c.pub);
    return rc ? rc : vob_get_root_elem(c.pub, &public_root);
  })
      ("making the project VOB \\projects", [&] { return vob_create("\\projects", "the project VOB", &c.pvob); })
      ("making the root folder", [&] { return flm_admin_mkrootfolder(c.pvob, &c.root); })
      ("making the promotion levels", [&] {
        return flm_admin_set_plevels(c.pvob, Strings({"REJECTED", "INITIAL", "BUILT", "TESTED", "RELEASED"}));
      })
      ("making the components", [&] {
        const int rc = flm_admin_mkcomponent(c.pvob, "public", c.pub, public_root, &c.component);
        return rc ? rc : flm_admin_mkcomponent(c.pvob, "hello_all", 0, 0, &c.hello_all);
      })
      ("making the project hello", [&] {
        int rc = flm_admin_mkproject(c.root, "hello", "Hello, world", false, &c.hello);
        if (!rc) rc = flm_admin_set_modifiable(c.hello, c.component);
        if (!rc) rc = flm_admin_mkstream(c.hello, "hello_int", "Hello integration", true, "hello_int", nullptr, &c.hello_int);
        if (!rc) rc = flm_admin_mkstream(c.hello, "hello_dev", "Hello development", false, "hello_dev", nullptr, &c.hello_dev);
        return rc ? rc : flm_admin_mkstream(c.hello, "pat_dev", "Pat's development", false, "pat_dev", kPat, &c.pat_dev);
      })
      ("making hello.c's version in hello_dev", [&] { return MakeHelloDevVersion(c); })
      ("making the baselines", [&] { return MakeBaselines(c); })
      ("setting the foundations", [&] { return MakeFoundations(c); })
      ("making the activities", [&] { return MakeActivities(c); })
      ("making the project tracked", [&] { return MakeTracked(c); })
      ("making the stream views", [&] { return MakeStreamViews(c); });
  return step.status;
}

}  // namespace rvdlg
