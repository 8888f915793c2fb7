#include "SettingsPane.h"

#include "classlib/dc.h"

// Until the settings sheet is in, the right pane is an empty page.
class CSettingsPendingView : public CView {
  DECLARE_DYNCREATE(CSettingsPendingView)
 public:
  void OnDraw(CDC*) override {}
};

IMPLEMENT_DYNCREATE(CSettingsPendingView, CView)

namespace settings_pane {

CRuntimeClass* ViewClass() { return RUNTIME_CLASS(CSettingsPendingView); }
void RecordToPages(CView*, ProjectSettings&, int) {}
void PagesToRecord(CView*, ProjectSettings&) {}
bool GeneralPageHasWindow(CView*) { return false; }
bool ReadyToBuild(CView*) { return false; }
void Build(CView*) {}
void ActivateBuildPage(CView*, ProjectSettings&) {}

}  // namespace settings_pane
