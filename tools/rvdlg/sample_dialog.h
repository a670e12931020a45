#pragma once
// A small dialog of rvdlg's own, to show how the hosts present a window
// before the library's commands arrive.
#include <string>

#include "platform/dialog.h"

namespace rvdlg {

inline constexpr int kSampleTemplate = 100;
inline constexpr int kSampleName = 1001;
inline constexpr int kSampleReserved = 1002;
inline constexpr int kSampleUnreserved = 1003;
inline constexpr int kSamplePriority = 1004;

// Registers the sample's template in the application's resources.
void RegisterSampleResources();

class SampleDialog : public plat::Dialog {
 public:
  explicit SampleDialog(plat::Window* parent = nullptr) : plat::Dialog(kSampleTemplate, parent) {}
  std::string name = "sample.txt";
  int reserved = 1;
  int unreserved = 0;
  int priority = 1;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(plat::DataExchange& dx) override;
  bool OnCommand(int id, int code) override;

 private:
  // "Unreserved" only makes sense while "Reserved" is ticked.
  void UpdateUnreserved();
};

}  // namespace rvdlg
