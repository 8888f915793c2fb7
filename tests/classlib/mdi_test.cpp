// MDI frames with three children under Wine: activation, tiling and
// cascading, Ctrl+F6, the window menu, commands reaching the active child
// first, and the frame menu left alone when the last child closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "classlib/classlib.h"
#include "waiting.h"

namespace {

const UINT IDR_MDIFRAME = 200;
const UINT ID_CHILD_COMMAND = 40100;

class CPlainView : public CView {
  DECLARE_DYNCREATE(CPlainView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPlainView, CView)

class CCountingChild : public CMDIChildWnd {
  DECLARE_MESSAGE_MAP()
 public:
  void OnChildCommand() { ++commands; }
  int commands = 0;
};
BEGIN_MESSAGE_MAP(CCountingChild, CMDIChildWnd)
  ON_COMMAND(ID_CHILD_COMMAND, OnChildCommand)
END_MESSAGE_MAP()

CWinApp theApp("Layer MDI Test");

// WM_MDISETMENU as the MDI client receives it: (frame menu, window menu).
std::vector<std::pair<WPARAM, LPARAM>> g_setMenus;
HHOOK g_hook;
LRESULT CALLBACK WatchSetMenu(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && msg->message == WM_MDISETMENU) g_setMenus.emplace_back(msg->wParam, msg->lParam);
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// The application's loop: its accelerators (Ctrl+F6) see each message first.
void Pump() {
  PumpWaiting({[](MSG& msg) { return theApp.PreTranslateMessage(&msg) != FALSE; }});
}

class Mdi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL); }
  void SetUp() override {
    frame = new CMDIFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(IDR_MDIFRAME, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    frame->SetWindowPos(nullptr, 0, 0, 900, 700, SWP_NOZORDER);
    theApp.m_pMainWnd = frame;
    for (int i = 0; i < 3; ++i) {
      children[i] = new CCountingChild;
      CCreateContext context;
      context.m_pNewViewClass = RUNTIME_CLASS(CPlainView);
      char title[16];
      wsprintfA(title, "Child %c", 'A' + i);
      ASSERT_TRUE(children[i]->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                                      frame, &context));
    }
    g_setMenus.clear();
    g_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, WatchSetMenu, nullptr, ::GetCurrentThreadId());
  }
  void TearDown() override {
    ::UnhookWindowsHookEx(g_hook);
    theApp.m_pMainWnd = nullptr;
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    PumpWaiting();
  }
  CRect ChildRect(CWnd* pChild) {
    CRect rect;
    pChild->GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, frame->m_hWndMDIClient, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
  }

  CMDIFrameWnd* frame = nullptr;
  CCountingChild* children[3] = {};
};

}  // namespace

TEST_F(Mdi, ActivationMakesTheFirstViewActiveAndCommandsGoToTheActiveChild) {
  EXPECT_EQ(frame->MDIGetActive(), children[2]);
  frame->MDIActivate(children[0]);
  EXPECT_EQ(frame->MDIGetActive(), children[0]);
  EXPECT_NE(children[0]->GetActiveView(), nullptr);
  EXPECT_EQ(children[0]->GetActiveView(), children[0]->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
  frame->SendMessage(WM_COMMAND, ID_CHILD_COMMAND);
  EXPECT_EQ(children[0]->commands, 1);
  EXPECT_EQ(children[1]->commands + children[2]->commands, 0);
  EXPECT_EQ(frame->GetActiveFrame(), children[0]);
}

TEST_F(Mdi, WindowMenuListsTheChildrenAndActivatesThem) {
  HMENU window = ::GetSubMenu(::GetMenu(frame->m_hWnd), 1);
  std::vector<UINT> ids;
  for (int i = 0; i < ::GetMenuItemCount(window); ++i) {
    UINT id = ::GetMenuItemID(window, i);
    if (id >= AFX_IDM_FIRST_MDICHILD) ids.push_back(id);
  }
  EXPECT_EQ(ids, (std::vector<UINT>{0xFF00, 0xFF01, 0xFF02}));
  char text[64] = {};
  ::GetMenuStringA(window, 0xFF01, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&2 Child B");
  frame->SendMessage(WM_COMMAND, 0xFF01);
  EXPECT_EQ(frame->MDIGetActive(), children[1]);
}

TEST_F(Mdi, TileAndCascade) {
  frame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_VERT);
  CRect client;
  ::GetClientRect(frame->m_hWndMDIClient, &client);
  int widths = 0;
  for (int i = 0; i < 3; ++i) {
    CRect rect = ChildRect(children[i]);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.Height(), client.Height());
    widths += rect.Width();
    for (int j = i + 1; j < 3; ++j) {
      CRect overlap, other = ChildRect(children[j]);
      EXPECT_FALSE(::IntersectRect(&overlap, &rect, &other));
    }
  }
  EXPECT_EQ(widths, client.Width());
  frame->MDICascade();
  std::vector<CPoint> corners;
  for (int i = 0; i < 3; ++i) corners.push_back(ChildRect(children[i]).TopLeft());
  std::sort(corners.begin(), corners.end(), [](const CPoint& a, const CPoint& b) { return a.x < b.x; });
  EXPECT_LT(corners[0].x, corners[1].x);
  EXPECT_LT(corners[1].x, corners[2].x);
  EXPECT_LT(corners[0].y, corners[1].y);
  EXPECT_LT(corners[1].y, corners[2].y);
}

TEST_F(Mdi, CtrlF6ActivatesAnotherChild) {
  frame->MDIActivate(children[1]);
  children[1]->GetActiveView()->SetFocus();
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_F6, 1);
  Pump();
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  CMDIChildWnd* active = frame->MDIGetActive();
  EXPECT_NE(active, nullptr);
  EXPECT_NE(active, children[1]);
}

TEST_F(Mdi, LastChildClosingLeavesTheFrameMenuAlone) {
  HMENU frameMenu = ::GetMenu(frame->m_hWnd);
  children[0]->MDIDestroy();
  children[1]->MDIDestroy();
  EXPECT_EQ(frame->MDIGetActive(), children[2]);
  g_setMenus.clear();
  children[2]->MDIDestroy();
  EXPECT_EQ(frame->MDIGetActive(), nullptr);
  ASSERT_FALSE(g_setMenus.empty());
  EXPECT_EQ(g_setMenus.back().first, 0u);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), frameMenu);
  EXPECT_TRUE(::IsMenu(frameMenu));
}
