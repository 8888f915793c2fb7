#include "DeflateMatchFinder.h"

using Format = DeflateWindowFormat;

int ct_init(DeflateEncoderState* state, uint16_t* internalAttributes, uint16_t* method) {
  return BlockBuilderInit(state, EncoderFormat::Deflate, internalAttributes, method);
}

int DeflateInit(DeflateEncoderState* state, int level, uint16_t* flags) {
  return deflate_match::MatchFinderInit<Format>(state, level, flags);
}

uint64_t DeflateCompress(DeflateEncoderState* state) { return deflate_match::Compress<Format>(state); }

void DeflateFreeBuffers(DeflateEncoderState* state) { deflate_match::FreeMatchBuffers<Format>(state); }

void DeflateStateRelease(DeflateEncoderState* state) {
  deflate_match::FreeMatchBuffers<DeflateWindowFormat>(state);
  deflate_match::FreeMatchBuffers<Deflate64WindowFormat>(state);
  DeflateOutputRelease(state);
  free(state->items.litLen);
  free(state->items.distance);
  state->items = DeflateItems{};
}
