// A program shaped like the builder: template 128 with a frame, a status
// bar, a top bar and a static splitter of a plain view and a form view.
// Layout, idle updates, command routing, the status line, the document
// routes and the splitter, under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/classlib.h"
#include "frame_test_resource.h"
#include "tests/support/dialog_robot.h"
#include "waiting.h"

namespace {

const char kAppName[] = "Layer Frame Test";
const char kRegistryKey[] = "Brennicor Tests";

// ---- the program's classes

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)
 public:
  CTestDoc() { s_current = this; }
  ~CTestDoc() override {
    if (s_current == this) s_current = nullptr;
  }
  BOOL OnNewDocument() override {
    s_mainWndAtFirstNew = s_newCount == 0 ? AfxGetApp()->m_pMainWnd : s_mainWndAtFirstNew;
    ++s_newCount;
    return CDocument::OnNewDocument();
  }
  BOOL OnOpenDocument(LPCSTR path) override {
    s_opened.push_back(path);
    return !s_failOpen;
  }
  BOOL OnSaveDocument(LPCSTR path) override {
    s_saved.push_back(path);
    return s_saveResult;
  }
  BOOL IsModified() override { return s_modified; }
  void SetModifiedFlag(BOOL) override {}

  static CTestDoc* s_current;
  static int s_newCount;
  static CWnd* s_mainWndAtFirstNew;
  static std::vector<std::string> s_opened, s_saved;
  static BOOL s_failOpen, s_saveResult, s_modified;
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
CTestDoc* CTestDoc::s_current;
int CTestDoc::s_newCount;
CWnd* CTestDoc::s_mainWndAtFirstNew = reinterpret_cast<CWnd*>(1);
std::vector<std::string> CTestDoc::s_opened, CTestDoc::s_saved;
BOOL CTestDoc::s_failOpen, CTestDoc::s_saveResult = TRUE, CTestDoc::s_modified;

class CStartView : public CView {
  DECLARE_DYNCREATE(CStartView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CStartView, CView)

class CSettingsForm : public CFormView {
  DECLARE_DYNCREATE(CSettingsForm)
 public:
  CSettingsForm() : CFormView(IDD_FORM) {}
};
IMPLEMENT_DYNCREATE(CSettingsForm, CFormView)

// Counts the tracking virtuals a drag goes through.
class CTrackedSplitter : public CSplitterWnd {
 public:
  void StartTracking(int ht) override {
    ++starts;
    CSplitterWnd::StartTracking(ht);
  }
  void StopTracking(BOOL bAccept) override {
    stops += m_bTracking ? 1 : 0;
    CSplitterWnd::StopTracking(bAccept);
  }
  void OnInvertTracker(const CRect& rect) override {
    ++inverts;
    CSplitterWnd::OnInvertTracker(rect);
  }
  int starts = 0, stops = 0, inverts = 0;
};

// A bar of fixed height along the top.
class CTopBar : public CControlBar {
 public:
  BOOL Create(CWnd* pParent) {
    AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG);
    DWORD style = SplitBarStyle(WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_FLYBY);
    return CWnd::Create(AFX_WNDCONTROLBAR, nullptr, style, CRect(), pParent, AFX_IDW_CONTROLBAR_FIRST + 40);
  }
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    size.cy = 24;
    return size;
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++updates; }
  // The whole bar is one tool, the New command.
  INT_PTR OnToolHitTest(CPoint, TOOLINFOA*) const override { return ID_FILE_NEW; }
  int updates = 0;
};

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
  DECLARE_MESSAGE_MAP()
 public:
  void RecalcLayout(BOOL bNotify = TRUE) override {
    ++layouts;
    CFrameWnd::RecalcLayout(bNotify);
  }
  BOOL OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext) override {
    if (!m_wndSplitter.CreateStatic(this, 1, 2, 0x50000000, AFX_IDW_PANE_FIRST)) return FALSE;
    if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CStartView), CSize(170, 100), pContext) ||
        !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CSettingsForm), CSize(100, 100), pContext)) {
      m_wndSplitter.DestroyWindow();
      return FALSE;
    }
    m_wndSplitter.SetColumnInfo(0, 300, 0);
    m_wndSplitter.RecalcLayout();
    return TRUE;
  }
  int OnCreate(LPCREATESTRUCTA lpcs) {
    mainWndAtCreate = AfxGetApp()->m_pMainWnd;
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (!m_wndStatusBar.Create(this, 0x50008200, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(indicators, 4) || !m_wndTopBar.Create(this))
      return -1;
    SetWindowPos(nullptr, 0, 20, 860, 640, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  void OnDisabledUpdate(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  void OnDisabled() { ++disabledRuns; }
  void OnEnabled() { ++enabledRuns; }

  CStatusBar m_wndStatusBar;
  CTopBar m_wndTopBar;
  CTrackedSplitter m_wndSplitter;
  CWnd* mainWndAtCreate = reinterpret_cast<CWnd*>(1);
  int layouts = 0, disabledRuns = 0, enabledRuns = 0;
};
IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, OnDisabledUpdate)
  ON_COMMAND(ID_TEST_DISABLED, OnDisabled)
  ON_COMMAND(ID_TEST_ENABLED, OnEnabled)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
  DECLARE_MESSAGE_MAP()
 public:
  CTestApp() : CWinApp(kAppName) {}
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
END_MESSAGE_MAP()

CTestApp theApp;

// ---- helpers

CMainFrame* Frame() { return static_cast<CMainFrame*>(theApp.m_pMainWnd); }

// Handles what is queued, then one round of idle updates.
void PumpAndIdle() { PumpWaiting({[](MSG& msg) { return AfxGetApp()->PreTranslateMessage(&msg) != FALSE; }, [] { AfxGetApp()->OnIdle(0); }}); }

CRect ChildRect(CWnd* pWnd) {
  CRect rect;
  pWnd->GetWindowRect(&rect);
  Frame()->ScreenToClient(&rect);
  return rect;
}

std::string PaneText(int index) {
  char text[256] = {};
  ::SendMessageA(Frame()->m_wndStatusBar.m_hWnd, SB_GETTEXTA, index, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string TempFile(const char* name) {
  char folder[MAX_PATH];
  ::GetTempPathA(MAX_PATH, folder);
  std::string path = std::string(folder) + name;
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ::CloseHandle(h);
  return path;
}

std::string RecentEntry(const char* value) {
  char data[MAX_PATH] = {};
  DWORD size = sizeof data;
  std::string key = std::string("Software\\") + kRegistryKey + "\\" + kAppName + "\\Recent File List";
  if (::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return "<none>";
  return data;
}

// A key press as the pump sees it (posted, not typed), with the modifier state it asks for.
void PostKeyPress(UINT vk, bool shift = false) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  ::SetKeyboardState(keys);
  ::PostMessageA(::GetFocus(), WM_KEYDOWN, vk, 1);
  ::PostMessageA(::GetFocus(), WM_KEYUP, vk, 0xC0000001);
  PumpAndIdle();
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
}

void Command(UINT nID) { Frame()->SendMessage(WM_COMMAND, nID); }

class FrameEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string key = std::string("Software\\") + kRegistryKey;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
    theApp.SetRegistryKey(kRegistryKey);
    theApp.LoadStdProfileSettings(10);
    theApp.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CMainFrame),
                                                 RUNTIME_CLASS(CFormView)));
    CCommandLineInfo info;
    ASSERT_TRUE(theApp.ProcessShellCommand(info));
    ASSERT_NE(Frame(), nullptr);
    PumpAndIdle();
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new FrameEnvironment);

}  // namespace

// ---- start-up

TEST(FrameStartup, TitleMainWindowTimingAndFirstPane) {
  EXPECT_EQ(Frame()->mainWndAtCreate, nullptr);
  EXPECT_EQ(CTestDoc::s_mainWndAtFirstNew, nullptr);
  char title[128];
  Frame()->GetWindowText(title, sizeof title);
  EXPECT_STREQ(title, "Untitled - Layer Frame Test");
  // The splitter and its pane (0, 0) share the first pane id: the pane wins.
  EXPECT_EQ(Frame()->GetActiveView(), Frame()->m_wndSplitter.GetPane(0, 0));
  EXPECT_EQ(Frame()->GetActiveDocument(), CTestDoc::s_current);
  EXPECT_EQ(PaneText(0), "Ready");
}

// ---- layout

TEST(FrameLayout, BarsTakeTheirEdgesAndThePaneTheRest) {
  Frame()->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOZORDER | SWP_NOMOVE);
  CRect client;
  Frame()->GetClientRect(&client);
  CRect top = ChildRect(&Frame()->m_wndTopBar), bottom = ChildRect(&Frame()->m_wndStatusBar);
  CRect pane = ChildRect(&Frame()->m_wndSplitter);
  EXPECT_EQ(top, CRect(0, 0, client.right, 24));
  EXPECT_EQ(bottom.bottom, client.bottom);
  EXPECT_EQ(bottom.left, 0);
  EXPECT_EQ(bottom.right, client.right);
  EXPECT_EQ(pane, CRect(0, 24, client.right, bottom.top));
}

TEST(FrameLayout, DelayedHideHappensAtIdleAndLaysOutOnce) {
  CTopBar& bar = Frame()->m_wndTopBar;
  Frame()->ShowControlBar(&bar, FALSE, TRUE);
  EXPECT_TRUE(bar.IsWindowVisible());
  EXPECT_FALSE(bar.IsVisible());
  Frame()->DelayRecalcLayout();
  Frame()->DelayRecalcLayout();
  int before = Frame()->layouts;
  theApp.OnIdle(0);
  EXPECT_FALSE(bar.IsWindowVisible());
  EXPECT_EQ(Frame()->layouts, before + 1);
  EXPECT_EQ(ChildRect(&Frame()->m_wndSplitter).top, 0);

  Frame()->ShowControlBar(&bar, TRUE, FALSE);
  EXPECT_TRUE(bar.IsWindowVisible());
  EXPECT_EQ(ChildRect(&Frame()->m_wndSplitter).top, 24);
  int updates = bar.updates;
  theApp.OnIdle(0);
  EXPECT_GT(bar.updates, updates);
}

// ---- routing

TEST(FrameRouting, SaveReachesTheDocumentThroughTheFirstPane) {
  std::string path = TempFile("layer_route.dat");
  CTestDoc::s_current->SetPathName(path.c_str(), FALSE);
  CTestDoc::s_saved.clear();
  ASSERT_EQ(Frame()->GetActiveView(), Frame()->m_wndSplitter.GetPane(0, 0));
  Command(ID_FILE_SAVE);
  ASSERT_EQ(CTestDoc::s_saved.size(), 1u);
  EXPECT_EQ(CTestDoc::s_saved[0], path);
}

TEST(FrameRouting, PopupGreysItemsWithoutHandlerBeforeAnyoneSeesIt) {
  CMenu* pMenu = Frame()->GetMenu();
  HMENU test = ::GetSubMenu(pMenu->m_hMenu, 2), view = ::GetSubMenu(pMenu->m_hMenu, 1);
  Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(test), 2);
  EXPECT_TRUE(::GetMenuState(test, ID_TEST_UNHANDLED, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(::GetMenuState(test, ID_TEST_DISABLED, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(::GetMenuState(test, ID_TEST_ENABLED, MF_BYCOMMAND) & MF_GRAYED);
  Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 1);
  EXPECT_TRUE(::GetMenuState(view, ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(FrameRouting, AcceleratorOfADisabledCommandDoesNothing) {
  Frame()->m_wndSplitter.GetPane(0, 0)->SetFocus();
  PostKeyPress(VK_F8);
  PostKeyPress(VK_F7);
  EXPECT_EQ(Frame()->enabledRuns, 1);
  EXPECT_EQ(Frame()->disabledRuns, 0);
}

// ---- status line

TEST(FrameStatusLine, ReadyPromptReady) {
  PumpAndIdle();
  EXPECT_EQ(PaneText(0), "Ready");
  HMENU file = ::GetSubMenu(Frame()->GetMenu()->m_hMenu, 0);
  Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_NEW, MF_HILITE), reinterpret_cast<LPARAM>(file));
  Frame()->SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
  EXPECT_EQ(PaneText(0), "Create a new document");
  Frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(PaneText(0), "Ready");
}

TEST(FrameStatusLine, KeyIndicatorsFollowTheLockState) {
  struct Case {
    bool caps, num, scroll;
  } cases[] = {{true, false, false}, {false, true, true}, {false, false, false}};
  for (const Case& c : cases) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CAPITAL] = c.caps ? 1 : 0;
    keys[VK_NUMLOCK] = c.num ? 1 : 0;
    keys[VK_SCROLL] = c.scroll ? 1 : 0;
    ::SetKeyboardState(keys);
    theApp.OnIdle(0);
    EXPECT_EQ(PaneText(1), c.caps ? "CAP" : "");
    EXPECT_EQ(PaneText(2), c.num ? "NUM" : "");
    EXPECT_EQ(PaneText(3), c.scroll ? "SCRL" : "");
  }
}

TEST(FrameStatusLine, StatusBarCommandTogglesIt) {
  Command(ID_VIEW_STATUS_BAR);
  EXPECT_FALSE(Frame()->m_wndStatusBar.IsWindowVisible());
  CRect client;
  Frame()->GetClientRect(&client);
  EXPECT_EQ(ChildRect(&Frame()->m_wndSplitter).bottom, client.bottom);
  Command(ID_VIEW_STATUS_BAR);
  EXPECT_TRUE(Frame()->m_wndStatusBar.IsWindowVisible());
  EXPECT_EQ(ChildRect(&Frame()->m_wndSplitter).bottom, ChildRect(&Frame()->m_wndStatusBar).top);
}

TEST(FrameStatusLine, PaintGoesIntoTheGivenDeviceContext) {
  CStatusBar& bar = Frame()->m_wndStatusBar;
  CRect rect;
  bar.GetClientRect(&rect);
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rect.Width(), rect.Height());
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  RECT all = {0, 0, rect.Width(), rect.Height()};
  ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  bar.SendMessage(WM_PAINT, reinterpret_cast<WPARAM>(memory));
  // The control filled its face into our bitmap.
  EXPECT_EQ(::GetPixel(memory, rect.Width() / 2, rect.Height() / 2), ::GetSysColor(COLOR_BTNFACE));
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
}

TEST(FrameStatusLine, BarToolPromptFliesByAndItsTipIsTheSecondField) {
  CTopBar& bar = Frame()->m_wndTopBar;
  CRect rect;
  bar.GetWindowRect(&rect);
  MSG move = {bar.m_hWnd, WM_MOUSEMOVE, 0, 0, 0, rect.CenterPoint()};
  bar.PreTranslateMessage(&move);
  EXPECT_EQ(PaneText(0), "Create a new document");
  bar.SetStatusText(-1);
  EXPECT_EQ(PaneText(0), "Ready");

  TOOLTIPTEXTA tip = {};
  tip.hdr.hwndFrom = bar.m_hWnd;
  tip.hdr.idFrom = ID_FILE_NEW;
  tip.hdr.code = TTN_NEEDTEXTA;
  bar.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  EXPECT_STREQ(tip.szText, "New");
}

// ---- documents

TEST(FrameDocuments, SaveQuestionCancelKeepsTheDocumentNoMakesANewOne) {
  CTestDoc::s_modified = TRUE;
  int news = CTestDoc::s_newCount;
  CDocument* doc = CTestDoc::s_current;
  {
    DialogRobot robot({{kAppName, [](HWND box) {
                          EXPECT_NE(MessageBoxText(box).find("Save changes to"), std::string::npos);
                          Press(box, IDCANCEL);
                        }}});
    Command(ID_FILE_NEW);
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(CTestDoc::s_newCount, news);
  EXPECT_TRUE(Frame()->IsWindow());
  {
    DialogRobot robot({{kAppName, [](HWND box) { Press(box, IDNO); }}});
    Command(ID_FILE_NEW);
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_EQ(CTestDoc::s_newCount, news + 1);
  EXPECT_EQ(CTestDoc::s_current, doc);  // one document, made new again
  EXPECT_TRUE(CTestDoc::s_current->GetPathName().IsEmpty());
  CTestDoc::s_modified = FALSE;
}

TEST(FrameDocuments, SaveWithoutPathAsksForOne) {
  CTestDoc::s_saved.clear();
  ASSERT_TRUE(CTestDoc::s_current->GetPathName().IsEmpty());
  {
    DialogRobot robot({{"Save As", [](HWND dialog) { Press(dialog, IDCANCEL); }}});
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(robot.Finished());
  }
  EXPECT_TRUE(CTestDoc::s_saved.empty());
}

TEST(FrameDocuments, FailingSaveIsReported) {
  std::string path = TempFile("layer_fails.dat");
  CTestDoc::s_current->SetPathName(path.c_str(), FALSE);
  CTestDoc::s_saveResult = FALSE;
  std::string text;
  {
    DialogRobot robot({{kAppName, [&text](HWND box) {
                          text = MessageBoxText(box);
                          Press(box, IDOK);
                        }}});
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(robot.Finished());
  }
  CTestDoc::s_saveResult = TRUE;
  EXPECT_NE(text.find("Could not save"), std::string::npos);
  EXPECT_NE(text.find("layer_fails.dat"), std::string::npos);
}

TEST(FrameDocuments, RecentListAndCommandLineOpenThroughTheDocument) {
  std::string recent = TempFile("layer_recent.dat"), named = TempFile("layer_named.dat");
  theApp.AddToRecentFileList(recent.c_str());
  CTestDoc::s_opened.clear();
  Command(ID_FILE_MRU_FILE1);
  CCommandLineInfo info;
  info.ParseParam(named.c_str(), FALSE, TRUE);
  EXPECT_TRUE(theApp.ProcessShellCommand(info));
  EXPECT_EQ(CTestDoc::s_opened, (std::vector<std::string>{recent, named}));
  EXPECT_EQ(CTestDoc::s_current->GetPathName(), named.c_str());
  EXPECT_EQ(CTestDoc::s_current->GetTitle(), "layer_named.dat");
  EXPECT_EQ((*theApp.m_pRecentFileList)[0], named.c_str());
  EXPECT_EQ((*theApp.m_pRecentFileList)[1], recent.c_str());
}

TEST(FrameDocuments, FailedOpenChangesNothingAndSaysSo) {
  std::string kept = TempFile("layer_kept.dat"), broken = TempFile("layer_broken.dat");
  CTestDoc::s_current->SetPathName(kept.c_str());
  theApp.m_pRecentFileList->WriteList();
  CTestDoc::s_failOpen = TRUE;
  std::string text;
  {
    DialogRobot robot({{kAppName, [&text](HWND box) {
                          text = MessageBoxText(box);
                          Press(box, IDOK);
                        }}});
    EXPECT_EQ(theApp.OpenDocumentFile(broken.c_str()), nullptr);
    EXPECT_TRUE(robot.Finished());
  }
  CTestDoc::s_failOpen = FALSE;
  EXPECT_NE(text.find("layer_broken.dat"), std::string::npos);
  EXPECT_EQ(CTestDoc::s_current->GetPathName(), kept.c_str());
  EXPECT_EQ(CTestDoc::s_current->GetTitle(), "layer_kept.dat");
  char title[128];
  Frame()->GetWindowText(title, sizeof title);
  EXPECT_STREQ(title, "layer_kept.dat - Layer Frame Test");
  theApp.m_pRecentFileList->WriteList();
  EXPECT_EQ(RecentEntry("File1"), kept);
  for (int i = 0; i < theApp.m_pRecentFileList->GetSize(); ++i)
    EXPECT_NE((*theApp.m_pRecentFileList)[i], broken.c_str());
}

// The newest file added again, as it was and in another letter case, stays
// one entry at the top: the whole list holds each path once.
TEST(FrameDocuments, RecentFileAddedAgainStaysOneEntry) {
  const std::string older = TempFile("layer_older.dat"), newest = TempFile("layer_newest.dat");
  std::string shouted = newest;
  for (char& c : shouted) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
  CRecentFileList list(0, "Recent File List", "File%d", 4);
  for (const std::string& path : {older, newest, newest, shouted}) list.Add(path.c_str());
  std::vector<std::string> names;
  for (int i = 0; i < list.GetSize(); ++i) names.push_back(static_cast<LPCSTR>(list[i]));
  EXPECT_EQ(names, (std::vector<std::string>{shouted, older, "", ""}));
}

TEST(FrameDocuments, RecentFilesBecomeNumberedMenuItems) {
  HMENU file = ::GetSubMenu(Frame()->GetMenu()->m_hMenu, 0);
  Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  char text[MAX_PATH] = {};
  ::GetMenuStringA(file, ID_FILE_MRU_FILE1, text, sizeof text, MF_BYCOMMAND);
  EXPECT_EQ(std::string(text).substr(0, 3), "&1 ");
  EXPECT_FALSE(::GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_NE(::GetMenuState(file, ID_FILE_MRU_FILE1 + 1, MF_BYCOMMAND), static_cast<UINT>(-1));
}

// The base document's own saving: a failure half-way leaves the old file whole.
class CBytesDoc : public CDocument {
 public:
  void Serialize(CArchive& ar) override {
    if (!ar.IsStoring()) return;
    ar << static_cast<BYTE>('n') << static_cast<BYTE>('e') << static_cast<BYTE>('w');
    if (failHalfWay) AfxThrowArchiveException(0);
  }
  bool failHalfWay = false;
};

std::string FileText(const std::string& path) {
  char text[16] = {};
  DWORD read = 0;
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  ::ReadFile(h, text, sizeof text - 1, &read, nullptr);
  ::CloseHandle(h);
  return text;
}

TEST(FrameDocuments, BaseSaveThatFailsHalfWayKeepsTheOldFile) {
  std::string path = TempFile("layer_whole.dat");
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  ::WriteFile(h, "old", 3, &written, nullptr);
  ::CloseHandle(h);
  CBytesDoc doc;
  doc.m_bAutoDelete = FALSE;
  doc.failHalfWay = true;
  EXPECT_FALSE(doc.OnSaveDocument(path.c_str()));
  EXPECT_EQ(FileText(path), "old");
  EXPECT_EQ(FileText(path + ".saving"), "<missing>");
  doc.failHalfWay = false;
  EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
  EXPECT_EQ(FileText(path), "new");
  EXPECT_EQ(FileText(path + ".saving"), "<missing>");
}

// ---- splitter

TEST(FrameSplitter, FirstColumnIs300AndF6MovesBetweenPanes) {
  int cx, cxMin;
  Frame()->m_wndSplitter.GetColumnInfo(0, cx, cxMin);
  EXPECT_EQ(cx, 300);
  EXPECT_EQ(Frame()->m_wndSplitter.IdFromRowCol(0, 1), 59649);
  CWnd* first = Frame()->m_wndSplitter.GetPane(0, 0);
  CWnd* second = Frame()->m_wndSplitter.GetPane(0, 1);
  Frame()->SetActiveView(static_cast<CView*>(first));
  first->SetFocus();
  PostKeyPress(VK_F6);
  EXPECT_EQ(Frame()->GetActiveView(), second);
  // From inside the form the frame's accelerators still come first.
  ::SetFocus(::GetDlgItem(second->m_hWnd, IDC_FORM_EDIT));
  PostKeyPress(VK_F6, true);
  EXPECT_EQ(Frame()->GetActiveView(), first);
}

TEST(FrameSplitter, DragThroughTheTrackingVirtualsSizesTheColumn) {
  CTrackedSplitter& splitter = Frame()->m_wndSplitter;
  CRect before = ChildRect(splitter.GetPane(0, 1));
  CPoint bar(2 + 300 + 3, 40);
  ASSERT_EQ(splitter.HitTest(bar), CSplitterWnd::hSplitterBar1);
  splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar.x, bar.y));
  splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar.x + 50, bar.y));
  splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(bar.x + 50, bar.y));
  EXPECT_EQ(splitter.starts, 1);
  EXPECT_EQ(splitter.stops, 1);
  EXPECT_EQ(splitter.inverts, 4);  // drawn, moved (off, on), taken away
  EXPECT_EQ(::GetCapture(), nullptr);
  int cx, cxMin;
  splitter.GetColumnInfo(0, cx, cxMin);
  EXPECT_EQ(cx, 350);
  EXPECT_EQ(ChildRect(splitter.GetPane(0, 1)).left, before.left + 50);
}

// ---- closing

TEST(FrameZClose, CancelInTheSaveQuestionKeepsTheProgramRunning) {
  CTestDoc::s_modified = TRUE;
  {
    DialogRobot robot({{kAppName, [](HWND box) { Press(box, IDCANCEL); }}});
    Frame()->SendMessage(WM_CLOSE);
    EXPECT_TRUE(robot.Finished());
  }
  CTestDoc::s_modified = FALSE;
  ASSERT_NE(Frame(), nullptr);
  EXPECT_TRUE(Frame()->IsWindow());
  MSG msg;
  EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST(FrameZClose, ClosingTheMainFrameEndsTheProgram) {
  HWND hFrame = Frame()->m_hWnd;
  Frame()->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(hFrame));
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
  EXPECT_EQ(CTestDoc::s_current, nullptr);
  MSG msg;
  EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
