#include "cm/tl_activity_controls.h"

#include "cm/collected_messages.h"
#include "flm_imsg_redirector.h"
#include "kelp.h"
#include "platform/dialog.h"
#include "platform/types.h"
#include "tbs.h"

namespace {

// Between a record's display name and its headline in an entry.
constexpr char kSeparator[] = "   ";
constexpr std::size_t kTooltipCharacters = 80;

bool SameRecord(const FLM_TLEntityID& a, const FLM_TLEntityID& b) {
  return a.number() == b.number() && a.database() == b.database();
}

// The first characters of a UTF-8 text, never cutting one in two.
std::string FirstCharacters(const std::string& text, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool starts_character = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (starts_character && seen++ == count) return text.substr(0, i);
  }
  return text;
}

}  // namespace

// ---- the drop-down ----

CTLActivitiesCombo::CTLActivitiesCombo() = default;

CTLActivitiesCombo::~CTLActivitiesCombo() = default;

int CTLActivitiesCombo::SelectByActivity(const FLM_Activity& activity) {
  FLM_TLEntityID record;
  std::string headline;
  if (int st = activity.bound_tl_entity_id(&record)) return st;
  if (record.is_null()) return TBS_ST_OK;
  if (int st = activity.headline(&headline)) return st;
  return SelectRecord(record, headline);
}

int CTLActivitiesCombo::SelectRecord(const FLM_TLEntityID& record, const std::string& headline) {
  int index = IndexOf(record);
  if (index < 0) index = Append(record, headline);
  if (index < 0) return TBS_ST_FAILURE;
  SetCurSel(index);
  if (current_.is_null()) current_ = record;
  return TBS_ST_OK;
}

FLM_TLEntityID CTLActivitiesCombo::GetSelection() const {
  const int sel = GetCurSel();
  const auto* record = sel < 0 ? nullptr : reinterpret_cast<const FLM_TLEntityID*>(GetItemData(sel));
  return record ? *record : FLM_TLEntityID();
}

void CTLActivitiesCombo::DeleteAll() {
  ResetContent();
  records_.clear();
}

std::string CTLActivitiesCombo::TooltipText() const {
  const int sel = GetCurSel();
  if (sel < 0) return {};
  const std::string text = GetLBText(sel);
  const auto at = text.find(kSeparator);
  return at == std::string::npos ? std::string() : FirstCharacters(text.substr(at + 3), kTooltipCharacters);
}

bool CTLActivitiesCombo::OnReflect(int code) {
  if (code == plat::cbn::DropDown && !loaded_) Load();
  return false;  // the dialog hears of it too
}

int CTLActivitiesCombo::AppendEntry(const std::string& text) { return AddString(text); }

void CTLActivitiesCombo::Load() {
  FLM_ImsgRedirector collected;
  FLM_Project project;
  if (int st = stream_.project(&project)) return ShowCollected(Parent(), collected, st);
  FLM_List<FLM_TLEntityID> records;
  FLM_StringList headlines;
  if (int st = CKelp_CA_GetInfo::GetAvailTLActivities(project, stream_, &records, &headlines))
    return ShowCollected(Parent(), collected, st);
  for (std::size_t i = 0; i < records.length() && i < headlines.length(); ++i) {
    // The current record is in the list already; so is what an earlier,
    // broken-off load added.
    if (SameRecord(records[i], current_) || IndexOf(records[i]) >= 0) continue;
    if (Append(records[i], headlines[i]) < 0) return;
  }
  loaded_ = true;
}

int CTLActivitiesCombo::IndexOf(const FLM_TLEntityID& record) const {
  for (int i = 0; i < GetCount(); ++i) {
    const auto* held = reinterpret_cast<const FLM_TLEntityID*>(GetItemData(i));
    if (held && SameRecord(*held, record)) return i;
  }
  return -1;
}

int CTLActivitiesCombo::Append(const FLM_TLEntityID& record, const std::string& headline) {
  const int index = AppendEntry(record.display_name() + kSeparator + headline);
  if (index < 0) return -1;
  records_.push_back(std::make_unique<FLM_TLEntityID>(record));
  SetItemData(index, reinterpret_cast<std::uintptr_t>(records_.back().get()));
  return index;
}

// ---- the buttons ----

int CBrowseTLEntityButton::Setup(CTLActivitiesCombo* combo, const FLM_Stream& stream) {
  combo_ = combo;
  return stream.project(&project_);
}

bool CBrowseTLEntityButton::OnReflect(int code) {
  if (code != plat::bn::Clicked) return false;
  FLM_ImsgRedirector collected;
  bool chosen = false;
  FLM_TLEntityID record;
  std::string headline;
  if (int st = CKelp_CA_TL_UI::OpenTLActivityBrowser(project_, &chosen, &record, &headline, Parent()))
    ShowCollected(Parent(), collected, st);
  else if (chosen && combo_)
    combo_->SelectRecord(record, headline);
  return true;
}

int CNewTLEntityButton::Setup(CTLActivitiesCombo* combo, const FLM_Stream& stream) {
  combo_ = combo;
  return stream.project(&project_);
}

plat::Menu CNewTLEntityButton::BuildMenu() {
  if (!loaded_) {
    FLM_ImsgRedirector collected;
    FLM_StringList types;
    if (int st = CKelp_CA_FLMProject::GetProjectRecordTypes(project_, &types)) {
      ShowCollected(Parent(), collected, st);
      return {};
    }
    types_.assign(types.begin(), types.end());
    loaded_ = true;
  }
  plat::Menu menu;
  for (std::size_t i = 0; i < types_.size(); ++i)
    menu.items.push_back(plat::MenuItem{kFirstTypeCommand + static_cast<int>(i), types_[i] + "...", true, false, {}});
  return menu;
}

void CNewTLEntityButton::OnMenuCommand(int command_id) {
  const auto index = static_cast<std::size_t>(command_id - kFirstTypeCommand);
  if (command_id < kFirstTypeCommand || index >= types_.size()) return;
  FLM_ImsgRedirector collected;
  bool submitted = false;
  FLM_TLEntityID record;
  std::string headline;
  if (int st = CKelp_CA_TL_UI::OpenNewTLActivityForm(types_[index].c_str(), project_, &submitted, &record, &headline,
                                                    Parent()))
    ShowCollected(Parent(), collected, st);
  else if (submitted && combo_)
    combo_->SelectRecord(record, headline);
}
