// Command-line splitting and quoting with the desktop C runtime's rules, so a
// command line the library builds means the same words here as there.
#include "platform/process.h"

namespace plat {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitArguments(std::string_view s) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;  // an empty "" still makes a word
  bool quoted = false;
  size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (IsBlank(c) && !quoted) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      ++i;
      continue;
    }
    in_word = true;
    if (c == '\\') {
      size_t end = s.find_first_not_of('\\', i);
      if (end == std::string_view::npos) end = s.size();
      size_t count = end - i;
      if (end < s.size() && s[end] == '"') {
        word.append(count / 2, '\\');
        if (count % 2 == 1) {
          word += '"';
          ++end;  // the escaped quote is used up
        }
      } else {
        word.append(count, '\\');
      }
      i = end;
      continue;
    }
    if (c == '"') {
      if (quoted && i + 1 < s.size() && s[i + 1] == '"') {
        word += '"';
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
      continue;
    }
    word += c;
    ++i;
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

std::vector<std::string> SplitCommandLine(std::string_view s) {
  if (s.empty()) return {};
  std::string program;
  size_t rest = 0;
  if (s.front() == '"') {
    // A quoted program name ends at the next quote, whatever follows it.
    size_t close = s.find('"', 1);
    program = std::string(s.substr(1, close == std::string_view::npos ? close : close - 1));
    rest = close == std::string_view::npos ? s.size() : close + 1;
  } else {
    size_t blank = s.find_first_of(" \t");
    program = std::string(s.substr(0, blank));
    rest = blank == std::string_view::npos ? s.size() : blank;
  }
  std::vector<std::string> words{std::move(program)};
  for (auto& word : SplitArguments(s.substr(rest))) words.push_back(std::move(word));
  return words;
}

std::string QuoteArgument(std::string_view arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos) return std::string(arg);
  std::string out = "\"";
  size_t i = 0;
  while (true) {
    size_t end = arg.find_first_not_of('\\', i);
    size_t count = (end == std::string_view::npos ? arg.size() : end) - i;
    if (end == std::string_view::npos) {
      // Backslashes before the closing quote must not escape it.
      out.append(count * 2, '\\');
      break;
    }
    if (arg[end] == '"') {
      out.append(count * 2 + 1, '\\');
    } else {
      out.append(count, '\\');
    }
    out += arg[end];
    i = end + 1;
  }
  out += '"';
  return out;
}

std::optional<std::string> JoinCommandLine(const std::vector<std::string>& argv) {
  if (argv.empty()) return std::string();
  const std::string& program = argv.front();
  bool has_blank = program.find_first_of(" \t") != std::string::npos;
  bool has_quote = program.find('"') != std::string::npos;
  std::string line;
  if (!program.empty() && !has_blank && program.front() != '"') {
    line = program;  // the name is taken literally up to the first blank
  } else if (!has_quote) {
    line = "\"" + program + "\"";  // no backslash processing inside
  } else {
    return std::nullopt;
  }
  for (size_t i = 1; i < argv.size(); ++i) {
    line += ' ';
    line += QuoteArgument(argv[i]);
  }
  return line;
}

}  // namespace plat
