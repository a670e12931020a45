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

// The progress dialog of the file operations.
inline constexpr int IDD_PROGRESS = 24323;
inline constexpr int IDC_PROGRESS_ANIMATION = 24578;
inline constexpr int IDC_PROGRESS_LINE1 = 24583;
inline constexpr int IDC_PROGRESS_LINE2 = 24584;
inline constexpr int IDC_PROGRESS_BAR = 24577;

// Its animations.
inline constexpr int IDR_AVI_CHECKOUT = 24338;
inline constexpr int IDR_AVI_CHECKIN = 24577;
inline constexpr int IDR_AVI_OTHER = 24576;

// Progress titles.
inline constexpr int IDS_CHECKING_IN = 1;
inline constexpr int IDS_CHECKING_OUT = 2;
inline constexpr int IDS_UNDOING_CHECKOUT = 3;
inline constexpr int IDS_RESERVING = 4;
inline constexpr int IDS_UNRESERVING = 5;
inline constexpr int IDS_ADDING_TO_SOURCE = 18;

// The message window of long work.
inline constexpr int IDD_IMSG_PROGRESS = 24334;
inline constexpr int IDS_REMOVING_VIEW = 38;

// Confirming an undo check-out.
inline constexpr int IDD_CONFIRM_UNDO_CHECKOUT = 24326;
inline constexpr int IDC_CONFIRM_UNDO_TEXT = 24593;
inline constexpr int IDC_CONFIRM_UNDO_KEEP = 24586;
inline constexpr int IDC_YES_TO_ALL = 24595;
inline constexpr int IDS_NOT_CHECKED_OUT_TO_VIEW = 69;
inline constexpr int IDS_FILE_HIJACKED = 37;

// Running a product tool's command.
inline constexpr int IDD_RUN_COMMAND = 24413;
inline constexpr int IDS_EXEC_FAILED = 746;

// Error boxes of the file operations.
inline constexpr int IDS_ERROR_CHECKIN = 8;
inline constexpr int IDS_ERROR_CHECKOUT = 9;
inline constexpr int IDS_ERROR_UNCHECKOUT = 10;
inline constexpr int IDS_ERROR_RESERVE = 11;
inline constexpr int IDS_ERROR_ADDSRC = 19;
inline constexpr int IDS_ERROR_MERGE = 24;

// The view and VOB entries without the versioning file system.
inline constexpr int IDS_RVFS_NOT_INSTALLED = 46;

// Property sheets (the describe tool's failed start is IDS_EXEC_FAILED).
inline constexpr int IDS_PAGE_INIT_FAILED = 735;
inline constexpr int IDS_PAGE_FETCH_FAILED = 736;
inline constexpr int IDS_CANNOT_DISPLAY_PROPERTIES = 742;
inline constexpr int IDS_NO_PAGES_FOR_OBJECT = 743;
inline constexpr int IDS_SHEET_CAPTION = 744;
inline constexpr int IDS_NO_HELP_FOR_PAGE = 65058;

}  // namespace rvcmndlg::res
