// The bytes of every zip record the zip side writes (local and central
// headers with their Zip64, AES and strong-encryption extras, data
// descriptor, spanning marker, Zip64 end record and locator, end record, and
// the encryption header in front of a member's data), each built in one
// buffer and written through the output path. Every writer returns a zip
// result code: 4 without memory, 10 for a short write, 9 or 19 (or the
// multi-volume layer's code) when no room could be made.
#pragma once

#include <windows.h>
#include <stdint.h>

struct ZipEntry;
struct ZipState;

enum : uint32_t {
  ZIP_LOCAL_SIGNATURE = 0x04034B50,
  ZIP_CENTRAL_SIGNATURE = 0x02014B50,
  ZIP_DESCRIPTOR_SIGNATURE = 0x08074B50,
  ZIP_END_SIGNATURE = 0x06054B50,
  ZIP64_END_SIGNATURE = 0x06064B50,
  ZIP64_LOCATOR_SIGNATURE = 0x07064B50,
};
enum { ZIP_LOCAL_HEADER_SIZE = 30, ZIP_CENTRAL_HEADER_SIZE = 46, ZIP_TRADITIONAL_HEADER_SIZE = 12 };

// Records in the entry the lengths of the Zip64 and AES extras it wrote.
int ZipWriteLocalHeader(ZipState *state, ZipEntry *entry, HANDLE *output);
// 24 bytes whenever Zip64 is permitted, else 16.
int ZipWriteDataDescriptor(ZipState *state, const ZipEntry *entry, HANDLE *output);
int ZipWriteSpanMarker(ZipState *state, HANDLE *output);
// Records in the entry the lengths of the Zip64 and encryption extras it wrote.
int ZipWriteCentralHeader(ZipState *state, ZipEntry *entry, HANDLE *output);
// The same header's bytes in a heap buffer the caller frees, for a header
// written in place; null when memory runs out or a length passes 16 bits.
uint8_t *ZipCentralHeaderBytes(ZipState *state, ZipEntry *entry, size_t *length);
// The Zip64 end record and locator when needed, then the end record.
int ZipWriteEndRecords(ZipState *state, uint64_t totalEntries, uint64_t centralSize, uint64_t centralOffset,
                       uint32_t commentLength, const char *comment, HANDLE *output);
// The member's encryption header for the state's encryption kind; its length
// is kept in state->writer.cryptHeaderLength. The traditional header's check
// byte is the high byte of check.
int ZipWriteCryptHeader(ZipState *state, uint32_t check, const char *password, HANDLE *output);

// The 11-byte AES extra and the 16-byte strong-encryption extra.
void ZipAesExtraField(uint32_t strength, uint16_t method, uint8_t record[11]);
// Bytes of the encryption header for the state's kind, as written.
uint32_t ZipCryptHeaderLength(const ZipState *state);
// The stored form of a name: OEM code page unless the command keeps ANSI names.
void ZipStoredName(const ZipState *state, const ZipEntry *entry, uint8_t *out);
