// A self-extracting program, front to back: the stub's image (S bytes), the
// secure container, S as a u32 little-endian, the 49-byte marker text (no
// terminator), then the settings block: record-file records under fixed key
// and IV texts, one line each ("KEY = value"), one CBC chain over them all.
// The stub looks for the marker only in the last kStubSearchWindow bytes of
// its file, so marker and settings together must fit in that window.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "ProjectSettings.h"

constexpr char kSelfExtractorMarker[] = "Korvane Brennicor v3.0 self-extractor data marker";
constexpr size_t kSelfExtractorMarkerLength = sizeof kSelfExtractorMarker - 1;
constexpr char kSettingsKeyText[] = "Marble cove tide";
constexpr char kSettingsIvText[] = "amber crane : go";
constexpr size_t kStubSearchWindow = 0x8000;
constexpr char kDefaultUnzipFolder[] = "C:\\KorvaneSFX\\SecuredFiles\\";
// Longest line of the options (1 to 5) and of the two texts (6 and 7).
constexpr size_t kSettingsOptionLineMax = 259;
constexpr size_t kSettingsTextLineMax = 16240;

static_assert(kSelfExtractorMarkerLength == 49, "the marker is 49 bytes");

// The settings lines in the order the stub expects them; the about text and
// the custom message only when they are not empty.
std::vector<std::string> StubSettingsLines(const ProjectSettings& settings);

// Bytes the lines take as records (each a length word and its text padded
// to 16), plus the marker in front of them.
size_t SettingsTrailerBytes(const std::vector<std::string>& lines);
