#include "MyFileUtility.h"

#include <new>

CMyFileUtility::CMyFileUtility() = default;

CMyFileUtility::CMyFileUtility(CMyCleanupList* attachedList) : attachedList_(attachedList) {}

CMyFileUtility::CMyFileUtility(int buildCrcTable) {
  if (buildCrcTable) CrcTable();
}

CMyFileUtility::~CMyFileUtility() { delete[] crcTable_; }

const uint32_t* CMyFileUtility::CrcTable() {
  if (crcTable_) return crcTable_;
  crcTable_ = new (std::nothrow) uint32_t[256];
  if (crcTable_ == nullptr) return nullptr;
  for (uint32_t n = 0; n < 256; n++) {
    uint32_t c = n;
    for (int k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    crcTable_[n] = c;
  }
  return crcTable_;
}

uint32_t CMyFileUtility::Crc32Update(const void* data, size_t length, uint32_t* running) {
  const uint32_t* table = CrcTable();
  if (table == nullptr || running == nullptr) return 0;
  uint32_t crc = *running;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  for (size_t i = 0; bytes && i < length; i++) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  *running = ~crc;
  return ~crc;
}

uint32_t CMyFileUtility::Crc32Full(const void* data, size_t length, uint32_t* out32) {
  uint32_t crc = 0xFFFFFFFFu;
  uint32_t result = Crc32Update(data, length, &crc);
  if (out32) *out32 = result;
  return result;
}

uint32_t CMyFileUtility::Crc32Low16(const void* data, size_t length, uint16_t* out16) {
  uint32_t result = Crc32Full(data, length, nullptr);
  if (out16) *out16 = static_cast<uint16_t>(result);
  return result;
}

void CMyFileUtility::ByteToHex(uint8_t byte, char output[3]) {
  static const char kDigits[] = "0123456789ABCDEF";
  output[0] = kDigits[byte >> 4];
  output[1] = kDigits[byte & 0xF];
  output[2] = '\0';
}

void CMyFileUtility::BytesToHex(const uint8_t* bytes, size_t count, char* output) {
  if (output == nullptr) return;
  output[0] = '\0';
  for (size_t i = 0; bytes && i < count; i++) ByteToHex(bytes[i], output + 2 * i);
}
