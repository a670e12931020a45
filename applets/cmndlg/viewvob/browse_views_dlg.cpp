#include "viewvob/browse_views_dlg.h"

#include <algorithm>

#include "gu.h"
#include "platform/controls.h"
#include "platform/machine.h"
#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rgy.h"
#include "tbs.h"

using namespace rvcmndlg::res;

namespace {

constexpr const char* kHelpTopic = "rvint_exp/browseviews.htm";

// The first entry of a cursor whose field key holds value; null for none.
rgy_entry_t FindEntry(int kind, const char* region, int key, const std::string& value) {
  rgy_cursor_t cursor = nullptr;
  if (rgy_open_cursor(kind, region, &cursor) != TBS_ST_OK) return nullptr;
  rgy_entry_t entry = nullptr;
  int count = 0;
  if (rgy_findbystring_entry(cursor, key, value.c_str(), 1, &entry, &count) != TBS_ST_OK || count == 0)
    entry = nullptr;
  rgy_close_cursor(cursor);
  return entry;
}

}  // namespace

std::string ViewOwner(const std::string& tag) {
  char region[1024] = "";
  if (rgy_get_default_region(region, sizeof region) != TBS_ST_OK) return {};
  rgy_entry_t tag_entry = FindEntry(RGY_KIND_VIEW_TAG, region, RGY_KEY_TAG, tag);
  if (!tag_entry) return {};
  tbs_uuid_t uuid{};
  const bool has_uuid = rgy_getuuid_from_entry(tag_entry, RGY_KEY_UUID, &uuid) == TBS_ST_OK;
  rgy_delete_entry(tag_entry);
  if (!has_uuid) return {};
  rgy_cursor_t objects = nullptr;
  if (rgy_open_cursor(RGY_KIND_VIEW_OBJECT, nullptr, &objects) != TBS_ST_OK) return {};
  rgy_entry_t object = nullptr;
  int count = 0;
  std::string owner;
  if (rgy_findbyuuid_entry(objects, &uuid, 1, &object, &count) == TBS_ST_OK && count == 1) {
    char text[1024] = "";
    if (rgy_getstring_from_entry(object, RGY_KEY_OWNER, sizeof text, text) == TBS_ST_OK) owner = text;
    rgy_delete_entry(object);
  }
  rgy_close_cursor(objects);
  return owner;
}

CBrowseViews::CBrowseViews(std::vector<std::string> tags, int mode, plat::Window* parent)
    : plat::Dialog(IDD_BROWSE_VIEWS, parent), tags_(std::move(tags)), mode_(mode) {
  rvcmndlg::EntryScope resources;
  LoadTemplate();
}

bool CBrowseViews::OnInitDialog() {
  plat::Dialog::OnInitDialog();
  SetText(plat::LoadString(mode_ > 0 ? IDS_BROWSE_DEVELOPMENT_VIEW : IDS_BROWSE_INTEGRATION_VIEW));
  if (auto* list = Item<plat::ListBox>(IDC_BROWSE_VIEWS_LIST)) {
    std::size_t widest = 0;
    for (const std::string& tag : tags_) {
      list->AddString(tag);
      widest = std::max(widest, tag.size());
    }
    list->SetHorizontalExtent(static_cast<int>(widest) * 5 + 4);
  }
  return true;
}

bool CBrowseViews::OnCommand(int id, int code) {
  if (id == IDC_BROWSE_VIEWS_HELP && code == plat::bn::Clicked) {
    gu_help(GetHwnd(), kHelpTopic, 1, 0);
    return true;
  }
  return plat::Dialog::OnCommand(id, code);
}

void CBrowseViews::OnOK() {
  const auto* list = Item<plat::ListBox>(IDC_BROWSE_VIEWS_LIST);
  const int index = list ? list->GetCurSel() : -1;
  if (index < 0) return;
  const std::string tag = list->GetText(index);
  const std::string owner = ViewOwner(tag);
  if (!owner.empty() && owner != plat::MachineUserName()) {
    const std::string question = plat::FormatPrintf(plat::LoadString(IDS_BROWSE_OTHER_OWNER), {owner});
    if (plat::MessageBox(this, question, plat::AppName(), plat::mb::YesNo | plat::mb::IconQuestion) != plat::IdYes)
      return;
  }
  chosen_ = tag;
  plat::Dialog::OnOK();
}
