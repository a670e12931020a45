// Attributes and their values, triggers, protection, derived objects, VOB
// symbolic links, and hyperlinks seen from their ends.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "gcl_status.h"
#include "support/repository.h"
#include "view.h"
#include "cmd_utl.h"
#include "rvl_attribute.h"
#include "rvl_hyperlink.h"
#include "rvl_resolve.h"
#include "rvl_version.h"
#include "tbs.h"
#include "vob_attr.h"
#include "vob_val.h"

namespace {

using rv_test::Failing;

using client_local::CallLog;
using client_local::CallLogScope;
using rv_test::RepositoryTest;

class MoreObjects : public RepositoryTest {
 protected:
  RVL_Vob Vob() const { return RVL_Vob(repo.vob); }
};

TEST(RvlValues, ReadWriteAndCompareEachKind) {
  const struct {
    const char* kind;
    const char* text;
    const char* shown;  // null: refused
  } cases[] = {
      {"integer", "-12", "-12"},         {"integer", "12x", nullptr}, {"integer", "", nullptr},
      {"integer", "99999999999999999999", nullptr},
      {"real", "2.5", "2.5"},            {"real", "abc", nullptr},    {"real", "inf", nullptr},
      {"string", "any \"text\" at all", "any \"text\" at all"},      {"string", "", ""},
      {"time", "06-Dec-2026.20:20:32", "06-Dec-2026.20:20:32"},      {"time", "yesterday", nullptr},
      {"opaque", "00ff1A", "00ff1a"},    {"opaque", "0f0", nullptr},  {"opaque", "zz", nullptr},
      {"color", "red", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + c.text);
    GCL_Status status;
    const RVL_AttributeValue value = RVL_AttributeValue::parse(status, c.kind, c.text);
    if (!c.shown) {
      EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
      EXPECT_TRUE(value.is_null());
      continue;
    }
    ASSERT_TRUE(status.ok());
    EXPECT_EQ(value.kind(), c.kind);
    EXPECT_EQ(value.text(), c.shown);
    const RVL_AttributeValue copy = value;  // copies own their data
    EXPECT_EQ(copy, value);
    EXPECT_EQ(copy.compare(value), 0);
  }
  GCL_Status status;
  const RVL_AttributeValue one = RVL_AttributeValue::parse(status, "integer", "1");
  const RVL_AttributeValue two = RVL_AttributeValue::parse(status, "integer", "2");
  const RVL_AttributeValue text = RVL_AttributeValue::parse(status, "string", "1");
  EXPECT_LT(one.compare(two), 0);
  EXPECT_GT(two.compare(one), 0);
  EXPECT_NE(one, text);  // another kind is never equal
  int result = 0;
  EXPECT_EQ(vob_val_cmp_value(&one.value(), &text.value(), &result), TBS_ST_INVALID_ARG);
}

TEST_F(MoreObjects, AttributesAreListedAddedAndDropped) {
  ASSERT_EQ(vob_attype_create(repo.vob, "Priority", VOB_VAL_INTEGER, "", nullptr), 0);
  ASSERT_EQ(vob_attype_create(repo.vob, "Note", VOB_VAL_STRING, "", nullptr), 0);
  GCL_Status status;
  const RVL_Version v1(status, Vob(), repo.hello1);
  EXPECT_EQ(v1.attributes(status).Length(), 0u);
  v1.add_attribute(status, "Priority", RVL_AttributeValue::parse(status, "integer", "3"));
  ASSERT_TRUE(status.ok()) << status.messages();
  v1.add_attribute(status, "Note", RVL_AttributeValue::parse(status, "string", "needs review"));
  ASSERT_TRUE(status.ok());
  v1.add_attribute(status, "Priority", RVL_AttributeValue::parse(status, "string", "high"));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));
  v1.add_attribute(status, "Missing", RVL_AttributeValue::parse(status, "integer", "1"));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));

  const int cursors = vob_ob_open_cursor_count();
  RVL_AttributeList list = v1.attributes(status);
  ASSERT_TRUE(status.ok());
  ASSERT_EQ(list.Length(), 2u);
  EXPECT_EQ(list[0].type().name(status), "Priority");
  EXPECT_EQ(list[0].value().text(), "3");
  EXPECT_EQ(list[1].type().name(status), "Note");
  // The type is an attribute type: its definition reads through it.
  EXPECT_EQ(list[0].type().definition(status).kind(), static_cast<std::uint32_t>(VOB_VAL_INTEGER));
  EXPECT_EQ(list[1].type().definition(status).kind(), static_cast<std::uint32_t>(VOB_VAL_STRING));
  ASSERT_TRUE(status.ok()) << status.messages();
  EXPECT_EQ(list[1].value().text(), "needs review");
  EXPECT_EQ(vob_ob_open_cursor_count(), cursors);  // the cursor was closed

  v1.add_attribute(status, "Priority", RVL_AttributeValue::parse(status, "integer", "1"));
  EXPECT_EQ(v1.attributes(status)[0].value().text(), "1");
  v1.drop_attribute(status, "Note");
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(v1.attributes(status).Length(), 1u);
  v1.drop_attribute(status, "Note");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));

  {
    // A failure in the middle of the list gives an empty list and still
    // closes the cursor.
    CallLogScope log;
    client_local::Failure failure;
    failure.status = TBS_ST_FAILURE;
    CallLog::InjectFailure("vob_val_str_to_value", failure);
    EXPECT_EQ(v1.attributes(status).Length(), 0u);
    EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_FAILURE));
    EXPECT_EQ(CallLog::Calls("vob_ob_cursor_close").size(), 1u);
  }
  EXPECT_EQ(vob_ob_open_cursor_count(), cursors);
}

TEST_F(MoreObjects, TriggersAndProtection) {
  ASSERT_EQ(vob_mktype(repo.vob, VOB_MTYPE_TRTYPE, "notify", "", nullptr), 0);
  GCL_Status status;
  const RVL_Element hello(status, Vob(), repo.hello);
  EXPECT_TRUE(hello.triggers(status).empty());
  hello.add_trigger(status, "notify");
  ASSERT_TRUE(status.ok());
  ASSERT_EQ(hello.triggers(status).size(), 1u);
  EXPECT_EQ(hello.triggers(status)[0].name(status), "notify");
  hello.drop_trigger(status, "notify");
  EXPECT_TRUE(status.ok());
  hello.drop_trigger(status, "notify");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));

  hello.protect_sid(status, "S-1-22-1-1000", "", VOB_MODE_DONTCARE);
  ASSERT_TRUE(status.ok());
  hello.protect_sid(status, "", "S-1-22-2-100", 0644);
  ASSERT_TRUE(status.ok());
  char owner[64], group[64];
  std::uint32_t mode = 0;
  ASSERT_EQ(vob_obj_get_protection(repo.vob, repo.hello, owner, sizeof owner, group, sizeof group, &mode), 0);
  EXPECT_STREQ(owner, "S-1-22-1-1000");
  EXPECT_STREQ(group, "S-1-22-2-100");
  EXPECT_EQ(mode, 0644u);
  hello.protect_sid(status, "root", "", VOB_MODE_DONTCARE);
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_INVALID_ARG));
}

TEST_F(MoreObjects, DerivedObjectsAndSymbolicLinks) {
  vob_dbid_t derived = 0, link = 0, empty = 0;
  ASSERT_EQ(vob_mkdo(repo.vob, "\\src\\hello.o", "object code", &derived), 0);
  ASSERT_EQ(vob_mkdo(repo.vob, "\\src\\empty.o", "", &empty), 0);
  ASSERT_EQ(vob_mkslink(repo.vob, "\\src\\greeting.c", "hello.c", "", &link), 0);
  GCL_Status status;
  auto object = RVL_ResolveName(status, "\\public\\src\\hello.o");
  ASSERT_TRUE(object);
  auto* as_do = dynamic_cast<RVL_DerivedObject*>(object.get());
  ASSERT_NE(as_do, nullptr);
  vob_fstat_s stat;
  EXPECT_TRUE(as_do->data_status(status, stat));
  EXPECT_EQ(stat.size, 11);
  const RVL_DerivedObject no_data(status, Vob(), "\\public\\src\\empty.o");
  ASSERT_TRUE(status.ok());
  EXPECT_FALSE(no_data.data_status(status, stat));
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_NOT_FOUND));
  const RVL_DerivedObject wrong(status, Vob(), "\\public\\src\\hello.c");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));

  auto symlink = RVL_ResolveName(status, "\\public\\src\\greeting.c");
  ASSERT_TRUE(symlink);
  auto* as_link = dynamic_cast<RVL_VobSymlink*>(symlink.get());
  ASSERT_NE(as_link, nullptr);
  EXPECT_EQ(as_link->target(status), "hello.c");
  EXPECT_EQ(as_link->parent_directory(status), "\\public\\src");
  std::ostringstream out;
  as_link->describe(out);
  EXPECT_NE(out.str().find("Target hello.c\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Pathname: \\public\\src\\greeting.c\n"), std::string::npos);
  {
    CallLogScope log;
    CallLog::InjectFailure("vob_slink_get_text", Failing(TBS_ST_FAILURE));
    std::ostringstream failed;
    as_link->describe(failed);
    EXPECT_NE(failed.str().find("ERROR: Failed to get target."), std::string::npos);
  }
  // Branches and versions have no file status of their own; elements do.
  RVL_Branch(status, Vob(), repo.dev).file_status(status, stat);
  EXPECT_TRUE(status.ok());
  {
    CallLogScope log;
    RVL_Version(status, Vob(), repo.hello1).protect(status, 0444);
    EXPECT_TRUE(CallLog::Calls("vob_obj_protect").empty());
    RVL_Element(status, Vob(), repo.hello).protect(status, 0444);
    EXPECT_EQ(CallLog::Calls("vob_obj_protect").size(), 1u);
  }
  RVL_Element(status, Vob(), repo.hello).file_status(status, stat);
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(stat.size, 8);  // "hello 2\n"
}

TEST_F(MoreObjects, HyperlinksSeenFromEitherEnd) {
  GCL_Status status;
  const RVL_Version dev0(status, Vob(), repo.dev0), v2(status, Vob(), repo.hello2);
  const auto from_side = RVL_FindHyperlinks(status, dev0, "Merge");
  ASSERT_TRUE(status.ok());
  ASSERT_EQ(from_side.size(), 1u);
  EXPECT_TRUE(from_side[0].arrow().from_end());
  EXPECT_EQ(from_side[0].hyperlink().dbid(), repo.merge);
  EXPECT_EQ(from_side[0].arrow().to_object(status).dbid(), repo.hello2);
  const auto to_side = RVL_FindHyperlinks(status, v2, "", true);
  ASSERT_EQ(to_side.size(), 1u);
  EXPECT_FALSE(to_side[0].arrow().from_end());
  EXPECT_TRUE(RVL_FindHyperlinks(status, v2, "Other").empty());
  EXPECT_TRUE(status.ok());
  EXPECT_TRUE(v2.has_hyperlinks(status));
  EXPECT_FALSE(RVL_Version(status, Vob(), repo.hello0).has_hyperlinks(status));

  const RVL_Hyperlink link = from_side[0].hyperlink();
  const std::string name = "Merge@" + std::to_string(repo.merge) + "@\\public";
  EXPECT_EQ(link.formatted(status, true), (name + " -> \\public\\src\\hello.c@@\\main\\2").c_str());
  EXPECT_EQ(link.formatted(status, false), (name + " <- \\public\\src\\hello.c@@\\main\\dev\\0").c_str());
  EXPECT_EQ(link.single_ended(status), name.c_str());

  std::ostringstream out;
  from_side[0].describe(out);
  EXPECT_NE(out.str().find("Hyperlink Handle: "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Type: Merge\n"), std::string::npos);
  std::ostringstream empty;
  RVL_HyperlinkComposite().describe(empty);
  EXPECT_NE(empty.str().find("Hyperlink Object is currently NULL"), std::string::npos);

  // A new hyperlink without a to-object.
  const RVL_Hyperlink single =
      RVL_Hyperlink::create(status, "Merge", RVL_Version(status, Vob(), repo.hello0), RVL_VobObject(), "note", "");
  ASSERT_TRUE(status.ok()) << status.messages();
  EXPECT_TRUE(single.to_object(status).is_null());
  EXPECT_EQ(single.from_text(status), "note");
}

TEST_F(MoreObjects, AVersionReachedThroughAViewRegistersTheReplica) {
  GCL_Status status;
  CallLogScope log;
  const RVL_Version version(status, Vob(), "\\\\view\\dev_view\\public\\src\\hello.c");
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(version.dbid(), repo.hello2);
  EXPECT_EQ(CallLog::Calls("vob_ob_register_replica").size(), 1u);
  const RVL_Version other_vob(status, RVL_Vob(repo.vob + 1), "\\\\view\\dev_view\\public\\src\\hello.c");
  EXPECT_EQ(status.code(), static_cast<std::uint32_t>(TBS_ST_WRONG_KIND));
}

}  // namespace
