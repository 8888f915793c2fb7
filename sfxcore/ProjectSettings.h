// Everything the user chooses for one self-extracting program. The main
// frame holds one record for the builder's whole run; the pages copy it in
// and out. Flags hold 0 or 1.
#pragma once
#include <string>

constexpr int kDefaultCompressionLevel = 5;
// The General page's row of that level ("Normal"): a new project shows the
// level it builds with.
constexpr int kDefaultLevelListIndex = 1;
// Rows of the General page's level list and of the Options page's filter
// of files to launch; the highest icon index a project may name.
constexpr int kLevelListRows = 4;
constexpr int kLaunchFilterRows = 3;
constexpr int kHighestIconIndex = 0xFFFF;

struct ProjectSettings {
  std::string sourceArchive;       // zip archive to turn into a program
  std::string iconFile;            // icon file or program whose icon the built program takes; empty: the stub's own
  std::string outputName;          // program to write
  std::string unzipToFolder;       // the stub's default destination
  std::string temporaryContainer;  // set by the build; not saved
  std::string aboutText;
  std::string launchCommand;       // what the stub opens after extracting
  std::string customMessage;       // what the stub shows before extracting
  int overwrite = 0;
  int autoUnzip = 0;
  int recreateFolders = 0;
  int listIndex = 0;  // Options page selection, saved as SHOW_ZIP_FILES_CONTENT
  int iconIndex = 0;  // of the icon in iconFile
  int entriesFound = 0;      // from the last verification; not saved
  int aesStrengthIndex = 0;  // 0, 1, 2 for AES 128, 192, 256
  int maskPassword = 0;
  std::string password;
  int passwordProtection = 0;
  int compressionLevel = kDefaultCompressionLevel;  // handed to the engine; not saved
  int levelListIndex = kDefaultLevelListIndex;  // General page's level list selection
  int deflate64 = 0;         // saved as DEFAULT_HYPERTHREAD_COMPRESSION
};

// Every text emptied, every number 0, the compression level 5 on its row.
void ResetDefaults(ProjectSettings& record);
