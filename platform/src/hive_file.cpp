// The hive files (user.reg, machine.reg) that keep the registry on disk.
//
// Format, UTF-8 text, one record a line:
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
#include "hive_file.h"

#include "platform/text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace plat {
namespace {

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
    for (std::size_t i = 4; i-- > 0;) {
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
    const size_t digits = ReadDecimal(line_.substr(pos_), &n, UINT32_MAX, 10);
    if (digits == 0) return Fail("bad type number");
    pos_ += digits;
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

RegStatus IoError(std::string message) { return {RegistryStatus::kIoError, std::move(message)}; }

std::string ErrnoText(int err) { return std::strerror(err); }

// Writes the text through a temporary file beside the target, flushed to disk
// and renamed over it.
RegStatus ReplaceFile(const std::filesystem::path& file, const std::string& content) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (ec)
    return IoError(
                "cannot create " + file.parent_path().string() + ": " + ec.message());
  std::string tmp = file.string() + ".tmp-XXXXXX";
  int fd = mkostemp(tmp.data(), O_CLOEXEC);
  if (fd < 0) return IoError( "cannot write " + tmp + ": " + ErrnoText(errno));
  auto fail = [&](const char* what) {
    int err = errno;
    if (fd >= 0) close(fd);
    unlink(tmp.c_str());
    return IoError(
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

}  // namespace

RegStatus ReadHiveFile(const std::filesystem::path& file, KeyNode& root) {
  std::optional<std::string> text = ReadWholeFile(file);
  if (!text) {
    if (errno == ENOENT) return {};  // no file yet: an empty hive
    return IoError("cannot read " + file.string() + ": " + ErrnoText(errno));
  }
  KeyNode parsed;
  if (auto failure = ParseHive(*text, parsed))
    return {RegistryStatus::kCorruptHive, file.string() + ":" + std::to_string(failure->line) + ": " + failure->problem};
  root = std::move(parsed);
  return {};
}

RegStatus WriteHiveFile(const std::filesystem::path& file, const KeyNode& root) {
  return ReplaceFile(file, SerializeHive(root));
}

}  // namespace plat
