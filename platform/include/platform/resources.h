#pragma once
// Resources: string tables, dialog templates, menus, icons and animations,
// grouped in modules. Lookups search the module made current on this thread
// (an exported entry makes its library's module current with ResourceScope),
// then the application's module, then the resource chain.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

struct ControlTemplate {
  std::string class_name;  // "static", "button", "edit", "combobox", ...
  int id = 0;
  std::string text;
  std::uint32_t style = 0;
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  std::string font_face = "MS Shell Dlg";
  int point_size = 8;
  std::uint32_t style = 0;
  std::vector<ControlTemplate> controls;
};

struct MenuItem {
  int id = 0;  // 0 with an empty text is a separator
  std::string text;
  bool enabled = true;
  bool checked = false;
  std::vector<MenuItem> submenu;
  bool IsSeparator() const { return id == 0 && text.empty() && submenu.empty(); }
};

struct Menu {
  int id = 0;
  std::vector<MenuItem> items;
};

struct AnimationResource {
  int id = 0;
  int frames = 1;
};

class ResourceModule {
 public:
  explicit ResourceModule(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }

  void AddString(int id, std::string text);
  void AddDialog(DialogTemplate dialog);
  void AddMenu(Menu menu);
  void AddIcon(int id);
  void AddAnimation(AnimationResource animation);

  std::optional<std::string> String(int id) const;
  std::optional<DialogTemplate> Dialog(int id) const;
  std::vector<int> DialogIds() const;  // every template's id, in order
  std::optional<Menu> FindMenu(int id) const;
  bool HasIcon(int id) const;
  std::optional<AnimationResource> Animation(int id) const;

 private:
  const std::string name_;
  mutable std::mutex mutex_;
  std::map<int, std::string> strings_;
  std::map<int, DialogTemplate> dialogs_;
  std::map<int, Menu> menus_;
  std::set<int> icons_;
  std::map<int, AnimationResource> animations_;
};

// The application's own module (always searched after the current one).
ResourceModule& AppResources();
// Adds a module to the process-wide search chain (searched last, in order).
void AddToResourceChain(ResourceModule* module);
void RemoveFromResourceChain(ResourceModule* module);
// The module current on this thread (the application's when none was set).
ResourceModule& CurrentResources();

// Makes a module current on this thread for the scope's life and restores the
// previous one on every return path.
class ResourceScope {
 public:
  explicit ResourceScope(ResourceModule& module);
  ~ResourceScope();
  ResourceScope(const ResourceScope&) = delete;
  ResourceScope& operator=(const ResourceScope&) = delete;

 private:
  ResourceModule* previous_;
};

// Lookups through the current module, the application's and the chain.
std::string LoadString(int id);  // empty when no module has it
bool LoadString(int id, std::string& out);
std::optional<DialogTemplate> FindDialogTemplate(int id);
std::optional<Menu> FindMenuResource(int id);
bool FindIcon(int id);
std::optional<AnimationResource> FindAnimation(int id);

// "%1".."%9" placeholders replaced by the arguments; "%%" is a percent sign;
// a placeholder without an argument is left as it stands.
std::string FormatMessage(std::string_view format, std::initializer_list<std::string_view> args);

// printf-style formatting that never trusts the format: %s %d %i %u %x %X %c
// %ld %lu %f %% with flags, width (also *) and precision; a missing argument
// is formatted as empty text, and numbers and texts convert to each other.
class FormatArg {
 public:
  enum class Kind { Signed, Unsigned, Real, Text };
  FormatArg(int v) : kind_(Kind::Signed), signed_(v) {}
  FormatArg(long v) : kind_(Kind::Signed), signed_(v) {}
  FormatArg(long long v) : kind_(Kind::Signed), signed_(v) {}
  FormatArg(unsigned v) : kind_(Kind::Unsigned), unsigned_(v) {}
  FormatArg(unsigned long v) : kind_(Kind::Unsigned), unsigned_(v) {}
  FormatArg(unsigned long long v) : kind_(Kind::Unsigned), unsigned_(v) {}
  FormatArg(double v) : kind_(Kind::Real), real_(v) {}
  FormatArg(const char* v) : kind_(Kind::Text), text_(v ? v : "(null)") {}
  FormatArg(std::string_view v) : kind_(Kind::Text), text_(v) {}
  FormatArg(const std::string& v) : kind_(Kind::Text), text_(v) {}
  Kind kind() const { return kind_; }
  long long AsSigned() const;
  unsigned long long AsUnsigned() const;
  double AsReal() const;
  std::string_view AsText() const { return text_; }

 private:
  Kind kind_;
  long long signed_ = 0;
  unsigned long long unsigned_ = 0;
  double real_ = 0;
  std::string_view text_;
};
std::string FormatPrintf(std::string_view format, std::initializer_list<FormatArg> args);

}  // namespace plat
