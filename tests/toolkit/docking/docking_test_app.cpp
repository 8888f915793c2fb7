// The one application object of the docking tests; its registry key is set by each test that writes settings.
#include "classlib/winapp.h"

namespace {
CWinApp theApp("Docking Test");
}
