#pragma once
// The stream chooser: a stream picked from the project tree, to deliver
// from, to rebase, for a baseline, or as the default deliver target.
#include "cm/cm_dialog.h"
#include "cm/hosted_controls.h"
#include "flm.h"

class CStreamChooser : public CCmDialog {
 public:
  // What the stream is chosen for (the RV_STREAM_CHOOSER_* of the entry).
  enum Mode { kDeliver = 1, kRebase = 2, kBaseline = 3, kDeliverTarget = 4 };
  static bool IsMode(int mode) { return mode >= kDeliver && mode <= kDeliverTarget; }

  // The VOB may be null (the tree then starts without one).
  CStreamChooser(const FLM_Vob& vob, Mode mode, plat::Window* parent = nullptr);

  // After OK: the stream chosen.
  const FLM_Stream& Chosen() const { return stream_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  plat::LResult OnNotify(plat::NotifyHeader& header) override;
  void OnOK() override;

 private:
  void ApplyMode();
  void SetUpTree();
  void ApplyAllStreams();
  void OnSelection(const std::string& selector);
  // A failure of OK: the message, and the dialog stays.
  void Refuse(int sentence);

  const FLM_Vob vob_;
  const Mode mode_;
  CProjectTree tree_;
  FLM_Stream stream_;
  FLM_Project project_;
  bool is_stream_ = false;
};
