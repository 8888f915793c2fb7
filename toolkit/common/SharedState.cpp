#include "toolkit/common/SharedState.h"

#include <shlwapi.h>
#include <stddef.h>

#include "toolkit/common/ProcBinding.h"
#include "toolkit_resource.h"

namespace {

COLORREF g_colorTable[kToolkitColorCount];

const char kHorzFace[] = "Tahoma";
const char kVertFace[] = "Arial";
const char kVersionCaption[] = "Quarrytide Software\xAE - Wrong Version Comctl32.dll";
const char kVersionText[] =
    "This application uses the Veltrane Toolkit which requires Comctl32.dll version 4.72 or higher.\n"
    "Please contact Quarrytide Software for more details...application will now abort!";

// The system colour that gives each colour field its value, field by field.
struct ColorField {
  COLORREF CXTSharedState::*field;
  int index;
};
const ColorField kColorFields[] = {
    {&CXTSharedState::m_clrFace, COLOR_BTNFACE},
    {&CXTSharedState::m_clrShadow, COLOR_BTNSHADOW},
    {&CXTSharedState::m_clrDarkShadow, COLOR_3DDKSHADOW},
    {&CXTSharedState::m_clrHighlight, COLOR_BTNHIGHLIGHT},
    {&CXTSharedState::m_clrButtonText, COLOR_BTNTEXT},
    {&CXTSharedState::m_clrGrayText, COLOR_GRAYTEXT},
    {&CXTSharedState::m_clrSelection, COLOR_HIGHLIGHT},
    {&CXTSharedState::m_clrSelectionText, COLOR_HIGHLIGHTTEXT},
    {&CXTSharedState::m_clrMenu, COLOR_MENU},
    {&CXTSharedState::m_clrMenuText, COLOR_MENUTEXT},
    {&CXTSharedState::m_clrWindow, COLOR_WINDOW},
    {&CXTSharedState::m_clrWindowFrame, COLOR_WINDOWFRAME},
    {&CXTSharedState::m_clrWindowText, COLOR_WINDOWTEXT},
    {&CXTSharedState::m_clrActiveCaption, COLOR_ACTIVECAPTION},
    {&CXTSharedState::m_clrInactiveCaption, COLOR_INACTIVECAPTION},
    {&CXTSharedState::m_clrGradientActiveCaption, COLOR_GRADIENTACTIVECAPTION},
    {&CXTSharedState::m_clrGradientInactiveCaption, COLOR_GRADIENTINACTIVECAPTION},
    {&CXTSharedState::m_clrCaptionText, COLOR_CAPTIONTEXT},
    {&CXTSharedState::m_clrInactiveCaptionText, COLOR_INACTIVECAPTIONTEXT},
};

struct FontSpec {
  bool vertical;
  int weight;
  bool underline;
  int angle;  // tenths of a degree, both escapement and orientation
};
const FontSpec kFontSpecs[CXTSharedState::kFontCount] = {
    {false, FW_NORMAL, false, 0}, {false, FW_BOLD, false, 0},  {false, FW_NORMAL, true, 0},
    {false, FW_NORMAL, false, 0}, {true, FW_NORMAL, false, 900}, {true, FW_BOLD, false, 900},
    {true, FW_NORMAL, false, 2700}, {true, FW_BOLD, false, 2700},
};

const int kCursorIds[CXTSharedState::kCursorSizeAll] = {
    IDC_XT_DRAGCOPY, IDC_XT_DRAGMOVE, IDC_XT_NODROP, IDC_XT_HAND, IDC_XT_DRAGDELETE, IDC_XT_SPLITCOLUMN, IDC_XT_SPLITROW,
};

// The record as the oldest systems fill it: without the padded border width.
const UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);

LOGFONTA MenuFont() {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = kNonClientMetricsSize;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0);
  return metrics.lfMenuFont;
}

COLORREF RealSysColor(int index) { return ::GetSysColor(index); }

int RealBitsPerPixel() {
  HWND desktop = ::GetDesktopWindow();
  HDC dc = ::GetDC(desktop);
  int bits = ::GetDeviceCaps(dc, BITSPIXEL);
  ::ReleaseDC(desktop, dc);
  return bits;
}

int ReadComCtlVersion() {
  HMODULE comctl = ::LoadLibraryA("COMCTL32.DLL");
  if (!comctl) return -1;
  int version = -1;
  auto getVersion = BindProc<DLLGETVERSIONPROC>(comctl, "DllGetVersion");
  DLLVERSIONINFO info = {};
  info.cbSize = sizeof info;
  if (getVersion && SUCCEEDED(getVersion(&info)))
    version = static_cast<int>(info.dwMajorVersion << 16 | info.dwMinorVersion);
  ::FreeLibrary(comctl);
  return version;
}

void ShowVersionErrorBox(LPCSTR caption, LPCSTR text) { ::MessageBoxA(nullptr, text, caption, MB_ICONERROR); }

const CXTSystemProbe kRealProbe = {RealSysColor, RealBitsPerPixel, GetComCtlVersion, GetOSVersionInfo,
                                   ShowVersionErrorBox};

int CALLBACK StopAtFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM wanted) {
  return ::lstrcmpiA(font->lfFaceName, reinterpret_cast<LPCSTR>(wanted)) == 0 ? 0 : 1;
}

}  // namespace

const CXTSystemProbe& RealSystemProbe() { return kRealProbe; }

int GetComCtlVersion() {
  static const int version = ReadComCtlVersion();
  return version;
}

const OSVERSIONINFOA& GetOSVersionInfo() {
  static OSVERSIONINFOA info = [] {
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof v;
    ::GetVersionExA(&v);
    return v;
  }();
  return info;
}

BOOL IsFontInstalled(const CString& face) {
  HDC screen = ::GetDC(nullptr);
  LOGFONTA any = {};
  any.lfCharSet = DEFAULT_CHARSET;
  int last = ::EnumFontFamiliesExA(screen, &any, StopAtFace, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(face)), 0);
  ::ReleaseDC(nullptr, screen);
  return last == 0;
}

COLORREF GetToolkitColor(int index) {
  return index >= 0 && index < kToolkitColorCount ? g_colorTable[index] : 0;
}

CXTSharedState& GetSharedState() {
  static CXTSharedState state(RealSystemProbe());
  return state;
}

CXTSharedState::CXTSharedState(const CXTSystemProbe& probe, HINSTANCE resources) : m_probe(probe) {
  m_horzFaceName = kHorzFace;
  m_vertFaceName = kVertFace;
  SetOSFlags();
  ChooseFaceNames();
  m_resourceModule = resources ? resources : ::GetModuleHandleA(nullptr);
  RefreshToolkitColors();
  RefreshMetrics();
  RefreshFonts();
  RefreshCursors();
  CheckComCtlVersion();
}

CXTSharedState::~CXTSharedState() {
  // The last cursor is the system's own and is never destroyed.
  for (int i = 0; i < kCursorSizeAll; ++i)
    if (m_cursors[i]) ::DestroyCursor(m_cursors[i]);
}

void CXTSharedState::SetOSFlags() {
  const OSVERSIONINFOA& v = m_probe.osVersion();
  const bool win9x = v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS, nt = v.dwPlatformId == VER_PLATFORM_WIN32_NT;
  m_isWin95 = win9x && v.dwMajorVersion == 4 && v.dwMinorVersion < 10;
  m_isWin98 = win9x && v.dwMajorVersion == 4 && v.dwMinorVersion == 10;
  m_isNT4 = nt && v.dwMajorVersion == 4 && v.dwMinorVersion == 0;
  m_isWin2000 = nt && v.dwMajorVersion == 5 && v.dwMinorVersion == 0;
  m_isWinXP = nt && v.dwMajorVersion == 5 && v.dwMinorVersion == 1;
}

void CXTSharedState::ChooseFaceNames() {
  const LOGFONTA menu = MenuFont();
  if (!IsFontInstalled(m_horzFaceName)) m_horzFaceName = menu.lfFaceName;
  if (!IsFontInstalled(m_vertFaceName)) m_vertFaceName = menu.lfFaceName;
}

void CXTSharedState::CheckComCtlVersion() {
  m_comCtlVersion = m_probe.comCtlVersion();
  if (m_comCtlVersion >= kLowestComCtlVersion) return;
  m_probe.showVersionError(kVersionCaption, kVersionText);
  ::PostQuitMessage(0);
}

void CXTSharedState::RefreshToolkitColors() {
  xtcolor::Color system[kSystemColorCount] = {};
  for (int i = 1; i < kSystemColorCount; ++i) system[i] = m_probe.sysColor(i);
  const bool palette = m_probe.bitsPerPixel() <= 8;
  xtcolor::Color table[kToolkitColorCount];
  BuildToolkitColorTable(system, palette, table);
  for (int i = 0; i < kToolkitColorCount; ++i) g_colorTable[i] = table[i];
  for (const ColorField& f : kColorFields) this->*f.field = g_colorTable[f.index];
  m_clrLightFace = xtcolor::LightenColor(m_clrFace, 15);
  for (int i = kFirstToolkitColor; i < kToolkitColorCount; ++i) m_toolkitColors[i - kFirstToolkitColor] = g_colorTable[i];
}

void CXTSharedState::RefreshMetrics() {
  m_cxSmallIcon = ::GetSystemMetrics(SM_CXSMICON);
  m_cySmallIcon = ::GetSystemMetrics(SM_CYSMICON);
  m_cxThumb = ::GetSystemMetrics(SM_CXHTHUMB);
  m_cyMenu = ::GetSystemMetrics(SM_CYMENU);
}

void CXTSharedState::RefreshFonts() {
  const LOGFONTA menu = MenuFont();
  for (int i = 0; i < kFontCount; ++i) {
    const FontSpec& spec = kFontSpecs[i];
    LOGFONTA lf = menu;
    const CString& face = spec.vertical ? m_vertFaceName : m_horzFaceName;
    if (IsFontInstalled(face)) ::lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    lf.lfWeight = spec.weight;
    lf.lfUnderline = spec.underline;
    lf.lfEscapement = lf.lfOrientation = spec.angle;
    m_fonts[i].DeleteObject();
    m_fonts[i].CreateFontIndirect(&lf);
  }
}

void CXTSharedState::RefreshCursors() {
  for (int i = 0; i < kCursorSizeAll; ++i) {
    if (m_cursors[i]) ::DestroyCursor(m_cursors[i]);
    m_cursors[i] = ::LoadCursorA(m_resourceModule, MAKEINTRESOURCEA(kCursorIds[i]));
  }
  m_cursors[kCursorSizeAll] = ::LoadCursorA(nullptr, IDC_SIZEALL);
}
