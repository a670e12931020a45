// Command lines: any text splits; a quoted argument splits back into itself,
// and a joined command line splits back into its words. The input's words
// are separated by NUL bytes.
#include <string>
#include <vector>

#include "fuzz_target.h"
#include "platform/process.h"

RV_FUZZ_TARGET(cmdline, input) {
  plat::SplitCommandLine(input);
  plat::SplitArguments(input);
  std::vector<std::string> words;
  std::size_t start = 0;
  for (std::size_t end; (end = input.find('\0', start)) != std::string_view::npos; start = end + 1)
    words.emplace_back(input.substr(start, end - start));
  words.emplace_back(input.substr(start));
  for (const std::string& word : words) {
    const std::vector<std::string> back = plat::SplitArguments(plat::QuoteArgument(word));
    RV_FUZZ_CHECK(back.size() == 1 && back[0] == word);
  }
  if (const auto line = plat::JoinCommandLine(words)) RV_FUZZ_CHECK(plat::SplitCommandLine(*line) == words);
}
