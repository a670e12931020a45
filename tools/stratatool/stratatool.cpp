// stratatool's commands: the compare of view files with their predecessors.
#include "stratatool.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>

#include "imsg.h"
#include "imsg_redirect_scope.h"
#include "unified_diff.h"
#include "local/store.h"
#include "platform/pathmap.h"
#include "stg.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"
#include "vob.h"

namespace stratatool {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = "usage: stratatool [--home DIR] diff [-graphical] [-pred] FILE...";

// While alive, the client libraries' messages are dropped: each file that
// cannot be compared gets one line of the tool's own.
class QuietMessages {
 public:
  QuietMessages() : scope_([](void*, int, const char*) {}, nullptr) {}

 private:
  imsg_redirect_scope scope_;
};

// A storage area freed however the compare ends.
class Area {
 public:
  Area() : area_(stg_create_area(0)) {}
  ~Area() {
    if (area_ != STG_NULL_AREA) stg_delete_area(area_);
  }
  Area(const Area&) = delete;
  Area& operator=(const Area&) = delete;
  stg_area_t get() const { return area_; }

 private:
  stg_area_t area_;
};

bool LooksLikeLibraryName(const std::string& name) {
  if (!name.empty() && name[0] == '\\') return true;
  return name.size() >= 2 && name[1] == ':' &&
         ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

// Shown names stay on one line and within reason.
std::string Shown(const std::string& name) {
  std::string shown = name.size() > 200 ? name.substr(0, 200) + "..." : name;
  for (char& c : shown)
    if (c == '\n' || c == '\r') c = '?';
  return shown;
}

// The library name of a file argument; empty with *why set when it has none.
std::string LibraryName(const std::string& argument, std::string* why) {
  if (argument.empty()) {
    *why = "an empty file name";
    return {};
  }
  if (argument.find('\0') != std::string::npos) {
    *why = "a file name holds a NUL";
    return {};
  }
  if (LooksLikeLibraryName(argument)) return argument;
  const auto name = plat::FromHostPath(argument);
  if (!name) {
    *why = "not inside a view's directory under " + plat::Home().string();
    return {};
  }
  return *name;
}

bool ReadHostFile(const fs::path& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Compares one file with its predecessor: the diff on out, or one line on err.
bool CompareWithPredecessor(const std::string& argument, std::ostream& out, std::ostream& err) {
  auto fail = [&](const std::string& why) {
    err << "stratatool: diff: " << Shown(argument) << ": " << why << "\n";
    return false;
  };
  std::string why;
  const std::string name = LibraryName(argument, &why);
  if (name.empty()) return fail(why);
  if (name.find("@@") != std::string::npos)
    return fail("give the file's name in the view, without a version extension");
  char view[256];
  if (vob_utl_get_view_from_path(name.c_str(), view, sizeof view) != TBS_ST_OK)
    return fail("not a pathname through a view (\\\\view\\TAG\\...)");
  int state = VIEW_FILE_ABSENT;
  const int state_status = view_file_state(name.c_str(), &state);
  if (state_status == TBS_ST_NOT_FOUND) return fail(std::string("no such view: ") + view);
  if (state_status != TBS_ST_OK) return fail("not a file of a view's directory");
  switch (state) {
    case VIEW_FILE_ABSENT:
      return fail("no such file");
    case VIEW_FILE_PRIVATE:
      return fail("not an element (a view-private file); it has no predecessor to compare with");
    case VIEW_FILE_DIRECTORY:
      return fail("a directory; only files are compared");
    default:
      break;
  }
  vob_handle_t vob = 0;
  vob_dbid_t loaded = 0;
  int checked_out = 0;
  if (view_file_loaded_version(name.c_str(), &vob, &loaded, &checked_out) != TBS_ST_OK)
    return fail("not an element; it has no predecessor to compare with");
  vob_dbid_t predecessor = loaded;
  if (checked_out && vob_ver_get_pred_ver(vob, loaded, &predecessor) != TBS_ST_OK)
    return fail("the version it was checked out from cannot be found");
  Area area;
  const char* old_text = nullptr;
  char id[1024];
  if (area.get() == STG_NULL_AREA || vob_ver_get_contents(vob, predecessor, area.get(), &old_text) != TBS_ST_OK ||
      !old_text || vob_ver_get_idstr(vob, predecessor, id, sizeof id) != TBS_ST_OK)
    return fail("its predecessor version cannot be read");
  const auto host = plat::ToHostPath(name);
  std::string new_text;
  if (!host || !ReadHostFile(*host, &new_text)) return fail("the file cannot be read");
  const std::string diff = UnifiedDiff(old_text, new_text, name + "@@" + id, name);
  if (diff.empty()) {
    out << "Files are identical: " << name << "@@" << id << " and " << name << "\n";
  } else {
    out << diff;
  }
  return true;
}

int Diff(const std::vector<std::string>& args, std::size_t first, const std::string& home, std::ostream& out,
         std::ostream& err) {
  std::vector<std::string> files;
  bool options_done = false;
  for (std::size_t i = first; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!options_done && arg == "--") {
      options_done = true;
    } else if (!options_done && (arg == "-graphical" || arg == "-g" || arg == "-pred")) {
      // The compare is always with the predecessor and drawn in the terminal.
    } else if (!options_done && arg.size() > 1 && arg[0] == '-') {
      err << "stratatool: diff: unknown option '" << Shown(arg) << "'\n" << kUsage << "\n";
      return 2;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    err << "stratatool: diff: no file given\n" << kUsage << "\n";
    return 2;
  }
  const fs::path database = fs::path(home) / "rvdlg.db";
  std::error_code error;
  if (!fs::is_regular_file(database, error)) {
    err << "stratatool: there is no repository in " << home << " ('rvdlg init' makes one)\n";
    return 1;
  }
  if (!plat::SetHome(home)) {
    err << "stratatool: cannot use the home directory '" << home << "'\n";
    return 1;
  }
  std::string why;
  auto store = client_local::Store::OpenFile(database, &why);
  if (!store) {
    err << "stratatool: " << why << "\n";
    return 1;
  }
  client_local::UseStore(std::move(store));
  int status = 0;
  {
    QuietMessages quiet;
    for (const std::string& file : files) {
      try {
        if (!CompareWithPredecessor(file, out, err)) status = 1;
      } catch (const std::exception& e) {
        err << "stratatool: diff: " << Shown(file) << ": " << e.what() << "\n";
        status = 1;
      }
    }
  }
  out << std::flush;
  client_local::UseStore(nullptr);
  return status;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string home = plat::DefaultHome();
  std::size_t i = 0;
  while (i < args.size() && args[i] == "--home") {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      err << "stratatool: --home needs a directory\n" << kUsage << "\n";
      return 2;
    }
    home = args[i + 1];
    i += 2;
  }
  if (i >= args.size()) {
    err << "stratatool: a command is required\n" << kUsage << "\n";
    return 2;
  }
  if (args[i] == "diff") return Diff(args, i + 1, home, out, err);
  err << "stratatool: unknown command '" << Shown(args[i]) << "' (only diff is provided here)\n" << kUsage << "\n";
  return 2;
}

}  // namespace stratatool
