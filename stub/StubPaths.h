// Path helpers of the stub: its own file, joining stored names to the
// destination, and making the folders an entry needs.
#pragma once

#include <windows.h>

#include <string>

// The longest path the stub writes to or opens, in characters.
constexpr size_t kStubMaxPath = 259;

// The module file name of instance (the program itself for null); empty when unavailable.
std::string GetModuleFilePath(HINSTANCE instance);

// folder + "\" + name, the separator left out when the folder is empty or
// already ends in one; '/' in the name becomes '\'. Empty (refused) when
// either text is missing, the name is empty, starts with '\', holds ':' or a
// component made only of dots and blanks, or the result exceeds kStubMaxPath.
std::string JoinFolderAndName(const char* folder, const char* name);

// The part after the last '\' or '/'.
std::string GetFileNamePart(const std::string& path);

// Drive and folders of path up to and including its last '\' or '/'.
std::string GetFolderOfPath(const std::string& path);

// 1 when folder names an existing folder, else 0.
int IsExistingFolder(const char* folder);

// True when path names an existing file (not a folder).
bool IsExistingFile(const std::string& path);

// Creates every missing folder level of path (a trailing separator is
// implied); returns 1 when the last level exists afterwards, else 0.
int CreateFolderPath(const char* path);
