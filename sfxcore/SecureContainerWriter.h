// Rebuilds a source zip into a secure container: every entry is extracted
// into a temporary folder through the job layer and, as the engine reports
// it finished, recompressed (and with a password AES-encrypted) by the zip
// side's memory entry function into one container record.
#pragma once
#include <windows.h>

#include <string>

#include "BuildReporter.h"

// Result of a build the writer stopped itself; the record's failure says why.
constexpr int kContainerWriteFailed = 0x100;

struct ContainerBuildRecord {
  int entryCount = 0;    // entries of the source archive
  int recordCount = 0;   // records written
  std::string failure;   // set with kContainerWriteFailed
};

// 0 on success; -1 when the source archive has no entries or no container
// path is given; an unzip result code when counting or extracting fails;
// kContainerWriteFailed when an entry cannot be secured or the container
// cannot be written (the record's failure then names every entry of the
// source that did not become a record, one line each, and why). The extraction password opens encrypted source
// entries; a non-empty encryption password encrypts every record with AES
// of strength index 0, 1 or 2 (128, 192, 256 bits). The compression factor
// is the zip side's: above 9 selects Deflate64 at factor - 10.
int BuildSecureContainer(HINSTANCE instance, HWND owner, ContainerBuildRecord* record, const char* archivePath,
                         const char* containerPath, const char* extractionPassword, const char* encryptionPassword,
                         int strengthIndex, int compressionFactor, BuildReporter* reporter);
