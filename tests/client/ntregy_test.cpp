// The VOBs registered to be mounted again at logon.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "local/store.h"
#include "ntregy.h"
#include "tbs.h"

namespace {

using Tags = std::vector<std::string>;

Tags Registered() {
  Tags tags;
  EXPECT_EQ(ntregy_get_persistent_vobs(&tags), 0);
  return tags;
}

TEST(PersistentVobs, AddingKeepsOneEntryATagAndRemovingAnAbsentTagSucceeds) {
  auto previous = client_local::UseStore(client_local::Store::OpenMemory());
  EXPECT_EQ(Registered(), Tags());
  EXPECT_EQ(ntregy_add_persistent_vob("\\public"), 0);
  EXPECT_EQ(ntregy_add_persistent_vob("\\private"), 0);
  EXPECT_EQ(ntregy_add_persistent_vob("\\public"), 0);
  EXPECT_EQ(Registered(), (Tags{"\\public", "\\private"})) << "in the order first added";
  EXPECT_EQ(ntregy_remove_persistent_vob("\\nosuch"), 0);
  EXPECT_EQ(ntregy_remove_persistent_vob("\\public"), 0);
  EXPECT_EQ(ntregy_remove_persistent_vob("\\public"), 0);
  EXPECT_EQ(Registered(), Tags{"\\private"});
  for (const char* bad : {static_cast<const char*>(nullptr), ""}) {
    EXPECT_EQ(ntregy_add_persistent_vob(bad), TBS_ST_INVALID_ARG);
    EXPECT_EQ(ntregy_remove_persistent_vob(bad), TBS_ST_INVALID_ARG);
  }
  EXPECT_EQ(ntregy_get_persistent_vobs(nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(Registered(), Tags{"\\private"});
  client_local::UseStore(nullptr);
  EXPECT_EQ(ntregy_add_persistent_vob("\\public"), TBS_ST_FAILURE) << "no store, nothing kept";
  client_local::UseStore(std::move(previous));
}

}  // namespace
