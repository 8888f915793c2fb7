// The sizes a built program can hold, checked from the source zip's central
// directory before any work, and once more from the container's real size
// before the program is written.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ArchiveJob.h"

// A secured entry's sizes are 32-bit and the engine's stream offsets signed.
constexpr uint64_t kLargestSecuredEntry = 0x7FFFFFFF;
// Windows does not start an executable file of 4 GiB or more.
constexpr uint64_t kLargestProgram = 0xFFFFFFFF;

// Every entry of 2 GiB or more, one line each, then a program whose stub
// and stored entries would reach 4 GiB; empty when the listing fits.
std::string SourceSizeProblems(const std::vector<ArchiveListRecord>& listing, uint64_t imageSize);
// The refusal of a program of programSize bytes; empty when it fits.
std::string ProgramSizeProblem(uint64_t programSize);
