// Ids of the frame test program's resources.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_FORM 107
#define IDC_FORM_BUTTON 1053
#define IDC_FORM_EDIT 1054
#define ID_TEST_UNHANDLED 40001
#define ID_TEST_DISABLED 40002
#define ID_TEST_ENABLED 40003
