// Whether the store and the views' directories agree.
#include "view_check.h"

#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "view.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;

namespace {

namespace fs = std::filesystem;
namespace views = client_local::views;
namespace repo = client_local::repo;

struct Recorded {
  vob_handle_t vob = 0;
  vob_dbid_t version = 0;
  bool checked_out = false;
};

bool Writable(const fs::path& path) {
  std::error_code error;
  const auto perms = fs::status(path, error).permissions();
  return !error && (perms & fs::perms::owner_write) != fs::perms::none;
}

// Whether the VOB holds this check-out (a checked-out version) for the view.
bool HasCheckout(Store& s, const std::string& view, vob_handle_t vob, vob_dbid_t version) {
  Statement q(s, "SELECT 1 FROM vob_checkouts WHERE vob = ?1 AND version = ?2 AND view = ?3");
  q.Bind(1, vob).Bind(2, version).Bind(3, view);
  return q.Step();
}

class ViewChecker {
 public:
  ViewChecker(Store& s, const views::ViewRow& view, bool repair, view_check_result_t* result)
      : s_(s), view_(view), root_(views::RootOf(view.tag)), repair_(repair), result_(result) {}

  void Run() {
    LoadRecords();
    CountFiles();
    for (const auto& [path, record] : records_) CheckRecorded(path, record);
    CheckCheckouts();
  }

 private:
  void LoadRecords() {
    Statement q(s_, "SELECT path, vob, version, checked_out FROM view_files WHERE view = ?1 ORDER BY path");
    q.Bind(1, view_.tag);
    while (q.Step())
      records_[q.Text(0)] = Recorded{static_cast<vob_handle_t>(q.Int(1)), static_cast<vob_dbid_t>(q.Int(2)),
                                     q.Int(3) != 0};
  }

  void CountFiles() {
    std::error_code error;
    for (fs::recursive_directory_iterator it(root_, error), end; !error && it != end; it.increment(error))
      if (it->is_regular_file(error)) ++result_->files;
  }

  void Report(const std::string& path, int kind, bool repaired = false) {
    result_->findings.push_back(view_check_finding_t{view_.tag, path, kind, repaired});
  }

  void CheckRecorded(const std::string& relative, const Recorded& record) {
    const fs::path path = root_ / relative;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(path, error))) {
      ++result_->files;
      if (record.checked_out)
        Report(relative, VIEW_CHECK_CHECKOUT_MISSING);
      else
        Report(relative, VIEW_CHECK_MISSING, repair_ && WriteAgain(path, record));
      return;
    }
    if (record.checked_out) {
      if (!HasCheckout(s_, view_.tag, record.vob, record.version))
        Report(relative, VIEW_CHECK_NOT_CHECKED_OUT);
      else if (!Writable(path))
        Report(relative, VIEW_CHECK_CHECKOUT_READ_ONLY, repair_ && MakeWritable(path));
      return;
    }
    if (views::FileState(s_, view_.tag, relative) == VIEW_FILE_HIJACKED) Report(relative, VIEW_CHECK_HIJACKED);
  }

  // Every check-out of the view whose file the view's rules show must be
  // recorded as the view's check-out.
  void CheckCheckouts() {
    std::vector<std::pair<vob_handle_t, vob_dbid_t>> checkouts;
    {
      Statement q(s_, "SELECT c.vob, c.version FROM vob_checkouts c JOIN vob_objs o ON o.vob = c.vob"
                      " AND o.dbid = c.version WHERE c.view = ?1 AND o.mtype = ?2 ORDER BY c.vob, c.version");
      q.Bind(1, view_.tag).Bind(2, VOB_MTYPE_VERSION);
      while (q.Step()) checkouts.emplace_back(static_cast<vob_handle_t>(q.Int(0)), static_cast<vob_dbid_t>(q.Int(1)));
    }
    const configspec_t spec = views::ParsedSpec(view_);
    for (const auto& [vob, version] : checkouts) {
      const auto object = repo::Load(s_, vob, version);
      const auto element = object ? repo::Load(s_, vob, object->elem) : std::nullopt;
      if (!element) continue;
      bool selected_out = false;
      if (views::Select(s_, view_, spec, vob, element->dbid, &selected_out) != version || !selected_out) continue;
      const std::string relative =
          views::ElementFile(s_, view_.tag, vob, element->name).lexically_relative(root_).generic_string();
      const auto found = records_.find(relative);
      if (found != records_.end() && found->second.checked_out && found->second.version == version) continue;
      if (found != records_.end() && !fs::exists(root_ / relative)) continue;  // reported as missing
      Report(relative, VIEW_CHECK_NOT_RECORDED);
    }
  }

  bool WriteAgain(const fs::path& path, const Recorded& record) {
    const auto version = repo::Load(s_, record.vob, record.version);
    if (!version) return false;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    return views::ReplaceFile(path, version->text, fs::perms(0444)) == 0;
  }

  static bool MakeWritable(const fs::path& path) {
    std::error_code error;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, error);
    return !error;
  }

  Store& s_;
  const views::ViewRow& view_;
  const fs::path root_;
  const bool repair_;
  view_check_result_t* result_;
  std::map<std::string, Recorded> records_;
};

}  // namespace

int view_check_views(int repair, view_check_result_t* result) {
  return LocalCall("view_check_views", {repo::Num(repair)}, NonNull(result), [&](Store& s) {
    *result = view_check_result_t{};
    std::vector<std::string> tags;
    {
      Statement q(s, "SELECT tag FROM views ORDER BY tag");
      while (q.Step()) tags.push_back(q.Text(0));
    }
    for (const std::string& tag : tags) {
      std::error_code error;
      const auto view = views::LoadView(s, tag);
      if (!view || !fs::is_directory(views::RootOf(tag), error)) continue;
      ViewChecker(s, *view, repair != 0, result).Run();
    }
    return TBS_ST_OK;
  });
}

const char* view_check_kind_text(int kind) {
  switch (kind) {
    case VIEW_CHECK_MISSING:
      return "missing (a checked-in copy is not there)";
    case VIEW_CHECK_HIJACKED:
      return "hijacked (a checked-in copy changed by hand)";
    case VIEW_CHECK_CHECKOUT_MISSING:
      return "missing check-out (the checked-out file is not there)";
    case VIEW_CHECK_CHECKOUT_READ_ONLY:
      return "read-only check-out (the checked-out file cannot be written)";
    case VIEW_CHECK_NOT_CHECKED_OUT:
      return "not checked out (recorded as a check-out the VOB does not have)";
    case VIEW_CHECK_NOT_RECORDED:
      return "unrecorded check-out (the file is not recorded as the view's check-out)";
    default:
      return "unknown disagreement";
  }
}
