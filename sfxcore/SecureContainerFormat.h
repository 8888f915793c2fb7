// The secure container: the payload of every self-extracting program.
//
//   header  u32 magic (protected or open), u32 Data1, u32 Data2, u32 Data3
//           (the GUID's 16-bit words zero-extended), u32 source entry count,
//           8 bytes Data4, u32 key-block length K, K bytes key block
//   records one per recompressed entry, up to the end of the container:
//           "KvNx", u8 kind (4 encrypted, else 0), u8 strength (1-3 for AES
//           128/192/256, else 0), u32 L (length of the zip side's memory
//           entry record), u32 data size (the entry's uncompressed bytes),
//           then the memory entry record less its 4-byte signature.
// All integers little-endian. A record spans L + 10 bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint32_t kContainerMagicProtected = 0x185F7B2F;
constexpr uint32_t kContainerMagicOpen = 0x94C7D05E;
constexpr size_t kContainerHeaderBytes = 32;  // up to the key block
constexpr char kContainerRecordMagic[4] = {'K', 'v', 'N', 'x'};
constexpr size_t kContainerRecordHeaderBytes = 14;
constexpr size_t kMemoryEntrySignatureBytes = 4;  // left out of each record
constexpr uint8_t kContainerKindEncrypted = 4;
constexpr size_t kContainerKeyBlockMax = 512;

// A memory entry record starts with a central directory header: the fields
// the builder sets and the stub reads.
constexpr size_t kEntryHeaderBytes = 46;  // up to the name
constexpr size_t kEntryFlagsAt = 8;
constexpr size_t kEntryTimeAt = 12;
constexpr size_t kEntryDateAt = 14;
constexpr size_t kEntryNameLengthAt = 28;
constexpr size_t kEntryExtraLengthAt = 30;
constexpr size_t kEntryExternalAttributesAt = 38;
constexpr uint32_t kEntryHeaderSignature = 0x02014B50;
constexpr uint16_t kEntryUtf8NameFlag = 0x0800;  // the name is UTF-8

struct ContainerHeader {
  uint32_t magic;
  uint32_t data1, data2, data3;
  uint32_t entryCount;
  uint8_t data4[8];
  uint32_t keyBlockLength;
};

struct ContainerRecordHeader {
  uint8_t kind;
  uint8_t strength;
  uint32_t recordLength;  // L, signature included
  uint32_t dataSize;
};

void StoreContainerHeader(const ContainerHeader& header, uint8_t out[kContainerHeaderBytes]);
void StoreContainerRecordHeader(const ContainerRecordHeader& header, uint8_t out[kContainerRecordHeaderBytes]);
ContainerHeader LoadContainerHeader(const uint8_t in[kContainerHeaderBytes]);
// False when the bytes do not start with the record magic.
bool LoadContainerRecordHeader(const uint8_t in[kContainerRecordHeaderBytes], ContainerRecordHeader& header);

// Data1, Data2, Data3 and Data1 again, upper-case hexadecimal without
// leading zeros (4 to 24 characters).
std::string ContainerGuidText(uint32_t data1, uint16_t data2, uint16_t data3);

// K: the key text's length rounded down to a multiple of 8, plus 8. The
// key text is empty without a password, else as long as the larger of the
// GUID text and the password's hexadecimal text (two digits for each of its
// first 255 bytes), at most 510. So K runs from 8 to 512.
uint32_t ContainerKeyBlockLength(size_t passwordLength, size_t guidTextLength);
