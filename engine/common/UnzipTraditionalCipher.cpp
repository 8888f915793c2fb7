// The unzip side's traditional cipher on the calling thread's state.
#include "CipherState.h"

void UnzipCryptInitKeys(const char *password) {
  if (UnzipCipherState *state = UnzipCipherStateOfThread()) TraditionalInitKeys(&state->keys, password);
}

void UnzipCryptUpdateKeys(uint8_t plain) {
  if (UnzipCipherState *state = UnzipCipherStateOfThread()) TraditionalUpdateKeys(&state->keys, plain);
}

uint8_t UnzipCryptDecryptByte() {
  const UnzipCipherState *state = UnzipCipherStateOfThread();
  return state ? TraditionalStreamByte(&state->keys) : 0;
}
