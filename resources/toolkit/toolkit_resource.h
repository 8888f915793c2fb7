// Resource ids of the window toolkit, grouped by what uses them. Programs
// that use the toolkit link its resources (toolkit.rc).
#pragma once

// ---- shared state: drag and split cursors
#define IDC_XT_DRAGCOPY 4509
#define IDC_XT_DRAGMOVE 4510
#define IDC_XT_HAND 4511
#define IDC_XT_SPLITCOLUMN 4512
#define IDC_XT_NODROP 4513
#define IDC_XT_SPLITROW 4514
#define IDC_XT_DRAGDELETE 4515

// ---- settings store: section and value names
#define IDS_XT_SETTINGS_SECTION 4536
#define IDS_XT_WINDOW_POSITION 4538
