#include "RatePerMille.h"

uint32_t ComputeRatePerMille(uint64_t part, uint64_t total) {
  constexpr uint64_t kScaleAbove = 0x100000;
  if (part > kScaleAbove || total > kScaleAbove) {
    part /= 1024;
    total /= 1024;
  }
  if (total == 0) total = 1;
  // 64-bit arithmetic: for sizes up to 4 GiB the same as the 32-bit formula,
  // past them it does not wrap.
  const uint64_t rate = part * 1000 / total;
  return rate > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(rate);
}
