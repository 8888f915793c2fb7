#include "StubPaths.h"

#include "MemberPathSafety.h"

#include <cstring>
#include <vector>

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The stored name below a folder, by the engine's rule; empty when refused.
std::string RelativeStoredName(const char* name) {
    char relative[kStubMaxPath + 1];
    if (MemberPathMakeRelative(name, relative, sizeof relative) != kMemberPathSafe)
        return std::string();
    return relative;
}

template <typename Text>
Text FolderOf(const Text& path) {
    for (size_t at = path.size(); at-- > 0;)
        if (path[at] == '\\' || path[at] == '/')
            return path.substr(0, at + 1);
    return Text();
}

std::wstring WideFromCodePage(const std::string& bytes, UINT codePage) {
    if (bytes.empty())
        return std::wstring();
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), &text[0], length);
    return text;
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
    const std::string storedName = RelativeStoredName(name);
    if (storedName.empty())
        return std::string();
    std::string joined(folder);
    if (!joined.empty() && !IsSeparator(joined.back()))
        joined += '\\';
    joined += storedName;
    return joined.size() <= kStubMaxPath ? joined : std::string();
}

std::wstring WideFromStoredName(const std::string& bytes, bool utf8) {
    return WideFromCodePage(bytes, utf8 ? CP_UTF8 : CP_ACP);
}

std::string AnsiFromWide(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &bytes[0], length, nullptr, nullptr);
    return bytes;
}

std::wstring JoinFolderAndStoredName(const std::string& folder, const std::string& stored, bool utf8,
                                     bool keepFolders) {
    std::string relative = RelativeStoredName(stored.c_str());
    if (!keepFolders)
        relative = GetFileNamePart(relative);
    if (relative.empty())
        return std::wstring();
    const std::wstring name = WideFromStoredName(relative, utf8);
    if (name.empty())
        return std::wstring();
    std::wstring joined = WideFromStoredName(folder, false);
    if (!joined.empty() && joined.back() != L'\\' && joined.back() != L'/')
        joined += L'\\';
    return joined + name;
}

std::string GetFileNamePart(const std::string& path) {
    const size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string GetFolderOfPath(const std::string& path) { return FolderOf(path); }

std::wstring GetFolderOfPath(const std::wstring& path) { return FolderOf(path); }

int IsExistingFolder(const char* folder) {
    if (folder == nullptr || *folder == '\0')
        return 0;
    const DWORD attributes = GetFileAttributesA(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

bool IsExistingFile(const std::string& path) { return IsExistingFile(WideFromStoredName(path, false)); }

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CreateFolderPath(const char* path) {
    if (path == nullptr || *path == '\0' || std::strlen(path) > kStubMaxPath)
        return 0;
    return CreateFolderPath(WideFromStoredName(path, false));
}

int CreateFolderPath(const std::wstring& path) {
    if (path.empty() || path.size() > kStubMaxPath) {
        SetLastError(path.empty() ? ERROR_INVALID_NAME : ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    std::wstring levels(path);
    for (wchar_t& c : levels)
        if (c == L'/')
            c = L'\\';
    if (levels.back() != L'\\')
        levels += L'\\';
    // Nearly every call finds its folder there already: the whole path is
    // looked at first, and the levels above only as far up as they are
    // missing, since each look costs a file system call per entry.
    std::vector<size_t> missing;  // the ends of the missing levels, deepest first
    for (size_t end = levels.size() - 1; end != std::wstring::npos && !IsFolder(levels.substr(0, end + 1));
         end = end > 0 ? levels.rfind(L'\\', end - 1) : std::wstring::npos)
        missing.push_back(end);
    for (auto end = missing.rbegin(); end != missing.rend(); ++end)
        if (!CreateDirectoryW(levels.substr(0, *end + 1).c_str(), nullptr))
            return 0;
    return 1;
}
