#include "SettingsPane.h"

#include "pages/BasicGeneralPg.h"
#include "pages/GeneralPropertyPageSFX.h"
#include "pages/SettingsPageExchange.h"

namespace settings_pane {

namespace {

CBasicGeneralPg* FormView(CView* view) { return static_cast<CBasicGeneralPg*>(view); }

CGeneralPropertyPageSFX* GeneralPage(CView* view) { return FormView(view)->generalPage(); }

}  // namespace

CRuntimeClass* ViewClass() { return RUNTIME_CLASS(CBasicGeneralPg); }

void RecordToPages(CView* view, ProjectSettings& record, int flag) {
  ExchangeRecordToPages(record, FormView(view), flag);
}

void PagesToRecord(CView* view, ProjectSettings& record) { ExchangePagesToRecord(record, FormView(view)); }

bool GeneralPageHasWindow(CView* view) {
  CGeneralPropertyPageSFX* page = GeneralPage(view);
  return page && ::IsWindow(page->m_hWnd);
}

CSize NeededSize(CView* view) { return FormView(view)->SheetNeededSize(); }

bool ReadyToBuild(CView* view) { return GeneralPage(view)->IsBuildPossible() != 0; }

void Build(CView* view) { GeneralPage(view)->BuildSelfExtractor(); }

void ActivateBuildPage(CView* view, ProjectSettings& record) {
  FormView(view)->ShowPage(kBuildPageIndex);
  ExchangePagesToRecord(record, FormView(view));
}

}  // namespace settings_pane
