// What one command of the main loop keeps between its steps: the new files
// found for it, the facts of the archive it updates, and its output.
#pragma once

#include <windows.h>
#include <stdint.h>

struct ZipEntry;

enum { ZIP_LOOP_PATH_SIZE = 2048 };

// One file to add, in the doubly linked new-file list.
struct ZipNewFile {
  ZipNewFile *prev;
  ZipNewFile *next;
  char *path;           // on disk, backslashes
  char *name;           // stored name
  uint32_t dosDateTime; // date in the high 16 bits
  uint32_t attributes;
  uint64_t size;
};

struct ZipLoopState {
  // New files, sorted by stored name before they are written.
  ZipNewFile *newFiles;
  ZipNewFile *newFilesTail;
  uint32_t newFileCount;
  int includePatternCount;
  char baseDirectory[ZIP_LOOP_PATH_SIZE];  // lower case, slashes, of the current item
  int volumeLabelListed;                   // once per command
  char volumeLabel[ZIP_LOOP_PATH_SIZE];    // name of the label entry, when listed
  uint32_t volumeLabelTime;
  char memoryItem[ZIP_LOOP_PATH_SIZE];     // path of the memory item, when one is listed

  // The archive being updated.
  ZipEntry *entryTail;        // last of state->entries, or null to look it up
  uint64_t preambleSize;      // bytes in front of its first member
  uint32_t commentLength;     // of the comment in state->main.comment

  // Output.
  char tempName[ZIP_LOOP_PATH_SIZE];
  DWORD archiveAttributes;    // noted before writing, put back afterwards
  uint8_t *workBuffer;        // 8,192 bytes while the loop runs
  int sourcesUnreadable;      // a source could not be opened: result 18
  int archiveReplaced;        // the new archive stands under the archive name
  uint32_t itemTotal;         // members the command writes from a source
};
