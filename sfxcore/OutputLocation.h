// Whether a program can be written where the project names it, checked
// before a build does any work: the folder must exist and take new files,
// no file may stand where a folder of the path should be, and a program
// already there must be replaceable.
#pragma once
#include <string>

enum class OutputLocationProblem {
  kNone,
  kFolderMissing,      // where: the output's folder
  kFileInTheWay,       // where: the file standing for a folder of the path
  kNamesAFolder,       // where: the output name, an existing folder
  kReadOnlyProgram,    // where: the output name, an existing read-only file
  kFolderNotWritable,  // where: the output's folder
};

struct OutputLocation {
  OutputLocationProblem problem = OutputLocationProblem::kNone;
  std::string where;
};

OutputLocation CheckOutputLocation(const std::string& outputName);

// What is wrong, in one sentence naming the place; empty for kNone.
std::string OutputLocationText(const OutputLocation& location);

// Creates folder with every missing folder above it; true when it exists afterwards.
bool CreateFolderPath(const std::string& folder);
