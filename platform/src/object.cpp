#include "platform/object.h"

#include <stdexcept>
#include <string>

namespace plat {

void ObjectArray::CheckIndex(int index) const {
  if (index < 0 || index >= GetSize())
    throw std::invalid_argument("index " + std::to_string(index) + " outside 0.." + std::to_string(GetSize() - 1));
}

Object* ObjectArray::GetAt(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)];
}

int ObjectArray::Add(Object* object) {
  items_.push_back(object);
  return GetSize() - 1;
}

void ObjectArray::RemoveAt(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
}

void ObjectArray::RemoveAll() { items_.clear(); }

}  // namespace plat
