// WinZip AES on each side's state: key set-up, the salt and verifier header.
#pragma once
#include <cstdint>
#include "CipherInput.h"
#include "WinZipAesContext.h"

struct UnzipCipherState;
struct ZipCipherState;
struct MemberCryptFacts;

// 0, -100 (password over 128 bytes) or -101 (strength not 1 to 3).
int WinZipAesDecryptInit(uint32_t strength, const char *password, uint32_t passwordLength, const uint8_t *salt,
                         uint8_t verifier[2], WinZipAesContext *context, UnzipCipherState *state);
int WinZipAesInit(uint32_t strength, const char *password, uint32_t passwordLength, const uint8_t *salt,
                  uint8_t verifier[2], WinZipAesContext *context, ZipCipherState *state);

// Reads salt and verifier, derives the keys and checks the verifier; takes the
// header and the trailing 10-byte code out of input->remaining. 0, 4 or 44.
int WinZipAesHeaderRead(UnzipCipherState *state, const MemberCryptFacts *facts, const char *password,
                        CipherInput *input);

// Seeds the salt pool and draws 4 * s + 4 salt bytes (s = strength & 3).
// 1, or 0 when no entropy could be had.
int ZipMakeSalt(ZipCipherState *state);
void ZipSaltPoolEnd(ZipCipherState *state);
