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
#include "StubSearchWindow.h"

constexpr char kSelfExtractorMarker[] = "Korvane Brennicor v3.0 self-extractor data marker";
constexpr size_t kSelfExtractorMarkerLength = sizeof kSelfExtractorMarker - 1;
constexpr char kSettingsKeyText[] = "Marble cove tide";
constexpr char kSettingsIvText[] = "amber crane : go";
constexpr char kDefaultUnzipFolder[] = "C:\\KorvaneSFX\\SecuredFiles\\";
// Longest line of the options (1 to 5) and of the two texts (6 and 7).
constexpr size_t kSettingsOptionLineMax = 259;
constexpr size_t kSettingsTextLineMax = 16240;
constexpr char kAboutTextKey[] = "ABOUT BOX CUSTOM MESSAGE = ";
constexpr char kCustomMessageKey[] = "CUSTOM MESSAGE BOX = ";
// The longest about text and custom message a program carries: what their
// lines hold after their keys. A longer text is cut to it.
constexpr size_t kAboutTextLimit = kSettingsTextLineMax - (sizeof kAboutTextKey - 1);
constexpr size_t kCustomMessageLimit = kSettingsTextLineMax - (sizeof kCustomMessageKey - 1);

static_assert(kSelfExtractorMarkerLength == 49, "the marker is 49 bytes");

// Marker and records at their longest: five option lines (three of them one
// digit), both texts and the integrity line ("CHECKSUM SHA1 = " and 40
// digits), each record a length word and its text padded to 16 bytes.
constexpr size_t RecordBytes(size_t text) { return 4 + (text + 15) / 16 * 16; }
constexpr size_t kLongestSettingsTrailer = kSelfExtractorMarkerLength + 2 * RecordBytes(kSettingsOptionLineMax) +
                                           3 * RecordBytes(sizeof "AUTO RUN = 0" - 1) +
                                           2 * RecordBytes(kSettingsTextLineMax) + RecordBytes(16 + 40);
static_assert(kLongestSettingsTrailer <= kStubSearchWindow, "every settings block the writer makes is found");

// The settings lines in the order the stub expects them; the about text and
// the custom message only when they are not empty.
std::vector<std::string> StubSettingsLines(const ProjectSettings& settings);
