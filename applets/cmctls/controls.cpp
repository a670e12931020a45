#include "controls.h"

#include "cmctls/cmctls.h"

namespace cmctls {

int ShowAs(const FLM_VobObject& object, int depth, plat::HostedItem* item) {
  plat::HostedItem shown;
  shown.depth = depth;
  if (int st = object.name(&shown.text)) return st;
  if (int st = object.selector(&shown.selector)) return st;
  *item = std::move(shown);
  return 0;
}

std::vector<plat::HostedItem> ItemControl::Items() const {
  auto items = items_;
  for (std::size_t i = 0; i < items.size(); ++i) items[i].selected = static_cast<int>(i) == selected_;
  return items;
}

bool ItemControl::Pick(std::size_t index) {
  if (index >= items_.size()) return false;
  selected_ = static_cast<int>(index);
  return true;
}

int ItemControl::Find(const std::string& selector) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].selector == selector) return static_cast<int>(i);
  return -1;
}

std::string ItemControl::SelectedSelector() const {
  return selected_ < 0 ? std::string() : items_[static_cast<std::size_t>(selected_)].selector;
}

void ItemControl::Clear() {
  items_.clear();
  selected_ = -1;
}

void Install() {
  plat::RegisterHostedClass(kBaselineTimelineClass, MakeBaselineTimeline);
  plat::RegisterHostedClass(kBaselineTreeClass, MakeBaselineTree);
  plat::RegisterHostedClass(kProjectTreeClass, MakeProjectTree);
  plat::RegisterHostedClass(kDrawtreeClass, MakeDrawtree);
}

void Uninstall() {
  for (const char* id : {kBaselineTimelineClass, kBaselineTreeClass, kProjectTreeClass, kDrawtreeClass})
    plat::UnregisterHostedClass(id);
}

}  // namespace cmctls
