// One whole build without a window: verify the source zip, rebuild it into a
// temporary secure container, write the stub's image (wearing the chosen
// icon), append the container and the settings. The Build page runs it with
// a reporter that drives its controls; tests run it with one that records.
#pragma once
#include <windows.h>

#include <string>

#include "BuildReporter.h"
#include "ProjectSettings.h"
#include "SelfExtractorWriter.h"

// Texts of a failed step, shown in the build's failure box.
constexpr char kStubWriteFailedText[] = "Disk full ? Undefined SecureSelf-Extracting File Dump Error";
constexpr char kAppendFailedText[] = "Disk full ? Unexpected Error on SecureFile code inspection!";
constexpr char kSettingsFailedText[] = "Disk full ? Undefined Start-Up/User OptionsCode injection error!";

// Counts the source archive's entries into settings.entriesFound, refuses
// entries and a program (imageSize: the stub's) too large to build by the
// sizes its directory states; when it holds encrypted entries, asks the
// reporter for their password. 0, or -1 after the failure has been reported.
int VerifySourceZip(HINSTANCE instance, ProjectSettings& settings, uint64_t imageSize, BuildReporter& reporter,
                    std::string* sourcePassword);

// 1 when settings.outputName holds a complete program, 0 after a failure
// has been reported (a partly written output is removed). The temporary
// container lives only for the call.
int BuildSelfExtractingProgram(HINSTANCE instance, ProjectSettings& settings, const StubImage& stub,
                               BuildReporter& reporter);
