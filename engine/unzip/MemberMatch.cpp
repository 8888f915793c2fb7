#include "MemberMatch.h"

#include <cstring>
#include "ArchiveDirectory.h"
#include "PathNames.h"
#include "UnzipFiles.h"

int FilespecSplit(const char *filespec, FilespecPatterns *patterns) {
  patterns->clear();
  std::string text(filespec ? filespec : "");
  CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  std::string current;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ' ' && !quoted) {
      if (!current.empty()) patterns->push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (quoted) return 47;
  if (!current.empty()) patterns->push_back(current);
  return 0;
}

static void SlashesToBackslashes(char *name) {
  for (char *p = name; *p; ++p)
    if (*p == '/') *p = '\\';
}

// Whether the name lies under the folder (directly, without recursion).
static bool LiesUnder(const std::string &name, const std::string &folder, bool recurse) {
  if (name.size() <= folder.size() || name.compare(0, folder.size(), folder) != 0) return false;
  if (recurse) return true;
  std::string rest = name.substr(folder.size());
  if (!rest.empty() && rest.back() == '\\') rest.pop_back();
  return rest.find('\\') == std::string::npos;
}

bool MemberMatchesPattern(const char *name, bool folder, const std::string &pattern, bool recurse) {
  std::string member(name);
  std::string bare = member;  // without a folder's own trailing backslash
  if (folder && !bare.empty() && bare.back() == '\\') bare.pop_back();
  size_t slash = pattern.find_last_of('\\');
  if (slash == std::string::npos) {
    if (folder) return pattern == "*.*" && (recurse || bare.find('\\') == std::string::npos);
    if (!recurse && member.find('\\') != std::string::npos) return false;
    char part[kPathTextMax];
    PathNamePart(part, member.c_str());
    return NameMatchesPattern(part, pattern.c_str(), 1) == 0;
  }
  std::string patternFolder = pattern.substr(0, slash + 1);
  std::string filePart = pattern.substr(slash + 1);
  if (folder) {
    if (member == patternFolder) return true;
    return recurse && LiesUnder(member, patternFolder, true) && (filePart.empty() || filePart == "*.*");
  }
  if (!LiesUnder(member, patternFolder, recurse)) return false;
  if (filePart.empty()) return true;
  char part[kPathTextMax];
  PathNamePart(part, member.c_str());
  return NameMatchesPattern(part, filePart.c_str(), 1) == 0;
}

enum : uint32_t { kVolumeLabelAttribute = 0x08 };

// With freshening or updating, whether the member's file on disk asks for it.
static bool SelectedByDate(const UnzipState *state, const char *storedName, const char *namePart) {
  const UNZIPCMDSTRUCT &command = state->command;
  if (!command.freshenFlag && !command.updateFlag) return true;
  char target[kUnzipPathCapacity + kPathTextMax];
  lstrcpynA(target, state->destination, sizeof target);
  size_t used = strlen(target);
  lstrcpynA(target + used, command.noDirectoryNamesFlag ? namePart : storedName, static_cast<int>(sizeof target - used));
  uint32_t onDisk = FileDosDateTime(target);
  if (onDisk == 0) return command.updateFlag != 0;
  const uint8_t *central = state->directory.member.central;
  uint32_t memberTime = static_cast<uint32_t>(ReadLe16(central + kChDate)) << 16 | ReadLe16(central + kChTime);
  return onDisk < memberTime;
}

int NextMatchingMember(UnzipState *state, const FilespecPatterns &patterns) {
  for (;;) {
    int result = DirectoryNext();
    if (result) return result;
    CurrentMember &member = state->directory.member;
    char name[kPathTextMax];
    lstrcpynA(name, member.name, sizeof name);
    SlashesToBackslashes(name);
    if (state->skipLongNames && PathIsLongName(name)) continue;
    if (state->truncateLongNames) PathTruncate83(name, name);
    bool folder = name[0] && name[strlen(name) - 1] == '\\';
    if (folder && state->command.noDirectoryItemsFlag) continue;
    if (ReadLe32(member.central + kChExternalAttr) & kVolumeLabelAttribute) continue;
    char part[kPathTextMax];
    PathNamePart(part, name);
    if (!SelectedByDate(state, name, part)) continue;
    CharUpperA(name);
    for (const std::string &pattern : patterns)
      if (MemberMatchesPattern(name, folder, pattern, state->command.recurseFlag != 0)) return 0;
  }
}
