#pragma once
// A name asked of the user (template 833): the caption and the prompt are the
// caller's; after OK the answer is in m_text.
#include <string>

#include "platform/dialog.h"

class CPrompt : public plat::Dialog {
 public:
  CPrompt(plat::Window* parent, std::string caption, std::string prompt);

  std::string m_text;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(plat::DataExchange& dx) override;

 private:
  std::string m_caption, m_prompt;
};
