#pragma once
// Ids of the library's resources: dialog templates and their controls.

namespace rvcmndlg::res {

// The Operations options page and its advanced add-to-source options.
inline constexpr int IDD_OPERATIONS_PAGE = 24322;
inline constexpr int IDD_ADDSRC_ADVANCED = 24383;

inline constexpr int IDC_SUPPRESS_ERRORS = 24593;
inline constexpr int IDC_CI_PROMPT_COMMENT = 24590;
inline constexpr int IDC_CI_USE_CHECKOUT_INFO = 24648;
inline constexpr int IDC_CI_PRESERVE_TIME = 7330;
inline constexpr int IDC_ADDSRC_ADVANCED = 24751;
inline constexpr int IDC_CO_PROMPT_COMMENT = 24588;
inline constexpr int IDC_CO_RESERVED = 24592;
inline constexpr int IDC_CO_UNRESERVED = 24669;
inline constexpr int IDC_CO_NONMASTERED = 24744;
inline constexpr int IDC_CO_PRESERVE_TIME = 7331;
inline constexpr int IDC_UNCO_CONFIRM = 24591;
inline constexpr int IDC_UNCO_SAVE_FILE = 24586;
inline constexpr int IDC_ADDSRC_MASTER = 24752;

}  // namespace rvcmndlg::res
