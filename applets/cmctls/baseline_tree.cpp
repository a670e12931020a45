// A tree of baselines: loaded from a stream's foundation or a composite's
// members, changed by adding, removing and replacing baselines, written back
// into a foundation. Composite baselines show their members beneath them
// while members are shown.
#include "controls.h"
#include "tbs.h"

namespace cmctls {

namespace {

using plat::DispCall;
using plat::DispValue;

class BaselineTree : public ItemControl {
 public:
  BaselineTree() {
    members_.Add(1, DispCall::Get, {}, [this](const Args&) { return Answer(DispValue::Bool(show_members_)); });
    members_.Add(1, DispCall::Put, {IsBool}, [this](const Args& a) {
      show_members_ = a[0].AsBool();
      return Rebuild();
    });
    members_.Add(2, DispCall::Get, {}, [this](const Args&) { return Answer(DispValue::Text(SelectedSelector())); });
    members_.AddNeutral(3, DispCall::Get, {}, DispValue::Bool(false));
    members_.AddNeutral(3, DispCall::Put, {IsBool});
    members_.Add(4, DispCall::Method, {IsText}, [this](const Args& a) { return Status(Add(a[0].AsText())); });
    members_.AddNeutral(5, DispCall::Method, {});
    members_.Add(6, DispCall::Method, {IsText}, [this](const Args& a) { return Remove(a[0].AsText()); });
    members_.Add(7, DispCall::Method, {}, [this](const Args&) { return Answer(DispValue::Bool(changed_)); });
    members_.AddNeutral(8, DispCall::Method, {IsLong}, DispValue::Text(""));
    members_.AddNeutral(9, DispCall::Method, {});
    members_.Add(10, DispCall::Method, {IsText}, [this](const Args& a) { return Status(Replace(a[0].AsText())); });
    members_.AddNeutral(11, DispCall::Method, {});
    members_.Add(12, DispCall::Method, {IsPointerTo<FLM_Baseline>},
                 [this](const Args& a) { return LoadMembers(*a[0].AsPointer<FLM_Baseline>()); });
    members_.Add(13, DispCall::Method, {IsPointerTo<FLM_Foundation>}, [this](const Args& a) {
      *a[0].AsPointer<FLM_Foundation>() = FLM_Foundation(baselines_);
      return Done();
    });
    members_.Add(14, DispCall::Method, {},
                 [this](const Args&) { return Answer(DispValue::Long(static_cast<long>(baselines_.length()))); });
    members_.AddNeutral(15, DispCall::Method, {}, DispValue::Bool(false));
    members_.Add(18, DispCall::Method, {IsPointerTo<FLM_Foundation>, IsText, IsText},
                 [this](const Args& a) { return Load(a[0].AsPointer<FLM_Foundation>()->baselines()); });
    members_.AddNeutral(19, DispCall::Method, {});
    members_.AddNeutral(20, DispCall::Method, {IsText});
    members_.AddNeutral(21, DispCall::Method, {IsText});
  }

 private:
  static plat::DispResult Status(int status) { return Answer(DispValue::Long(status)); }

  plat::DispResult Load(const FLM_BaselineList& baselines) {
    baselines_ = baselines;
    changed_ = false;
    return Rebuild();
  }

  plat::DispResult LoadMembers(const FLM_Baseline& composite) {
    FLM_BaselineList members;
    if (composite.members(&members)) return Failed("the members of the baseline could not be read");
    return Load(members);
  }

  int Add(const std::string& selector) {
    FLM_Baseline baseline;
    plat::HostedItem item;
    if (int st = Resolve(selector, &baseline, &item)) return st;
    if (IndexOf(baseline) >= 0) return 0;
    return Change([&](std::vector<FLM_Baseline>& list) { list.push_back(baseline); });
  }

  plat::DispResult Remove(const std::string& selector) {
    FLM_Baseline baseline;
    plat::HostedItem item;
    const int at = Resolve(selector, &baseline, &item) ? -1 : IndexOf(baseline);
    if (at < 0) return Failed("the tree does not hold \"" + selector + "\"");
    Change([&](std::vector<FLM_Baseline>& list) { list.erase(list.begin() + at); });
    return Done();
  }

  // The new baseline takes the place of the one of its component.
  int Replace(const std::string& selector) {
    FLM_Baseline baseline;
    plat::HostedItem item;
    FLM_Component component;
    if (int st = Resolve(selector, &baseline, &item)) return st;
    if (int st = baseline.component(&component)) return st;
    for (std::size_t i = 0; i < baselines_.length(); ++i) {
      FLM_Component other;
      if (int st = baselines_[i].component(&other)) return st;
      if (other == component)
        return Change([&](std::vector<FLM_Baseline>& list) { list[i] = baseline; });
    }
    return Change([&](std::vector<FLM_Baseline>& list) { list.push_back(baseline); });
  }

  int IndexOf(const FLM_Baseline& baseline) const {
    for (std::size_t i = 0; i < baselines_.length(); ++i)
      if (baselines_[i] == baseline) return static_cast<int>(i);
    return -1;
  }

  // Applies a change to the list, and keeps it only when the tree can show it.
  template <typename Edit>
  int Change(Edit edit) {
    std::vector<FLM_Baseline> list(baselines_.begin(), baselines_.end());
    edit(list);
    const FLM_BaselineList before = baselines_;
    baselines_ = FLM_BaselineList();
    for (const auto& b : list) baselines_.append(b);
    if (!Rebuild().ok()) {
      baselines_ = before;
      Rebuild();
      return TBS_ST_FAILURE;
    }
    changed_ = true;
    return 0;
  }

  // The items: each baseline, and beneath a composite its members when
  // members are shown. The picked baseline stays picked.
  plat::DispResult Rebuild() {
    const std::string picked = SelectedSelector();
    std::vector<plat::HostedItem> items;
    for (const auto& baseline : baselines_) {
      plat::HostedItem item;
      FLM_BaselineList members;
      if (ShowAs(baseline, 0, &item) || (show_members_ && baseline.members(&members)))
        return Failed("a baseline of the tree could not be read");
      items.push_back(std::move(item));
      for (const auto& member : members) {
        if (ShowAs(member, 1, &item)) return Failed("a member baseline could not be read");
        items.push_back(std::move(item));
      }
    }
    items_ = std::move(items);
    selected_ = Find(picked);
    return Done();
  }

  FLM_BaselineList baselines_;
  bool show_members_ = false;
  bool changed_ = false;
};

}  // namespace

std::unique_ptr<plat::HostedImpl> MakeBaselineTree() { return std::make_unique<BaselineTree>(); }

}  // namespace cmctls
