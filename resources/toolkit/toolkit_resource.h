// Resource ids of the window toolkit, grouped by what uses them. Programs
// that use the toolkit link its resource object libraries.
#pragma once

// ---- shared state: drag and split cursors
#define IDC_XT_DRAGCOPY 4509
#define IDC_XT_DRAGMOVE 4510
#define IDC_XT_HAND 4511
#define IDC_XT_SPLITCOLUMN 4512
#define IDC_XT_NODROP 4513
#define IDC_XT_SPLITROW 4514
#define IDC_XT_DRAGDELETE 4515

// ---- bars: the bar list's texts, the menu bar's title, its window list, the
// glyphs and tips of an MDI child's buttons on the menu bar; a floating
// bar's title when it has none and its close button's tip
#define IDS_XT_SETTINGS_SECTION 4533
#define IDS_XT_BAR_VALUE 4541
#define IDS_XT_CUSTOMIZE 4550
#define IDS_XT_TOOLBAR 4558
#define IDS_XT_NO_HELP_TOPIC 4566
#define IDS_XT_RESET_TOOLBAR 4652
// The chevron's command: open the customise sheet for the bar.
#define XT_IDC_CUSTOMIZE 53782
#define IDS_XT_STATUS_BAR 4560
#define IDS_XT_CLOSE 4585
#define IDS_XT_MENU_BAR 4644
#define IDS_XT_CONTROL_BAR 4645
#define IDS_XT_MORE_WINDOWS 4653
#define IDB_XT_MENU_BAR_GLYPHS 4656
#define IDS_XT_MINIMIZE_WINDOW 4660
#define IDS_XT_RESTORE_WINDOW 4661
#define IDS_XT_CLOSE_WINDOW 4662

// ---- controls: browse button image strip, check boxes, edit-group image strip, tip bulb
#define IDB_XT_BROWSE_IMAGES 4501
#define IDB_XT_CHECKBOXES 4502
#define IDB_XT_TIP_BULB 4504
#define IDB_XT_EDITGROUP_IMAGES 4505

// ---- edit: context menu and its images (a tool-bar resource)
#define IDR_XT_EDIT_MENU 4519
#define IDR_XT_EDIT_IMAGES 4524

// ---- tip of the day
#define IDD_XT_TIPOFTHEDAY 4526
#define IDC_XT_TIP_FRAME 5522
#define IDC_XT_TIP_STARTUP 5523
#define IDC_XT_TIP_NEXT 5524
#define IDS_XT_TIP_HEADING 4641
#define IDS_XT_TIP_NO_FILE 4642
#define IDS_XT_TIP_READ_ERROR 4643

// ---- list and browse controls
#define IDC_XT_EDITGROUP 5501
#define IDC_XT_ITEMEDIT 5503
#define IDC_XT_EDITGROUP_NEW 5517
#define IDC_XT_EDITGROUP_DELETE 5518
#define IDC_XT_EDITGROUP_UP 5519
#define IDC_XT_EDITGROUP_DOWN 5520
#define IDC_XT_BROWSE_BUTTON 5521
#define IDS_XT_SELECT_DIRECTORY 4555
#define IDS_XT_BROWSE_TEXT 4565
#define IDS_XT_DEFAULT_EXTENSION 4567
#define IDS_XT_ALL_FILES_FILTER 4568
#define IDS_XT_CHOOSE_DIRECTORY 4569
#define IDS_XT_DIRECTORIES 4650

// ---- hyperlink: texts of the shell's failures
#define IDS_XT_SHELL_OUT_OF_RESOURCES 4571
#define IDS_XT_SHELL_FILE_NOT_FOUND 4572
#define IDS_XT_SHELL_PATH_NOT_FOUND 4573
#define IDS_XT_SHELL_ACCESS_DENIED 4574
#define IDS_XT_SHELL_OUT_OF_MEMORY 4575
#define IDS_XT_SHELL_BAD_FORMAT 4576
#define IDS_XT_SHELL_SHARE 4577
#define IDS_XT_SHELL_ASSOC_INCOMPLETE 4578
#define IDS_XT_SHELL_DDE_TIMEOUT 4579
#define IDS_XT_SHELL_DDE_FAIL 4580
#define IDS_XT_SHELL_DDE_BUSY 4581
#define IDS_XT_SHELL_NO_ASSOC 4582
#define IDS_XT_SHELL_DLL_NOT_FOUND 4583
#define IDS_XT_SHELL_UNKNOWN 4584

// ---- colour pop-up and colour dialog: colour names (also their tips), buttons, labels
#define IDS_XT_CLR_BLACK 4586
#define IDS_XT_CLR_BROWN 4587
#define IDS_XT_CLR_OLIVE_GREEN 4588
#define IDS_XT_CLR_DARK_GREEN 4589
#define IDS_XT_CLR_DARK_TEAL 4590
#define IDS_XT_CLR_DARK_BLUE 4591
#define IDS_XT_CLR_INDIGO 4592
#define IDS_XT_CLR_GRAY_80 4593
#define IDS_XT_CLR_DARK_RED 4594
#define IDS_XT_CLR_ORANGE 4595
#define IDS_XT_CLR_DARK_YELLOW 4596
#define IDS_XT_CLR_GREEN 4597
#define IDS_XT_CLR_TEAL 4598
#define IDS_XT_CLR_BLUE 4599
#define IDS_XT_CLR_BLUE_GRAY 4600
#define IDS_XT_CLR_GRAY_50 4601
#define IDS_XT_CLR_RED 4602
#define IDS_XT_CLR_LIGHT_ORANGE 4603
#define IDS_XT_CLR_LIME 4604
#define IDS_XT_CLR_SEA_GREEN 4605
#define IDS_XT_CLR_AQUA 4606
#define IDS_XT_CLR_LIGHT_BLUE 4607
#define IDS_XT_CLR_VIOLET 4608
#define IDS_XT_CLR_GRAY_40 4609
#define IDS_XT_CLR_PINK 4610
#define IDS_XT_CLR_GOLD 4611
#define IDS_XT_CLR_YELLOW 4612
#define IDS_XT_CLR_BRIGHT_GREEN 4613
#define IDS_XT_CLR_TURQUIOSE 4614
#define IDS_XT_CLR_SKY_BLUE 4615
#define IDS_XT_CLR_PLUM 4616
#define IDS_XT_CLR_GRAY_25 4617
#define IDS_XT_CLR_ROSE 4618
#define IDS_XT_CLR_TAN 4619
#define IDS_XT_CLR_LIGHT_YELLOW 4620
#define IDS_XT_CLR_LIGHT_GREEN 4621
#define IDS_XT_CLR_LIGHT_TURQUOISE 4622
#define IDS_XT_CLR_PALE_BLUE 4623
#define IDS_XT_CLR_LAVENDER 4624
#define IDS_XT_CLR_WHITE 4625
#define IDS_XT_CLR_GRAY 4626
#define IDS_XT_CLR_MAROON 4627
#define IDS_XT_CLR_OLIVE 4628
#define IDS_XT_CLR_NAVY 4629
#define IDS_XT_CLR_PURPLE 4630
#define IDS_XT_CLR_SILVER 4631
#define IDS_XT_CLR_FUCHSIA 4632
#define IDS_XT_NO_FILL 4633
#define IDS_XT_NO_COLOR 4634
#define IDS_XT_AUTOMATIC 4635
#define IDS_XT_AUTOMATIC_COLOR 4636
#define IDS_XT_MORE_COLORS 4637
#define IDS_XT_MORE_COLORS_TIP 4638
#define IDS_XT_STANDARD_COLORS 4639
#define IDS_XT_COLORS 4647
#define IDS_XT_NEW_COLOR 4648
#define IDS_XT_CURRENT_COLOR 4649
#define IDD_XT_COLOR_STANDARD 4531
#define IDC_XT_COLORS_LABEL 5532
#define IDC_XT_HONEYCOMB 5552
