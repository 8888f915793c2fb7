// The scripted dialog of the extraction driver tests and the trees they compare.
#pragma once

#include "ExtractCallback.h"

#include <deque>
#include <map>
#include <ostream>
#include <string>
#include <vector>

// What the dialog answers and what it was told.
struct ScriptedDialog {
    std::vector<UINT> reports;
    std::vector<std::string> names;
    std::deque<int> existsAnswers;      // an empty deque cancels
    std::deque<std::string> passwords;  // an empty deque cancels the prompt
    std::deque<int> questionAnswers;    // IDYES or IDNO; IDNO when empty
    std::vector<std::string> questions;
    uint64_t finishedWith = ~0ull;

    int Count(UINT code) const;
};

extern ScriptedDialog g_dialog;

// The driver's callback and question, answered from g_dialog.
int ScriptedReport(UINT code, const char* name, char* buffer, DWORD valueLow, DWORD valueHigh, DWORD count,
                   DWORD reserved, HWND owner);
int ScriptedQuestion(HWND owner, const char* text, bool defaultNo);

// Extracts the container that fills the file at program into destination,
// with g_dialog answering.
int ExtractFile(const std::string& program, const std::string& destination, int recreateFolders, int overwrite);

// Every file below folder (ending in '\\'), by its path relative to it.
std::map<std::string, std::string> FilesBelow(const std::string& folder);

// What extraction must keep of each file and folder: bytes, last-write time
// in the zip's 2-second steps, the read-only bit. Folders end in '\\' and
// have only a name.
struct TreeEntry {
    std::string bytes;
    uint64_t twoSecondSteps = 0;
    bool readOnly = false;
    // unzip may restore the exact second from an extra field, where the
    // zip's own time has the next even one: a step apart is the same time.
    bool operator==(const TreeEntry& other) const {
        const uint64_t apart = twoSecondSteps > other.twoSecondSteps ? twoSecondSteps - other.twoSecondSteps
                                                                     : other.twoSecondSteps - twoSecondSteps;
        return bytes == other.bytes && apart <= 1 && readOnly == other.readOnly;
    }
};
std::map<std::string, TreeEntry> TreeBelow(const std::string& folder);
void PrintTo(const TreeEntry& entry, std::ostream* out);

// A path below the test scratch folder, with '\\' separators.
std::string WorkPath(const std::string& relative);
