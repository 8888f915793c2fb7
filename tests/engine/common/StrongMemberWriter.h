// A strongly encrypted member as the zip side writes it, for the tests.
#pragma once
#include "CryptoTestSupport.h"

struct StrongMember {
  Bytes extra;          // the 0x0017 record
  Bytes bytes;          // decryption header, then the enciphered data with its padding
  size_t headerLength;
};

StrongMember WriteStrongMember(uint32_t strength, bool randomIv, const char *password, const Bytes &plain,
                               uint32_t crc = 0, uint64_t size = 0);
