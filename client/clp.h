#pragma once
// Usage data: the entry points record an event name with a number or a
// text. Nothing is read back by the library.

// 0; TBS_ST_INVALID_ARG and nothing recorded for a null or empty event name (or a null
// text).
int clp_collectdatai(const char* event, long value);
int clp_collectdatas(const char* event, const char* value);
