#include "MemberExtraction.h"

#include <commdlg.h>
#include <cstring>

extern HINSTANCE gUnzipInstance;

enum { kSaveAsNameCapacity = 2048, kSaveAsTextControl = 8205, kSaveAsTemplate = 103 };

// Shows the text passed in the dialog's custom data in the template's control.
static UINT_PTR CALLBACK SaveAsHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto *query = reinterpret_cast<const OPENFILENAMEA *>(lParam);
    SetDlgItemTextA(dialog, kSaveAsTextControl, reinterpret_cast<const char *>(query->lCustData));
  }
  return 0;
}

void SaveAsQuery(char *path, size_t capacity, const char *title) {
  char name[kSaveAsNameCapacity];
  lstrcpynA(name, path, sizeof name);
  OPENFILENAMEA query;
  memset(&query, 0, sizeof query);
  query.lStructSize = sizeof query;
  query.hwndOwner = GetActiveWindow();
  query.lpstrFilter = "All Files\0*.*\0";
  query.lpstrFile = name;
  query.nMaxFile = sizeof name;
  query.lpstrTitle = title;
  query.lCustData = reinterpret_cast<LPARAM>(path);
  query.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  // The customising template is the application's to carry; without it the
  // plain dialog serves.
  if (gUnzipInstance && FindResourceA(gUnzipInstance, MAKEINTRESOURCEA(kSaveAsTemplate), MAKEINTRESOURCEA(5))) {
    query.hInstance = gUnzipInstance;
    query.lpTemplateName = MAKEINTRESOURCEA(kSaveAsTemplate);
    query.lpfnHook = SaveAsHook;
    query.Flags |= OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
  }
  if (GetSaveFileNameA(&query))
    lstrcpynA(path, name, static_cast<int>(capacity));
  else
    path[0] = '\0';
}
