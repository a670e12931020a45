// Config specs: parsing and pattern matching.
#include "configspec.h"

#include <cctype>

#include "platform/text.h"
#include "tbs.h"

namespace {

struct Word {
  std::string text;
  int column = 0;  // from 1
};

// Splits a line into words by blanks and tabs; "#" starts a comment.
// Double quotes group a word with blanks ("\"" is not special inside).
bool SplitWords(const std::string& line, std::vector<Word>* words, int* bad_column) {
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    Word word;
    word.column = static_cast<int>(i) + 1;
    if (c == '"') {
      const std::size_t end = line.find('"', i + 1);
      if (end == std::string::npos) {
        *bad_column = word.column;
        return false;
      }
      word.text = line.substr(i + 1, end - i - 1);
      i = end + 1;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#')
        word.text += line[i++];
    }
    words->push_back(word);
  }
  return true;
}

// A type's name (a branch or label): letters, digits, '_', '-', '.', not
// starting with a digit.
bool ValidName(const std::string& name) {
  if (name.empty() || name.size() > 255 || plat::IsDecimalDigit(name[0])) return false;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (!(std::isalnum(c) || c == '_' || c == '-' || c == '.') || c >= 0x80) return false;
  }
  return true;
}

// "\main", "\main\dev": a branch path of names.
bool BranchPath(const std::string& text) {
  if (text.size() < 2 || text[0] != '\\') return false;
  std::size_t start = 1;
  while (start <= text.size()) {
    std::size_t end = text.find('\\', start);
    if (end == std::string::npos) end = text.size();
    if (!ValidName(text.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

bool Digits(const std::string& text) { return plat::ParseDecimal(text, 999'999'999).has_value(); }

bool Selector(const std::string& text, configspec_rule_t* rule) {
  if (text == "CHECKEDOUT") {
    rule->kind = configspec_rule_t::kCheckedOut;
    return true;
  }
  if (!text.empty() && text[0] == '\\') {
    const std::size_t last = text.rfind('\\');
    if (last == 0) return false;
    const std::string branch = text.substr(0, last), leaf = text.substr(last + 1);
    if (!BranchPath(branch)) return false;
    if (leaf == "LATEST") {
      rule->kind = configspec_rule_t::kLatest;
      rule->branch = branch;
      return true;
    }
    if (Digits(leaf)) {
      rule->kind = configspec_rule_t::kVersion;
      rule->branch = text;
      return true;
    }
    return false;
  }
  if (!ValidName(text)) return false;
  rule->kind = configspec_rule_t::kLabel;
  rule->label = text;
  return true;
}

bool Pattern(const std::string& text) {
  if (text == "*") return true;
  if (text.size() < 2 || text[0] != '\\') return false;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == '@' || c == '/') return false;
  }
  return text.find("\\\\") == std::string::npos;
}

bool MatchNames(const std::vector<std::string>& pat, std::size_t p, const std::vector<std::string>& names,
                std::size_t n) {
  if (p == pat.size()) return n == names.size();
  if (pat[p] == "...") {
    for (std::size_t k = n; k <= names.size(); ++k)
      if (MatchNames(pat, p + 1, names, k)) return true;
    return false;
  }
  if (n == names.size()) return false;
  // "*" within one name.
  const std::string& w = pat[p];
  const std::string& s = names[n];
  std::size_t wi = 0, si = 0, star = std::string::npos, mark = 0;
  while (si < s.size()) {
    if (wi < w.size() && w[wi] == s[si]) {
      ++wi;
      ++si;
    } else if (wi < w.size() && w[wi] == '*') {
      star = wi++;
      mark = si;
    } else if (star != std::string::npos) {
      wi = star + 1;
      si = ++mark;
    } else {
      return false;
    }
  }
  while (wi < w.size() && w[wi] == '*') ++wi;
  return wi == w.size() && MatchNames(pat, p + 1, names, n + 1);
}

std::vector<std::string> Names(const std::string& path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

bool configspec_match(const std::string& pattern, const std::string& pathname) {
  if (pattern == "*") return true;
  return MatchNames(Names(pattern), 0, Names(pathname), 0);
}

int configspec_parse(const char* text, configspec_t* spec, std::string* error) {
  if (!text || !spec || !error) return TBS_ST_INVALID_ARG;
  spec->rules.clear();
  spec->load_rules.clear();
  error->clear();
  configspec_t next;
  const std::string all = text;
  int line_number = 0;
  std::size_t start = 0;
  auto fail = [&](int column, const std::string& why) {
    *error = "Syntax error on line " + std::to_string(line_number) + ", near column " + std::to_string(column) +
             ", " + why;
    return TBS_ST_INVALID_ARG;
  };
  while (start < all.size()) {
    std::size_t end = all.find('\n', start);
    if (end == std::string::npos) end = all.size();
    const std::string line = all.substr(start, end - start);
    start = end + 1;
    ++line_number;
    std::vector<Word> words;
    int bad = 0;
    if (!SplitWords(line, &words, &bad)) return fail(bad, "a quoted name is not closed");
    if (words.empty()) continue;
    const Word& keyword = words[0];
    if (keyword.text == "element") {
      if (words.size() < 2) return fail(static_cast<int>(line.size()) + 1, "a pattern is expected");
      if (!Pattern(words[1].text)) return fail(words[1].column, "bad element pattern \"" + words[1].text + "\"");
      if (words.size() < 3) return fail(static_cast<int>(line.size()) + 1, "a version selector is expected");
      configspec_rule_t rule;
      rule.pattern = words[1].text;
      rule.line = line_number;
      if (!Selector(words[2].text, &rule))
        return fail(words[2].column, "bad version selector \"" + words[2].text + "\"");
      if (words.size() > 3) return fail(words[3].column, "unexpected \"" + words[3].text + "\"");
      next.rules.push_back(rule);
    } else if (keyword.text == "load") {
      if (words.size() < 2) return fail(static_cast<int>(line.size()) + 1, "a pathname is expected");
      if (!Pattern(words[1].text) || words[1].text == "*" || words[1].text.find('*') != std::string::npos)
        return fail(words[1].column, "bad load pathname \"" + words[1].text + "\"");
      if (words.size() > 2) return fail(words[2].column, "unexpected \"" + words[2].text + "\"");
      next.load_rules.push_back(words[1].text);
    } else {
      return fail(keyword.column, "unknown rule \"" + keyword.text + "\"");
    }
  }
  *spec = std::move(next);
  return TBS_ST_OK;
}
