#include "ProjectFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "MyCipherFile.h"
#include "ProgramChecksum.h"

namespace {

const char kProjectTag[] = "_KORVANE_BRENNICOR_PRJ_";
const char kTagKey[] = "PRJ_TAG = ";
// The last line: the SHA-1 of every line in front of it, each with its
// terminator. A project saved before it existed has no such line.
const char kChecksumLineKey[] = "PRJ_CHECKSUM = ";
// One line with its terminator; longer records are refused when read.
const size_t kLineBuffer = 16241;
const size_t kLongestPath = MAX_PATH - 1;

// What a value may hold. Paths and one-line texts hold no control
// character; numbers are decimal digits alone, within their range; the
// two texts may hold anything a text file holds.
enum class ValueKind { kPath, kLine, kMultiLineText, kNumber };

// The saved lines in file order.
struct ProjectLine {
  const char* key;  // with " = "
  ValueKind kind;
  std::string ProjectSettings::*text;
  int ProjectSettings::*number;
  int highest;  // of a number
};

const ProjectLine kLines[] = {
    {"ZIP_FILE_NAME = ", ValueKind::kPath, &ProjectSettings::sourceArchive, nullptr, 0},
    {"ICON_FILE_NAME = ", ValueKind::kPath, &ProjectSettings::iconFile, nullptr, 0},
    {"ICON_FILE_INDX = ", ValueKind::kNumber, nullptr, &ProjectSettings::iconIndex, kHighestIconIndex},
    {"OUTPUT_SFX_NAME = ", ValueKind::kPath, &ProjectSettings::outputName, nullptr, 0},
    {"DEFAULT_COMPRESSION_LEVEL_IN_COMBO_BX = ", ValueKind::kNumber, nullptr, &ProjectSettings::levelListIndex,
     kLevelListRows - 1},
    {"DEFAULT_HYPERTHREAD_COMPRESSION = ", ValueKind::kNumber, nullptr, &ProjectSettings::deflate64, 1},
    {"DEFAULT_UNZIP_TO_FOLDER = ", ValueKind::kPath, &ProjectSettings::unzipToFolder, nullptr, 0},
    {"DEFAULT_AUTO_UNZIP = ", ValueKind::kNumber, nullptr, &ProjectSettings::autoUnzip, 1},
    {"DEFAULT_OVERWRITE_FILES = ", ValueKind::kNumber, nullptr, &ProjectSettings::overwrite, 1},
    {"DEFAULT_RECREATE_ORIGINAL_FOLDERS = ", ValueKind::kNumber, nullptr, &ProjectSettings::recreateFolders, 1},
    {"ABOUT_BOX_TEXT = ", ValueKind::kMultiLineText, &ProjectSettings::aboutText, nullptr, 0},
    {"CUSTOM_MESSAGE_TEXT = ", ValueKind::kMultiLineText, &ProjectSettings::customMessage, nullptr, 0},
    {"EXECUTE_COMMAND = ", ValueKind::kLine, &ProjectSettings::launchCommand, nullptr, 0},
    {"SHOW_ZIP_FILES_CONTENT = ", ValueKind::kNumber, nullptr, &ProjectSettings::listIndex, kLaunchFilterRows - 1},
    {"ENABLE_PASSWORD_PROTECTION = ", ValueKind::kNumber, nullptr, &ProjectSettings::passwordProtection, 1},
    {"PASSWORD_MASK_PASSWORD = ", ValueKind::kNumber, nullptr, &ProjectSettings::maskPassword, 1},
    {"PASSWORD_STRONG_ENCRYPTION_INDX = ", ValueKind::kNumber, nullptr, &ProjectSettings::aesStrengthIndex, 2},
    {"PASSWORD_PROTECTION_STRING = ", ValueKind::kLine, &ProjectSettings::password, nullptr, 0},
};
constexpr size_t kLineCount = sizeof kLines / sizeof kLines[0];

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

bool HasControlCharacter(const char* value) {
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(value); *at; ++at)
    if (*at < 0x20 || *at == 0x7F) return true;
  return false;
}

// The number a value holds, or -1 when it is not digits alone within highest.
int NumberOf(const char* value, int highest) {
  const size_t length = std::strlen(value);
  if (length == 0 || length > 9 || std::strspn(value, "0123456789") != length) return -1;
  const long number = std::strtol(value, nullptr, 10);
  return number <= highest ? static_cast<int>(number) : -1;
}

// False when the value is not of the line's kind.
bool ApplyValue(ProjectSettings& settings, const ProjectLine& line, const char* value) {
  switch (line.kind) {
    case ValueKind::kNumber: {
      const int number = NumberOf(value, line.highest);
      if (number < 0) return false;
      settings.*line.number = number;
      return true;
    }
    case ValueKind::kPath:
      if (std::strlen(value) > kLongestPath) return false;
      [[fallthrough]];
    case ValueKind::kLine:
      if (HasControlCharacter(value)) return false;
      settings.*line.text = value;
      return true;
    case ValueKind::kMultiLineText:
      settings.*line.text = ReplaceAll(value, ";;", "\r\n");
      return true;
  }
  return false;
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// A record as the saver writes it: its text, then zero bytes to its end.
bool IsPaddedWithZeros(const std::vector<char>& line) {
  const size_t end = std::strlen(line.data());
  return std::all_of(line.begin() + static_cast<std::ptrdiff_t>(end), line.end(), [](char c) { return c == '\0'; });
}

bool IsTagLine(const char* text) {
  return StartsWith(text, kTagKey) && lstrcmpiA(text + std::strlen(kTagKey), kProjectTag) == 0;
}

void AddToChecksum(Sha1Context* checksum, const std::string& line) {
  Sha1Update(reinterpret_cast<const uint8_t*>(line.c_str()), line.size() + 1, checksum);
}

bool WriteProjectLines(const ProjectSettings& settings, const char* path) {
  CMyCipherFile file;
  if (file.Open(path, 0) != CMyCipherFile::kDone) return false;
  Sha1Context checksum;
  Sha1Init(&checksum);
  bool written = true;
  auto write = [&](const std::string& line) {
    written = written && file.WriteRecord(line.c_str()) == CMyCipherFile::kDone;
    AddToChecksum(&checksum, line);
  };
  write(std::string(kTagKey) + kProjectTag);
  for (const ProjectLine& line : kLines) write(FormatLine(settings, line));
  written = written && file.WriteRecord((kChecksumLineKey + FinalChecksumText(&checksum)).c_str()) ==
                           CMyCipherFile::kDone;
  return file.Close() && written;
}

// Reads the tag and the lines after it into settings, telling at each
// record whether to go on.
enum class LineVerdict { kTaken, kNotAProject, kDamaged };

// Damage is a line of no known key, a key seen twice, a value not of its
// kind, bytes after a line's end, or a checksum line that differs from the
// lines in front of it or is not the last.
class ProjectLineReader {
 public:
  explicit ProjectLineReader(ProjectSettings& settings) : settings_(settings) { Sha1Init(&checksum_); }

  LineVerdict Take(const std::vector<char>& record) {
    const char* text = record.data();
    if (checked_ || !IsPaddedWithZeros(record)) return LineVerdict::kDamaged;
    if (!tagSeen_) {
      AddToChecksum(&checksum_, text);
      tagSeen_ = IsTagLine(text);
      return tagSeen_ ? LineVerdict::kTaken : LineVerdict::kNotAProject;
    }
    if (StartsWith(text, kChecksumLineKey)) {
      checked_ = true;
      return Verdict(FinalChecksumText(&checksum_) == text + std::strlen(kChecksumLineKey));
    }
    AddToChecksum(&checksum_, text);
    for (size_t i = 0; i < kLineCount; ++i) {
      if (!StartsWith(text, kLines[i].key)) continue;
      if (seen_[i]) return LineVerdict::kDamaged;
      seen_[i] = true;
      return Verdict(ApplyValue(settings_, kLines[i], text + std::strlen(kLines[i].key)));
    }
    return LineVerdict::kDamaged;
  }

 private:
  static LineVerdict Verdict(bool sound) { return sound ? LineVerdict::kTaken : LineVerdict::kDamaged; }

  ProjectSettings& settings_;
  Sha1Context checksum_;
  bool tagSeen_ = false;
  bool checked_ = false;
  bool seen_[kLineCount] = {};
};

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
  ProjectLineReader reader(settings);
  for (;;) {
    std::fill(line.begin(), line.end(), '\0');
    const int read = file.ReadRecord(line.data(), line.size());
    if (read == CMyCipherFile::kEndOfFile) break;
    // A record that cannot be read is damage: half a project is never taken.
    if (read != CMyCipherFile::kDone) return Refused(settings, file, messageId, kProjectCheckFailed);
    const LineVerdict verdict = reader.Take(line);
    if (verdict == LineVerdict::kNotAProject) return Refused(settings, file, messageId, kProjectFileReadable);
    if (verdict == LineVerdict::kDamaged) return Refused(settings, file, messageId, kProjectCheckFailed);
  }
  file.Close();
  return 0;
}
