#pragma once

#define IDD_HOST 100
#define IDC_LINK 1001
#define IDC_CENTRED_LINK 1002
#define IDC_BUTTON 1003
#define IDC_EDIT 1004
