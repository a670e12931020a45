// Drives of views and the views started at logon. The store keeps them; a
// drive is also a symbolic link HOME/drives/x to the view's root and an
// assignment in this process's path map.
#include <cctype>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "imsg.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "platform/machine.h"
#include "platform/pathmap.h"
#include "view.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using client_local::repo::Num;
using client_local::repo::Text;
namespace views = client_local::views;
namespace fs = std::filesystem;

namespace {

// The letters this process put in its path map from the store, so that a
// store put in later replaces them and leaves other assignments alone.
std::mutex g_applied_mutex;
std::set<char>& Applied() {
  static auto* letters = new std::set<char>();
  return *letters;
}

void Assign(char letter, const std::string& tag) {
  std::lock_guard lock(g_applied_mutex);
  if (plat::AssignDrive(letter, "\\\\view\\" + tag) == plat::AssignStatus::kOk) Applied().insert(letter);
}

void Unassign(char letter) {
  std::lock_guard lock(g_applied_mutex);
  plat::UnassignDrive(letter);
  Applied().erase(letter);
}

fs::path LinkOf(char letter) {
  return plat::Home() / "drives" / std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
}

// "K:" (either case) as 'K'; "" as '\0'; nothing for any other text.
std::optional<char> ReadDrive(const std::string& text) {
  if (text.empty()) return '\0';
  if (text.size() != 2 || text[1] != ':' || !std::isalpha(static_cast<unsigned char>(text[0]))) return std::nullopt;
  return static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
}

// The view a stored drive belongs to ("" for none).
std::string DriveOwner(Store& s, char letter) {
  Statement read(s, "SELECT view FROM view_drives WHERE letter = ?1");
  read.Bind(1, std::string(1, letter));
  return read.Step() ? read.Text(0) : std::string();
}

// A letter is in use when another view has it, or the machine has it and it
// is not already this view's.
bool InUse(Store& s, char letter, const std::string& tag) {
  const std::string owner = DriveOwner(s, letter);
  if (!owner.empty()) return owner != tag;
  std::error_code error;
  return (plat::MachineInfo().logical_drives & (1u << (letter - 'A'))) != 0 ||
         fs::exists(fs::symlink_status(LinkOf(letter), error));
}

// Links a drive to the view's root; the link goes again when the command is undone.
int Link(Store& s, char letter, const std::string& tag) {
  const fs::path link = LinkOf(letter);
  std::error_code error;
  fs::create_directories(link.parent_path(), error);
  if (fs::is_symlink(fs::symlink_status(link, error))) fs::remove(link, error);
  fs::create_directory_symlink(views::RootOf(tag), link, error);
  if (error) {
    imsg_print(IMSG_ERROR, "Cannot link the drive %c: to the view \"%s\": %s.\n", letter, tag, error.message());
    return TBS_ST_FAILURE;
  }
  s.OnRollback([link] {
    std::error_code ignored;
    fs::remove(link, ignored);
  });
  return TBS_ST_OK;
}

// Drops the stored drives a query selects (column 0: the letter), then
// their links and assignments once the store has them gone.
int DropDrives(const char* select, const std::string& tag, bool logon_too) {
  std::vector<char> dropped;
  const int rc = InStore([&](Store& s) {
    if (!tag.empty() && !views::LoadView(s, tag)) return TBS_ST_NOT_FOUND;
    Statement read(s, select);
    if (!tag.empty()) read.Bind(1, tag);
    while (read.Step()) dropped.push_back(read.Text(0).at(0));
    for (char letter : dropped) {
      Statement drop(s, "DELETE FROM view_drives WHERE letter = ?1");
      drop.Bind(1, std::string(1, letter)).Run();
    }
    if (logon_too) {
      Statement drop(s, "DELETE FROM view_logon WHERE view = ?1");
      drop.Bind(1, tag).Run();
    }
    return TBS_ST_OK;
  });
  if (rc == TBS_ST_OK) views::UnlinkDrives(dropped);
  return rc;
}

}  // namespace

namespace client_local::views {

std::vector<char> StoredDrives(Store& s, const std::string& tag) {
  std::vector<char> letters;
  Statement read(s, "SELECT letter FROM view_drives WHERE view = ?1 ORDER BY letter");
  read.Bind(1, tag);
  while (read.Step()) letters.push_back(read.Text(0).at(0));
  return letters;
}

void UnlinkDrives(const std::vector<char>& letters) {
  for (char letter : letters) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(LinkOf(letter), error))) fs::remove(LinkOf(letter), error);
    Unassign(letter);
  }
}

}  // namespace client_local::views

namespace client_local {

void ApplyStoredDrives(Store* store) {
  {
    std::lock_guard lock(g_applied_mutex);
    for (char letter : Applied()) plat::UnassignDrive(letter);
    Applied().clear();
  }
  if (!store) return;
  std::vector<std::pair<char, std::string>> drives;
  store->Command([&](Store& s) {
    Statement read(s, "SELECT letter, view FROM view_drives ORDER BY letter");
    while (read.Step()) drives.emplace_back(read.Text(0).at(0), read.Text(1));
    return TBS_ST_OK;
  });
  for (const auto& [letter, tag] : drives) Assign(letter, tag);
}

}  // namespace client_local

int view_add_mapping(const char* tag, const char* drive, int persistent) {
  return LocalCall("view_add_mapping", {Text(tag), Text(drive), Num(persistent)}, NonNull(tag, drive), [&] {
    const std::optional<char> letter = ReadDrive(drive);
    if (!letter || *letter == 'M') {
      imsg_print(IMSG_ERROR, "\"%s\" is no drive a view can have.\n", std::string(drive));
      return TBS_ST_INVALID_ARG;
    }
    const int rc = InStore([&](Store& s) {
      if (!views::LoadView(s, tag)) {
        imsg_print(IMSG_ERROR, "There is no view with the tag \"%s\".\n", std::string(tag));
        return TBS_ST_NOT_FOUND;
      }
      if (*letter) {
        if (InUse(s, *letter, tag)) {
          imsg_print(IMSG_ERROR, "The drive %c: is in use.\n", *letter);
          return TBS_ST_ALREADY;
        }
        Statement add(s, "INSERT OR REPLACE INTO view_drives (letter, view) VALUES (?1, ?2)");
        add.Bind(1, std::string(1, *letter)).Bind(2, std::string(tag)).Run();
        if (int linked = Link(s, *letter, tag)) return linked;
      }
      if (persistent) {
        Statement logon(s, "INSERT INTO view_logon (view, letter) VALUES (?1, ?2)"
                           " ON CONFLICT (view) DO UPDATE SET letter = excluded.letter");
        logon.Bind(1, std::string(tag)).Bind(2, *letter ? std::string(1, *letter) : std::string()).Run();
      }
      return TBS_ST_OK;
    });
    if (rc == TBS_ST_OK && *letter) Assign(*letter, tag);
    return rc;
  });
}

int view_remove_mappings(const char* tag, int flag) {
  return LocalCall("view_remove_mappings", {Text(tag), Num(flag)}, NonNull(tag) && *tag, [&] {
    return DropDrives("SELECT letter FROM view_drives WHERE view = ?1", tag, flag != 0);
  });
}

int view_drop_transient_mappings() {
  return LocalCall("view_drop_transient_mappings", {}, true, [&] {
    return DropDrives("SELECT letter FROM view_drives d WHERE NOT EXISTS"
                      " (SELECT 1 FROM view_logon l WHERE l.view = d.view AND l.letter = d.letter)",
                      std::string(), false);
  });
}

int view_get_logon_entries(std::vector<view_logon_entry_s>* entries) {
  return LocalCall("view_get_logon_entries", {}, NonNull(entries), [&](Store& s) {
    std::vector<view_logon_entry_s> found;
    Statement read(s, "SELECT view, letter FROM view_logon ORDER BY seq");
    while (read.Step()) {
      const std::string letter = read.Text(1);
      found.push_back({read.Text(0), letter.empty() ? std::string() : letter + ":"});
    }
    *entries = std::move(found);
    return TBS_ST_OK;
  });
}
