// The second page of the settings sheet: the two texts a built program can
// show (its about text and the message before extraction), each typed or
// loaded from a text or RTF file, saved and previewed; and the file to
// launch after extraction, picked from the examined zip's files through a
// type filter. MessageText keeps each text's kind and RTF source,
// LaunchList makes the launch rows; the page only adapts its controls.
#pragma once
#include <string>

#include "LaunchList.h"
#include "DialogTextEdit.h"
#include "MessageText.h"
#include "ProjectSettings.h"
#include "SettingsPageExchange.h"
#include "classlib/controls.h"
#include "tips/HoverTipWnd.h"
#include "toolkit/controls/Button.h"
#include "toolkit/dialogs/ResizePropertyPage.h"

class CSFXOptionsPage : public CXTResizePropertyPage, public SettingsPageExchange {
  DECLARE_DYNAMIC(CSFXOptionsPage)
  DECLARE_MESSAGE_MAP()
 public:
  // caption: the tab's text (null keeps the template's); the second text is unused.
  explicit CSFXOptionsPage(LPCSTR caption = nullptr, LPCSTR secondText = nullptr);
  ~CSFXOptionsPage() override;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;

  // The record's about text, custom message, launch command and filter into
  // the page (and its controls, once they exist). A non-zero reset marks
  // empty texts as of no known kind.
  void RecordToPage(const ProjectSettings& record, int reset) override;
  // The page's four values into record (null: only read the controls).
  void PageToRecord(ProjectSettings* record) override;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnAboutTextUpdate();
  afx_msg void OnMessageTextUpdate();
  afx_msg void OnLoadAboutText();
  afx_msg void OnLoadMessageText();
  afx_msg void OnSaveAboutText();
  afx_msg void OnSaveMessageText();
  afx_msg void OnPreviewAboutText();
  afx_msg void OnPreviewMessageText();
  afx_msg void OnFilterChange();
  afx_msg void OnLaunchChoice();

 private:
  enum Slot { kAbout = 0, kMessage = 1, kSlotCount = 2 };

  bool HasWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
  void AnchorControls();
  void SetUpButtons();
  void FillFilterRows();
  void TextEdited(Slot slot);
  void LoadText(Slot slot);
  bool PromptForTextFile(Slot slot, char path[260]);
  void SaveText(Slot slot);
  void PreviewText(Slot slot);
  // Puts the slot's text into its edit, then its kind into the labels and buttons.
  void ShowText(Slot slot);
  void ShowTextState(Slot slot);
  std::string EditText(Slot slot) const;
  // Rebuilds the launch rows when the found-item list moved since they were made, or always when forced.
  void RefreshLaunchList(bool force);
  void ShowFilterStatus();
  void DrawMarks(CDC& dc);

  int filterIndex_ = kLaunchAllFiles;
  std::string command_;
  MessageText texts_[kSlotCount];
  LaunchRows launchRows_;
  unsigned shownGeneration_ = 0;
  bool launchRowsMade_ = false;
  bool initialised_ = false;
  bool settingText_ = false;  // edits' own notices while the page fills them are not the user's
  HICON programIcon_ = nullptr;
  CXTButton buttons_[6];
  CComboBox launchList_, filterList_;
  CDialogTextEdit textEdits_[kSlotCount];
  CHoverTipWnd hoverTip_;
};
