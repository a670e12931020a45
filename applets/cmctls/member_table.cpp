#include "member_table.h"

namespace cmctls {

using plat::DispCall;
using plat::DispError;
using plat::DispResult;
using plat::DispValue;

bool IsBool(const DispValue& v) { return v.kind() == DispValue::Kind::Bool; }
bool IsLong(const DispValue& v) { return v.kind() == DispValue::Kind::Long; }
bool IsText(const DispValue& v) { return v.kind() == DispValue::Kind::Text; }
bool IsAnyPointer(const DispValue& v) { return v.kind() == DispValue::Kind::Pointer; }

void MemberTable::Add(int dispid, DispCall call, std::vector<ArgCheck> takes, Handler handler) {
  members_[{dispid, call}] = Member{std::move(takes), std::move(handler)};
}

void MemberTable::AddNeutral(int dispid, DispCall call, std::vector<ArgCheck> takes, DispValue answer) {
  Add(dispid, call, std::move(takes), [answer](const Args&) { return Answer(answer); });
}

DispResult MemberTable::Invoke(int dispid, DispCall call, const Args& args) const {
  const auto it = members_.find({dispid, call});
  if (it == members_.end())
    return DispResult::Fail(DispError::UnknownMember, "the control has no member " + std::to_string(dispid) +
                                                          " for this kind of call");
  const Member& member = it->second;
  if (args.size() != member.takes.size())
    return DispResult::Fail(DispError::BadArguments, "member " + std::to_string(dispid) + " takes " +
                                                         std::to_string(member.takes.size()) + " argument(s), not " +
                                                         std::to_string(args.size()));
  for (std::size_t i = 0; i < args.size(); ++i)
    if (!member.takes[i](args[i]))
      return DispResult::Fail(DispError::BadArguments, "argument " + std::to_string(i + 1) + " of member " +
                                                           std::to_string(dispid) + " is of the wrong kind (" +
                                                           args[i].KindName() + ")");
  return member.handler(args);
}

DispResult Done() { return DispResult(); }

DispResult Answer(DispValue value) {
  DispResult r;
  r.value = std::move(value);
  return r;
}

DispResult Failed(std::string message) { return DispResult::Fail(DispError::Failed, std::move(message)); }

}  // namespace cmctls
