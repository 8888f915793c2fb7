// Resource ids of Brennicor Builder (its string ids are its own: the stub's
// table is separate).
#pragma once

#define IDR_MAINFRAME 128

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
#define IDS_SAVE_PROJECT_AS 30
#define IDS_BUILD_SUCCEEDED_TITLE 543
#define IDS_BUILD_SUCCEEDED_TEXT 544
#define IDS_MAKER_PRODUCTS_URL 6131
#define IDS_MAKER_HOME_URL 6132
#define IDS_WARNING_TITLE 6199
#define IDS_OUTPUT_FILE_EXISTS 6200   // the General page's overwrite question
#define IDS_OPEN_FILE 61440
