// Percent formulas of the progress reports, shared by both sides.
#pragma once
#include <cstdint>

// Overall progress: 0 for an empty total, at most 100. Above 100,000 the total
// is divided first, as the reports have always done.
int OverallPercent(uint64_t total, uint64_t done);
// Per-item progress on the zip side: done * 100 / total, at most 100.
int ItemPercent(uint64_t total, uint64_t done);
// Per-item progress on the unzip side: one more than the plain ratio, so a
// started item never shows 0; at most 100.
int UnzipItemPercent(uint64_t total, uint64_t done);
