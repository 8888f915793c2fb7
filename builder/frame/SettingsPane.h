// What the main frame asks of its right pane, the settings form view with
// its property sheet and pages.
#pragma once
#include "ProjectSettings.h"
#include "classlib/view/view.h"

namespace settings_pane {

CRuntimeClass* ViewClass();
// Copies the record into the pages; flag is nonzero for a fresh project.
void RecordToPages(CView* view, ProjectSettings& record, int flag);
// Reads the pages (from their controls where they have windows) into the record.
void PagesToRecord(CView* view, ProjectSettings& record);
bool GeneralPageHasWindow(CView* view);
// The client size the pane needs to show every page whole at the system's
// text size; empty before the pane's first initial update.
CSize NeededSize(CView* view);
// The General page has a zip and an output name: a build can start.
bool ReadyToBuild(CView* view);
// The General page's Build flow.
void Build(CView* view);
// Switches the sheet to the Build page and collects the pages into the record.
void ActivateBuildPage(CView* view, ProjectSettings& record);

}  // namespace settings_pane
