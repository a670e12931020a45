// The mount option keywords (a pure helper: not a logged call).
#include "mntopt.h"

#include "platform/text.h"

namespace {

constexpr mntopt_keyword_t kKeywords[] = {
    {"auto", MNTOPT_FLAG, true},        {"noauto", MNTOPT_FLAG, true},    {"rw", MNTOPT_FLAG, true},
    {"ro", MNTOPT_FLAG, true},          {"hard", MNTOPT_FLAG, true},      {"soft", MNTOPT_FLAG, true},
    {"nointr", MNTOPT_FLAG, true},      {"intr", MNTOPT_FLAG, true},      {"dnlc", MNTOPT_FLAG, true},
    {"nodnlc", MNTOPT_FLAG, true},      {"suid", MNTOPT_FLAG, true},      {"nosuid", MNTOPT_FLAG, true},
    {"noac", MNTOPT_FLAG, true},        {"public", MNTOPT_FLAG, true},    {"private", MNTOPT_FLAG, true},
    {"timeo", MNTOPT_NUMBER, true},     {"retrans", MNTOPT_NUMBER, true}, {"acdirmin", MNTOPT_NUMBER, true},
    {"acdirmax", MNTOPT_NUMBER, true},  {"acregmin", MNTOPT_NUMBER, true}, {"acregmax", MNTOPT_NUMBER, true},
    {"actimeo", MNTOPT_NUMBER, true},   {"exportid", MNTOPT_NUMBER, true}, {"poolmap", MNTOPT_TEXT, true},
    {"uuid", MNTOPT_TEXT, false},       {"xnsuffix", MNTOPT_TEXT, false}, {"no_rgy_pools", MNTOPT_FLAG, false},
    {"viewroot", MNTOPT_FLAG, false},   {"rviewroot", MNTOPT_FLAG, false},
};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

const mntopt_keyword_t* mntopt_find(std::string_view keyword) {
  for (const mntopt_keyword_t& k : kKeywords)
    if (keyword == k.name) return &k;
  return nullptr;
}

bool mntopt_word_t::well_formed() const {
  if (!known) return false;
  switch (known->kind) {
    case MNTOPT_FLAG: return !value;
    case MNTOPT_NUMBER: return number.has_value();
    case MNTOPT_TEXT: return value && !value->empty();
  }
  return false;
}

std::vector<mntopt_word_t> mntopt_split(std::string_view text) {
  std::vector<mntopt_word_t> words;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view word = Trimmed(text.substr(0, comma));
    if (!word.empty()) {
      mntopt_word_t w;
      w.text = word;
      const std::size_t equals = word.find('=');
      w.keyword = word.substr(0, equals);
      if (equals != std::string_view::npos) {
        w.value = std::string(word.substr(equals + 1));
        if (auto n = plat::ParseDecimal(*w.value, UINT32_MAX)) w.number = static_cast<std::uint32_t>(*n);
      }
      w.known = mntopt_find(w.keyword);
      words.push_back(std::move(w));
    }
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return words;
}
