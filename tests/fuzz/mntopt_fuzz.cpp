// Mount option texts: every word keeps its text, its keyword is what comes
// before the first "=", and a number is only read from a decimal value.
#include <string>

#include "fuzz_target.h"
#include "mntopt.h"

RV_FUZZ_TARGET(mntopt, input) {
  for (const mntopt_word_t& word : mntopt_split(input)) {
    RV_FUZZ_CHECK(!word.text.empty());
    RV_FUZZ_CHECK(input.find(word.text) != std::string_view::npos);
    RV_FUZZ_CHECK(word.text.rfind(word.keyword, 0) == 0);
    RV_FUZZ_CHECK(word.value.has_value() == (word.text.find('=') != std::string::npos));
    if (word.number) RV_FUZZ_CHECK(word.value && std::to_string(*word.number).size() <= word.value->size());
    word.well_formed();
  }
}
