// One member of the archive: its input read, stored or compressed, enciphered
// and written with its headers.
#pragma once

#include <windows.h>

struct ZipEntry;
struct ZipState;

// One member of an add, update or freshen run, to the archive output (which a
// multi-volume run may replace). 0 or a zip result code.
int ZipCompressMember(ZipState *state, ZipEntry *entry, HANDLE *output);

// Function 6: the member read through the memory I/O callback and handed out
// through it as a memory entry record. The entry is zero-filled with its name,
// name length and internal attributes ZIP_ATTRIBUTES_UNKNOWN set.
int ZipCompressMemoryEntry(ZipState *state, ZipEntry *entry);

// Copies an unchanged member of the old archive into the new one. 0, 2 (seek
// on the old archive), 10 (header write), 11 (read), 9 (cancelled), 4.
int ZipCopyEntry(ZipState *state, ZipEntry *entry, HANDLE input, HANDLE *output);

// 1 when the name's extension equals an item of the list (':' or ';'
// separated, dot included), ignoring case.
int ZipIsStoreSuffix(const char *name, const char *suffixes);
