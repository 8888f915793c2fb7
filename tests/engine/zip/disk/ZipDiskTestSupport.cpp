#include "ZipDiskTestSupport.h"

#include <fstream>
#include <sstream>

#include "LocalFileTime.h"

std::string DiskWork(const std::string &name) {
  std::string path = std::string(BRENNICOR_TEST_WORK) + "/zipdisk/" + name;
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

static void MakeFolders(const std::string &path) {
  for (size_t at = path.find('\\', 1); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}

void WriteText(const std::string &path, const std::string &text) {
  MakeFolders(path);
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::string ReadText(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetLocalWriteTime(const std::string &path, int year, int month, int day) {
  SYSTEMTIME parts = {};
  parts.wYear = WORD(year);
  parts.wMonth = WORD(month);
  parts.wDay = WORD(day);
  parts.wHour = 12;
  FILETIME local, utc;
  SystemTimeToFileTime(&parts, &local);
  ASSERT_TRUE(FileTimeOfLocalFileTime(local, &utc)) << path;
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  SetFileTime(file, &utc, &utc, &utc);
  CloseHandle(file);
}

void RemoveTree(const std::string &path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
      else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

void CopyInto(const std::string &from, const std::string &to) {
  MakeFolders(to);
  ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from;
}

std::vector<std::string> Warnings(const MessageRecorder &recorder) {
  std::vector<std::string> texts;
  for (const ShownMessage &message : recorder.shown)
    if (message.type == 12) texts.push_back(message.text);
  return texts;
}

void ZipDiskTest::SetUp() {
  ZipStateTest::SetUp();
  GetCurrentDirectoryA(sizeof previousFolder, previousFolder);
  ZipMainDefaults(state);
  state->messageDisplay = RecordMessage;
  state->messageDisplayData = &recorder;
  state->promptsAllowed = 1;
}

void ZipDiskTest::TearDown() {
  SetCurrentDirectoryA(previousFolder);
  ZipStateTest::TearDown();
}

std::string ZipDiskTest::Scratch(const std::string &name) {
  std::string folder = DiskWork(name);
  RemoveTree(folder);
  MakeFolders(folder + "\\");
  SetCurrentDirectoryA(folder.c_str());
  return folder;
}
