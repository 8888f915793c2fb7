// The Build page, last of the settings sheet: it runs a build, shows its
// progress and launches the built program from its Test button. What it
// does lives in BuildProgressPresenter; the page only adapts its controls.
#pragma once
#include <string>

#include "BuildPageHost.h"
#include "BuildProgressPresenter.h"
#include "ProjectSettings.h"
#include "SelfExtractorWriter.h"
#include "classlib/controls.h"
#include "toolkit/dialogs/ResizePropertyPage.h"

class CBuildSFXPage : public CXTResizePropertyPage, private BuildPageHost {
  DECLARE_DYNAMIC(CBuildSFXPage)
  DECLARE_MESSAGE_MAP()
 public:
  using ProgramLauncher = void (*)(const char* path);
  // The shell's default verb on the program, shown normally.
  static void OpenWithShell(const char* path);
  // Builds with the stub image carried by the program and opens the built
  // program through the shell.
  CBuildSFXPage();
  CBuildSFXPage(const StubImage& stub, ProgramLauncher launch);
  ~CBuildSFXPage() override;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;

  // 1 when settings.outputName holds the built program; 0 after the
  // failure was shown, or when there is no record or no page window yet.
  int RunBuild(ProjectSettings* settings);
  bool built() const { return presenter_.built(); }

 protected:
  afx_msg void OnPaint();
  afx_msg void OnTest();

 private:
  void ShowIcons(HICON zip, HICON secured);

  void SetText(int control, const std::string& text) override;
  std::string Text(int control) override;
  void Enable(int control, bool enabled) override;
  void Show(int control, bool shown) override;
  void SetRange(int progressBar, int highest) override;
  void SetPosition(int progressBar, int position) override;
  void UseBoldFont(int control) override;
  void ShowIconsInColour() override;
  std::string LoadText(int id) override;
  void ShowFailureBox(const std::string& errorText) override;
  void ShowError(int stringId) override;
  bool PromptSourcePassword(std::string* password) override;
  bool AskAgainForPassword() override;
  void ShowSuccessBalloon() override;
  void PumpMessages() override;
  bool FileExists(const std::string& path) override;
  void Launch(const std::string& path) override;
  void ShowNotCreatedBox() override;

  StubImage stub_;
  ProgramLauncher launch_;
  BuildProgressPresenter presenter_;
  bool initialised_ = false;
  HICON zipIcon_ = nullptr, securedIcon_ = nullptr;
  HICON greyZipIcon_ = nullptr, greySecuredIcon_ = nullptr;
  CStatic zipIconPlace_, securedIconPlace_;
  CProgressCtrl entriesBar_, overallBar_;
  CButton testButton_;
};
