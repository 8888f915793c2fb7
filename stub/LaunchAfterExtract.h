// Opening the file named by the settings once the extraction succeeded.
#pragma once

#include <string>

// The full path of the file to open: the command joined to the destination
// (only its file name part when folders are not recreated). Empty unless
// that is an existing file inside the destination, so a missing entry never
// lets the shell find a same-named program elsewhere.
std::string ResolveLaunchTarget(const std::string& destination, const std::string& command,
                                int recreateFolders);

enum class LaunchOutcome { Launched, NotFound, Failed };

// Opens the resolved file with the destination as working folder.
LaunchOutcome LaunchExtractedFile(const std::string& destination, const std::string& command,
                                  int recreateFolders);
