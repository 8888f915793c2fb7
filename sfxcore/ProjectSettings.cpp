#include "ProjectSettings.h"

void ResetDefaults(ProjectSettings& record) { record = ProjectSettings(); }
