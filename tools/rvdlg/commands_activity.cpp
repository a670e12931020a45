// rvdlg activity, contribs, tlactivity and streamchooser: the activity
// dialogs and the stream chooser over the change-management sample.
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "commands.h"
#include "flm.h"
#include "flm_imsg_redirector.h"
#include "cm/activity_entries.h"
#include "rvcmndlg/entries.h"
#include "tbs.h"

namespace rvdlg {

namespace {

// A selector that names nothing: one line on stderr (the model's first
// message, else its status), and false.
template <class T>
bool Construct(Context& c, const char* command, const std::string& selector, T* object) {
  FLM_ImsgRedirector messages;
  const int st = T::construct_from_selector(selector.c_str(), object);
  if (st == 0) return true;
  const std::string why = messages.count() > 0 ? messages.message(0) : std::string(tbs_strerror(st)) + "\n";
  c.err << "rvdlg: " << command << ": " << selector << ": " << why;
  if (why.empty() || why.back() != '\n') c.err << "\n";
  return false;
}

int Cancelled(Context& c) {
  c.out << "cancelled\n";
  return 1;
}

std::string SelectorOf(const FLM_VobObject& object) {
  std::string selector;
  object.selector(&selector);
  return selector;
}

struct ActivityArgs {
  std::string stream, current;
  bool no_new = false, no_activity = false;
};

int RunActivity(Context& c, const ActivityArgs& a) {
  FLM_Stream stream;
  FLM_Activity activity;
  if (!Construct(c, "activity", a.stream, &stream)) return 1;
  if (!a.current.empty() && !Construct(c, "activity", a.current, &activity)) return 1;
  if (rvBrowseForActivity(stream, activity, nullptr, a.no_new ? 0 : 1, a.no_activity ? 1 : 0) != 0)
    return Cancelled(c);
  c.out << "activity: " << (activity.is_null() ? "none" : SelectorOf(activity)) << "\n";
  return 0;
}

int RunContribs(Context& c, const std::string& selector) {
  FLM_Activity activity;
  if (!Construct(c, "contribs", selector, &activity)) return 1;
  return rvActContribs(activity, nullptr) == 0 ? 0 : Cancelled(c);
}

// A record's display name: its database, then its number ("SAMPL00000001").
bool ParseRecord(const std::string& text, FLM_TLEntityID* record) {
  const auto digits = text.find_first_of("0123456789");
  if (digits == 0 || digits == std::string::npos || text.find_first_not_of("0123456789", digits) != std::string::npos)
    return false;
  const long number = std::strtol(text.c_str() + digits, nullptr, 10);
  if (number <= 0) return false;
  *record = FLM_TLEntityID(text.substr(0, digits), number);
  return true;
}

int RunTLActivity(Context& c, const std::string& selector, const std::string& current) {
  FLM_Stream stream;
  FLM_TLEntityID record;
  if (!current.empty() && !ParseRecord(current, &record)) {
    c.err << "rvdlg: tlactivity: " << current << ": not a record id (DATABASE00000001)\n";
    return 1;
  }
  if (!Construct(c, "tlactivity", selector, &stream)) return 1;
  if (rvBrowseForTLActivity(stream, record, nullptr) != 0) return Cancelled(c);
  c.out << "record: " << record.display_name() << "\n";
  return 0;
}

int RunStreamChooser(Context& c, const std::string& tag, int mode) {
  FLM_Vob vob;
  if (!tag.empty()) {
    FLM_List<FLM_Vob> vobs;
    FLM_ImsgRedirector messages;
    if (FLM_Vob::project_vobs(&vobs) == 0)
      for (const FLM_Vob& candidate : vobs)
        if (candidate.tag() == tag) vob = candidate;
    if (vob.is_null()) {
      c.err << "rvdlg: streamchooser: " << tag << ": no project VOB has this tag\n";
      return 1;
    }
  }
  FLM_Stream stream;
  if (rvStreamChooser(vob, stream, mode, nullptr) != 0) return Cancelled(c);
  c.out << "stream: " << SelectorOf(stream) << "\n";
  return 0;
}

}  // namespace

void InstallActivityCommands(CLI::App& app, Runner& chosen) {
  auto* activity = app.add_subcommand("activity", "choose an activity of a stream (Select Activity)");
  auto a = std::make_shared<ActivityArgs>();
  activity->add_option("STREAM", a->stream, "the stream's selector (stream:NAME@\\VOB)")->required();
  activity->add_option("--current", a->current, "the activity chosen so far (activity:NAME@\\VOB)");
  activity->add_flag("--no-new", a->no_new, "offer no New... button");
  activity->add_flag("--no-activity", a->no_activity, "offer the <No Activity> row");
  activity->callback([&chosen, a] { chosen = [a](Context& c) { return RunActivity(c, *a); }; });

  auto* contribs = app.add_subcommand("contribs", "show the contributing activities of a deliver or rebase");
  auto integration = std::make_shared<std::string>();
  contribs->add_option("ACTIVITY", *integration, "the activity's selector (activity:NAME@\\VOB)")->required();
  contribs->callback([&chosen, integration] { chosen = [integration](Context& c) { return RunContribs(c, *integration); }; });

  auto* tl = app.add_subcommand("tlactivity", "choose a Tracklane record for a stream's work");
  auto tl_stream = std::make_shared<std::string>();
  auto tl_current = std::make_shared<std::string>();
  tl->add_option("STREAM", *tl_stream, "the stream's selector (stream:NAME@\\VOB)")->required();
  tl->add_option("--current", *tl_current, "the record chosen so far (SAMPL00000001)");
  tl->callback([&chosen, tl_stream, tl_current] {
    chosen = [tl_stream, tl_current](Context& c) { return RunTLActivity(c, *tl_stream, *tl_current); };
  });

  auto* chooser = app.add_subcommand("streamchooser", "choose a stream from the project tree");
  auto vob = std::make_shared<std::string>();
  auto mode = std::make_shared<int>(RV_STREAM_CHOOSER_BASELINE);
  const std::map<std::string, int> modes{{"deliver", RV_STREAM_CHOOSER_DELIVER},
                                         {"rebase", RV_STREAM_CHOOSER_REBASE},
                                         {"baseline", RV_STREAM_CHOOSER_BASELINE},
                                         {"target", RV_STREAM_CHOOSER_DELIVER_TARGET}};
  chooser->add_option("--vob", *vob, "the project VOB the tree starts with (\\projects)");
  chooser->add_option("--mode", *mode, "what the stream is for: deliver, rebase, baseline (default) or target")
      ->transform(CLI::CheckedTransformer(modes, CLI::ignore_case));
  chooser->callback([&chosen, vob, mode] { chosen = [vob, mode](Context& c) { return RunStreamChooser(c, *vob, *mode); }; });
}

}  // namespace rvdlg
