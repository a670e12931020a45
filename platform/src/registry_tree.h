#pragma once
// Internal: the registry's keys in memory, shared by the registry and the
// hive files that keep them on disk.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace plat {

// A key: its values in the order first set, its subkeys sorted by name
// without regard to case. A plain value type, so a hive copies in one line.
struct KeyNode {
  std::string name;
  std::vector<std::pair<std::string, RegValue>> values;
  std::vector<KeyNode> subkeys;

  KeyNode* FindSubkey(std::string_view child);
  KeyNode& SubkeyOrNew(std::string_view child);
  bool EraseSubkey(std::string_view child);
  const RegValue* FindValue(std::string_view value_name) const;
  void SetValue(std::string_view value_name, const RegValue& value);
  bool EraseValue(std::string_view value_name);

 private:
  std::vector<KeyNode>::iterator LowerBound(std::string_view child);
};

// Splits a key path into its names; nullopt when a name is empty (a leading,
// trailing or doubled backslash) or holds a NUL. The empty path is the root.
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path);
std::string JoinKeyPath(std::string_view parent, std::string_view child);

}  // namespace plat
