// Progress as parts per thousand, shared by the builder's copy and
// container progress and the stub's progress.
#pragma once
#include <cstdint>

// part * 1000 / total. Values above 1 MiB are first divided by 1024 (both,
// so the ratio stays); a total of 0 counts as 1. Not capped: a part larger
// than the total gives more than 1000.
uint32_t ComputeRatePerMille(uint64_t part, uint64_t total);
