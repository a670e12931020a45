#pragma once
// The name prompts of the metadata pages: a plain answer (template 833), an
// attribute type and value (842), a label type (843) and a trigger type
// (841). Each is given its VOB before it runs; after OK the result members
// hold the answer and the type found for it.
#include <string>

#include "platform/dialog.h"
#include "rvl_typeobj.h"
#include "rvl_vob.h"

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

class CPromptAttribute : public plat::Dialog {
 public:
  explicit CPromptAttribute(plat::Window* parent);

  RVL_Vob m_vob;
  // Change mode: the type is the attribute's and stays; OK starts enabled.
  bool m_change_mode = false;
  std::string m_type_name, m_value;
  // Found by the last lookup, which OK makes for the name in the field.
  RVL_AttributeType m_type;
  std::string m_value_kind, m_default;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(plat::DataExchange& dx) override;
  bool OnCommand(int id, int code) override;
  void OnOK() override;

 private:
  // Looks the name in the field up; false (after the box) when the VOB has
  // no such attribute type.
  bool LookUp();
  bool m_looking_up = false;
};

class CPromptLabelType : public plat::Dialog {
 public:
  explicit CPromptLabelType(plat::Window* parent);

  RVL_Vob m_vob;
  std::string m_name;
  int m_move = 0;
  RVL_LabelType m_type;

 protected:
  void DoDataExchange(plat::DataExchange& dx) override;
  // Stays open, with the repository's message, on a name that is no label type.
  void OnOK() override;
};

class CPromptTriggerType : public plat::Dialog {
 public:
  explicit CPromptTriggerType(plat::Window* parent);

  RVL_Vob m_vob;
  // Whether "Attach to element" and "Inherit from element" matter.
  bool m_boxes_matter = false;
  std::string m_name;
  int m_attach = 0, m_inherit = 0;
  RVL_TriggerType m_type;

 protected:
  void DoDataExchange(plat::DataExchange& dx) override;
  void OnOK() override;
};
