#include "sample_dialog.h"

#include "platform/controls.h"

namespace rvdlg {

void RegisterSampleResources() {
  using plat::ControlTemplate;
  plat::DialogTemplate t;
  t.id = kSampleTemplate;
  t.caption = "rvdlg sample";
  t.controls = {
      ControlTemplate{"static", plat::IdStatic, "This is how rvdlg shows a dialog.", 0},
      ControlTemplate{"static", plat::IdStatic, "&Name:", 0},
      ControlTemplate{"edit", kSampleName, "", 0},
      ControlTemplate{"button", kSampleReserved, "&Reserved", plat::bs::AutoCheckBox},
      ControlTemplate{"button", kSampleUnreserved, "&Unreserved if already reserved",
                      plat::bs::AutoCheckBox},
      ControlTemplate{"static", plat::IdStatic, "&Priority:", 0},
      ControlTemplate{"combobox", kSamplePriority, "", plat::cbs::DropDownList},
      ControlTemplate{"button", plat::IdOk, "OK", plat::bs::DefPushButton},
      ControlTemplate{"button", plat::IdCancel, "Cancel", plat::bs::PushButton},
  };
  plat::AppResources().AddDialog(std::move(t));
}

bool SampleDialog::OnInitDialog() {
  if (auto* combo = Item<plat::ComboBox>(kSamplePriority))
    for (const char* p : {"Low", "Normal", "High"}) combo->AddString(p);
  plat::Dialog::OnInitDialog();
  UpdateUnreserved();
  return true;
}

void SampleDialog::DoDataExchange(plat::DataExchange& dx) {
  plat::DdxText(dx, kSampleName, name);
  plat::DdxCheck(dx, kSampleReserved, reserved);
  plat::DdxCheck(dx, kSampleUnreserved, unreserved);
  plat::DdxCbIndex(dx, kSamplePriority, priority);
}

bool SampleDialog::OnCommand(int id, int code) {
  if (id == kSampleReserved && code == plat::bn::Clicked) {
    UpdateUnreserved();
    return true;
  }
  return plat::Dialog::OnCommand(id, code);
}

void SampleDialog::UpdateUnreserved() {
  auto* reserved_box = Item<plat::Button>(kSampleReserved);
  auto* unreserved_box = Item<plat::Button>(kSampleUnreserved);
  if (!reserved_box || !unreserved_box) return;
  const bool on = reserved_box->GetCheck() == plat::Checked;
  unreserved_box->EnableWindow(on);
  if (!on) unreserved_box->SetCheck(plat::Unchecked);
}

}  // namespace rvdlg
