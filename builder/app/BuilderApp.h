// The builder's application: start-up in a fixed order (profile, recent
// list, document template, command line, system menu, placement, help file,
// the pages filled from the project record) and the commands it answers
// itself.
#pragma once
#include "MyFileUtility.h"
#include "classlib/winapp.h"

class CBuilderApp : public CWinApp {
  DECLARE_MESSAGE_MAP()
 public:
  CBuilderApp();
  ~CBuilderApp() override;

  BOOL InitInstance() override;
  // Keys inside the main frame reach the frame (its menu bar and shortcuts)
  // before the settings sheet, a dialog that would take every key.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The program's path with the extension "chm"; empty before start-up.
  const CString& HelpFilePath() const { return helpFile_; }

 protected:
  afx_msg void OnFileOpenProject();
  afx_msg void OnAbout();
  afx_msg void OnHelpTopics();

 private:
  // A command line naming a project opens it; one that cannot be opened
  // is reported and the builder starts on a new project instead.
  BOOL ProcessCommandLine();
  void AddAboutToSystemMenu();
  void TakeHelpFilePath();

  CMyFileUtility utility_;
  CString helpFile_;
  BOOL openedFromCommandLine_ = FALSE;
};

// The builder's one application object.
CBuilderApp* BuilderApp();
