#include "extract_test_support.h"

#include "stub_test_support.h"
#include "test_files.h"

ScriptedDialog g_dialog;

int ScriptedDialog::Count(UINT code) const {
    int count = 0;
    for (UINT report : reports)
        count += report == code;
    return count;
}

int ScriptedReport(UINT code, const char* name, char* buffer, DWORD valueLow, DWORD valueHigh, DWORD, DWORD, HWND) {
    g_dialog.reports.push_back(code);
    g_dialog.names.push_back(name ? name : "");
    switch (code) {
    case kReportFileExists: {
        const int answer = g_dialog.existsAnswers.empty() ? kAnswerCancel : g_dialog.existsAnswers.front();
        if (!g_dialog.existsAnswers.empty())
            g_dialog.existsAnswers.pop_front();
        return answer;
    }
    case kReportPasswordNeeded:
        if (g_dialog.passwords.empty())
            return 1;
        lstrcpynA(buffer, g_dialog.passwords.front().c_str(), kPasswordBufferLength);
        g_dialog.passwords.pop_front();
        return 0;
    case kReportFinished:
        g_dialog.finishedWith = (static_cast<uint64_t>(valueHigh) << 32) | valueLow;
        return 0;
    }
    return 0;
}

int ScriptedQuestion(HWND, const char* text, bool) {
    g_dialog.questions.push_back(text);
    const int answer = g_dialog.questionAnswers.empty() ? IDNO : g_dialog.questionAnswers.front();
    if (!g_dialog.questionAnswers.empty())
        g_dialog.questionAnswers.pop_front();
    return answer;
}

namespace {

void ListTree(const std::string& folder, const std::string& prefix, std::map<std::string, TreeEntry>& tree) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            tree[prefix + name + "\\"] = TreeEntry();
            ListTree(folder + name + "\\", prefix + name + "\\", tree);
            continue;
        }
        TreeEntry& entry = tree[prefix + name];
        entry.bytes = ReadFileContent(folder + name);
        const uint64_t time = (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                              found.ftLastWriteTime.dwLowDateTime;
        entry.twoSecondSteps = time / 20000000;
        entry.readOnly = (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

std::map<std::string, TreeEntry> TreeBelow(const std::string& folder) {
    std::map<std::string, TreeEntry> tree;
    ListTree(folder, "", tree);
    return tree;
}

void PrintTo(const TreeEntry& entry, std::ostream* out) {
    *out << entry.bytes.size() << " bytes, step " << entry.twoSecondSteps << (entry.readOnly ? ", read-only" : "");
}

int ExtractFile(const std::string& program, const std::string& destination, int recreateFolders, int overwrite) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(program.c_str(), GetFileExInfoStandard, &data);
    const ExtractRequest request = {GetModuleHandleA(nullptr), nullptr,        program.c_str(), 0,
                                    data.nFileSizeLow,         destination.c_str(), recreateFolders, overwrite,
                                    ScriptedReport,            ScriptedQuestion};
    return ExtractSecureContainer(request);
}

std::map<std::string, std::string> FilesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : TreeBelow(folder))
        if (entry.first.back() != '\\')
            files[entry.first] = entry.second.bytes;
    return files;
}

std::string WorkPath(const std::string& relative) {
    std::string path = std::string(BRENNICOR_TEST_WORK) + "\\" + relative;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}
