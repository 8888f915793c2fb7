#include "SecureContainerFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "LittleEndian.h"

void StoreContainerHeader(const ContainerHeader& header, uint8_t out[kContainerHeaderBytes]) {
  StoreLe32(header.magic, out);
  StoreLe32(header.data1, out + 4);
  StoreLe32(header.data2, out + 8);
  StoreLe32(header.data3, out + 12);
  StoreLe32(header.entryCount, out + 16);
  std::memcpy(out + 20, header.data4, sizeof header.data4);
  StoreLe32(header.keyBlockLength, out + 28);
}

void StoreContainerRecordHeader(const ContainerRecordHeader& header, uint8_t out[kContainerRecordHeaderBytes]) {
  std::memcpy(out, kContainerRecordMagic, sizeof kContainerRecordMagic);
  out[4] = header.kind;
  out[5] = header.strength;
  StoreLe32(header.recordLength, out + 6);
  StoreLe32(header.dataSize, out + 10);
}

ContainerHeader LoadContainerHeader(const uint8_t in[kContainerHeaderBytes]) {
  ContainerHeader header;
  header.magic = LoadLe32(in);
  header.data1 = LoadLe32(in + 4);
  header.data2 = LoadLe32(in + 8);
  header.data3 = LoadLe32(in + 12);
  header.entryCount = LoadLe32(in + 16);
  std::memcpy(header.data4, in + 20, sizeof header.data4);
  header.keyBlockLength = LoadLe32(in + 28);
  return header;
}

bool LoadContainerRecordHeader(const uint8_t in[kContainerRecordHeaderBytes], ContainerRecordHeader& header) {
  if (std::memcmp(in, kContainerRecordMagic, sizeof kContainerRecordMagic) != 0) return false;
  header.kind = in[4];
  header.strength = in[5];
  header.recordLength = LoadLe32(in + 6);
  header.dataSize = LoadLe32(in + 10);
  return true;
}

std::string ContainerGuidText(uint32_t data1, uint16_t data2, uint16_t data3) {
  char text[40];
  std::snprintf(text, sizeof text, "%lX%X%X%lX", static_cast<unsigned long>(data1), static_cast<unsigned>(data2),
                static_cast<unsigned>(data3), static_cast<unsigned long>(data1));
  return text;
}

uint32_t ContainerKeyBlockLength(size_t passwordLength, size_t guidTextLength) {
  constexpr size_t kPasswordBytesUsed = 255;
  constexpr size_t kKeyTextMax = 510;
  size_t keyText = 0;
  if (passwordLength > 0)
    keyText = std::min(std::max(guidTextLength, 2 * std::min(passwordLength, kPasswordBytesUsed)), kKeyTextMax);
  return static_cast<uint32_t>((keyText & ~size_t(7)) + 8);
}
