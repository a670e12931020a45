// What the per-file item finds out about a file of a view, each answer found
// once, with the repository's status and messages left in the status.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "../../client/view_fixture.h"
#include "fileops/file_item.h"
#include "fileops/operation_list.h"
#include "gcl_status.h"

namespace {

class FileItemTest : public view_test::ViewFixture {
 protected:
  CFileItem Item(const std::string& path) {
    COperationObj entry;
    entry.m_path = path;
    CFileItem item;
    GCL_Status status;
    item.Init(status, entry);
    return item;
  }
};

TEST_F(FileItemTest, ACheckedInFileOfTheView) {
  CFileItem item = Item("\\\\view\\v1\\public\\src\\hello.c");
  GCL_Status status;
  EXPECT_TRUE(item.IsInView(status));
  EXPECT_TRUE(item.Exists(status));
  EXPECT_EQ(item.ViewTag(status), "v1");
  EXPECT_NE(item.Element(status), 0u);
  EXPECT_FALSE(item.IsDirectory(status));
  EXPECT_FALSE(item.IsCheckedOut(status));
  EXPECT_FALSE(item.HasReservedCheckout(status));
  EXPECT_FALSE(item.IsHijacked(status));
  EXPECT_TRUE(status.ok()) << status.messages().c_str();
  CFileItem dir = Item("\\\\view\\v1\\public\\src");
  EXPECT_TRUE(dir.IsDirectory(status));
}

TEST_F(FileItemTest, CheckOutsInThisViewAndInOthers) {
  vob_dbid_t out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 0, "", &out), 0);
  ASSERT_EQ(cmd_utl_checkout(vob, util, "elsewhere", 1, "", &out), 0);
  GCL_Status status;
  CFileItem hello_item = Item("\\\\view\\v1\\public\\src\\hello.c");
  EXPECT_TRUE(hello_item.IsCheckedOut(status));
  EXPECT_FALSE(hello_item.HasReservedCheckout(status)) << "unreserved";
  CFileItem util_item = Item("\\\\view\\v1\\public\\src\\util.c");
  EXPECT_FALSE(util_item.IsCheckedOut(status)) << "checked out in another view only";
  EXPECT_TRUE(util_item.HasReservedCheckout(status));
  EXPECT_TRUE(status.ok());
}

TEST_F(FileItemTest, AHijackedFileAndAMissingOneAreAnswersNotFailures) {
  const auto file = File("public/src/util.c");
  ::chmod(file.c_str(), 0644);
  Write(file, "changed by hand\n");
  GCL_Status status;
  EXPECT_TRUE(Item("\\\\view\\v1\\public\\src\\util.c").IsHijacked(status));
  CFileItem missing = Item("\\\\view\\v1\\public\\src\\nothing.c");
  EXPECT_FALSE(missing.Exists(status));
  EXPECT_FALSE(missing.IsHijacked(status));
  EXPECT_TRUE(status.ok());
  EXPECT_EQ(missing.Element(status), 0u);
  EXPECT_FALSE(status.ok()) << "a file that is no element leaves the lookup's status";
}

TEST_F(FileItemTest, EachAnswerIsFoundOnceAndAFailureKeepsItsMessages) {
  client_local::CallLogScope log;
  GCL_Status status;
  CFileItem item = Item("\\\\view\\v1\\public\\src\\hello.c");
  item.IsCheckedOut(status);
  item.HasReservedCheckout(status);
  item.IsCheckedOut(status);
  EXPECT_EQ(client_local::CallLog::Calls("cmd_lscheckout_get_list").size(), 1u);

  client_local::CallLog::InjectFailure("cmd_lscheckout_get_list",
                                       client_local::Failure{1001, {{6, "the check-out list is unreadable\n"}}, 1});
  CFileItem other = Item("\\\\view\\v1\\public\\src\\util.c");
  GCL_Status failing;
  EXPECT_FALSE(other.IsCheckedOut(failing));
  EXPECT_EQ(failing.code(), 1001u);
  EXPECT_STREQ(failing.messages().c_str(), "the check-out list is unreadable\n");
}

}  // namespace
