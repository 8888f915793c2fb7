// The tool-bar harness as a program, to look at and use by hand.
#include "tool_bar_harness.h"

namespace {

class CHarnessApp : public CWinApp {
 public:
  CHarnessApp() : CWinApp("Tool bar harness") {}
  BOOL InitInstance() override {
    SetRegistryKey("Korvane Tests");
    m_pMainWnd = CToolBarHarness::Open(CRect(100, 100, 700, 400));
    return m_pMainWnd != nullptr;
  }
};

CHarnessApp theApp;

}  // namespace
