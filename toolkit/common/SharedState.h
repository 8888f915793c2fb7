// CXTSharedState: the one process-wide object every toolkit drawing and
// layout decision reads: system and toolkit colours, fonts, metrics, drag
// cursors, operating-system flags, the flat (XP) look switch, the customise
// option flags, the common-controls version and the INI file that, when
// named, replaces the registry as settings store.
//
// GetSharedState builds it on first use and checks the common-controls
// library then: below 4.72 the toolkit cannot work, so it shows its one error
// box and posts WM_QUIT; construction still completes, and the application
// ends when its message loop sees the quit.
#pragma once

#include "classlib/cstring.h"
#include "classlib/gdiobject.h"
#include "toolkit/common/ToolkitColorTable.h"

// What the shared state asks of the system, one entry per question, so each
// can be answered otherwise than the running system would.
struct CXTSystemProbe {
  COLORREF (*sysColor)(int index);
  int (*bitsPerPixel)();  // of the desktop
  int (*comCtlVersion)();  // major << 16 | minor, -1 when unreadable
  const OSVERSIONINFOA& (*osVersion)();
  void (*showVersionError)(LPCSTR caption, LPCSTR text);
};
// The running system's answers.
const CXTSystemProbe& RealSystemProbe();

class CXTSharedState {
 public:
  // The fonts, in table order.
  enum Font {
    kFontNormal,
    kFontBold,
    kFontUnderline,  // hyperlinks
    kFontMenuBar,
    kFontVertical,  // text rotated 90 degrees
    kFontVerticalBold,
    kFontVerticalDown,  // text rotated 270 degrees
    kFontVerticalDownBold,
    kFontCount
  };
  // The cursors, in table order; the last is the system's size-all cursor.
  enum Cursor {
    kCursorDragCopy,
    kCursorDragMove,
    kCursorNoDrop,
    kCursorHand,
    kCursorDragDelete,
    kCursorSplitColumn,
    kCursorSplitRow,
    kCursorSizeAll,
    kCursorCount
  };
  enum { kCustomizeFlagCount = 8, kLowestComCtlVersion = 0x40048 };

  // resources: the module the cursors come from (null: the executable).
  explicit CXTSharedState(const CXTSystemProbe& probe, HINSTANCE resources = nullptr);
  ~CXTSharedState();
  CXTSharedState(const CXTSharedState&) = delete;
  CXTSharedState& operator=(const CXTSharedState&) = delete;

  // The colour table and the colour fields; the frame calls this when the
  // system colours or settings change.
  void RefreshToolkitColors();
  void RefreshMetrics();
  void RefreshFonts();
  void RefreshCursors();

  CFont& GetFont(Font f) { return m_fonts[f]; }

  COLORREF m_clrFace = 0, m_clrShadow = 0, m_clrDarkShadow = 0, m_clrHighlight = 0, m_clrLightFace = 0;
  COLORREF m_clrButtonText = 0, m_clrGrayText = 0, m_clrSelection = 0, m_clrSelectionText = 0;
  COLORREF m_clrMenu = 0, m_clrMenuText = 0, m_clrWindow = 0, m_clrWindowFrame = 0, m_clrWindowText = 0;
  COLORREF m_clrActiveCaption = 0, m_clrInactiveCaption = 0;
  COLORREF m_clrGradientActiveCaption = 0, m_clrGradientInactiveCaption = 0;
  COLORREF m_clrCaptionText = 0, m_clrInactiveCaptionText = 0;
  // Toolkit colours 30 to 49.
  COLORREF m_toolkitColors[kToolkitColorCount - kFirstToolkitColor] = {};
  HCURSOR m_cursors[kCursorCount] = {};
  int m_cxSmallIcon = 0, m_cySmallIcon = 0;
  int m_cxThumb = 0;  // width of a combo box's button
  int m_cyMenu = 0;
  CString m_horzFaceName, m_vertFaceName;
  BOOL m_isWin95 = FALSE, m_isWin98 = FALSE, m_isNT4 = FALSE, m_isWin2000 = FALSE, m_isWinXP = FALSE;
  // Set by the frame that installs cool menus.
  BOOL m_coolMenus = FALSE;
  // The flat look; the builder keeps it as "bXPMode".
  BOOL m_xpLook = FALSE;
  BOOL m_customizeFlags[kCustomizeFlagCount] = {TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, FALSE};
  // A: menus and bars show a command's normal image instead of its faded one.
  BOOL m_popupFlagA = FALSE;
  // B: read by the cool menus and the menu shadows.
  BOOL m_popupFlagB = FALSE;
  int m_comCtlVersion = -1;
  // Empty: settings go to the registry.
  CString m_iniFileName;
  HINSTANCE m_resourceModule = nullptr;

 private:
  void SetOSFlags();
  void ChooseFaceNames();
  void CheckComCtlVersion();

  const CXTSystemProbe& m_probe;
  CFont m_fonts[kFontCount];
};

// The process-wide shared state, built on the first call.
CXTSharedState& GetSharedState();
// Entry index (0 to 49) of the toolkit colour table; 0 out of range.
COLORREF GetToolkitColor(int index);

// Read once, then cached.
int GetComCtlVersion();
const OSVERSIONINFOA& GetOSVersionInfo();
// Whether a font family of this face exists (case ignored).
BOOL IsFontInstalled(const CString& face);
