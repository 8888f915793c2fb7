// Resources of the paint test: a command strip of three 2 x 2 images behind
// four slots (one a separator), and the standard colours in two depths.
#pragma once

#define IDR_TEST_STRIP 300
#define IDB_STANDARD_COLORS24 301
#define IDB_STANDARD_COLORS8 302
#define IDR_TEST_STRIP_CUT 303

#define ID_STRIP_RED 100
#define ID_STRIP_GREEN 101
#define ID_STRIP_BLUE 102
