#pragma once
// The Tracklane record chooser: the records of a stream's project, a new
// record submitted on the spot (when the project allows it), the tracker's
// own browser, and a record's form.
#include "cm/cm_dialog.h"
#include <vector>

#include "flm.h"
#include "kelp.h"

class CBrowseForTLActivityDialog : public CCmDialog {
 public:
  CBrowseForTLActivityDialog(const FLM_Stream& stream, const FLM_TLEntityID& current, plat::Window* parent = nullptr);
  // After OK: the record chosen.
  const FLM_TLEntityID& Chosen() const { return chosen_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  void OnOK() override;

 private:
  void Fill();
  // Selects the record's row, adding one first when there is none.
  void SelectRecord(const FLM_TLEntityID& id, const std::string& headline, const std::string& state);
  const FLM_TLEntityID* Selected() const;
  void NewRecord();
  void Browse();
  void ShowRecord();

  const FLM_Stream stream_;
  FLM_Project project_;
  FLM_TLEntityID chosen_;
  std::vector<FLM_TLEntityID> records_;  // by row (row data is the index)
};
