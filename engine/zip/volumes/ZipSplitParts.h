// Names of the part files of a split archive: part n carries the extension
// "z%02d" (1-99) or "%03d" (100-999), either appended to the archive's whole
// name (volumes with long names) or in place of its extension.
#pragma once

#include <stddef.h>

// 0 when the name does not fit.
int ZipSplitPartName(const char *archive, int appendToName, int part, char *out, size_t capacity);
// 1 when the volume of the path takes components longer than 254 characters.
int ZipVolumeTakesLongNames(const char *path);
// Deletes the appended-form parts of the archive from number first to 999.
void ZipDeleteSplitParts(const char *archive, int first);
// The same for a name that already ends in a part extension.
void ZipDeleteSplitPartsOf(const char *partName, int first);
