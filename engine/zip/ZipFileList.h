// The file list of a command: include and exclude patterns, the stored name
// of a path, the files an item names (folder walks, recursion, attribute and
// name filters, directory and volume-label entries), the memory item, the
// sorted new-file list, and the marking of existing entries.
#pragma once

#include "ZipCommand.h"
#include "ZipState.h"

struct ZipPattern {
  char *text;  // stored-name form
  char kind;   // 'i' include, 'x' exclude
};

// From lpszIncludeFollowing and lpszExludeFollowing, include patterns
// first. 0, or 4 (aborted with "was creating pattern list").
int ZipBuildPatternList(const ZIPCMDSTRUCT *record, ZipState *state);
void ZipFreePatterns(ZipState *state);
// 1 take, 0 leave: the last matching include pattern takes, any matching
// exclude pattern leaves; without include patterns a name starts taken.
int ZipPatternFilter(const char *storedName, const ZipState *state);

// The name a path is stored under (heap, free()): slashes, no server and
// share, drive, leading slashes or ".." components; the directory part only
// when names keep it; upper case when asked. Null without memory.
char *ZipStoredNameOfPath(const char *path, const ZipState *state);

// The files one item names, into the new-file list (or marking the existing
// entries they replace). 0, -1 when nothing matched, 9 cancelled, 4.
int ZipCollectItem(const char *item, ZipState *state);
// The first item of a memory source. 0, 16 (invalid name) or 4.
int ZipAddMemoryItem(const char *item, ZipState *state);
// Marks the existing entries a delete item names. 0, -1 when nothing
// matched, 9 cancelled, 4.
int ZipMarkForDelete(const char *item, ZipState *state);

// Offers a new file to the application's rename callback, taking back its
// stored name, time and attributes. 0, or 4 without memory.
int ZipRenameNewFile(ZipNewFile *file, ZipState *state);

// Sorts the new files by stored name and drops names repeated without
// regard to case. 0, 4 or 9.
int ZipSortNewFiles(ZipState *state);
// Unlinks and frees the node; the node after it.
ZipNewFile *ZipRemoveNewFile(ZipNewFile *node, ZipState *state);
// Every new file and the main loop's work buffer.
void ZipFreeNewFiles(ZipState *state);
