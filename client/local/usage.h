#pragma once
// The usage log of the local implementation: every usage-data event in the
// order recorded. Kept in memory for now.
#include <string>
#include <vector>

namespace client_local {

struct UsageRecord {
  std::string event;
  bool is_text = false;
  long number = 0;   // a number event's value
  std::string text;  // a text event's value
};

std::vector<UsageRecord> UsageLog();
void ClearUsageLog();

}  // namespace client_local
