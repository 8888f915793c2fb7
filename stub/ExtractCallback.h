// The report protocol between the container extraction driver and the stub's
// main dialog, and the driver's entry point.
#pragma once

#include <windows.h>

#include <cstdint>

// Report codes. Arguments not named are 0.
enum ExtractReport : UINT {
    // An entry was written. name = output path; value = entry index (0-based).
    // A non-zero answer stops the extraction as cancelled (the user's Cancel
    // or Escape during the extraction).
    kReportEntryWritten = 0x501,
    // The output file exists already. name = output path. The dialog reads the
    // existing file's size and time itself, so value and count may be 0.
    // Answer: kAnswerYes, kAnswerNo, kAnswerAll or kAnswerCancel.
    kReportFileExists = 0x502,
    // The container is protected. buffer = kPasswordBufferLength zeroed bytes
    // that receive the password (1 to kMaxPasswordLength characters).
    // Answer 0 when a password was given; anything else stops the extraction.
    kReportPasswordNeeded = 0x503,
    // The entry count is known. count = the container header's entry count.
    // After the password step a non-zero answer stops the extraction.
    kReportEntryCount = 0x504,
    // The extraction ends. value = the driver's result; name = what went
    // wrong, naming the entry and the cause, or empty when the driver has no
    // words for it (success, a cancel, a damaged container).
    kReportFinished = 0x505,
    // An entry was skipped: the user's "No", a stored name that would land
    // outside the destination or make too long a path, or an output that
    // could not be written. name = output path or stored name as text;
    // value = index. Answered as kReportEntryWritten.
    kReportEntrySkipped = 0x506,
};

// Answers to kReportFileExists.
enum ExistsAnswer : int {
    kAnswerYes = 1,     // overwrite this file
    kAnswerNo = 2,      // skip this entry
    kAnswerAll = 3,     // overwrite this and every later file without asking
    kAnswerCancel = 4,  // stop the extraction
};

// Driver results besides the engine's own result codes (2 to 50).
enum ExtractResult : int {
    kExtractSuccess = 0,           // the last entry handed to the engine was extracted
    kExtractFailed = 1,            // nothing extracted, container unreadable, password cancelled
    kExtractSuccessAlternate = 0x400,
    kExtractFatal = 0x401,
    kExtractCancelled = 0x402,     // "Cancel" at an exists question or during the extraction
    kExtractDamaged = 0x403,       // the program differs from its integrity line: nothing extracted
};

// The stub's exit codes: 0 only when every entry was extracted.
enum StubExitCode : int {
    kExitExtracted = 0,
    kExitFailed = 1,     // an entry failed, the program is damaged, or nothing was there to extract
    kExitCancelled = 2,  // the user cancelled (dialog, custom message, password or exists question)
    kExitSkipped = 3,    // extraction ended, but the user chose to skip existing files
};

// A record's data size differs from what the engine gave: the entry is damaged.
constexpr int kEntryDamagedResult = 3;

// Passwords: the stub takes 1 to 255 characters and the engine uses the
// first 128, as the zip side does when it encrypts.
constexpr int kMaxPasswordLength = 255;
constexpr int kEnginePasswordLength = 128;
constexpr int kPasswordBufferLength = 260;

// code, name, buffer, value low, value high, count, reserved (0), owner window.
using ExtractCallback = int (*)(UINT code, const char* name, char* buffer, DWORD valueLow,
                                DWORD valueHigh, DWORD count, DWORD reserved, HWND owner);

// Asks the user a Yes/No question for the driver (retry after a failed
// entry, a password too short); IDYES or IDNO. defaultNo makes No the
// answer Enter gives. Tests put a scripted one here.
using ExtractQuestion = int (*)(HWND owner, const char* text, bool defaultNo);

// What the dialog hands to the driver.
struct ExtractRequest {
    HINSTANCE instance;        // string table of the stub
    HWND owner;                // passed back with every report, owner of the driver's questions
    const char* programPath;   // the file that holds the container
    uint32_t containerOffset;  // where the container starts in that file
    uint64_t containerEnd;     // where it ends (the offset word before the marker)
    const char* destination;   // existing or to be created
    int recreateFolders;
    int overwrite;             // non-zero: overwrite without asking
    ExtractCallback callback;
    ExtractQuestion ask;
    // The program's integrity line (empty when it has none) and the bytes of
    // the program file it covers; settingsDamaged refuses the program outright.
    const char* checksum;
    uint64_t checkedLength;
    bool settingsDamaged;
};

// Extracts every entry of the container into the destination and reports
// through request.callback; returns an ExtractResult or an engine result code.
int ExtractSecureContainer(const ExtractRequest& request);
