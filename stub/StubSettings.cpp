#include "StubSettings.h"

#include "LittleEndian.h"
#include "MyCipherFile.h"
#include "ProgramChecksum.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr unsigned char kMarkerMask = 0xA5;

// The marker kept masked; only MaskedText's bytes reach the image.
template <size_t N>
struct MaskedText {
    unsigned char bytes[N - 1];
    constexpr MaskedText(const char (&text)[N]) : bytes{} {
        for (size_t i = 0; i + 1 < N; ++i)
            bytes[i] = static_cast<unsigned char>(text[i]) ^ kMarkerMask;
    }
};

// Spelled out here rather than taken from the writer's format header: its
// constant would reach the image (or its debug information) unmasked.
constexpr MaskedText<kStubMarkerLength + 1> kMaskedMarker(
    "Korvane Brennicor v3.0 self-extractor data marker");

const char kSettingsKey[] = "Marble cove tide";
const char kSettingsIv[] = "amber crane : go";

// A record holds at most 0x3FF0 bytes and its terminator.
constexpr size_t kRecordBufferLength = 0x4000;

enum class ValueKind { Text, Flag };

struct SettingsKey {
    const char* key;
    ValueKind kind;
    std::string StubSettings::*text;
    int StubSettings::*flag;
};

const SettingsKey kKeys[] = {
    {"PATH = ", ValueKind::Text, &StubSettings::destination, nullptr},
    {"FOLDERS = ", ValueKind::Flag, nullptr, &StubSettings::recreateFolders},
    {"AUTO RUN = ", ValueKind::Flag, nullptr, &StubSettings::autoRun},
    {"OVERWRITE = ", ValueKind::Flag, nullptr, &StubSettings::overwrite},
    {"EXECUTE FILE = ", ValueKind::Text, &StubSettings::launchCommand, nullptr},
    {"ABOUT BOX CUSTOM MESSAGE = ", ValueKind::Text, &StubSettings::aboutText, nullptr},
    {"CUSTOM MESSAGE BOX = ", ValueKind::Text, &StubSettings::customMessage, nullptr},
};

// Applies the first key the record begins with; false when it begins with none.
bool ApplyRecord(const char* record, StubSettings& settings) {
    for (const SettingsKey& entry : kKeys) {
        const size_t keyLength = std::strlen(entry.key);
        if (std::strncmp(record, entry.key, keyLength) != 0)
            continue;
        const char* value = record + keyLength;
        if (entry.kind == ValueKind::Flag) {
            settings.*entry.flag = value[0] == '1' ? 1 : 0;
        } else if (entry.text != &StubSettings::launchCommand || settings.launchCommand.empty()) {
            settings.*entry.text = value;
        }
        return true;
    }
    return false;
}

// The last occurrence wins: the image in front may hold bytes that look like
// a marker, the settings written behind the container never do.
long FindLastMarker(const std::vector<unsigned char>& tail, const std::string& marker) {
    if (tail.size() < marker.size())
        return -1;
    for (size_t at = tail.size() - marker.size() + 1; at-- > 0;)
        if (std::memcmp(&tail[at], marker.data(), marker.size()) == 0)
            return static_cast<long>(at);
    return -1;
}

// A builder writes "KEY = value" records with upper-case keys, the text
// padded with zero bytes; a damaged record decrypts to something else.
bool IsWellFormedRecord(const std::vector<char>& record) {
    size_t at = 0;
    while (at < record.size() && ((record[at] >= 'A' && record[at] <= 'Z') || record[at] == ' ' || record[at] == '_' ||
                                  (record[at] >= '0' && record[at] <= '9')))
        ++at;
    const char* text = record.data();
    if (at < 2 || text[at] != '=' || text[at - 1] != ' ' || text[at + 1] != ' ')
        return false;
    const size_t end = std::strlen(text);
    return std::all_of(record.begin() + static_cast<std::ptrdiff_t>(end), record.end(),
                       [](char c) { return c == '\0'; });
}

// The integrity line; false when the record is not one.
bool TakeChecksum(const char* record, uint64_t recordStart, StubSettings& settings) {
    if (std::strncmp(record, kChecksumKey, kChecksumKeyLength) != 0)
        return false;
    settings.checksum = record + kChecksumKeyLength;
    settings.checkedLength = recordStart;
    settings.damaged |= !IsChecksumText(settings.checksum);
    return true;
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

bool ReadU32At(FILE* file, int64_t offset, uint32_t& value) {
    unsigned char bytes[4];
    if (offset < 0 || _fseeki64(file, offset, SEEK_SET) != 0 || std::fread(bytes, 1, 4, file) != 4)
        return false;
    value = LoadLe32(bytes);
    return true;
}

}  // namespace

std::string StubMarkerText() {
    // The volatile read keeps the compiler from folding the unmasking into a
    // constant copy of the text.
    volatile unsigned char mask = kMarkerMask;
    std::string text(kStubMarkerLength, '\0');
    for (size_t i = 0; i < kStubMarkerLength; ++i)
        text[i] = static_cast<char>(kMaskedMarker.bytes[i] ^ mask);
    return text;
}

int ReadStubSettings(const char* path, StubSettings& settings) {
    if (path == nullptr || *path == '\0')
        return -1;
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file)
        return 0;
    if (_fseeki64(file.get(), 0, SEEK_END) != 0)
        return 0;
    const int64_t length = _ftelli64(file.get());
    if (length <= 0)
        return 0;

    const int64_t tailStart = std::max<int64_t>(length - static_cast<int64_t>(kStubTailLength), 0);
    std::vector<unsigned char> tail(static_cast<size_t>(length - tailStart));
    if (_fseeki64(file.get(), tailStart, SEEK_SET) != 0)
        return 0;
    tail.resize(std::fread(tail.data(), 1, tail.size(), file.get()));

    CMyCipherFile records;
    records.Attach(file.get());
    if (records.SetKeys(kSettingsKey, kSettingsIv) != 0)
        return -1;
    const long markerAt = FindLastMarker(tail, StubMarkerText());
    if (markerAt < 0)
        return -1;
    const int64_t markerOffset = tailStart + markerAt;
    uint32_t containerOffset = 0;
    if (ReadU32At(file.get(), markerOffset - 4, containerOffset)) {
        settings.containerOffset = containerOffset;
        settings.containerEnd = static_cast<uint64_t>(markerOffset - 4);
    }
    if (_fseeki64(file.get(), markerOffset + static_cast<int64_t>(kStubMarkerLength), SEEK_SET) != 0)
        return 0;

    int result = 0;
    std::vector<char> record(kRecordBufferLength);
    for (;;) {
        const int64_t recordStart = _ftelli64(file.get());
        std::fill(record.begin(), record.end(), '\0');
        if (records.ReadRecord(record.data(), record.size()) != 0) {
            settings.damaged |= recordStart != length;
            break;
        }
        settings.damaged |= !IsWellFormedRecord(record) || !settings.checksum.empty();
        if (TakeChecksum(record.data(), static_cast<uint64_t>(recordStart), settings) ||
            ApplyRecord(record.data(), settings))
            result = 1;
    }
    return result;
}
