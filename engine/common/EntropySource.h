// What the salt pool draws from the platform: one file per platform below.
#pragma once
#include <cstddef>
#include <cstdint>

uint64_t EntropyCounter();
// 1 when all n bytes came from the operating system's random generator.
int EntropyOsRandom(uint8_t *buffer, size_t n);
