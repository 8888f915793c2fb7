#include "LaunchList.h"

#include "MyFileUtility.h"

namespace {

// Each row's extensions, matched case-folded anywhere in the text.
const char* const kFilterExtensions[kLaunchFilterCount] = {
    nullptr,
    "Executable Files(*.exe);",
    "Image Files(*.bmp, *.gif, *.jpg, *.png);",
};

bool IsFolder(const std::string& name) { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }

}  // namespace

bool LaunchFilterAccepts(int filter, const std::string& name) {
  if (name.empty() || IsFolder(name)) return false;
  if (filter <= kLaunchAllFiles || filter >= kLaunchFilterCount) return true;
  return CMyFileUtility::IsExtensionInList(name.c_str(), kFilterExtensions[filter]) != 0;
}

LaunchRows BuildLaunchRows(const std::vector<std::string>& found, int filter, const std::string& command) {
  LaunchRows rows;
  for (const std::string& name : found) {
    if (!LaunchFilterAccepts(filter, name)) continue;
    rows.names.push_back(name);
    if (rows.commandRow == 0 && name == command) rows.commandRow = static_cast<int>(rows.names.size());
  }
  rows.inFilter = static_cast<int>(rows.names.size());
  if (!command.empty() && rows.commandRow == 0) {
    rows.names.push_back(command);
    rows.commandRow = static_cast<int>(rows.names.size());
  }
  return rows;
}

std::string CommandOfRow(const LaunchRows& rows, int row) {
  if (row < 1 || row > static_cast<int>(rows.names.size())) return std::string();
  return rows.names[row - 1];
}
