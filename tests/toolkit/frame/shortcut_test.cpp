// The keyboard shortcut manager: shortcut texts, lookups that ignore how the
// system reads a record, the stored list, and a frame whose shortcuts it has
// taken over, typed at for real.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "classlib/classlib.h"
#include "dialog_robot.h"
#include "keyboard_input.h"
#include "toolkit/frame/FrameWnd.h"
#include "toolkit/frame/ShortcutManager.h"
#include "frame_test_resource.h"

namespace {

const char kRegistryKey[] = "BrennicorShortcutTest";

TEST(ShortcutText, ModifiersComeShiftCtrlAltThenTheKeyName) {
  const struct {
    BYTE fVirt;
    WORD key;
    const char* text;
  } cases[] = {
      {FVIRTKEY | FCONTROL | FSHIFT, 'S', "Shift+Ctrl+S"},
      {FVIRTKEY | FALT | FCONTROL | FSHIFT, VK_F12, "Shift+Ctrl+Alt+F12"},
      {FVIRTKEY | FCONTROL, 0, ""},          // no key, no text
      {FVIRTKEY | FCONTROL, 0xFF, "Ctrl+"},  // a key without a name
      {FVIRTKEY | FALT, '0', "Alt+0"},
      {FVIRTKEY, 'Z', "Z"},
      {FVIRTKEY, VK_NUMPAD7, "Num 7"},
      {FVIRTKEY, VK_F1, "F1"},
      {FVIRTKEY, VK_DELETE, "Del"},
      {FVIRTKEY, VK_LBUTTON, "Left Button"},
      {FVIRTKEY | FNOINVERT, VK_OEM_CLEAR, "Oem Clear"},
      {FVIRTKEY, VK_SCROLL, "Scrl Lock"},
      {FVIRTKEY, VK_OEM_1, ""},  // not in the table
  };
  for (const auto& c : cases) {
    const ACCEL accel = {c.fVirt, c.key, 1};
    EXPECT_STREQ(CXTShortcutManager::FormatShortcut(accel), c.text) << c.key;
  }
}

// Records of 6 bytes: fVirt, a zero pad, key and command little-endian.
TEST(ShortcutRecords, AreSixBytesLittleEndianAndReadBackWithoutATrailingPart) {
  const std::vector<ACCEL> list = {{FVIRTKEY | FNOINVERT | FCONTROL, 'O', 0x8101}, {FVIRTKEY, VK_F3, 0x1234}};
  const std::vector<BYTE> bytes = PackAccelerators(list);
  const std::vector<BYTE> expected = {0x0B, 0, 0x4F, 0, 0x01, 0x81, 0x01, 0, 0x72, 0, 0x34, 0x12};
  EXPECT_EQ(bytes, expected);
  std::vector<BYTE> longer = bytes;
  longer.insert(longer.end(), {9, 9, 9});
  const std::vector<ACCEL> back = UnpackAccelerators(longer.data(), static_cast<UINT>(longer.size()));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1].key, VK_F3);
  EXPECT_EQ(back[1].cmd, 0x1234);
}

// The manager's own calls against a frame of ours: a window menu and the
// accelerators of the shortcut menu, a counter of Open commands.
class CShortcutFrame : public CXTFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  int m_opened = 0;
  afx_msg void OnOpen() { ++m_opened; }
};

BEGIN_MESSAGE_MAP(CShortcutFrame, CXTFrameWnd)
ON_COMMAND(ID_FRAME_OPEN, OnOpen)
END_MESSAGE_MAP()

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (CString("Software\\") + kRegistryKey));
    AfxGetApp()->SetRegistryKey(kRegistryKey);
  }
  void TearDown() override {
    if (m_frame) m_frame->DestroyWindow();
  }
  void MakeFrame() {
    m_frame = new CShortcutFrame;
    ASSERT_TRUE(m_frame->Create(nullptr, "Shortcuts", WS_OVERLAPPEDWINDOW, CRect(60, 60, 460, 300), nullptr,
                                MAKEINTRESOURCEA(IDR_SHORTCUT_MENU)));
    ASSERT_TRUE(m_frame->LoadAccelTable(MAKEINTRESOURCEA(IDR_SHORTCUT_MENU)));
    m_frame->ShowWindow(SW_SHOWNORMAL);
  }
  void StoreList(const std::vector<ACCEL>& list) {
    ASSERT_TRUE(Manager().Save(list.data(), static_cast<int>(list.size())));
  }
  // The stored value's size, or -1 when there is none.
  long StoredBytes() {
    const CString key = CString("Software\\") + kRegistryKey + "\\" + AfxGetApp()->m_pszProfileName + "\\Settings";
    DWORD size = 0;
    const LSTATUS status =
        ::RegGetValueA(HKEY_CURRENT_USER, key, "Accelerators", RRF_RT_REG_BINARY, nullptr, nullptr, &size);
    return status == ERROR_SUCCESS ? static_cast<long>(size) : -1;
  }
  // Ctrl+O typed into the frame, the way the class library's pump sees it;
  // true when an Open command came of it.
  bool CtrlOOpens() {
    m_frame->SetForegroundWindow();
    m_frame->SetFocus();
    Pump([&] { return ::GetForegroundWindow() == m_frame->m_hWnd; });
    const int before = m_frame->m_opened;
    PressWith(VK_CONTROL, 'O');
    PressKey(VK_F2);  // a key of no shortcut marks the end of what Ctrl+O did
    bool seenEnd = false;
    Pump([&] { return seenEnd; }, [&](const MSG& msg) { seenEnd |= msg.message == WM_KEYUP && msg.wParam == VK_F2; });
    return m_frame->m_opened > before;
  }
  // Runs the class library's pump until done() holds or two seconds pass.
  static void Pump(const std::function<bool()>& done, const std::function<void(const MSG&)>& seen = nullptr) {
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < 2000) {
      MSG msg;
      if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        continue;
      }
      if (seen) seen(msg);
      AfxGetApp()->PumpMessage();
    }
  }
  CString MenuText(UINT nID) {
    HMENU hPopup = ::GetSubMenu(::GetMenu(m_frame->m_hWnd), 0);
    if (nID == ID_FRAME_CUT) hPopup = ::GetSubMenu(::GetMenu(m_frame->m_hWnd), 1);
    m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), 0);
    char text[64] = "";
    ::GetMenuStringA(hPopup, nID, text, sizeof text, MF_BYCOMMAND);
    return text;
  }
  static CXTShortcutManager& Manager() { return GetShortcutManager(); }

  CShortcutFrame* m_frame = nullptr;
};

TEST_F(Shortcuts, LookupsIgnoreVirtualKeyAndNoInvertBits) {
  MakeFrame();
  StoreList({{FVIRTKEY | FNOINVERT | FCONTROL, 'O', ID_FRAME_OPEN}});
  ASSERT_TRUE(Manager().Activate(m_frame));
  UINT cmd = 0;
  EXPECT_TRUE(Manager().FindAccelerator(FCONTROL, 'O', &cmd));
  EXPECT_EQ(cmd, UINT{ID_FRAME_OPEN});
  EXPECT_FALSE(Manager().FindAccelerator(FCONTROL | FSHIFT, 'O', &cmd));
  EXPECT_FALSE(Manager().RemoveAccelerator(FALT, 'O'));
  EXPECT_TRUE(Manager().RemoveAccelerator(FVIRTKEY | FCONTROL, 'O'));
  EXPECT_TRUE(Manager().GetAccelerators().empty());
}

// Without a stored list the frame's own shortcuts are the working ones;
// the menu shows a command's first shortcut and drops a stale one.
TEST_F(Shortcuts, MenusShowTheFirstShortcutOfEachCommand) {
  MakeFrame();
  EXPECT_EQ(MenuText(ID_FRAME_OPEN), "&Open");  // inactive: menus untouched
  ASSERT_TRUE(Manager().Activate(m_frame));
  EXPECT_EQ(Manager().GetAccelerators().size(), 3u);
  CString text;
  Manager().GetShortcutText(ID_FRAME_OPEN, text);
  EXPECT_EQ(text, "Ctrl+O, F3");
  EXPECT_EQ(MenuText(ID_FRAME_OPEN), "&Open\tCtrl+O");
  EXPECT_EQ(MenuText(ID_FRAME_SAVE), "&Save");
  EXPECT_EQ(MenuText(ID_FRAME_CUT), "Cu&t\tShift+Ctrl+T");
  int pos = 0;
  BYTE fVirt = 0;
  WORD key = 0;
  ASSERT_TRUE(Manager().GetNextShortcut(pos, ID_FRAME_OPEN, text, fVirt, key));
  ASSERT_TRUE(Manager().GetNextShortcut(pos, ID_FRAME_OPEN, text, fVirt, key));
  EXPECT_EQ(text, "F3");
  EXPECT_FALSE(Manager().GetNextShortcut(pos, ID_FRAME_OPEN, text, fVirt, key));
}

// The system makes no table of no records: the frame must be left with no
// table at all, not with its old one.
TEST_F(Shortcuts, RemovingEveryShortcutStoresNothingAndCtrlOStopsFiring) {
  MakeFrame();
  ASSERT_TRUE(Manager().Activate(m_frame));
  EXPECT_TRUE(CtrlOOpens());
  while (!Manager().GetAccelerators().empty()) {
    const ACCEL first = Manager().GetAccelerators().front();
    ASSERT_TRUE(Manager().RemoveAccelerator(first.fVirt, first.key));
  }
  EXPECT_TRUE(Manager().RecreateAcceleratorTable());
  EXPECT_TRUE(Manager().SaveState(FALSE));
  EXPECT_EQ(StoredBytes(), 0);
  EXPECT_FALSE(CtrlOOpens());

  // Reset: the frame's own list again, and no stored value.
  ASSERT_TRUE(Manager().ResetAccelerators());
  EXPECT_EQ(Manager().GetAccelerators().size(), 3u);
  EXPECT_TRUE(Manager().SaveState(FALSE));
  EXPECT_EQ(StoredBytes(), -1);
  EXPECT_TRUE(CtrlOOpens());
}

// A stored list replaces the frame's table when the manager takes it over.
TEST_F(Shortcuts, AStoredListBecomesTheFramesTable) {
  StoreList({{FVIRTKEY | FCONTROL, 'P', ID_FRAME_OPEN}});
  MakeFrame();
  ASSERT_TRUE(Manager().Activate(m_frame));
  EXPECT_FALSE(CtrlOOpens());
  ASSERT_TRUE(Manager().AddAccelerator(ID_FRAME_OPEN, FVIRTKEY | FCONTROL, 'O'));
  ASSERT_TRUE(Manager().RecreateAcceleratorTable());
  EXPECT_TRUE(CtrlOOpens());
  EXPECT_TRUE(Manager().SaveState(TRUE));
  EXPECT_EQ(StoredBytes(), 12);
  EXPECT_FALSE(Manager().IsActive());
}

TEST_F(Shortcuts, CommandsAndCategoriesComeFromTheMenu) {
  MakeFrame();
  ASSERT_TRUE(Manager().Activate(m_frame));
  Manager().BuildCommandList();
  std::vector<CString> categories;
  for (POSITION pos = Manager().GetCategories().GetHeadPosition(); pos;)
    categories.push_back(Manager().GetCategories().GetNext(pos).name);
  EXPECT_EQ(categories, (std::vector<CString>{"File", "File | Recent", "Edit"}));
  const struct {
    UINT nID;
    const char* text;
    const char* category;
  } commands[] = {
      {ID_FRAME_OPEN, "Open", "File"},
      {ID_FRAME_SAVE, "Save", "File"},
      {ID_FRAME_FIRST_RECENT, "Recent\\First", "File"},
      {ID_FRAME_CUT, "Cut", "Edit"},
  };
  for (const auto& c : commands) {
    CString text, category;
    EXPECT_TRUE(Manager().LookupCommand(c.nID, text)) << c.text;
    EXPECT_EQ(text, c.text);
    EXPECT_TRUE(Manager().GetCommandCategory(c.nID, category)) << c.text;
    EXPECT_EQ(category, c.category);
  }
  // The separator is listed too, with no text.
  EXPECT_EQ(Manager().GetCommands().GetCount(), 5);
  EXPECT_FALSE(CXTShortcutManager::HasCommands(nullptr));
  EXPECT_FALSE(CXTShortcutManager::HasCommands(reinterpret_cast<HMENU>(m_frame->m_hWnd)));
}

}  // namespace
