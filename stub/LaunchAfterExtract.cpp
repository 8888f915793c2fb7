#include "LaunchAfterExtract.h"

#include "StubPaths.h"

#include <windows.h>
#include <shellapi.h>

namespace {

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(full, length);
}

bool IsInsideFolder(const std::string& path, std::string folder) {
    if (folder.empty() || path.empty())
        return false;
    if (folder.back() != '\\')
        folder += '\\';
    return path.size() > folder.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(),
                          static_cast<int>(folder.size()), folder.c_str(),
                          static_cast<int>(folder.size())) == CSTR_EQUAL;
}

}  // namespace

std::string ResolveLaunchTarget(const std::string& destination, const std::string& command,
                                int recreateFolders) {
    if (destination.empty() || command.empty())
        return std::string();
    const std::string name = recreateFolders ? command : GetFileNamePart(command);
    const std::string joined = JoinFolderAndName(destination.c_str(), name.c_str());
    const std::string target = FullPath(joined);
    if (joined.empty() || !IsInsideFolder(target, FullPath(destination)) || !IsExistingFile(target))
        return std::string();
    return target;
}

LaunchOutcome LaunchExtractedFile(const std::string& destination, const std::string& command,
                                  int recreateFolders) {
    const std::string target = ResolveLaunchTarget(destination, command, recreateFolders);
    if (target.empty())
        return LaunchOutcome::NotFound;
    const HINSTANCE result = ShellExecuteA(nullptr, "open", target.c_str(), nullptr,
                                           destination.c_str(), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32 ? LaunchOutcome::Launched : LaunchOutcome::Failed;
}
