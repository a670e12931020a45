#pragma once
// The statuses of the client libraries that the entries return or report.

namespace rvcmndlg::status {

inline constexpr int kOk = 0;
inline constexpr int kFailure = 1001;      // a general failure
inline constexpr int kNotFound = 1002;     // no such object, key or path
inline constexpr int kInvalidArg = 1003;   // a bad argument: nothing done
inline constexpr int kInterrupted = 1033;  // stopped by the user
inline constexpr int kNoMemory = 1062;     // no memory or storage area

}  // namespace rvcmndlg::status
