// Config specs: the rule language and its syntax check.
#include <gtest/gtest.h>

#include <string>

#include "configspec.h"
#include "tbs.h"

namespace {

struct BadSpec {
  const char* text;
  const char* error;  // how the message starts
};

TEST(ConfigSpec, SyntaxErrorsNameTheirLineAndColumn) {
  const BadSpec cases[] = {
      {"elemnt * \\main\\LATEST\n", "Syntax error on line 1, near column 1, unknown rule \"elemnt\""},
      {"# rules\n\nelement * \\main\\\n", "Syntax error on line 3, near column 11,"},
      {"element * \\main\\LATEST\n  element foo \\main\\LATEST\n", "Syntax error on line 2, near column 11,"},
      {"element *\n", "Syntax error on line 1, near column 10, a version selector is expected"},
      {"element\n", "Syntax error on line 1, near column 8, a pattern is expected"},
      {"element * REL1 extra\n", "Syntax error on line 1, near column 16, unexpected \"extra\""},
      {"element * \"REL1\n", "Syntax error on line 1, near column 11, a quoted name is not closed"},
      {"element * \\main\\x@y\n", "Syntax error on line 1, near column 11,"},
      {"load *\n", "Syntax error on line 1, near column 6,"},
      {"element * CHECKEDOUT\r\nelement * R\xc3\xa9L\r\n", "Syntax error on line 2, near column 11,"},
  };
  for (const BadSpec& c : cases) {
    configspec_t spec;
    std::string error;
    EXPECT_EQ(configspec_parse(c.text, &spec, &error), TBS_ST_INVALID_ARG) << c.text;
    EXPECT_EQ(error.compare(0, std::string(c.error).size(), c.error), 0) << c.text << " -> " << error;
    EXPECT_TRUE(spec.rules.empty());
  }
}

TEST(ConfigSpec, RulesAreReadInOrder) {
  configspec_t spec;
  std::string error;
  ASSERT_EQ(configspec_parse("# a view\n"
                             "element * CHECKEDOUT   # my work first\n"
                             "element \"\\public\\my dir\\...\" \\main\\dev\\LATEST\n"
                             "element \\public\\src\\*.c REL1\n"
                             "\telement * \\main\\3\n"
                             "load \\public\\src\n",
                             &spec, &error),
            0)
      << error;
  ASSERT_EQ(spec.rules.size(), 4u);
  EXPECT_EQ(spec.rules[0].kind, configspec_rule_t::kCheckedOut);
  EXPECT_EQ(spec.rules[1].kind, configspec_rule_t::kLatest);
  EXPECT_EQ(spec.rules[1].pattern, "\\public\\my dir\\...");
  EXPECT_EQ(spec.rules[1].branch, "\\main\\dev");
  EXPECT_EQ(spec.rules[2].kind, configspec_rule_t::kLabel);
  EXPECT_EQ(spec.rules[2].label, "REL1");
  EXPECT_EQ(spec.rules[3].kind, configspec_rule_t::kVersion);
  EXPECT_EQ(spec.rules[3].branch, "\\main\\3");
  EXPECT_EQ(spec.rules[3].line, 5);
  ASSERT_EQ(spec.load_rules.size(), 1u);
  EXPECT_EQ(spec.load_rules[0], "\\public\\src");
  EXPECT_EQ(configspec_parse(CONFIGSPEC_DEFAULT, &spec, &error), 0);
  EXPECT_EQ(configspec_parse(nullptr, &spec, &error), TBS_ST_INVALID_ARG);
}

struct MatchCase {
  const char* pattern;
  const char* path;
  bool matches;
};

TEST(ConfigSpec, PatternsMatchWholeNames) {
  const MatchCase cases[] = {
      {"*", "\\public\\src\\a.c", true},
      {"\\public\\src\\*.c", "\\public\\src\\a.c", true},
      {"\\public\\src\\*.c", "\\public\\src\\sub\\a.c", false},
      {"\\public\\src\\*.c", "\\public\\src\\a.cc", false},
      {"\\public\\...", "\\public\\src\\sub\\a.c", true},
      {"\\public\\...", "\\public", true},
      {"\\public\\...\\a.c", "\\public\\src\\sub\\a.c", true},
      {"\\public\\...\\a.c", "\\public\\src\\b.c", false},
      {"\\public\\src", "\\public\\src", true},
      {"\\public\\src", "\\public\\srcs", false},
      {"\\pub*", "\\public", true},
      {"\\Public", "\\public", false},
  };
  for (const MatchCase& c : cases)
    EXPECT_EQ(configspec_match(c.pattern, c.path), c.matches) << c.pattern << " ~ " << c.path;
}

}  // namespace
