// Private messages a toolkit bar answers for a host that embeds it (a rebar
// or the drag context), ascending. Each is sent to the bar.
#pragma once

#include <windows.h>

enum : UINT {
  // wParam: nonzero for a horizontal band; lParam: REBARBANDINFO* to fill.
  // Marks the bar as a band; result: TRUE when the band information was set.
  XTWM_ADDREBAR = 0x89E0,
  // wParam: a flag passed through; lParam: the host's notification. Result 0.
  XTWM_REBAR_NOTIFY = 0x89E1,
  // wParam, lParam 0. Result: TRUE when the bar drags as a whole window.
  XTWM_QUERYFULLWINDOWDRAG = 0x89E2,
  // wParam 0; lParam: the host's question. Result: the bar's answer (BOOL).
  XTWM_REBAR_QUERY = 0x89E3,
};
