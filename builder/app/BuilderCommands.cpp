#include "BuilderCommands.h"

#include <stdio.h>

#include "BuilderApp.h"
#include "MyRegistryHelper.h"
#include "builder_resource.h"
#include "dialogs/WarnMessageBoxOnOff.h"
#include "toolkit/dialogs/TipOfTheDay.h"

namespace {

// The maker's site; help pages live in its folder "brennicor/".
constexpr char kHomePage[] = "http://www.korvane.example/";
constexpr char kOnlineHelp[] = "http://www.korvane.example/brennicor/";

constexpr char kFirstTips[] =
    "Technical support is just a phone call away, feel free to contact us at anytime with your support or sales "
    "questions\n"
    "We are always here to help!";

CString TipsFilePath() {
  char program[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, program, sizeof program);
  return CString(CMyFileUtility::GetFolderOfPath(program, 1)) + kTipsFileName;
}

void WriteFirstTips(const CString& path) {
  if (CMyFileUtility::FileExists(path)) return;
  FILE* file = fopen(path, "wt");
  if (!file) return;
  fputs(kFirstTips, file);
  fclose(file);
}

CString ProfileSettingsKey() {
  CWinApp* app = AfxGetApp();
  CString key = "Software\\";
  key += app->m_pszRegistryKey ? app->m_pszRegistryKey : "";
  key += "\\";
  key += app->m_pszProfileName ? app->m_pszProfileName : "";
  return key + "\\Settings";
}

}  // namespace

void ShowHelpPage(const char* page) {
  const CString& helpFile = BuilderApp()->HelpFilePath();
  if (CMyFileUtility::FileExists(helpFile)) {
    CMyFileUtility::ShowHtmlHelp(helpFile, page, nullptr, 0);
    return;
  }
  CString address = CString(kOnlineHelp) + page;
  CMyFileUtility::OpenHelpOrWebPage(nullptr, nullptr, nullptr, address);
}

void OpenHomePage() {
  if (!CMyFileUtility::OpenOrExplore(kHomePage, 0)) CMyFileUtility::OpenOrExplore(kHomePage, 1);
}

void ShowTipOfTheDay() {
  const CString path = TipsFilePath();
  WriteFirstTips(path);
  CXTTipOfTheDay tips(path);
  tips.DoModal();
}

void ShowTipOfTheDayAtStartUp() {
  if (CXTTipOfTheDay::IsShownAtStartup()) ShowTipOfTheDay();
}

int ResetWarningBoxes(int act, CWnd* parent) {
  CMyRegistryHelper registry;
  HKEY settings = nullptr;
  if (!registry.OpenOrCloseKey(HKEY_CURRENT_USER, ProfileSettingsKey(), &settings, 0) || !settings) return 1;
  if (act) {
    CMyRegistryHelper::DeleteKey(settings, kWarningAnswersKey, 1);
    CWarnMessageBoxOnOff box(IDS_WARNINGS_RESET_TITLE, IDS_WARNINGS_RESET_TEXT, "BrennicorResumeMessageBoxShowings",
                             parent, nullptr, TRUE);
    box.DoModal();
  }
  registry.OpenOrCloseKey(HKEY_CURRENT_USER, nullptr, &settings, 1);
  return 1;
}
