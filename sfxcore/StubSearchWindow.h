// The tail of a built program in which its stub looks for the marker. The
// marker and every settings record must lie within it: it holds both texts
// at their longest, every option line at its longest and the integrity line.
#pragma once
#include <cstddef>

constexpr size_t kStubSearchWindow = 0x10000;
