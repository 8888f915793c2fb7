#include "BuildLimits.h"

#include <cstdio>

namespace {

constexpr double kBytesPerGiB = 1024.0 * 1024.0 * 1024.0;

std::string GroupedDigits(uint64_t value) {
  std::string digits = std::to_string(value);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

// "4.50 GiB (4,831,838,208 bytes)": the rounded figure and the exact one.
std::string SizeText(uint64_t bytes) {
  char gib[32];
  std::snprintf(gib, sizeof gib, "%.2f GiB", static_cast<double>(bytes) / kBytesPerGiB);
  return std::string(gib) + " (" + GroupedDigits(bytes) + " bytes)";
}

std::string TooLargeText(const std::string& what) {
  return what + "; Windows does not start a program of 4 GiB or more.";
}

}  // namespace

std::string SourceSizeProblems(const std::vector<ArchiveListRecord>& listing, uint64_t imageSize) {
  std::string problems;
  uint64_t stored = 0;
  for (const ArchiveListRecord& entry : listing) {
    stored += entry.compressedSize;
    if (entry.uncompressedSize <= kLargestSecuredEntry) continue;
    if (!problems.empty()) problems += "\n";
    problems +=
        "Entry '" + entry.name + "' is " + SizeText(entry.uncompressedSize) + "; an entry must be smaller than 2 GiB.";
  }
  // The rebuilt entries take about the room they take in the source zip.
  if (imageSize + stored > kLargestProgram) {
    if (!problems.empty()) problems += "\n";
    problems += TooLargeText("The entries add up to " + SizeText(stored) + " compressed, so the program would be " +
                             "4 GiB or more");
  }
  return problems;
}

std::string ProgramSizeProblem(uint64_t programSize) {
  if (programSize <= kLargestProgram) return "";
  return TooLargeText("The program would be " + SizeText(programSize));
}
