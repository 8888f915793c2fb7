#include "GeneralPropertyPageSFX.h"

#include <shellapi.h>

#include <cstdlib>

#include "BasicGeneralPg.h"
#include "PageAnchors.h"
#include "builder_resource.h"
#include "classlib/dataexchange.h"
#include "classlib/dc.h"
#include "classlib/resource.h"
#include "dialogs/TransparentBitmap.h"
#include "dialogs/XTendedFileDlg.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CGeneralPropertyPageSFX, CXTResizePropertyPage)

BEGIN_MESSAGE_MAP(CGeneralPropertyPageSFX, CXTResizePropertyPage)
ON_WM_PAINT()
ON_BN_CLICKED(IDC_GENERAL_BUILD, OnBuild)
ON_COMMAND(ID_TEST_PROGRAM, OnTestProgram)
ON_BN_CLICKED(IDC_GENERAL_ZIP_BROWSE, OnBrowseZip)
ON_BN_CLICKED(IDC_GENERAL_ICON_BROWSE, OnBrowseIcon)
ON_BN_CLICKED(IDC_GENERAL_FOLDER_BROWSE, OnBrowseFolder)
ON_CONTROL(CBN_EDITCHANGE, IDC_GENERAL_ZIP, OnZipOrOutputChanged)
ON_CONTROL(CBN_EDITCHANGE, IDC_GENERAL_OUTPUT, OnZipOrOutputChanged)
ON_CONTROL(CBN_EDITCHANGE, IDC_GENERAL_FOLDER, OnFolderChanged)
ON_BN_CLICKED(IDC_GENERAL_AUTO_UNZIP, OnAutoUnzipClicked)
ON_BN_CLICKED(IDC_GENERAL_HYPERTHREAD, OnHyperThreadClicked)
ON_EN_CHANGE(IDC_GENERAL_ICON_INDEX, OnIconIndexChanged)
ON_CONTROL(CBN_SELCHANGE, IDC_GENERAL_LEVEL, OnLevelChanged)
END_MESSAGE_MAP()

namespace {

constexpr char kSettingsSection[] = "Settings";
constexpr char kIconFilterValue[] = "DefaultIconFileType";
constexpr char kZipFolderValue[] = "InitialZipBrowse";
constexpr char kIconFolderValue[] = "InitialIconBrowse";
constexpr char kHistoryRoot[] = "Software\\Korvane\\Korvane Brennicor v3.0\\ComboBxsEx\\";
constexpr DWORD kBrowseFlags = 0x81004;
constexpr char kZipFilter[] = "Zip files (*.zip)|*.zip||";
constexpr char kIconFilter[] =
    "Icon files (*.ico)|*.ico|Programs (*.exe)|*.exe|Libraries (*.dll)|*.dll|All Files (*.*)|*.*||";
constexpr const char* kLevelNames[] = {"Fastest", "Normal", "Better", "Maximum - Best Compression"};
static_assert(sizeof kLevelNames / sizeof *kLevelNames == sizeof kCompressionLevels / sizeof *kCompressionLevels,
              "one name per level");
constexpr int kLevelRows = sizeof kCompressionLevels / sizeof *kCompressionLevels;

constexpr PageAnchor kAnchors[] = {
    {IDC_GENERAL_STATUS, true},
    {IDC_GENERAL_GROUP_INFO, true},
    {IDC_GENERAL_GROUP_OUTPUT, true},
    {IDC_GENERAL_GROUP_COMPRESSION, true},
    {IDC_GENERAL_GROUP_EXTRACTION, true},
    {IDC_GENERAL_LEVEL, true},
    {IDC_GENERAL_ZIP, true},
    {IDC_GENERAL_OUTPUT, true},
    {IDC_GENERAL_FOLDER, true},
    {IDC_GENERAL_LINE, true},
    {IDC_GENERAL_ICON_INDEX, false},
    {IDC_GENERAL_ICON_SPIN, false},
    {IDC_GENERAL_ZIP_BROWSE, false},
    {IDC_GENERAL_ICON_BROWSE, false},
    {IDC_GENERAL_FOLDER_BROWSE, false},
    {IDC_GENERAL_BUILD, false},
    // Beside controls that stretch, so they keep their place next to them.
    {IDC_GENERAL_PROGRAM_ICON, false},
    {IDC_GENERAL_HYPERTHREAD, false},
};
constexpr int kBoldControls[] = {IDC_GENERAL_ZIP_LABEL,  IDC_GENERAL_FOLDER_LABEL, IDC_GENERAL_LEVEL_LABEL,
                                 IDC_GENERAL_ZIP_BROWSE, IDC_GENERAL_ICON_BROWSE,  IDC_GENERAL_FOLDER_BROWSE,
                                 IDC_GENERAL_GROUP_INFO, IDC_GENERAL_OUTPUT_LABEL, IDC_GENERAL_BUILD};

// Only meaningful with a default extraction folder.
constexpr int kFolderOptions[] = {IDC_GENERAL_OVERWRITE, IDC_GENERAL_AUTO_UNZIP};

struct HistoryOf {
  CMyHistoryComboBoxExtended CGeneralPropertyPageSFX::*combo;
  const char* name;
};

// The folder last chosen for extraction, offered again while the program runs.
CString LastFolder;

// The level of a level-list row; the record's default while no row of
// the list is chosen.
int LevelOfRow(int row) {
  return row >= 0 && row < kLevelRows ? kCompressionLevels[row] : kCompressionLevels[kDefaultLevelListIndex];
}

}  // namespace

CGeneralPropertyPageSFX::CGeneralPropertyPageSFX(LPCSTR caption, LPCSTR secondText,
                                                 CBuildSFXPage::ProgramLauncher launch)
    : CXTResizePropertyPage(IDD_GENERAL_PAGE),
      launch_(launch),
      caption_(caption ? caption : ""),
      secondText_(secondText ? secondText : "") {
  CXTSettingsStore store;
  iconFilterIndex_ = static_cast<DWORD>(store.ReadInt(kSettingsSection, kIconFilterValue, 1));
  zipBrowseFolder_ = store.ReadString(kSettingsSection, kZipFolderValue, "");
  iconBrowseFolder_ = store.ReadString(kSettingsSection, kIconFolderValue, "");
}

CGeneralPropertyPageSFX::~CGeneralPropertyPageSFX() {
  if (programIcon_) DestroyIcon(programIcon_);
  if (greyProgramIcon_) DestroyIcon(greyProgramIcon_);
  CXTSettingsStore store;
  store.WriteString(kSettingsSection, kZipFolderValue, zipBrowseFolder_);
  store.WriteString(kSettingsSection, kIconFolderValue, iconBrowseFolder_);
  store.WriteInt(kSettingsSection, kIconFilterValue, static_cast<int>(iconFilterIndex_));
}

void CGeneralPropertyPageSFX::DoDataExchange(CDataExchange* pDX) {
  CXTResizePropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_GENERAL_PROGRAM_ICON, programIconPlace_);
  DDX_Control(pDX, IDC_GENERAL_LEVEL, levelList_);
  DDX_Control(pDX, IDC_GENERAL_ICON_SPIN, iconSpin_);
  DDX_Control(pDX, IDC_GENERAL_ZIP, zipCombo_);
  DDX_Control(pDX, IDC_GENERAL_OUTPUT, outputCombo_);
  DDX_Control(pDX, IDC_GENERAL_FOLDER, folderCombo_);
  DDX_Control(pDX, IDC_GENERAL_SPARE_COMBO, spareCombo_);
}

BOOL CGeneralPropertyPageSFX::OnInitDialog() {
  CXTResizePropertyPage::OnInitDialog();
  windowCreated_ = true;
  AnchorPageControls(*this, kAnchors);
  UseBoldLabels();
  CheckDlgButton(IDC_GENERAL_RECREATE_FOLDERS, BST_CHECKED);
  static const HistoryOf kHistories[] = {{&CGeneralPropertyPageSFX::folderCombo_, "DefaultUnZIPSfx"},
                                         {&CGeneralPropertyPageSFX::outputCombo_, "DefaultSfxOutput"},
                                         {&CGeneralPropertyPageSFX::zipCombo_, "DefaultInitialZIP"}};
  for (const HistoryOf& h : kHistories) (this->*h.combo).SetHistoryKey(CString(kHistoryRoot) + h.name);
  ShowProgramIcon(true);
  GetDlgItem(IDC_GENERAL_BUILD_CAPTION)->EnableWindow(FALSE);
  FillLevelList();
  iconSpin_.SetRange32(0, 9999);
  // What the record put in the members before the window existed.
  RecordToControls(recreateFolders_);
  return TRUE;
}

void CGeneralPropertyPageSFX::UseBoldLabels() {
  CFont& bold = GetSharedState().GetFont(CXTSharedState::kFontBold);
  for (int id : kBoldControls) GetDlgItem(id)->SetFont(&bold);
  GetDlgItem(IDC_GENERAL_BUILD)->EnableWindow(FALSE);
}

// The icon the program will wear: the chosen one, or a program's usual icon
// while none is chosen or the choice holds none (the build says why); grey
// unless in colour.
void CGeneralPropertyPageSFX::ShowProgramIcon(bool inColour) {
  HICON icon = nullptr;
  if (!iconFile_.IsEmpty()) ExtractIconExA(iconFile_, iconIndex_, &icon, nullptr, 1);
  if (!icon) {
    SHFILEINFOA info = {};
    SHGetFileInfoA(".exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    icon = info.hIcon;
  }
  const HICON oldIcon = programIcon_, oldGrey = greyProgramIcon_;
  programIcon_ = icon;
  greyProgramIcon_ = icon ? CMyFileUtility::CreateGrayIcon(m_hWnd, icon) : nullptr;
  programIconPlace_.SetIcon(inColour ? programIcon_ : greyProgramIcon_);
  if (oldIcon) DestroyIcon(oldIcon);
  if (oldGrey) DestroyIcon(oldGrey);
}

bool CGeneralPropertyPageSFX::IsBuildEnabled() { return GetDlgItem(IDC_GENERAL_BUILD)->IsWindowEnabled() != FALSE; }

void CGeneralPropertyPageSFX::FillLevelList() {
  levelList_.ResetContent();
  for (const char* name : kLevelNames) levelList_.AddString(name);
  levelList_.SetCurSel(levelRow_);
}

BOOL CGeneralPropertyPageSFX::OnSetActive() {
  ReadLevel();
  return CXTResizePropertyPage::OnSetActive();
}

void CGeneralPropertyPageSFX::ReadLevel() {
  if (windowCreated_) levelRow_ = levelList_.GetCount() < 2 ? -1 : levelList_.GetCurSel();
  level_ = LevelOfRow(levelRow_);
}

void CGeneralPropertyPageSFX::OnLevelChanged() { ReadLevel(); }

// ---- record exchange

void CGeneralPropertyPageSFX::RecordToPage(const ProjectSettings& record, int flag) {
  zip_ = record.sourceArchive.c_str();
  iconFile_ = record.iconFile.c_str();
  output_ = record.outputName.c_str();
  folder_ = record.unzipToFolder.c_str();
  levelRow_ = record.levelListIndex;
  level_ = LevelOfRow(levelRow_);
  overwrite_ = record.overwrite;
  iconIndex_ = record.iconIndex;
  autoUnzip_ = record.autoUnzip;
  recreateFolders_ = record.recreateFolders;
  hyperThread_ = record.deflate64;
  if (windowCreated_) RecordToControls(flag);
}

void CGeneralPropertyPageSFX::RecordToControls(int flag) {
  settingTexts_ = true;
  SetComboText(zipCombo_, zip_);
  SetComboText(outputCombo_, output_);
  SetComboText(folderCombo_, folder_);
  settingTexts_ = false;
  CheckDlgButton(IDC_GENERAL_OVERWRITE, overwrite_ ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_GENERAL_AUTO_UNZIP, autoUnzip_ ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(IDC_GENERAL_RECREATE_FOLDERS, flag || recreateFolders_ ? BST_CHECKED : BST_UNCHECKED);
  levelList_.SetCurSel(levelRow_ >= 0 && levelRow_ < kLevelRows ? levelRow_ : -1);
  ReadLevel();
  EnableFolderOptions();
  CheckDlgButton(IDC_GENERAL_HYPERTHREAD, hyperThread_ ? BST_CHECKED : BST_UNCHECKED);
  iconSpin_.SetPos(iconIndex_);
  ShowProgramIcon(IsBuildEnabled());
  ExamineZip();
}

void CGeneralPropertyPageSFX::PageToRecord(ProjectSettings* record) {
  if (windowCreated_) ControlsToMembers();
  if (!record) return;
  record->sourceArchive = static_cast<LPCSTR>(zip_);
  record->iconFile = static_cast<LPCSTR>(iconFile_);
  record->outputName = static_cast<LPCSTR>(output_);
  record->unzipToFolder = static_cast<LPCSTR>(folder_);
  record->overwrite = overwrite_;
  record->iconIndex = iconIndex_;
  record->autoUnzip = autoUnzip_;
  record->recreateFolders = recreateFolders_;
  record->compressionLevel = level_;
  record->levelListIndex = levelRow_;
  record->deflate64 = hyperThread_;
}

void CGeneralPropertyPageSFX::ControlsToMembers() {
  zip_ = ComboText(zipCombo_);
  output_ = ComboText(outputCombo_);
  folder_ = ComboText(folderCombo_);
  overwrite_ = IsDlgButtonChecked(IDC_GENERAL_OVERWRITE) == BST_CHECKED;
  autoUnzip_ = IsDlgButtonChecked(IDC_GENERAL_AUTO_UNZIP) == BST_CHECKED;
  recreateFolders_ = IsDlgButtonChecked(IDC_GENERAL_RECREATE_FOLDERS) == BST_CHECKED;
  ReadLevel();
  hyperThread_ = IsDlgButtonChecked(IDC_GENERAL_HYPERTHREAD) == BST_CHECKED;
}

// The extended combo keeps its text in its own edit control.
CString CGeneralPropertyPageSFX::ComboText(CMyHistoryComboBoxExtended& combo) const {
  CString text;
  if (HWND edit = reinterpret_cast<HWND>(combo.SendMessage(CBEM_GETEDITCONTROL)))
    CWnd::FromHandle(edit)->GetWindowText(text);
  return text;
}

void CGeneralPropertyPageSFX::SetComboText(CMyHistoryComboBoxExtended& combo, const CString& text) {
  if (HWND edit = reinterpret_cast<HWND>(combo.SendMessage(CBEM_GETEDITCONTROL))) ::SetWindowTextA(edit, text);
}

// ---- the user's edits

// Typed, or picked from the remembered names: the extended combo reports
// a pick as a change of its edit.
void CGeneralPropertyPageSFX::OnZipOrOutputChanged() {
  if (!settingTexts_) ExamineZip();
}

// A new folder starts without the options that act on it.
void CGeneralPropertyPageSFX::OnFolderChanged() {
  if (settingTexts_) return;
  folder_ = ComboText(folderCombo_);
  overwrite_ = autoUnzip_ = 0;
  for (int id : kFolderOptions) CheckDlgButton(id, BST_UNCHECKED);
  EnableFolderOptions();
}

void CGeneralPropertyPageSFX::EnableFolderOptions() {
  for (int id : kFolderOptions) GetDlgItem(id)->EnableWindow(!folder_.IsEmpty());
}

void CGeneralPropertyPageSFX::OnAutoUnzipClicked() {
  autoUnzip_ = IsDlgButtonChecked(IDC_GENERAL_AUTO_UNZIP) == BST_CHECKED;
}

void CGeneralPropertyPageSFX::OnHyperThreadClicked() {
  hyperThread_ = IsDlgButtonChecked(IDC_GENERAL_HYPERTHREAD) == BST_CHECKED;
}

void CGeneralPropertyPageSFX::OnIconIndexChanged() {
  CString text;
  GetDlgItemText(IDC_GENERAL_ICON_INDEX, text);
  iconIndex_ = atoi(text);
  if (windowCreated_) ShowProgramIcon(IsBuildEnabled());
}

// ---- browse buttons

void CGeneralPropertyPageSFX::OnBrowseZip() {
  char path[kFilePathChars] = {};
  DWORD filter = 1;
  if (!ShowFileDialog(path, this, TRUE, "zip", &zipBrowseFolder_, &filter, kBrowseFlags, IDS_OPEN_FILE, kZipFilter))
    return;
  settingTexts_ = true;
  SetComboText(zipCombo_, path);
  settingTexts_ = false;
  ExamineZip();
  ReadLevel();
}

void CGeneralPropertyPageSFX::OnBrowseIcon() {
  char path[kFilePathChars] = {};
  if (!ShowFileDialog(path, this, TRUE, "ico", &iconBrowseFolder_, &iconFilterIndex_, kBrowseFlags, IDS_OPEN_FILE,
                      kIconFilter))
    return;
  iconFile_ = path;
  ShowProgramIcon(IsBuildEnabled());
}

void CGeneralPropertyPageSFX::OnBrowseFolder() {
  LastFolder = CMyFileUtility::BrowseForFolder(AfxGetResourceHandle(), IDS_FOLDER_BROWSE_TITLE,
                                               IDS_FOLDER_BROWSE_PROMPT, m_hWnd, LastFolder);
  SetComboText(folderCombo_, LastFolder);
}
