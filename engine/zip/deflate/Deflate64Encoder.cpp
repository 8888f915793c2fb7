#include "DeflateMatchFinder.h"

using Format = Deflate64WindowFormat;

int Deflate64TreesInit(DeflateEncoderState* state, uint16_t* internalAttributes, uint16_t* method) {
  return BlockBuilderInit(state, EncoderFormat::Deflate64, internalAttributes, method);
}

int Deflate64Init(DeflateEncoderState* state, int level, uint16_t* flags) {
  return deflate_match::MatchFinderInit<Format>(state, level, flags);
}

uint64_t Deflate64Compress(DeflateEncoderState* state) { return deflate_match::Compress<Format>(state); }

void Deflate64FreeBuffers(DeflateEncoderState* state) { deflate_match::FreeMatchBuffers<Format>(state); }
