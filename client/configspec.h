#pragma once
// Config specs: the rules of a view (see docs/configspecs.md).
//
//   element PATTERN SELECTOR     which version an element shows
//   load PATHNAME                what a snapshot view loads
//
// Rules are tried in order; the first element rule whose pattern matches
// and whose selector finds a version chooses it. An element no rule
// chooses is not shown.
#include <string>
#include <vector>

struct configspec_rule_t {
  enum Kind { kCheckedOut, kLatest, kLabel, kVersion };
  std::string pattern;   // "*" or a VOB pathname with "*" and "..." wildcards
  Kind kind = kLatest;
  std::string branch;    // kLatest: the branch path ("\main\dev"); kVersion: "\main\3"
  std::string label;     // kLabel
  int line = 0;
};

struct configspec_t {
  std::vector<configspec_rule_t> rules;
  std::vector<std::string> load_rules;
};

// Parses a config spec. 0; TBS_ST_INVALID_ARG for a null argument or a text that does not
// parse: *error then reads "Syntax error on line L, near column C, ..."
// (lines and columns from 1) and *spec is left empty.
int configspec_parse(const char* text, configspec_t* spec, std::string* error);

// Whether an element's VOB pathname ("\vob\src\f.c") matches a pattern:
// "*" alone matches every element; otherwise "*" matches within one name
// and "..." any number of names. Names compare exactly.
bool configspec_match(const std::string& pattern, const std::string& pathname);

// The config spec of a new view.
inline constexpr const char* CONFIGSPEC_DEFAULT = "element * CHECKEDOUT\nelement * \\main\\LATEST\n";
