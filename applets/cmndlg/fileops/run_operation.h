#pragma once
// What every file-operation entry does: the library's resources, the
// progress window over the caller, the operation on its worker, the loop on
// the caller's thread, the usage event, and the count of files that
// succeeded.
#include <functional>
#include <memory>

class CCommonOperation;
class CProgressDlg;
namespace plat {
class ObjectArray;
class Window;
}  // namespace plat

using OperationFactory =
    std::function<std::unique_ptr<CCommonOperation>(CProgressDlg& progress, plat::ObjectArray& entries)>;

struct OperationRun {
  int title_id;
  int animation_id;
  const char* usage_event;  // the entry's name for the usage data
};

// Never throws: an unexpected exception becomes an error box and 0.
int RunFileOperation(plat::ObjectArray& entries, plat::Window* parent, int show_progress, const OperationRun& run,
                     const OperationFactory& make);
