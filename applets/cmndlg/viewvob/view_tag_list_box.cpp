#include "viewvob/view_tag_list_box.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "fileops/common_status.h"
#include "fileutl_file.h"
#include "gcl_status.h"
#include "ntregy.h"
#include "platform/dialog.h"
#include "platform/machine.h"
#include "platform/resources.h"
#include "platform/text.h"
#include "propsheet/property_sheet.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "rgy.h"
#include "tbs.h"
#include "tbs_errno.h"
#include "tbs_uuid.h"
#include "view.h"
#include "ws.h"

namespace {

std::string Field(rgy_entry_t entry, int key) {
  char text[1024] = "";
  return rgy_getstring_from_entry(entry, key, sizeof text, text) == TBS_ST_OK ? text : std::string();
}

// An entry's UUID in one spelling; empty when it has none.
std::string UuidKey(rgy_entry_t entry) {
  tbs_uuid_t uuid{};
  char text[TBS_UUID_STR_SIZE] = "";
  if (rgy_getuuid_from_entry(entry, RGY_KEY_UUID, &uuid) != TBS_ST_OK ||
      tbs_uuid_to_str(&uuid, text, sizeof text) != TBS_ST_OK)
    return {};
  return text;
}

// The UUIDs of the dynamic views among the registry's view objects (neither
// snapshot nor web views), read in one walk rather than a lookup per tag.
std::set<std::string> DynamicViewUuids() {
  std::set<std::string> uuids;
  rgy_cursor_t objects = nullptr;
  if (rgy_open_cursor(RGY_KIND_VIEW_OBJECT, nullptr, &objects) != TBS_ST_OK) return uuids;
  rgy_entry_t batch[32];
  int count = 0;
  while (rgy_get_entry(objects, 32, batch, &count) == TBS_ST_OK && count > 0) {
    for (int i = 0; i < count; ++i) {
      const std::string key = UuidKey(batch[i]);
      if (!key.empty() && Field(batch[i], RGY_KEY_VIEW_KIND) == RGY_VIEW_DYNAMIC) uuids.insert(key);
      rgy_delete_entry(batch[i]);
    }
  }
  rgy_close_cursor(objects);
  return uuids;
}

RVL_ViewTag TagOf(rgy_entry_t entry, const std::string& region) {
  return RVL_ViewTag::make(GCL_String(Field(entry, RGY_KEY_TAG).c_str()), GCL_String(Field(entry, RGY_KEY_UUID).c_str()),
                           GCL_String(Field(entry, RGY_KEY_HOST).c_str()),
                           GCL_String(Field(entry, RGY_KEY_GPATH).c_str()), GCL_String(region.c_str()),
                           GCL_String(Field(entry, RGY_KEY_COMMENT).c_str()),
                           GCL_String(Field(entry, RGY_KEY_ACCESS).c_str()));
}

}  // namespace

// ---- CMRUViewList ----

const std::vector<std::string>& CMRUViewList::List() {
  if (loaded_) return tags_;
  loaded_ = true;
  std::vector<char> buffer(VIEW_RECENT_SIZE);
  if (ntregy_get_param(VIEW_RECENT_PARAM, buffer.data(), buffer.size()) != TBS_ST_OK) return tags_;
  std::string_view text = buffer.data();
  while (!text.empty() && tags_.size() < kMaxTags) {
    const std::size_t comma = text.find(',');
    tags_.emplace_back(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  return tags_;
}

bool CMRUViewList::Contains(const std::string& tag) {
  const auto& tags = List();
  return std::any_of(tags.begin(), tags.end(), [&](const std::string& t) { return plat::IEquals(t, tag); });
}

void CMRUViewList::Reset() {
  tags_.clear();
  loaded_ = false;
}

// ---- CViewTagListBox ----

void CViewTagListBox::Fill(Mode mode, const std::string& filter) {
  plat::WaitCursor wait;
  mode_ = mode;
  if (!filter.empty()) filter_ = filter;
  bool region_found = true;
  {
    CRvPropertyBase::DiradoAccess lock;  // the client lock; no box is shown while it is held
    ResetContent();
    tags_.clear();
    recent_.Reset();
    widest_ = 0;
    switch (mode_) {
      case RecentInactive:
      case Recent: FillRecent(); break;
      case Snapshot: FillSnapshot(); break;
      default: region_found = FillRegion(); break;
    }
    SetHorizontalExtent(widest_);
  }
  if (!region_found) {
    rvcmndlg::EntryScope resources;
    plat::MessageBox(Parent(), plat::LoadString(rvcmndlg::res::IDS_NO_DEFAULT_REGION), plat::AppName(),
                     plat::mb::Ok | plat::mb::IconError);
  }
}

bool CViewTagListBox::FillRegion() {
  char region[1024] = "";
  if (rgy_get_default_region(region, sizeof region) != TBS_ST_OK) return false;
  rgy_cursor_t tags = nullptr;
  if (rgy_open_cursor(RGY_KIND_VIEW_TAG, region, &tags) != TBS_ST_OK) return true;
  const std::set<std::string> dynamic = DynamicViewUuids();
  const bool local = mode_ == Local || mode_ == LocalInactive;
  rgy_entry_t batch[32];
  int count = 0;
  while (rgy_get_entry(tags, 32, batch, &count) == TBS_ST_OK && count > 0) {
    for (int i = 0; i < count; ++i) {
      rgy_entry_t entry = batch[i];
      bool keep = !local || IsThisHost(Field(entry, RGY_KEY_HOST));
      if (keep && mode_ != AllRegion && mode_ != Local) {
        const bool active = view_is_active(Field(entry, RGY_KEY_TAG).c_str()) != 0;
        keep = mode_ == ActiveInRegion ? active : !active;
      }
      if (keep && dynamic.count(UuidKey(entry))) Append(TagOf(entry, region));
      rgy_delete_entry(entry);
    }
  }
  rgy_close_cursor(tags);
  return true;
}

void CViewTagListBox::FillRecent() {
  for (const std::string& name : recent_.List()) {
    GCL_Status status;
    const RVL_ViewTag tag = RVL_ViewTag::from_name(status, GCL_String(name.c_str()));
    if (!status.ok() || tag.is_null()) continue;
    if (mode_ == RecentInactive) {
      char root[1024] = "";
      // A root that is there is a started view.
      if (tbs_view_root(name.c_str(), root, sizeof root) == TBS_ST_OK && fileutl_exists(root)) continue;
    }
    Append(tag);
  }
}

void CViewTagListBox::FillSnapshot() {
  ws_registered_list_t* list = nullptr;
  if (ws_get_registered_list(&list) != TBS_ST_OK) return;
  for (std::size_t i = 0; i < list->count; ++i) {
    GCL_Status status;
    const RVL_ViewTag tag = RVL_ViewTag::from_name(status, GCL_String(list->tags[i]));
    if (status.ok() && !tag.is_null()) Append(tag);
  }
  ws_free_registered_list(list);
}

void CViewTagListBox::Append(const RVL_ViewTag& tag) {
  const std::string text = tag.name().c_str();
  AddString(text);
  tags_.push_back(tag);
  widest_ = std::max(widest_, ListTextWidth(*this, text));
}

bool CViewTagListBox::IsThisHost(const std::string& host) {
  if (!names_) {
    const plat::MachineProfile machine = plat::MachineInfo();
    names_.emplace(machine.host_name, machine.computer_name);
  }
  // The computer name is cut to 15 characters: a longer host name is
  // matched whole too.
  return plat::IEquals(host, names_->first) || plat::IEquals(host, names_->second);
}

int ListTextWidth(const plat::ListBox& list, const std::string& text) {
  // An average character is about a sixth of the font's height in points, in pixels.
  const int tenths = list.GetFont().tenths_of_point > 0 ? list.GetFont().tenths_of_point : 80;
  return static_cast<int>(text.size()) * std::max(1, tenths * 2 / 30) + 4;
}

bool CViewTagListBox::SelectedTags(std::vector<std::string>* tags) const {
  tags->clear();
  for (int index : GetSelItems()) tags->push_back(GetText(index));
  return !tags->empty();
}

void CViewTagListBox::Preselect(const std::vector<std::string>& tags) {
  const auto items = Items();
  int lowest = -1;
  for (const std::string& tag : tags) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (!plat::IEquals(items[i].text, tag)) continue;
      const int index = static_cast<int>(i);
      if (IsMultiSelect()) SetSel(index, true);
      else SetCurSel(index);
      if (lowest < 0 || index < lowest) lowest = index;
      break;
    }
  }
  if (lowest >= 0) SetTopIndex(lowest);
}

bool CViewTagListBox::IsRecent(const std::string& tag) { return recent_.Contains(tag); }
