#pragma once
// The per-user settings of the file operations and the file-browser
// integration. The object keeps no state: every getter reads the registry
// (or, for the two preserve-time settings, the configuration service) when
// called, and every setter writes at once.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/export.h"

class RVCMNDLG_API CUserOptions {
 public:
  // Sub-keys below the product's common key.
  static constexpr const char* REG_SEP = "\\";
  static constexpr const char* OPERATIONS_KEY = "Operations";
  static constexpr const char* CHECKOUT_KEY = "Checkout";
  static constexpr const char* CHECKIN_KEY = "Checkin";
  static constexpr const char* ADDSRC_KEY = "AddToSource";
  static constexpr const char* UNCHECKOUT_KEY = "Uncheckout";
  static constexpr const char* EXPLORER_KEY = "\\ContextMenus\\MsExplorer";
  static constexpr const char* CONTEXTMENU_KEY = "\\ContextMenus";
  static constexpr const char* CONTEXTCMDPROMPT_KEY = "\\ContextMenus\\CmdLineExe";
  static constexpr const char* VIEW_OPTIONS_KEY = "View Options";
  static constexpr const char* VOB_OPTIONS_KEY = "VOB Options";

  // Value names.
  static constexpr const char* REFRESH_EXPLORER = "RefreshExplorer";
  static constexpr const char* SUPPRESS_ERRORS = "SuppressErrors";
  static constexpr const char* PROMPT_FOR_COMMENT = "PromptForComment";
  static constexpr const char* USE_CHECKOUT_INFO = "UseCheckoutInfo";
  static constexpr const char* RESERVED = "Reserved";
  static constexpr const char* UNRESERVED = "Unreserved";
  static constexpr const char* NONMASTERED = "Nonmastered";
  static constexpr const char* MASTER = "Master";
  static constexpr const char* CONFIRM = "Confirm";
  static constexpr const char* SAVEFILE = "SaveFile";
  static constexpr const char* SIMPLEMENU = "SimpleContextMenus";
  static constexpr const char* DEFAULTCOMMANDPROMPT = "cmd.exe";
  static constexpr const char* DEFAULTPARAM = "";
  static constexpr const char* STARTVIEWPAGE = "StartViewPage";
  static constexpr const char* RESTARTATLOGON = "RestartAtLogon";
  static constexpr const char* RECONNECTATLOGON = "ReconnectAtLogon";

  bool SuppressErrors() const;
  void SetSuppressErrors(int value) const;
  bool PromptForCIComment() const;
  void SetPromptForCIComment(int value) const;
  bool UseCheckoutInfo() const;
  void SetUseCheckoutInfo(int value) const;
  bool PromptForCOComment() const;
  void SetPromptForCOComment(int value) const;
  bool CheckoutReserved() const;
  void SetCheckoutReserved(int value) const;
  // Never true while CheckoutReserved is false, whatever is stored.
  bool CheckoutUnreserved() const;
  void SetCheckoutUnreserved(int value) const;
  bool CheckoutNonmastered() const;
  void SetCheckoutNonmastered(int value) const;
  bool AddSrcMaster() const;
  void SetAddSrcMaster(int value) const;
  bool ConfirmUncheckout() const;
  void SetConfirmUncheckout(int value) const;
  bool UncheckoutSaveFile() const;
  void SetUncheckoutSaveFile(int value) const;
  // Falls back to the local machine's value when the user has none.
  bool ExplorerSimpleMenu() const;
  void SetExplorerSimpleMenu(int value) const;
  bool ExplorerRefresh() const;
  void SetExplorerRefresh(int value) const;
  int StartViewPage() const;
  void SetStartViewPage(int page) const;
  // The user's, else the machine's, else "cmd.exe"; never creates the key.
  std::string ExplorerCommandPrompt() const;
  void SetExplorerCommandPrompt(const std::string& command) const;
  int RestartAtLogon() const;
  void SetRestartAtLogon(int value) const;
  int ReconnectAtLogon() const;
  void SetReconnectAtLogon(int value) const;
  // Kept by the configuration service, not the registry.
  bool CheckinPreserveTime() const;
  void SetCheckinPreserveTime(int value) const;
  bool CheckoutPreserveTime() const;
  void SetCheckoutPreserveTime(int value) const;

  // Writes the defaults of the operation settings (the file-browser ones,
  // UseCheckoutInfo and Unreserved are left alone).
  void Default() const;

 private:
  static std::string RootKeyName(const char* sub_key);
  // Opens (or, with create, creates) the user's key and reads a 32-bit value.
  static std::optional<std::uint32_t> GetRegValue(const char* sub_key, const char* value_name, bool create);
  static bool GetBool(const char* sub_key, const char* value_name, bool when_missing);
  static int GetNumber(const char* sub_key, const char* value_name, int when_missing);
  static void SetNumber(const char* sub_key, const char* value_name, std::uint32_t value);
};
