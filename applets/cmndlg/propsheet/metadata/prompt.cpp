#include "propsheet/metadata/prompt.h"

#include "res/resource_ids.h"

using namespace rvcmndlg::res;

CPrompt::CPrompt(plat::Window* parent, std::string caption, std::string prompt)
    : plat::Dialog(IDD_PROMPT, parent), m_caption(std::move(caption)), m_prompt(std::move(prompt)) {}

bool CPrompt::OnInitDialog() {
  SetText(m_caption);
  SetDlgItemText(IDC_PROMPT_TEXT, m_prompt);
  return plat::Dialog::OnInitDialog();
}

void CPrompt::DoDataExchange(plat::DataExchange& dx) { plat::DdxText(dx, IDC_PROMPT_ANSWER, m_text); }
