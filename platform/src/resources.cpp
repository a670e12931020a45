#include "platform/resources.h"

#include <algorithm>
#include <cstdio>

#include "platform/text.h"

namespace plat {

// ---- ResourceModule ----

void ResourceModule::AddString(int id, std::string text) {
  std::lock_guard lock(mutex_);
  strings_[id] = std::move(text);
}

void ResourceModule::AddDialog(DialogTemplate dialog) {
  std::lock_guard lock(mutex_);
  const int id = dialog.id;
  dialogs_[id] = std::move(dialog);
}

void ResourceModule::AddMenu(Menu menu) {
  std::lock_guard lock(mutex_);
  const int id = menu.id;
  menus_[id] = std::move(menu);
}

void ResourceModule::AddIcon(int id) {
  std::lock_guard lock(mutex_);
  icons_.insert(id);
}

void ResourceModule::AddAnimation(AnimationResource animation) {
  std::lock_guard lock(mutex_);
  animations_[animation.id] = animation;
}

std::optional<std::string> ResourceModule::String(int id) const {
  std::lock_guard lock(mutex_);
  auto it = strings_.find(id);
  if (it == strings_.end()) return std::nullopt;
  return it->second;
}

std::vector<int> ResourceModule::DialogIds() const {
  std::lock_guard lock(mutex_);
  std::vector<int> ids;
  for (const auto& [id, dialog] : dialogs_) ids.push_back(id);
  return ids;
}

std::optional<DialogTemplate> ResourceModule::Dialog(int id) const {
  std::lock_guard lock(mutex_);
  auto it = dialogs_.find(id);
  if (it == dialogs_.end()) return std::nullopt;
  return it->second;
}

std::optional<Menu> ResourceModule::FindMenu(int id) const {
  std::lock_guard lock(mutex_);
  auto it = menus_.find(id);
  if (it == menus_.end()) return std::nullopt;
  return it->second;
}

bool ResourceModule::HasIcon(int id) const {
  std::lock_guard lock(mutex_);
  return icons_.count(id) != 0;
}

std::optional<AnimationResource> ResourceModule::Animation(int id) const {
  std::lock_guard lock(mutex_);
  auto it = animations_.find(id);
  if (it == animations_.end()) return std::nullopt;
  return it->second;
}

// ---- search order ----

namespace {

std::mutex g_chain_mutex;
std::vector<ResourceModule*>& Chain() {
  static auto* chain = new std::vector<ResourceModule*>();
  return *chain;
}
thread_local ResourceModule* t_current = nullptr;

// The modules to search, in order, without repeats.
std::vector<ResourceModule*> SearchOrder() {
  std::vector<ResourceModule*> order{&CurrentResources()};
  if (order.front() != &AppResources()) order.push_back(&AppResources());
  std::lock_guard lock(g_chain_mutex);
  for (ResourceModule* m : Chain())
    if (std::find(order.begin(), order.end(), m) == order.end()) order.push_back(m);
  return order;
}

template <typename Lookup>
auto Search(Lookup lookup) -> decltype(lookup(AppResources())) {
  for (ResourceModule* m : SearchOrder())
    if (auto found = lookup(*m)) return found;
  return {};
}

}  // namespace

ResourceModule& AppResources() {
  static auto* app = new ResourceModule("application");
  return *app;
}

void AddToResourceChain(ResourceModule* module) {
  std::lock_guard lock(g_chain_mutex);
  if (std::find(Chain().begin(), Chain().end(), module) == Chain().end()) Chain().push_back(module);
}

void RemoveFromResourceChain(ResourceModule* module) {
  std::lock_guard lock(g_chain_mutex);
  std::erase(Chain(), module);
}

ResourceModule& CurrentResources() { return t_current ? *t_current : AppResources(); }

ResourceScope::ResourceScope(ResourceModule& module) : previous_(t_current) { t_current = &module; }
ResourceScope::~ResourceScope() { t_current = previous_; }

std::string LoadString(int id) {
  std::string out;
  LoadString(id, out);
  return out;
}

bool LoadString(int id, std::string& out) {
  auto found = Search([id](ResourceModule& m) { return m.String(id); });
  out = found.value_or(std::string());
  return found.has_value();
}

std::optional<DialogTemplate> FindDialogTemplate(int id) {
  return Search([id](ResourceModule& m) { return m.Dialog(id); });
}

std::optional<Menu> FindMenuResource(int id) {
  return Search([id](ResourceModule& m) { return m.FindMenu(id); });
}

bool FindIcon(int id) {
  for (ResourceModule* m : SearchOrder())
    if (m->HasIcon(id)) return true;
  return false;
}

std::optional<AnimationResource> FindAnimation(int id) {
  return Search([id](ResourceModule& m) { return m.Animation(id); });
}

// ---- formatting ----

std::string FormatMessage(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(format.size());
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '%' && i + 1 < format.size()) {
      const char next = format[i + 1];
      if (next == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (next >= '1' && next <= '9') {
        const std::size_t index = static_cast<std::size_t>(next - '1');
        if (index < args.size()) {
          out += *(args.begin() + index);
          ++i;
          continue;
        }
      }
    }
    out += c;
  }
  return out;
}

long long FormatArg::AsSigned() const {
  switch (kind_) {
    case Kind::Signed: return signed_;
    case Kind::Unsigned: return static_cast<long long>(unsigned_);
    case Kind::Real: return static_cast<long long>(real_);
    case Kind::Text: return 0;
  }
  return 0;
}

unsigned long long FormatArg::AsUnsigned() const {
  switch (kind_) {
    case Kind::Signed: return static_cast<unsigned long long>(signed_);
    case Kind::Unsigned: return unsigned_;
    case Kind::Real: return static_cast<unsigned long long>(real_);
    case Kind::Text: return 0;
  }
  return 0;
}

double FormatArg::AsReal() const {
  switch (kind_) {
    case Kind::Signed: return static_cast<double>(signed_);
    case Kind::Unsigned: return static_cast<double>(unsigned_);
    case Kind::Real: return real_;
    case Kind::Text: return 0;
  }
  return 0;
}

namespace {

std::string TextOf(const FormatArg& arg) {
  switch (arg.kind()) {
    case FormatArg::Kind::Text: return std::string(arg.AsText());
    case FormatArg::Kind::Signed: return std::to_string(arg.AsSigned());
    case FormatArg::Kind::Unsigned: return std::to_string(arg.AsUnsigned());
    case FormatArg::Kind::Real: return std::to_string(arg.AsReal());
  }
  return {};
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
// Formats one value with a conversion spec we built ourselves from checked
// parts, so the spec always matches the value's type.
template <typename T>
std::string FormatOne(const std::string& spec, T value) {
  const int size = std::snprintf(nullptr, 0, spec.c_str(), value);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), spec.c_str(), value);
  out.resize(static_cast<std::size_t>(size));
  return out;
}
#pragma GCC diagnostic pop

}  // namespace

std::string FormatPrintf(std::string_view format, std::initializer_list<FormatArg> args) {
  std::string out;
  auto next_arg = args.begin();
  auto take = [&]() -> const FormatArg* { return next_arg == args.end() ? nullptr : &*next_arg++; };
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    std::size_t j = i + 1;
    std::string flags, width, precision;
    bool has_precision = false;
    while (j < format.size() && std::string_view("-+ 0#").find(format[j]) != std::string_view::npos)
      flags += format[j++];
    auto read_number = [&](std::string& into) {
      if (j < format.size() && format[j] == '*') {
        const FormatArg* a = take();
        into = std::to_string(std::clamp<long long>(a ? a->AsSigned() : 0, -4096, 4096));
        ++j;
        return;
      }
      while (j < format.size() && IsDecimalDigit(format[j]) && into.size() < 4)
        into += format[j++];
      while (j < format.size() && IsDecimalDigit(format[j])) ++j;
    };
    read_number(width);
    if (j < format.size() && format[j] == '.') {
      has_precision = true;
      ++j;
      read_number(precision);
      if (!precision.empty() && precision[0] == '-') precision.clear();
    }
    while (j < format.size() && std::string_view("hlLqjzt").find(format[j]) != std::string_view::npos) ++j;
    if (j >= format.size()) {  // a lone spec at the end is kept as text
      out.append(format.substr(i));
      break;
    }
    const char conv = format[j];
    if (!width.empty() && width[0] == '-') {  // a negative * width means left-justify
      flags += '-';
      width.erase(0, 1);
    }
    std::string spec = "%" + flags + width + (has_precision ? "." + precision : "");
    const FormatArg* arg = nullptr;
    switch (conv) {
      case '%': out += '%'; break;
      case 'd':
      case 'i':
        arg = take();
        out += FormatOne(spec + "lld", arg ? arg->AsSigned() : 0LL);
        break;
      case 'u':
      case 'x':
      case 'X':
      case 'o':
        arg = take();
        out += FormatOne(spec + "ll" + conv, arg ? arg->AsUnsigned() : 0ULL);
        break;
      case 'c': {
        arg = take();
        const long long c = arg ? arg->AsSigned() : 0;
        out += FormatOne(spec + "c", static_cast<int>(static_cast<unsigned char>(c)));
        break;
      }
      case 'f':
      case 'e':
      case 'E':
      case 'g':
      case 'G':
        arg = take();
        out += FormatOne(spec + conv, arg ? arg->AsReal() : 0.0);
        break;
      case 's': {
        arg = take();
        const std::string text = arg ? TextOf(*arg) : std::string();
        out += FormatOne(spec + "s", text.c_str());
        break;
      }
      default:  // an unknown conversion is kept as text
        out.append(format.substr(i, j - i + 1));
        break;
    }
    i = j;
  }
  return out;
}

}  // namespace plat
