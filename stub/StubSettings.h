// The settings a built program carries behind its container, read back by the stub.
#pragma once

#include <cstdint>
#include <string>

#include "StubSearchWindow.h"

struct StubSettings {
    std::string destination;    // "PATH = "
    std::string launchCommand;  // "EXECUTE FILE = " (the first one counts)
    std::string aboutText;      // "ABOUT BOX CUSTOM MESSAGE = "
    std::string customMessage;  // "CUSTOM MESSAGE BOX = "
    int autoRun = 0;            // "AUTO RUN = ", on only for '1'
    int recreateFolders = 0;    // "FOLDERS = "
    int overwrite = 0;          // "OVERWRITE = "
    // Where the container starts, and where it ends: the file offset of the
    // offset word in front of the marker. Both 0 until the marker is found.
    uint32_t containerOffset = 0;
    uint64_t containerEnd = 0;
    // The integrity line: the SHA-1 text and how many bytes of the file it
    // covers. Empty for a program built without it.
    std::string checksum;
    uint64_t checkedLength = 0;
    // The settings records are not as a builder writes them: a record that
    // is no "KEY = value" line or has bytes after its text, one after the
    // integrity line, a malformed integrity line, or bytes after the last
    // record. Such a program is damaged and is not extracted.
    bool damaged = false;
};

// The marker looked for in the program's tail: 49 characters, no terminator.
constexpr size_t kStubMarkerLength = 49;
// The tail of the file searched for the marker (all of a shorter file).
constexpr size_t kStubTailLength = kStubSearchWindow;

// Reads the settings from the tail of the program file at path.
//  1: the marker was found and at least one record began with a known key;
//  0: the file fails to open, or no record began with a known key;
// -1: no path, the record keys cannot be set, or no marker in the tail.
int ReadStubSettings(const char* path, StubSettings& settings);

// The marker text, made at run time so the stub's own image holds no copy of
// it that a small program's tail could reach.
std::string StubMarkerText();
