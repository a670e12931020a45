#pragma once
// Store files as earlier releases left them: for each schema version before
// the latest, a database of that version with data in it. The SQL is the
// schema each release shipped with, copied here and never edited; a new
// migration adds its step (and the data written at that step) here.
#include <filesystem>

namespace rv_test {

// The schema versions an old store can have: 0 to OldStoreVersions() - 1.
int OldStoreVersions();

// Makes the file (which must not exist) a store of the schema version, as if
// every release up to it had written its data: the steps up to the version,
// each followed by its data.
void MakeOldStore(const std::filesystem::path& file, int version);

}  // namespace rv_test
