#pragma once
// Making elements of view-private files, one file at a time, for the
// add-to-source operation and check-in's add path: the parent directories
// checked out on the way are collected and checked back in by Finish at the
// end of the run.
#include <set>
#include <string>
#include <vector>

#include "cmd_checkout.h"

class CFileItem;
class CProgressDlg;
class GCL_Status;

class CAddToSrcFactory {
 public:
  // Makes the file an element: 1 when it was made; otherwise the status
  // holds the failure and its messages. The names are the run's files (the
  // first call of a run keeps them); the callback and its context are the
  // version confirmation handed to the repository.
  int Add(GCL_Status& status, CFileItem& item, const std::string& comment, int keep, int master,
          CProgressDlg& progress, int preserve_time, const std::vector<std::string>& names,
          cmd_checkout_confirm_fn confirm, void* context);
  // Checks the parent directories collected back in; what could not be
  // checked in, or stays checked out, is in the status.
  void Finish(GCL_Status& status);

  // The make-element command's report of a stage for a name.
  static int ProgressCallback(const char* path, int stage, int directory, void* context);

 private:
  int OnStage(const std::string& path, int stage, bool directory);
  void CheckOutParent(const std::string& path);
  // A failed file's parent, checked out for it alone, is checked in no more.
  void ReleaseParent(const std::string& path);
  void FinishDirectory(GCL_Status& status, const std::string& directory);
  bool IsRunFile(const std::string& path) const;

  int m_keep = 0;
  CProgressDlg* m_progress = nullptr;
  std::vector<std::string> m_parents;  // the directories to check in at the end
  std::string m_comment;
  std::set<std::string> m_names;  // the run's files, normalised
  int m_first = 1;
  std::set<std::string> m_filled;       // directories elements went into this run
  std::vector<std::string> m_madeNow;  // elements the running command made
};

// The directory of a pathname: the name without its last component ("."
// when it has none).
std::string ParentOf(const std::string& path);
