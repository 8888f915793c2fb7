// The tip of the day: a modal dialog that shows one tip at a time from a
// plain text file and remembers, per user, where in the file it stopped, so
// each showing continues with the next tip and a changed file (a new
// creation time) starts again from the top.
//
// Tips file: one tip a line; a line that starts with a tab, a space, a
// newline or ";" is skipped. Stored values, section "Tip":
//   "StartUp"    0 show at start-up (the default), 1 do not; written by Close
//   "FilePos"    where the next tip is read; written as the dialog goes
//   "TimeStamp"  the file's creation time as ctime text
#pragma once

#include <stdio.h>

#include "classlib/dialog.h"

class CXTTipOfTheDay : public CDialog {
  DECLARE_DYNAMIC(CXTTipOfTheDay)
  DECLARE_MESSAGE_MAP()
 public:
  explicit CXTTipOfTheDay(LPCSTR lpszTipsFile = nullptr, CWnd* pParentWnd = nullptr);
  ~CXTTipOfTheDay() override;

  // Whether the tips are to show at start-up; reads the stored choice only
  // and opens no file.
  static BOOL IsShownAtStartup();

  virtual void SetTipFonts(CFont* pHeadingFont, CFont* pTextFont);
  // FALSE when the file holds no tip at all.
  virtual BOOL GetNextTip(CString& strTip);
  virtual void SetHeadingText(LPCSTR lpszHeading) { m_strHeading = lpszHeading; }
  virtual void SetTipsFile(LPCSTR lpszTipsFile);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;

  const CString& GetTipText() const { return m_strTip; }
  const CString& GetTipsFile() const { return m_strTipsFile; }

 protected:
  afx_msg void OnPaint();
  afx_msg void OnNextTip();

  CFont m_fontHeading;
  CFont m_fontText;
  CFont* m_pHeadingFont = nullptr;
  CFont* m_pTextFont = nullptr;
  CString m_strHeading;
  CString m_strTip;
  CString m_strTipsFile;
  FILE* m_pFile = nullptr;
  CRect m_rcFrame, m_rcBand, m_rcTipArea, m_rcTipText;
  BOOL m_bStartup = TRUE;
  BOOL m_bHasTips = FALSE;  // a tip was read: Next can show another

 private:
  void OpenTipsFile(long position);
  void ShowFirstTip();
  BOOL ReadTipLine(CString& strTip);
  void ShowNoTips();
};
