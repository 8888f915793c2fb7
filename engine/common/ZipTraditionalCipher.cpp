#include "CipherState.h"

void ZipCryptInitKeys(const char *password, ZipCipherState *state) { TraditionalInitKeys(&state->keys, password); }

void ZipCryptUpdateKeys(uint8_t plain, ZipCipherState *state) { TraditionalUpdateKeys(&state->keys, plain); }

uint8_t ZipCryptDecryptByte(ZipCipherState *state) { return TraditionalStreamByte(&state->keys); }
