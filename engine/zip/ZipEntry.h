// The zip entry record: one member of the archive being built or updated,
// kept in the state's entry list in archive order. The record writer turns it
// into local and central headers; the member compressor fills it for new
// members and the update reader for members taken over from an old archive.
#pragma once

#include <stdint.h>

enum : uint16_t { ZIP_ATTRIBUTES_UNKNOWN = 0xFFFF };
enum { ZIP_AES_EXTRA_SIZE = 11, ZIP_STRONG_EXTRA_SIZE = 16 };

struct ZipEntry {
  uint16_t versionMadeBy;  // host in the high byte
  uint16_t versionNeeded;
  uint16_t centralFlags;
  uint16_t method;
  uint32_t dosDateTime;    // time in the low, date in the high 16 bits
  uint32_t crc;
  uint64_t compressedSize;
  uint64_t uncompressedSize;
  uint32_t nameLength;
  uint32_t localExtraLength;
  uint32_t centralExtraLength;
  uint32_t commentLength;
  uint16_t diskStart;
  uint16_t internalAttributes;  // ZIP_ATTRIBUTES_UNKNOWN until the text test
  uint16_t localFlags;
  uint32_t externalAttributes;
  uint64_t localHeaderOffset;
  // Bytes of the data descriptor behind a member taken over from an old
  // archive (12, 16, 20 or 24; 0 when it has none), which a copy takes along.
  uint32_t descriptorLength;

  // Heap buffers owned by the record.
  uint8_t *localExtra;
  uint8_t *centralExtra;
  char *comment;
  char *name;  // stored name
  char *path;  // source on disk
  // The stored name the file list gave an existing entry's new source; it
  // becomes the name when the entry is written again, not before.
  char *pendingName;

  int selected;  // mark of the main loop and the update reader

  // Encryption this run gave the member (kEncrypt... kind and strength 1-3);
  // a member taken over from an old archive keeps its saved extras instead.
  int encrypted;
  uint32_t cryptKind;
  uint32_t cryptStrength;

  // What the writers put into the headers, for the size arithmetic of the
  // callers.
  uint32_t localZip64Length;
  uint32_t centralZip64Length;
  uint32_t localAesLength;
  uint32_t centralCryptLength;

  // A member taken over from an old archive keeps its records as another
  // writer made them while it is copied: the name bytes as stored (OEM, ANSI
  // or UTF-8: the name above is only this side's reading of them) and, when
  // it came with a central header, that header's versions, method and CRC
  // words, attributes and extra field minus its Zip64 block (the one block a
  // copy may have to rebuild). Both are dropped when the member is written
  // again, which names and describes it by this command's own rules.
  uint8_t *storedName;
  int keptCentral;
  uint16_t keptMethod;
  uint8_t *keptCentralExtra;
  uint32_t keptCentralExtraLength;

  // Encryption extras of a member taken over unchanged from an old archive.
  int hasSavedAes;
  uint8_t savedAes[ZIP_AES_EXTRA_SIZE];
  int hasSavedStrong;
  uint8_t savedStrong[ZIP_STRONG_EXTRA_SIZE];

  ZipEntry *next;
};
