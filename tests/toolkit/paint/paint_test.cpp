// The flat painters drawing a real "ToolbarWindow32", combo box, edit and an
// owner-drawn list into 32-bit DIB sections, checked pixel by pixel against
// the numbers the flat look is defined by.
#include <gtest/gtest.h>

#include "tests/support/dialog_robot.h"
#include "tests/support/dib_surface.h"
#include "tests/support/golden_image.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/paint/FlatPainters.h"

namespace {

COLORREF Tk(int n) { return GetToolkitColor(n); }
const COLORREF kBarBackground = RGB(0x12, 0x34, 0x56);
const COLORREF kStripColor = RGB(0, 200, 0);

enum : int { kDisabledChecked, kSeparator, kDropDown, kChecked, kRowBreak, kColorCommand, kButtonCount };

class TestBar : public CXTPaintableBar {
 public:
  HWND GetBarWindow() const override { return bar; }
  COLORREF GetBackgroundColor() const override { return kBarBackground; }
  BOOL IsShowingPopup() const override { return FALSE; }
  int GetMarkedButton() const override { return marked; }
  BOOL GetCommandColor(UINT id, COLORREF* color) const override {
    *color = kStripColor;
    return id == 205;
  }
  HWND bar = nullptr;
  int marked = -1;
};

// A tool bar of every kind of button the flat look distinguishes, in a
// window away from the mouse.
class FlatPainting : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    MoveCursor({0, 0});
    GetSharedState().m_xpLook = TRUE;
    m_frame = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 400, 300, 400, 200, nullptr, nullptr,
                                nullptr, nullptr);
    m_bar.bar = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER, 0, 0,
                                  400, 100, m_frame, nullptr, nullptr, nullptr);
    ::SendMessageA(m_bar.bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(m_bar.bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    TBBUTTON buttons[kButtonCount] = {
        {I_IMAGENONE, 200, TBSTATE_CHECKED, BTNS_CHECK, {}, 0, 0},
        {8, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
        {I_IMAGENONE, 201, TBSTATE_ENABLED, BTNS_DROPDOWN, {}, 0, 0},
        {I_IMAGENONE, 202, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK, {}, 0, 0},
        {8, 0, TBSTATE_ENABLED | TBSTATE_WRAP, BTNS_SEP, {}, 0, 0},
        {I_IMAGENONE, 205, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    };
    ::SendMessageA(m_bar.bar, TB_ADDBUTTONSA, kButtonCount, reinterpret_cast<LPARAM>(buttons));
    ::SendMessageA(m_bar.bar, TB_AUTOSIZE, 0, 0);
  }
  void TearDown() override {
    ::DestroyWindow(m_frame);
    GetSharedState().m_xpLook = FALSE;
    GetPaintStyle().SetSuspendPress(FALSE);
  }
  CRect Item(int index) {
    CRect r;
    ::SendMessageA(m_bar.bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  CXTToolBarPainter& Painter() { return *GetPaintStyle().GetToolBarPainter(); }
  // A child control of the frame, as a temporary CWnd.
  CWnd* Child(LPCSTR cls, DWORD style, int w, int h) {
    HWND child = ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 10, 120, w, h, m_frame, nullptr,
                                   nullptr, nullptr);
    return CWnd::FromHandle(child);
  }

  HWND m_frame = nullptr;
  TestBar m_bar;
};

std::vector<COLORREF> Same(COLORREF c, int n) { return std::vector<COLORREF>(n, c); }

}  // namespace

TEST(PaintStyle, ClassicLookHandsOutNoPainters) {
  GetSharedState().m_xpLook = FALSE;
  CXTPaintStyle& classic = GetPaintStyle();
  EXPECT_EQ(classic.GetBorderPainter(), nullptr);
  EXPECT_EQ(classic.GetComboPainter(), nullptr);
  EXPECT_EQ(classic.GetToolBarPainter(), nullptr);
  EXPECT_EQ(classic.GetListPainter(), nullptr);
  EXPECT_FALSE(classic.SetSuspendPress(TRUE));
  GetSharedState().m_xpLook = TRUE;
  EXPECT_NE(GetPaintStyle().GetToolBarPainter(), nullptr);
  EXPECT_TRUE(GetPaintStyle().SetSuspendPress(TRUE));
  EXPECT_FALSE(GetPaintStyle().SetSuspendPress(FALSE));
  GetSharedState().m_xpLook = FALSE;
}

TEST_F(FlatPainting, CheckedButtonsFramedAndFilledByState) {
  DibSurface s(400, 100, RGB(255, 255, 255));
  Painter().DrawButton(&s.dc(), m_bar, kDisabledChecked);
  Painter().DrawButton(&s.dc(), m_bar, kChecked);
  const CRect off = Item(kDisabledChecked), on = Item(kChecked);
  EXPECT_EQ(s.run(off.left, off.top, 1, 0, off.Width()), Same(Tk(43), off.Width()));
  EXPECT_EQ(s.at(off.left + 1, off.top + 1), GetSharedState().m_clrFace);
  EXPECT_EQ(s.at(on.left, on.bottom - 1), Tk(37));
  EXPECT_EQ(s.at(on.left + 1, on.bottom - 2), Tk(36));
  m_bar.marked = kChecked;  // customise mode's drag mark wins over the check frame
  Painter().DrawButton(&s.dc(), m_bar, kChecked);
  EXPECT_EQ(s.at(on.left, on.bottom - 1), Tk(43));
}

TEST_F(FlatPainting, HotDropDownFramesItsPartAndDrawsTheArrow) {
  ::SendMessageA(m_bar.bar, TB_SETHOTITEM, kDropDown, 0);
  DibSurface s(400, 100, RGB(255, 255, 255));
  Painter().DrawButton(&s.dc(), m_bar, kDropDown);
  const CRect r = Item(kDropDown);
  const int mid = (r.top + r.bottom) / 2;
  EXPECT_EQ(s.at(r.left, mid), Tk(32));
  EXPECT_EQ(s.at(r.right - 14, mid - 4), Tk(32));  // the part's own frame
  EXPECT_EQ(s.at(r.left + 2, r.top + 2), Tk(31));
  const int x = (2 * r.right - 14 - 3) / 2, y = (r.top + r.bottom - 1) / 2;
  const COLORREF a = Tk(45), b = Tk(31);
  EXPECT_EQ(s.run(x - 1, y, 1, 0, 7), (std::vector<COLORREF>{b, a, a, a, a, a, b}));
  EXPECT_EQ(s.run(x - 1, y + 1, 1, 0, 7), (std::vector<COLORREF>{b, b, a, a, a, b, b}));
  EXPECT_EQ(s.run(x - 1, y + 2, 1, 0, 7), (std::vector<COLORREF>{b, b, b, a, b, b, b}));
  EXPECT_EQ(s.run(x - 1, y + 3, 1, 0, 7), Same(b, 7));
}

TEST_F(FlatPainting, BothSeparatorsDrawOneLineInColour39) {
  DibSurface s(400, 100, RGB(255, 255, 255));
  Painter().DrawSeparator(&s.dc(), m_bar, kSeparator);
  const CRect v = Item(kSeparator);
  EXPECT_EQ(s.run(v.left + 3, v.top + 2, 0, 1, v.Height() - 4), Same(Tk(39), v.Height() - 4));
  EXPECT_EQ(s.at(v.left + 3, v.top + 1), kBarBackground);
  EXPECT_EQ(s.at(v.left + 3, v.bottom - 2), kBarBackground);
  EXPECT_EQ(s.at(v.left + 2, v.top + 4), kBarBackground);

  Painter().DrawSeparator(&s.dc(), m_bar, kRowBreak);
  const CRect w = Item(kRowBreak);
  const int line = ((w.bottom - w.Width()) + w.bottom) / 2 - 1;
  CRect client;
  ::GetClientRect(m_bar.bar, &client);
  EXPECT_EQ(s.run(w.left, line, 1, 0, client.Width() - w.left), Same(Tk(39), client.Width() - w.left));
  EXPECT_EQ(s.at(w.left, line + 1), kBarBackground);
}

TEST_F(FlatPainting, ColourCommandShowsItsStrip) {
  DibSurface s(400, 100, RGB(255, 255, 255));
  Painter().DrawButton(&s.dc(), m_bar, kColorCommand);
  const CRect r = Item(kColorCommand);
  EXPECT_EQ(s.run(r.left + 4, r.bottom - 7, 1, 0, r.Width() - 8), Same(kStripColor, r.Width() - 8));
  EXPECT_EQ(s.run(r.left + 4, r.bottom - 7, 0, 1, 3), Same(kStripColor, 3));
  EXPECT_EQ(s.at(r.left + 4, r.bottom - 4), kBarBackground);
  EXPECT_EQ(s.at(r.left + 3, r.bottom - 7), kBarBackground);
}

TEST_F(FlatPainting, ComboFrameButtonAndArrowFollowItsState) {
  CWnd* combo = Child("COMBOBOX", CBS_DROPDOWNLIST, 120, 200);
  CRect c;
  combo->GetClientRect(&c);
  const int thumb = GetSharedState().m_cxThumb;
  CXTComboPainter& painter = *GetPaintStyle().GetComboPainter();
  struct {
    BOOL hot, suspend;
    COLORREF frame, button, arrow;
  } cases[] = {
      {FALSE, FALSE, GetSharedState().m_clrWindow, GetSharedState().m_clrFace, Tk(44)},
      {TRUE, FALSE, Tk(32), Tk(31), Tk(44)},
      {TRUE, TRUE, GetSharedState().m_clrWindow, GetSharedState().m_clrFace, Tk(44)},  // press suspended: not hot
  };
  for (const auto& k : cases) {
    GetPaintStyle().SetSuspendPress(k.suspend);
    DibSurface s(c.Width(), c.Height(), RGB(1, 1, 1));
    painter.DrawCombo(combo, &s.dc(), k.hot);
    const int buttonLeft = c.right - 1 - (thumb + 2);
    EXPECT_EQ(s.at(0, 0), GetSharedState().m_clrFace) << k.hot << k.suspend;
    EXPECT_EQ(s.at(1, 1), k.frame) << k.hot << k.suspend;
    EXPECT_EQ(s.at(buttonLeft, c.Height() / 2), k.frame) << k.hot << k.suspend;
    EXPECT_EQ(s.at(buttonLeft + 1, 2), k.button) << k.hot << k.suspend;
    const CRect inner(buttonLeft + 1, 2, c.right - 2, c.bottom - 2);
    const int x = (inner.left + inner.right - 3) / 2, y = (inner.top + inner.bottom - 1) / 2;
    EXPECT_EQ(s.run(x, y, 1, 0, 5), Same(k.arrow, 5)) << k.hot << k.suspend;
    EXPECT_EQ(s.at(x + 2, y + 2), k.arrow);
    EXPECT_EQ(s.at(x + 1, y + 2), k.button);
  }
}

TEST_F(FlatPainting, BorderHasThreeFramesFromTheInsideOut) {
  CWnd* edit = Child("EDIT", 0, 60, 20);
  CXTBorderPainter& painter = *GetPaintStyle().GetBorderPainter();
  const CXTSharedState& state = GetSharedState();
  DibSurface s(60, 20, RGB(1, 1, 1));
  painter.DrawBorder(edit, &s.dc(), TRUE);
  EXPECT_EQ(s.run(0, 10, 1, 0, 4), (std::vector<COLORREF>{state.m_clrFace, Tk(32), state.m_clrWindow, RGB(1, 1, 1)}));
  edit->EnableWindow(FALSE);
  painter.DrawBorder(edit, &s.dc(), FALSE);
  EXPECT_EQ(s.run(0, 10, 1, 0, 3), (std::vector<COLORREF>{state.m_clrFace, state.m_clrWindow, state.m_clrFace}));
}

namespace {

class TestList : public CXTPaintableList {
 public:
  HWND GetListWindow() const override { return nullptr; }
  int GetIconColumnWidth() const override { return 22; }
  UINT GetItemCommand(const DRAWITEMSTRUCT&) const override { return command; }
  CString GetItemText(const DRAWITEMSTRUCT&) const override { return CString(); }
  void PaintItemsInto(CDC*) override {}
  UINT command = 0;
};

}  // namespace

TEST_F(FlatPainting, SubmenuItemsGetTheTriangle) {
  DibSurface s(120, 20, RGB(1, 1, 1));
  TestList list;
  DRAWITEMSTRUCT item = {};
  item.hDC = s.dc().m_hDC;
  item.rcItem = {0, 0, 120, 20};
  GetPaintStyle().GetListPainter()->DrawListItem(item, list);
  const COLORREF t = Tk(44), f = Tk(41);
  // Columns 109 to 113: rows 6-15, 7-14, 8-13, 9-12, 10-11.
  for (int column = 0; column < 5; ++column) {
    const int x = 109 + column, first = 6 + column, last = 15 - column;
    EXPECT_EQ(s.at(x, first - 1), f) << column;
    EXPECT_EQ(s.run(x, first, 0, 1, last - first + 1), Same(t, last - first + 1)) << column;
    EXPECT_EQ(s.at(x, last + 1), f) << column;
  }
  EXPECT_EQ(s.at(114, 10), f);
  EXPECT_EQ(s.at(5, 5), Tk(30));  // the icon column
  item.itemState = ODS_SELECTED;
  GetPaintStyle().GetListPainter()->DrawListItem(item, list);
  EXPECT_EQ(s.at(0, 0), Tk(32));
  EXPECT_EQ(s.at(5, 5), Tk(31));
}

// The whole row as kept, in both looks: the flat painter's drawing of every
// kind of button it tells apart (the drop-down hot), and the classic look,
// where the bar paints itself.
TEST_F(FlatPainting, ButtonRowInBothLooksAsKept) {
  ::SendMessageA(m_bar.bar, TB_SETHOTITEM, kDropDown, 0);
  CRect row = Item(0);
  for (int i = 1; i < kButtonCount; ++i) row.UnionRect(row, Item(i));
  DibSurface flat(row.right, row.bottom, kBarBackground);
  for (int i = 0; i < kButtonCount; ++i) Painter().DrawButton(&flat.dc(), m_bar, i);
  EXPECT_EQ("", CompareWithGolden("flat_button_row", row.right, row.bottom,
                                  [&](int x, int y) { return flat.at(x, y); }));

  GetSharedState().m_xpLook = FALSE;
  DibSurface classic(row.right, row.bottom, kBarBackground);
  ::SendMessageA(m_bar.bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(classic.dc().m_hDC), PRF_CLIENT);
  EXPECT_EQ("", CompareWithGolden("classic_button_row", row.right, row.bottom,
                                  [&](int x, int y) { return classic.at(x, y); }));
}
