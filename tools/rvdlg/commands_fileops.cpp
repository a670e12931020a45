// rvdlg checkin, checkout, uncheckout, reserve and unreserve: the library's entries
// over the files named, one line of outcome per file.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "fileops/entry_points.h"
#include "rvcmndlg/file_operation_list.h"

namespace rvdlg {

// One line per file: its path and outcome, then its messages indented.
void PrintOutcome(std::ostream& out, const std::string& name, int outcome, const std::string& messages) {
  static const char* const kOutcome[] = {"succeeded", "failed", "not processed"};
  out << name << " " << kOutcome[outcome >= 0 && outcome <= 2 ? outcome : 1] << "\n";
  std::size_t start = 0;
  while (start < messages.size()) {
    std::size_t end = messages.find('\n', start);
    if (end == std::string::npos) end = messages.size();
    std::string line = messages.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) out << "    " << line << "\n";
    start = end + 1;
  }
}

int PrintOutcomes(const CFileOperationList& list, std::ostream& out) {
  bool all = true;
  for (int i = 0; i < list.GetSize(); ++i) {
    const COperationObj* entry = list.Entry(i);
    all = all && entry->Status() == COperationObj::kSucceeded;
    PrintOutcome(out, entry->m_path, entry->Status(), entry->Messages());
  }
  return all ? 0 : 1;
}

bool AddFiles(CFileOperationList& list, const std::vector<std::string>& files, const char* command, Context& c) {
  for (const auto& file : files) {
    const std::string name = LibraryPathname(file);
    if (name.empty()) {
      c.err << "rvdlg: " << command << ": " << file << ": not a library pathname nor a file inside a view's directory\n";
      return false;
    }
    list.AddFile(name);
  }
  return true;
}

namespace {

struct CheckoutArgs {
  std::vector<std::string> files;
  bool reserved = false, unreserved = false, fallback = false, nonmastered = false, preserve_time = false;
  bool selected = false, use_hijacked = false;
  std::string comment;
};

// Without an option of its own the plain entry runs (the user options and
// the comment prompt); with any, the with-options entry with them over the
// user options and no prompt.
void InstallCheckoutCommand(CLI::App& app, Runner& chosen) {
  auto args = std::make_shared<CheckoutArgs>();
  auto* checkout = app.add_subcommand("checkout", "check out files");
  checkout->add_option("FILE", args->files, "files of a view")->required();
  auto* reserved = checkout->add_flag("--reserved", args->reserved, "a reserved check-out");
  auto* unreserved = checkout->add_flag("--unreserved", args->unreserved, "an unreserved check-out");
  reserved->excludes(unreserved);
  auto* fallback =
      checkout->add_flag("--fallback", args->fallback, "unreserved when the branch is reserved in another view");
  auto* nonmastered = checkout->add_flag("--nonmastered", args->nonmastered,
                                         "unreserved, nonmastered when another replica masters the branch");
  auto* preserve = checkout->add_flag("--preserve-time", args->preserve_time, "keep the file's modification time");
  auto* comment = checkout->add_option("--comment", args->comment, "the check-out comment");
  checkout->add_flag("--selected", args->selected, "check out exactly the version the view selects");
  checkout->add_flag("--use-hijacked", args->use_hijacked, "keep a hijacked file as the check-out without asking");
  const std::vector<CLI::Option*> options = {reserved, unreserved, fallback, nonmastered, preserve, comment};
  checkout->callback([&chosen, args, options] {
    bool with_options = false;
    for (const CLI::Option* option : options) with_options = with_options || option->count() > 0;
    chosen = [args, with_options](Context& c) {
      CFileOperationList list;
      if (!AddFiles(list, args->files, "checkout", c)) return 1;
      list.SetCOVer(args->selected ? 1 : 0);
      list.SetCOUsePrivate(args->use_hijacked ? 1 : 0);
      if (with_options) {
        if (args->reserved) list.SetCOReserved(1);
        if (args->unreserved) list.SetCOReserved(0);
        if (args->fallback) list.SetCOUnreserved(1);
        if (args->nonmastered) list.SetCONonmastered(1);
        if (args->preserve_time) list.SetCOPreserveTime(1);
        list.SetCOComment(args->comment);
        list.CheckoutWithOptions();
      } else {
        list.Checkout();
      }
      const int status = PrintOutcomes(list, c.out);
      c.out << std::flush;  // the mastership tool's lines follow
      return WaitForStarted(c, "checkout") ? status : 1;
    };
  });
}

struct CheckinArgs {
  std::vector<std::string> files;
  bool identical = false, preserve_time = false;
  std::string comment;
};

// Without an option the plain entry runs (the user options and the comment
// prompt); with any, the with-options entry with that comment (empty when
// none is given), no prompt and no original check-out comment.
void InstallCheckinCommand(CLI::App& app, Runner& chosen) {
  auto args = std::make_shared<CheckinArgs>();
  auto* checkin = app.add_subcommand("checkin", "check in files");
  checkin->add_option("FILE", args->files, "files of a view")->required();
  const std::vector<CLI::Option*> options = {
      checkin->add_option("--comment", args->comment, "the check-in comment"),
      checkin->add_flag("--identical", args->identical, "check in even if identical to the previous version"),
      checkin->add_flag("--ptime", args->preserve_time, "keep the file's modification time")};
  checkin->callback([&chosen, args, options] {
    bool with_options = false;
    for (const CLI::Option* option : options) with_options = with_options || option->count() > 0;
    chosen = [args, with_options](Context& c) {
      CFileOperationList list;
      if (!AddFiles(list, args->files, "checkin", c)) return 1;
      if (with_options) {
        list.SetCIComment(args->comment);
        list.SetCIIdentical(args->identical ? 1 : 0);
        list.SetCIPreserveTime(args->preserve_time ? 1 : 0);
        list.SetCIPrompt(0);
        list.SetCIUseCheckoutInfo(0);
        list.CheckinWithOptions();
      } else {
        list.Checkin();
      }
      return PrintOutcomes(list, c.out);
    };
  });
}

struct FileArgs {
  std::vector<std::string> files;
  bool keep = false, no_keep = false;
};

}  // namespace

void InstallFileOpCommands(CLI::App& app, Runner& chosen) {
  InstallCheckoutCommand(app, chosen);
  InstallCheckinCommand(app, chosen);
  auto args = std::make_shared<FileArgs>();
  auto* uncheckout = app.add_subcommand("uncheckout", "undo the check-out of files");
  uncheckout->add_option("FILE", args->files, "files of a view")->required();
  auto* keep = uncheckout->add_flag("--keep", args->keep, "keep a copy of each file (no confirmation)");
  auto* no_keep = uncheckout->add_flag("--no-keep", args->no_keep, "keep no copy (no confirmation)");
  keep->excludes(no_keep);
  uncheckout->callback([&chosen, args] {
    chosen = [args](Context& c) {
      CFileOperationList list;
      if (!AddFiles(list, args->files, "uncheckout", c)) return 1;
      if (args->keep || args->no_keep) {
        list.SetUNCOKeepFile(args->keep ? 1 : 0);
        list.UncheckoutWithOptions();
      } else {
        list.Uncheckout();
      }
      return PrintOutcomes(list, c.out);
    };
  });
  for (const char* name : {"reserve", "unreserve"}) {
    const bool reserve = std::string(name) == "reserve";
    auto files = std::make_shared<std::vector<std::string>>();
    auto* command = app.add_subcommand(name, reserve ? "make the check-outs of files reserved"
                                                     : "make the check-outs of files unreserved");
    command->add_option("FILE", *files, "files of a view")->required();
    command->callback([&chosen, files, reserve, name] {
      chosen = [files, reserve, name](Context& c) {
        CFileOperationList list;
        if (!AddFiles(list, *files, name, c)) return 1;
        list.SetRESReserve(reserve ? 1 : 0);
        list.Reserve();
        return PrintOutcomes(list, c.out);
      };
    });
  }
}

}  // namespace rvdlg
