#pragma once
// The words of a VOB mount option text ("ro,timeo=10,poolmap=..."), read one
// way by the object model's option record and by the mount engine: words are
// separated by ",", blanks around a word are ignored, and a word is KEYWORD
// or KEYWORD=VALUE. One table names every keyword and what it takes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum mntopt_kind_t {
  MNTOPT_FLAG,    // no value ("ro")
  MNTOPT_NUMBER,  // an unsigned 32-bit decimal number ("timeo=10")
  MNTOPT_TEXT,    // a text that is not empty ("poolmap=...")
};

struct mntopt_keyword_t {
  const char* name;
  mntopt_kind_t kind;
  bool kept_with_tag;  // part of a VOB tag's registered options, else given at mount time only
};

// Every keyword, in one table; nullptr for an unknown keyword.
const mntopt_keyword_t* mntopt_find(std::string_view keyword);

// One word of an option text.
struct mntopt_word_t {
  std::string text;                         // as written, without the blanks around it
  std::string keyword;                      // before the first "="
  std::optional<std::string> value;         // after it, when there is a "="
  const mntopt_keyword_t* known = nullptr;  // nullptr: not a keyword of the table
  std::optional<std::uint32_t> number;      // the value as a number, when it is one

  // A known keyword in its own shape: a flag without a value, a number whose
  // value is a decimal number of 32 bits, a text with a value.
  bool well_formed() const;
};

// The words in order; empty words (",," or blanks only) are skipped.
std::vector<mntopt_word_t> mntopt_split(std::string_view text);
