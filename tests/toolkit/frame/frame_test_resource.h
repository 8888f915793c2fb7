// Resource ids of the frame tests: the menu and strips a builder-shaped frame loads.
#pragma once

#define IDR_FRAME_MENU 128
#define IDR_FRAME_STRIP_A 128
#define IDR_FRAME_STRIP_B 99
#define ID_FRAME_OPEN 0x8101
#define ID_FRAME_SAVE 0x8102
#define ID_FRAME_CUT 0x8103
#define ID_FRAME_ABOUT 0x8104
// The shortcut tests' menu and accelerators.
#define IDR_SHORTCUT_MENU 130
#define ID_FRAME_FIRST_RECENT 0x8105
