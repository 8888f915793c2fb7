// Modal dialogs from templates with data exchange and validation, property
// sheets with lazily made pages, and the application's registry profile.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "classlib/dataexchange.h"
#include "classlib/propertysheet.h"
#include "dialog_test_resource.h"

namespace {

// Answers every message box at once, remembering what it said.
class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("ClassLibTest App") {}
  std::vector<CString> prompts;
  int DoMessageBox(LPCSTR lpszPrompt, UINT, UINT) override {
    prompts.push_back(lpszPrompt);
    return IDOK;
  }
};

CTestApp theApp;

class CExchangeDlg : public CDialog {
 public:
  CExchangeDlg() : CDialog(IDD_EXCHANGE) {}
  CString m_text = "hello";
  int m_number = 5;
  int m_check = 1;
  int m_index = 1;
  // What the controls showed after the base initialisation, and what happens next.
  CString shownText, shownNumber, shownCombo;
  int changes = 0;
  int shows = 0;
  int endInInit = 0;
  CString typedNumber = "7";
  bool showFirst = false;
  int focusAfterFailure = 0;
  DWORD selectionAfterFailure = 0;

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_TEXT, m_text);
    DDX_Text(pDX, IDC_NUMBER, m_number);
    DDV_MinMaxInt(pDX, m_number, 1, 10);
    DDX_Check(pDX, IDC_CHECK, m_check);
    DDX_CBIndex(pDX, IDC_COMBO, m_index);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (endInInit) {
      EndDialog(endInInit);
      return TRUE;
    }
    GetDlgItemText(IDC_TEXT, shownText);
    GetDlgItemText(IDC_NUMBER, shownNumber);
    GetDlgItemText(IDC_COMBO, shownCombo);
    SetDlgItemText(IDC_TEXT, "typed");  // as if the user typed: this change is heard
    SetDlgItemText(IDC_NUMBER, typedNumber);
    if (showFirst) ShowWindow(SW_SHOW);  // focus needs a visible dialog
    CheckDlgButton(IDC_CHECK, BST_UNCHECKED);
    PostMessage(WM_COMMAND, IDOK);
    return TRUE;
  }
  void OnOK() override {
    CDialog::OnOK();
    if (ContinueModal()) {  // validation failed: the dialog stays
      focusAfterFailure = ::GetDlgCtrlID(::GetFocus());
      selectionAfterFailure = static_cast<DWORD>(SendDlgItemMessage(IDC_NUMBER, EM_GETSEL));
      EndDialog(IDCANCEL);
    }
  }
  void OnTextChange() { ++changes; }
  void OnShowWindow(BOOL bShow, UINT nStatus) {
    if (bShow) ++shows;
    CDialog::OnShowWindow(bShow, nStatus);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CExchangeDlg, CDialog)
  ON_EN_CHANGE(IDC_TEXT, OnTextChange)
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

}  // namespace

TEST(Dialog, ModalExchangeBothWays) {
  CExchangeDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_STREQ(dlg.shownText, "hello");
  EXPECT_STREQ(dlg.shownNumber, "5");
  EXPECT_STREQ(dlg.shownCombo, "two");  // the DLGINIT rows filled the list
  EXPECT_EQ(dlg.changes, 1);            // only the change after the exchange was heard
  EXPECT_STREQ(dlg.m_text, "typed");
  EXPECT_EQ(dlg.m_number, 7);
  EXPECT_EQ(dlg.m_check, 0);
  EXPECT_EQ(dlg.m_index, 1);
  EXPECT_EQ(dlg.shows, 0);  // ended before the queue ever emptied
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(Dialog, FailedValidationPromptsAndKeepsTheDialog) {
  struct Case {
    const char* typed;
    const char* prompt;
  } cases[] = {
      {"42", "Please enter an integer between 1 and 10."},
      {"4x", "Please enter an integer."},
  };
  for (const Case& c : cases) {
    theApp.prompts.clear();
    CExchangeDlg dlg;
    dlg.typedNumber = c.typed;
    dlg.showFirst = true;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.typed;
    ASSERT_EQ(theApp.prompts.size(), 1u) << c.typed;
    EXPECT_STREQ(theApp.prompts[0], c.prompt);
    EXPECT_EQ(dlg.focusAfterFailure, IDC_NUMBER) << c.typed;
    EXPECT_EQ(HIWORD(dlg.selectionAfterFailure), lstrlenA(c.typed)) << c.typed;  // all selected
    EXPECT_STREQ(dlg.m_text, "typed");  // exchanged before the failing control
  }
}

TEST(Dialog, EndDialogDuringInitialisationNeverShows) {
  CExchangeDlg dlg;
  dlg.endInInit = 7;
  EXPECT_EQ(dlg.DoModal(), 7);
  EXPECT_EQ(dlg.shows, 0);
}

namespace {

class CTestPage : public CPropertyPage {
 public:
  CTestPage(UINT id, UINT caption = 0) : CPropertyPage(id, caption) {}
  std::function<BOOL(CTestPage*)> onSetActive;
  std::function<void(CTestPage*)> onKillRefused;
  int activations = 0;
  int refuseKills = 0;
  int applies = 0;
  BOOL OnSetActive() override {
    CPropertyPage::OnSetActive();
    ++activations;
    return onSetActive ? onSetActive(this) : TRUE;
  }
  BOOL OnKillActive() override {
    if (refuseKills > 0) {
      --refuseKills;
      if (onKillRefused) onKillRefused(this);
      return FALSE;
    }
    return CPropertyPage::OnKillActive();
  }
  void OnOK() override { ++applies; }
};

class CTestSheet : public CPropertySheet {
 public:
  CTestSheet() : CPropertySheet("Sheet") {}
  int reflectedActivations = 0;
  BOOL OnPageActive(NMHDR* pNMHDR, LRESULT*) {
    if (pNMHDR->hwndFrom == m_hWnd) ++reflectedActivations;
    return FALSE;  // the page goes on to handle it
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestSheet, CPropertySheet)
  ON_NOTIFY_REFLECT_EX(PSN_SETACTIVE, OnPageActive)
END_MESSAGE_MAP()

}  // namespace

TEST(Sheet, PagesAreMadeOnFirstActivationAndOkEndsIt) {
  CTestSheet sheet;
  CTestPage first(IDD_PAGE_FIRST, IDS_FIRST_TAB), second(IDD_PAGE_SECOND), third(IDD_PAGE_THIRD);
  EXPECT_EQ(first.m_psp.dwFlags & PSP_USETITLE, static_cast<DWORD>(PSP_USETITLE));
  EXPECT_STREQ(first.m_psp.pszTitle, "First tab");
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  sheet.AddPage(&third);

  bool secondMadeEarly = true;
  CString firstTab;
  first.onSetActive = [&](CTestPage* page) {
    TCITEMA item = {};
    char text[64] = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    page->GetParentSheet()->GetTabControl()->SendMessage(TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    firstTab = text;
    page->GetParentSheet()->PostMessage(PSM_SETCURSEL, 2);
    return TRUE;
  };
  // The third page refuses to give way once, then OK closes the sheet.
  third.refuseKills = 1;
  third.onKillRefused = [&](CTestPage* page) { page->GetParentSheet()->PostMessage(PSM_PRESSBUTTON, PSBTN_OK); };
  third.onSetActive = [&](CTestPage* page) {
    secondMadeEarly = second.m_hWnd != nullptr;
    EXPECT_EQ(page->GetParentSheet()->GetActiveIndex(), 2);
    page->GetParentSheet()->PostMessage(PSM_SETCURSEL, 0);
    return TRUE;
  };
  INT_PTR result = sheet.DoModal();
  EXPECT_STREQ(firstTab, "First tab");
  EXPECT_FALSE(secondMadeEarly);
  EXPECT_EQ(second.m_hWnd, nullptr);
  EXPECT_EQ(first.activations, 1);
  EXPECT_EQ(third.activations, 1);
  EXPECT_EQ(first.applies, 1);  // every made page applies
  EXPECT_EQ(third.applies, 1);
  EXPECT_EQ(second.applies, 0);
  EXPECT_EQ(sheet.reflectedActivations, 2);  // the sheet saw each activation first
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(sheet.m_hWnd, nullptr);
}

TEST(Sheet, CancelAndEndDialogEndTheModalLoop) {
  struct Case {
    bool endDialog;
    INT_PTR expected;
  } cases[] = {{false, IDCANCEL}, {true, 42}};
  for (const Case& c : cases) {
    CPropertySheet sheet("Sheet");
    CTestPage page(IDD_PAGE_FIRST);
    sheet.AddPage(&page);
    page.onSetActive = [&](CTestPage* p) {
      if (c.endDialog)
        p->GetParentSheet()->EndDialog(42);
      else
        p->GetParentSheet()->PostMessage(PSM_PRESSBUTTON, PSBTN_CANCEL);
      return TRUE;
    };
    EXPECT_EQ(sheet.DoModal(), c.expected) << c.endDialog;
    EXPECT_EQ(page.applies, 0);
  }
}

TEST(Sheet, ChildSheetHasNoButtons) {
  CWnd host;
  LPCSTR cls = AfxRegisterWndClass(0);
  ASSERT_TRUE(host.CreateEx(0, cls, "host", WS_POPUP, 0, 0, 500, 400, nullptr, nullptr));
  CTestSheet sheet;
  CTestPage first(IDD_PAGE_FIRST), second(IDD_PAGE_SECOND);
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  ASSERT_TRUE(sheet.Create(&host, WS_CHILD | WS_VISIBLE));
  EXPECT_EQ(sheet.GetParent(), &host);
  EXPECT_NE(sheet.GetStyle() & WS_CHILD, 0u);
  for (int id : {IDOK, IDCANCEL, 0x3021, IDHELP}) {
    HWND button = ::GetDlgItem(sheet.m_hWnd, id);
    if (button) {
      EXPECT_FALSE(::IsWindowVisible(button)) << id;
    }
  }
  EXPECT_NE(first.m_hWnd, nullptr);
  EXPECT_EQ(second.m_hWnd, nullptr);
  EXPECT_TRUE(sheet.SetActivePage(1));
  EXPECT_NE(second.m_hWnd, nullptr);
  EXPECT_EQ(sheet.reflectedActivations, 2);
  host.DestroyWindow();
  EXPECT_EQ(sheet.m_hWnd, nullptr);
}

namespace {

// The profile's key, read back with the registry's own calls.
bool ReadValue(LPCSTR section, LPCSTR entry, DWORD* type, std::vector<BYTE>* data) {
  CString path;
  path.Format("Software\\ClassLibTest\\%s\\%s", AfxGetApp()->m_pszProfileName, section);
  HKEY key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  bool ok = ::RegQueryValueExA(key, entry, nullptr, type, nullptr, &size) == ERROR_SUCCESS;
  data->resize(size);
  ok = ok && ::RegQueryValueExA(key, entry, nullptr, type, data->data(), &size) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return ok;
}

}  // namespace

TEST(Profile, RoundTripsThroughTheRegistryLayout) {
  CWinApp* app = AfxGetApp();
  EXPECT_EQ(app->GetProfileInt("Section", "Int", 17), 17u);  // no registry key yet: defaults
  EXPECT_FALSE(app->WriteProfileInt("Section", "Int", 1));

  app->SetRegistryKey("ClassLibTest");
  EXPECT_STREQ(app->m_pszProfileName, "ClassLibTest App");
  BYTE blob[] = {0x00, 0x1F, 0xFF};
  EXPECT_TRUE(app->WriteProfileInt("Section", "Int", -2));
  EXPECT_TRUE(app->WriteProfileString("Section", "Text", "value"));
  EXPECT_TRUE(app->WriteProfileBinary("Section", "Blob", blob, sizeof blob));

  EXPECT_EQ(static_cast<int>(app->GetProfileInt("Section", "Int", 0)), -2);
  EXPECT_STREQ(app->GetProfileString("Section", "Text"), "value");
  EXPECT_STREQ(app->GetProfileString("Section", "Missing", "fallback"), "fallback");
  BYTE* data = nullptr;
  UINT size = 0;
  ASSERT_TRUE(app->GetProfileBinary("Section", "Blob", &data, &size));
  EXPECT_EQ(std::vector<BYTE>(data, data + size), std::vector<BYTE>(blob, blob + 3));
  delete[] data;
  EXPECT_FALSE(app->GetProfileBinary("Section", "Missing", &data, &size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);

  DWORD type = 0;
  std::vector<BYTE> raw;
  ASSERT_TRUE(ReadValue("Section", "Int", &type, &raw));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(raw, (std::vector<BYTE>{0xFE, 0xFF, 0xFF, 0xFF}));
  ASSERT_TRUE(ReadValue("Section", "Text", &type, &raw));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw, (std::vector<BYTE>{'v', 'a', 'l', 'u', 'e', 0}));
  ASSERT_TRUE(ReadValue("Section", "Blob", &type, &raw));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));

  EXPECT_TRUE(app->WriteProfileString("Section", "Text", nullptr));  // deletes the entry
  EXPECT_FALSE(ReadValue("Section", "Text", &type, &raw));
  EXPECT_TRUE(app->WriteProfileString("Section", nullptr, nullptr));  // deletes the section
  EXPECT_FALSE(ReadValue("Section", "Int", &type, &raw));
  ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ClassLibTest\\ClassLibTest App");
  ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ClassLibTest");
}

namespace {

class COrderEdit : public CEdit {
 public:
  std::vector<CString>* log = nullptr;
  void PreSubclassWindow() override { log->push_back("subclassed"); }
};

class CControlDlg : public CDialog {
 public:
  CControlDlg() : CDialog(IDD_EXCHANGE) { m_edit.log = &log; }
  COrderEdit m_edit;
  std::vector<CString> log;
  HWND firstHandle = nullptr;
  void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TEXT, m_edit); }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    log.push_back("after base");
    firstHandle = m_edit.m_hWnd;
    UpdateData(FALSE);  // a second exchange leaves the control as it is
    EndDialog(firstHandle == m_edit.m_hWnd ? IDOK : IDABORT);
    return TRUE;
  }
};

}  // namespace

TEST(Dialog, ControlsAreSubclassedInTheBaseInitialisation) {
  CControlDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.log, (std::vector<CString>{"subclassed", "after base"}));
  EXPECT_NE(dlg.firstHandle, nullptr);
  EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr);  // detached when the dialog went
}

namespace {

class CValuePage : public CTestPage {
 public:
  CValuePage() : CTestPage(IDD_PAGE_FIRST) {}
  CString m_value = "first";
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_TEXT, m_value); }
};

}  // namespace

TEST(Sheet, EmbeddedPagesRefreshOnLaterActivationsAndKeepEscape) {
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 500, 400,
                            nullptr, nullptr));
  CPropertySheet sheet;
  CValuePage first;
  CTestPage second(IDD_PAGE_SECOND);
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  ASSERT_TRUE(sheet.Create(&host, WS_CHILD | WS_VISIBLE));
  CString text;
  first.GetDlgItemText(IDC_TEXT, text);
  EXPECT_STREQ(text, "first");  // from the page's initialisation
  sheet.SetActivePage(1);  // leaving saves the control into the member
  first.m_value = "changed";
  sheet.SetActivePage(0);
  first.GetDlgItemText(IDC_TEXT, text);
  EXPECT_STREQ(text, "changed");

  // Escape in a page of an embedded sheet: comctl32 cancels the sheet,
  // which is left without a current page while its window lives on.
  HWND edit = first.GetDlgItem(IDC_TEXT)->m_hWnd;
  ::SetFocus(edit);
  ::PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(AfxPumpMessage());
  EXPECT_TRUE(::IsWindow(sheet.m_hWnd));
  EXPECT_EQ(sheet.SendMessage(PSM_GETCURRENTPAGEHWND), 0);
  host.DestroyWindow();
}

TEST(Controls, ExtendedComboTakesItemsOnlyThroughInsertItem) {
  CComboBoxEx combo;
  ASSERT_TRUE(combo.Create(WS_POPUP | CBS_DROPDOWN, CRect(0, 0, 100, 100), nullptr, 0));
  LRESULT added = combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("plain"));
  int countAfterAdd = combo.GetCount();
  COMBOBOXEXITEMA item = {};
  item.mask = CBEIF_TEXT;
  item.iItem = -1;
  item.pszText = const_cast<LPSTR>("extended");
  EXPECT_EQ(combo.InsertItem(&item), 0);
  // The plain message is ignored without an error: it answers 0 and adds nothing.
  EXPECT_EQ(added, 0);
  EXPECT_EQ(countAfterAdd, 0);
  EXPECT_EQ(combo.GetCount(), 1);
  combo.DestroyWindow();
}

namespace {

class CModelessDlg : public CDialog {
 public:
  bool* deleted = nullptr;
  void PostNcDestroy() override {
    *deleted = true;
    delete this;
  }
};

}  // namespace

TEST(Dialog, ModelessFromTemplateDeletesItself) {
  bool deleted = false;
  CModelessDlg* dlg = new CModelessDlg;
  dlg->deleted = &deleted;
  ASSERT_TRUE(dlg->Create(IDD_EXCHANGE));
  CComboBox* combo = static_cast<CComboBox*>(dlg->GetDlgItem(IDC_COMBO));
  EXPECT_EQ(combo->GetCount(), 2);  // DLGINIT ran for the modeless dialog too
  EXPECT_FALSE(dlg->IsWindowVisible());
  dlg->DestroyWindow();
  EXPECT_TRUE(deleted);
}

TEST(Resources, ImageListFromABitmapStrip) {
  CImageList images;
  ASSERT_TRUE(images.Create(IDB_STRIP, 10, 1, RGB(255, 0, 255)));
  EXPECT_EQ(images.GetImageCount(), 2);
  IMAGEINFO info = {};
  ASSERT_TRUE(images.GetImageInfo(1, &info));
  EXPECT_EQ(info.rcImage.right - info.rcImage.left, 10);
  EXPECT_NE(info.hbmMask, nullptr);  // the mask colour made a mask

  CString title;
  EXPECT_TRUE(title.LoadString(AFX_IDS_APP_TITLE));
  EXPECT_STREQ(title, "Layer Test");
  CString text;
  AfxFormatString1(text, AFX_IDP_PARSE_INT_RANGE, "low");
  EXPECT_STREQ(text, "Please enter an integer between low and %2.");
}
