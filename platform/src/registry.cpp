// The registry's keys and values; hive_file.cpp keeps them on disk.
#include "platform/registry.h"

#include <algorithm>
#include <mutex>

#include "hive_file.h"
#include "platform/text.h"
#include "registry_tree.h"

namespace plat {
namespace {

// ---- names -----------------------------------------------------------------

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
  });
}

}  // namespace

// ---- the tree ----------------------------------------------------------------

std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
  std::vector<std::string> names;
  if (path.empty()) return names;
  if (path.find('\0') != std::string_view::npos) return std::nullopt;
  size_t start = 0;
  while (true) {
    size_t end = path.find('\\', start);
    std::string_view name = path.substr(start, end == std::string_view::npos ? end : end - start);
    if (name.empty()) return std::nullopt;
    names.emplace_back(name);
    if (end == std::string_view::npos) return names;
    start = end + 1;
  }
}

std::string JoinKeyPath(std::string_view parent, std::string_view child) {
  if (parent.empty()) return std::string(child);
  std::string path(parent);
  path += '\\';
  path += child;
  return path;
}

KeyNode* KeyNode::FindSubkey(std::string_view child) {
  auto it = LowerBound(child);
  return (it != subkeys.end() && IEquals(it->name, child)) ? &*it : nullptr;
}

KeyNode& KeyNode::SubkeyOrNew(std::string_view child) {
  auto it = LowerBound(child);
  if (it != subkeys.end() && IEquals(it->name, child)) return *it;
  KeyNode node;
  node.name = std::string(child);
  return *subkeys.insert(it, std::move(node));
}

bool KeyNode::EraseSubkey(std::string_view child) {
  auto it = LowerBound(child);
  if (it == subkeys.end() || !IEquals(it->name, child)) return false;
  subkeys.erase(it);
  return true;
}

const RegValue* KeyNode::FindValue(std::string_view value_name) const {
  for (const auto& [n, v] : values)
    if (IEquals(n, value_name)) return &v;
  return nullptr;
}

void KeyNode::SetValue(std::string_view value_name, const RegValue& value) {
  for (auto& [n, v] : values) {
    if (IEquals(n, value_name)) {
      v = value;
      return;
    }
  }
  values.emplace_back(std::string(value_name), value);
}

bool KeyNode::EraseValue(std::string_view value_name) {
  auto it = std::find_if(values.begin(), values.end(),
                         [&](const auto& nv) { return IEquals(nv.first, value_name); });
  if (it == values.end()) return false;
  values.erase(it);
  return true;
}

std::vector<KeyNode>::iterator KeyNode::LowerBound(std::string_view child) {
  return std::lower_bound(subkeys.begin(), subkeys.end(), child,
                          [](const KeyNode& n, std::string_view c) { return LessNoCase(n.name, c); });
}

namespace {

const char* HiveName(Hive hive) {
  return hive == Hive::CurrentUser ? "current-user" : "local-machine";
}

RegStatus Fail(RegistryStatus status, std::string message) { return {status, std::move(message)}; }

RegStatus BadPath(std::string_view path) {
  return Fail(RegistryStatus::kInvalidArgument,
              "malformed key path \"" + std::string(path) + "\" (empty name or NUL)");
}

RegStatus KeyNotFound(Hive hive, std::string_view path) {
  return Fail(RegistryStatus::kNotFound,
              "key \"" + std::string(path) + "\" not found in the " + HiveName(hive) + " hive");
}

KeyNode* FindKey(KeyNode& root, const std::vector<std::string>& names) {
  KeyNode* node = &root;
  for (const auto& name : names) {
    node = node->FindSubkey(name);
    if (!node) return nullptr;
  }
  return node;
}

// ---- process-wide state ----------------------------------------------------------

struct HiveState {
  KeyNode root;
  std::filesystem::path file;  // empty: memory only
  RegistryStatus load_status = RegistryStatus::kOk;
  std::string load_error;
};

HiveState LoadHive(const std::filesystem::path& file) {
  HiveState hive;
  hive.file = file;
  if (RegStatus loaded = ReadHiveFile(file, hive.root); !loaded) {
    hive.load_status = loaded.status;
    hive.load_error = std::move(loaded.message);
  }
  return hive;
}

struct RegistryState {
  std::mutex mutex;
  HiveState hives[2];
};

RegistryState& State() {
  static RegistryState state;
  return state;
}

bool ValidHive(Hive hive) { return hive == Hive::CurrentUser || hive == Hive::LocalMachine; }

HiveState& HiveOf(RegistryState& state, Hive hive) {
  return state.hives[hive == Hive::CurrentUser ? 0 : 1];
}

RegStatus BadHive() { return Fail(RegistryStatus::kInvalidArgument, "unknown hive"); }

// Applies `change` to the hive. With a file, the change is made on a copy,
// written out, and kept only when the write succeeded, so a failed write
// leaves memory and disk as they were. `change` must itself change nothing
// when it fails.
template <class Change>
RegStatus Mutate(Hive hive, Change&& change) {
  if (!ValidHive(hive)) return BadHive();
  RegistryState& state = State();
  std::lock_guard lock(state.mutex);
  HiveState& h = HiveOf(state, hive);
  if (h.load_status != RegistryStatus::kOk)
    return Fail(RegistryStatus::kCorruptHive,
                std::string("the ") + HiveName(hive) + " hive did not load and is read-only (" +
                    h.load_error + ")");
  if (h.file.empty()) return change(h.root);
  KeyNode copy = h.root;
  if (RegStatus s = change(copy); !s) return s;
  if (RegStatus s = WriteHiveFile(h.file, copy); !s) return s;
  h.root = std::move(copy);
  return {};
}

// Runs `read` on the key at `path`, or returns `missing` when there is none.
template <class T, class Read>
T ReadKey(Hive hive, const std::string& path, T missing, Read&& read) {
  if (!ValidHive(hive)) return missing;
  auto names = SplitKeyPath(path);
  if (!names) return missing;
  RegistryState& state = State();
  std::lock_guard lock(state.mutex);
  KeyNode* node = FindKey(HiveOf(state, hive).root, *names);
  return node ? read(*node) : missing;
}

RegStatus NotOpen() { return Fail(RegistryStatus::kInvalidArgument, "the key is not open"); }

}  // namespace

// ---- RegKey ------------------------------------------------------------------------

RegKey::RegKey(RegKey&& other) noexcept
    : hive_(other.hive_), path_(std::move(other.path_)), open_(std::exchange(other.open_, false)) {
  other.path_.clear();
}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    hive_ = other.hive_;
    path_ = std::move(other.path_);
    open_ = std::exchange(other.open_, false);
    other.path_.clear();
  }
  return *this;
}

RegResult<RegKey> RegKey::Open(Hive hive, std::string_view path) {
  if (!ValidHive(hive)) return BadHive();
  if (!SplitKeyPath(path)) return BadPath(path);
  std::string p(path);
  bool found = ReadKey(hive, p, false, [](KeyNode&) { return true; });
  if (!found) return KeyNotFound(hive, path);
  return RegKey(hive, std::move(p));
}

RegResult<RegKey> RegKey::Create(Hive hive, std::string_view path) {
  auto names = SplitKeyPath(path);
  if (!names) return BadPath(path);
  RegStatus s = Mutate(hive, [&](KeyNode& root) {
    KeyNode* node = &root;
    for (const auto& name : *names) node = &node->SubkeyOrNew(name);
    return RegStatus{};
  });
  if (!s) return s;
  return RegKey(hive, std::string(path));
}

RegResult<RegKey> RegKey::OpenSubkey(std::string_view relative_path) const {
  if (!open_) return NotOpen();
  if (relative_path.empty()) return Open(hive_, path_);
  return Open(hive_, JoinKeyPath(path_, relative_path));
}

RegResult<RegKey> RegKey::CreateSubkey(std::string_view relative_path) const {
  if (!open_) return NotOpen();
  if (relative_path.empty()) return Create(hive_, path_);
  return Create(hive_, JoinKeyPath(path_, relative_path));
}

std::optional<RegValue> RegKey::QueryValue(std::string_view name) const {
  if (!open_) return std::nullopt;
  return ReadKey(hive_, path_, std::optional<RegValue>(),
                 [&](KeyNode& node) -> std::optional<RegValue> {
                   const RegValue* v = node.FindValue(name);
                   return v ? std::optional<RegValue>(*v) : std::nullopt;
                 });
}

std::optional<std::uint32_t> RegKey::QueryDword(std::string_view name) const {
  auto v = QueryValue(name);
  if (!v || v->type != kRegDword || v->bytes.size() != 4) return std::nullopt;
  return static_cast<std::uint32_t>(v->bytes[0]) | (static_cast<std::uint32_t>(v->bytes[1]) << 8) |
         (static_cast<std::uint32_t>(v->bytes[2]) << 16) |
         (static_cast<std::uint32_t>(v->bytes[3]) << 24);
}

std::optional<std::string> RegKey::QueryString(std::string_view name) const {
  auto v = QueryValue(name);
  if (!v || v->type != kRegString) return std::nullopt;
  auto end = std::find(v->bytes.begin(), v->bytes.end(), 0);
  return std::string(v->bytes.begin(), end);
}

RegStatus RegKey::SetValue(std::string_view name, const RegValue& value) {
  if (!open_) return NotOpen();
  if (value.type == kRegDword && value.bytes.size() != 4)
    return Fail(RegistryStatus::kInvalidArgument,
                "a dword value needs 4 bytes, not " + std::to_string(value.bytes.size()));
  auto names = SplitKeyPath(path_);
  if (!names) return BadPath(path_);
  return Mutate(hive_, [&](KeyNode& root) {
    KeyNode* node = FindKey(root, *names);
    if (!node) return KeyNotFound(hive_, path_);
    node->SetValue(name, value);
    return RegStatus{};
  });
}

RegStatus RegKey::SetDword(std::string_view name, std::uint32_t value) {
  RegValue v{kRegDword, {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                         static_cast<std::uint8_t>(value >> 16),
                         static_cast<std::uint8_t>(value >> 24)}};
  return SetValue(name, v);
}

RegStatus RegKey::SetString(std::string_view name, std::string_view text) {
  RegValue v{kRegString, std::vector<std::uint8_t>(text.begin(), text.end())};
  v.bytes.push_back(0);
  return SetValue(name, v);
}

RegStatus RegKey::SetBinary(std::string_view name, const std::vector<std::uint8_t>& bytes) {
  return SetValue(name, RegValue{kRegBinary, bytes});
}

RegStatus RegKey::DeleteValue(std::string_view name) {
  if (!open_) return NotOpen();
  auto names = SplitKeyPath(path_);
  if (!names) return BadPath(path_);
  return Mutate(hive_, [&](KeyNode& root) {
    KeyNode* node = FindKey(root, *names);
    if (!node) return KeyNotFound(hive_, path_);
    if (!node->EraseValue(name))
      return Fail(RegistryStatus::kNotFound,
                  "value \"" + std::string(name) + "\" not found in key \"" + path_ + "\"");
    return RegStatus{};
  });
}

std::vector<std::string> RegKey::EnumSubkeys() const {
  if (!open_) return {};
  return ReadKey(hive_, path_, std::vector<std::string>(), [](KeyNode& node) {
    std::vector<std::string> names;
    for (const auto& child : node.subkeys) names.push_back(child.name);
    return names;
  });
}

std::vector<std::string> RegKey::EnumValues() const {
  if (!open_) return {};
  return ReadKey(hive_, path_, std::vector<std::string>(), [](KeyNode& node) {
    std::vector<std::string> names;
    for (const auto& nv : node.values) names.push_back(nv.first);
    return names;
  });
}

// ---- deleting keys --------------------------------------------------------------------

namespace {

RegStatus DeleteKeyImpl(Hive hive, std::string_view path, bool recursive) {
  auto names = SplitKeyPath(path);
  if (!names) return BadPath(path);
  if (names->empty()) return Fail(RegistryStatus::kInvalidArgument, "cannot delete a hive's root");
  std::string leaf = names->back();
  names->pop_back();
  return Mutate(hive, [&](KeyNode& root) {
    KeyNode* parent = FindKey(root, *names);
    KeyNode* node = parent ? parent->FindSubkey(leaf) : nullptr;
    if (!node) return KeyNotFound(hive, path);
    if (!recursive && !node->subkeys.empty())
      return Fail(RegistryStatus::kHasSubkeys,
                  "key \"" + std::string(path) + "\" has subkeys and was not deleted");
    parent->EraseSubkey(leaf);
    return RegStatus{};
  });
}

}  // namespace

RegStatus DeleteKey(Hive hive, std::string_view path) { return DeleteKeyImpl(hive, path, false); }

RegStatus DeleteKeyTree(Hive hive, std::string_view path) { return DeleteKeyImpl(hive, path, true); }

// ---- storage --------------------------------------------------------------------------

void Registry::UseMemory() {
  RegistryState& state = State();
  std::lock_guard lock(state.mutex);
  for (auto& hive : state.hives) hive = HiveState();
}

RegStatus Registry::UseDirectory(const std::filesystem::path& directory) {
  if (directory.empty())
    return Fail(RegistryStatus::kInvalidArgument, "no configuration directory given");
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::absolute(directory, ec);
  if (ec) return Fail(RegistryStatus::kIoError, "cannot resolve " + directory.string() + ": " + ec.message());
  if (std::filesystem::exists(dir, ec) && !std::filesystem::is_directory(dir, ec))
    return Fail(RegistryStatus::kIoError, dir.string() + " is not a directory");

  HiveState user = LoadHive(dir / "user.reg");
  HiveState machine = LoadHive(dir / "machine.reg");
  RegStatus result;
  for (const HiveState* h : {&user, &machine}) {
    if (h->load_status == RegistryStatus::kOk) continue;
    if (result.ok()) result.status = h->load_status;
    if (!result.message.empty()) result.message += '\n';
    result.message += h->load_error;
  }
  RegistryState& state = State();
  std::lock_guard lock(state.mutex);
  state.hives[0] = std::move(user);
  state.hives[1] = std::move(machine);
  return result;
}

std::string Registry::LoadError() {
  RegistryState& state = State();
  std::lock_guard lock(state.mutex);
  std::string text;
  for (const auto& hive : state.hives) {
    if (hive.load_error.empty()) continue;
    if (!text.empty()) text += '\n';
    text += hive.load_error;
  }
  return text;
}

std::filesystem::path Registry::HiveFile(Hive hive) {
  if (!ValidHive(hive)) return {};
  RegistryState& state = State();
  std::lock_guard lock(state.mutex);
  return HiveOf(state, hive).file;
}

const char* ToString(RegistryStatus status) {
  switch (status) {
    case RegistryStatus::kOk: return "ok";
    case RegistryStatus::kNotFound: return "not found";
    case RegistryStatus::kInvalidArgument: return "invalid argument";
    case RegistryStatus::kHasSubkeys: return "key has subkeys";
    case RegistryStatus::kIoError: return "i/o error";
    case RegistryStatus::kCorruptHive: return "corrupt hive";
  }
  return "unknown status";
}

}  // namespace plat
