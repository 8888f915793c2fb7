// Blowfish's initial P-array (18 words) followed by its four S-boxes (256
// words each): the hexadecimal digits of pi's fraction, in that order.
#pragma once
#include <cstdint>

constexpr int kBlowfishPiWordCount = 18 + 4 * 256;
extern const uint32_t kBlowfishPiWords[kBlowfishPiWordCount];
