// Cipher cases written by make_cipher_vectors.py with an independent library.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct CipherVector {
  std::string cipher;  // "aes" or "blowfish"
  std::string mode;    // "ecb", "cbc" or "cfb"
  std::vector<uint8_t> key, iv, plain, cipherText;
};

std::vector<uint8_t> FromHex(const std::string& hex);
std::vector<CipherVector> LoadCipherVectors(const std::string& cipher);
