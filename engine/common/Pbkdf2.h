// PBKDF2 (RFC 2898) with HMAC-SHA1 as the pseudo-random function.
#pragma once
#include <cstddef>
#include <cstdint>

void Pbkdf2Sha1(const uint8_t *password, size_t passwordLength, const uint8_t *salt, size_t saltLength,
                uint32_t iterations, uint8_t *key, size_t keyLength);
