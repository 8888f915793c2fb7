// The tool bar on the harness frame: buttons and their style word, separator
// widths, sizes, the coalesced relayout, row wrapping, the reflected
// notifications of the common control, command updates, drop-downs, controls
// on separators and tips.
#include <gtest/gtest.h>

#include <string>

#include "bars_fixture.h"
#include "tests/support/dib_surface.h"
#include "tool_bar_harness.h"
#include "tool_bar_harness_resource.h"
#include "toolkit/bars/ToolBarMessages.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/frame/ShortcutManager.h"

namespace {

CWinApp theApp("Tool Bar Test");

class ToolBarEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ToolBarEnvironment);

// Counts the layouts the relayout message runs.
class CCountingToolBar : public CXTToolBar {
 public:
  void PositionControls() override {
    ++positioned;
    CXTToolBar::PositionControls();
  }
  int positioned = 0;
};

class ToolBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = CToolBarHarness::Open(CRect(40, 40, 640, 400));
    ASSERT_NE(m_frame, nullptr);
    PumpAndIdle();
  }
  void TearDown() override {
    GetSharedState().m_xpLook = FALSE;
    if (m_frame) m_frame->DestroyWindow();
  }
  // Sends a notification from the bar to its parent, which reflects it.
  LRESULT Notify(CXTToolBar& bar, NMHDR* header, UINT code) {
    header->hwndFrom = bar.m_hWnd;
    header->idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(bar.m_hWnd));
    header->code = code;
    return ::SendMessageA(::GetParent(bar.m_hWnd), WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
  }
  CToolBarHarness* m_frame = nullptr;
};

TEST_F(ToolBarTest, ButtonsComeInOrderWithSeparatorsSixPixelsWideOnAFlatBar) {
  CXTToolBar& bar = m_frame->m_standard;
  ASSERT_EQ(bar.GetButtonCount(), 9);
  EXPECT_EQ(bar.GetItemID(0), static_cast<UINT>(ID_HARNESS_NEW));
  EXPECT_EQ(bar.GetItemID(8), static_cast<UINT>(ID_HARNESS_PRINT));
  UINT id, style;
  int image;
  bar.GetButtonInfo(3, id, style, image);
  EXPECT_EQ(id, 0u);
  EXPECT_EQ(LOWORD(style), TBSTYLE_SEP);
  EXPECT_EQ(image, 6);
  // Images are numbered over the buttons only.
  bar.GetButtonInfo(4, id, style, image);
  EXPECT_EQ(image, 3);
}

TEST_F(ToolBarTest, SeparatorsOfAClassicBarAreEightPixelsWide) {
  CXTToolBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | CBRS_TOP, 59510));
  const UINT ids[] = {ID_HARNESS_NEW, 0, ID_HARNESS_OPEN};
  ASSERT_TRUE(bar.SetButtons(ids, 3));
  UINT id, style;
  int image;
  bar.GetButtonInfo(1, id, style, image);
  EXPECT_EQ(image, 8);
  bar.DestroyWindow();
}

TEST_F(ToolBarTest, StyleWordInvertsTheEnabledBit) {
  CXTToolBar& bar = m_frame->m_standard;
  const int cut = bar.CommandToIndex(ID_HARNESS_CUT);
  EXPECT_EQ(bar.GetButtonStyle(cut) & 0x40000, 0u) << "enabled reads as a clear bit";
  bar.SetButtonStyle(cut, bar.GetButtonStyle(cut) | 0x40000);
  TBBUTTON raw = {};
  bar.SendMessage(TB_GETBUTTON, cut, reinterpret_cast<LPARAM>(&raw));
  EXPECT_EQ(raw.fsState & TBSTATE_ENABLED, 0) << "the window's own state is disabled";
  EXPECT_NE(bar.GetButtonStyle(cut) & 0x40000, 0u);
}

TEST_F(ToolBarTest, AnEmptyBarMeasuresAtLeastTwentyTwoPixelsPlusBorders) {
  CXTToolBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | CBRS_TOP, 59511));
  CRect inside(0, 0, 0, 0);
  bar.CalcInsideRect(inside, TRUE);
  const CSize size = bar.CalcFixedLayout(FALSE, TRUE);
  EXPECT_GE(size.cx, 22 - inside.Width());
  EXPECT_GE(size.cy, 22 - inside.Height());
  bar.DestroyWindow();
}

// Wine keeps the padding at most SM_CXEDGE by SM_CYEDGE whatever is asked,
// so only the narrower buttons show.
TEST_F(ToolBarTest, AFlatListBarHasNarrowerButtons) {
  GetSharedState().m_xpLook = TRUE;
  CXTToolBar bar;
  ASSERT_TRUE(bar.CreateEx(m_frame, TBSTYLE_FLAT | TBSTYLE_LIST, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0), 59512));
  bar.SetSizes(CSize(40, 22), CSize(16, 15));
  const UINT ids[] = {ID_HARNESS_NEW};
  ASSERT_TRUE(bar.SetButtons(ids, 1));
  CRect item;
  bar.GetItemRect(0, &item);
  EXPECT_EQ(item.Width(), 36);
  bar.DestroyWindow();
}

TEST_F(ToolBarTest, ThreeRelayoutPostsLayTheBarOutOnce) {
  CCountingToolBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 59513));
  const UINT ids[] = {ID_HARNESS_NEW, ID_HARNESS_OPEN};
  ASSERT_TRUE(bar.SetButtons(ids, 2));
  PumpAndIdle();
  bar.positioned = 0;
  for (int i = 0; i < 3; ++i) bar.PostRelayout();
  PumpAndIdle();
  EXPECT_EQ(bar.positioned, 1);
  bar.DestroyWindow();
}

TEST_F(ToolBarTest, ParentNotifyPostsTheFixedWidthThenLaysOut) {
  CCountingToolBar bar;
  ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 59514));
  const UINT ids[] = {ID_HARNESS_NEW, ID_HARNESS_OPEN};
  ASSERT_TRUE(bar.SetButtons(ids, 2));
  PumpAndIdle();
  bar.positioned = 0;
  bar.RequestParentNotify();
  bar.RequestParentNotify();
  MSG msg;
  bool widthPosted = false;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == XTWM_TOOLBAR_NEW_WIDTH && msg.hwnd == m_frame->m_hWnd) {
      widthPosted = true;
      EXPECT_EQ(reinterpret_cast<HWND>(msg.wParam), bar.m_hWnd);
      EXPECT_EQ(msg.lParam, bar.CalcFixedLayout(FALSE, TRUE).cx);
    }
    ::DispatchMessageA(&msg);
  }
  EXPECT_TRUE(widthPosted);
  EXPECT_EQ(bar.positioned, 1);
  bar.DestroyWindow();
}

// ---- rows

CXTToolBar::RowModel Model(const std::vector<int>& widths, const std::vector<int>& commands) {
  CXTToolBar::RowModel model;
  model.buttonSize = CSize(23, 22);
  for (size_t i = 0; i < widths.size(); ++i) {
    TBBUTTON b = {};
    b.idCommand = commands[i];
    b.fsState = TBSTATE_ENABLED;
    // A width of 6 stands for a separator; command 0 makes it a plain one.
    if (widths[i] == 6 || commands[i] < 0) {
      b.fsStyle = TBSTYLE_SEP;
      b.iBitmap = widths[i];
      b.idCommand = commands[i] < 0 ? -commands[i] : 0;
    }
    model.buttons.push_back(b);
    model.widths.push_back(widths[i]);
  }
  return model;
}

std::vector<int> WrapsOf(const CXTToolBar::RowModel& model) {
  std::vector<int> wraps;
  for (size_t i = 0; i < model.buttons.size(); ++i)
    if (model.buttons[i].fsState & TBSTATE_WRAP) wraps.push_back(static_cast<int>(i));
  return wraps;
}

TEST(ToolBarRows, WrapPrefersPlainSeparatorsThenButtons) {
  struct Case {
    const char* what;
    std::vector<int> widths, commands;
    int width;
    int rows;
    std::vector<int> wraps;
  } cases[] = {
      {"all on one row", {23, 23, 6, 23}, {1, 2, 0, 3}, 200, 1, {}},
      {"break at the separator", {23, 23, 6, 23, 23}, {1, 2, 0, 3, 4}, 60, 2, {2}},
      {"no separator: the button before", {23, 23, 23}, {1, 2, 3}, 50, 2, {1}},
      {"a control's separator never takes the break", {23, 100, 23}, {1, -9, 3}, 110, 2, {0}},
      {"width 0: a row per button", {23, 23, 23}, {1, 2, 3}, 0, 3, {0, 1}},
  };
  for (Case& c : cases) {
    CXTToolBar::RowModel model = Model(c.widths, c.commands);
    EXPECT_EQ(CXTToolBar::WrapToolBar(model, c.width), c.rows) << c.what;
    EXPECT_EQ(WrapsOf(model), c.wraps) << c.what;
  }
}

TEST(ToolBarRows, SizeCountsRowsAndWrappedSeparatorGaps) {
  CXTToolBar::RowModel model = Model({23, 23, 6, 23, 23}, {1, 2, 0, 3, 4});
  CXTToolBar::WrapToolBar(model, 32767);
  EXPECT_EQ(CXTToolBar::CalcSize(model), CSize(98, 22));
  CXTToolBar::WrapToolBar(model, 60);
  // Two rows of 46, with the wrapped separator's width as gap between them.
  EXPECT_EQ(CXTToolBar::CalcSize(model), CSize(46, 22 + 6 + 22));
  model.buttons[0].fsState |= TBSTATE_HIDDEN;
  model.buttons[1].fsState |= TBSTATE_HIDDEN;
  CXTToolBar::WrapToolBar(model, 32767);
  EXPECT_EQ(CXTToolBar::CalcSize(model), CSize(52, 22));
}

TEST(ToolBarRows, SizeToolBarFindsTheNarrowestWidthForALengthOrAHeight) {
  CXTToolBar::RowModel model = Model({23, 23, 23, 23, 23, 23}, {1, 2, 3, 4, 5, 6});
  // A width of 100 holds four buttons a row: two rows, and three a row do as well.
  CXTToolBar::SizeToolBar(model, 100, FALSE);
  EXPECT_EQ(CXTToolBar::CalcSize(model), CSize(69, 44));
  // A height of 44 fits two rows: the narrowest such width is three buttons.
  CXTToolBar::SizeToolBar(model, 44, TRUE);
  EXPECT_EQ(CXTToolBar::CalcSize(model), CSize(69, 44));
  CXTToolBar::SizeToolBar(model, 32767, FALSE);
  EXPECT_EQ(CXTToolBar::CalcSize(model), CSize(138, 22));
}

TEST_F(ToolBarTest, AVerticalLayoutPutsEveryButtonOnARow) {
  CXTToolBar& bar = m_frame->m_standard;
  const CSize horizontal = bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
  const CSize vertical = bar.CalcDynamicLayout(-1, LM_VERTDOCK | LM_COMMIT);
  EXPECT_GT(vertical.cy, horizontal.cy * 3);
  EXPECT_LT(vertical.cx, horizontal.cx);
}

// ---- notifications of the common control

TEST_F(ToolBarTest, QueryDeleteRefusesOnlyAHiddenButtonWithACommand) {
  CXTToolBar& bar = m_frame->m_standard;
  const int cut = bar.CommandToIndex(ID_HARNESS_CUT);
  NMTOOLBARA query = {};
  query.iItem = cut;
  EXPECT_EQ(Notify(bar, &query.hdr, TBN_QUERYDELETE), TRUE);
  bar.SendMessage(TB_HIDEBUTTON, ID_HARNESS_CUT, TRUE);
  EXPECT_EQ(Notify(bar, &query.hdr, TBN_QUERYDELETE), FALSE);
  TBBUTTON separator = {};
  bar.GetButton(3, &separator);
  separator.fsState |= TBSTATE_HIDDEN;
  bar.SetButtonInfo(3, separator);
  query.iItem = 3;
  EXPECT_EQ(Notify(bar, &query.hdr, TBN_QUERYDELETE), TRUE);
}

TEST_F(ToolBarTest, GetButtonInfoNamesButtonsFromTheirOwnTextOrTheirString) {
  CXTToolBar& bar = m_frame->m_standard;
  struct Case {
    UINT id;
    const char* name;
  } cases[] = {
      {ID_HARNESS_NEW, "New"},    // prompt, line break, short name
      {ID_HARNESS_SAVE, "Save"},  // its own text wins
      {ID_HARNESS_CUT, "Cut"},
      {ID_HARNESS_PRINT, ""},  // no line break: no text
  };
  for (const Case& c : cases) {
    char text[64] = {};
    NMTOOLBARA info = {};
    info.iItem = bar.CommandToIndex(c.id);
    info.pszText = text;
    info.cchText = sizeof text;
    EXPECT_EQ(Notify(bar, &info.hdr, TBN_GETBUTTONINFOA), TRUE);
    EXPECT_STREQ(text, c.name);
    EXPECT_EQ(info.tbButton.idCommand, static_cast<int>(c.id));
  }
  NMTOOLBARA outside = {};
  outside.iItem = bar.GetButtonCount();
  EXPECT_EQ(Notify(bar, &outside.hdr, TBN_GETBUTTONINFOA), FALSE);
}

TEST_F(ToolBarTest, GetButtonInfoKeepsTheTextInsideASmallBuffer) {
  CXTToolBar& bar = m_frame->m_standard;
  bar.SetButtonText(bar.CommandToIndex(ID_HARNESS_CUT), "Cut the selection");
  char buffer[16];
  memset(buffer, 'G', sizeof buffer);
  NMTOOLBARA info = {};
  info.iItem = bar.CommandToIndex(ID_HARNESS_CUT);
  info.pszText = buffer;
  info.cchText = 5;
  Notify(bar, &info.hdr, TBN_GETBUTTONINFOA);
  EXPECT_STREQ(buffer, "Cut ");
  for (int i = 5; i < 16; ++i) EXPECT_EQ(buffer[i], 'G') << "byte " << i << " past the buffer";
}

TEST_F(ToolBarTest, ButtonTextsShareTheirStringPoolEntries) {
  CXTToolBar& bar = m_frame->m_standard;
  EXPECT_STREQ(bar.GetButtonText(bar.CommandToIndex(ID_HARNESS_OPEN)), "Open");
  EXPECT_STREQ(bar.GetButtonText(bar.CommandToIndex(ID_HARNESS_NEW)), "");
  const int before = static_cast<int>(bar.SendMessage(TB_GETSTRINGA, MAKEWPARAM(0, 5), 0));
  EXPECT_EQ(before, -1) << "two strings in the pool";
  ASSERT_TRUE(bar.SetButtonText(bar.CommandToIndex(ID_HARNESS_NEW), "Open"));
  TBBUTTON a, b;
  bar.GetButton(bar.CommandToIndex(ID_HARNESS_OPEN), &a);
  bar.GetButton(bar.CommandToIndex(ID_HARNESS_NEW), &b);
  EXPECT_EQ(a.iString, b.iString);
}

// ---- command updates

TEST_F(ToolBarTest, UpdatesSetTheDisabledAndCheckedBits) {
  CXTToolBar& format = m_frame->m_format;
  CXTToolBar& standard = m_frame->m_standard;
  const int bold = format.CommandToIndex(ID_HARNESS_BOLD);
  const int print = standard.CommandToIndex(ID_HARNESS_PRINT);
  m_frame->m_boldChecked = TRUE;
  m_frame->m_printEnabled = FALSE;
  format.OnUpdateCmdUI(m_frame, TRUE);
  standard.OnUpdateCmdUI(m_frame, TRUE);
  EXPECT_EQ(format.GetButtonStyle(bold) & ((TBSTATE_CHECKED << 16) | TBSTYLE_CHECK),
            static_cast<UINT>((TBSTATE_CHECKED << 16) | TBSTYLE_CHECK));
  EXPECT_NE(standard.GetButtonStyle(print) & 0x40000, 0u);
  m_frame->m_boldChecked = 2;
  m_frame->m_printEnabled = TRUE;
  format.OnUpdateCmdUI(m_frame, TRUE);
  standard.OnUpdateCmdUI(m_frame, TRUE);
  EXPECT_EQ(format.GetButtonStyle(bold) & ((TBSTATE_CHECKED | TBSTATE_INDETERMINATE) << 16),
            static_cast<UINT>(TBSTATE_INDETERMINATE << 16));
  EXPECT_EQ(standard.GetButtonStyle(print) & 0x40000, 0u);
  // A button with style bit 0x80 stays enabled whatever its update says.
  standard.SetButtonStyle(print, standard.GetButtonStyle(print) | 0x80);
  m_frame->m_printEnabled = FALSE;
  standard.OnUpdateCmdUI(m_frame, TRUE);
  EXPECT_EQ(standard.GetButtonStyle(print) & 0x40000, 0u);
}

// ---- drop-downs

TEST_F(ToolBarTest, ADropDownWithoutMenuOrWindowAsksTheOwner) {
  CXTToolBar& bar = m_frame->m_standard;
  bar.MakeDropDown(ID_HARNESS_COPY, FALSE);
  NMTOOLBARA drop = {};
  drop.iItem = ID_HARNESS_COPY;
  Notify(bar, &drop.hdr, TBN_DROPDOWN);
  ASSERT_EQ(m_frame->m_ownerDropDowns.size(), 1u);
  EXPECT_EQ(m_frame->m_ownerDropDowns[0], static_cast<UINT>(ID_HARNESS_COPY));
  EXPECT_FALSE(bar.IsDropDownOpen(bar.CommandToIndex(ID_HARNESS_COPY))) << "the owner answered 0: closed at once";
  EXPECT_TRUE(bar.SendMessage(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS);
}

TEST_F(ToolBarTest, AChosenColourReachesTheButtonAndTheOwner) {
  CXTToolBar& bar = m_frame->m_format;
  bar.SendMessage(XTWM_COLOR_CHOSEN_FOR_BUTTON, RGB(0, 0, 255), ID_HARNESS_COLOR);
  COLORREF color = 0;
  ASSERT_TRUE(bar.GetCommandColor(ID_HARNESS_COLOR, &color));
  EXPECT_EQ(color, RGB(0, 0, 255));
  EXPECT_FALSE(bar.GetCommandColor(ID_HARNESS_BOLD, &color));
}

// ---- controls

TEST_F(ToolBarTest, AControlSitsOnItsSeparatorAndFollowsIt) {
  CXTToolBar& bar = m_frame->m_format;
  const int index = bar.CommandToIndex(ID_HARNESS_FONT_COMBO);
  CRect item, combo;
  bar.GetItemRect(index, &item);
  m_frame->m_fontCombo.GetWindowRect(&combo);
  bar.ScreenToClient(&combo);
  EXPECT_EQ(item.Width(), combo.Width()) << "the separator takes the control's width";
  EXPECT_EQ(combo.left, item.left);
  // Laid out vertically, the control moves with its separator.
  bar.CalcDynamicLayout(-1, LM_VERTDOCK | LM_COMMIT);
  bar.GetItemRect(index, &item);
  m_frame->m_fontCombo.GetWindowRect(&combo);
  bar.ScreenToClient(&combo);
  EXPECT_EQ(combo.left, item.left);
  EXPECT_EQ(combo.top, item.top + (item.Height() - combo.Height()) / 2);
}

TEST_F(ToolBarTest, APrintedControlAppearsInTheBarsSurface) {
  CXTToolBar& bar = m_frame->m_format;
  CRect client, combo;
  bar.GetClientRect(&client);
  m_frame->m_fontCombo.GetWindowRect(&combo);
  bar.ScreenToClient(&combo);
  DibSurface surface(client.Width(), client.Height(), RGB(255, 0, 255));
  bar.DrawControlsAndSeparators(&surface.dc());
  ::GdiFlush();
  int window = 0;
  const COLORREF windowColor = ::GetSysColor(COLOR_WINDOW);
  for (int x = combo.left; x < combo.right; ++x)
    if (surface.at(x, combo.top + combo.Height() / 2) == windowColor) ++window;
  EXPECT_GT(window, combo.Width() / 3) << "the combo box's field is in the picture";
}

TEST_F(ToolBarTest, AButtonTheBarDoesNotKnowIsHiddenWhenControlsAreRepositioned) {
  CXTToolBar bar;
  ASSERT_TRUE(bar.CreateEx(m_frame, TBSTYLE_FLAT | TBSTYLE_LIST, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0), 59515));
  const UINT ids[] = {ID_HARNESS_NEW};
  ASSERT_TRUE(bar.SetButtons(ids, 1));
  TBBUTTON stranger = {0, ID_HARNESS_OPEN, TBSTATE_ENABLED, TBSTYLE_BUTTON};
  stranger.iString = -1;
  ASSERT_TRUE(bar.SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&stranger)));
  bar.RepositionControls();
  EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONHIDDEN, ID_HARNESS_OPEN));
  EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONINDETERMINATE, ID_HARNESS_OPEN));
  EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONHIDDEN, ID_HARNESS_NEW));
  bar.DestroyWindow();
}

// ---- tips

TEST_F(ToolBarTest, TipsTakeTheShortNameAndNoneWhenSwitchedOff) {
  CXTToolBar& bar = m_frame->m_standard;
  CRect cut;
  bar.GetItemRect(bar.CommandToIndex(ID_HARNESS_CUT), &cut);
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  GetSharedState().m_customizeFlags[7] = TRUE;
  EXPECT_EQ(bar.OnToolHitTest(cut.CenterPoint(), &tool), ID_HARNESS_CUT);
  ASSERT_NE(tool.lpszText, LPSTR_TEXTCALLBACKA);
  EXPECT_STREQ(tool.lpszText, "Cut");
  free(tool.lpszText);
  // With shortcuts the tip names the first of them.
  GetShortcutManager().AddAccelerator(ID_HARNESS_CUT, FVIRTKEY | FCONTROL, 'X');
  GetShortcutManager().AddAccelerator(ID_HARNESS_CUT, FVIRTKEY | FSHIFT, VK_DELETE);
  tool.lpszText = nullptr;
  EXPECT_EQ(bar.OnToolHitTest(cut.CenterPoint(), &tool), ID_HARNESS_CUT);
  EXPECT_STREQ(tool.lpszText, "Cut (Ctrl+X)");
  free(tool.lpszText);
  GetShortcutManager().RemoveAccelerator(FVIRTKEY | FCONTROL, 'X');
  GetShortcutManager().RemoveAccelerator(FVIRTKEY | FSHIFT, VK_DELETE);
  GetSharedState().m_customizeFlags[7] = FALSE;
  GetSharedState().m_customizeFlags[6] = FALSE;
  TOOLINFOA off = {};
  off.cbSize = sizeof off;
  EXPECT_EQ(bar.OnToolHitTest(cut.CenterPoint(), &off), -1);
  GetSharedState().m_customizeFlags[6] = TRUE;
  CRect separator;
  bar.GetItemRect(3, &separator);
  EXPECT_EQ(bar.OnToolHitTest(separator.CenterPoint(), nullptr), -1);
}

}  // namespace
