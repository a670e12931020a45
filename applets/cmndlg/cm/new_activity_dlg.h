#pragma once
// "New Activity": a headline and an ID (or an automatic one) for a new
// activity of a stream, created when the user presses OK.
#include "cm/cm_dialog.h"
#include "flm.h"

class CNewActivityDialog : public CCmDialog {
 public:
  CNewActivityDialog(const FLM_Stream& stream, plat::Window* parent = nullptr);
  // After OK: the activity made.
  const FLM_Activity& Created() const { return created_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  void OnOK() override;

 private:
  bool UsesOwnId() const;
  void UpdateControls();

  const FLM_Stream stream_;
  FLM_Activity created_;
};
