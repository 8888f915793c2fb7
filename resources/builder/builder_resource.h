// Resource ids of Brennicor Builder (its string ids are its own: the stub's
// table is separate).
#pragma once

#define IDR_MAINFRAME 128  // menu, accelerators, icon, document strings, file menu images
#define IDR_MENU_IMAGES 99  // images of the other menus' commands

// Commands of the main frame and the application.
#define ID_HELP_FAQ 33
#define ID_HELP_HOW_TO 34
#define ID_TIP_OF_THE_DAY 35
#define ID_HELP_SPECIAL_OFFERS 36
#define ID_ABOUT_BRENNICOR 180
#define ID_RESET_WARNING_BOXES 216
#define ID_XP_LOOK 32772
#define ID_QUICK_PANEL 32773
#define ID_HELP_TOPICS 32780
#define ID_SHOW_BUILD_PAGE 32781
#define ID_SHOW_BUILD_PAGE_TOO 32782
#define ID_HOME_PAGE 32784
#define ID_SYSTEM_INFO 32787
#define ID_BUILD_BRENNICOR 32786
#define ID_ABOUT_SYSTEM_MENU 57664
#define ID_MAIN_MENU_BAR 59480

// Bitmaps.
#define IDB_RECENT_PROJECT_BULLET 215  // start page, white transparent
#define IDB_START_BANNER 216           // start page, green transparent
#define IDB_START_SETTINGS 221         // start page, white transparent
#define IDB_HELP_BULLET 226            // start page, green transparent
#define IDB_PASSWORD_KEY 289           // drawn over its place in the password prompt
#define IDB_PASSWORD_PADLOCK 309
#define IDB_ABOUT_MAKER 4440
#define IDB_ABOUT_PRODUCT 4441
#define IDB_LINK_ARROW 509             // start page, white transparent

// Warning box.
#define IDD_WARNING_BOX 6120
#define IDC_WARN_YES 6
#define IDC_WARN_NO 7
#define IDC_WARN_TITLE 4488
#define IDC_WARN_MESSAGE 4490
#define IDC_WARN_ICON 4491
#define IDC_WARN_FRAME 4497
#define IDC_WARN_DONT_SHOW 4498

// Archive password prompt.
#define IDD_ARCHIVE_PASSWORD 360
#define IDC_PASSWORD_PADLOCK 27
#define IDC_PASSWORD_KEY_PLACE 289
#define IDC_PASSWORD_EDIT 391
#define IDC_PASSWORD_ENCRYPTED_NOTE 1275
#define IDC_PASSWORD_LABEL 1279
#define IDC_PASSWORD_PICTURE 4442  // only in templates that carry it

// Build page: the progress of a build and its Test button.
#define IDD_BUILD_PAGE 294
#define IDI_BUILD_SECURED 188          // shown beside the main icon while building
#define IDC_BUILD_ZIP_ICON 1168
#define IDC_BUILD_SECURED_ICON 1169
#define IDC_BUILD_TITLE 1258
#define IDC_BUILD_TITLE_LINE 1259
#define IDC_BUILD_CHECKING 1114
#define IDC_BUILD_CHECK_RESULT 1116
#define IDC_BUILD_SECURING 1111
#define IDC_BUILD_SECURING_LABEL 1272
#define IDC_BUILD_DECOMPRESSING 1266
#define IDC_BUILD_ENCRYPTING 1269
#define IDC_BUILD_ENTRIES_BAR 1173
#define IDC_BUILD_ENTRY_READ 1175
#define IDC_BUILD_ITEM_PERCENT 1176
#define IDC_BUILD_ENTRIES_PERCENT 1178
#define IDC_BUILD_OVERALL_BAR 1260
#define IDC_BUILD_OVERALL_LABEL 1181
#define IDC_BUILD_APPENDING 1152
#define IDC_BUILD_APPENDED_PERCENT 1177
#define IDC_BUILD_ANALYZING 1158
#define IDC_BUILD_INJECTING 1167
#define IDC_BUILD_FINALIZING 1171
#define IDC_BUILD_DONE 1179
#define IDC_BUILD_TEST 1120

// About box.
#define IDD_ABOUT_BOX 4471
#define IDC_ABOUT_MAKER_LINE 4438
#define IDC_ABOUT_PICTURE 4442
#define IDC_ABOUT_MAKER_NAME 4479
#define IDC_ABOUT_PRODUCTS_LINK 4481
#define IDC_ABOUT_HOME_LINK 4482
#define IDC_ABOUT_SYSTEM_INFO 4483
#define IDC_ABOUT_TITLE 4492

// System information.
#define IDD_SYSTEM_INFO 4474
#define IDC_SYSINFO_ICON 4439
#define IDC_SYSINFO_REPORT 4494
#define IDC_SYSINFO_GROUP 4496

// Strings.
#define IDS_OLE_INIT_FAILED 101
#define IDS_ABOUT_SYSTEM_MENU 541
#define IDS_WARNINGS_RESET_TITLE 551
#define IDS_WARNINGS_RESET_TEXT 552
#define IDS_APP_TITLE 57344
#define IDS_OUTPUT_NOT_CREATED 23
#define IDS_PROJECT_NOT_RECOGNIZED 25
#define IDS_PROJECT_CHECK_FAILED 26
#define IDS_SAVE_PROJECT_AS 30
#define IDS_BUILD_IN_PROGRESS 138
#define IDS_ENCRYPTED_MAY_BE_SKIPPED 140
#define IDS_WARNING 147
#define IDS_CONTAINER_NOT_OPENED 187
#define IDS_BUILD_ENDED 542
#define IDS_BUILD_SUCCEEDED_TITLE 543
#define IDS_BUILD_SUCCEEDED_TEXT 544
#define IDS_OUTPUT_NOT_YET_CREATED_TITLE 545
#define IDS_OUTPUT_NOT_YET_CREATED_TEXT 546
#define IDS_BUILD_ERROR 555
#define IDS_ZIP_VERIFIED 556
#define IDS_PROJECT_NOT_SAVED 557
#define IDS_MAKER_PRODUCTS_URL 6131
#define IDS_MAKER_HOME_URL 6132
#define IDS_WARNING_TITLE 6199
#define IDS_OUTPUT_FILE_EXISTS 6200   // the General page's overwrite question
#define IDS_UNTITLED_PROJECT 57609
#define IDS_OPEN_FILE 61440
