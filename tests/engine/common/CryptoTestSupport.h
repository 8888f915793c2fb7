// Helpers shared by the cipher tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "test_files.h"

#include "CipherState.h"

typedef std::vector<uint8_t> Bytes;

Bytes FromHex(const std::string &hex);  // "-" is empty
std::string ToHex(const uint8_t *data, size_t length);
inline std::string ToHex(const Bytes &b) { return ToHex(b.data(), b.size()); }
inline Bytes FromText(const std::string &text) { return Bytes(text.begin(), text.end()); }
void WriteWholeFile(const std::string &path, const Bytes &data);

// The state that UnzipCipherStateOfThread() hands out in the tests; null by default.
extern UnzipCipherState *gTestThreadCipherState;
