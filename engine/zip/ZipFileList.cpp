#include "ZipFileList.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "../common/MessageTable.h"
#include "../unzip/DosTime.h"
#include "../unzip/MemberPathSafety.h"
#include "../unzip/PathNames.h"
#include "messages/ZipLog.h"
#include "messages/ZipMessages.h"
#include "messages/ZipProgress.h"
#include "messages/ZipReport.h"
#include "update/ZipEntryList.h"
#include "ZipSourceFiles.h"
#include "ZipStrings.h"
#include "ZipWildcard.h"
#include "volumes/ZipDirectoryAhead.h"
#include "volumes/ZipDriveServices.h"

namespace {

enum { kSkippedLine = 708, kRenameAttributes = 0x27 };
const DWORD kHiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The parts of one item: "C:", "\dir\", "*", ".txt".
struct ItemParts {
  char drive[ZIP_PATH_SIZE];
  char folder[ZIP_PATH_SIZE];
  char name[ZIP_PATH_SIZE];
  char extension[ZIP_PATH_SIZE];
};

bool EndsWithSeparator(const char *text) {
  size_t length = strlen(text);
  return length && (text[length - 1] == '\\' || text[length - 1] == '/');
}

// folder + backslash + name into out; 0 when it does not fit.
int JoinPath(char *out, size_t capacity, const char *folder, const char *name) {
  const char *separator = (*folder && !EndsWithSeparator(folder)) ? "\\" : "";
  int written = snprintf(out, capacity, "%s%s%s", folder, separator, name);
  return written >= 0 && static_cast<size_t>(written) < capacity;
}

bool SamePath(const char *a, const char *b) {
  char fullA[ZIP_PATH_SIZE], fullB[ZIP_PATH_SIZE];
  if (!GetFullPathNameA(a, sizeof fullA, fullA, nullptr) || !GetFullPathNameA(b, sizeof fullB, fullB, nullptr))
    return false;
  return lstrcmpiA(fullA, fullB) == 0;
}

char *Duplicate(const char *text) {
  size_t size = strlen(text) + 1;
  char *copy = static_cast<char *>(malloc(size));
  if (copy) memcpy(copy, text, size);
  return copy;
}

// The new file's facts, as the rename callback may change them.
struct FoundFacts {
  char *name;
  uint32_t dosDateTime;
  uint32_t attributes;
  uint64_t size;
};

// Replaces the stored name with a copy of text; 0 without memory.
int ReplaceName(FoundFacts *facts, const char *text) {
  char *copy = Duplicate(text);
  if (!copy) return 0;
  free(facts->name);
  facts->name = copy;
  return 1;
}

void TakeRenamedFacts(FoundFacts *facts, uint32_t date, uint32_t time, uint32_t attributes) {
  facts->dosDateTime = (date & 0xFFFF) << 16 | (time & 0xFFFF);
  facts->attributes = (facts->attributes & ~kRenameAttributes) | (attributes & kRenameAttributes);
}

// The application's rename callback; 0 without memory.
int OfferRename(const char *path, FoundFacts *facts, ZipState *state) {
  if (state->renameProcEx && (state->subOptions2 & ZSO2_RENAME_EX)) {
    auto *record = static_cast<ZipRenameRecordEx *>(calloc(1, sizeof(ZipRenameRecordEx)));
    if (!record) return 0;
    record->size = sizeof *record;
    CopyTextCapped(record->name, sizeof record->name, facts->name);
    CopyTextCapped(record->path, sizeof record->path, path);
    record->dosDate = facts->dosDateTime >> 16;
    record->dosTime = facts->dosDateTime & 0xFFFF;
    record->attributes = facts->attributes;
    record->uncompressedSize = facts->size;
    state->renameProcEx(record, state->renameUserData);
    record->name[sizeof record->name - 1] = '\0';
    int ok = ReplaceName(facts, record->name);
    TakeRenamedFacts(facts, record->dosDate, record->dosTime, record->attributes);
    free(record);
    return ok;
  }
  if (!state->renameProc) return 1;
  ZipRenameRecord record = {};
  CopyTextCapped(record.name, sizeof record.name, facts->name);
  CopyTextCapped(record.path, sizeof record.path, path);
  record.dosDate = facts->dosDateTime >> 16;
  record.dosTime = facts->dosDateTime & 0xFFFF;
  record.attributes = facts->attributes;
  state->renameProc(&record, state->renameUserData);
  record.name[sizeof record.name - 1] = '\0';
  TakeRenamedFacts(facts, record.dosDate, record.dosTime, record.attributes);
  return ReplaceName(facts, record.name);
}

// Cuts the item's base directory from the front of a relative name; 0 when
// nothing is left.
int CutBaseDirectory(char *name, const ZipState *state) {
  size_t base = strlen(state->loop.baseDirectory);
  if (base && strlen(name) >= base && _strnicmp(name, state->loop.baseDirectory, base) == 0)
    memmove(name, name + base, strlen(name + base) + 1);
  if (state->main.upperCaseNames) CharUpperA(name);
  return name[0] != '\0';
}

// The 8.3 rules of wZipSubOptions 0x0010 and 0x0020; 0 drops the file.
int ApplyShortNameRules(char *name, const ZipState *state) {
  if (!(state->subOptions & ZSO_SKIP_LONG_NAMES)) return 1;
  if (PathIsLongName(name)) return 0;
  if (state->subOptions & ZSO_SHORTEN_NAMES) PathTruncate83(name, name);
  return 1;
}

// An existing entry takes the new source; the new stored name waits. Its
// name and extras stay until the main loop writes it again: an entry whose
// source proves not newer is copied as it stands, and that copy needs the
// lengths of its old local header.
void RetargetEntry(ZipEntry *entry, const char *path, FoundFacts *facts) {
  char *copy = Duplicate(path);
  if (!copy) return;
  if (entry->path != entry->name) free(entry->path);
  entry->path = copy;
  free(entry->pendingName);
  entry->pendingName = facts->name;
  facts->name = nullptr;
}

int AppendNewFile(const char *path, FoundFacts *facts, ZipState *state) {
  auto *node = static_cast<ZipNewFile *>(calloc(1, sizeof(ZipNewFile)));
  char *copy = node ? Duplicate(path) : nullptr;
  if (!copy) {
    free(node);
    return 4;
  }
  node->path = copy;
  node->name = facts->name;
  facts->name = nullptr;
  node->dosDateTime = facts->dosDateTime;
  node->attributes = facts->attributes;
  node->size = facts->size;
  ZipLoopState &loop = state->loop;
  node->prev = loop.newFilesTail;
  if (loop.newFilesTail) loop.newFilesTail->next = node;
  else loop.newFiles = node;
  loop.newFilesTail = node;
  ++loop.newFileCount;
  return 0;
}

// Lists one file or directory (path ending in a backslash). 0 or 4.
int AddFoundFile(const char *path, ZipState *state) {
  FoundFacts facts = {};
  facts.dosDateTime = ZipSourceInfo(path, &facts.attributes, &facts.size, nullptr);
  facts.name = ZipStoredNameOfPath(path, state);
  if (!facts.name) return 4;
  bool keep = facts.name[0] != '\0';
  if (keep && (state->subOptions & ZSO_RELATIVE_NAMES)) keep = CutBaseDirectory(facts.name, state);
  if (keep) keep = ApplyShortNameRules(facts.name, state);
  // A directory written ahead offers each file once its list is final.
  bool renameNow = (state->subOptions & ZSO_RENAME_CALLBACK) && !ZipWritesDirectoryAhead(state);
  if (keep && renameNow && !OfferRename(path, &facts, state)) {
    free(facts.name);
    return 4;
  }
  int result = 0;
  if (keep) {
    ZipEntry *existing = ZipFindEntry(facts.name, state);
    if (existing) {
      existing->selected = ZipPatternFilter(facts.name, state) ? ZIP_MARK_PROCESS : 0;
      if (existing->selected) RetargetEntry(existing, path, &facts);
    } else if (ZipPatternFilter(facts.name, state) && !SamePath(path, state->archiveName)) {
      result = AppendNewFile(path, &facts, state);
    }
  }
  free(facts.name);
  return result;
}

// wZipSubOptions 0x0040: the file must open exclusively. 0 take, 1 skip, 9.
// The question has two buttons, Retry and Cancel; without prompts the file
// is skipped.
int WaitForExclusiveAccess(const char *path, ZipState *state) {
  for (;;) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return 0;
    }
    if (state->promptsAllowed) {
      int answer = ZipMessageBox(ZIP_BOX_SKIPPING, MB_RETRYCANCEL, 0, 0, path);
      if (answer == IDRETRY) continue;
      return 9;
    }
    char line[ZIP_PATH_SIZE + 32];
    snprintf(line, sizeof line, ZipMessageText(kSkippedLine, 2), path);
    ZipActivityLogLine(line);
    return 1;
  }
}

// A found name Windows opens as a device: the system finds one for an item
// that names a device, and a Unix side can hold a file under such a name;
// either way, reading it by that name would read the device.
bool NamesDevice(const char *name) { return MemberPathNamesDevice(name, strlen(name)); }

bool SkippedByAttributes(DWORD attributes, const ZipState *state) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
  DWORD refused = state->main.includeSysHidden ? 0x8 : (kHiddenOrSystem | 0x8);
  if (attributes & refused) return true;
  return (state->subOptions & ZSO_ARCHIVE_BIT_ONLY) && !(attributes & FILE_ATTRIBUTE_ARCHIVE);
}

// The plain files of the folder that match name and extension. 0, or an
// error that stops the item.
int AddMatchingFiles(const char *folder, const char *name, const char *extension, ZipState *state,
                     uint32_t *matched) {
  char pattern[ZIP_PATH_SIZE], spec[ZIP_PATH_SIZE], path[ZIP_PATH_SIZE];
  snprintf(spec, sizeof spec, "%s%s", name, extension);
  bool extensionless = strcmp(extension, ".") == 0;
  if (extensionless) CopyTextCapped(spec, sizeof spec, name);
  if (!JoinPath(pattern, sizeof pattern, folder, spec)) return 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int result = 0;
  do {
    if (SkippedByAttributes(found.dwFileAttributes, state) || NamesDevice(found.cFileName)) continue;
    if (extensionless && strchr(found.cFileName, '.')) continue;
    if (!JoinPath(path, sizeof path, folder, found.cFileName)) continue;
    if (state->subOptions & ZSO_EXCLUSIVE_OPEN) {
      int access = WaitForExclusiveAccess(path, state);
      if (access == 9) {
        result = 9;
        break;
      }
      if (access) continue;
    }
    ZipPumpMessages(state);
    if ((result = AddFoundFile(path, state))) break;
    ++*matched;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

bool IsWalkedFolder(const WIN32_FIND_DATAA &found, const ZipState *state) {
  if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0) return false;
  return state->main.includeSysHidden || !(found.dwFileAttributes & kHiddenOrSystem);
}

// A growing stack of folder paths.
struct FolderStack {
  char (*slots)[ZIP_PATH_SIZE];
  uint32_t count;
  uint32_t capacity;
};

int Push(FolderStack *stack, const char *folder) {
  if (stack->count == stack->capacity) {
    uint32_t capacity = stack->capacity ? stack->capacity * 2 : 16;
    void *grown = realloc(stack->slots, capacity * sizeof *stack->slots);
    if (!grown) return 4;
    stack->slots = static_cast<char (*)[ZIP_PATH_SIZE]>(grown);
    stack->capacity = capacity;
  }
  CopyTextCapped(stack->slots[stack->count++], ZIP_PATH_SIZE, folder);
  return 0;
}

// Lists and pushes the subfolders of folder. 0 or 4.
int PushSubfolders(const char *folder, FolderStack *stack, ZipState *state) {
  char pattern[ZIP_PATH_SIZE], path[ZIP_PATH_SIZE];
  if (!JoinPath(pattern, sizeof pattern, folder, "*")) return 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int result = 0;
  do {
    if (!IsWalkedFolder(found, state) || !JoinPath(path, sizeof path - 1, folder, found.cFileName)) continue;
    if ((result = Push(stack, path))) break;
    if (state->main.addDirectoryEntries) {
      strcat(path, "\\");
      if ((result = AddFoundFile(path, state))) break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

int WalkRecursively(const char *start, const ItemParts &parts, ZipState *state, uint32_t *matched) {
  FolderStack stack = {};
  char folder[ZIP_PATH_SIZE];
  CopyTextCapped(folder, sizeof folder, start);
  int result = 0;
  for (;;) {
    if ((result = PushSubfolders(folder, &stack, state))) break;
    ZipPumpMessages(state);
    if ((result = AddMatchingFiles(folder, parts.name, parts.extension, state, matched))) break;
    if (ZipCheckCancel(state)) {
      result = 9;
      break;
    }
    if (!stack.count) break;
    CopyTextCapped(folder, sizeof folder, stack.slots[--stack.count]);
  }
  free(stack.slots);
  return result;
}

// Lists a folder as a directory entry when it exists and may be listed.
int AddFolderEntry(const char *folder, ZipState *state) {
  DWORD attributes = GetFileAttributesA(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  if (!state->main.includeSysHidden && (attributes & kHiddenOrSystem)) return 0;
  char path[ZIP_PATH_SIZE];
  if (!JoinPath(path, sizeof path - 1, folder, "")) return 0;
  if (!EndsWithSeparator(path)) strcat(path, "\\");
  return AddFoundFile(path, state);
}

// wZipSubOptions 0x0001: the include patterns, each below the item's folder.
int AddIncludePatternFolders(const char *folder, ZipState *state, uint32_t *matched) {
  for (int i = 0; i < state->loop.includePatternCount; ++i) {
    char path[ZIP_PATH_SIZE];
    ItemParts parts;
    if (!JoinPath(path, sizeof path, folder, state->patterns[i].text)) continue;
    ZipPathToBackslashes(path);
    PathSplit(path, parts.drive, parts.folder, parts.name, parts.extension);
    char patternFolder[ZIP_PATH_SIZE];
    snprintf(patternFolder, sizeof patternFolder, "%s%s", parts.drive, parts.folder);
    int result = state->main.addDirectoryEntries ? AddFolderEntry(patternFolder, state) : 0;
    if (!result) result = AddMatchingFiles(patternFolder, parts.name, parts.extension, state, matched);
    if (result) return result;
  }
  return 0;
}

void SetBaseDirectory(const ItemParts &parts, ZipState *state) {
  const char *folder = parts.folder[0] == '\\' || parts.folder[0] == '/' ? parts.folder + 1 : parts.folder;
  CopyTextCapped(state->loop.baseDirectory, sizeof state->loop.baseDirectory, folder);
  CharLowerA(state->loop.baseDirectory);
  ZipPathToSlashes(state->loop.baseDirectory);
}

void SplitItem(const char *item, ItemParts *parts, char *currentFolder) {
  char work[ZIP_PATH_SIZE];
  CopyTextCapped(work, sizeof work, item);
  ZipPathToBackslashes(work);
  // A folder named without a file part stands for every file in it.
  DWORD attributes = GetFileAttributesA(work);
  if (!strpbrk(work, "*?") && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
      strlen(work) + 2 < sizeof work)
    strcat(work, EndsWithSeparator(work) ? "*" : "\\*");
  PathSplit(work, parts->drive, parts->folder, parts->name, parts->extension);
  snprintf(currentFolder, ZIP_PATH_SIZE, "%s%s", parts->drive, parts->folder);
  size_t length = strlen(currentFolder);
  if (length > 1 && EndsWithSeparator(currentFolder) && currentFolder[length - 2] != ':')
    currentFolder[length - 1] = '\0';
}

// The label of drive number (1 = A) as a listed entry.
int AddVolumeLabel(const char *item, ZipState *state) {
  int drive = DriveNumberOfPath(item);
  if (drive <= 0) return 0;
  char root[4] = {static_cast<char>('A' + drive - 1), ':', '\\', '\0'};
  char label[ZIP_PATH_SIZE] = "";
  if (!ZipDrive().volumeLabel(root, label, sizeof label) || !label[0]) return 0;
  SYSTEMTIME now;
  GetLocalTime(&now);
  ZipLoopState &loop = state->loop;
  CopyTextCapped(loop.volumeLabel, sizeof loop.volumeLabel, label);
  loop.volumeLabelTime = DosDateTimePack(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
  FoundFacts facts = {Duplicate(label), loop.volumeLabelTime, 8, 0};
  if (!facts.name) return 4;
  int result = AppendNewFile(label, &facts, state);
  free(facts.name);
  return result;
}

}  // namespace

int ZipCollectItem(const char *item, ZipState *state) {
  if (state->main.volumeLabelEntry && !state->loop.volumeLabelListed) {
    state->loop.volumeLabelListed = 1;
    int result = AddVolumeLabel(item, state);
    if (result) return result;
  }
  ItemParts parts;
  char currentFolder[ZIP_PATH_SIZE];
  SplitItem(item, &parts, currentFolder);
  SetBaseDirectory(parts, state);

  uint32_t matched = 0;
  int result;
  if (state->main.recurse) {
    result = WalkRecursively(currentFolder, parts, state, &matched);
  } else {
    result = state->main.addDirectoryEntries && strlen(currentFolder) > 3 ? AddFolderEntry(currentFolder, state) : 0;
    if (!result && (state->subOptions & ZSO_RELATIVE_NAMES))
      result = AddIncludePatternFolders(currentFolder, state, &matched);
    if (!result) result = AddMatchingFiles(currentFolder, parts.name, parts.extension, state, &matched);
  }
  if (result) return result;
  return matched ? 0 : -1;
}

int ZipAddMemoryItem(const char *item, ZipState *state) {
  if (!PathIsValidName(item)) return 16;
  ItemParts parts;
  PathSplit(item, parts.drive, parts.folder, parts.name, parts.extension);
  SetBaseDirectory(parts, state);
  CopyTextCapped(state->loop.memoryItem, sizeof state->loop.memoryItem, item);
  return AddFoundFile(item, state);
}

int ZipRenameNewFile(ZipNewFile *file, ZipState *state) {
  FoundFacts facts = {file->name, file->dosDateTime, file->attributes, file->size};
  int offered = OfferRename(file->path, &facts, state);
  file->name = facts.name;
  file->dosDateTime = facts.dosDateTime;
  file->attributes = facts.attributes;
  return offered ? 0 : 4;
}

int ZipMarkForDelete(const char *item, ZipState *state) {
  char *spec = ZipStoredNameOfPath(item, state);
  if (!spec) return 4;
  int matched = 0;
  for (ZipEntry *entry = state->entries; entry; entry = entry->next) {
    if (ZipCheckCancel(state)) {
      free(spec);
      return 9;
    }
    if (!ZipNameMatches(entry->name, spec)) continue;
    entry->selected = ZipPatternFilter(entry->name, state) ? ZIP_MARK_PROCESS : 0;
    matched = 1;
  }
  free(spec);
  return matched ? 0 : -1;
}
