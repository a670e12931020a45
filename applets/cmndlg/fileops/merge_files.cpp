// Merging files: the client's merge command, graphical, with its messages
// shown in an error box when it fails.
#include <exception>
#include <string>
#include <vector>

#include "cmd_merge.h"
#include "fileops/common_status.h"
#include "fileops/entry_points.h"
#include "gcl_capture.h"
#include "gcl_status.h"
#include "gcl_string.h"
#include "platform/dialog.h"
#include "platform/resources.h"
#include "res/library_resources.h"
#include "res/resource_ids.h"
#include "stg.h"
#include "rvcmndlg/status.h"
#include "tbs.h"

using namespace rvcmndlg::res;

// The statuses callers see by their public names are the client's.
static_assert(rvcmndlg::status::kOk == TBS_ST_OK && rvcmndlg::status::kFailure == TBS_ST_FAILURE &&
              rvcmndlg::status::kNotFound == TBS_ST_NOT_FOUND && rvcmndlg::status::kInvalidArg == TBS_ST_INVALID_ARG &&
              rvcmndlg::status::kInterrupted == TBS_ST_INTERRUPTED && rvcmndlg::status::kNoMemory == TBS_ST_NO_MEMORY);

namespace {

// A storage area of the client, deleted when the merge is over.
class MergeArea {
 public:
  MergeArea() : area_(stg_create_area(1012)) {}
  ~MergeArea() {
    if (area_ != STG_NULL_AREA) stg_delete_area(area_);
  }
  MergeArea(const MergeArea&) = delete;
  MergeArea& operator=(const MergeArea&) = delete;
  stg_area_t get() const { return area_; }

 private:
  stg_area_t area_;
};

void ShowMergeError(const std::string& messages) {
  plat::MessageBox(nullptr, StripStyle(plat::LoadString(IDS_ERROR_MERGE) + "\r\n" + messages), std::string(),
                   plat::mb::Ok | plat::mb::IconError);
}

// The merge block in the area: the contributors and names are the area's
// copies. False when the area has no room.
bool FillBlock(stg_area_t area, const std::string& target, const std::string& base,
               const std::vector<std::string>& contributors, int flag, cmd_merge_args_s* args) {
  args->version = 5;
  args->area = area;
  if (!contributors.empty()) {
    auto** names = static_cast<const char**>(stg_alloc(area, contributors.size() * sizeof(const char*)));
    if (!names) return false;
    for (std::size_t i = 0; i < contributors.size(); ++i)
      if (!(names[i] = stg_strdup(area, contributors[i].c_str()))) return false;
    args->contributors = names;
    args->contributor_count = static_cast<std::uint32_t>(contributors.size());
  }
  args->target = stg_strdup(area, target.c_str());
  if (!args->target) return false;
  if (!base.empty() && !(args->base = stg_strdup(area, base.c_str()))) return false;
  args->graphical = 1;
  args->mode = CMD_MERGE_MODE_GRAPHICAL;
  args->record_only = flag;
  return true;
}

int MergeFiles(const std::string& target, const std::string& base, const std::vector<std::string>& contributors,
               int flag) {
  GCL_Status collected;
  GCL_CaptureScope capture(collected);
  MergeArea area;
  if (area.get() == STG_NULL_AREA) return TBS_ST_NO_MEMORY;
  int status = TBS_ST_NO_MEMORY;
  try {
    cmd_merge_args_s args;
    if (FillBlock(area.get(), target, base, contributors, flag, &args)) status = cmd_merge(&args);
  } catch (const std::exception& e) {
    // The command's exception is the merge's failure, with its text.
    collected.push_message(GCL_String((std::string(e.what()) + "\n").c_str()));
    status = TBS_ST_FAILURE;
  }
  capture.End();
  if (status != TBS_ST_OK && status != TBS_ST_INTERRUPTED) ShowMergeError(collected.messages().c_str());
  return status;
}

}  // namespace

int rvMergeFiles(const std::string& target, const std::string& base, const std::vector<std::string>& contributors,
                 int flag) {
  rvcmndlg::EntryScope resources;
  std::string failure;
  try {
    return MergeFiles(target, base, contributors, flag);
  } catch (const std::exception& e) {
    failure = std::string(e.what()) + "\n";
  } catch (...) {
    failure = "Unexpected failure.\n";
  }
  try {
    ShowMergeError(failure);
  } catch (...) {
    // Nothing more can be said; the status says it.
  }
  return TBS_ST_FAILURE;
}
