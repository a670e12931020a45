// A timeline of baselines: the host adds baselines one by one by selector,
// says when it is done, and reads back the one the user picked.
#include "controls.h"

namespace cmctls {

namespace {

using plat::DispCall;
using plat::DispValue;

class BaselineTimeline : public ItemControl {
 public:
  BaselineTimeline() {
    members_.Add(1, DispCall::Get, {}, [this](const Args&) { return Answer(DispValue::Text(SelectedSelector())); });
    members_.Add(1, DispCall::Put, {IsText}, [this](const Args& a) { return Select(a[0].AsText()); });
    members_.Add(2, DispCall::Method, {IsText}, [this](const Args& a) { return Add(a[0].AsText()); });
    members_.Add(3, DispCall::Method, {}, [this](const Args&) {
      Clear();
      laid_out_ = false;
      return Done();
    });
    members_.AddNeutral(4, DispCall::Method, {});
    members_.Add(5, DispCall::Method, {}, [this](const Args&) {
      laid_out_ = true;
      return Done();
    });
    members_.Add(6, DispCall::Method, {},
                 [this](const Args&) { return Answer(DispValue::Long(static_cast<long>(items_.size()))); });
    members_.Add(7, DispCall::Method, {}, [this](const Args&) { return Answer(DispValue::Bool(selected_ >= 0)); });
    members_.AddNeutral(8, DispCall::Method, {IsBool});
    members_.AddNeutral(9, DispCall::Method, {IsText});
    members_.AddNeutral(10, DispCall::Method, {IsAnyPointer});
  }

  // The baselines show once the host has added them all.
  std::vector<plat::HostedItem> Items() const override {
    return laid_out_ ? ItemControl::Items() : std::vector<plat::HostedItem>();
  }
  bool Pick(std::size_t index) override { return laid_out_ && ItemControl::Pick(index); }

 private:
  plat::DispResult Add(const std::string& selector) {
    FLM_Baseline baseline;
    plat::HostedItem item;
    if (Resolve(selector, &baseline, &item)) return Failed("no baseline \"" + selector + "\"");
    if (Find(item.selector) < 0) items_.push_back(std::move(item));
    return Done();
  }

  plat::DispResult Select(const std::string& selector) {
    if (selector.empty()) {
      selected_ = -1;
      return Done();
    }
    FLM_Baseline baseline;
    plat::HostedItem item;
    const int at = Resolve(selector, &baseline, &item) ? -1 : Find(item.selector);
    if (at < 0) return Failed("the timeline does not show \"" + selector + "\"");
    selected_ = at;
    return Done();
  }

  bool laid_out_ = false;
};

}  // namespace

std::unique_ptr<plat::HostedImpl> MakeBaselineTimeline() { return std::make_unique<BaselineTimeline>(); }

}  // namespace cmctls
