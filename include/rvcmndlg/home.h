#pragma once
// The home a caller opens before it calls the library: library pathnames map
// below it (views in HOME/views, drives in HOME/drives), settings live in
// HOME/config and the repository store in HOME/rvdlg.db (as `rvdlg init`
// makes it). One home is open at a time in a process.
#include <memory>
#include <string>

#include "platform/export.h"

namespace rvcmndlg {

class RVCMNDLG_API Home {
 public:
  // Opens the home at `directory`, making the directory when it is missing.
  // Nullptr with a sentence in *error when it cannot be used (it cannot be
  // made, its settings or store cannot be read, another home is open);
  // nothing is changed then.
  static std::unique_ptr<Home> Open(const std::string& directory, std::string* error);
  // Closes the store; the settings stay where they were written.
  ~Home();
  Home(const Home&) = delete;
  Home& operator=(const Home&) = delete;

  const std::string& Directory() const { return directory_; }

 private:
  explicit Home(std::string directory) : directory_(std::move(directory)) {}
  std::string directory_;
};

}  // namespace rvcmndlg
