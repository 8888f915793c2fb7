// What the settings sheet asks of each page that shows part of the project
// record (General, Options, Password): the record copied into the page and
// back. A page whose window does not exist yet keeps the values in its
// members; its controls show them when the sheet first creates it.
#pragma once
#include "ProjectSettings.h"

// The sheet's pages by their fixed places: other windows switch to the
// Password and Build pages by these numbers.
enum SettingsPageIndex {
  kGeneralPageIndex = 0,
  kOptionsPageIndex = 1,
  kPasswordPageIndex = 2,
  kBuildPageIndex = 3,
  kSettingsPageCount = 4
};

class SettingsPageExchange {
 public:
  virtual ~SettingsPageExchange() = default;
  // Copies the record into the page, and into its controls once the page
  // has a window. |flag| is non-zero for a fresh project.
  virtual void RecordToPage(const ProjectSettings& record, int flag) = 0;
  // Reads the controls (when the window exists), then copies the page into
  // the record when one is given.
  virtual void PageToRecord(ProjectSettings* record) = 0;
};
