// The General page, first of the settings sheet: the source zip, the output
// program, the default extraction folder and options, the compression
// level and the Build button. It examines the zip as it is typed or chosen
// and runs the Build flow: pages into the project record, the overwrite and
// protection questions, then the Build page's build on a copy of the record.
#pragma once
#include "BuildSFXPage.h"
#include "MyFileUtility.h"
#include "SettingsPageExchange.h"
#include "classlib/controls.h"
#include "dialogs/HistoryComboBox.h"
#include "toolkit/dialogs/ResizePropertyPage.h"

class CBasicGeneralPg;

// The level each row of the page's level list stands for.
constexpr int kCompressionLevels[] = {1, 5, 7, 9};
static_assert(kCompressionLevels[kDefaultLevelListIndex] == kDefaultCompressionLevel, "a new project's row");

class CGeneralPropertyPageSFX : public CXTResizePropertyPage, public SettingsPageExchange {
  DECLARE_DYNAMIC(CGeneralPropertyPageSFX)
  DECLARE_MESSAGE_MAP()
 public:
  // |launch| starts the built program for the Test command.
  CGeneralPropertyPageSFX(LPCSTR caption, LPCSTR secondText,
                          CBuildSFXPage::ProgramLauncher launch = CBuildSFXPage::OpenWithShell);
  ~CGeneralPropertyPageSFX() override;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;

  void RecordToPage(const ProjectSettings& record, int flag) override;
  void PageToRecord(ProjectSettings* record) override;

  // 1 when the project names both a zip and an output, after the pages
  // were copied into it; 0 otherwise or without a settings view.
  int IsBuildPossible();
  // The whole Build flow: 1 when a program was built.
  int BuildSelfExtractor();
  // The flow from the protection question on: 1 when a program was built.
  int StartBuild();

  int level() const { return level_; }
  int entryCount() const { return entryCount_; }
  const CString& statusText() const { return statusText_; }

 protected:
  afx_msg void OnPaint();
  afx_msg void OnBuild();
  afx_msg void OnTestProgram();
  afx_msg void OnBrowseZip();
  afx_msg void OnBrowseIcon();
  afx_msg void OnBrowseFolder();
  afx_msg void OnZipOrOutputChanged();
  afx_msg void OnFolderChanged();
  afx_msg void OnAutoUnzipClicked();
  afx_msg void OnHyperThreadClicked();
  afx_msg void OnIconIndexChanged();
  afx_msg void OnLevelChanged();

 private:
  // The settings view this page's sheet lives in, or null.
  CBasicGeneralPg* SettingsView() const;
  void UseBoldLabels();
  void FillLevelList();
  void ShowProgramIcon(bool inColour);
  bool IsBuildEnabled();
  void RecordToControls(int flag);
  void ControlsToMembers();
  void EnableFolderOptions();

  // Reads the zip and output names and says in the status line whether the
  // zip can be built; derives an output name beside it when none is typed.
  void ExamineZip();
  bool ListZip(const CString& zip, int* result);
  void ShowZipFound(const CString& zip);
  void ShowZipNotUsable(const CString& zip, int listResult);
  void ShowZipMissing(const CString& zip);
  void ShowStatus(bool buildEnabled);
  void DrawStatusBitmap(CDC& dc);
  // Follows the selected row; the default level while nothing or too little is listed.
  void ReadLevel();

  bool ConfirmOverwrite(const CString& output);
  bool OutputLocationAccepted(const std::string& output);
  bool TextsWithinLimitsOrCut(const ProjectSettings& record);
  bool PasswordsAccepted(CBasicGeneralPg* view);

  CString ComboText(CMyHistoryComboBoxExtended& combo) const;
  void SetComboText(CMyHistoryComboBoxExtended& combo, const CString& text);
  void SetStatusFont(int weight);

  CBuildSFXPage::ProgramLauncher launch_;
  CMyFileUtility utility_;
  int iconIndex_ = 0;
  int entryCount_ = 0;
  CString caption_, secondText_;
  int levelRow_ = kDefaultLevelListIndex;
  DWORD iconFilterIndex_ = 1;
  CString statusText_;
  CString zip_, iconFile_, output_, folder_;
  CString zipBrowseFolder_, iconBrowseFolder_;
  CString lastExamined_;
  int overwrite_ = 0, autoUnzip_ = 0, recreateFolders_ = 0;
  HICON programIcon_ = nullptr, greyProgramIcon_ = nullptr;
  UINT statusBitmap_ = 0;
  bool windowCreated_ = false;
  bool settingTexts_ = false;  // the page's own text changes are not the user's
  int level_ = kCompressionLevels[kDefaultLevelListIndex];
  int hyperThread_ = 0;
  CStatic programIconPlace_;
  CComboBox levelList_;
  CSpinButtonCtrl iconSpin_;
  CMyHistoryComboBoxExtended zipCombo_, outputCombo_, folderCombo_, spareCombo_;
};
