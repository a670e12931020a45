#pragma once
// Status codes of the client libraries and their texts.
//
// Every call answers an integer status: 0 is success, anything else is one
// of the product's status codes below (more arrive as callers need them).

inline constexpr int TBS_ST_OK = 0;
inline constexpr int TBS_ST_ERR = 1;                // failed, no further detail
inline constexpr int TBS_ST_FAILURE = 1001;         // general failure
inline constexpr int TBS_ST_NOT_FOUND = 1002;       // no such object, key or path
inline constexpr int TBS_ST_INVALID_ARG = 1003;     // a bad argument: nothing done
inline constexpr int TBS_ST_INTERRUPTED = 1033;     // stopped by the user
inline constexpr int TBS_ST_PERMISSION = 1051;      // permission denied
inline constexpr int TBS_ST_NOT_FS_OBJECT = 1055;   // not a file-system object
inline constexpr int TBS_ST_NO_MEMORY = 1062;       // no memory or storage area
inline constexpr int TBS_ST_NO_ACCESS = 1063;       // access not granted
inline constexpr int TBS_ST_ALREADY = 1067;         // already mounted or in use
inline constexpr int TBS_ST_WRONG_KIND = 1072;      // object of the wrong kind
inline constexpr int TBS_ST_PNAME_CONVERSION = 1084;  // pathname conversion failed

// The separator between an element's name and its version or branch ("@@").
const char* tbs_version_ext_pname();

// The text of a status code; "Unknown error N" for a code without one.
// Known texts live for the whole process; an unknown code's text lives in
// a buffer of the calling thread until its next call.
const char* tbs_strerror(int status);

// Logs an internal error of a facility (for example "gcl") at a source file
// and line: printed through the message routing as an internal error
// ("gcl: file:line: text"). Null arguments read as empty text.
void tbs_log_int_error(const char* facility, const char* file, int line, const char* text);
