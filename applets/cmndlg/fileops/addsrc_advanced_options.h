#pragma once
// "Advanced Options" of adding to source control: whether the current
// replica masters every branch made for a new element.
#include "platform/dialog.h"

class CAddSrcAdvancedOptions : public plat::Dialog {
 public:
  static constexpr const char* kHelpTopic = "rvint_exp/addsrcadvancedoptions.htm";
  explicit CAddSrcAdvancedOptions(plat::Window* parent = nullptr);
  int m_master = 0;

 protected:
  void DoDataExchange(plat::DataExchange& dx) override;
  void OnHelp() override;
};
