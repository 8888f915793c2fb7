#include "OutputLocation.h"

#include <windows.h>

namespace {

DWORD AttributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }
bool Exists(DWORD attributes) { return attributes != INVALID_FILE_ATTRIBUTES; }
bool IsFolder(DWORD attributes) { return Exists(attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY); }

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

// Where the folders of a full path start: after "C:\" or "\\server\share\".
size_t FirstFolderStart(const std::string& path) {
  if (path.compare(0, 2, "\\\\") != 0) return path.find('\\') + 1;
  const size_t share = path.find('\\', 2);
  const size_t afterShare = share == std::string::npos ? std::string::npos : path.find('\\', share + 1);
  return afterShare == std::string::npos ? path.size() : afterShare + 1;
}

// The first level of folder that is a file, or that is missing.
OutputLocation WalkFolders(const std::string& folder) {
  for (size_t end = FirstFolderStart(folder); end <= folder.size() && end != 0;) {
    const size_t next = folder.find('\\', end);
    const std::string level = folder.substr(0, next);
    const DWORD attributes = AttributesOf(level);
    if (!Exists(attributes)) return {OutputLocationProblem::kFolderMissing, folder};
    if (!IsFolder(attributes)) return {OutputLocationProblem::kFileInTheWay, level};
    if (next == std::string::npos) break;
    end = next + 1;
  }
  return {};
}

// A file made and removed again: the only sure test that the folder takes one.
bool FolderTakesFiles(const std::string& folder) {
  char name[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), "brn", 0, name)) return false;
  DeleteFileA(name);
  return true;
}

}  // namespace

OutputLocation CheckOutputLocation(const std::string& outputName) {
  const std::string full = FullPath(outputName);
  const DWORD attributes = AttributesOf(full);
  if (IsFolder(attributes)) return {OutputLocationProblem::kNamesAFolder, full};
  const size_t slash = full.find_last_of('\\');
  std::string folder = slash == std::string::npos ? std::string(".") : full.substr(0, slash);
  if (!folder.empty() && folder.back() == ':') folder += '\\';  // a drive's root
  OutputLocation walked = WalkFolders(folder);
  if (walked.problem != OutputLocationProblem::kNone) return walked;
  if (Exists(attributes) && (attributes & FILE_ATTRIBUTE_READONLY)) return {OutputLocationProblem::kReadOnlyProgram, full};
  if (!FolderTakesFiles(folder)) return {OutputLocationProblem::kFolderNotWritable, folder};
  return {};
}

std::string OutputLocationText(const OutputLocation& location) {
  const std::string& where = location.where;
  switch (location.problem) {
    case OutputLocationProblem::kNone:
      return std::string();
    case OutputLocationProblem::kFolderMissing:
      return "The output folder '" + where + "' does not exist.";
    case OutputLocationProblem::kFileInTheWay:
      return "'" + where + "' is a file, so no output program can be written in a folder of that name.";
    case OutputLocationProblem::kNamesAFolder:
      return "The output name '" + where + "' is a folder, not a program file.";
    case OutputLocationProblem::kReadOnlyProgram:
      return "The output program '" + where + "' is read-only and cannot be replaced.";
    case OutputLocationProblem::kFolderNotWritable:
      return "The output folder '" + where + "' cannot be written to.";
  }
  return std::string();
}

bool CreateFolderPath(const std::string& folder) {
  const std::string full = FullPath(folder);
  for (size_t end = FirstFolderStart(full); end != 0 && end <= full.size();) {
    const size_t next = full.find('\\', end);
    const std::string level = full.substr(0, next);
    if (!IsFolder(AttributesOf(level)) && !CreateDirectoryA(level.c_str(), nullptr)) return false;
    if (next == std::string::npos) break;
    end = next + 1;
  }
  return IsFolder(AttributesOf(full));
}
