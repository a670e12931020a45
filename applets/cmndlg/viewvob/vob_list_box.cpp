#include "viewvob/vob_list_box.h"

#include <algorithm>
#include <cstdint>

#include "gcl_status.h"
#include "platform/text.h"
#include "platform/window.h"
#include "tbs.h"
#include "viewvob/view_tag_list_box.h"

namespace {

// The registry's answer for a list it read whole; it counts as success.
constexpr std::uint32_t kListRead = TBS_ST_NOT_FS_OBJECT;

}  // namespace

std::string CVobListBox::DisplayText(const std::string& tag) {
  return !tag.empty() && (tag[0] == '\\' || tag[0] == '/') ? tag.substr(1) : tag;
}

void CVobListBox::Fill(Mode mode, const std::string& region, const std::string& filter) {
  plat::WaitCursor wait;
  mode_ = mode;
  region_ = region;
  filter_ = filter;
  ResetContent();
  handles_.clear();
  GCL_Status status;
  std::vector<RVL_VobTag> tags;
  RVL_VobTag::list_region(status, GCL_String(region_.c_str()), &tags);
  int widest = 0;
  if (status.ok() || status.code() == kListRead) {
    for (const RVL_VobTag& tag : tags) {
      if (mode_ != All && tag.is_mounted() != (mode_ == Mounted)) continue;
      const std::string text = DisplayText(tag.name().c_str());
      const int index = AddString(text);
      if (index < 0) break;
      handles_.push_back(std::make_unique<RVL_VobTag>(tag));
      SetItemData(index, reinterpret_cast<std::uintptr_t>(handles_.back().get()));
      widest = std::max(widest, ListTextWidth(*this, text));
    }
  }
  SetHorizontalExtent(widest);
}

const RVL_VobTag* CVobListBox::Handle(int index) const {
  return reinterpret_cast<const RVL_VobTag*>(GetItemData(index));
}

bool CVobListBox::GetSelection(std::vector<RVL_VobTag>* tags) const {
  tags->clear();
  for (int index : GetSelItems())
    if (const RVL_VobTag* tag = Handle(index)) tags->push_back(*tag);
  return !tags->empty();
}

void CVobListBox::Preselect(const std::vector<std::string>& tags) {
  const auto items = Items();
  int lowest = -1;
  for (const std::string& tag : tags) {
    const std::string text = DisplayText(tag);
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const plat::ListItem& item) { return plat::IEquals(item.text, text); });
    if (found == items.end()) continue;
    const int index = static_cast<int>(found - items.begin());
    SetSel(index, true);
    if (lowest < 0 || index < lowest) lowest = index;
  }
  if (lowest < 0) return;
  SetTopIndex(lowest);
  SetCaretIndex(lowest);
}

bool CVobListBox::CurrentItem(RVL_VobTag* tag) const {
  const int caret = GetCaretIndex();
  if (caret < 0 || caret >= GetCount() || !Handle(caret)) return false;
  *tag = *Handle(caret);
  return true;
}

void CVobListBox::KeepCaretVisible() {
  const int top = GetTopIndex();
  if (GetCaretIndex() >= top + kVisibleLines) SetTopIndex(top + 1);
}
