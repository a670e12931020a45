// The change-management model: how its value objects are made, what every
// query answers over the sample, how queries and builders fail, and the
// files of a view that works in a stream.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "cmd_resolve.h"
#include "flm.h"
#include "flm_admin.h"
#include "flm_imsg_redirector.h"
#include "local/calllog.h"
#include "local/store.h"
#include "support/flm_sample.h"
#include "support/repository.h"
#include "tbs.h"
#include "view.h"
#include "vob_admin.h"
#include "vob_ob.h"

namespace {

using client_local::CallLog;
using client_local::Failure;
using rv_test::ViewTest;

class FlmModel : public ViewTest {};

TEST_F(FlmModel, ValueObjectsStartNullAndCopyByValue) {
  EXPECT_TRUE(FLM_Vob().is_null());
  EXPECT_TRUE(FLM_View().is_null());
  EXPECT_TRUE(FLM_Stream().is_null());
  EXPECT_TRUE(FLM_TLEntityID().is_null());
  EXPECT_EQ(FLM_TLEntityID().display_name(), "");
  EXPECT_EQ(FLM_TLEntityID("SAMPL", 1).display_name(), "SAMPL00000001");
  EXPECT_FALSE(FLM_Version(vob, hello2).is_null());

  FLM_View view;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &view), 0);
  FLM_View copy = view;
  view = FLM_View();
  EXPECT_TRUE(view.is_null());
  EXPECT_EQ(copy.tag(), "v1");
}

TEST_F(FlmModel, AVobIsMadeFromItsHandleAndAnUnknownHandleIsRefused) {
  FLM_Vob made;
  ASSERT_EQ(FLM_Vob::construct_from_handle(vob, &made), 0);
  EXPECT_EQ(made.handle(), vob);
  EXPECT_EQ(made.tag(), "\\public");
  FLM_Folder root(vob, src);  // overwritten by the answer: no project VOB
  EXPECT_EQ(made.root_folder(&root), 0);
  EXPECT_TRUE(root.is_null());

  for (vob_handle_t bad : {vob_handle_t{0}, vob + 100}) {
    FLM_ImsgRedirector messages;
    FLM_Vob untouched;
    EXPECT_EQ(FLM_Vob::construct_from_handle(bad, &untouched), TBS_ST_NOT_FOUND) << bad;
    EXPECT_TRUE(untouched.is_null());
    ASSERT_EQ(messages.count(), 1);
    EXPECT_NE(messages.message(0).find("names no VOB"), std::string::npos) << messages.message(0);
  }
  EXPECT_EQ(FLM_Vob::construct_from_handle(vob, nullptr), TBS_ST_INVALID_ARG);
}

TEST_F(FlmModel, AViewIsMadeFromItsTagOrItsUuidAndWorksInNoStreamUntilSet) {
  FLM_View by_tag;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &by_tag), 0);
  tbs_uuid_t uuid;
  ASSERT_EQ(vob_ob_view_to_uuid("v1", &uuid), 0);
  EXPECT_EQ(std::memcmp(by_tag.uuid().bytes, uuid.bytes, sizeof uuid.bytes), 0);
  FLM_View by_uuid;
  ASSERT_EQ(FLM_View::construct_from_uuid(uuid, &by_uuid), 0);
  EXPECT_EQ(by_uuid.tag(), "v1");

  bool flm = true;
  EXPECT_EQ(by_tag.is_flm_view(&flm), 0);
  EXPECT_FALSE(flm);
  FLM_Stream stream(vob, hello);  // overwritten by the answer
  EXPECT_EQ(by_tag.stream(&stream), 0);
  EXPECT_TRUE(stream.is_null());

  FLM_ImsgRedirector messages;
  FLM_View untouched;
  EXPECT_EQ(FLM_View::construct_from_tag("nowhere", &untouched), TBS_ST_NOT_FOUND);
  tbs_uuid_t other = uuid;
  other.bytes[0] ^= 0xFF;
  EXPECT_EQ(FLM_View::construct_from_uuid(other, &untouched), TBS_ST_NOT_FOUND);
  EXPECT_TRUE(untouched.is_null());
  EXPECT_EQ(messages.count(), 2);
  EXPECT_EQ(FLM_View::construct_from_uuid(TBS_UUID_NULL, &untouched), TBS_ST_INVALID_ARG);
  EXPECT_EQ(FLM_View::construct_from_tag(nullptr, &untouched), TBS_ST_INVALID_ARG);
  ASSERT_EQ(view_remove("v1"), 0);
  EXPECT_EQ(by_tag.is_flm_view(&flm), TBS_ST_NOT_FOUND);
}

class FlmSample : public rv_test::FlmSampleTest {
 protected:
  // The names of a list's objects, blank-separated.
  template <class List>
  static std::string Names(const List& list) {
    std::string text;
    for (const auto& item : list) {
      std::string name;
      EXPECT_EQ(item.name(&name), 0);
      text += (text.empty() ? "" : " ") + name;
    }
    return text;
  }
  static std::string Name(const FLM_VobObject& object) {
    if (object.is_null()) return "(null)";
    std::string name;
    EXPECT_EQ(object.name(&name), 0);
    return name;
  }
  // How many rows the model's objects and facts fill.
  static std::int64_t ModelRows() {
    std::int64_t rows = 0;
    client_local::CurrentStore()->Command([&](client_local::Store& s) {
      for (const char* table : {"vob_objs", "flm_folders", "flm_projects", "flm_streams", "flm_components",
                                "flm_baselines", "flm_activities", "flm_stream_baselines", "flm_members",
                                "flm_changes", "flm_contributors", "flm_views", "tl_records", "tl_types"}) {
        client_local::Statement q(s, std::string("SELECT count(*) FROM ") + table);
        q.Step();
        rows += q.Int(0);
      }
      return 0;
    });
    return rows;
  }
};

// Each query over the sample, with its answer as text: one row a query,
// laid out by hand.
// clang-format off
TEST_F(FlmSample, EveryQueryAnswersTheSample) {
  FLM_View v1;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &v1), 0);
  const struct {
    const char* query;
    std::function<std::string()> answer;
    const char* expected;
  } cases[] = {
      {"project VOBs", [] {
         FLM_List<FLM_Vob> l; FLM_Vob::project_vobs(&l); return l.length() ? l[0].tag() : "";
       }, "\\projects"},
      {"root folder", [&] {
         FLM_Vob v; FLM_Vob::construct_from_handle(pvob, &v); FLM_Folder f; v.root_folder(&f); return Name(f);
       }, "RootFolder"},
      {"levels", [&] {
         FLM_Vob v; FLM_Vob::construct_from_handle(pvob, &v); FLM_StringList l; v.plevels(&l);
         return l[0] + ".." + l[4];
       }, "REJECTED..RELEASED"},
      {"folder contents", [&] {
         FLM_FolderList f; FLM_ProjectList p; root.contents(&f, &p); return Names(f) + "/" + Names(p);
       }, "apps/hello"},
      {"folder parent", [&] { FLM_Folder f; apps.parent(&f); return Name(f); }, "RootFolder"},
      {"project folder", [&] { FLM_Folder f; tracked.folder(&f); return Name(f); }, "apps"},
      {"project streams", [&] {
         FLM_StreamList l; hello_project.streams(&l); return Names(l);
       }, "hello_int hello_dev pat_dev"},
      {"integration stream", [&] {
         FLM_Stream s; hello_project.default_integration_stream(&s); return Name(s);
       }, "hello_int"},
      {"single stream", [&] { bool b = false; tracked.is_single_stream(&b); return std::to_string(b); }, "1"},
      {"modifiable", [&] { FLM_ComponentList l; hello_project.modifiable_components(&l); return Names(l); }, "public"},
      {"tl enabled", [&] {
         bool a = true, b = false; hello_project.is_tl_enabled(&a); tracked.is_tl_enabled(&b);
         return std::to_string(a) + std::to_string(b);
       }, "01"},
      {"tl database", [&] { std::string d; tracked.tl_database(&d); return d; }, "SAMPL"},
      {"title", [&] { std::string t; hello_project.title(&t); return t; }, "Hello"},
      {"selector", [&] { std::string t; hello_dev.selector(&t); return t; }, "stream:hello_dev@\\projects"},
      {"owner", [&] {
         FLM_OsUser a, b; hello_dev.owner(&a); pat_dev.owner(&b); return std::to_string(!a.is_null()) + b.name();
       }, "1pat"},
      {"master", [&] {
         std::string r; bool local = false; hello_dev.master(&r); hello_dev.has_local_mastership(&local);
         return r + std::to_string(local);
       }, "original1"},
      {"obsolete", [&] {
         bool a = true, b = false; bl2.is_obsolete(&a); bl_bad.is_obsolete(&b);
         return std::to_string(a) + std::to_string(b);
       }, "01"},
      {"stream project", [&] { FLM_Project p; pat_dev.project(&p); return Name(p); }, "hello"},
      {"integration", [&] {
         bool a = false, b = true; hello_int.is_integration(&a); hello_dev.is_integration(&b);
         return std::to_string(a) + std::to_string(b);
       }, "10"},
      {"deliver target", [&] {
         FLM_Stream a, b; hello_dev.deliver_stream(&a); hello_int.deliver_stream(&b); return Name(a) + " " + Name(b);
       }, "hello_int (null)"},
      {"branch type", [&] { std::string t; hello_dev.branch_type(&t); return t; }, "dev"},
      {"stream activities", [&] {
         FLM_ActivityList l; hello_int.activities(&l); return Names(l);
       }, "deliver.hello_dev.1"},
      {"stream components", [&] {
         FLM_ComponentList l; hello_dev.components(&l); return Names(l);
       }, "hello_all public"},
      {"foundation", [&] {
         FLM_Foundation f; hello_dev.foundation(&f); return Names(f.baselines());
       }, "INITIAL hello_BL2"},
      {"recommended", [&] { FLM_BaselineList l; hello_int.recommended_baselines(&l); return Names(l); }, "BL2"},
      {"stream baselines", [&] {
         FLM_BaselineList l; hello_int.baselines(&l); return Names(l);
       }, "INITIAL BL2 BL_bad hello_BL2"},
      {"config spec", [&] { std::string t; hello_dev.config_spec(&t); return t; },
       "element * CHECKEDOUT\nelement * \\main\\dev\\LATEST\nelement \\public\\... REL1\nelement * \\main\\LATEST\n"},
      {"stream views", [&] { FLM_StringList l; hello_dev.views(&l); return l.length() ? l[0] : ""; }, "v1"},
      {"pvar from project", [&] { std::string v; hello_dev.pvar("deliver", &v); return v; }, "all"},
      {"component root", [&] {
         FLM_Element e; pub.root_directory(&e); vob_dbid_t r = 0; vob_get_root_elem(vob, &r);
         return std::to_string(e.dbid() == r);
       }, "1"},
      {"rootless component", [&] {
         FLM_Element e; hello_all.root_directory(&e); return std::to_string(e.is_null());
       }, "1"},
      {"component baselines", [&] { FLM_BaselineList l; pub.baselines(&l); return Names(l); }, "INITIAL BL2 BL_bad"},
      {"baseline component", [&] { FLM_Component c; bl2.component(&c); return Name(c); }, "public"},
      {"baseline stream", [&] { FLM_Stream s; bl2.stream(&s); return Name(s); }, "hello_int"},
      {"predecessor", [&] {
         FLM_Baseline a, b; bl2.predecessor(&a); initial.predecessor(&b); return Name(a) + " " + Name(b);
       }, "INITIAL (null)"},
      {"labeling", [&] {
         int a = -1, b = -1; initial.labeling_status(&a); bl2.labeling_status(&b);
         return std::to_string(a) + std::to_string(b);
       }, "21"},
      {"level and label", [&] {
         std::string l, t; initial.promotion_level(&l); initial.label_type(&t); return l + " " + t;
       }, "INITIAL REL1"},
      {"members", [&] { FLM_BaselineList l; hello_bl2.members(&l); return Names(l); }, "BL2"},
      {"baseline streams", [&] { FLM_StreamList l; initial.streams(&l); return Names(l); }, "hello_dev"},
      {"headline", [&] { std::string h; fix.headline(&h); return h; }, "Fix the greeting"},
      {"activity stream", [&] { FLM_Stream s; tidy.stream(&s); return Name(s); }, "pat_dev"},
      {"deliver record", [&] {
         int k = 0, st = 0; FLM_Stream from;
         deliver.kind(&k); deliver.integration_state(&st); deliver.source_stream(&from);
         return std::to_string(k == FLM_ACTIVITY_DELIVER) + std::to_string(st == FLM_INTEGRATION_DONE) + Name(from);
       }, "11hello_dev"},
      {"contributors", [&] { FLM_ActivityList l; deliver.contributors(&l); return Names(l); }, "fix"},
      {"delivered baselines", [&] { FLM_BaselineList l; deliver.integration_baselines(&l); return Names(l); }, "BL2"},
      {"change set", [&] {
         FLM_VersionList l; fix.change_set(&l); return l.length() == 1 && l[0].dbid() == dev1 ? "dev1" : "?";
       }, "dev1"},
      {"bound record", [&] {
         FLM_TLEntityID a, b; crash.bound_tl_entity_id(&a); fix.bound_tl_entity_id(&b);
         return a.display_name() + "/" + b.display_name();
       }, "SAMPL00000001/"},
      {"crde", [&] {
         FLM_Element e; FLM_Element(vob, hello).crde(&e); FLM_Element r; pub.root_directory(&r);
         return std::to_string(e == r);
       }, "1"},
      {"version activity", [&] {
         FLM_Activity a, b; FLM_Version(vob, dev1).activity(&a); FLM_Version(vob, hello2).activity(&b);
         return Name(a) + " " + Name(b);
       }, "fix (null)"},
      {"view", [&] {
         bool flm = false, tl = true; FLM_Stream s; FLM_Activity a;
         v1.is_flm_view(&flm); v1.stream(&s); v1.current_activity(&a); v1.is_tl_enabled(&tl);
         return std::to_string(flm) + Name(s) + " " + Name(a) + std::to_string(tl);
       }, "1hello_dev fix0"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.answer(), c.expected) << c.query;
}
// clang-format on

TEST_F(FlmSample, ObjectsAreMadeFromSelectorsOfTheirKind) {
  FLM_Stream stream;
  ASSERT_EQ(FLM_Stream::construct_from_selector("stream:hello_dev@\\projects", &stream), 0);
  EXPECT_EQ(stream, hello_dev);
  FLM_Baseline baseline;
  ASSERT_EQ(FLM_Baseline::construct_from_selector("baseline:hello_BL2@\\projects", &baseline), 0);
  EXPECT_EQ(baseline, hello_bl2);
  FLM_ImsgRedirector messages;
  const struct {
    const char* selector;
    int status;
  } bad[] = {
      {"project:hello@\\projects", TBS_ST_WRONG_KIND},  // a project is no stream
      {"stream:nothing@\\projects", TBS_ST_NOT_FOUND},
      {"stream:hello_dev@\\nowhere", TBS_ST_NOT_FOUND},
      {"stream:hello_dev", TBS_ST_INVALID_ARG},  // no VOB to look in
      {"stream:two words@\\projects", TBS_ST_INVALID_ARG},
  };
  for (const auto& c : bad) {
    FLM_Stream untouched = pat_dev;
    EXPECT_EQ(FLM_Stream::construct_from_selector(c.selector, &untouched), c.status) << c.selector;
    EXPECT_EQ(untouched, pat_dev) << c.selector;
  }
  // The repository's own resolution knows the kinds too.
  vob_dbid_t dbid = 0;
  std::uint32_t mtype = 0;
  ASSERT_EQ(vob_obj_resolve(pvob, "activity:fix@\\projects", &dbid, &mtype), 0);
  EXPECT_EQ(dbid, fix.dbid());
  EXPECT_EQ(mtype, VOB_MTYPE_ACTIVITY);
  cmd_resolve_result_s resolved;
  ASSERT_EQ(cmd_resolve_general("folder:apps@\\projects", &resolved), 0);
  EXPECT_EQ(resolved.dbid, apps.dbid());
  EXPECT_EQ(resolved.mtype, VOB_MTYPE_FOLDER);
  char selector[100];
  ASSERT_EQ(vob_obj_get_selector(pvob, pub.dbid(), selector, sizeof selector), 0);
  EXPECT_STREQ(selector, "component:public@\\projects");
}

// Null objects are no question (1003), objects not there are gone (1002),
// objects of another kind are refused (1072); the out-argument stays.
TEST_F(FlmSample, QueriesRefuseNullGoneAndWrongKindObjects) {
  const struct {
    const char* query;
    std::function<int(vob_handle_t, vob_dbid_t, FLM_Stream*)> call;
    vob_dbid_t wrong_kind;
  } cases[] = {
      {"stream project", [&](vob_handle_t v, vob_dbid_t d, FLM_Stream* out) {
         FLM_Project p = tracked;
         const int rc = FLM_Stream(v, d).project(&p);
         if (!(p == tracked)) *out = FLM_Stream();  // answered: the out-argument changed
         return rc;
       }, hello_project.dbid()},
      {"deliver target", [](vob_handle_t v, vob_dbid_t d, FLM_Stream* out) {
         return FLM_Stream(v, d).deliver_stream(out);
       }, fix.dbid()},
      {"project integration", [](vob_handle_t v, vob_dbid_t d, FLM_Stream* out) {
         return FLM_Project(v, d).default_integration_stream(out);
       }, hello_dev.dbid()},
      {"baseline stream", [](vob_handle_t v, vob_dbid_t d, FLM_Stream* out) {
         return FLM_Baseline(v, d).stream(out);
       }, pub.dbid()},
      {"activity stream", [](vob_handle_t v, vob_dbid_t d, FLM_Stream* out) {
         return FLM_Activity(v, d).stream(out);
       }, bl2.dbid()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    FLM_Stream out = pat_dev;
    FLM_ImsgRedirector messages;
    EXPECT_EQ(c.call(pvob, 0, &out), TBS_ST_INVALID_ARG);
    EXPECT_EQ(c.call(pvob, 9999, &out), TBS_ST_NOT_FOUND);
    EXPECT_EQ(c.call(pvob, c.wrong_kind, &out), TBS_ST_WRONG_KIND);
    EXPECT_EQ(out, pat_dev);
    ASSERT_EQ(messages.count(), 1);  // the one that is gone says so
    EXPECT_NE(messages.message(0).find("9999"), std::string::npos) << messages.message(0);
  }
  FLM_Element element;
  EXPECT_EQ(FLM_Element(vob, hello2).crde(&element), TBS_ST_WRONG_KIND) << "a version is no element";
  EXPECT_EQ(FLM_Version(vob, hello).activity(nullptr), TBS_ST_INVALID_ARG);
}

TEST_F(FlmSample, ACallFailedByNameLeavesItsOutArgumentAndIsLogged) {
  client_local::CallLogScope log;
  for (const char* name : {"FLM_View::current_activity", "FLM_Activity::headline", "FLM_Stream::foundation"}) {
    SCOPED_TRACE(name);
    CallLog::InjectFailure(name, Failure{TBS_ST_FAILURE, {{6, "the model is unreachable\n"}}, 1});
  }
  FLM_View v1;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &v1), 0);
  FLM_ImsgRedirector messages;
  FLM_Activity activity = tidy;
  EXPECT_EQ(v1.current_activity(&activity), TBS_ST_FAILURE);
  EXPECT_EQ(activity, tidy);
  std::string headline = "kept";
  EXPECT_EQ(fix.headline(&headline), TBS_ST_FAILURE);
  EXPECT_EQ(headline, "kept");
  FLM_Foundation foundation;
  EXPECT_EQ(hello_dev.foundation(&foundation), TBS_ST_FAILURE);
  EXPECT_EQ(foundation.length(), 0u);
  EXPECT_EQ(messages.count(), 3);
  EXPECT_EQ(v1.current_activity(&activity), 0) << "failed once";
  EXPECT_EQ(activity, fix);
  EXPECT_EQ(CallLog::Calls("FLM_View::current_activity").size(), 2u);
}

// A builder that refuses its input changes nothing.
TEST_F(FlmSample, AFailedBuilderChangesNothing) {
  const std::int64_t before = ModelRows();
  const FLM_Baseline none;
  FLM_Stream stream;
  FLM_Baseline baseline;
  FLM_Activity activity;
  FLM_TLEntityID record;
  const struct {
    const char* builder;
    std::function<int()> call;
    int status;
  } cases[] = {
      {"stream name taken", [&] {
         return flm_admin_mkstream(hello_project, "hello_dev", "", false, "dev", nullptr, &stream);
       }, TBS_ST_ALREADY},
      {"bad stream name", [&] {
         return flm_admin_mkstream(hello_project, "two words", "", false, "dev", nullptr, &stream);
       }, TBS_ST_INVALID_ARG},
      {"no integration stream", [&] {
         FLM_Project p; flm_admin_mkproject(root, "bare", "", false, &p);
         return flm_admin_mkstream(p, "s", "", false, "s", nullptr, &stream);
       }, TBS_ST_NOT_FOUND},
      {"unknown level", [&] {
         return flm_admin_mkbaseline(hello_int, pub, "BL9", bl2, 1, "GOLDEN", "", &baseline);
       }, TBS_ST_NOT_FOUND},
      {"labeling out of range", [&] {
         return flm_admin_mkbaseline(hello_int, pub, "BL9", none, 5, "", "", &baseline);
       }, TBS_ST_INVALID_ARG},
      {"predecessor of another kind", [&] {
         return flm_admin_mkbaseline(hello_int, pub, "BL9", FLM_Baseline(pvob, fix.dbid()), 1, "", "", &baseline);
       }, TBS_ST_WRONG_KIND},
      {"version in another change set", [&] {
         return flm_admin_add_change(tidy, FLM_Version(vob, dev1));
       }, TBS_ST_ALREADY},
      {"record bound elsewhere", [&] { return flm_admin_bind_tl(fix, record1); }, TBS_ST_ALREADY},
      {"unknown record type", [&] {
         return flm_admin_mktlrecord("SAMPL", "Wish", "Submitted", "x", "", &record);
       }, TBS_ST_NOT_FOUND},
      {"activity of another stream", [&] {
         return flm_admin_set_view_stream("v1", hello_dev, tidy);
       }, TBS_ST_INVALID_ARG},
      {"view not there", [&] { return flm_admin_set_view_stream("nowhere", hello_dev, fix); }, TBS_ST_NOT_FOUND},
      {"activity on a baseline", [&] {
         return flm_admin_mkactivity(FLM_Stream(pvob, bl2.dbid()), "a", "", nullptr, &activity);
       }, TBS_ST_WRONG_KIND},
  };
  FLM_ImsgRedirector messages;
  for (const auto& c : cases) {
    const std::int64_t rows = ModelRows();
    EXPECT_EQ(c.call(), c.status) << c.builder;
    if (std::string(c.builder) != "no integration stream") {
      EXPECT_EQ(ModelRows(), rows) << c.builder;
    }
  }
  EXPECT_TRUE(stream.is_null() && baseline.is_null() && activity.is_null() && record.is_null());
  EXPECT_GT(ModelRows(), before) << "only the bare project was made";

  // A builder made to fail by name leaves the view as it was.
  CallLog::InjectFailure("flm_admin_set_view_stream", Failure{TBS_ST_FAILURE, {}, 1});
  EXPECT_EQ(flm_admin_set_view_stream("v1", pat_dev, FLM_Activity()), TBS_ST_FAILURE);
  FLM_View v1;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &v1), 0);
  EXPECT_EQ(v1.stream(&stream), 0);
  EXPECT_EQ(stream, hello_dev);
}

// Removing the project VOB takes its change sets and the views' streams
// with it: no version of another VOB is left in a change set that is gone.
TEST_F(FlmSample, RemovingTheProjectVobLeavesNoChangeBehind) {
  ASSERT_EQ(vob_rmvob(pvob), 0);
  FLM_Activity activity = tidy;
  EXPECT_EQ(FLM_Version(vob, dev1).activity(&activity), 0);
  EXPECT_TRUE(activity.is_null());
  FLM_View v1;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &v1), 0);
  bool flm = true;
  EXPECT_EQ(v1.is_flm_view(&flm), 0);
  EXPECT_FALSE(flm);
}

// A view that works in a stream shows the stream's versions: its branch's
// latest, else its foundation's labels, else \main\LATEST.
TEST_F(FlmSample, AStreamViewsFilesAreTheStreamsVersions) {
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello dev\n");
  EXPECT_FALSE(Writable(File("public/src/hello.c")));
  EXPECT_EQ(State("\\\\view\\v1\\public\\src\\hello.c"), VIEW_FILE_CHECKED_IN);
  EXPECT_EQ(Read(File("public/src/util.c")), "util 1\n");
  // Moved to pat's stream, the view falls back to the foundation-less rules.
  ASSERT_EQ(flm_admin_set_view_stream("v1", pat_dev, FLM_Activity()), 0);
  EXPECT_EQ(Read(File("public/src/hello.c")), "hello 2\n");
  FLM_View v1;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &v1), 0);
  FLM_Activity current = fix;
  EXPECT_EQ(v1.current_activity(&current), 0);
  EXPECT_TRUE(current.is_null());
}

}  // namespace

namespace {

TEST_F(FlmSample, CreateActivityMakesOneOwnedByTheUserOrRefusesAndStoresNothing) {
  FLM_OsUser me;
  ASSERT_EQ(FLM_OsUser::current_user(&me), 0);
  const struct {
    const char *id, *headline;
    int status;
    const char* made;     // its name, when made
    const char* message;  // part of what a refusal says
  } cases[] = {
      {"", "Greet", TBS_ST_OK, "activity_1", nullptr},
      {"", "Greet again", TBS_ST_OK, "activity_2", nullptr},
      {"greet_welsh", "Greet in Welsh", TBS_ST_OK, "greet_welsh", nullptr},
      {"fix", "Taken", TBS_ST_ALREADY, nullptr, "\"fix\""},
      {"bad name", "Spaces", TBS_ST_INVALID_ARG, nullptr, "bad name"},
      {"", " ", TBS_ST_INVALID_ARG, nullptr, "headline"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.id) + "/" + c.headline);
    const std::int64_t rows = ModelRows();
    FLM_ImsgRedirector messages;
    FLM_Activity made;
    ASSERT_EQ(hello_dev.create_activity(c.id, c.headline, nullptr, nullptr, &made), c.status);
    if (!c.made) {
      EXPECT_TRUE(made.is_null());
      EXPECT_EQ(ModelRows(), rows);
      ASSERT_EQ(messages.count(), 1);
      EXPECT_NE(messages.message(0).find(c.message), std::string::npos) << messages.message(0);
      continue;
    }
    std::string headline;
    FLM_OsUser owner;
    FLM_Stream stream;
    bool integration = true;
    EXPECT_EQ(Name(made), c.made);
    ASSERT_EQ(made.headline(&headline), 0);
    EXPECT_EQ(headline, c.headline);
    ASSERT_EQ(made.owner(&owner), 0);
    EXPECT_EQ(owner, me);
    ASSERT_EQ(made.stream(&stream), 0);
    EXPECT_EQ(stream, hello_dev);
    ASSERT_EQ(made.is_integration_activity(&integration), 0);
    EXPECT_FALSE(integration);
  }
  // A record cannot be bound here; an injected failure stores nothing either.
  const FLM_TLEntityID record("SAMPL", 2);
  FLM_Activity made;
  EXPECT_EQ(hello_dev.create_activity("", "Bound", nullptr, &record, &made), TBS_ST_INVALID_ARG);
  const std::int64_t rows = ModelRows();
  ASSERT_TRUE(client_local::CallLog::InjectFailure("FLM_Stream::create_activity", rv_test::Failing(TBS_ST_FAILURE)));
  EXPECT_EQ(hello_dev.create_activity("", "Refused", nullptr, nullptr, &made), TBS_ST_FAILURE);
  client_local::CallLog::ClearFailures();
  EXPECT_EQ(ModelRows(), rows);
}

TEST_F(FlmSample, IntegrationActivitiesCarryTheirKindsPvarAndContributorsInRecordedOrder) {
  bool deliver_pvar = false, rebase_pvar = true, fix_pvar = true, integration = false;
  ASSERT_EQ(deliver.pvar_exists(FLM_PVAR_DELIVER, &deliver_pvar), 0);
  ASSERT_EQ(deliver.pvar_exists(FLM_PVAR_REBASE, &rebase_pvar), 0);
  ASSERT_EQ(fix.pvar_exists(FLM_PVAR_DELIVER, &fix_pvar), 0);
  ASSERT_EQ(deliver.is_integration_activity(&integration), 0);
  EXPECT_TRUE(deliver_pvar);
  EXPECT_FALSE(rebase_pvar);
  EXPECT_FALSE(fix_pvar);
  EXPECT_TRUE(integration);
  ASSERT_EQ(flm_admin_add_contributor(deliver, tidy), 0);  // recorded after fix, named after it too
  FLM_Activity early;
  ASSERT_EQ(flm_admin_mkactivity(hello_dev, "a_first", "First by name", nullptr, &early), 0);
  ASSERT_EQ(flm_admin_add_contributor(deliver, early), 0);
  FLM_ActivityList contributors;
  ASSERT_EQ(deliver.contrib_activities(&contributors), 0);
  EXPECT_EQ(Names(contributors), "fix tidy a_first");
}

}  // namespace
