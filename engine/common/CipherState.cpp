#include "CipherState.h"

#include <cstdlib>
#include <cstring>

#include "SecureWipe.h"
#include "StrongEncryption.h"

namespace {

// The table set is kept from member to member: it depends on nothing but AES itself.
int EnsureTables(AesTableSet **tables) {
  if (*tables == nullptr) *tables = static_cast<AesTableSet *>(calloc(1, sizeof(AesTableSet)));
  return *tables != nullptr;
}

}  // namespace

int UnzipAesStateAlloc(UnzipCipherState *state) {
  if (state == nullptr || !EnsureTables(&state->tables)) return 0;
  SecureWipe(&state->aes, sizeof state->aes);
  SecureWipe(state->salt, sizeof state->salt);
  SecureWipe(state->storedVerifier, sizeof state->storedVerifier);
  SecureWipe(state->authCode, sizeof state->authCode);
  SecureWipe(state->storedAuthCode, sizeof state->storedAuthCode);
  return 1;
}

int ZipAesStateAlloc(ZipCipherState *state) {
  if (state == nullptr || !EnsureTables(&state->tables)) return 0;
  SecureWipe(&state->aes, sizeof state->aes);
  SecureWipe(state->salt, sizeof state->salt);
  SecureWipe(state->verifier, sizeof state->verifier);
  SecureWipe(state->authCode, sizeof state->authCode);
  SaltPoolWipe(&state->saltPool);
  return 1;
}

void ZipAesStateFree(ZipCipherState *state) {
  SecureWipe(&state->aes, sizeof state->aes);  // its schedule points at the tables
  free(state->tables);
  state->tables = nullptr;
}

void UnzipCipherStateRelease(UnzipCipherState *state) {
  StrongDecryptRelease(state);
  SecureWipe(state, sizeof *state);
}

void ZipCipherStateRelease(ZipCipherState *state) {
  StrongEncryptCleanup(state);
  SecureWipe(state, sizeof *state);
}
