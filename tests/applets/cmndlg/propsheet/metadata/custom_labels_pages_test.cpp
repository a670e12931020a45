// The Custom and Labels pages and their prompts, driven as a user would
// through rvDisplayPropertySheet: the rows each page shows, the boxes each
// command asks, and what the repository holds afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gcl_status.h"
#include "local/calllog.h"
#include "local/store.h"
#include "propsheet/display_property_sheet.h"
#include "propsheet/metadata/metadata_pages.h"
#include "propsheet/metadata/prompt.h"
#include "propsheet/property_sheet.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rvl_attribute.h"
#include "rvl_filesysobj.h"
#include "rvl_version.h"
#include "support/repository.h"
#include "support/ui.h"
#include "tbs.h"
#include "vob.h"
#include "vob_attr.h"
#include "vob_ob.h"
#include "vob_type.h"
#include "vob_val.h"

namespace {

using client_local::CallLog;
using rvcmndlg::SheetOutcome;
using namespace rvcmndlg::res;
using Kind = SheetOutcome::Kind;
using plat::Action;

constexpr const char* kHello2 = "\\public\\src\\hello.c@@\\main\\2";
constexpr const char* kRel1 = "REL1";
constexpr int kChangeManagementAttribute = 77;
constexpr int kChangeManagementHyperlink = 26;

class CustomLabelsPagesTest : public rv_test::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    // Priority: an integer from 1 to 5, 3 by default, one per version.
    vob_dbid_t priority = 0;
    ASSERT_EQ(vob_attype_create(vob, "Priority", VOB_VAL_INTEGER, "urgency", &priority), 0);
    vob_attype_vinfo_s rules;
    ASSERT_EQ(vob_attype_strs_to_vinfo(VOB_VAL_INTEGER, "1", "5", 1, 1, "3", nullptr, 0, &rules), 0);
    vob_type_def_s def;
    def.occurs = VOB_OCCURS_VER_PER_VER;
    ASSERT_EQ(vob_attype_redefine(vob, priority, &def, &rules), 0);
    vob_attype_free_vinfo(&rules);
    // Activity: a type the change-management process made.
    ASSERT_EQ(vob_attype_create(vob, "Activity", VOB_VAL_STRING, "", &activity), 0);
    MarkWellKnown(activity, kChangeManagementAttribute);
    AddAttribute(hello2, "Activity", VOB_VAL_STRING, "\"fix\"");
    CallLog::StartRecording();
  }
  void TearDown() override {
    CallLog::StopRecording();
    EXPECT_EQ(CRvPropertyThread::ActiveCount(), 0);
    ViewTest::TearDown();
  }
  // The type as one the change-management process made, by its code.
  void MarkWellKnown(vob_dbid_t type, int code) const {
    client_local::CurrentStore()->Exec("INSERT INTO vob_type_items (vob, type, list, position, value) VALUES (" +
                                       std::to_string(vob) + ", " + std::to_string(type) + ", 'wkobj', 0, '" +
                                       std::to_string(code) + "')");
  }
  void AddAttribute(vob_dbid_t dbid, const char* type, vob_val_kind_t kind, const char* text) {
    vob_value_s value;
    ASSERT_EQ(vob_val_str_to_value(kind, text, &value), 0);
    EXPECT_EQ(vob_obj_add_attr(vob, dbid, type, &value), 0);
    vob_val_free_value(&value);
  }
  // The attribute's value text on the object, empty when it has none.
  std::string Attribute(vob_dbid_t dbid, const char* type) const {
    GCL_Status status;
    const RVL_AttributeList list = RVL_VobObject(status, RVL_Vob(vob), dbid).attributes(status);
    for (std::uint32_t i = 0; i < list.Length(); ++i)
      if (list[i].type().name(status) == GCL_String(type)) return list[i].value().text().c_str();
    return {};
  }
  bool HasLabel(vob_dbid_t version, const char* label) const {
    int has = 0;
    EXPECT_EQ(vob_ver_has_label(vob, version, label, &has), 0);
    return has != 0;
  }
  static Kind Display(const std::string& name) {
    rvcmndlg::EntryScope resources;
    const auto outcomes = rvcmndlg::DisplayPropertySheets({name}, 0, {}, 1);
    return outcomes.size() == 1 ? outcomes[0].kind : Kind::Failed;
  }
  // The sheet of the name on the page, then the steps, then OK.
  static plat::ScriptedHost::Builder Sheet(plat::test::ScriptedUser& user, const std::string& name,
                                            const char* page) {
    return user->OnCaption("Properties of " + name).Do({Action::Kind::Page, page, ""});
  }
  static Action Context(int control, const std::string& item = "") {
    return {Action::Kind::Context, std::to_string(control), item};
  }
  // The page as the user last saw it.
  static std::string LastPage(plat::test::ScriptedUser& user, int page) {
    const std::vector<std::string> lines = user->Transcript();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      if (it->find("-- page " + std::to_string(page) + " --") != std::string::npos) return *it;
    return {};
  }

  vob_dbid_t activity = 0;
};

// ---- Custom ----

TEST_F(CustomLabelsPagesTest, TheCustomPageShowsOrdinaryAttributesAndHyperlinksFromThisObjectsSide) {
  AddAttribute(hello2, "Priority", VOB_VAL_INTEGER, "2");
  plat::test::ScriptedUser user;
  Sheet(user, kHello2, "Custom").Do(Context(IDC_CUSTOM_HYPERLINKS, "#0")).Click("OK");
  user->OnMenu("");
  EXPECT_EQ(Display(kHello2), Kind::Ok);
  const std::string page = LastPage(user, IDD_CUSTOM_PAGE);
  EXPECT_NE(page.find("Priority | 2"), std::string::npos) << page;
  EXPECT_EQ(page.find("Activity"), std::string::npos) << "a change-management attribute is hidden\n" << page;
  EXPECT_NE(page.find("Merge <- \\public\\src\\hello.c@@\\main\\dev\\0"), std::string::npos) << page;
  // No command makes or removes a hyperlink from here.
  const std::string text = user->TranscriptText();
  EXPECT_NE(text.find("Create Hyperlink...  (disabled)"), std::string::npos) << text;
  EXPECT_NE(text.find("Remove Hyperlink  (disabled)"), std::string::npos) << text;
}

TEST_F(CustomLabelsPagesTest, OnlyChangeManagementTypesCountAsTheProcesssOwn) {
  GCL_Status status;
  const RVL_Vob public_vob(vob);
  const RVL_AttributeValue none;
  vob_dbid_t priority = 0;
  std::uint32_t mtype = 0;
  ASSERT_EQ(vob_obj_resolve(vob, "attype:Priority", &priority, &mtype), 0);
  EXPECT_TRUE(CBasePropertyPage::IsFLXAttributeType(RVL_Attribute(RVL_AttributeType(status, public_vob, activity), none)));
  EXPECT_FALSE(CBasePropertyPage::IsFLXAttributeType(RVL_Attribute(RVL_AttributeType(status, public_vob, priority), none)));
}

TEST_F(CustomLabelsPagesTest, AHyperlinkWhoseOtherEndIsGoneShowsObjectUnavailable) {
  vob_dbid_t gone = 0, link = 0;
  ASSERT_EQ(vob_mktype(vob, VOB_MTYPE_LBTYPE, "GONE", "", &gone), 0);
  ASSERT_EQ(vob_hlink_create(vob, "Merge", vob, util, vob, gone, "", "", &link), 0);
  ASSERT_EQ(vob_lbtype_delete(vob, gone), 0);
  plat::test::ScriptedUser user;
  Sheet(user, "\\public\\src\\util.c", "Custom").Click("OK");
  EXPECT_EQ(Display("\\public\\src\\util.c"), Kind::Ok);
  const std::string page = LastPage(user, IDD_CUSTOM_PAGE);
  EXPECT_NE(page.find("Merge <Object Unavailable>"), std::string::npos) << page;
}

TEST_F(CustomLabelsPagesTest, AttributeCommandsWriteOnlyWhenBothBoxesSayOK) {
  const struct {
    const char* why;
    const char* before;  // Priority on \main\2 before, or none
    const char* menu;
    const char* prompt;  // the prompt's answer: OK or Cancel
    const char* value;   // typed into the prompt
    const char* confirm; // the confirmation's answer, or none when it must not show
    const char* after;
  } cases[] = {
      {"add", nullptr, "Add Attribute...", "OK", "2", "OK", "2"},
      {"add, prompt cancelled", nullptr, "Add Attribute...", "Cancel", "2", nullptr, ""},
      {"add, box cancelled", nullptr, "Add Attribute...", "OK", "2", "Cancel", ""},
      {"change", "2", "Change Value...", "OK", "4", "OK", "4"},
      {"change, prompt cancelled", "2", "Change Value...", "Cancel", "4", nullptr, "2"},
      {"change, box cancelled", "2", "Change Value...", "OK", "4", "Cancel", "2"},
      {"remove", "2", "Remove Attribute", nullptr, nullptr, "OK", ""},
      {"remove, box cancelled", "2", "Remove Attribute", nullptr, nullptr, "Cancel", "2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    vob_obj_drop_attr(vob, hello2, "Priority");
    if (c.before) AddAttribute(hello2, "Priority", VOB_VAL_INTEGER, c.before);
    plat::test::ScriptedUser user;
    Sheet(user, kHello2, "Custom").Do(Context(IDC_CUSTOM_ATTRIBUTES, c.before ? "Priority" : "")).Click("OK");
    user->OnMenu(c.menu);
    if (c.prompt) {
      auto prompt = user->OnTemplate(IDD_PROMPT_ATTRIBUTE);
      if (!c.before) prompt.Type(IDC_PROMPT_ATTR_TYPE, "Priority");
      prompt.Type(IDC_PROMPT_ATTR_VALUE, c.value).Click(c.prompt);
    }
    if (c.confirm) user->OnMessage("You will not be able to cancel or undo this operation.").Click(c.confirm);
    EXPECT_EQ(Display(kHello2), Kind::Ok);
    EXPECT_EQ(Attribute(hello2, "Priority"), c.after);
    // The list shows what the repository holds.
    const std::string page = LastPage(user, IDD_CUSTOM_PAGE);
    EXPECT_EQ(page.find("Priority | ") != std::string::npos, *c.after != '\0') << page;
  }
}

TEST_F(CustomLabelsPagesTest, AValueOutOfBoundsShowsTheRepositorysMessageAndTheListIsReadAgain) {
  plat::test::ScriptedUser user;
  Sheet(user, kHello2, "Custom").Do(Context(IDC_CUSTOM_ATTRIBUTES)).Click("OK");
  user->OnMenu("Add Attribute...");
  user->OnTemplate(IDD_PROMPT_ATTRIBUTE).Type(IDC_PROMPT_ATTR_TYPE, "Priority").Type(IDC_PROMPT_ATTR_VALUE, "9")
      .Click("OK");
  user->OnMessage("Are you sure you want to add attribute Priority with value 9").Click("OK");
  user->OnMessage("The value \"9\" is outside the bounds").Click("OK");
  EXPECT_EQ(Display(kHello2), Kind::Ok);
  EXPECT_EQ(Attribute(hello2, "Priority"), "");
  EXPECT_EQ(CallLog::Calls("vob_obj_next_attrs").size() > 1, true) << "fetched again after the refusal";
}

TEST_F(CustomLabelsPagesTest, TheAttributePromptLooksTheTypeUpAndOKAddsTheTypeInTheField) {
  // An unknown name: the repository's message, OK disabled; a known one fills
  // the kind and the default; OK then adds the type the field names.
  plat::test::ScriptedUser user;
  Sheet(user, kHello2, "Custom").Do(Context(IDC_CUSTOM_ATTRIBUTES)).Click("OK");
  user->OnMenu("Add Attribute...");
  user->OnTemplate(IDD_PROMPT_ATTRIBUTE)
      .Type(IDC_PROMPT_ATTR_TYPE, "Nonesuch")
      .Type(IDC_PROMPT_ATTR_TYPE, "Priority")
      .Click("OK");
  user->OnMessage("").Click("OK");  // the unknown type's box
  user->OnMessage("with value 3 to this object").Click("OK");
  EXPECT_EQ(Display(kHello2), Kind::Ok);
  EXPECT_EQ(Attribute(hello2, "Priority"), "3");
  const std::string text = user->TranscriptText();
  EXPECT_NE(text.find("<OK>*(disabled)"), std::string::npos) << text;
  EXPECT_NE(text.find("edit (read-only): \"integer\""), std::string::npos) << text;
}

// The single-list pages no sheet chooses, in a caller's own sheet: one list
// each, and the change-management process's own items only when asked.
TEST_F(CustomLabelsPagesTest, TheSingleListPagesShowTheProcesssOwnItemsOnlyWhenAsked) {
  vob_dbid_t change_set = 0;
  ASSERT_EQ(vob_mktype(vob, VOB_MTYPE_HLTYPE, "ChangeSet", "", &change_set), 0);
  MarkWellKnown(change_set, kChangeManagementHyperlink);
  ASSERT_EQ(vob_hlink_create(vob, "ChangeSet", vob, hello2, vob, util, "", "", nullptr), 0);
  AddAttribute(hello2, "Priority", VOB_VAL_INTEGER, "2");
  const struct {
    bool attributes, show;
    std::vector<std::string> shown, hidden;
  } cases[] = {
      {true, false, {"Priority | 2"}, {"Activity", "Merge", "ChangeSet"}},
      {true, true, {"Priority | 2", "Activity | \"fix\""}, {"Merge", "ChangeSet"}},
      {false, false, {"Merge <- "}, {"ChangeSet", "Priority"}},
      {false, true, {"Merge <- ", "ChangeSet -> "}, {"Priority", "Activity"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.attributes ? "attributes" : "hyperlinks") + (c.show ? ", shown" : ""));
    rvcmndlg::EntryScope resources;
    const std::unique_ptr<CRvPropertyBase> page(c.attributes ? rvcmndlg::ConstructAttributesPage(c.show)
                                                             : rvcmndlg::ConstructHyperlinksPage(c.show));
    GCL_Status status;
    page->SetObject(status, RVL_VobObject(status, RVL_Vob(vob), hello2));
    ASSERT_TRUE(status.ok());
    plat::test::ScriptedUser user;
    user->OnCaption("Custom lists").Click("OK");
    plat::PropertySheet sheet("Custom lists");
    sheet.AddPage(dynamic_cast<plat::PropertyPage*>(page.get()));
    EXPECT_EQ(sheet.DoModal(), plat::IdOk);
    const std::string shown = LastPage(user, c.attributes ? IDD_ATTRIBUTES_PAGE : IDD_HYPERLINKS_PAGE);
    ASSERT_FALSE(shown.empty()) << user->TranscriptText();
    for (const std::string& row : c.shown) EXPECT_NE(shown.find(row), std::string::npos) << row << "\n" << shown;
    for (const std::string& row : c.hidden) EXPECT_EQ(shown.find(row), std::string::npos) << row << "\n" << shown;
  }
}

// ---- Labels ----

TEST_F(CustomLabelsPagesTest, LabelCommandsAddRefuseMoveAndRemove) {
  const struct {
    const char* why;
    const char* menu;
    const char* label;  // typed into the prompt, or selected for removal
    bool move;
    const char* refusal;  // the repository's message, or none
    bool on_1, on_2;      // REL1 on \main\1 and \main\2 afterwards
  } cases[] = {
      {"held by another version", "Add Label...", kRel1, false, "Label \"REL1\" is already on", true, false},
      {"moved", "Add Label...", kRel1, true, nullptr, false, true},
      {"removed", "Remove Label", kRel1, false, nullptr, false, false},
      {"added", "Add Label...", kRel1, false, nullptr, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    plat::test::ScriptedUser user;
    auto sheet = Sheet(user, kHello2, "Labels");
    if (std::string(c.menu) == "Remove Label") sheet.Select(IDC_LABELS_LIST, c.label);
    sheet.Do(Context(IDC_LABELS_LIST)).Click("OK");
    user->OnMenu(c.menu);
    if (std::string(c.menu) == "Add Label...") {
      auto prompt = user->OnTemplate(IDD_PROMPT_LABEL_TYPE).Type(IDC_PROMPT_ANSWER, c.label);
      if (c.move) prompt.Check(IDC_PROMPT_MOVE_LABEL);
      prompt.Click("OK");
    }
    user->OnMessage("You will not be able to cancel or undo this operation.").Click("OK");
    if (c.refusal) user->OnMessage(c.refusal).Click("OK");
    EXPECT_EQ(Display(kHello2), Kind::Ok);
    EXPECT_EQ(HasLabel(hello1, kRel1), c.on_1);
    EXPECT_EQ(HasLabel(hello2, kRel1), c.on_2);
    const std::string page = LastPage(user, IDD_LABELS_PAGE);
    EXPECT_EQ(page.find("REL1") != std::string::npos, c.on_2) << page;
  }
  // The move was one repository call.
  EXPECT_EQ(CallLog::Calls("vob_ver_move_label").size(), 1u);
}

TEST_F(CustomLabelsPagesTest, TheLabelPromptStaysOpenOnAnUnknownNameAndACheckedOutVersionIsRefused) {
  GCL_Status status;
  const RVL_Version checked_out = RVL_Element(status, RVL_Vob(vob), GCL_String("\\src\\util.c"))
                                      .checkout(status, GCL_String("v1"), true, GCL_String("edit"));
  ASSERT_TRUE(status.ok()) << status.messages().c_str();
  const std::string name = "\\public\\src\\util.c@@\\main\\CHECKEDOUT";
  plat::test::ScriptedUser user;
  Sheet(user, name, "Labels").Do(Context(IDC_LABELS_LIST)).Click("OK");
  user->OnMenu("Add Label...");
  user->OnTemplate(IDD_PROMPT_LABEL_TYPE)
      .Type(IDC_PROMPT_ANSWER, "NOPE")
      .Click("OK")
      .Type(IDC_PROMPT_ANSWER, kRel1)
      .Click("OK");
  user->OnMessage("").Click("OK");  // NOPE is no label type
  user->OnMessage("add label REL1 to this version").Click("OK");
  user->OnMessage("is checked out: it takes no label.").Click("OK");
  EXPECT_EQ(Display(name), Kind::Ok);
  EXPECT_FALSE(HasLabel(checked_out.dbid(), kRel1));
}

TEST_F(CustomLabelsPagesTest, TheTriggerPromptWantsABoxWhereTheyMatter) {
  vob_trtype_info_s info;
  ASSERT_EQ(vob_trtype_create(vob, "audit", &info, "", nullptr), 0);
  plat::test::ScriptedUser user;
  user->OnTemplate(IDD_PROMPT_TRIGGER_TYPE)
      .Type(IDC_PROMPT_ANSWER, "audit")
      .Click("OK")
      .Check(IDC_PROMPT_TR_INHERIT)
      .Click("OK");
  user->OnMessage("Must check at least one of \"Attach\" or \"Inherit\".").Click("OK");
  rvcmndlg::EntryScope resources;
  CPromptTriggerType prompt(nullptr);
  prompt.m_vob = RVL_Vob(vob);
  prompt.m_boxes_matter = true;
  ASSERT_EQ(prompt.DoModal(), plat::IdOk);
  GCL_Status status;
  EXPECT_EQ(prompt.m_type.name(status), GCL_String("audit"));
  EXPECT_EQ(prompt.m_inherit, 1);
}

}  // namespace
