#include "support/flm_sample.h"

#include "flm_admin.h"
#include "tbs.h"

namespace rv_test {

namespace {

FLM_StringList Strings(std::initializer_list<const char*> texts) {
  FLM_StringList list;
  for (const char* text : texts) list.append(text);
  return list;
}

}  // namespace

void FlmSampleTest::SetUp() {
  ViewTest::SetUp();
  ASSERT_EQ(vob_create("\\projects", "project VOB", &pvob), 0);
  vob_dbid_t public_root = 0;
  ASSERT_EQ(vob_get_root_elem(vob, &public_root), 0);
  const FLM_Baseline none;
  ASSERT_EQ(flm_admin_mkrootfolder(pvob, &root), 0);
  ASSERT_EQ(flm_admin_set_plevels(pvob, Strings({"REJECTED", "INITIAL", "BUILT", "TESTED", "RELEASED"})), 0);
  ASSERT_EQ(flm_admin_mkfolder(root, "apps", &apps), 0);
  ASSERT_EQ(flm_admin_mkcomponent(pvob, "public", vob, public_root, &pub), 0);
  ASSERT_EQ(flm_admin_mkcomponent(pvob, "hello_all", 0, 0, &hello_all), 0);
  ASSERT_EQ(flm_admin_mkproject(root, "hello", "Hello", false, &hello_project), 0);
  ASSERT_EQ(flm_admin_set_modifiable(hello_project, pub), 0);
  ASSERT_EQ(flm_admin_set_pvar(hello_project, "deliver", "all"), 0);
  ASSERT_EQ(flm_admin_mkstream(hello_project, "hello_int", "Integration", true, "hello_int", nullptr, &hello_int), 0);
  ASSERT_EQ(flm_admin_mkstream(hello_project, "hello_dev", "Development", false, "dev", nullptr, &hello_dev), 0);
  ASSERT_EQ(flm_admin_mkstream(hello_project, "pat_dev", "Pat's work", false, "pat_dev", "pat", &pat_dev), 0);
  ASSERT_EQ(flm_admin_mkbaseline(hello_int, pub, "INITIAL", none, FLM_LABELING_FULL, "INITIAL", "REL1", &initial), 0);
  ASSERT_EQ(flm_admin_mkbaseline(hello_int, pub, "BL2", initial, FLM_LABELING_INCREMENTAL, "BUILT", "", &bl2), 0);
  ASSERT_EQ(flm_admin_mkbaseline(hello_int, pub, "BL_bad", bl2, FLM_LABELING_NOT_LABELED, "REJECTED", "", &bl_bad), 0);
  ASSERT_EQ(vob_obj_set_obsolete(pvob, bl_bad.dbid(), 1), 0);
  ASSERT_EQ(flm_admin_mkbaseline(hello_int, hello_all, "hello_BL2", none, FLM_LABELING_NOT_LABELED, "", "", &hello_bl2),
            0);
  ASSERT_EQ(flm_admin_add_member(hello_bl2, bl2), 0);
  ASSERT_EQ(flm_admin_add_foundation(hello_dev, initial), 0);
  ASSERT_EQ(flm_admin_add_foundation(hello_dev, hello_bl2), 0);
  ASSERT_EQ(flm_admin_add_recommended(hello_int, bl2), 0);
  ASSERT_EQ(flm_admin_mkactivity(hello_dev, "fix", "Fix the greeting", nullptr, &fix), 0);
  ASSERT_EQ(flm_admin_add_change(fix, FLM_Version(vob, dev1)), 0);
  ASSERT_EQ(flm_admin_mkactivity(pat_dev, "tidy", "Tidy up", "pat", &tidy), 0);
  ASSERT_EQ(flm_admin_mkactivity(hello_int, "deliver.hello_dev.1", "deliver hello_dev", nullptr, &deliver), 0);
  ASSERT_EQ(flm_admin_set_integration(deliver, FLM_ACTIVITY_DELIVER, FLM_INTEGRATION_DONE, hello_dev), 0);
  ASSERT_EQ(flm_admin_add_contributor(deliver, fix), 0);
  ASSERT_EQ(flm_admin_add_integration_baseline(deliver, bl2), 0);

  ASSERT_EQ(flm_admin_mkproject(apps, "tracked", "Tracked", true, &tracked), 0);
  ASSERT_EQ(flm_admin_mkstream(tracked, "tracked_int", "Tracked work", true, "tracked", nullptr, &tracked_int), 0);
  for (const char* type : {"Defect", "Enhancement"}) ASSERT_EQ(flm_admin_add_tl_type("SAMPL", type), 0);
  ASSERT_EQ(flm_admin_set_project_tl(tracked, "SAMPL", Strings({"Defect", "Enhancement"})), 0);
  ASSERT_EQ(flm_admin_mktlrecord("SAMPL", "Defect", "Opened", "It crashes", "", &record1), 0);
  ASSERT_EQ(flm_admin_mktlrecord("SAMPL", "Enhancement", "Submitted", "Add a farewell", "", &record2), 0);
  ASSERT_EQ(flm_admin_mktlrecord("SAMPL", "Defect", "Closed", "Old trouble", "", &record3), 0);
  ASSERT_EQ(flm_admin_mkactivity(tracked_int, "crash", "It crashes", nullptr, &crash), 0);
  ASSERT_EQ(flm_admin_bind_tl(crash, record1), 0);

  ASSERT_EQ(flm_admin_set_view_stream("v1", hello_dev, fix), 0);
}

}  // namespace rv_test
