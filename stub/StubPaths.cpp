#include "StubPaths.h"

#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Windows drops trailing dots and blanks from a path component, so "..."
// or ". ." would climb like ".."; any component of only dots and blanks is refused.
bool IsDotsOnly(const std::string& component) {
    return !component.empty() && component.find_first_not_of(". ") == std::string::npos;
}

bool IsSafeStoredName(const std::string& name) {
    if (name.empty() || name[0] == '\\' || name.find(':') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('\\', start);
        if (end == std::string::npos)
            end = name.size();
        if (IsDotsOnly(name.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

std::string GetModuleFilePath(HINSTANCE instance) {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(instance, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    return std::string(buffer, length);
}

std::string JoinFolderAndName(const char* folder, const char* name) {
    if (folder == nullptr || name == nullptr)
        return std::string();
    std::string storedName(name);
    for (char& c : storedName)
        if (c == '/')
            c = '\\';
    if (!IsSafeStoredName(storedName))
        return std::string();
    std::string joined(folder);
    if (!joined.empty() && !IsSeparator(joined.back()))
        joined += '\\';
    joined += storedName;
    return joined.size() <= kStubMaxPath ? joined : std::string();
}

std::string GetFileNamePart(const std::string& path) {
    const size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string GetFolderOfPath(const std::string& path) {
    const size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

int IsExistingFolder(const char* folder) {
    if (folder == nullptr || *folder == '\0')
        return 0;
    const DWORD attributes = GetFileAttributesA(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CreateFolderPath(const char* path) {
    if (path == nullptr || *path == '\0' || std::strlen(path) > kStubMaxPath)
        return 0;
    std::string levels(path);
    for (char& c : levels)
        if (c == '/')
            c = '\\';
    if (levels.back() != '\\')
        levels += '\\';
    int exists = 0;
    for (size_t at = levels.find('\\'); at != std::string::npos; at = levels.find('\\', at + 1)) {
        const std::string prefix = levels.substr(0, at + 1);
        exists = IsExistingFolder(prefix.c_str()) || CreateDirectoryA(prefix.c_str(), nullptr) ? 1 : 0;
    }
    return exists;
}
