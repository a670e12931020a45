#pragma once
// The controls of the library's dialog templates, as the templates write them.
#include "platform/resources.h"
#include "platform/types.h"

namespace rvcmndlg::res {

inline plat::ControlTemplate Check(int id, const char* text) {
  return plat::ControlTemplate{"button", id, text, plat::bs::AutoCheckBox | plat::ws::TabStop};
}

inline plat::ControlTemplate Radio(int id, const char* text, bool first_of_group = false) {
  return plat::ControlTemplate{"button", id, text,
                               plat::bs::AutoRadioButton | plat::ws::TabStop | (first_of_group ? plat::ws::Group : 0u)};
}

inline plat::ControlTemplate Group(const char* text) {
  return plat::ControlTemplate{"button", plat::IdStatic, text, plat::bs::GroupBox};
}

inline plat::ControlTemplate Push(int id, const char* text, bool is_default = false) {
  return plat::ControlTemplate{"button", id, text,
                               (is_default ? plat::bs::DefPushButton : plat::bs::PushButton) | plat::ws::TabStop};
}

inline plat::ControlTemplate Label(const char* text, int id = plat::IdStatic) {
  return plat::ControlTemplate{"static", id, text, 0};
}

inline plat::ControlTemplate EditField(int id, std::uint32_t style = 0) {
  return plat::ControlTemplate{"edit", id, "", style | plat::ws::TabStop};
}

inline plat::ControlTemplate Report(int id) {
  return plat::ControlTemplate{"listview", id, "",
                               plat::lvs::Report | plat::lvs::SingleSel | plat::lvs::ShowSelAlways | plat::ws::TabStop};
}

}  // namespace rvcmndlg::res
