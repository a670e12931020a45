// Registry hive files: any file reads or is refused, and what reads is
// written and read back the same.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../../platform/src/hive_file.h"
#include "fuzz_target.h"

namespace {

std::filesystem::path Scratch(const char* leaf) {
  static const std::filesystem::path dir = [] {
    auto path = std::filesystem::temp_directory_path() / ("rv-fuzz-hive-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    static const std::filesystem::path removed = path;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(removed, ignored);
    });
    return path;
  }();
  return dir / leaf;
}

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

RV_FUZZ_TARGET(hive, input) {
  const auto file = Scratch("in.reg");
  std::ofstream(file, std::ios::binary | std::ios::trunc) << input;
  plat::KeyNode root;
  if (!plat::ReadHiveFile(file, root).ok()) return;
  const auto once = Scratch("once.reg");
  RV_FUZZ_CHECK(plat::WriteHiveFile(once, root).ok());
  plat::KeyNode again;
  RV_FUZZ_CHECK(plat::ReadHiveFile(once, again).ok());
  const auto twice = Scratch("twice.reg");
  RV_FUZZ_CHECK(plat::WriteHiveFile(twice, again).ok());
  RV_FUZZ_CHECK(Slurp(once) == Slurp(twice));
}
