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
// already ends in one. The name passes the engine's own rule for stored
// names (a drive or leading separators dropped, '/' made '\'); empty
// (refused) when either text is missing, the rule refuses the name or leaves
// nothing of it, or the result exceeds kStubMaxPath.
std::string JoinFolderAndName(const char* folder, const char* name);

// A stored name's bytes as text: UTF-8 when the entry says so (flag bit 11),
// else the ANSI code page.
std::wstring WideFromStoredName(const std::string& bytes, bool utf8);
// The best the ANSI code page can do for a wide text (for reports).
std::string AnsiFromWide(const std::wstring& text);

// The output path of a stored name below folder, by the same rule as
// JoinFolderAndName; with keepFolders false only the name's last part is
// kept. A folder entry's path ends in '\'. Empty when the rule refuses the
// name; the caller checks the length against kStubMaxPath, to tell the user
// which path is too long.
std::wstring JoinFolderAndStoredName(const std::string& folder, const std::string& stored, bool utf8,
                                     bool keepFolders);

// The part after the last '\' or '/'.
std::string GetFileNamePart(const std::string& path);

// Drive and folders of path up to and including its last '\' or '/'.
std::string GetFolderOfPath(const std::string& path);
std::wstring GetFolderOfPath(const std::wstring& path);

// 1 when folder names an existing folder, else 0.
int IsExistingFolder(const char* folder);

// True when path names an existing file (not a folder).
bool IsExistingFile(const std::string& path);
bool IsExistingFile(const std::wstring& path);

// Creates every missing folder level of path (a trailing separator is
// implied); returns 1 when the last level exists afterwards, else 0 with the
// system's code of the level that failed as the last error.
int CreateFolderPath(const char* path);
int CreateFolderPath(const std::wstring& path);
