// The rows the Options page offers as the file to launch after extraction:
// row 0 stands for none, then the examined zip's files that the type filter
// passes, in the zip's order. A command that is not among them (its zip not
// examined yet, or filtered out) keeps a row of its own at the end, so the
// list always shows what will be launched.
#pragma once
#include <string>
#include <vector>

// The filter rows: every file, programs, pictures.
enum LaunchFilter { kLaunchAllFiles = 0, kLaunchPrograms = 1, kLaunchImages = 2, kLaunchFilterCount = 3 };

struct LaunchRows {
  std::vector<std::string> names;  // rows 1 and on
  int inFilter = 0;                // zip entries the filter passed
  int commandRow = 0;              // the row showing the command; 0 when there is none
};

// False for folders, which cannot be launched, and for names the filter refuses.
bool LaunchFilterAccepts(int filter, const std::string& name);
LaunchRows BuildLaunchRows(const std::vector<std::string>& found, int filter, const std::string& command);
// The command row stands for: none for row 0 or a row out of range.
std::string CommandOfRow(const LaunchRows& rows, int row);
