#include "HistoryComboBox.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>

IMPLEMENT_DYNAMIC(CMyHistoryComboBoxExtended, CXTComboBoxEx)

BEGIN_MESSAGE_MAP(CMyHistoryComboBoxExtended, CXTComboBoxEx)
  ON_WM_DESTROY()
  ON_CONTROL_REFLECT(CBN_DROPDOWN, OnDropDown)
END_MESSAGE_MAP()

namespace {

CString ItemValueName(int n) {
  char name[16];
  snprintf(name, sizeof name, "Item%d", n);
  return name;
}

// A stored value may fill all its bytes with no terminator, and the
// system adds one when it hands it over: read into one byte more and end
// the text at the value's limit.
bool ReadItemValue(HKEY key, const CString& name, CString* text) {
  char value[kHistoryValueBytes + 1] = {};
  DWORD type = 0, bytes = sizeof value;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  value[std::min<DWORD>(bytes, kHistoryValueBytes)] = '\0';
  *text = value;
  return true;
}

// The shell's icon for a path; the folder form (with a backslash) finds
// drives and folders as well as files.
int ShellIconIndex(const CString& path) {
  char asFolder[kHistoryValueBytes + 2];
  snprintf(asFolder, sizeof asFolder, "%s\\", static_cast<LPCSTR>(path));
  SHFILEINFOA info = {};
  SHGetFileInfoA(asFolder, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return info.iIcon;
}

}  // namespace

bool CMyHistoryComboBoxExtended::RowText(int row, CString* text) {
  char buffer[kHistoryValueBytes + 2] = {};
  COMBOBOXEXITEMA item = {};
  item.mask = CBEIF_TEXT;
  item.iItem = row;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  if (row < 0 || row >= GetCount() || !GetItem(&item)) return false;
  *text = buffer;
  return true;
}

int CMyHistoryComboBoxExtended::FindItem(LPCSTR text) {
  CString row;
  for (int i = 0; RowText(i, &row); ++i)
    if (row == text) return i;
  return -1;
}

void CMyHistoryComboBoxExtended::AddRow(const CString& text) {
  COMBOBOXEXITEMA item = {};
  item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
  item.iItem = GetCount();
  item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
  item.iImage = item.iSelectedImage = ShellIconIndex(text);
  InsertItem(&item);
}

int CMyHistoryComboBoxExtended::LoadHistory() {
  HKEY key = nullptr;
  if (!keyPath_.IsEmpty() && RegOpenKeyA(HKEY_CURRENT_USER, keyPath_, &key) == ERROR_SUCCESS) {
    for (int n = 0; n < maxItems_; ++n) {
      CString text;
      if (ReadItemValue(key, ItemValueName(n), &text) && !text.IsEmpty() && FindItem(text) < 0) AddRow(text);
    }
    RegCloseKey(key);
  }
  CString typed;
  GetWindowText(typed);
  if (!typed.IsEmpty() && FindItem(typed) < 0) AddRow(typed);
  return 1;
}

// Rows first, in order, empty ones skipped; when the rows end before the
// maximum, the text being edited comes last, even if a row repeats it.
int CMyHistoryComboBoxExtended::SaveHistory() {
  HKEY key = nullptr;
  if (keyPath_.IsEmpty() ||
      RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return 0;
  int written = 0;
  for (int row = 0; row < maxItems_; ++row) {
    CString text;
    const bool isRow = RowText(row, &text);
    if (!isRow) GetWindowText(text);
    if (!text.IsEmpty()) {
      if (RegSetValueExA(key, ItemValueName(written), 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<LPCSTR>(text)),
                         text.GetLength() + 1) != ERROR_SUCCESS)
        break;
      ++written;
    }
    if (!isRow) break;
  }
  RegCloseKey(key);
  return 1;
}

void CMyHistoryComboBoxExtended::OnDestroy() {
  SaveHistory();
  CXTComboBoxEx::OnDestroy();
}

void CMyHistoryComboBoxExtended::FitDropDownWidth() {
  CClientDC dc(this);
  CFont* old = dc.SelectObject(GetFont());
  int widest = 0;
  CString text;
  for (int row = 0; RowText(row, &text); ++row)
    widest = std::max(widest, static_cast<int>(dc.GetTextExtent(text).cx));
  const int zero = dc.GetTextExtent(CString("0")).cx;
  dc.SelectObject(old);
  SendMessage(CB_SETDROPPEDWIDTH, widest + GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXSMICON) + zero);
}

void CMyHistoryComboBoxExtended::OnDropDown() {
  FitDropDownWidth();
  if (!imageListInstalled_) {
    // The shell's list belongs to the shell: handed over, never destroyed.
    SHFILEINFOA info = {};
    auto shellList = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    SendMessage(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(shellList));
    imageListInstalled_ = TRUE;
  }
  LoadHistory();
}
