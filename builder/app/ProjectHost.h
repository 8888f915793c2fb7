// What the project document needs of the main frame: the one project record
// of the builder's run and the settings pages it is copied into and out of.
// The frame sets itself as Builder().projectHost while it exists.
#pragma once
#include "ProjectSettings.h"

class ProjectHost {
 public:
  virtual ~ProjectHost() = default;
  virtual ProjectSettings& Record() = 0;
  // Whether the settings form view, and with it the pages, exists.
  virtual bool HasSettingsView() = 0;
  virtual bool GeneralPageHasWindow() = 0;
  virtual void PushRecordToPages() = 0;
  // The same for a fresh project, which the pages may show otherwise.
  virtual void PushFreshRecordToPages() { PushRecordToPages(); }
  virtual void CollectPagesIntoRecord() = 0;
  virtual void RepaintMainWindow() = 0;
};
