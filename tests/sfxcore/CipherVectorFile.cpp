#include "CipherVectorFile.h"

#include <fstream>
#include <sstream>

std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(uint8_t(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

std::vector<CipherVector> LoadCipherVectors(const std::string& cipher) {
  std::vector<CipherVector> vectors;
  std::ifstream in(BRENNICOR_TEST_WORK "/sfxcore-cipher-vectors.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    CipherVector v;
    std::string key, iv, plain, cipherText;
    fields >> v.cipher >> v.mode >> key >> iv >> plain >> cipherText;
    if (v.cipher != cipher) continue;
    v.key = FromHex(key);
    v.iv = FromHex(iv);
    v.plain = FromHex(plain);
    v.cipherText = FromHex(cipherText);
    vectors.push_back(v);
  }
  return vectors;
}
