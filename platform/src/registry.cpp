// The registry's keys and values, and the hive files they are kept in.
//
// Hive file format (user.reg, machine.reg), UTF-8 text, one record a line:
//
//   rvreg 1                                  first line, always
//   # a comment                              ignored, as are blank lines
//   key "Software\\Norvane\\Strata"          starts a key; "" is the root
//   value "Count" dword:0x0000002a           a 4-byte kRegDword
//   value "" str:"default text"              a kRegString (NUL added on load)
//   value "Blob" hex:3:00ff10                any type and bytes (may be none)
//
// Names and text are quoted; inside quotes \\ \" \n \r \t and \xHH are the
// escapes, and every other byte below 0x20 must be escaped. The writer also
// escapes bytes that are not well-formed UTF-8, so the file stays readable
// text while any bytes round-trip. Values follow the key they belong to; a
// key line names its full path and implies its parents. Every key is listed
// (empty ones too), parents before children.
#include "platform/registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace plat {
namespace {

// ---- names -----------------------------------------------------------------

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
  });
}

// Splits a key path into its names; nullopt when a name is empty (a leading,
// trailing or doubled backslash) or holds a NUL. The empty path is the root.
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

// ---- the tree ----------------------------------------------------------------

// A key: its values in the order first set, its subkeys sorted by name
// without regard to case. A plain value type, so a hive copies in one line.
struct KeyNode {
  std::string name;
  std::vector<std::pair<std::string, RegValue>> values;
  std::vector<KeyNode> subkeys;

  KeyNode* FindSubkey(std::string_view child) {
    auto it = LowerBound(child);
    return (it != subkeys.end() && EqualNoCase(it->name, child)) ? &*it : nullptr;
  }
  KeyNode& SubkeyOrNew(std::string_view child) {
    auto it = LowerBound(child);
    if (it != subkeys.end() && EqualNoCase(it->name, child)) return *it;
    KeyNode node;
    node.name = std::string(child);
    return *subkeys.insert(it, std::move(node));
  }
  bool EraseSubkey(std::string_view child) {
    auto it = LowerBound(child);
    if (it == subkeys.end() || !EqualNoCase(it->name, child)) return false;
    subkeys.erase(it);
    return true;
  }
  const RegValue* FindValue(std::string_view value_name) const {
    for (const auto& [n, v] : values)
      if (EqualNoCase(n, value_name)) return &v;
    return nullptr;
  }
  void SetValue(std::string_view value_name, const RegValue& value) {
    for (auto& [n, v] : values) {
      if (EqualNoCase(n, value_name)) {
        v = value;
        return;
      }
    }
    values.emplace_back(std::string(value_name), value);
  }
  bool EraseValue(std::string_view value_name) {
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const auto& nv) { return EqualNoCase(nv.first, value_name); });
    if (it == values.end()) return false;
    values.erase(it);
    return true;
  }

 private:
  std::vector<KeyNode>::iterator LowerBound(std::string_view child) {
    return std::lower_bound(subkeys.begin(), subkeys.end(), child,
                            [](const KeyNode& n, std::string_view c) { return LessNoCase(n.name, c); });
  }
};

KeyNode* FindKey(KeyNode& root, const std::vector<std::string>& names) {
  KeyNode* node = &root;
  for (const auto& name : names) {
    node = node->FindSubkey(name);
    if (!node) return nullptr;
  }
  return node;
}

// ---- the file format -----------------------------------------------------------

constexpr std::string_view kHeader = "rvreg 1";
constexpr char kHexDigits[] = "0123456789abcdef";

// Length of the well-formed UTF-8 sequence starting at s[i], 0 when there is none.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char lead = byte(i);
  size_t len = 0;
  unsigned min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  unsigned code = lead & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return len;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      if (size_t len = Utf8SequenceLength(text, i)) {
        out.append(text.substr(i, len));
        i += len;
        continue;
      }
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          out += "\\x";
          out += kHexDigits[c >> 4];
          out += kHexDigits[c & 0xF];
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
}

bool IsPlainString(const RegValue& v) {
  return v.type == kRegString && !v.bytes.empty() && v.bytes.back() == 0 &&
         std::find(v.bytes.begin(), v.bytes.end() - 1, 0) == v.bytes.end() - 1;
}

void AppendValueLine(std::string& out, const std::string& name, const RegValue& v) {
  out += "value ";
  AppendQuoted(out, name);
  if (IsPlainString(v)) {
    out += " str:";
    AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(v.bytes.data()),
                                       v.bytes.size() - 1));
  } else if (v.type == kRegDword && v.bytes.size() == 4) {
    out += " dword:0x";
    for (int i = 3; i >= 0; --i) {
      out += kHexDigits[v.bytes[i] >> 4];
      out += kHexDigits[v.bytes[i] & 0xF];
    }
  } else {
    out += " hex:" + std::to_string(v.type) + ":";
    for (std::uint8_t b : v.bytes) {
      out += kHexDigits[b >> 4];
      out += kHexDigits[b & 0xF];
    }
  }
  out += '\n';
}

void AppendKey(std::string& out, const KeyNode& node, const std::string& path, bool is_root) {
  if (!is_root || !node.values.empty()) {
    out += "key ";
    AppendQuoted(out, path);
    out += '\n';
  }
  for (const auto& [name, value] : node.values) AppendValueLine(out, name, value);
  for (const auto& child : node.subkeys)
    AppendKey(out, child, JoinKeyPath(path, child.name), false);
}

std::string SerializeHive(const KeyNode& root) {
  std::string out(kHeader);
  out += '\n';
  AppendKey(out, root, "", true);
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads one line of a hive file; every method reports failure by filling error.
class LineParser {
 public:
  explicit LineParser(std::string_view line) : line_(line) {}

  bool Done() const { return pos_ == line_.size(); }
  const std::string& Error() const { return error_; }

  bool Expect(std::string_view word) {
    if (line_.substr(pos_, word.size()) != word) return Fail("expected \"" + std::string(word) + "\"");
    pos_ += word.size();
    return true;
  }

  bool Quoted(std::string& out) {
    if (!Expect("\"")) return false;
    out.clear();
    while (pos_ < line_.size()) {
      char c = line_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return Fail("control character inside quotes");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ == line_.size()) break;
      char e = line_[pos_++];
      switch (e) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
          int hi = pos_ + 1 < line_.size() ? HexValue(line_[pos_]) : -1;
          int lo = hi >= 0 ? HexValue(line_[pos_ + 1]) : -1;
          if (lo < 0) return Fail("\\x needs two hex digits");
          out += static_cast<char>(hi * 16 + lo);
          pos_ += 2;
          break;
        }
        default: return Fail(std::string("unknown escape \\") + e);
      }
    }
    return Fail("unterminated quoted text");
  }

  // Hex digits up to the end of the line, two per byte.
  bool HexBytes(std::vector<std::uint8_t>& out, size_t max_digits) {
    std::string_view digits = line_.substr(pos_);
    if (digits.size() % 2 != 0 || digits.size() > max_digits) return Fail("bad number of hex digits");
    for (size_t i = 0; i < digits.size(); i += 2) {
      int hi = HexValue(digits[i]), lo = HexValue(digits[i + 1]);
      if (hi < 0 || lo < 0) return Fail("bad hex digit");
      out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    pos_ = line_.size();
    return true;
  }

  bool Decimal(std::uint32_t& out) {
    std::uint64_t n = 0;
    size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] >= '0' && line_[pos_] <= '9' && pos_ - start < 10)
      n = n * 10 + static_cast<std::uint64_t>(line_[pos_++] - '0');
    if (pos_ == start || n > 0xFFFFFFFFu) return Fail("bad type number");
    out = static_cast<std::uint32_t>(n);
    return true;
  }

  bool Value(RegValue& out) {
    if (line_.substr(pos_, 4) == "str:") {
      pos_ += 4;
      std::string text;
      if (!Quoted(text)) return false;
      out.type = kRegString;
      out.bytes.assign(text.begin(), text.end());
      out.bytes.push_back(0);
      return true;
    }
    if (line_.substr(pos_, 8) == "dword:0x") {
      pos_ += 8;
      std::vector<std::uint8_t> be;
      if (!HexBytes(be, 8) || be.size() != 4) return Fail("a dword needs 8 hex digits");
      out.type = kRegDword;
      out.bytes.assign(be.rbegin(), be.rend());
      return true;
    }
    if (line_.substr(pos_, 4) == "hex:") {
      pos_ += 4;
      out.bytes.clear();
      return Decimal(out.type) && Expect(":") && HexBytes(out.bytes, std::string_view::npos);
    }
    return Fail("unknown value kind (expected str:, dword: or hex:)");
  }

 private:
  bool Fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    return false;
  }

  std::string_view line_;
  size_t pos_ = 0;
  std::string error_;
};

// Parses a whole hive file; on failure returns the line number and problem.
struct ParseFailure {
  size_t line;
  std::string problem;
};

std::optional<ParseFailure> ParseHive(std::string_view text, KeyNode& root) {
  KeyNode* current = nullptr;
  size_t line_no = 0;
  bool seen_header = false;
  while (!text.empty()) {
    size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!seen_header) {
      if (line != kHeader) return ParseFailure{line_no, "not a hive file (expected \"rvreg 1\")"};
      seen_header = true;
      continue;
    }
    if (line.empty() || line.front() == '#') continue;
    LineParser p(line);
    if (line.substr(0, 4) == "key ") {
      std::string path;
      if (!p.Expect("key ") || !p.Quoted(path)) return ParseFailure{line_no, p.Error()};
      if (!p.Done()) return ParseFailure{line_no, "unexpected text after the key path"};
      auto names = SplitKeyPath(path);
      if (!names) return ParseFailure{line_no, "malformed key path"};
      current = &root;
      for (const auto& name : *names) current = &current->SubkeyOrNew(name);
    } else if (line.substr(0, 6) == "value ") {
      std::string name;
      RegValue value;
      if (!p.Expect("value ") || !p.Quoted(name) || !p.Expect(" ") || !p.Value(value))
        return ParseFailure{line_no, p.Error()};
      if (!p.Done()) return ParseFailure{line_no, "unexpected text after the value"};
      if (!current) return ParseFailure{line_no, "value before any key"};
      if (current->FindValue(name)) return ParseFailure{line_no, "value \"" + name + "\" set twice"};
      current->SetValue(name, value);
    } else {
      return ParseFailure{line_no, "unknown record (expected key or value)"};
    }
  }
  if (!seen_header) return ParseFailure{1, "empty file (expected \"rvreg 1\")"};
  return std::nullopt;
}

std::string ErrnoText(int err) { return std::strerror(err); }

// Writes a whole hive: a temporary file beside the target, flushed to disk and
// renamed over it, so the target is always either the old or the new hive.
RegStatus WriteHiveFile(const std::filesystem::path& file, const std::string& content) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (ec)
    return Fail(RegistryStatus::kIoError,
                "cannot create " + file.parent_path().string() + ": " + ec.message());
  std::string tmp = file.string() + ".tmp-XXXXXX";
  int fd = mkostemp(tmp.data(), O_CLOEXEC);
  if (fd < 0) return Fail(RegistryStatus::kIoError, "cannot write " + tmp + ": " + ErrnoText(errno));
  auto fail = [&](const char* what) {
    int err = errno;
    if (fd >= 0) close(fd);
    unlink(tmp.c_str());
    return Fail(RegistryStatus::kIoError,
                std::string("cannot ") + what + " " + file.string() + ": " + ErrnoText(err));
  };
  fchmod(fd, 0644);
  for (size_t done = 0; done < content.size();) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail("write");
    done += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0) return fail("flush");
  int closed = close(fd);
  fd = -1;
  if (closed != 0) return fail("close");
  if (rename(tmp.c_str(), file.c_str()) != 0) return fail("replace");
  // Make the rename itself durable.
  int dir = open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return {};
}

// ---- process-wide state ----------------------------------------------------------

struct HiveState {
  KeyNode root;
  std::filesystem::path file;  // empty: memory only
  RegistryStatus load_status = RegistryStatus::kOk;
  std::string load_error;
};

// Reads a whole file; nullopt with errno set when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[16384];
  while (true) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int err = errno;
      close(fd);
      errno = err;
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return text;
}

HiveState LoadHive(const std::filesystem::path& file) {
  HiveState hive;
  hive.file = file;
  std::optional<std::string> text = ReadWholeFile(file);
  if (!text) {
    if (errno == ENOENT) return hive;  // no file yet: an empty hive
    hive.load_status = RegistryStatus::kIoError;
    hive.load_error = "cannot read " + file.string() + ": " + ErrnoText(errno);
    return hive;
  }
  if (auto failure = ParseHive(*text, hive.root)) {
    hive.root = KeyNode();
    hive.load_status = RegistryStatus::kCorruptHive;
    hive.load_error = file.string() + ":" + std::to_string(failure->line) + ": " + failure->problem;
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
  if (RegStatus s = WriteHiveFile(h.file, SerializeHive(copy)); !s) return s;
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
