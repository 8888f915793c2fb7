#include "ProjectPrompts.h"

#include <commdlg.h>

#include "XTendedFileDlg.h"
#include "app/BuilderGlobals.h"
#include "builder_resource.h"
#include "classlib/wnd.h"

namespace {

constexpr char kProjectFilter[] = "KorvaneBrennicor Project(*.ssf)|*.ssf||";
constexpr char kProjectExtension[] = "ssf";
constexpr DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kSaveFlags = OFN_EXPLORER | OFN_HIDEREADONLY;

// Each prompt starts where it last ended, for the program's run.
CString& OpenFolder() {
  static CString folder;
  return folder;
}

CString& SaveFolder() {
  static CString folder;
  return folder;
}

}  // namespace

int PromptOpenProject(CString* path) {
  CWnd* mainWindow = Builder().mainWindow;
  if (mainWindow == nullptr) return 0;
  char chosen[kFilePathChars] = {};
  DWORD filterIndex = 1;
  if (!ShowFileDialog(chosen, mainWindow, TRUE, kProjectExtension, &OpenFolder(), &filterIndex, kOpenFlags,
                      IDS_OPEN_FILE, kProjectFilter))
    return 0;
  *path = chosen;
  return 1;
}

int PromptSaveProjectAs(CWnd* owner, char buffer[260]) {
  CWnd* mainWindow = Builder().mainWindow;
  if (mainWindow == nullptr) return 0;
  char chosen[kFilePathChars] = {};
  DWORD filterIndex = 1;
  CWnd* ownerFrame = owner ? owner->GetTopLevelParent() : mainWindow;
  if (!ShowFileDialog(chosen, ownerFrame ? ownerFrame : mainWindow, FALSE, kProjectExtension, &SaveFolder(),
                      &filterIndex, kSaveFlags, IDS_SAVE_PROJECT_AS, kProjectFilter) ||
      chosen[0] == '\0')
    return 0;
  lstrcpynA(buffer, chosen, kFilePathChars);
  return 1;
}
