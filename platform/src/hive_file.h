#pragma once
// Internal: the hive files (user.reg, machine.reg) that keep the registry's
// keys on disk; hive_file.cpp describes their format.
#include <filesystem>

#include "registry_tree.h"

namespace plat {

// Reads a hive file into root. A missing file is an empty hive. A file that
// cannot be read (kIoError) or parsed (kCorruptHive, naming the line) leaves
// root as it was.
RegStatus ReadHiveFile(const std::filesystem::path& file, KeyNode& root);
// Writes the whole hive through a temporary file renamed over the target, so
// the target is always either the old or the new hive.
RegStatus WriteHiveFile(const std::filesystem::path& file, const KeyNode& root);

}  // namespace plat
