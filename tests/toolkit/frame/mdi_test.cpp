// The toolkit's multiple-document frames: a frame with three children, its
// "More Windows..." command opening the window list, and what the list's
// buttons do with the children selected in it.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "classlib/classlib.h"
#include "dialog_robot.h"
#include "mdi_test_resource.h"
#include "toolkit/frame/MDIFrameWnd.h"
#include "toolkit_resource.h"

namespace {

class MDI : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\BrennicorToolkitMdiTest");
    AfxGetApp()->SetRegistryKey("BrennicorToolkitMdiTest");
    m_frame = new CXTMDIFrameWnd;
    ASSERT_TRUE(m_frame->Create(nullptr, "MDI Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 700, 520), nullptr,
                                MAKEINTRESOURCEA(IDR_MDI_TEST)));
    const char* titles[] = {"One", "Two", ""};
    for (const char* title : titles) {
      auto* child = new CXTMDIChildWnd;
      ASSERT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                                m_frame));
      m_children.push_back(child->m_hWnd);
    }
  }
  void TearDown() override {
    if (m_frame) m_frame->DestroyWindow();
  }
  // Runs the window list from the frame's command; act gets the dialog and its list.
  void WithList(const std::function<void(HWND, HWND)>& act) {
    DialogRobot robot({{DialogKey::WithControl(IDC_XT_WINDOW_LIST), [&](HWND dialog) {
                          act(dialog, ::GetDlgItem(dialog, IDC_XT_WINDOW_LIST));
                          if (::IsWindow(dialog)) Press(dialog, IDCANCEL);
                        }}});
    m_frame->SendMessage(WM_COMMAND, ID_XT_MORE_WINDOWS);
    EXPECT_TRUE(robot.Finished());
  }
  // Selects exactly the lines of these children.
  static void Select(HWND list, const std::vector<HWND>& children) {
    const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    ::SendMessageA(list, LB_SETSEL, FALSE, -1);
    for (int i = 0; i < count; ++i) {
      const HWND child = reinterpret_cast<HWND>(::SendMessageA(list, LB_GETITEMDATA, i, 0));
      for (HWND wanted : children)
        if (child == wanted) ::SendMessageA(list, LB_SETSEL, TRUE, i);
    }
    ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_XT_WINDOW_LIST, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
  }
  static std::array<BOOL, 4> Enabled(HWND dialog) {
    return {::IsWindowEnabled(::GetDlgItem(dialog, IDC_XT_WINDOW_ACTIVATE)),
            ::IsWindowEnabled(::GetDlgItem(dialog, IDC_XT_WINDOW_CLOSE)),
            ::IsWindowEnabled(::GetDlgItem(dialog, IDC_XT_WINDOW_TILE_HORZ)),
            ::IsWindowEnabled(::GetDlgItem(dialog, IDC_XT_WINDOW_TILE_VERT))};
  }
  CXTMDIFrameWnd* m_frame = nullptr;
  std::vector<HWND> m_children;
};

// Every child is listed, the active one selected; the buttons enable by the
// number of lines selected (Activate one exactly, Tile at least two).
TEST_F(MDI, ListsEveryChildAndEnablesByTheSelection) {
  int count = 0, selected = 0;
  std::array<BOOL, 4> one = {}, two = {}, none = {};
  WithList([&](HWND dialog, HWND list) {
    count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    selected = static_cast<int>(::SendMessageA(list, LB_GETSELCOUNT, 0, 0));
    one = Enabled(dialog);
    Select(list, {m_children[0], m_children[1]});
    two = Enabled(dialog);
    Select(list, {});
    none = Enabled(dialog);
  });
  EXPECT_EQ(count, 3);
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(one, (std::array<BOOL, 4>{TRUE, TRUE, FALSE, FALSE}));
  EXPECT_EQ(two, (std::array<BOOL, 4>{FALSE, TRUE, TRUE, TRUE}));
  EXPECT_EQ(none, (std::array<BOOL, 4>{FALSE, FALSE, FALSE, FALSE}));
}

// Tiling with one of three selected restores that one and minimises the
// other two; Activate then restores a minimised child and makes it active.
TEST_F(MDI, TileRestoresTheSelectedAndActivateRestoresAMinimisedOne) {
  WithList([&](HWND dialog, HWND list) {
    Select(list, {m_children[1]});
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_XT_WINDOW_TILE_VERT, BN_CLICKED), 0);
  });
  EXPECT_FALSE(::IsIconic(m_children[1]));
  EXPECT_TRUE(::IsIconic(m_children[0]));
  EXPECT_TRUE(::IsIconic(m_children[2]));
  WithList([&](HWND dialog, HWND list) {
    Select(list, {m_children[0]});
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_XT_WINDOW_ACTIVATE, BN_CLICKED), 0);
  });
  EXPECT_FALSE(::IsIconic(m_children[0]));
  ASSERT_NE(m_frame->MDIGetActive(), nullptr);
  EXPECT_EQ(m_frame->MDIGetActive()->m_hWnd, m_children[0]);
}

// Close Window(s) closes each child selected; the list shows those left.
TEST_F(MDI, CloseWindowsClosesTheSelected) {
  int left = 0;
  WithList([&](HWND dialog, HWND list) {
    Select(list, {m_children[0], m_children[2]});
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_XT_WINDOW_CLOSE, BN_CLICKED), 0);
    left = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
  });
  EXPECT_EQ(left, 1);
  EXPECT_FALSE(::IsWindow(m_children[0]));
  EXPECT_TRUE(::IsWindow(m_children[1]));
  EXPECT_FALSE(::IsWindow(m_children[2]));
}

}  // namespace
