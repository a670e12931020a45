#pragma once
// The members of a hosted control by number: each with its kind of call,
// the kinds of its arguments and what it does. Calls with another number,
// kind of call or arguments fail without reaching the member.
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/hosted_control.h"

namespace cmctls {

// Whether an argument is what a member takes.
using ArgCheck = bool (*)(const plat::DispValue&);
bool IsBool(const plat::DispValue& v);
bool IsLong(const plat::DispValue& v);
bool IsText(const plat::DispValue& v);
bool IsAnyPointer(const plat::DispValue& v);
template <typename T>
bool IsPointerTo(const plat::DispValue& v) {
  return v.AsPointer<T>() != nullptr;
}

using Args = std::vector<plat::DispValue>;

class MemberTable {
 public:
  using Handler = std::function<plat::DispResult(const Args&)>;
  void Add(int dispid, plat::DispCall call, std::vector<ArgCheck> takes, Handler handler);
  // A member declared for callers that this control gives no meaning: it
  // takes its arguments and answers the empty value of its result.
  void AddNeutral(int dispid, plat::DispCall call, std::vector<ArgCheck> takes,
                  plat::DispValue answer = plat::DispValue());
  plat::DispResult Invoke(int dispid, plat::DispCall call, const Args& args) const;

 private:
  struct Member {
    std::vector<ArgCheck> takes;
    Handler handler;
  };
  std::map<std::pair<int, plat::DispCall>, Member> members_;
};

// Results members answer.
plat::DispResult Done();
plat::DispResult Answer(plat::DispValue value);
plat::DispResult Failed(std::string message);

}  // namespace cmctls
