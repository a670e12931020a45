// The change-management model's value objects: how they are made, what they
// answer while nothing is change-managed, and how they fail.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "flm.h"
#include "flm_imsg_redirector.h"
#include "local/calllog.h"
#include "tbs.h"
#include "view.h"
#include "support/repository.h"
#include "cmd_utl.h"
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
  EXPECT_TRUE(FLM_Project().is_null());
  EXPECT_TRUE(FLM_Activity().is_null());
  EXPECT_TRUE(FLM_Element().is_null());
  EXPECT_TRUE(FLM_Version().is_null());
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
  EXPECT_FALSE(made.is_null());
  EXPECT_EQ(made.handle(), vob);
  EXPECT_EQ(made.tag(), "\\public");

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

TEST_F(FlmModel, AViewIsMadeFromItsTagOrItsUuid) {
  FLM_View by_tag;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &by_tag), 0);
  EXPECT_EQ(by_tag.tag(), "v1");
  tbs_uuid_t uuid;
  ASSERT_EQ(vob_ob_view_to_uuid("v1", &uuid), 0);
  EXPECT_EQ(std::memcmp(by_tag.uuid().bytes, uuid.bytes, sizeof uuid.bytes), 0);

  FLM_View by_uuid;
  ASSERT_EQ(FLM_View::construct_from_uuid(uuid, &by_uuid), 0);
  EXPECT_EQ(by_uuid.tag(), "v1");

  FLM_ImsgRedirector messages;
  FLM_View untouched;
  EXPECT_EQ(FLM_View::construct_from_tag("nowhere", &untouched), TBS_ST_NOT_FOUND);
  tbs_uuid_t other = uuid;
  other.bytes[0] ^= 0xFF;
  EXPECT_EQ(FLM_View::construct_from_uuid(other, &untouched), TBS_ST_NOT_FOUND);
  EXPECT_TRUE(untouched.is_null());
  ASSERT_EQ(messages.count(), 2);
  EXPECT_NE(messages.message(0).find("\"nowhere\""), std::string::npos) << messages.message(0);
  EXPECT_NE(messages.message(1).find("UUID"), std::string::npos) << messages.message(1);

  EXPECT_EQ(FLM_View::construct_from_uuid(TBS_UUID_NULL, &untouched), TBS_ST_INVALID_ARG);
  EXPECT_EQ(FLM_View::construct_from_tag(nullptr, &untouched), TBS_ST_INVALID_ARG);
}

TEST_F(FlmModel, NoViewIsAStreamViewYet) {
  FLM_View view;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &view), 0);
  bool flm = true;
  EXPECT_EQ(view.is_flm_view(&flm), 0);
  EXPECT_FALSE(flm);
  FLM_Stream stream(vob, hello);  // overwritten by the answer
  EXPECT_EQ(view.stream(&stream), 0);
  EXPECT_TRUE(stream.is_null());

  // A null view or stream is no question; a view removed since is gone.
  EXPECT_EQ(FLM_View().is_flm_view(&flm), TBS_ST_INVALID_ARG);
  FLM_Project project;
  EXPECT_EQ(FLM_Stream().project(&project), TBS_ST_INVALID_ARG);
  ASSERT_EQ(view_remove("v1"), 0);
  FLM_ImsgRedirector messages;
  EXPECT_EQ(view.is_flm_view(&flm), TBS_ST_NOT_FOUND);
  EXPECT_EQ(view.stream(&stream), TBS_ST_NOT_FOUND);
  EXPECT_EQ(messages.count(), 2);
}

TEST_F(FlmModel, AVersionKnowsItsElementWhichBelongsToNoComponent) {
  const FLM_Version version(vob, hello2);
  FLM_Element element;
  ASSERT_EQ(version.element(&element), 0);
  EXPECT_EQ(element.vob(), vob);
  EXPECT_EQ(element.dbid(), hello);
  FLM_Element crde(vob, src);  // overwritten by the answer
  EXPECT_EQ(element.crde(&crde), 0);
  EXPECT_TRUE(crde.is_null());
  FLM_Activity activity(vob, hello);
  EXPECT_EQ(version.activity(&activity), 0);
  EXPECT_TRUE(activity.is_null());
}

TEST_F(FlmModel, ObjectsOfAnotherKindOrNotThereAreRefused) {
  FLM_Element element;
  FLM_Activity activity;
  EXPECT_EQ(FLM_Version(vob, hello).element(&element), TBS_ST_WRONG_KIND) << "an element is no version";
  EXPECT_EQ(FLM_Version(vob, hello).activity(&activity), TBS_ST_WRONG_KIND);
  EXPECT_EQ(FLM_Element(vob, hello2).crde(&element), TBS_ST_WRONG_KIND) << "a version is no element";
  EXPECT_TRUE(element.is_null());
  FLM_ImsgRedirector messages;
  EXPECT_EQ(FLM_Version(vob, 9999).element(&element), TBS_ST_NOT_FOUND);
  FLM_Project project;
  EXPECT_EQ(FLM_Stream(vob, 9999).project(&project), TBS_ST_NOT_FOUND);
  ASSERT_EQ(messages.count(), 2);
  EXPECT_NE(messages.message(0).find("no version 9999"), std::string::npos) << messages.message(0);
  EXPECT_EQ(FLM_Version().element(&element), TBS_ST_INVALID_ARG);
  EXPECT_EQ(FLM_Version(vob, hello2).element(nullptr), TBS_ST_INVALID_ARG);
}

TEST_F(FlmModel, EveryCallIsLoggedAndCanBeMadeToFail) {
  client_local::CallLogScope log;
  FLM_View view;
  ASSERT_EQ(FLM_View::construct_from_tag("v1", &view), 0);
  CallLog::InjectFailure("FLM_View::is_flm_view", Failure{TBS_ST_FAILURE, {{6, "the model is unreachable\n"}}, 1});
  FLM_ImsgRedirector messages;
  bool flm = true;
  EXPECT_EQ(view.is_flm_view(&flm), TBS_ST_FAILURE);
  EXPECT_TRUE(flm) << "a failed query leaves its out-argument alone";
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"the model is unreachable\n"});
  EXPECT_EQ(view.is_flm_view(&flm), 0);
  EXPECT_EQ(CallLog::Calls("FLM_View::construct_from_tag").size(), 1u);
  EXPECT_EQ(CallLog::Calls("FLM_View::is_flm_view").size(), 2u);
}

}  // namespace
