// Config specs: any text parses or is refused with a line and column, and a
// parsed spec's patterns match without fault.
#include <string>

#include "configspec.h"
#include "fuzz_target.h"

RV_FUZZ_TARGET(configspec, input) {
  const std::string text(input);
  configspec_t spec;
  std::string error;
  if (configspec_parse(text.c_str(), &spec, &error) != 0) {
    RV_FUZZ_CHECK(error.rfind("Syntax error on line ", 0) == 0);
    RV_FUZZ_CHECK(spec.rules.empty() && spec.load_rules.empty());
    return;
  }
  for (const configspec_rule_t& rule : spec.rules) {
    configspec_match(rule.pattern, "\\public\\src\\hello.c");
    configspec_match(rule.pattern, text);
  }
}
