#include "MyHyperLinkText.h"

#include "MainFrame.h"
#include "StartPageLinks.h"
#include "app/BuilderCommands.h"
#include "app/BuilderGlobals.h"
#include "classlib/resource.h"
#include "dialogs/AboutBox.h"

IMPLEMENT_DYNAMIC(CMyHyperLinkText, CXTHyperLink)

BEGIN_MESSAGE_MAP(CMyHyperLinkText, CXTHyperLink)
  ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

namespace {

// New and Open go through the frame's commands, which wait while a build runs.
void SendCommand(UINT id) {
  CWnd* main = Builder().mainWindow;
  if (main) main->SendMessage(WM_COMMAND, id, 0);
}

}  // namespace

CMyHyperLinkText::CMyHyperLinkText() { m_bFollowOnClick = FALSE; }

void CMyHyperLinkText::OnClicked() {
  if (!Builder().mainWindow) return;
  const CString target = GetLinkTarget();
  switch (ActionOfLinkTarget(static_cast<LPCSTR>(target))) {
    case StartPageAction::kOpenProject:
      SendCommand(ID_FILE_OPEN);
      break;
    case StartPageAction::kNewProject:
      SendCommand(ID_FILE_NEW);
      break;
    case StartPageAction::kResetWarnings:
      ResetWarningBoxes(1, Builder().mainWindow);
      break;
    case StartPageAction::kAbout:
      ShowAboutBox();
      break;
    case StartPageAction::kHelpPage:
      ShowHelpPage(target);
      break;
    case StartPageAction::kOpenRecent:
      CMainFrame::OpenProjectByPath(target);
      if (CWnd* page = GetParent()) page->Invalidate();
      break;
    case StartPageAction::kNone:
      break;
  }
}
