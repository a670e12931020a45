// The sample dialog and the demonstration.
#include <CLI/CLI.hpp>
#include <ostream>

#include "commands.h"
#include "rvcmndlg/file_operation_list.h"
#include "gcl_status.h"
#include "platform/dialog.h"
#include "rvl_resolve.h"
#include "rvl_vobobject.h"
#include "sample_dialog.h"
#include "sample_repo.h"
#include "tbs.h"

namespace rvdlg {

namespace {

int RunSample(std::ostream& out) {
  SampleDialog dialog;
  const int result = dialog.DoModal();
  if (result != plat::IdOk) {
    out << "sample: cancelled\n";
    return 1;
  }
  out << "sample: name=" << dialog.name << " reserved=" << dialog.reserved
      << " unreserved=" << dialog.unreserved << " priority=" << dialog.priority << "\n";
  return 0;
}

int RunDemo(Context& c) {
  std::ostream& out = c.out;
  out << "rvdlg demonstration\n"
         "Every window is drawn as the terminal shows it; with no one at the\n"
         "keyboard each takes its default answer.\n\n";
  // A fresh sample repository, and a look at the file checked out in it.
  if (MakeSampleRepository(c, true) != 0) return 1;
  out << "\nThe file checked out in the sample view:\n" << kSampleCheckedOut << ":\n";
  GCL_Status found;
  const auto object = RVL_ResolveName(found, GCL_String(kSampleCheckedOut));
  if (!object || !found.ok()) {
    c.err << "rvdlg: demo: " << kSampleCheckedOut << ": " << tbs_strerror(static_cast<int>(found.code())) << "\n";
    return 1;
  }
  object->describe(out);

  out << "\nThe registry's VOB tags (rvdlg registry list tags) and one of them:\n";
  if (ListRegistry(c, "tags") != 0 || ShowRegistry(c, {"\\public"}) != 0) return 1;

  out << "\nThe operation settings (rvdlg options --show):\n";
  ShowSettings(out);

  // A short day with the checked-out file: reserve and unreserve it, then
  // undo its check-out keeping a copy of the edits.
  const std::string file = kSampleCheckedOut;
  int walk = 0;
  for (int reserve : {1, 0}) {
    out << "\nrvdlg " << (reserve ? "reserve " : "unreserve ") << file << "\n";
    CFileOperationList list;
    list.AddFile(file);
    list.SetRESReserve(reserve);
    list.Reserve();
    walk |= PrintOutcomes(list, out);
  }
  out << "\nrvdlg uncheckout " << file << "\n";
  CFileOperationList undo;
  undo.AddFile(file);
  undo.Uncheckout();
  walk |= PrintOutcomes(undo, out);
  out << "\nThe file afterwards:\n";
  GCL_Status again;
  if (const auto after = RVL_ResolveName(again, GCL_String(kSampleCheckedOut)); after && again.ok())
    after->describe(out);
  out << "\nThe change-management controls over the stream hello_dev"
         " (rvdlg cmcontrols stream:hello_dev@\\projects):\n";
  walk |= RunCmControls(c, "stream:hello_dev@\\projects");
  out << "\n";
  const int status = RunSample(out) | walk;
  plat::MessageBox(nullptr, "The demonstration is over.", "rvdlg", plat::mb::Ok | plat::mb::IconInformation);
  return status;
}

}  // namespace

void InstallSampleCommands(CLI::App& app, Runner& chosen) {
  app.add_subcommand("sample", "show the sample dialog and print what was chosen")->callback([&chosen] {
    chosen = [](Context& c) { return RunSample(c.out); };
  });
  app.add_subcommand("demo", "walk through the program without a person")->callback([&chosen] {
    chosen = [](Context& c) { return RunDemo(c); };
  });
}

}  // namespace rvdlg
