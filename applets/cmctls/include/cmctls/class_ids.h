#pragma once
// The class ids by which dialogs host the change-management controls.
namespace cmctls {

inline constexpr char kBaselineTimelineClass[] = "{24ACE9FA-C05F-11D2-9BDC-006097DF8E26}";
inline constexpr char kBaselineTreeClass[] = "{57AD147A-8F74-11D2-9BBC-006097DF8E26}";
inline constexpr char kProjectTreeClass[] = "{68BE73E0-89FC-11D2-96A7-B6F299000000}";
inline constexpr char kDrawtreeClass[] = "{3C7E1B52-6A4D-4F0B-9E2A-5D8C1F0A7B64}";

}  // namespace cmctls
