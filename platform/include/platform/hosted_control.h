#pragma once
// Controls hosted by class id. A dialog template names the class
// ("{68BE73E0-89FC-11D2-96A7-B6F299000000}"), or a program makes the control
// at run time over a placeholder. What such a control does lives in an
// implementation registered for its class id; a program reaches it only by
// dispatch calls by number, a user through the items it shows.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "platform/window.h"

namespace plat {

// An argument or result of a dispatch call: nothing, a truth value, a number,
// a text, or the address of an object of a known type (asked for as another
// type, it reads as null).
class DispValue {
 public:
  enum class Kind { Empty, Bool, Long, Text, Pointer };
  DispValue() = default;
  static DispValue Bool(bool value);
  static DispValue Long(long value);
  static DispValue Text(std::string value);
  template <typename T>
  static DispValue Pointer(T* object) {
    DispValue v;
    v.kind_ = Kind::Pointer;
    v.pointer_ = object;
    v.type_ = std::type_index(typeid(T));
    return v;
  }

  Kind kind() const { return kind_; }
  bool AsBool() const { return bool_; }
  long AsLong() const { return long_; }
  const std::string& AsText() const { return text_; }
  template <typename T>
  T* AsPointer() const {
    return kind_ == Kind::Pointer && type_ == std::type_index(typeid(T)) ? static_cast<T*>(pointer_) : nullptr;
  }
  // "bool", "long", "text", "pointer" or "empty", for error texts.
  const char* KindName() const;

 private:
  Kind kind_ = Kind::Empty;
  bool bool_ = false;
  long long_ = 0;
  std::string text_;
  void* pointer_ = nullptr;
  std::type_index type_ = std::type_index(typeid(void));
};

enum class DispCall { Method, Get, Put };

enum class DispError {
  None,
  NoControl,      // the control was never made (its class is not installed)
  UnknownMember,  // no member of that number for that kind of call
  BadArguments,   // wrong count or kind of arguments
  Failed,         // the member could not do what was asked (the message says why)
};

struct DispResult {
  DispError error = DispError::None;
  DispValue value;
  std::string message;  // why it failed
  bool ok() const { return error == DispError::None; }
  static DispResult Fail(DispError error, std::string message);
};

// One line a hosted control shows: a tree is its items in order, each with
// its depth under the one before.
struct HostedItem {
  int depth = 0;
  std::string text;      // what a user reads
  std::string selector;  // what a selection of it reports
  bool selected = false;
};

// What a hosted control does. It runs on the control's window thread only.
class HostedImpl {
 public:
  virtual ~HostedImpl() = default;
  virtual DispResult Invoke(int dispid, DispCall call, const std::vector<DispValue>& args) = 0;
  virtual std::vector<HostedItem> Items() const = 0;
  // The user picks the item at this index of Items(); false when it cannot be picked.
  virtual bool Pick(std::size_t index) = 0;
};

using HostedFactory = std::function<std::unique_ptr<HostedImpl>()>;
// Installs (or replaces) the implementation of a class id, process-wide;
// class ids compare without regard to case.
void RegisterHostedClass(const std::string& class_id, HostedFactory factory);
void UnregisterHostedClass(const std::string& class_id);
// A template class name that is a class id: "{...}".
bool IsClassId(const std::string& class_name);

// The notification a hosted control sends its parent when the user picks an item.
namespace hcn {
inline constexpr int SelChange = -1001;
}
struct HostedNotify : NotifyHeader {
  std::string selector;
};

class HostedControl : public Window {
 public:
  // Takes the implementation installed for the class id now, if any.
  explicit HostedControl(std::string class_id);
  ~HostedControl() override;
  const char* ClassName() const override { return "hosted"; }
  const std::string& ClassId() const { return class_id_; }
  bool IsInstalled() const { return impl_ != nullptr; }

  // Makes the control at run time in the placeholder's place (its parent,
  // just after it in order). False when the class is not installed or the
  // placeholder is not a live child window.
  bool CreateOver(Window& placeholder, int control_id);

  DispResult Invoke(int dispid, DispCall call, const std::vector<DispValue>& args = {});
  // What the control shows now; safe from any thread.
  std::vector<HostedItem> Items() const;
  // The user picks an item; the parent hears of it with the item's selector.
  bool UserPick(std::size_t index);

 private:
  void Refresh();
  const std::string class_id_;
  std::unique_ptr<HostedImpl> impl_;
  std::vector<HostedItem> items_;  // under the window state lock
};

// The item a user names: its text, a path of texts from a top item ("a/b"),
// or "#N" (its index); -1 when none.
int FindHostedItem(const std::vector<HostedItem>& items, const std::string& name);

}  // namespace plat
