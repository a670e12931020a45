#include "viewvob/mount/mntmsg.h"

#include <string>

#include "imsg_verbosity.h"
#include "tbs.h"

namespace rvmount {

namespace {

struct Message {
  int number;
  std::string_view text;
};

// The messages of the engine's catalogue that its callers in this library
// reach; the catalogue's other messages (tag creation and removal, servers,
// log files) belong to programs that are not built here.
constexpr Message kEngine[] = {
    {kMsgPermission, "Permission to mount the VOB tag \"%s\"\n"},
    {kMsgDuplicateTag, "An unexpected duplicate VOB tag was found\n"},
    {kMsgDuplicateWhere, "for \"%s\" within the \"%s\" region.\n"},
    {kMsgMissingKey, "VOB tag entry does not contain a required key.\n"},
    {kMsgNotRegistered, "%s is not a registered VOB tag.\n"},
    {kMsgNoStorage, "The VOB storage directory \"%s\" was not found.\n"},
    {kMsgAlreadyMounted, "%s is already mounted.\n"},
    {kMsgNotMounted, "%s is not currently mounted.\n"},
    {kMsgMounting, "Mounting RVFS filesystem %s.\n"},
    {kMsgUnmounting, "Unmounting RVFS filesystem %s.\n"},
    {kMsgNotDirectory, "was denied. \"%s\" is not a directory.\n"},
    {kMsgUnableToMount, "Unable to mount: %s\n"},
    {kMsgUnableToUnmount, "Unable to unmount: %s\n"},
};

constexpr Message kOptions[] = {
    {kOptObsoleteViewroot, "obsolete use of viewroot mount retry/timeout options - options ignored\n"},
    {kOptNoPort, "Unable to get nlbd port number\n"},
    {kOptBadUuid, "uuid option value is not valid\n"},
    {kOptNotResponding, "VOB %s is not responding\n"},
    {kOptNoVobId, "unable to determine VOB identifier\n"},
    {kOptBadNumber, "bad numeric option '%s'\n"},
};

template <std::size_t N>
std::string_view Find(const Message (&catalogue)[N], int number) {
  for (const Message& message : catalogue)
    if (message.number == number) return message.text;
  return {};
}

}  // namespace

std::string_view EngineMessage(int number) { return Find(kEngine, number); }
std::string_view OptionMessage(int number) { return Find(kOptions, number); }

void PrintCallFailure(const char* call, int status) {
  imsg_print(IMSG_ERROR, "%s: %s\n", call, tbs_strerror(status));
}

void PrintCallFailure(const char* call, std::string_view what, int status) {
  imsg_print(IMSG_ERROR, "%s(%s): %s\n", call, std::string(what), tbs_strerror(status));
}

bool Tracing() { return imsg_get_desired_verbosity() >= 2 && imsg_should_trace("mntrpc", 2) != 0; }

}  // namespace rvmount
