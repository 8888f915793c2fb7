// File-system helpers of the zip side's output: folders of a path, and the
// unique names of temporary and staging files.
#pragma once

#include <stddef.h>

// Creates every missing folder of the path's directory, outermost first; 0,
// or 15 when one cannot be made.
int ZipCreatePathFolders(const char *path);
// A name for a new file in the folder (a backslash added when it ends in no
// separator): two characters chosen by the thread id, a letter a-z and the
// thread id's last five decimal digits, the first such name not in use.
// 1 with the name in out (capacity bytes), 0 when every letter is taken or
// the name does not fit.
int ZipUniqueFileName(const char *folder, char *out, size_t capacity);
