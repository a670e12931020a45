// The version a view's file was loaded from, which the compare with the
// predecessor starts from; and names too long for the file system.
#include <gtest/gtest.h>

#include <string>

#include "tbs.h"
#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "view_ws.h"

namespace {

class LoadedVersion : public rv_test::ViewTest {
 protected:
  int Loaded(const std::string& name, vob_dbid_t* version, int* checked_out) {
    vob_handle_t found_vob = 0;
    const int rc = view_file_loaded_version(name.c_str(), &found_vob, version, checked_out);
    if (rc == 0) {
      EXPECT_EQ(found_vob, vob) << name;
    }
    return rc;
  }
};

TEST_F(LoadedVersion, ACheckedInFileACheckOutAndAHijackedFile) {
  vob_dbid_t version = 0;
  int checked_out = -1;
  ASSERT_EQ(Loaded("\\\\view\\v1\\public\\src\\hello.c", &version, &checked_out), 0);
  EXPECT_EQ(version, hello2);
  EXPECT_EQ(checked_out, 0);

  vob_dbid_t out = 0;
  ASSERT_EQ(cmd_utl_checkout(vob, hello, "v1", 1, "edit", &out), 0);
  ASSERT_EQ(Loaded("M:\\v1\\public\\src\\hello.c", &version, &checked_out), 0);
  EXPECT_EQ(version, out);
  EXPECT_EQ(checked_out, 1);
  vob_dbid_t pred = 0;
  ASSERT_EQ(vob_ver_get_pred_ver(vob, out, &pred), 0);
  EXPECT_EQ(pred, hello2) << "the version it was checked out from";

  // A hijacked copy keeps the version it was loaded from, even when a newer
  // one is checked in elsewhere.
  std::filesystem::permissions(File("public/doc/README.txt"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  Write(File("public/doc/README.txt"), "my notes\n");
  vob_dbid_t before = 0;
  ASSERT_EQ(Loaded("\\\\view\\v1\\public\\doc\\README.txt", &before, &checked_out), 0);
  vob_dbid_t newer = 0;
  Version(readme, "\\public\\doc\\README.txt", "read me 2\n", &newer);
  ASSERT_EQ(Loaded("\\\\view\\v1\\public\\doc\\README.txt", &version, &checked_out), 0);
  EXPECT_EQ(version, before);
  EXPECT_NE(version, newer);
  EXPECT_EQ(checked_out, 0);
  EXPECT_EQ(Read(File("public/doc/README.txt")), "my notes\n");
}

TEST_F(LoadedVersion, NamesWithoutAnElementsFileAreRefused) {
  Write(File("public/src/mine.txt"), "private\n");
  vob_dbid_t version = 0;
  int checked_out = 0;
  const std::string long_name = "\\\\view\\v1\\public\\src\\" + std::string(5000, 'x') + ".c";
  struct Case {
    std::string name;
    int status;
  };
  const Case cases[] = {
      {"\\\\view\\v1\\public\\src\\mine.txt", TBS_ST_NOT_FOUND},   // view-private
      {"\\\\view\\v1\\public\\src", TBS_ST_NOT_FOUND},             // a directory
      {"\\\\view\\v1\\public\\src\\gone.c", TBS_ST_NOT_FOUND},      // absent
      {"\\\\view\\v1\\public\\src\\a b \"c\" \xC3\xA9.c", TBS_ST_NOT_FOUND},
      {long_name, TBS_ST_NOT_FOUND},
      {"\\\\view\\nosuch\\public\\src\\hello.c", TBS_ST_NOT_FOUND},
      {"\\\\view\\v1", TBS_ST_NOT_FOUND},                           // the root
      {"\\\\view\\v1\\public\\src\\hello.c@@\\main\\1", TBS_ST_INVALID_ARG},
      {"C:\\public\\src\\hello.c", TBS_ST_INVALID_ARG},
      {"\\\\view\\v1\\..\\v2\\x", TBS_ST_INVALID_ARG},
      {"", TBS_ST_INVALID_ARG},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Loaded(c.name, &version, &checked_out), c.status) << c.name.substr(0, 80);
  EXPECT_EQ(view_file_loaded_version(nullptr, nullptr, &version, &checked_out), TBS_ST_INVALID_ARG);
  // A name too long for the file system is simply not there.
  EXPECT_EQ(State(long_name), VIEW_FILE_ABSENT);
}

}  // namespace
