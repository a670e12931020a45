// Comparing files: the command-line tool's graphical compare.
#include "fileops/entry_points.h"
#include "platform/process.h"
#include "res/library_resources.h"

std::string QuotedPath(const std::string& path) {
  std::string inner = path;
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') inner = path.substr(1, path.size() - 2);
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : inner) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(backslashes * 2 + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

std::string DiffCommandLine(const std::vector<std::string>& paths, int pred) {
  std::string command = std::string("stratatool") + " " + "diff " + "-graphical " + (pred ? "-pred " : "");
  for (const auto& path : paths) command += QuotedPath(path) + " ";
  return command;
}

int rvDiffFiles(const std::vector<std::string>& paths, int pred) {
  rvcmndlg::EntryScope resources;
  plat::ProcessSpec spec;
  spec.command_line = DiffCommandLine(paths, pred);
  // Detached: nobody waits for the compare, and a start failure goes unsaid.
  (void)plat::CurrentLauncher()->Start(spec);
  return 0;
}
