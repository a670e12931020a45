#pragma once
// The change-management sample of the model's suites, built with the
// flm_admin_ builders over the repository sample of ViewTest:
//
// The project VOB \projects (promotion levels REJECTED, INITIAL, BUILT,
// TESTED, RELEASED) with the folder apps under its root folder; the
// components public (rooted at \public) and hello_all (no root); the project
// hello (title "Hello", public modifiable, policy variable deliver=all) with
// the integration stream hello_int (branch type hello_int) and the
// development streams hello_dev (this user, branch type dev) and pat_dev
// (pat); the baselines of public made in hello_int: INITIAL (Full, level
// INITIAL, label REL1), BL2 (after INITIAL, Incremental, BUILT) and BL_bad
// (obsolete), and the composite hello_BL2 of hello_all with the member BL2.
// hello_dev starts from INITIAL and hello_BL2; hello_int recommends BL2. The
// activities fix (hello_dev, "Fix the greeting", changing \main\dev\1 of
// hello.c), tidy (pat_dev, pat) and deliver.hello_dev.1 (hello_int, a
// finished deliver from hello_dev bringing fix and BL2). The single-stream
// project tracked in apps with tracked_int, Tracklane database SAMPL (types
// Defect, Enhancement) and records 1 (bound to tracked_int's activity
// crash), 2 Submitted "Add a farewell" and 3 Closed. The view v1 works in
// hello_dev with fix current.
#include "flm.h"
#include "support/repository.h"

namespace rv_test {

class FlmSampleTest : public ViewTest {
 protected:
  void SetUp() override;

  vob_handle_t pvob = 0;
  FLM_Folder root, apps;
  FLM_Component pub, hello_all;
  FLM_Project hello_project, tracked;
  FLM_Stream hello_int, hello_dev, pat_dev, tracked_int;
  FLM_Baseline initial, bl2, bl_bad, hello_bl2;
  FLM_Activity fix, tidy, deliver, crash;
  FLM_TLEntityID record1, record2, record3;
};

}  // namespace rv_test
