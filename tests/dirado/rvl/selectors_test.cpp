// Selectors and meta-types: parsing, building, and the kind conversions.
#include <gtest/gtest.h>

#include <string>

#include "tbs.h"
#include "vob.h"
#include "vob_attr.h"

namespace {

TEST(VobSelectors, ParseTable) {
  const struct {
    const char* text;
    int status;
    vob_objsel_kind_t kind;
    const char* name;
    const char* tag;
  } cases[] = {
      {"lbtype:REL1@\\public", 0, VOB_OBJSEL_LBTYPE, "REL1", "\\public"},
      {"brtype:main", 0, VOB_OBJSEL_BRTYPE, "main", ""},
      {"vob:\\public", 0, VOB_OBJSEL_VOB, "\\public", "\\public"},
      {"hlink:Merge@12@\\public", 0, VOB_OBJSEL_HLINK, "Merge@12", "\\public"},
      {"oid:0123abcd-4567-89ab-cdef-0123456789ab@\\v", 0, VOB_OBJSEL_OID,
       "0123abcd-4567-89ab-cdef-0123456789ab", "\\v"},
      {"stream:hello_dev@\\projects", 0, VOB_OBJSEL_STREAM, "hello_dev", "\\projects"},
      {"project:hello", 0, VOB_OBJSEL_PROJECT, "hello", ""},
      {"baseline:BL2@\\projects", 0, VOB_OBJSEL_BASELINE, "BL2", "\\projects"},
      {"stream:two words@\\projects", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"oid:not-an-oid", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"hlink:Merge@\\public", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"hlink:Merge@1x@\\public", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"colour:red", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"lbtype:", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"lbtype:two words", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"lbtype:\"q\"", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"lbtype:caf\xc3\xa9", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"lbtype:REL1@\\bad tag", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"vob:public", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
      {"no colon", TBS_ST_INVALID_ARG, VOB_OBJSEL_NONE, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    vob_objsel_kind_t kind = VOB_OBJSEL_NONE;
    char name[128] = "unchanged", tag[64] = "unchanged";
    ASSERT_EQ(vob_utl_parse_objsel(c.text, &kind, name, sizeof name, tag, sizeof tag), c.status);
    if (c.status != 0) {
      EXPECT_STREQ(name, "unchanged");
      continue;
    }
    EXPECT_EQ(kind, c.kind);
    EXPECT_STREQ(name, c.name);
    EXPECT_STREQ(tag, c.tag);
  }
  const std::string long_name = "lbtype:" + std::string(300, 'a');
  vob_objsel_kind_t kind;
  char name[400], tag[64];
  EXPECT_EQ(vob_utl_parse_objsel(long_name.c_str(), &kind, name, sizeof name, tag, sizeof tag), TBS_ST_INVALID_ARG);
  EXPECT_EQ(vob_utl_parse_objsel("lbtype:REL1", &kind, name, 3, tag, sizeof tag), TBS_ST_INVALID_ARG);
}

TEST(VobSelectors, BuildAndKindConversions) {
  char out[64];
  ASSERT_EQ(vob_utl_create_objsel(VOB_OBJSEL_LBTYPE, "REL1", "\\public", out, sizeof out), 0);
  EXPECT_STREQ(out, "lbtype:REL1@\\public");
  ASSERT_EQ(vob_utl_create_objsel(VOB_OBJSEL_VOB, "\\public", "\\ignored", out, sizeof out), 0);
  EXPECT_STREQ(out, "vob:\\public");
  EXPECT_EQ(vob_utl_create_objsel(VOB_OBJSEL_NONE, "x", "", out, sizeof out), TBS_ST_INVALID_ARG);
  EXPECT_EQ(vob_utl_create_objsel(VOB_OBJSEL_LBTYPE, "", "", out, sizeof out), TBS_ST_INVALID_ARG);
  EXPECT_EQ(vob_utl_create_objsel(VOB_OBJSEL_LBTYPE, "REL1", "\\public", out, 8), TBS_ST_INVALID_ARG);

  for (int k = VOB_OBJSEL_VOB; k <= VOB_OBJSEL_ACTIVITY; ++k) {
    const auto kind = static_cast<vob_objsel_kind_t>(k);
    const char* text = vob_utl_objsel_kind_to_str(kind);
    ASSERT_NE(text, nullptr);
    vob_objsel_kind_t back = VOB_OBJSEL_NONE;
    ASSERT_EQ(vob_utl_str_to_objsel_kind(text, &back), 0);
    EXPECT_EQ(back, kind);
    const std::uint32_t mtype = vob_utl_objsel_kind_to_mtype(kind);
    if (kind != VOB_OBJSEL_OID) {
      EXPECT_EQ(vob_utl_mtype_to_objsel_kind(mtype), kind) << text;
    }
  }
  EXPECT_EQ(vob_utl_objsel_kind_to_str(static_cast<vob_objsel_kind_t>(99)), nullptr);
  // The change-management kinds are the meta-types of their objects.
  EXPECT_EQ(vob_utl_objsel_kind_to_mtype(VOB_OBJSEL_PROJECT), VOB_MTYPE_PROJECT);
  EXPECT_EQ(vob_utl_objsel_kind_to_mtype(VOB_OBJSEL_STREAM), VOB_MTYPE_STREAM);
  EXPECT_STREQ(vob_utl_mtype_to_str(VOB_MTYPE_BASELINE), "baseline");
  EXPECT_EQ(vob_utl_mtype_to_objsel_kind(VOB_MTYPE_VERSION), VOB_OBJSEL_NONE);
  EXPECT_EQ(vob_utl_mtype_to_objsel_kind(VOB_MTYPE_NONE), VOB_OBJSEL_NONE);
}

TEST(VobMetaTypes, FileSystemCodesAndTexts) {
  for (std::uint32_t mtype = 0; mtype < 40; ++mtype) {
    const bool fs = mtype == 2 || mtype == 3 || mtype == 5 || mtype == 6 || mtype == 7 || mtype == 8 || mtype == 9 ||
                    mtype == 11 || mtype == 26;
    EXPECT_EQ(vob_mtype_is_fs_object(mtype), fs) << mtype;
  }
  EXPECT_STREQ(vob_utl_mtype_to_str(VOB_MTYPE_DIR_ELEMENT), "directory element");
  EXPECT_STREQ(vob_utl_mtype_to_str(VOB_MTYPE_VERSION), "version");
  EXPECT_STREQ(vob_utl_mtype_to_str(1000), "unknown");
}

TEST(VobCursors, ClosingAnUnknownCursorIsRefused) {
  EXPECT_EQ(vob_ob_cursor_close(123456), TBS_ST_NOT_FOUND);
  vob_ob_cursor_t cursor = 987654;  // never opened
  vob_dbid_t type = 0;
  vob_value_s value;
  EXPECT_EQ(vob_obj_next_attrs(1, 1, &cursor, &type, &value), TBS_ST_INVALID_ARG);
}

}  // namespace
