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

// The change-management controls the dialogs host.
inline constexpr int IDS_CONTROL_NOT_INSTALLED = 760;
inline constexpr int IDS_CTL_TIMELINE = 761;
inline constexpr int IDS_CTL_BASELINE_TREE = 762;
inline constexpr int IDS_CTL_PROJECT_TREE = 763;
inline constexpr int IDS_CTL_DRAWTREE = 764;

// Activities: the list control, its menu and its properties.
inline constexpr int IDS_ACT_COL_HEADLINE = 54;
inline constexpr int IDS_ACT_COL_OWNER = 55;
inline constexpr int IDS_NO_ACTIVITY = 61767;
inline constexpr int IDS_NO_ACTIVITY_PROPERTIES = 61768;
inline constexpr int IDS_CANNOT_EXECUTE = 61718;
inline constexpr int IDR_MENU_ACTIVITY = 24410;
inline constexpr int ID_ACT_SHOW_CONTRIBS = 24839;
inline constexpr int ID_ACT_PROPERTIES = 24840;
// The simpler activity list of the status and property pages.
inline constexpr int IDS_ACTLIST_COL_HEADLINE = 65088;
inline constexpr int IDS_ACTLIST_COL_OWNER = 65089;
inline constexpr int IDS_CANNOT_SHOW_PROPERTIES = 65059;

// Select Activity and New Activity.
inline constexpr int IDD_BROWSE_ACTIVITY = 24344;
inline constexpr int IDC_ACTIVITY_LIST = 7206;
inline constexpr int IDC_ACTIVITY_PROPERTIES = 7189;
inline constexpr int IDC_ACTIVITY_NEW = 24642;
inline constexpr int IDC_SHOW_ALL_USERS = 24646;
inline constexpr int IDS_SELECT_AN_ACTIVITY = 61704;
inline constexpr int IDD_NEW_ACTIVITY = 24343;
inline constexpr int IDC_NEW_ACT_HEADLINE = 24643;
inline constexpr int IDC_NEW_ACT_AUTO_ID = 24823;
inline constexpr int IDC_NEW_ACT_USE_ID = 24824;
inline constexpr int IDC_NEW_ACT_ID = 24644;

// Contributing Activities.
inline constexpr int IDD_ACT_CONTRIBS = 24409;
inline constexpr int IDC_CONTRIBS_ACTIVITY = 24640;
inline constexpr int IDC_CONTRIBS_LIST = 24831;
inline constexpr int IDC_CONTRIBS_HELP = 24832;
inline constexpr int IDS_CONTRIBS_RUNNING = 61762;
inline constexpr int IDS_CONTRIBS_PVARS_FAILED = 61755;
inline constexpr int IDS_CONTRIBS_NOT_INTEGRATION = 61756;
inline constexpr int IDS_CONTRIBS_FAILED = 61754;

// The stream chooser.
inline constexpr int IDD_STREAM_CHOOSER = 24385;
inline constexpr int IDC_CHOOSER_TREE = 24659;
inline constexpr int IDC_CHOOSER_PROPERTIES = 24684;
inline constexpr int IDC_CHOOSER_ALL_STREAMS = 24762;
inline constexpr int IDC_CHOOSER_ALL_VOBS = 24763;
inline constexpr int IDC_CHOOSER_PROMPT = 24764;
inline constexpr int IDC_CHOOSER_MODE_TEXT = 24765;
inline constexpr int IDC_CHOOSER_HELP = 24766;
inline constexpr int IDC_CHOOSER_DELIVER_EXTRA = 24760;
inline constexpr int IDC_CHOOSER_REBASE_EXTRA = 24761;
inline constexpr int IDI_CHOOSER_DELIVER = 24769;
inline constexpr int IDI_CHOOSER_REBASE = 24770;
inline constexpr int IDS_CHOOSER_BAD_SELECTOR = 24771;
inline constexpr int IDS_CHOOSER_TO_DELIVER = 24772;
inline constexpr int IDS_CHOOSER_TO_REBASE = 24773;
inline constexpr int IDS_CHOOSER_TITLE_DELIVER = 24774;
inline constexpr int IDS_CHOOSER_TITLE_REBASE = 24775;
inline constexpr int IDS_CHOOSER_TO_TARGET = 24790;
inline constexpr int IDS_CHOOSER_TITLE_CHOOSE = 61723;
inline constexpr int IDS_CHOOSER_NO_NAME = 24776;
inline constexpr int IDS_CHOOSER_NO_PROJECT = 24778;
inline constexpr int IDS_CHOOSER_NO_INTEGRATION = 24782;
inline constexpr int IDS_CHOOSER_NO_INTEGRATION_NAME = 24777;

// The Tracklane record chooser.
inline constexpr int IDD_BROWSE_TL_ACTIVITY = 24404;
inline constexpr int IDC_TL_RECORDS = 24864;
inline constexpr int IDC_TL_NEW = 7190;
inline constexpr int IDC_TL_BROWSE = 24865;
inline constexpr int IDC_TL_PROPERTIES = 7191;
inline constexpr int IDS_TL_SELECT_A_RECORD = 61705;

// Property sheets (the describe tool's failed start is IDS_EXEC_FAILED).
inline constexpr int IDS_PAGE_INIT_FAILED = 735;
inline constexpr int IDS_PAGE_FETCH_FAILED = 736;
inline constexpr int IDS_CANNOT_DISPLAY_PROPERTIES = 742;
inline constexpr int IDS_NO_PAGES_FOR_OBJECT = 743;
inline constexpr int IDS_SHEET_CAPTION = 744;
inline constexpr int IDS_NO_HELP_FOR_PAGE = 65058;

// Check-out: the comment forms, the hijack question and the version choice.
inline constexpr int IDD_CHECKOUT_COMMENT = 24325;
inline constexpr int IDD_CHECKOUT_ACTIVITY_COMMENT = 24342;
inline constexpr int IDD_CHECKOUT_TL_COMMENT = 24354;
inline constexpr int IDC_COCMT_NAME = 24584;
inline constexpr int IDC_COCMT_COMMENT = 7107;
inline constexpr int IDC_COCMT_RESERVED = 24580;
inline constexpr int IDC_COCMT_UNRESERVED = 24670;
inline constexpr int IDC_COCMT_NONMASTERED = 24744;
inline constexpr int IDC_COCMT_PRESERVE_TIME = 7329;
inline constexpr int IDC_COCMT_APPLY_TO_ALL = 24594;
inline constexpr int IDC_COCMT_HELP = 24598;
inline constexpr int IDC_COCMT_ACTIVITY = 24640;
inline constexpr int IDC_COCMT_ACTIVITY_NEW = 24642;
inline constexpr int IDC_COCMT_ACTIVITY_BROWSE = 24641;
inline constexpr int IDC_COCMT_ACTIVITY_PROMPT = 24651;
inline constexpr int IDC_COCMT_TL_RECORD = 24663;
inline constexpr int IDC_COCMT_TL_PROPERTIES = 24604;
inline constexpr int IDD_CONFIRM_USE_PRIVATE = 24337;
inline constexpr int IDC_USE_PRIVATE_TEXT = 24593;
inline constexpr int IDC_USE_PRIVATE_YES_TO_ALL = 24595;
inline constexpr int IDD_CONFIRM_CHECKOUT_VERSION = 24341;
inline constexpr int IDC_COVER_HEADER = 24593;
inline constexpr int IDC_COVER_CURRENT = 24631;
inline constexpr int IDC_COVER_LATEST = 24632;
inline constexpr int IDC_COVER_CURRENT_NAME = 24633;
inline constexpr int IDC_COVER_CURRENT_CREATOR = 24634;
inline constexpr int IDC_COVER_CURRENT_CREATED = 24635;
inline constexpr int IDC_COVER_CURRENT_NOTES = 24665;
inline constexpr int IDC_COVER_LATEST_NAME = 24636;
inline constexpr int IDC_COVER_LATEST_CREATOR = 24637;
inline constexpr int IDC_COVER_LATEST_CREATED = 24638;
inline constexpr int IDC_COVER_LATEST_NOTES = 24666;
inline constexpr int IDC_COVER_MASTERSHIP = 24753;
inline constexpr int IDC_COVER_QUESTION = 24588;
inline constexpr int IDC_COVER_HELP = 24598;
inline constexpr int IDS_NO_VERSION_TO_CHECK_OUT = 26;
inline constexpr int IDS_MULTIPLE_VERSIONS = 27;
inline constexpr int IDS_NOTE_CANNOT_CHECK_OUT = 28;
inline constexpr int IDS_NOTE_BRANCH_EXISTS = 29;
inline constexpr int IDS_NOTE_HIJACK_MERGE = 30;
inline constexpr int IDS_NOTE_UNLOADED_AFTER_UPDATE = 31;
inline constexpr int IDS_NOTE_NOT_LATEST = 39;
inline constexpr int IDS_MUST_SELECT_ACTIVITY = 53;
inline constexpr int IDS_NOTE_NOT_LOADED = 56;
inline constexpr int IDS_ADDITIONAL_INFORMATION = 57;
inline constexpr int IDS_NOTE_RESERVED_ELSEWHERE = 58;
inline constexpr int IDS_UNRESERVED_REQUIRED = 59;
inline constexpr int IDS_CHECK_OUT_SELECTED = 60;
inline constexpr int IDS_HIJACK_MERGE_QUESTION = 61;
inline constexpr int IDS_NOTE_NOT_MASTERED = 62;
inline constexpr int IDS_NONMASTERED_REQUIRED = 63;
inline constexpr int IDS_ALREADY_CHECKED_OUT = 70;
inline constexpr int IDS_TL_NOT_INSTALLED = 24723;
inline constexpr int IDS_HIJACK_MERGE_FORBIDDEN = 65154;
// Check-in: the comment forms, adding a view-private file, merging first.
inline constexpr int IDD_CHECKIN_COMMENT = 24324;
inline constexpr int IDD_CHECKIN_ACTIVITY_COMMENT = 24346;
inline constexpr int IDD_CHECKIN_TL_COMMENT = 24356;
inline constexpr int IDC_CICMT_IDENTICAL = 24589;
inline constexpr int IDC_CICMT_USE_ORIGINAL = 24590;
inline constexpr int IDC_CICMT_USE_ORIGINAL_ALL = 24648;
inline constexpr int IDC_CICMT_ACTIVITY_LABEL = 24652;
inline constexpr int IDD_CONFIRM_ADD_TO_SRC = 24328;
inline constexpr int IDC_CONFIRM_ADD_TEXT = 24593;
inline constexpr int IDD_CONFIRM_MERGE = 24340;
inline constexpr int IDC_CONFIRM_MERGE_TEXT = 24593;
inline constexpr int IDC_CONFIRM_MERGE_GRAPHICAL = 24626;
inline constexpr int IDC_CONFIRM_MERGE_HELP = 24598;
inline constexpr int IDS_CHECKIN_HIJACKED = 36;
inline constexpr int IDS_MERGED_CHECK_IN_NOW = 44;
inline constexpr int IDS_MERGE_LATEST_FAILED = 45;
inline constexpr int IDS_CANNOT_CHANGE_ACTIVITY = 51;
inline constexpr int IDS_NOT_RECORDED_BY_ACTIVITY = 61710;
// View lists, Edit View Properties and the view browser.
inline constexpr int IDS_PAGE_LOCAL = 33;
inline constexpr int IDS_PAGE_RECENT = 34;
inline constexpr int IDS_PAGE_ALL = 35;
inline constexpr int IDS_PAGE_SNAPSHOT = 41;
inline constexpr int IDS_VIEW_PROPERTIES_FAILED = 43;
inline constexpr int IDS_NO_DEFAULT_REGION = 65153;
inline constexpr int IDD_VIEW_PROPERTIES = 24335;
inline constexpr int IDC_VIEW_TABS = 24613;
inline constexpr int IDC_VIEW_LIST_LOCAL = 24614;
inline constexpr int IDC_VIEW_LIST_RECENT = 24608;
inline constexpr int IDC_VIEW_LIST_ALL = 24610;
inline constexpr int IDC_VIEW_LIST_SNAPSHOT = 24615;
inline constexpr int IDC_VIEW_PROPERTIES_HELP = 24598;
inline constexpr int IDD_BROWSE_VIEWS = 24367;
inline constexpr int IDC_BROWSE_VIEWS_LIST = 24696;
inline constexpr int IDC_BROWSE_VIEWS_HELP = 24694;
inline constexpr int IDS_BROWSE_DEVELOPMENT_VIEW = 24700;
inline constexpr int IDS_BROWSE_INTEGRATION_VIEW = 24701;
inline constexpr int IDS_BROWSE_OTHER_OWNER = 24702;
// Start View, Stop View and Remove View.
inline constexpr int IDD_START_VIEW = 24329;
inline constexpr int IDD_STOP_VIEW = 24330;
inline constexpr int IDD_REMOVE_VIEW = 24333;
inline constexpr int IDC_RESTART_AT_LOGON = 24587;
inline constexpr int IDC_STOP_VIEW_LIST = 24606;
inline constexpr int IDC_DRIVE_BOX = 24607;
inline constexpr int IDC_DRIVE_LABEL = 24609;
inline constexpr int IDS_DRIVE_NONE = 20;
inline constexpr int IDS_ASSIGN_DRIVE_FAILED = 21;
inline constexpr int IDS_START_VIEW_FAILED = 22;
inline constexpr int IDS_STOP_VIEW_FAILED = 23;
inline constexpr int IDS_REMOVE_VIEW_QUESTION = 40;
inline constexpr int IDS_REMOVE_VIEW_FAILED = 42;
inline constexpr int IDS_CANNOT_ACCESS_VIEW = 65152;
// The General pages of file-system and named objects.
inline constexpr int IDD_GENERAL_PAGE = 806;
inline constexpr int IDD_GENERAL_SYMLINK_PAGE = 815;
inline constexpr int IDD_GENERAL_CHECKOUT_PAGE = 828;
inline constexpr int IDD_GENERAL_ELEMENT_PAGE = 834;
inline constexpr int IDD_GENERAL_BRANCH_PAGE = 835;
inline constexpr int IDD_GENERAL_DERIVEDOBJ_PAGE = 839;
inline constexpr int IDC_GEN_ELEMENT_TYPE = 7000;
inline constexpr int IDC_GEN_PREDECESSOR = 7001;
inline constexpr int IDC_GEN_RESERVED = 7002;
inline constexpr int IDC_GEN_LINK_TARGET = 7004;
inline constexpr int IDC_GEN_DESCRIPTION = 7005;
inline constexpr int IDC_GEN_KIND = 7006;
inline constexpr int IDC_GEN_CREATED_BY = 7007;
inline constexpr int IDC_GEN_CREATED_ON = 7008;
inline constexpr int IDC_GEN_NAME = 7010;
inline constexpr int IDC_GEN_BRANCH_TYPE = 7011;
inline constexpr int IDC_GEN_IN_VIEW = 7012;
inline constexpr int IDC_GEN_OWNER = 7031;
inline constexpr int IDC_GEN_IN_VIEW_LABEL = 7033;
inline constexpr int IDC_GEN_GROUP = 7044;
inline constexpr int IDC_GEN_PREDECESSOR_LABEL = 7052;
inline constexpr int IDC_GEN_ICON = 7064;
inline constexpr int IDC_GEN_ACTIVITY_GROUP = 7078;
inline constexpr int IDC_GEN_ACTIVITY_PROPERTIES = 7079;
inline constexpr int IDC_GEN_ACTIVITY = 7080;
inline constexpr int IDC_GEN_TYPE_PROPERTIES = 7295;
inline constexpr int IDR_MENU_PAGE_CONTEXT = 832;
inline constexpr int IDM_PAGE_MENU_TYPENAME = 5;  // the "TypeName" pop-up
inline constexpr int ID_TYPENAME_TYPE_PROPERTIES = 7252;
inline constexpr int IDS_CHECKEDOUT_PREFIX = 720;
inline constexpr int IDS_HOST_COLON_PATH = 741;
// The lock and protection pages, and the name prompt.
inline constexpr int IDD_LOCK_PAGE = 808;
inline constexpr int IDD_PROTECTION_PAGE = 818;
inline constexpr int IDD_PROMPT = 833;
inline constexpr int IDC_LOCK_UNLOCKED = 7001;  // the State radio group: 7001, 7002, 7003
inline constexpr int IDC_LOCK_LOCKED = 7002;
inline constexpr int IDC_LOCK_OBSOLETE = 7003;
inline constexpr int IDC_LOCK_DESCRIPTION = 7005;
inline constexpr int IDC_LOCK_EXCLUDED = 7038;
inline constexpr int IDC_LOCK_EXCLUDED_LABEL = 7039;
inline constexpr int IDC_LOCK_LOCKED_BY = 7041;
inline constexpr int IDC_LOCK_LOCKED_ON = 7042;
inline constexpr int IDC_PROT_OWNER = 7031;
inline constexpr int IDC_PROT_GROUP = 7044;
inline constexpr int IDC_PROMPT_TEXT = 7045;
inline constexpr int IDC_PROMPT_ANSWER = 7046;
inline constexpr int IDM_PAGE_MENU_LOCK = 3;  // the "Lock" pop-up
inline constexpr int ID_LOCK_ADD_USER = 7235;
inline constexpr int ID_LOCK_REMOVE_USER = 7236;
inline constexpr int ID_LOCK_ADD_ME = 7237;
inline constexpr int ID_LOCK_REMOVE_ALL = 7238;
inline constexpr int IDS_ADD_USER_CAPTION = 739;
inline constexpr int IDS_ADD_USER_PROMPT = 740;
inline constexpr int IDS_UNABLE_TO_LOCK = 65138;
inline constexpr int IDS_UNABLE_TO_UNLOCK = 65139;
// The Custom, Labels, Attributes and Hyperlinks pages and their prompts.
inline constexpr int IDD_LABELS_PAGE = 809;
inline constexpr int IDD_ATTRIBUTES_PAGE = 810;
inline constexpr int IDD_HYPERLINKS_PAGE = 819;
inline constexpr int IDD_PROMPT_TRIGGER_TYPE = 841;
inline constexpr int IDD_PROMPT_ATTRIBUTE = 842;
inline constexpr int IDD_PROMPT_LABEL_TYPE = 843;
inline constexpr int IDD_CUSTOM_PAGE = 892;
inline constexpr int IDC_CUSTOM_ATTRIBUTES = 7003;
inline constexpr int IDC_CUSTOM_HYPERLINKS = 7013;
inline constexpr int IDC_LABELS_LIST = 7012;
inline constexpr int IDC_PROMPT_TR_INHERIT = 7008;
inline constexpr int IDC_PROMPT_ATTR_KIND = 7047;
inline constexpr int IDC_PROMPT_ATTR_VALUE = 7049;
inline constexpr int IDC_PROMPT_TR_ATTACH = 7054;
inline constexpr int IDC_PROMPT_ATTR_TYPE = 7055;
inline constexpr int IDC_PROMPT_MOVE_LABEL = 7329;
inline constexpr int IDM_PAGE_MENU_ATTRIBUTES = 0;  // the "Attributes", "Hyperlinks" and "Labels" pop-ups
inline constexpr int IDM_PAGE_MENU_HYPERLINKS = 1;
inline constexpr int IDM_PAGE_MENU_LABELS = 2;
inline constexpr int ID_HLINK_PROPERTIES = 7243;
inline constexpr int ID_HLINK_TYPE_PROPERTIES = 7244;
inline constexpr int ID_LABEL_ADD = 7245;
inline constexpr int ID_LABEL_REMOVE = 7246;
inline constexpr int ID_LABEL_TYPE_PROPERTIES = 7247;
inline constexpr int ID_ATTR_ADD = 7248;
inline constexpr int ID_ATTR_CHANGE = 7249;
inline constexpr int ID_ATTR_REMOVE = 7250;
inline constexpr int ID_ATTR_TYPE_PROPERTIES = 7251;
inline constexpr int ID_HLINK_CREATE = 7253;
inline constexpr int ID_HLINK_REMOVE = 7254;
inline constexpr int ID_HLINK_OTHER_PROPERTIES = 7255;
inline constexpr int IDS_CONFIRM_ADD_LABEL = 713;
inline constexpr int IDS_CONFIRM_ADD_ATTRIBUTE = 714;
inline constexpr int IDS_CONFIRM_CHANGE_ATTRIBUTE = 715;
inline constexpr int IDS_CONFIRM_ADD_TRIGGER = 716;
inline constexpr int IDS_CONFIRM_REMOVE_LABEL = 717;
inline constexpr int IDS_CONFIRM_REMOVE_ATTRIBUTE = 718;
inline constexpr int IDS_CONFIRM_REMOVE_TRIGGER = 719;
inline constexpr int IDS_COLUMN_TYPE = 724;
inline constexpr int IDS_COLUMN_VALUE = 725;
inline constexpr int IDS_TYPE_UNAVAILABLE = 728;
inline constexpr int IDS_OBJECT_UNAVAILABLE = 729;
inline constexpr int IDS_CHECK_ATTACH_OR_INHERIT = 738;
// The icon of meta-type N is IDI_METATYPE_FIRST + N.
inline constexpr int IDI_METATYPE_FIRST = 950;
inline constexpr int IDI_METATYPE_COUNT = 40;

// Add to source control: the comment forms, the progress stages and texts.
inline constexpr int IDD_ADDSRC_COMMENT = 24327;
inline constexpr int IDD_ADDSRC_ACTIVITY_COMMENT = 24345;
inline constexpr int IDD_ADDSRC_TL_COMMENT = 24355;
inline constexpr int IDC_ADDSRC_KEEP = 24596;
inline constexpr int IDS_ADDSRC_PUTTING_FILE = 12;
inline constexpr int IDS_ADDSRC_CHECKING_OUT = 13;
inline constexpr int IDS_ADDSRC_CHECKING_IN = 14;
inline constexpr int IDS_ADDSRC_PUTTING_DIRECTORY = 15;
inline constexpr int IDS_ADDSRC_CHECKING_OUT_DIRECTORY = 16;
inline constexpr int IDS_ADDSRC_CHECKING_IN_DIRECTORY = 17;
inline constexpr int IDS_ALREADY_ELEMENT = 78;
inline constexpr int IDS_PARENT_NOT_MASTERED = 61717;
inline constexpr int IDS_C_EXCEPTION_NUMBER = 65133;
inline constexpr int IDS_EXCEPTION_THROWN = 65134;
inline constexpr int IDS_EXCEPTION_TEXT = 65135;
// Mount and unmount VOB.
inline constexpr int IDD_MOUNT_VOB = 24320;
inline constexpr int IDD_UNMOUNT_VOB = 24321;
inline constexpr int IDC_MOUNT_VOB_LIST = 24581;
inline constexpr int IDC_UNMOUNT_VOB_LIST = 24582;
inline constexpr int IDC_MOUNT_RECONNECT = 24587;
inline constexpr int IDC_VOB_MOUNT_HELP = 24598;
inline constexpr int IDS_VOB_REGISTER_FAILED = 65170;
inline constexpr int IDS_VOB_UNREGISTER_FAILED = 65171;

}  // namespace rvcmndlg::res
