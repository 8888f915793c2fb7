#include "toolkit/dialogs/TipOfTheDay.h"

#include "toolkit/common/ScreenScale.h"

#include <string.h>
#include <sys/stat.h>
#include <time.h>

#include "classlib/dataexchange.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit_resource.h"

IMPLEMENT_DYNAMIC(CXTTipOfTheDay, CDialog)

BEGIN_MESSAGE_MAP(CXTTipOfTheDay, CDialog)
  ON_WM_PAINT()
  ON_BN_CLICKED(IDC_XT_TIP_NEXT, OnNextTip)
END_MESSAGE_MAP()

namespace {

const char kSection[] = "Tip";
const char kStartUp[] = "StartUp";
const char kFilePos[] = "FilePos";
const char kTimeStamp[] = "TimeStamp";
const char kFallbackFile[] = "tips.txt";
const int kLineBuffer = 1000;

// Geometry of the painted tip area, in client pixels at 96 DPI: scaled
// with the text size, like the dialog around it.
const int kBandRight = 65;
const int kRuleY = 60;
const CPoint kBulbAt(26, 26);
const CSize kBulbSize(25, 34);
const CPoint kHeadingAt(71, 30);
const CPoint kTipTextTopLeft(70, 72);
const int kTipTextMargin = 5;

bool IsSkippedLine(const char* line) { return strchr("\t\n ;", line[0]) != nullptr && line[0] != '\0'; }

// The file's creation time as ctime text without its trailing white space.
CString CreationStamp(FILE* pFile) {
  struct _stat status;
  if (_fstat(_fileno(pFile), &status) != 0) return CString();
  time_t created = status.st_ctime;
  const char* text = ctime(&created);
  CString stamp(text ? text : "");
  stamp.TrimRight();
  return stamp;
}

void CreateTipFont(CFont& font, const char* face, int height, int weight) {
  LOGFONTA lf = {};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = FF_SWISS;
  lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
  font.CreateFontIndirect(&lf);
}

void ShowReadError() { AfxMessageBox(IDS_XT_TIP_READ_ERROR); }

}  // namespace

BOOL CXTTipOfTheDay::IsShownAtStartup() { return CXTSettingsStore().ReadInt(kSection, kStartUp, 0) == 0; }

CXTTipOfTheDay::CXTTipOfTheDay(LPCSTR lpszTipsFile, CWnd* pParentWnd) : CDialog(IDD_XT_TIPOFTHEDAY, pParentWnd) {
  SetTipsFile(lpszTipsFile);
  m_strHeading.LoadString(IDS_XT_TIP_HEADING);
  CXTSettingsStore store;
  m_bStartup = store.ReadInt(kSection, kStartUp, 0) == 0;
  OpenTipsFile(store.ReadInt(kSection, kFilePos, 0));
}

CXTTipOfTheDay::~CXTTipOfTheDay() {
  if (m_pFile) {
    CXTSettingsStore().WriteInt(kSection, kFilePos, static_cast<int>(ftell(m_pFile)));
    fclose(m_pFile);
  }
}

void CXTTipOfTheDay::OpenTipsFile(long position) {
  m_pFile = fopen(m_strTipsFile, "r");
  if (!m_pFile) {
    m_strTip.LoadString(IDS_XT_TIP_NO_FILE);
    return;
  }
  CString stamp = CreationStamp(m_pFile);
  CXTSettingsStore store;
  if (strcmp(stamp, store.ReadString(kSection, kTimeStamp, "")) != 0) {
    store.WriteString(kSection, kTimeStamp, stamp);
    position = 0;
  }
  if (fseek(m_pFile, position, SEEK_SET) != 0) {
    ShowReadError();
    return;
  }
  ShowFirstTip();
}

void CXTTipOfTheDay::ShowFirstTip() {
  m_bHasTips = GetNextTip(m_strTip);
  if (!m_bHasTips) ShowNoTips();
}

// A file without a single tip line: say so, and there is no next tip.
void CXTTipOfTheDay::ShowNoTips() {
  m_bHasTips = FALSE;
  m_strTip.LoadString(IDS_XT_TIP_NO_FILE);
  if (m_hWnd) GetDlgItem(IDC_XT_TIP_NEXT)->EnableWindow(FALSE);
}

void CXTTipOfTheDay::SetTipsFile(LPCSTR lpszTipsFile) {
  DWORD attributes = lpszTipsFile ? ::GetFileAttributesA(lpszTipsFile) : INVALID_FILE_ATTRIBUTES;
  bool found = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  m_strTipsFile = found ? lpszTipsFile : kFallbackFile;
}

void CXTTipOfTheDay::SetTipFonts(CFont* pHeadingFont, CFont* pTextFont) {
  m_pHeadingFont = pHeadingFont;
  m_pTextFont = pTextFont;
}

// Reads on from the current place, wrapping to the top at the end once: a
// second end without a tip line means the file has none.
BOOL CXTTipOfTheDay::GetNextTip(CString& strTip) {
  if (!m_pFile) return FALSE;
  for (int ends = 0; ends < 2; ++ends) {
    if (ReadTipLine(strTip)) return TRUE;
    if (fseek(m_pFile, 0, SEEK_SET) != 0) {
      ShowReadError();
      return FALSE;
    }
  }
  return FALSE;
}

// The next tip line before the end of the file.
BOOL CXTTipOfTheDay::ReadTipLine(CString& strTip) {
  char line[kLineBuffer];
  while (fgets(line, sizeof line, m_pFile)) {
    if (!IsSkippedLine(line)) {
      strTip = line;
      return TRUE;
    }
  }
  return FALSE;
}

void CXTTipOfTheDay::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_XT_TIP_STARTUP, m_bStartup);
}

BOOL CXTTipOfTheDay::OnInitDialog() {
  CDialog::OnInitDialog();
  // Sized for 96 DPI and scaled like the dialog's own font.
  CreateTipFont(m_fontHeading, "Times", ScaleToScreen(22), FW_BOLD);
  CreateTipFont(m_fontText, "Arial", ScaleToScreen(16), FW_NORMAL);
  SetTipFonts(&m_fontHeading, &m_fontText);
  GetDlgItem(IDC_XT_TIP_NEXT)->EnableWindow(m_bHasTips);

  ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_XT_TIP_FRAME), &m_rcFrame);
  ScreenToClient(&m_rcFrame);
  m_rcFrame.bottom -= 1;
  m_rcBand = m_rcFrame;
  m_rcBand.DeflateRect(1, 1);
  m_rcBand.right = ScaleToScreen(kBandRight);
  m_rcTipArea = m_rcFrame;
  m_rcTipArea.DeflateRect(1, 1);
  m_rcTipArea.left = ScaleToScreen(kBandRight);
  m_rcTipText = CRect(ScaleToScreen(kTipTextTopLeft.x), ScaleToScreen(kTipTextTopLeft.y),
                      m_rcTipArea.right - ScaleToScreen(kTipTextMargin), m_rcTipArea.bottom - ScaleToScreen(kTipTextMargin));

  CFont& normal = GetSharedState().GetFont(CXTSharedState::kFontNormal);
  for (int id : {IDOK, IDC_XT_TIP_STARTUP, IDC_XT_TIP_NEXT}) GetDlgItem(id)->SetFont(&normal);
  return TRUE;
}

void CXTTipOfTheDay::OnPaint() {
  PAINTSTRUCT ps;
  CDC* pDC = BeginPaint(&ps);
  CXTSharedState& shared = GetSharedState();
  pDC->Draw3dRect(&m_rcFrame, shared.m_clrShadow, shared.m_clrWindow);
  pDC->FillSolidRect(&m_rcBand, shared.m_clrShadow);
  pDC->FillSolidRect(&m_rcTipArea, shared.m_clrWindow);
  CPen rule(PS_SOLID, 1, shared.m_clrShadow);
  CPen* pOldPen = pDC->SelectObject(&rule);
  pDC->MoveTo(ScaleToScreen(kBandRight), ScaleToScreen(kRuleY));
  pDC->LineTo(m_rcTipArea.right, ScaleToScreen(kRuleY));
  pDC->SelectObject(pOldPen);

  HINSTANCE hModule = AfxFindResourceHandle(MAKEINTRESOURCEA(IDB_XT_TIP_BULB), RT_BITMAP);
  if (HBITMAP hBulb = static_cast<HBITMAP>(
          ::LoadImageA(hModule, MAKEINTRESOURCEA(IDB_XT_TIP_BULB), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS))) {
    pDC->DrawState(CPoint(ScaleToScreen(kBulbAt.x), ScaleToScreen(kBulbAt.y)), kBulbSize, hBulb, DST_BITMAP);
    ::DeleteObject(hBulb);
  }
  int oldMode = pDC->SetBkMode(TRANSPARENT);
  CFont* pOldFont = pDC->SelectObject(m_pHeadingFont);
  pDC->TextOut(ScaleToScreen(kHeadingAt.x), ScaleToScreen(kHeadingAt.y), m_strHeading);
  pDC->SelectObject(m_pTextFont);
  CRect text = m_rcTipText;
  pDC->DrawText(m_strTip, &text, DT_WORDBREAK | DT_END_ELLIPSIS);
  pDC->SelectObject(pOldFont);
  pDC->SetBkMode(oldMode);
  EndPaint(&ps);
}

void CXTTipOfTheDay::OnNextTip() {
  if (!GetNextTip(m_strTip)) ShowNoTips();
  InvalidateRect(&m_rcTipText, TRUE);
  UpdateData(FALSE);
}

void CXTTipOfTheDay::OnOK() {
  UpdateData(TRUE);
  CXTSettingsStore().WriteInt(kSection, kStartUp, m_bStartup ? 0 : 1);
  EndDialog(IDOK);
}
