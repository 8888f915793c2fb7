// The Deflate and Deflate64 encoders bound to the member compressor: input
// through the state's reader, output through the encrypting output path.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "../deflate/DeflateEncoderState.h"

struct ZipEntry;
struct ZipState;

// Output, tree and match-finder set-up at the state's level (the level bits
// land in *flags); the match finder reads the first input. 0 or 4/17.
int ZipStartEncoder(ZipState *state, ZipEntry *entry, DeflateOutputTraits traits, uint32_t outputCapacity,
                    uint16_t *flags);
// Runs the encoder to the end of the input; the compressed length, with any
// failure left in state->result.
uint64_t ZipRunEncoder(ZipState *state);
void ZipStopEncoder(ZipState *state);
