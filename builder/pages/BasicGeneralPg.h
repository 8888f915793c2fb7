// The settings form view, right pane of the main frame: it hosts the
// settings sheet as a child filling its client area, with the General,
// Options, Password and Build pages at their fixed places.
#pragma once
#include <array>
#include <vector>

#include "BuildSFXPage.h"
#include "SettingsPageExchange.h"
#include "ProjectSettings.h"
#include "classlib/view/view.h"

class CMyResizePropSheet;
class CGeneralPropertyPageSFX;
class CSFXOptionsPage;
class CPasswordProtectionPage;
class SettingsPageExchange;

class CBasicGeneralPg : public CFormView {
  DECLARE_DYNCREATE(CBasicGeneralPg)
  DECLARE_MESSAGE_MAP()
 public:
  CBasicGeneralPg();
  // Builds with |stub| and starts built programs through |launch|.
  CBasicGeneralPg(const StubImage& stub, CBuildSFXPage::ProgramLauncher launch);
  ~CBasicGeneralPg() override;

  void OnInitialUpdate() override;

  CMyResizePropSheet* sheet() const { return sheet_; }
  CGeneralPropertyPageSFX* generalPage() const { return general_; }
  CSFXOptionsPage* optionsPage() const { return options_; }
  CPasswordProtectionPage* passwordPage() const { return password_; }
  CBuildSFXPage* buildPage() const { return build_; }
  // General, Options and Password, those that exist, in that order.
  std::vector<SettingsPageExchange*> SettingsPages() const;
  // The four pages in their places, null before the first initial update.
  std::array<CPropertyPage*, kSettingsPageCount> Pages() const;
  // Switches the sheet to one of its fixed places (SettingsPageIndex).
  BOOL ShowPage(int index);
  // The size the sheet takes for its largest page and its tab rows at the
  // system's text size; empty before the first initial update.
  CSize SheetNeededSize() const { return sheetNeeded_; }

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);

 private:
  bool CreatePages();
  void CreateSheet();
  void FitSheet(int width, int height);

  StubImage stub_;  // empty: the one the program carries
  CBuildSFXPage::ProgramLauncher launch_;
  CMyResizePropSheet* sheet_ = nullptr;
  CBuildSFXPage* build_ = nullptr;
  CSFXOptionsPage* options_ = nullptr;
  CGeneralPropertyPageSFX* general_ = nullptr;
  CPasswordProtectionPage* password_ = nullptr;
  CSize sheetNeeded_;
};

// The project record into every settings page that exists; |flag| marks a
// fresh project. Nothing without a view.
void ExchangeRecordToPages(const ProjectSettings& record, CBasicGeneralPg* view, int flag);
// Every settings page that exists into the record. Nothing without a view.
void ExchangePagesToRecord(ProjectSettings& record, CBasicGeneralPg* view);
