#pragma once
// The change-management controls: a timeline of baselines, a tree of
// baselines and a tree of projects and streams, hosted by class id in the
// library's dialogs. They are installed apart from the library, as a program
// installs them at its start; until then the dialogs show them as missing.
#include "cmctls/class_ids.h"

namespace cmctls {

// Registers (or removes) the four controls for this process.
void Install();
void Uninstall();

}  // namespace cmctls
