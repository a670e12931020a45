#include "tbs.h"

#include <cstdio>
#include <string>

#include "imsg.h"
#include "local/local_call.h"

using client_local::LocalCall;
namespace {

// Room for "Unknown error " and any int.
constexpr std::size_t kUnknownTextSize = 32;

struct StatusText {
  int status;
  const char* text;
};

constexpr StatusText kTexts[] = {
    {TBS_ST_OK, "Success"},
    {TBS_ST_ERR, "Operation failed"},
    {TBS_ST_FAILURE, "General failure"},
    {TBS_ST_NOT_FOUND, "Not found"},
    {TBS_ST_INVALID_ARG, "Invalid argument"},
    {TBS_ST_INTERRUPTED, "Interrupted by the user"},
    {TBS_ST_PERMISSION, "Permission denied"},
    {TBS_ST_NOT_FS_OBJECT, "Not a file system object"},
    {TBS_ST_NO_MEMORY, "Out of memory"},
    {TBS_ST_NO_ACCESS, "Access not granted"},
    {TBS_ST_ALREADY, "Already mounted or in use"},
    {TBS_ST_WRONG_KIND, "Object is not of the expected kind"},
    {TBS_ST_PNAME_CONVERSION, "Pathname conversion failed"},
};

}  // namespace

const char* tbs_strerror(int status) {
  for (const StatusText& entry : kTexts)
    if (entry.status == status) return entry.text;
  thread_local char unknown[kUnknownTextSize];
  std::snprintf(unknown, sizeof unknown, "Unknown error %d", status);
  return unknown;
}

void tbs_log_int_error(const char* facility, const char* file, int line, const char* text) {
  const std::string where = std::string(file ? file : "") + ":" + std::to_string(line);
  LocalCall("tbs_log_int_error", {facility ? facility : "", where, text ? text : ""}, true, [&] {
    const std::string message = std::string(facility ? facility : "") + ": " + where + ": " + (text ? text : "") + "\n";
    imsg_print_text(IMSG_INTERNAL_ERROR, message.c_str());
    return TBS_ST_OK;
  });
}

const char* tbs_version_ext_pname() { return "@@"; }
