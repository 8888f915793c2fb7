// The chevron: buttons hidden from the end until the bar fits, shown again in
// index order, the dock bar fitting the last bar of a row, and the pop-up with
// the hidden buttons: its rows, a control lent to it and given back, closing
// when the frame is activated, and a command clicked in it reaching the frame;
// the flat buttons in their states and the pop-up as kept pictures.
#include <gtest/gtest.h>

#include <vector>

#include "bars_fixture.h"
#include "tests/support/dialog_robot.h"
#include "tests/support/golden_image.h"
#include "tests/support/screenshot.h"
#include "tests/support/waiting.h"
#include "tool_bar_harness.h"
#include "tool_bar_harness_resource.h"
#include "toolkit/bars/ChevronButton.h"
#include "toolkit/bars/HiddenButtonsPopup.h"
#include "toolkit/common/SharedState.h"

namespace {

CWinApp theApp("Tool Bar Chevron Test");

class ChevronEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ChevronEnvironment);

const int kLength = 80;

std::vector<int> HiddenIndexes(const CXTToolBar& bar) {
  std::vector<int> hidden;
  for (int i = 0; i < bar.GetButtonCount(); ++i)
    if (bar.SendMessage(TB_ISBUTTONHIDDEN, bar.GetItemID(i))) hidden.push_back(i);
  return hidden;
}

int FixedLength(CXTToolBar& bar) { return bar.CalcFixedLayout(FALSE, TRUE).cx; }

// Buttons on the first row of a bar: those as high up as the first.
int ButtonsOnFirstRow(CXTToolBar& bar) {
  int count = 0, top = -1;
  for (int i = 0; i < bar.GetButtonCount(); ++i) {
    if (bar.GetItemID(i) == 0) continue;
    CRect item;
    bar.SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    if (top == -1) top = item.top;
    if (item.top == top) ++count;
  }
  return count;
}

class Chevron : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = CToolBarHarness::Open(CRect(40, 40, 700, 400));
    ASSERT_NE(m_frame, nullptr);
    PumpAndIdle();
  }
  void TearDown() override {
    GetSharedState().m_xpLook = FALSE;
    if (m_bar.m_hWnd) m_bar.DestroyWindow();
    if (m_frame) m_frame->DestroyWindow();
  }
  // A plain bar of count buttons on the frame, outside any dock bar.
  void MakeBar(int count, int buttonWidth = 23) {
    ASSERT_TRUE(m_bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 59520));
    std::vector<UINT> ids;
    for (int i = 0; i < count; ++i) ids.push_back(ID_HARNESS_NEW + i % 7);
    m_bar.SetSizes(CSize(buttonWidth, 22), CSize(16, 15));
    ASSERT_TRUE(m_bar.SetButtons(ids.data(), count));
  }
  CXTExpMenuWnd* OpenPopup(CXTToolBar& bar) {
    CXTExpButton* chevron = bar.Chevron();
    if (!chevron || !chevron->IsWindowVisible()) return nullptr;
    chevron->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    chevron->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    return chevron->Popup();
  }
  CToolBarHarness* m_frame = nullptr;
  CXTToolBar m_bar;
};

TEST_F(Chevron, ButtonsHideFromTheEndUntilTheBarAndItsChevronFit) {
  MakeBar(5);
  const int full = FixedLength(m_bar);
  ASSERT_GT(full, kLength);
  EXPECT_EQ(m_bar.HideButtonsToFit(full, kLength, TRUE), full);
  const std::vector<int> hidden = HiddenIndexes(m_bar);
  ASSERT_FALSE(hidden.empty());
  EXPECT_EQ(hidden.back(), 4) << "hidden from the end";
  EXPECT_EQ(hidden.front(), 5 - static_cast<int>(hidden.size()));
  EXPECT_LE(FixedLength(m_bar) + CXTToolBar::kChevronAllowance, kLength);
  EXPECT_TRUE(m_bar.HasHiddenButtons());
  EXPECT_TRUE(m_bar.Chevron()->IsWindowVisible());

  // Room for one more brings back the first hidden one, and only it.
  const int shown = m_bar.ShowButtonsThatFit(full, FixedLength(m_bar) + 23, TRUE);
  const std::vector<int> after = HiddenIndexes(m_bar);
  ASSERT_EQ(after.size(), hidden.size() - 1);
  EXPECT_EQ(after.front(), hidden.front() + 1);
  EXPECT_GT(shown, 0);
  // With room for all, all come back and the bar takes its full length.
  EXPECT_EQ(m_bar.ShowButtonsThatFit(full, 1000, TRUE), full);
  EXPECT_TRUE(HiddenIndexes(m_bar).empty());
  EXPECT_FALSE(m_bar.HasHiddenButtons());
}

TEST_F(Chevron, OneButtonAlwaysStays) {
  MakeBar(5);
  m_bar.HideButtonsToFit(FixedLength(m_bar), 5, TRUE);
  EXPECT_EQ(HiddenIndexes(m_bar).size(), 4u);
}

// The format bar ends the row: a narrow frame hides its combo box behind the
// chevron, the pop-up borrows the combo box and gives it back, and a wide
// frame shows it again in the bar.
TEST_F(Chevron, TheLastBarOfARowHidesWhatTheFrameCannotHoldAndLendsIt) {
  CXTToolBar& format = m_frame->m_format;
  CWnd& combo = m_frame->m_fontCombo;
  const auto resize = [&](int width) {
    m_frame->SetWindowPos(nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
    m_frame->RecalcLayout();
    PumpAndIdle();
  };
  resize(300);
  ASSERT_TRUE(format.HasHiddenButtons());
  ASSERT_TRUE(format.SendMessage(TB_ISBUTTONHIDDEN, ID_HARNESS_FONT_COMBO));
  EXPECT_TRUE(format.Chevron()->IsWindowVisible());
  EXPECT_FALSE(combo.IsWindowVisible());

  CXTExpMenuWnd* popup = OpenPopup(format);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(::GetParent(combo.m_hWnd), popup->m_hiddenBar.m_hWnd);
  EXPECT_TRUE(combo.IsWindowVisible());
  // The plain separator before the combo box is not copied.
  for (int i = 0; i < popup->m_hiddenBar.GetButtonCount(); ++i) {
    TBBUTTON button;
    popup->m_hiddenBar.GetButton(i, &button);
    EXPECT_FALSE((button.fsStyle & TBSTYLE_SEP) && button.idCommand == 0 && !(button.fsState & TBSTATE_WRAP)) << i;
  }
  // Activating the frame closes the pop-up; the combo box goes home hidden.
  m_frame->SetForegroundWindow();
  m_frame->SetActiveWindow();
  ASSERT_TRUE(PumpUntil([&] { return format.Chevron()->Popup() == nullptr; }, 5000));
  EXPECT_EQ(::GetParent(combo.m_hWnd), format.m_hWnd);
  EXPECT_FALSE(combo.IsWindowVisible());

  resize(900);
  EXPECT_FALSE(format.HasHiddenButtons());
  EXPECT_TRUE(combo.IsWindowVisible());
}

// The pop-up's rows hold 250 pixels of wide buttons, else six buttons.
TEST_F(Chevron, PopupRowsHoldTwoHundredFiftyPixelsOrSixButtons) {
  struct Case {
    int buttonWidth, buttons, perRow;
  };
  for (const Case& c : {Case{23, 13, 6}, Case{42, 11, 5}}) {
    MakeBar(c.buttons, c.buttonWidth);
    m_bar.HideButtonsToFit(FixedLength(m_bar), 5, TRUE);
    CXTExpMenuWnd* popup = OpenPopup(m_bar);
    ASSERT_NE(popup, nullptr) << c.buttonWidth;
    EXPECT_EQ(popup->m_hiddenBar.GetButtonCount() - 1, c.buttons - 1) << "one wrap separator";
    EXPECT_EQ(ButtonsOnFirstRow(popup->m_hiddenBar), c.perRow) << c.buttonWidth;
    popup->Close();
    EXPECT_EQ(m_bar.Chevron()->Popup(), nullptr);
    m_bar.DestroyWindow();
  }
}

TEST_F(Chevron, ACommandClickedInThePopupReachesTheFrameAndClosesIt) {
  CXTToolBar& bar = m_frame->m_standard;
  bar.HideButtonsToFit(FixedLength(bar), 60, TRUE);
  CXTExpMenuWnd* popup = OpenPopup(bar);
  ASSERT_NE(popup, nullptr);
  PumpAndIdle();
  CXTToolBar& hidden = popup->m_hiddenBar;
  const UINT command = hidden.GetItemID(0);
  CRect item;
  hidden.SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  hidden.ClientToScreen(&item);
  m_frame->m_commands.clear();
  ClickWithMouse(item.CenterPoint());
  ASSERT_TRUE(PumpUntil([&] { return !m_frame->m_commands.empty(); }, 5000));
  EXPECT_EQ(m_frame->m_commands.front(), command);
  EXPECT_EQ(bar.Chevron()->Popup(), nullptr);
}

std::string CompareWindowWithGolden(HWND window, const char* name) {
  PumpWaiting();
  Screenshot shot(window);
  return CompareWithGolden(name, shot.Width(), shot.Height(), [&](int x, int y) { return shot.Pixel(x, y); });
}

// The flat look: a hot button, a pressed one, a checked one, a disabled one,
// a drop-down with its arrow and the colour strip under the colour button;
// then the chevron's pop-up with the hidden buttons and Customize....
TEST_F(Chevron, FlatButtonsAndThePopupDrawAsKept) {
  GetSharedState().m_xpLook = TRUE;
  m_frame->m_boldChecked = TRUE;
  m_frame->m_printEnabled = FALSE;
  m_frame->SetForegroundWindow();
  m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  PumpAndIdle();
  CXTToolBar& standard = m_frame->m_standard;
  standard.SendMessage(TB_PRESSBUTTON, ID_HARNESS_COPY, TRUE);
  CRect hot;
  standard.SendMessage(TB_GETITEMRECT, standard.CommandToIndex(ID_HARNESS_NEW), reinterpret_cast<LPARAM>(&hot));
  standard.ClientToScreen(&hot);
  SettleMouse(hot.CenterPoint());
  PumpUntil([&] { return standard.SendMessage(TB_GETHOTITEM) == standard.CommandToIndex(ID_HARNESS_NEW); }, 3000);
  EXPECT_EQ(CompareWindowWithGolden(standard.m_hWnd, "tool_bar_flat_standard"), "");
  EXPECT_EQ(CompareWindowWithGolden(m_frame->m_format.m_hWnd, "tool_bar_flat_format"), "");

  MoveCursor({1200, 1000});
  standard.HideButtonsToFit(FixedLength(standard), 120, TRUE);
  CXTExpMenuWnd* popup = OpenPopup(standard);
  ASSERT_NE(popup, nullptr);
  popup->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_EQ(CompareWindowWithGolden(popup->m_hWnd, "tool_bar_chevron_popup"), "");
  popup->Close();
}

}  // namespace
