// A tree of project VOBs, their folders and projects, and each project's
// streams: the integration stream with the streams that deliver to it
// beneath. At first it shows the VOB it was given and, of the development
// streams, the user's own; the host can widen both.
#include "controls.h"
#include "platform/machine.h"
#include "platform/text.h"

namespace cmctls {

namespace {

using plat::DispCall;
using plat::DispValue;

class ProjectTree : public ItemControl {
 public:
  ProjectTree() {
    members_.Add(2, DispCall::Method, {}, [this](const Args&) { return Answer(DispValue::Bool(Load().ok())); });
    members_.Add(3, DispCall::Method, {IsBool}, [this](const Args& a) { return Widen(all_vobs_, a[0].AsBool()); });
    members_.AddNeutral(4, DispCall::Method, {IsBool});
    members_.Add(5, DispCall::Method, {IsBool}, [this](const Args& a) { return Widen(all_streams_, a[0].AsBool()); });
    members_.Add(6, DispCall::Method, {IsText}, [this](const Args& a) {
      const int at = Find(a[0].AsText());
      if (at >= 0) selected_ = at;
      return Answer(DispValue::Bool(at >= 0));
    });
    members_.Add(7, DispCall::Method, {}, [this](const Args&) { return Answer(DispValue::Text(SelectedSelector())); });
    members_.Add(8, DispCall::Method, {}, [this](const Args&) { return Answer(DispValue::Bool(all_vobs_)); });
    members_.AddNeutral(9, DispCall::Method, {IsBool});
    members_.AddNeutral(10, DispCall::Method, {});
    members_.Add(11, DispCall::Method, {IsText}, [this](const Args& a) {
      vob_tag_ = a[0].AsText();
      return Done();
    });
    members_.AddNeutral(12, DispCall::Method, {IsText});
    members_.AddNeutral(13, DispCall::Method, {IsLong, IsLong}, DispValue::Text(""));
  }

 private:
  // Shows more (or less); a loaded tree loads again.
  plat::DispResult Widen(bool& flag, bool on) {
    flag = on;
    return loaded_ ? Load() : Done();
  }

  // Reads the whole tree first: a failure leaves what was shown.
  plat::DispResult Load() {
    FLM_List<FLM_Vob> vobs;
    if (FLM_Vob::project_vobs(&vobs)) return Failed("the project VOBs could not be read");
    std::vector<plat::HostedItem> items;
    for (const auto& vob : vobs) {
      if (!all_vobs_ && !plat::IEquals(vob.tag(), vob_tag_)) continue;
      FLM_Folder root;
      if (vob.root_folder(&root)) return Failed("the folders of " + vob.tag() + " could not be read");
      items.push_back(plat::HostedItem{0, vob.tag(), "vob:" + vob.tag(), false});
      if (int st = AddFolder(root, 1, items)) return Failed("the projects of " + vob.tag() + " could not be read (" +
                                                            std::to_string(st) + ")");
    }
    const std::string picked = SelectedSelector();
    items_ = std::move(items);
    selected_ = Find(picked);
    loaded_ = true;
    return Done();
  }

  int AddFolder(const FLM_Folder& folder, int depth, std::vector<plat::HostedItem>& items) const {
    FLM_FolderList folders;
    FLM_ProjectList projects;
    if (int st = folder.contents(&folders, &projects)) return st;
    for (const auto& sub : folders) {
      plat::HostedItem item;
      if (int st = ShowAs(sub, depth, &item)) return st;
      items.push_back(std::move(item));
      if (int st = AddFolder(sub, depth + 1, items)) return st;
    }
    for (const auto& project : projects) {
      plat::HostedItem item;
      if (int st = ShowAs(project, depth, &item)) return st;
      items.push_back(std::move(item));
      if (int st = AddStreams(project, depth + 1, items)) return st;
    }
    return 0;
  }

  // The integration stream, the development streams beneath it.
  int AddStreams(const FLM_Project& project, int depth, std::vector<plat::HostedItem>& items) const {
    FLM_StreamList streams;
    if (int st = project.streams(&streams)) return st;
    const std::string me = plat::MachineUserName();
    for (const auto& stream : streams) {
      bool integration = false;
      FLM_OsUser owner;
      if (int st = stream.is_integration(&integration)) return st;
      if (int st = stream.owner(&owner)) return st;
      if (!integration && !all_streams_ && owner.name() != me) continue;
      plat::HostedItem item;
      if (int st = ShowAs(stream, integration ? depth : depth + 1, &item)) return st;
      items.push_back(std::move(item));
    }
    return 0;
  }

  std::string vob_tag_;
  bool all_vobs_ = false;
  bool all_streams_ = false;
  bool loaded_ = false;
};

}  // namespace

std::unique_ptr<plat::HostedImpl> MakeProjectTree() { return std::make_unique<ProjectTree>(); }

}  // namespace cmctls
