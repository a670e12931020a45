#include "rvcmndlg/user_options.h"

#include "nlbd.h"
#include "ntregy.h"
#include "platform/registry.h"

namespace {

// A stored number counts as "on" when it is above 0 as a signed 32-bit
// number, so 0xFFFFFFFF reads as off.
bool Positive(std::uint32_t value) { return static_cast<std::int32_t>(value) > 0; }

int Flag(int value) { return value != 0 ? 1 : 0; }
std::uint32_t FlagValue(int value) { return static_cast<std::uint32_t>(Flag(value)); }  // as a registry value

bool PreserveTime(int knob) {
  int value = 0;
  nlbd_knob_get_boolean(knob, NLBD_LEVEL_DEFAULT, &value);
  return value > 0;
}

void SetPreserveTime(int knob, int value) { nlbd_knoblet_set_boolean(knob, NLBD_LEVEL_USER, 0, Flag(value)); }

// The setting at the site level, else at the product's level, else off.
int PreserveTimeDefault(int knob) {
  int value = 0;
  if (nlbd_knoblet_get_boolean(knob, NLBD_LEVEL_SITE, &value) == 0) return value;
  if (nlbd_knoblet_get_boolean(knob, NLBD_LEVEL_DEFAULT, &value) == 0) return value;
  return 0;
}

}  // namespace

std::string CUserOptions::RootKeyName(const char* sub_key) {
  std::string key = ntregy_get_common_key();
  if (!key.empty() && key[0] == '\\') key.erase(0, 1);
  if (sub_key[0] != '\\') key += REG_SEP;
  return key + sub_key;
}

std::optional<std::uint32_t> CUserOptions::GetRegValue(const char* sub_key, const char* value_name, bool create) {
  const std::string path = RootKeyName(sub_key);
  auto key = create ? plat::RegKey::Create(plat::Hive::CurrentUser, path)
                    : plat::RegKey::Open(plat::Hive::CurrentUser, path);
  if (!key) return std::nullopt;
  return key->QueryDword(value_name);
}

bool CUserOptions::GetBool(const char* sub_key, const char* value_name, bool when_missing) {
  const auto value = GetRegValue(sub_key, value_name, true);
  return value ? Positive(*value) : when_missing;
}

int CUserOptions::GetNumber(const char* sub_key, const char* value_name, int when_missing) {
  const auto value = GetRegValue(sub_key, value_name, true);
  return value ? static_cast<int>(static_cast<std::int32_t>(*value)) : when_missing;
}

// Write failures are not reported: the setting simply keeps its old value.
void CUserOptions::SetNumber(const char* sub_key, const char* value_name, std::uint32_t value) {
  if (auto key = plat::RegKey::Create(plat::Hive::CurrentUser, RootKeyName(sub_key))) key->SetDword(value_name, value);
}

bool CUserOptions::SuppressErrors() const { return GetBool(OPERATIONS_KEY, SUPPRESS_ERRORS, false); }
void CUserOptions::SetSuppressErrors(int value) const { SetNumber(OPERATIONS_KEY, SUPPRESS_ERRORS, FlagValue(value)); }

bool CUserOptions::PromptForCIComment() const { return GetBool(CHECKIN_KEY, PROMPT_FOR_COMMENT, true); }
void CUserOptions::SetPromptForCIComment(int value) const { SetNumber(CHECKIN_KEY, PROMPT_FOR_COMMENT, FlagValue(value)); }

bool CUserOptions::UseCheckoutInfo() const { return GetBool(CHECKIN_KEY, USE_CHECKOUT_INFO, true); }
void CUserOptions::SetUseCheckoutInfo(int value) const { SetNumber(CHECKIN_KEY, USE_CHECKOUT_INFO, FlagValue(value)); }

bool CUserOptions::PromptForCOComment() const { return GetBool(CHECKOUT_KEY, PROMPT_FOR_COMMENT, true); }
void CUserOptions::SetPromptForCOComment(int value) const { SetNumber(CHECKOUT_KEY, PROMPT_FOR_COMMENT, FlagValue(value)); }

bool CUserOptions::CheckoutReserved() const { return GetBool(CHECKOUT_KEY, RESERVED, true); }
void CUserOptions::SetCheckoutReserved(int value) const { SetNumber(CHECKOUT_KEY, RESERVED, FlagValue(value)); }

bool CUserOptions::CheckoutUnreserved() const {
  if (!CheckoutReserved()) return false;
  return GetBool(CHECKOUT_KEY, UNRESERVED, false);
}
void CUserOptions::SetCheckoutUnreserved(int value) const { SetNumber(CHECKOUT_KEY, UNRESERVED, FlagValue(value)); }

bool CUserOptions::CheckoutNonmastered() const { return GetBool(CHECKOUT_KEY, NONMASTERED, false); }
void CUserOptions::SetCheckoutNonmastered(int value) const { SetNumber(CHECKOUT_KEY, NONMASTERED, FlagValue(value)); }

bool CUserOptions::AddSrcMaster() const { return GetBool(ADDSRC_KEY, MASTER, false); }
void CUserOptions::SetAddSrcMaster(int value) const { SetNumber(ADDSRC_KEY, MASTER, FlagValue(value)); }

bool CUserOptions::ConfirmUncheckout() const { return GetBool(UNCHECKOUT_KEY, CONFIRM, true); }
void CUserOptions::SetConfirmUncheckout(int value) const { SetNumber(UNCHECKOUT_KEY, CONFIRM, FlagValue(value)); }

bool CUserOptions::UncheckoutSaveFile() const { return GetBool(UNCHECKOUT_KEY, SAVEFILE, true); }
void CUserOptions::SetUncheckoutSaveFile(int value) const { SetNumber(UNCHECKOUT_KEY, SAVEFILE, FlagValue(value)); }

bool CUserOptions::ExplorerSimpleMenu() const {
  if (const auto value = GetRegValue(EXPLORER_KEY, SIMPLEMENU, true)) return Positive(*value);
  if (auto machine = plat::RegKey::Open(plat::Hive::LocalMachine, RootKeyName(EXPLORER_KEY)))
    if (const auto value = machine->QueryDword(SIMPLEMENU)) return Positive(*value);
  return false;
}
void CUserOptions::SetExplorerSimpleMenu(int value) const { SetNumber(EXPLORER_KEY, SIMPLEMENU, FlagValue(value)); }

bool CUserOptions::ExplorerRefresh() const { return GetBool(EXPLORER_KEY, REFRESH_EXPLORER, true); }
void CUserOptions::SetExplorerRefresh(int value) const { SetNumber(EXPLORER_KEY, REFRESH_EXPLORER, FlagValue(value)); }

int CUserOptions::StartViewPage() const { return GetNumber(EXPLORER_KEY, STARTVIEWPAGE, 0); }
void CUserOptions::SetStartViewPage(int page) const {
  SetNumber(EXPLORER_KEY, STARTVIEWPAGE, static_cast<std::uint32_t>(page));
}

std::string CUserOptions::ExplorerCommandPrompt() const {
  for (plat::Hive hive : {plat::Hive::CurrentUser, plat::Hive::LocalMachine})
    if (auto key = plat::RegKey::Open(hive, RootKeyName(CONTEXTCMDPROMPT_KEY)))
      if (auto text = key->QueryString(DEFAULTPARAM)) return *text;
  return DEFAULTCOMMANDPROMPT;
}
void CUserOptions::SetExplorerCommandPrompt(const std::string& command) const {
  if (auto key = plat::RegKey::Create(plat::Hive::CurrentUser, RootKeyName(CONTEXTCMDPROMPT_KEY)))
    key->SetString(DEFAULTPARAM, command);
}

int CUserOptions::RestartAtLogon() const { return GetNumber(VIEW_OPTIONS_KEY, RESTARTATLOGON, 1); }
void CUserOptions::SetRestartAtLogon(int value) const {
  SetNumber(VIEW_OPTIONS_KEY, RESTARTATLOGON, static_cast<std::uint32_t>(value));
}

int CUserOptions::ReconnectAtLogon() const { return GetNumber(VOB_OPTIONS_KEY, RECONNECTATLOGON, 1); }
void CUserOptions::SetReconnectAtLogon(int value) const {
  SetNumber(VOB_OPTIONS_KEY, RECONNECTATLOGON, static_cast<std::uint32_t>(value));
}

bool CUserOptions::CheckinPreserveTime() const { return PreserveTime(NLBD_KNOB_CHECKIN_PRESERVE_TIME); }
void CUserOptions::SetCheckinPreserveTime(int value) const { SetPreserveTime(NLBD_KNOB_CHECKIN_PRESERVE_TIME, value); }
bool CUserOptions::CheckoutPreserveTime() const { return PreserveTime(NLBD_KNOB_CHECKOUT_PRESERVE_TIME); }
void CUserOptions::SetCheckoutPreserveTime(int value) const {
  SetPreserveTime(NLBD_KNOB_CHECKOUT_PRESERVE_TIME, value);
}

void CUserOptions::Default() const {
  SetSuppressErrors(0);
  SetPromptForCIComment(1);
  SetPromptForCOComment(1);
  SetCheckoutReserved(1);
  SetConfirmUncheckout(1);
  SetUncheckoutSaveFile(1);
  SetCheckoutNonmastered(0);
  SetAddSrcMaster(0);
  SetRestartAtLogon(1);
  SetReconnectAtLogon(1);
  SetCheckoutPreserveTime(PreserveTimeDefault(NLBD_KNOB_CHECKOUT_PRESERVE_TIME));
  SetCheckinPreserveTime(PreserveTimeDefault(NLBD_KNOB_CHECKIN_PRESERVE_TIME));
}
