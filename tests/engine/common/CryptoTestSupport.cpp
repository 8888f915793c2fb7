#include "CryptoTestSupport.h"

#include <cstdio>

UnzipCipherState *gTestThreadCipherState = nullptr;

UnzipCipherState *UnzipCipherStateOfThread() { return gTestThreadCipherState; }

Bytes FromHex(const std::string &hex) {
  Bytes out;
  if (hex == "-") return out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(uint8_t(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return out;
}

std::string ToHex(const uint8_t *data, size_t length) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (size_t i = 0; i < length; ++i) {
    s += kDigits[data[i] >> 4];
    s += kDigits[data[i] & 15];
  }
  return s;
}


void WriteWholeFile(const std::string &path, const Bytes &data) {
  FILE *f = fopen(path.c_str(), "wb");
  if (!f) return;
  fwrite(data.data(), 1, data.size(), f);
  fclose(f);
}
