// Wiping a removable disk before a volume of a multi-volume set goes on it.
#pragma once

// Deletes the plain files of a directory; with clearAttributes read-only,
// hidden and system files lose those bits first, otherwise they are kept.
// 1, or 0 when the directory holds no file or the overall progress report
// asked to cancel (the cancel flag is then set).
int ZipWipeDirectoryFiles(const char *directory, int clearAttributes);
// Wipes every directory of the drive depth-first and removes the emptied
// ones (hidden and system directories only with clearAttributes). 1, or 0
// when memory runs out.
int ZipWipeTree(int drive, int clearAttributes);
// The wipe a multi-volume command asks for (wMultiVolControl 0x0100, with
// 0x0200 the whole tree, with 0x0400 hidden and system files too); refused
// (0) unless the drive's own type is removable.
int ZipWipeVolume(int drive, unsigned control);
