#pragma once
// Objects with run-time class information, and the array of object pointers
// that callers hand to the library. The array does not own its elements;
// a class derived from it may.
#include <vector>

#include "platform/export.h"

namespace plat {

class RVCMNDLG_API Object {
 public:
  virtual ~Object() = default;
};

class RVCMNDLG_API ObjectArray {
 public:
  ObjectArray() = default;
  virtual ~ObjectArray() = default;
  ObjectArray(const ObjectArray&) = delete;
  ObjectArray& operator=(const ObjectArray&) = delete;

  int GetSize() const { return static_cast<int>(items_.size()); }
  // Throws std::invalid_argument for an index outside 0..size-1.
  Object* GetAt(int index) const;
  int Add(Object* object);
  virtual void RemoveAt(int index);
  virtual void RemoveAll();

 protected:
  void CheckIndex(int index) const;
  std::vector<Object*> items_;
};

}  // namespace plat
