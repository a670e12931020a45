// rvdlg uncheckout, reserve and unreserve: the library's entries over the
// files named, one line of outcome per file.
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
int PrintOutcomes(const CFileOperationList& list, std::ostream& out) {
  static const char* const kOutcome[] = {"succeeded", "failed", "not processed"};
  bool all = true;
  for (int i = 0; i < list.GetSize(); ++i) {
    const COperationObj* entry = list.Entry(i);
    const int status = entry->Status();
    all = all && status == COperationObj::kSucceeded;
    out << entry->m_path << " " << kOutcome[status >= 0 && status <= 2 ? status : 1] << "\n";
    std::string messages = entry->Messages();
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
  return all ? 0 : 1;
}

namespace {

// The files as library pathnames; false (with a line on err) when one names
// nothing the library can reach.
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

struct FileArgs {
  std::vector<std::string> files;
  bool keep = false, no_keep = false;
};

}  // namespace

void InstallFileOpCommands(CLI::App& app, Runner& chosen) {
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
