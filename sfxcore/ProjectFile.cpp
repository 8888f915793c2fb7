#include "ProjectFile.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "MyCipherFile.h"

namespace {

const char kProjectTag[] = "_KORVANE_BRENNICOR_PRJ_";
const char kTagKey[] = "PRJ_TAG = ";
// One line with its terminator; longer records are refused when read.
const size_t kLineBuffer = 16241;

enum class ValueKind { kText, kMultiLineText, kNumber };

// The saved lines in file order. A number reads back as the first character's
// digit; one above maxDigit, or no digit at all, leaves the default.
struct ProjectLine {
  const char* key;  // with " = "
  ValueKind kind;
  std::string ProjectSettings::*text;
  int ProjectSettings::*number;
  int maxDigit;
  bool readBack;
};

const ProjectLine kLines[] = {
    {"ZIP_FILE_NAME = ", ValueKind::kText, &ProjectSettings::sourceArchive, nullptr, 0, true},
    {"ICON_FILE_NAME = ", ValueKind::kText, &ProjectSettings::iconFile, nullptr, 0, false},
    {"ICON_FILE_INDX = ", ValueKind::kNumber, nullptr, &ProjectSettings::iconIndex, 9, false},
    {"OUTPUT_SFX_NAME = ", ValueKind::kText, &ProjectSettings::outputName, nullptr, 0, true},
    {"DEFAULT_COMPRESSION_LEVEL_IN_COMBO_BX = ", ValueKind::kNumber, nullptr, &ProjectSettings::levelListIndex, 9, true},
    {"DEFAULT_HYPERTHREAD_COMPRESSION = ", ValueKind::kNumber, nullptr, &ProjectSettings::deflate64, 1, true},
    {"DEFAULT_UNZIP_TO_FOLDER = ", ValueKind::kText, &ProjectSettings::unzipToFolder, nullptr, 0, true},
    {"DEFAULT_AUTO_UNZIP = ", ValueKind::kNumber, nullptr, &ProjectSettings::autoUnzip, 1, true},
    {"DEFAULT_OVERWRITE_FILES = ", ValueKind::kNumber, nullptr, &ProjectSettings::overwrite, 1, true},
    {"DEFAULT_RECREATE_ORIGINAL_FOLDERS = ", ValueKind::kNumber, nullptr, &ProjectSettings::recreateFolders, 1, true},
    {"ABOUT_BOX_TEXT = ", ValueKind::kMultiLineText, &ProjectSettings::aboutText, nullptr, 0, true},
    {"CUSTOM_MESSAGE_TEXT = ", ValueKind::kMultiLineText, &ProjectSettings::customMessage, nullptr, 0, true},
    {"EXECUTE_COMMAND = ", ValueKind::kText, &ProjectSettings::launchCommand, nullptr, 0, true},
    {"SHOW_ZIP_FILES_CONTENT = ", ValueKind::kNumber, nullptr, &ProjectSettings::listIndex, 9, true},
    {"ENABLE_PASSWORD_PROTECTION = ", ValueKind::kNumber, nullptr, &ProjectSettings::passwordProtection, 1, true},
    {"PASSWORD_MASK_PASSWORD = ", ValueKind::kNumber, nullptr, &ProjectSettings::maskPassword, 1, true},
    {"PASSWORD_STRONG_ENCRYPTION_INDX = ", ValueKind::kNumber, nullptr, &ProjectSettings::aesStrengthIndex, 2, true},
    {"PASSWORD_PROTECTION_STRING = ", ValueKind::kText, &ProjectSettings::password, nullptr, 0, true},
};

std::string ReplaceAll(std::string text, const char* from, const char* to) {
  const size_t fromLength = std::strlen(from), toLength = std::strlen(to);
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + toLength))
    text.replace(at, fromLength, to);
  return text;
}

std::string FormatLine(const ProjectSettings& settings, const ProjectLine& line) {
  std::string text = line.key;
  if (line.kind == ValueKind::kNumber)
    text += std::to_string(settings.*line.number);
  else if (line.kind == ValueKind::kMultiLineText)
    text += ReplaceAll(settings.*line.text, "\r\n", ";;");
  else
    text += settings.*line.text;
  if (text.size() > kLineBuffer - 1) text.resize(kLineBuffer - 1);
  return text;
}

void ApplyValue(ProjectSettings& settings, const ProjectLine& line, const char* value) {
  if (line.kind == ValueKind::kNumber) {
    int digit = value[0] - '0';
    if (digit >= 0 && digit <= line.maxDigit) settings.*line.number = digit;
  } else if (line.kind == ValueKind::kMultiLineText) {
    settings.*line.text = ReplaceAll(value, ";;", "\r\n");
  } else {
    settings.*line.text = value;
  }
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// A key counts only at the start of its line, so a value that holds another
// key's text cannot set that other field.
void ApplyLine(ProjectSettings& settings, const char* text) {
  for (const ProjectLine& line : kLines) {
    if (line.readBack && StartsWith(text, line.key)) {
      ApplyValue(settings, line, text + std::strlen(line.key));
      return;
    }
  }
}

bool IsTagLine(const char* text) {
  return StartsWith(text, kTagKey) && lstrcmpiA(text + std::strlen(kTagKey), kProjectTag) == 0;
}

bool WriteProjectLines(const ProjectSettings& settings, const char* path) {
  CMyCipherFile file;
  if (file.Open(path, 0) != CMyCipherFile::kDone) return false;
  bool written = file.WriteRecord((std::string(kTagKey) + kProjectTag).c_str()) == CMyCipherFile::kDone;
  for (const ProjectLine& line : kLines)
    written = written && file.WriteRecord(FormatLine(settings, line).c_str()) == CMyCipherFile::kDone;
  return file.Close() && written;
}

// Not a project, or a damaged one: the record goes back to its defaults.
int Refused(ProjectSettings& settings, CMyCipherFile& file, int* messageId, int message) {
  file.Close();
  ResetDefaults(settings);
  if (messageId) *messageId = message;
  return 1;
}

}  // namespace

// The project is written beside its place and takes that place only when
// whole, so a save that fails half-way (a full disk) keeps the old project.
int SaveProjectFile(const ProjectSettings& settings, const char* path) {
  const std::string staging = std::string(path) + ".saving";
  if (WriteProjectLines(settings, staging.c_str()) &&
      MoveFileExA(staging.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 1;
  DeleteFileA(staging.c_str());
  return 0;
}

int LoadProjectFile(ProjectSettings& settings, const char* path, int* messageId) {
  ResetDefaults(settings);
  if (messageId) *messageId = kProjectFileReadable;
  CMyCipherFile file;
  int opened = file.Open(path, 1);
  if (opened != CMyCipherFile::kDone) {
    if (messageId)
      *messageId = opened == CMyCipherFile::kCheckMismatch ? kProjectCheckFailed : kProjectFormatNotRecognized;
    return 1;
  }
  std::vector<char> line(kLineBuffer);
  for (bool first = true;; first = false) {
    std::fill(line.begin(), line.end(), '\0');
    const int read = file.ReadRecord(line.data(), line.size());
    if (read == CMyCipherFile::kEndOfFile) break;
    // A record that cannot be read is damage: half a project is never taken.
    if (read != CMyCipherFile::kDone) return Refused(settings, file, messageId, kProjectCheckFailed);
    if (first && !IsTagLine(line.data())) return Refused(settings, file, messageId, kProjectFileReadable);
    if (!first) ApplyLine(settings, line.data());
  }
  file.Close();
  return 0;
}
