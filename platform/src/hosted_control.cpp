#include "platform/hosted_control.h"

#include <map>
#include <mutex>

#include "platform/text.h"

namespace plat {

namespace {

std::mutex g_classes_mutex;
std::map<std::string, HostedFactory>& Classes() {
  static auto* classes = new std::map<std::string, HostedFactory>();
  return *classes;
}

std::unique_ptr<HostedImpl> MakeImpl(const std::string& class_id) {
  HostedFactory factory;
  {
    std::lock_guard lock(g_classes_mutex);
    auto it = Classes().find(AsciiLowerCopy(class_id));
    if (it == Classes().end()) return nullptr;
    factory = it->second;
  }
  return factory();
}

// The child of item `parent` (-1: a top item) with this text.
int FindChildItem(const std::vector<HostedItem>& items, int parent, const std::string& text) {
  const int depth = parent < 0 ? 0 : items[static_cast<std::size_t>(parent)].depth + 1;
  int found = -1;
  for (std::size_t i = static_cast<std::size_t>(parent + 1); i < items.size(); ++i) {
    if (items[i].depth < depth) break;
    if (items[i].depth != depth) continue;
    if (items[i].text == text) return static_cast<int>(i);
    if (found < 0 && IEquals(items[i].text, text)) found = static_cast<int>(i);
  }
  return found;
}

}  // namespace

DispValue DispValue::Bool(bool value) {
  DispValue v;
  v.kind_ = Kind::Bool;
  v.bool_ = value;
  return v;
}

DispValue DispValue::Long(long value) {
  DispValue v;
  v.kind_ = Kind::Long;
  v.long_ = value;
  return v;
}

DispValue DispValue::Text(std::string value) {
  DispValue v;
  v.kind_ = Kind::Text;
  v.text_ = std::move(value);
  return v;
}

const char* DispValue::KindName() const {
  switch (kind_) {
    case Kind::Bool: return "bool";
    case Kind::Long: return "long";
    case Kind::Text: return "text";
    case Kind::Pointer: return "pointer";
    case Kind::Empty: break;
  }
  return "empty";
}

DispResult DispResult::Fail(DispError error, std::string message) {
  DispResult r;
  r.error = error;
  r.message = std::move(message);
  return r;
}

void RegisterHostedClass(const std::string& class_id, HostedFactory factory) {
  std::lock_guard lock(g_classes_mutex);
  Classes()[AsciiLowerCopy(class_id)] = std::move(factory);
}

void UnregisterHostedClass(const std::string& class_id) {
  std::lock_guard lock(g_classes_mutex);
  Classes().erase(AsciiLowerCopy(class_id));
}

bool IsClassId(const std::string& class_name) {
  return class_name.size() > 2 && class_name.front() == '{' && class_name.back() == '}';
}

HostedControl::HostedControl(std::string class_id)
    : class_id_(std::move(class_id)), impl_(MakeImpl(class_id_)) {
  Refresh();
}

HostedControl::~HostedControl() = default;

bool HostedControl::CreateOver(Window& placeholder, int control_id) {
  if (!impl_) return false;
  const std::uint32_t style = (placeholder.Style() | ws::Visible) & ~ws::Disabled;
  if (!CreateWindowObjectAfter(placeholder, control_id, {}, style)) return false;
  SetFont(placeholder.GetFont());
  return true;
}

DispResult HostedControl::Invoke(int dispid, DispCall call, const std::vector<DispValue>& args) {
  if (!impl_) return DispResult::Fail(DispError::NoControl, "the control " + class_id_ + " is not installed");
  DispResult result = impl_->Invoke(dispid, call, args);
  Refresh();
  return result;
}

std::vector<HostedItem> HostedControl::Items() const {
  WindowStateLock state;
  return items_;
}

bool HostedControl::UserPick(std::size_t index) {
  if (!impl_ || !impl_->Pick(index)) return false;
  Refresh();
  const auto items = Items();
  HostedNotify notify;
  notify.code = hcn::SelChange;
  if (index < items.size()) notify.selector = items[index].selector;
  NotifyParent(notify);
  return true;
}

void HostedControl::Refresh() {
  auto items = impl_ ? impl_->Items() : std::vector<HostedItem>();
  {
    WindowStateLock state;
    items_ = std::move(items);
  }
  AnnounceChange();
}

int FindHostedItem(const std::vector<HostedItem>& items, const std::string& name) {
  if (name.size() > 1 && name[0] == '#') {
    const auto index = ParseDecimal(std::string_view(name).substr(1));
    return index && *index < items.size() ? static_cast<int>(*index) : -1;
  }
  int found = -1;
  for (std::size_t i = 0; i < items.size() && found < 0; ++i)
    if (items[i].text == name) found = static_cast<int>(i);
  for (std::size_t i = 0; i < items.size() && found < 0; ++i)
    if (IEquals(items[i].text, name)) found = static_cast<int>(i);
  if (found >= 0 || name.find('/') == std::string::npos) return found;
  int at = -1;
  for (std::size_t start = 0; start <= name.size();) {
    const std::size_t end = std::min(name.find('/', start), name.size());
    at = FindChildItem(items, at, name.substr(start, end - start));
    if (at < 0) return -1;
    start = end + 1;
  }
  return at;
}

}  // namespace plat
