#pragma once
// The sample repository of `rvdlg init`: the VOB \public with a small tree,
// the VOB \private, and the view sample_view of them; beside them the
// change-management sample: the project VOB \projects, its Tracklane
// records and the views that work in its streams.
#include <string>

namespace rvdlg {

inline constexpr const char* kSampleView = "sample_view";
// The file the sample leaves checked out in the view.
inline constexpr const char* kSampleCheckedOut = "\\\\view\\sample_view\\public\\src\\util.c";

// Makes the VOBs and their contents in the store in force (their tags must
// be free). 0, or the status of the first call that failed, with what it
// was doing in *what.
int BuildSampleVobs(std::string* what);
// Makes the view with its root filled and checks out the sample file in it.
int BuildSampleView(std::string* what);
// The view that shows release 1, and the replica of \private elsewhere.
inline constexpr const char* kRel1View = "rel1_view";
inline constexpr const char* kRemoteReplica = "remote";
// Makes the view rel1_view (element * CHECKEDOUT, element * REL1, element *
// \main\LATEST) holding \public\doc\README.txt checked out reserved, and
// the replica remote of \private mastering \private\notes.txt@@\main; this
// site may request mastership.
int BuildRel1ViewAndReplica(std::string* what);
// The objects the General pages show beside the files: the VOB symbolic
// link \public\doc\latest.txt to README.txt, the derived object
// \public\src\hello.o, and an unreserved check-out of \public\doc\README.txt
// by the view old_view, which is then removed (the check-out stays).
inline constexpr const char* kOldView = "old_view";
int BuildGeneralPagesSample(std::string* what);
// Removes the sample's views, every VOB of the store and the sample's
// Tracklane database (for --force).
int RemoveSampleRepository(std::string* what);

// The views of the change-management sample, each working in a stream.
inline constexpr const char* kStreamViews[] = {"hello_dev_view", "hello_int_view", "tracked_dev_view"};
// Makes the change-management sample over the VOBs (after the registry, so
// that its views get their tags): the project VOB \projects with its
// folders, components, projects, streams, baselines and activities, the
// Tracklane database SAMPL with its records, and the stream views.
int BuildChangeSample(std::string* what);

// The views of the view lists: build_view (dynamic, this host, stopped),
// remote_view (dynamic, of buildhost and its user builder, stopped) and
// snap_view (a snapshot view loading \public\src); the recently used views
// are then sample_view, build_view, old_view (no view) and remote_view.
inline constexpr const char* kListViews[] = {"build_view", "remote_view", "snap_view"};
int BuildViewListSample(std::string* what);

// Runs a sample's calls in order until one fails, and keeps what it was
// doing then.
struct SampleSteps {
  std::string* what;
  int status = 0;
  template <class Call>
  SampleSteps& operator()(const std::string& doing, Call&& call) {
    if (status == 0) {
      status = call();
      if (status != 0) *what = doing;
    }
    return *this;
  }
};

}  // namespace rvdlg
