#pragma once
// A fresh directory for one test, named after the test and the process, made
// the framework's home while alive; the end restores the home it found and
// removes the directory. Beside it, whole-file reads and writes.
#include <filesystem>
#include <string>

namespace rv_test {

class ScratchHome {
 public:
  explicit ScratchHome(const std::string& prefix = "rv-test");
  ~ScratchHome();
  ScratchHome(const ScratchHome&) = delete;
  ScratchHome& operator=(const ScratchHome&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& text);
bool IsWritable(const std::filesystem::path& path);

}  // namespace rv_test
