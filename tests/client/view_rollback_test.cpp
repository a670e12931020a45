// A store commit that fails after a command changed a view's file: the store
// keeps nothing, and the view's directory is left as it was (the file's text
// and whether it is writable).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cmd_merge.h"
#include "cmd_uncheckout.h"
#include "cmd_utl.h"
#include "stg.h"
#include "support/message_capture.h"
#include "support/repository.h"
#include "view.h"
#include "view_ws.h"
#include "vob.h"

namespace {

constexpr const char* kHello = "\\\\view\\v1\\public\\src\\hello.c";

class ViewRollback : public rv_test::ViewTest {
 protected:
  ViewRollback() : ViewTest(/*store_in_file=*/true) {}

  void CheckOutHello(const std::string& edit) {
    vob_dbid_t out = 0;
    ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 1, "", &out), 0);
    Write(File("public/src/hello.c"), edit);
  }
  int UndoCheckOut() {
    const stg_area_t area = stg_create_area(1024);
    const char* names[] = {kHello};
    cmd_uncheckout_args_s args;
    args.area = area;
    args.pnames = names;
    args.pname_count = 1;
    args.keep = 1;
    args.rm = 0;
    const int status = cmd_uncheckout(&args);
    stg_delete_area(area);
    return status;
  }
  int MergeDevIntoHello() {
    const stg_area_t area = stg_create_area(1024);
    const char* contributors[] = {"\\public\\src\\hello.c@@\\main\\dev\\1"};
    cmd_merge_args_s args;
    args.area = area;
    args.contributors = contributors;
    args.contributor_count = 1;
    args.target = kHello;
    args.base = "\\public\\src\\hello.c@@\\main\\1";
    const int status = cmd_merge(&args);
    stg_delete_area(area);
    return status;
  }
};

TEST_F(ViewRollback, EachCommandWhoseCommitFailsLeavesTheFileAsItWas) {
  struct Case {
    const char* name;
    std::string edit;  // a check-out with this edit first ("": none)
    std::function<int()> command;
  };
  const Case cases[] = {
      {"check-out", "",
       [this] {
         vob_dbid_t out = 0;
         return cmd_utl_checkout(vob, hello, "v1", 1, "", &out);
       }},
      {"check-in", "my edits\n",
       [this] { return vob_utl_checkin(vob, "\\public\\src\\hello.c", "v1", "", nullptr); }},
      {"undo check-out", "my edits\n", [this] { return UndoCheckOut(); }},
      {"merge", "hello 1\n", [this] { return MergeDevIntoHello(); }},  // takes dev's change unopposed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.edit.empty()) CheckOutHello(c.edit);
    const std::string text = Read(File("public/src/hello.c"));
    const bool writable = Writable(File("public/src/hello.c"));
    const int state = State(kHello);
    int status = 0;
    {
      rv_test::MessageCapture messages;
      rv_test::StoreReadLock lock(StoreFile());
      status = c.command();
      EXPECT_NE(messages.Text().find("cannot save the changes"), std::string::npos) << messages.Text();
    }
    EXPECT_NE(status, 0);
    EXPECT_EQ(Read(File("public/src/hello.c")), text);
    EXPECT_EQ(Writable(File("public/src/hello.c")), writable);
    EXPECT_EQ(State(kHello), state) << "the store kept nothing either";
    EXPECT_FALSE(std::filesystem::exists(File("public/src/hello.c.keep")));
    if (!c.edit.empty()) {
      ASSERT_EQ(vob_utl_uncheckout(vob, "\\public\\src\\hello.c", "v1"), 0);
    }
    EXPECT_EQ(Read(File("public/src/hello.c")), "hello 2\n");
  }
}

}  // namespace
