// Type objects: the printed names of their definitions and what describe
// shows of them.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "gcl_status.h"
#include "rvl_resolve.h"
#include "rvl_typeobj.h"
#include "rvl_update.h"
#include "support/repository.h"
#include "vob_attr.h"
#include "vob_type.h"

namespace {

using rv_test::RepositoryTest;

TEST(TypeNames, EnumerationsPrintTheirNamesAndUnknownValuesSaySo) {
  const struct {
    const char* (*name)(std::uint32_t);
    std::uint32_t value;
    const char* printed;  // null: no name
  } cases[] = {
      {RVL_OccursName, 0, "VOB_OCCURS_NULL"},
      {RVL_OccursName, 3, "VOB_OCCURS_VER_PER_VER"},
      {RVL_OccursName, 4, "UNKNOWN OCCURS"},
      {RVL_GlobalnessName, 2, "VOB_GLOBALNESS_LOCAL"},
      {RVL_GlobalnessName, 9, "UNKNOWN GLOBALNESS"},
      {RVL_MasterKindName, 2, "VOB_MASTER_UNSHARED"},
      {RVL_MasterKindName, 3, "UNKNOWN MASTER_KIND"},
      {RVL_ValueKindName, VOB_VAL_INTEGER, "integer"},
      {RVL_ValueKindName, VOB_VAL_STRING, "string"},  // the client's numbering
      {RVL_ValueKindName, VOB_VAL_TIME, "time"},
      {RVL_ValueKindName, 0, nullptr},
      {RVL_ValueKindName, 6, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    if (c.printed)
      EXPECT_STREQ(c.name(c.value), c.printed);
    else
      EXPECT_EQ(c.name(c.value), nullptr);
  }
}

class TypeObjects : public RepositoryTest {
 protected:
  std::string Describe(const char* selector) {
    GCL_Status status;
    const auto object = RVL_ResolveName(status, selector);
    EXPECT_TRUE(object) << selector;
    std::ostringstream out;
    if (object) object->describe(out);
    return out.str();
  }
};

TEST_F(TypeObjects, DescribeShowsTheDefinition) {
  vob_dbid_t color = 0;
  ASSERT_EQ(vob_attype_create(repo.vob, "Color", VOB_VAL_STRING, "", &color), 0);
  GCL_Status status;
  RVL_AttributeTypeInfo::Values colors;
  colors.Append("red");
  colors.Append("green");
  RVL_AttributeTypeUpdate rules;
  rules.set_info(RVL_AttributeTypeInfo(VOB_VAL_STRING, GCL_String("a"), GCL_String("z"), false, GCL_String("red"),
                                       true, colors));
  RVL_AttributeType(status, RVL_Vob(repo.vob), color).apply(status, rules);
  ASSERT_TRUE(status.ok()) << status.messages().c_str();
  const struct {
    const char* selector;
    std::vector<std::string> lines;
  } cases[] = {
      {"attype:Color@\\public",
       {"Type: string\n", "Default Value: red\n", "Greater than a\n", "Less than or equal to z\n", "Enum Values:\n",
        "green\n", "Occurs: VOB_OCCURS_VER_PER_VER\n"}},
      {"lbtype:REL1@\\public", {"Occurs: VOB_OCCURS_VER_PER_ELEM\n", "Globalness: VOB_GLOBALNESS_NONE\n"}},
      {"eltype:text_file@\\public", {"Super Type: file\n", "Type Manager: text_file_delta\n", "MergeType: auto\n"}},
      {"hltype:Merge@\\public", {"From Occurs: None\n", "To Occurs: None\n", "Master Kind: VOB_MASTER_NULL\n"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selector);
    const std::string text = Describe(c.selector);
    for (const auto& line : c.lines) EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
  }
}

}  // namespace
