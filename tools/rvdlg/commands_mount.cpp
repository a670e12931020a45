// Mounting and unmounting VOB tags through the mount engine.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "commands.h"
#include "messages_to_streams.h"
#include "rgy.h"
#include "rvmount/mntrpc.h"
#include "tbs.h"

namespace rvdlg {

namespace {

int RunMount(Context& c, const std::string& tag, bool mount) {
  MessagesToStreams messages(c);
  const int status = mount ? mntrpc_mount_tag(tag.c_str(), "", "") : mntrpc_umount_tag(tag.c_str(), "");
  if (status == TBS_ST_OK) return 0;
  char region[8];
  if (rgy_get_default_region(region, sizeof region) == TBS_ST_NOT_FOUND)
    c.err << "rvdlg: there is no registry in " << c.home << "; 'rvdlg init' makes one\n";
  return 1;
}

}  // namespace

void InstallMountCommands(CLI::App& app, Runner& chosen) {
  auto tag = std::make_shared<std::string>();
  auto* mount = app.add_subcommand("mount", "mount a VOB tag");
  mount->add_option("TAG", *tag, "the VOB tag, e.g. \\public")->required();
  mount->callback([&chosen, tag] { chosen = [tag](Context& c) { return RunMount(c, *tag, true); }; });

  auto untag = std::make_shared<std::string>();
  auto* umount = app.add_subcommand("umount", "unmount a VOB tag");
  umount->add_option("TAG", *untag, "the VOB tag, e.g. \\public")->required();
  umount->callback([&chosen, untag] { chosen = [untag](Context& c) { return RunMount(c, *untag, false); }; });
}

}  // namespace rvdlg
