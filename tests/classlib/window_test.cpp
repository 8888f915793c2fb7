// Message maps, command routing and update rules, creation-time attach,
// reflection, pre-translation, idle processing and forwarding.
#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "classlib/controls.h"
#include "classlib/winapp.h"
#include "waiting.h"

namespace {

class CTarget : public CCmdTarget {
 public:
  std::vector<int> calls;
  void OnCmd() { calls.push_back(100); }
  void OnRange(UINT id) { calls.push_back(static_cast<int>(id)); }
  void OnDisable(CCmdUI* p) { p->Enable(FALSE); }
  void OnPassOn(CCmdUI* p) { p->ContinueRouting(); }
  void OnFirst() { calls.push_back(1); }
  void OnSecond() { calls.push_back(2); }
  BOOL OnEx(UINT id) { calls.push_back(static_cast<int>(id)); return FALSE; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTarget, CCmdTarget)
  ON_COMMAND(100, OnCmd)
  ON_COMMAND_RANGE(53000, 53250, OnRange)
  ON_UPDATE_COMMAND_UI(101, OnDisable)
  ON_COMMAND(101, OnCmd)
  ON_UPDATE_COMMAND_UI(102, OnPassOn)
  ON_COMMAND(103, OnFirst)
  ON_COMMAND(103, OnSecond)
  ON_COMMAND_EX_RANGE(59392, 59647, OnEx)
END_MESSAGE_MAP()

class CDerivedTarget : public CTarget {
 public:
  void OnMine() { calls.push_back(-100); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CTarget)
  ON_COMMAND(100, OnMine)
END_MESSAGE_MAP()

// Records what an update did to its element.
class CRecordingCmdUI : public CCmdUI {
 public:
  int enabled = -1;  // -1: never touched
  void Enable(BOOL bOn) override { enabled = bOn ? 1 : 0; m_bEnableChanged = TRUE; }
};

int UpdateState(CCmdTarget* target, UINT id, BOOL disableIfNoHandler) {
  CRecordingCmdUI ui;
  ui.m_nID = id;
  ui.DoUpdate(target, disableIfNoHandler);
  return ui.enabled;
}

}  // namespace

TEST(MessageMap, RoutesCommandsDerivedFirstAndFirstEntryWins) {
  CDerivedTarget t;
  EXPECT_TRUE(t.OnCmdMsg(100, CN_COMMAND, nullptr, nullptr));
  EXPECT_TRUE(t.OnCmdMsg(53123, CN_COMMAND, nullptr, nullptr));
  EXPECT_TRUE(t.OnCmdMsg(103, CN_COMMAND, nullptr, nullptr));
  EXPECT_FALSE(t.OnCmdMsg(53251, CN_COMMAND, nullptr, nullptr));  // unhandled
  EXPECT_FALSE(t.OnCmdMsg(59400, CN_COMMAND, nullptr, nullptr));  // an _EX handler may decline
  EXPECT_EQ(t.calls, (std::vector<int>{-100, 53123, 1, 59400}));

  AFX_CMDHANDLERINFO info = {nullptr, nullptr};
  EXPECT_TRUE(t.OnCmdMsg(101, CN_COMMAND, nullptr, &info));  // only asks
  EXPECT_EQ(info.pTarget, &t);
  EXPECT_EQ(t.calls.size(), 4u);
}

TEST(MessageMap, UpdateRules) {
  CTarget t;
  struct Case {
    UINT id;
    BOOL disableIfNoHandler;
    int expected;
  } cases[] = {
      {100, TRUE, 1},     // a command handler enables
      {101, TRUE, 0},     // the update handler decides
      {102, TRUE, 0},     // passing the update on counts as no handler
      {200, TRUE, 0},     // nothing at all: disabled
      {200, FALSE, -1},   // ... unless auto-disable is off
      {53100, TRUE, 1},   // a range handler enables
  };
  for (const Case& c : cases) EXPECT_EQ(UpdateState(&t, c.id, c.disableIfNoHandler), c.expected) << c.id;
}

namespace {

HWND MakeTopLevel(CWnd* wnd, DWORD style = WS_OVERLAPPEDWINDOW) {
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
  EXPECT_TRUE(wnd->CreateEx(0, cls, "test", style, 0, 0, 200, 150, nullptr, nullptr));
  return wnd->m_hWnd;
}

class CProbeWnd : public CWnd {
 public:
  bool* deleted = nullptr;
  bool sawNcCreate = false;
  bool sawCreate = false;
  std::vector<int> commands;
  int keyDowns = 0;
  int preTranslated = 0;
  int idleUpdates = 0;
  int colorChanges = 0;

  BOOL OnNcCreate(LPCREATESTRUCTA cs) {
    sawNcCreate = m_hWnd != nullptr;
    return CWnd::OnNcCreate(cs);
  }
  int OnCreate(LPCREATESTRUCTA cs) {
    sawCreate = true;
    return CWnd::OnCreate(cs);
  }
  void OnCmd() { commands.push_back(100); }
  void OnDisabledCmd() { commands.push_back(101); }
  void OnDisable(CCmdUI* p) { p->Enable(FALSE); }
  void OnClicked() { commands.push_back(1); }
  void OnKeyDown(UINT, UINT, UINT) { ++keyDowns; }
  LRESULT OnIdleUpdate(WPARAM, LPARAM) { ++idleUpdates; return 0; }
  void OnSysColorChange() { ++colorChanges; CWnd::OnSysColorChange(); }
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != WM_KEYDOWN) return FALSE;
    ++preTranslated;
    return TRUE;
  }
  void PostNcDestroy() override {
    if (deleted) {
      *deleted = true;
      delete this;
    }
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
  ON_WM_NCCREATE()
  ON_WM_CREATE()
  ON_WM_KEYDOWN()
  ON_WM_SYSCOLORCHANGE()
  ON_COMMAND(100, OnCmd)
  ON_COMMAND(101, OnDisabledCmd)
  ON_UPDATE_COMMAND_UI(101, OnDisable)
  ON_BN_CLICKED(1, OnClicked)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

// A button whose clicks and notifications come back to it from its parent.
class CReflectButton : public CButton {
 public:
  bool passOn = false;
  int clicks = 0;
  HBRUSH brush = nullptr;
  BOOL OnClickedEx() {
    ++clicks;
    return !passOn;
  }
  void OnCustom(NMHDR*, LRESULT* pResult) { *pResult = 42; }
  HBRUSH CtlColor(CDC*, UINT) { return brush; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectButton, CButton)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedEx)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustom)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

}  // namespace

TEST(Window, AttachedFromFirstMessageAndSelfDeleting) {
  bool deleted = false;
  CProbeWnd* wnd = new CProbeWnd;
  wnd->deleted = &deleted;
  HWND h = MakeTopLevel(wnd);
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(wnd->sawNcCreate);
  EXPECT_TRUE(wnd->sawCreate);
  EXPECT_EQ(CWnd::FromHandlePermanent(h), wnd);
  EXPECT_EQ(CWnd::FromHandle(h), wnd);

  // Menu commands run only while enabled.
  ::SendMessageA(h, WM_COMMAND, 100, 0);
  ::SendMessageA(h, WM_COMMAND, 101, 0);
  EXPECT_EQ(wnd->commands, std::vector<int>{100});

  ::DestroyWindow(h);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(Window, ReflectsNotificationsToTheChildFirst) {
  CProbeWnd parent;
  MakeTopLevel(&parent);
  CReflectButton button;
  ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &parent, 1));

  WPARAM clicked = MAKEWPARAM(1, BN_CLICKED);
  ::SendMessageA(parent.m_hWnd, WM_COMMAND, clicked, reinterpret_cast<LPARAM>(button.m_hWnd));
  EXPECT_EQ(button.clicks, 1);
  EXPECT_TRUE(parent.commands.empty());  // consumed by the child
  button.passOn = true;
  ::SendMessageA(parent.m_hWnd, WM_COMMAND, clicked, reinterpret_cast<LPARAM>(button.m_hWnd));
  EXPECT_EQ(button.clicks, 2);
  EXPECT_EQ(parent.commands, std::vector<int>{1});  // an _EX handler let the parent act too

  NMHDR nm = {button.m_hWnd, 1, static_cast<UINT>(NM_CUSTOMDRAW)};
  EXPECT_EQ(::SendMessageA(parent.m_hWnd, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm)), 42);

  HDC hdc = ::GetDC(button.m_hWnd);
  button.brush = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
  EXPECT_EQ(::SendMessageA(parent.m_hWnd, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdc),
                           reinterpret_cast<LPARAM>(button.m_hWnd)),
            reinterpret_cast<LRESULT>(button.brush));
  button.brush = nullptr;  // no brush: the parent's default answers
  EXPECT_NE(::SendMessageA(parent.m_hWnd, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdc),
                           reinterpret_cast<LPARAM>(button.m_hWnd)),
            0);
  ::ReleaseDC(button.m_hWnd, hdc);
  parent.DestroyWindow();
  EXPECT_EQ(button.m_hWnd, nullptr);  // detached with its window
}

TEST(Window, PreTranslationWalkReachesTheParent) {
  CProbeWnd parent;
  MakeTopLevel(&parent);
  CProbeWnd child;
  ASSERT_TRUE(child.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 20, 20), &parent, 5));
  child.keyDowns = 0;
  // The child has no interest in keys; its parent swallows them on the way up.
  struct CQuietChild : CWnd {} quiet;
  quiet.SubclassWindow(::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, parent.m_hWnd, nullptr, nullptr, nullptr));
  ::PostMessageA(quiet.m_hWnd, WM_KEYDOWN, 'A', 0);
  EXPECT_TRUE(AfxPumpMessage());
  EXPECT_EQ(parent.preTranslated, 1);

  MSG msg = {};
  msg.hwnd = child.m_hWnd;
  msg.message = WM_KEYDOWN;
  msg.wParam = 'B';
  EXPECT_TRUE(CWnd::WalkPreTranslateTree(parent.m_hWnd, &msg));  // the child itself said yes
  EXPECT_EQ(child.preTranslated, 1);
  EXPECT_EQ(parent.preTranslated, 1);
  parent.DestroyWindow();
}

TEST(Window, IdleUpdatesEveryFrameAndFreesTemporaries) {
  CWinThread thread;
  CProbeWnd main, child, floating;
  MakeTopLevel(&main, WS_POPUP | WS_VISIBLE);
  child.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 20, 20), &main, 5);
  MakeTopLevel(&floating, WS_POPUP | WS_VISIBLE);
  thread.m_pMainWnd = &main;
  AfxGetThreadState()->m_frameList.push_back(floating.m_hWnd);

  HWND foreign = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, main.m_hWnd, nullptr, nullptr, nullptr);
  CWnd* temp = CWnd::FromHandle(foreign);
  EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
  EXPECT_EQ(CWnd::FromHandle(foreign), temp);

  EXPECT_TRUE(thread.OnIdle(0));
  EXPECT_EQ(main.idleUpdates, 1);
  EXPECT_EQ(child.idleUpdates, 1);
  EXPECT_EQ(floating.idleUpdates, 1);  // not a descendant, reached through the frame list
  EXPECT_EQ(AfxTempMap<CWnd>().Lookup(foreign), temp);
  EXPECT_FALSE(thread.OnIdle(1));
  EXPECT_EQ(AfxTempMap<CWnd>().Lookup(foreign), nullptr);
  EXPECT_TRUE(::IsWindow(foreign));

  // A top-level window passes colour changes to its descendants.
  ::SendMessageA(main.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(child.colorChanges, 1);

  AfxGetThreadState()->m_frameList.clear();
  thread.m_pMainWnd = nullptr;
  floating.DestroyWindow();
  main.DestroyWindow();
  PumpWaiting();
}

namespace {

class CEditProbe : public CEdit {
 public:
  int seen = 0;
  LRESULT OnSetText(WPARAM, LPARAM) {
    ++seen;
    return Default();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEditProbe, CEdit)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

}  // namespace

TEST(Window, DefaultReachesTheOriginalProcedure) {
  CEditProbe edit;
  HWND h = ::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(edit.SubclassWindow(h));
  edit.SetWindowText("kept");
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(edit.seen, 1);
  EXPECT_STREQ(text, "kept");
  edit.DestroyWindow();
}

namespace {

// An owner-drawn list box that draws and forgets its items itself.
class COwnerList : public CListBox {
 public:
  int draws = 0;
  int deletes = 0;
  void DrawItem(LPDRAWITEMSTRUCT) override { ++draws; }
  void DeleteItem(LPDELETEITEMSTRUCT) override { ++deletes; }
};

class CSelfUpdatingButton : public CButton {
 public:
  int updates = 0;
  void OnUpdateSelf(CCmdUI* pCmdUI) {
    ++updates;
    pCmdUI->Enable(FALSE);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfUpdatingButton, CButton)
  ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateSelf)
END_MESSAGE_MAP()

const UINT kThrowNow = WM_APP + 3;

// Throws from its handlers: the layer's own exception or the language's.
class CThrowingWnd : public CWnd {
 public:
  explicit CThrowingWnd(void (*raise)(), bool inCreate) : m_raise(raise), m_inCreate(inCreate) {}
  int OnCreate(LPCREATESTRUCTA) {
    if (m_inCreate) m_raise();
    return 0;
  }
  LRESULT OnThrowNow(WPARAM, LPARAM) {
    m_raise();
    return 1;
  }
  DECLARE_MESSAGE_MAP()

 private:
  void (*m_raise)();
  bool m_inCreate;
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
  ON_WM_CREATE()
  ON_MESSAGE(kThrowNow, OnThrowNow)
END_MESSAGE_MAP()

void RaiseLayersOwn() { AfxThrowResourceException(); }
void RaiseBadAlloc() { throw std::bad_alloc(); }
void RaiseAnything() { throw 7; }

}  // namespace

TEST(Window, OwnerDrawMessagesReachTheControlsObject) {
  CProbeWnd parent;
  MakeTopLevel(&parent, WS_POPUP);
  COwnerList list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, CRect(0, 0, 100, 80), &parent, 7));
  list.AddString("a");
  list.AddString("b");
  CClientDC dc(&list);
  list.PrintClient(&dc, PRF_CLIENT);  // paints without being shown
  EXPECT_GE(list.draws, 2);
  list.ResetContent();
  EXPECT_EQ(list.deletes, 2);
  parent.DestroyWindow();
}

TEST(Window, ControlsUpdateThemselvesThroughReflectedUpdates) {
  CTarget target;
  CProbeWnd parent;
  MakeTopLevel(&parent);
  CSelfUpdatingButton self;
  self.Create("s", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 40, 20), &parent, 100);
  CButton plain, check;
  plain.Create("p", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(50, 0, 90, 20), &parent, 200);
  check.Create("c", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(100, 0, 140, 20), &parent, 201);
  CEdit edit;
  edit.Create(WS_CHILD | WS_VISIBLE, CRect(150, 0, 190, 20), &parent, 202);
  // 0xBD11FFFF: the update code a control is offered first.
  CCmdUI probe;
  probe.m_nID = 100;
  EXPECT_TRUE(self.OnCmdMsg(0, static_cast<int>(0xBD11FFFF), &probe, nullptr));
  parent.UpdateDialogControls(&target, TRUE);
  EXPECT_EQ(self.updates, 2);
  EXPECT_FALSE(self.IsWindowEnabled());   // its own handler, although the target handles 100
  EXPECT_FALSE(plain.IsWindowEnabled());  // nobody handles 200
  EXPECT_TRUE(check.IsWindowEnabled());   // but only push buttons lose their state for that
  EXPECT_TRUE(edit.IsWindowEnabled());
  parent.DestroyWindow();
}

TEST(Window, DescendantSearchAndClassNames) {
  CProbeWnd parent;
  MakeTopLevel(&parent);
  HWND outer = ::CreateWindowExA(0, AfxRegisterWndClass(0), "", WS_CHILD, 0, 0, 50, 50, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(9), nullptr, nullptr);
  HWND inner = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, outer, reinterpret_cast<HMENU>(9), nullptr, nullptr);
  EXPECT_EQ(parent.GetDescendantWindow(9)->m_hWnd, inner);  // the pane inside its splitter wins
  EXPECT_EQ(parent.GetDescendantWindow(10), nullptr);

  LPCSTR a = AfxRegisterWndClass(CS_DBLCLKS);
  EXPECT_EQ(AfxRegisterWndClass(CS_DBLCLKS), a);  // the same name for the same parameters
  EXPECT_NE(CString(AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW)), CString(a));
  parent.DestroyWindow();
}

// No exception unwinds through the system's frames, whatever its kind.
TEST(Window, AnExceptionFailsItsMessageAndTheProgramGoesOn) {
  for (void (*raise)() : {RaiseLayersOwn, RaiseBadAlloc, RaiseAnything}) {
    CThrowingWnd creating(raise, true);
    EXPECT_FALSE(creating.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(creating.m_hWnd, nullptr);
    CThrowingWnd created(raise, false);
    ASSERT_TRUE(created.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(created.SendMessage(kThrowNow), 0);
    EXPECT_TRUE(::IsWindow(created.m_hWnd));
    created.DestroyWindow();
  }
}

TEST(Window, ToolTipsFollowTheChildUnderTheMouse) {
  CProbeWnd parent;
  MakeTopLevel(&parent, WS_POPUP);
  CButton button;
  button.Create("b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &parent, 5);
  ASSERT_TRUE(parent.EnableToolTips());
  CToolTipCtrl* tip = AfxGetThreadState()->m_pToolTip;
  ASSERT_NE(tip, nullptr);
  auto moveTo = [&](int x, int y) {
    MSG msg = {};
    msg.hwnd = parent.m_hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(x, y);
    msg.pt = CPoint(x, y);
    parent.ClientToScreen(&msg.pt);
    parent.FilterToolTipMessage(&msg);
  };
  moveTo(10, 10);
  EXPECT_EQ(tip->GetToolCount(), 1);
  moveTo(150, 100);
  EXPECT_EQ(tip->GetToolCount(), 0);
  moveTo(10, 10);
  parent.DestroyWindow();  // the tool of a dying window goes with it
  EXPECT_EQ(tip->GetToolCount(), 0);
}

namespace {

class COwnerMenu : public CMenu {
 public:
  int measured = 0;
  int drawn = 0;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override {
    ++measured;
    lpMIS->itemHeight = 17;
  }
  void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }
};

}  // namespace

TEST(Window, OwnerDrawnMenuItemsReachTheirMenuObject) {
  CProbeWnd wnd;
  MakeTopLevel(&wnd, WS_POPUP);
  COwnerMenu popup;
  popup.CreatePopupMenu();
  popup.AppendMenu(MF_OWNERDRAW, 300, nullptr);
  CMenu bar;
  bar.CreateMenu();
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.m_hMenu), "Menu");
  AfxGetThreadState()->m_hTrackingMenu = bar.m_hMenu;

  MEASUREITEMSTRUCT mis = {};
  mis.CtlType = ODT_MENU;
  mis.itemID = 300;
  ::SendMessageA(wnd.m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_EQ(popup.measured, 1);
  EXPECT_EQ(mis.itemHeight, 17u);
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_MENU;
  dis.itemID = 300;
  dis.hwndItem = reinterpret_cast<HWND>(popup.m_hMenu);
  ::SendMessageA(wnd.m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(popup.drawn, 1);

  AfxGetThreadState()->m_hTrackingMenu = nullptr;
  bar.RemoveMenu(0, MF_BYPOSITION);  // the pop-up belongs to its own object
  wnd.DestroyWindow();
}
