#include "stub_test_support.h"

#include <shellapi.h>

#include <fstream>
#include <sstream>

#include "LocalFileTime.h"

namespace {
void RemoveTree(const std::string& folder) {
    std::string from = folder;
    if (!from.empty() && from.back() == '\\')
        from.pop_back();
    from.push_back('\0');  // SHFileOperation takes a list ending in two NULs
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationA(&op);
}
}  // namespace

std::string FreshFolder(const std::string& name) {
    std::string folder = std::string(BRENNICOR_TEST_WORK) + "\\stub-" + name;
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The local time is converted by the daylight rule of its own date.
void SetFileDosTime(const std::string& path, uint32_t dosDateTime) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME local, utc;
    if (DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime), &local) &&
        FileTimeOfLocalFileTime(local, &utc))
        SetFileTime(file, nullptr, nullptr, &utc);
    CloseHandle(file);
}
