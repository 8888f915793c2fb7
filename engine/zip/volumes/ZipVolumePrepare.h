// A new disk of a removable multi-volume set made ready: formatted or wiped,
// labelled, and measured; and the checks around the disk prompts.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Formats (wMultiVolControl 0x0001) or wipes (0x0100) the drive, unless split
// parts are written, and labels it for disk state->writer.currentDisk + 1;
// always measures the archive's volume into state->writer.volumeFree. A
// format or wipe is done only on a drive whose own type is removable. 1 on
// success, 0 when the format or wipe failed or was refused.
int ZipPrepareVolume(int drive, uint16_t control);
// "PKBACK# 001" for disk 1: "PKBACK# .%03d" without its dots, 11 bytes at most.
void ZipVolumeLabelText(uint32_t disk, char *out, size_t capacity);
// Sets the label of the drive's root: dots removed, at most 11 bytes, a
// double-byte character never split. 1 on success.
int ZipSetVolumeLabel(int drive, const char *label);
// 1 when a file can be made in the drive's root, or when formatting or split
// parts are asked, or the drive is a CD-ROM.
int ZipVolumeWritable(int drive);
