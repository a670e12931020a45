#pragma once
// The implementations behind the control class ids, and what they share.
#include <memory>
#include <string>

#include <vector>

#include "flm.h"
#include "member_table.h"
#include "platform/hosted_control.h"

namespace cmctls {

std::unique_ptr<plat::HostedImpl> MakeBaselineTimeline();
std::unique_ptr<plat::HostedImpl> MakeBaselineTree();
std::unique_ptr<plat::HostedImpl> MakeProjectTree();
std::unique_ptr<plat::HostedImpl> MakeDrawtree();

// An object as a control shows it: its name, and its selector for events.
// Status of the model when it could not be read.
int ShowAs(const FLM_VobObject& object, int depth, plat::HostedItem* item);

// The object a selector names (of the class's kind), shown as above.
template <typename T>
int Resolve(const std::string& selector, T* object, plat::HostedItem* item, int depth = 0) {
  if (int st = T::construct_from_selector(selector.c_str(), object)) return st;
  return ShowAs(*object, depth, item);
}

// What the three controls share: a member table, the items shown and the
// one the user picked.
class ItemControl : public plat::HostedImpl {
 public:
  plat::DispResult Invoke(int dispid, plat::DispCall call, const Args& args) override {
    return members_.Invoke(dispid, call, args);
  }
  std::vector<plat::HostedItem> Items() const override;
  bool Pick(std::size_t index) override;

 protected:
  // The index of the item with this selector, or -1.
  int Find(const std::string& selector) const;
  // The picked item's selector (empty when none).
  std::string SelectedSelector() const;
  void Clear();

  MemberTable members_;
  std::vector<plat::HostedItem> items_;
  int selected_ = -1;
};

}  // namespace cmctls
