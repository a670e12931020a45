#pragma once
// The engine's two message catalogues, and how it prints and traces.
#include <string_view>

#include "imsg.h"

namespace rvmount {

// Engine messages.
inline constexpr int kMsgPermission = 0;
inline constexpr int kMsgDuplicateTag = 13;
inline constexpr int kMsgDuplicateWhere = 14;
inline constexpr int kMsgMissingKey = 18;
inline constexpr int kMsgNotRegistered = 20;
inline constexpr int kMsgNoStorage = 22;
inline constexpr int kMsgAlreadyMounted = 30;
inline constexpr int kMsgNotMounted = 31;
inline constexpr int kMsgMounting = 34;
inline constexpr int kMsgUnmounting = 35;
inline constexpr int kMsgNotDirectory = 37;
inline constexpr int kMsgUnableToMount = 54;
inline constexpr int kMsgUnableToUnmount = 55;

// Option parser messages.
inline constexpr int kOptObsoleteViewroot = 11;
inline constexpr int kOptNoPort = 13;
inline constexpr int kOptBadUuid = 14;
inline constexpr int kOptNotResponding = 15;
inline constexpr int kOptNoVobId = 16;
inline constexpr int kOptBadNumber = 17;

// The text of a message ("" for a number the catalogue does not hold).
std::string_view EngineMessage(int number);
std::string_view OptionMessage(int number);

template <typename... Args>
void PrintEngine(int kind, int number, const Args&... args) {
  imsg_print(kind, EngineMessage(number), args...);
}

template <typename... Args>
void PrintOption(int kind, int number, const Args&... args) {
  imsg_print(kind, OptionMessage(number), args...);
}

// A failure of a call the engine makes, for which the catalogues have no
// message: "CALL: TEXT OF STATUS", or "CALL(WHAT): TEXT OF STATUS".
void PrintCallFailure(const char* call, int status);
void PrintCallFailure(const char* call, std::string_view what, int status);

// Tracing is on when the desired verbosity is 2 or more and "mntrpc" is
// traced at level 2.
bool Tracing();

template <typename... Args>
void Trace(std::string_view format, const Args&... args) {
  if (Tracing()) imsg_print(IMSG_TRACE, format, args...);
}

}  // namespace rvmount
