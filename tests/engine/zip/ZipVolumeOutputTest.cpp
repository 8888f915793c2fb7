#include <gtest/gtest.h>

#include <string>

#include "volumes/ZipDrives.h"
#include "volumes/ZipSplitParts.h"
#include "ZipApi.h"
#include "ZipFiles.h"
#include "ZipTestSupport.h"

namespace {

std::string WorkPath(const char *name) { return std::string(BRENNICOR_TEST_WORK) + "/" + name; }

std::string Backslashed(std::string path) {
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Touch(const std::string &path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  CloseHandle(file);
}

TEST(ZipSplitParts, NamesAppendOrReplaceTheExtension) {
  struct Case {
    const char *archive;
    int append, part;
    const char *name;
  };
  const Case cases[] = {
      {"C:\\b\\backup.zip", 1, 1, "C:\\b\\backup.zip.z01"}, {"C:\\b\\backup.zip", 1, 2, "C:\\b\\backup.zip.z02"},
      {"C:\\b\\backup.zip", 0, 1, "C:\\b\\backup.z01"},     {"C:\\b\\backup.zip", 0, 99, "C:\\b\\backup.z99"},
      {"C:\\b\\backup.zip", 0, 100, "C:\\b\\backup.100"},   {"C:\\b.d\\backup", 0, 3, "C:\\b.d\\backup.z03"},
  };
  for (const Case &c : cases) {
    char name[ZIP_PATH_SIZE];
    ASSERT_EQ(ZipSplitPartName(c.archive, c.append, c.part, name, sizeof name), 1);
    EXPECT_STREQ(name, c.name);
  }
  char small[12];
  EXPECT_EQ(ZipSplitPartName("C:\\backup.zip", 1, 1, small, sizeof small), 0);
}

TEST(ZipSplitParts, DeleteRemovesPartsFromTheFirstNumberOn) {
  std::string archive = WorkPath("parts.zip");
  for (const char *suffix : {".z01", ".z02", ".z99", ".100"}) Touch(archive + suffix);
  Touch(WorkPath("parts.z05"));
  ZipDeleteSplitParts(archive.c_str(), 2);
  EXPECT_TRUE(Exists(archive + ".z01"));
  EXPECT_FALSE(Exists(archive + ".z02"));
  EXPECT_FALSE(Exists(archive + ".z99"));
  EXPECT_FALSE(Exists(archive + ".100"));
  ZipDeleteSplitPartsOf(WorkPath("parts.z01").c_str(), 1);
  EXPECT_FALSE(Exists(WorkPath("parts.z05")));
  ZipDeleteSplitParts(archive.c_str(), 1);
  EXPECT_FALSE(Exists(archive + ".z01"));
}

TEST(ZipFiles, CreatesMissingFoldersOutermostFirst) {
  std::string deep = WorkPath("folders/a/b/c/file.zip");
  EXPECT_EQ(ZipCreatePathFolders(deep.c_str()), 0);
  EXPECT_TRUE(Exists(WorkPath("folders/a/b/c")));
  EXPECT_FALSE(Exists(deep));
  Touch(WorkPath("folders/blocker"));
  EXPECT_EQ(ZipCreatePathFolders(WorkPath("folders/blocker/x/file.zip").c_str()), 15);
}

TEST(ZipFiles, UniqueNamesSkipNamesInUse) {
  std::string folder = WorkPath("unique");
  CreateDirectoryA(folder.c_str(), nullptr);
  char first[ZIP_PATH_SIZE], second[ZIP_PATH_SIZE];
  ASSERT_EQ(ZipUniqueFileName(folder.c_str(), first, sizeof first), 1);
  std::string name = std::string(first).substr(folder.size() + 1);
  ASSERT_EQ(name.size(), 8u);
  EXPECT_EQ(name[2], 'a');
  EXPECT_EQ(name.substr(3), std::to_string(100000 + GetCurrentThreadId() % 100000).substr(1));
  Touch(first);
  ASSERT_EQ(ZipUniqueFileName((folder + "\\").c_str(), second, sizeof second), 1);
  EXPECT_EQ(std::string(second).substr(folder.size() + 1, 2), name.substr(0, 2));
  EXPECT_EQ(second[folder.size() + 3], 'b');
  DeleteFileA(first);
}

TEST(ZipDrives, RootsAndFreeSpace) {
  char root[64];
  ZipPathRoot("C:\\dir\\file", root, sizeof root);
  EXPECT_STREQ(root, "C:\\");
  ZipPathRoot("\\\\server\\share\\dir\\file", root, sizeof root);
  EXPECT_STREQ(root, "\\\\server\\share\\");
  ZipPathRoot("relative\\file", root, sizeof root);
  EXPECT_STREQ(root, "");
  EXPECT_GT(ZipGetFreeSpace(BRENNICOR_TEST_WORK), 0u);
  EXPECT_EQ(ZipDriveOfPath("c:\\x"), 3);
  EXPECT_EQ(ZipDriveOfPath("c:x"), -1);
  EXPECT_EQ(ZipDriveOfPath(""), -1);
}

// What the split-part and staging files look like while a command runs, seen
// from its error report.
struct VolumeSeen {
  std::string name;
  bool existed = false;
};

void CaptureVolume(MessageRecorder *recorder, int) {
  auto *seen = static_cast<VolumeSeen *>(recorder->context);
  seen->name = ZipCurrentState()->volumeName;
  seen->existed = !seen->name.empty() && GetFileAttributesA(seen->name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// An add command whose error report records the volume file.
ZIPCMDSTRUCT WatchedAdd(MessageRecorder *recorder, VolumeSeen *seen) {
  recorder->context = seen;
  recorder->onShown = CaptureVolume;
  ZIPCMDSTRUCT record = RecordingCommand(recorder);
  record.Function = ZIP_ADD;
  return record;
}

using ZipVolumeOutputTest = ZipStateTest;

TEST_F(ZipVolumeOutputTest, FailedSplitCommandLeavesNoParts) {
  std::string archive = WorkPath("split/out/archive.zip");
  MessageRecorder recorder;
  VolumeSeen seen;
  ZIPCMDSTRUCT record = WatchedAdd(&recorder, &seen);
  record.lpszZIPFile = const_cast<char *>(archive.c_str());
  record.lpszItemList = const_cast<char *>("file.txt");
  record.wMultiVolControl = ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS;
  int result = ZipExecute(&record);
  EXPECT_NE(result, 0);  // the archive itself cannot be written yet
  EXPECT_TRUE(seen.existed) << seen.name;
  std::string suffix = seen.name.substr(seen.name.size() - 4);
  EXPECT_EQ(suffix, ".z01");
  EXPECT_FALSE(Exists(seen.name));
  EXPECT_EQ(state->volumeFile, INVALID_HANDLE_VALUE);
}

TEST_F(ZipVolumeOutputTest, StagingFileLivesOnlyDuringTheCommand) {
  std::string folder = WorkPath("staging");
  CreateDirectoryA(folder.c_str(), nullptr);
  MessageRecorder recorder;
  VolumeSeen seen;
  ZIPCMDSTRUCT record = WatchedAdd(&recorder, &seen);
  record.lpszZIPFile = const_cast<char *>("A:\\archive.zip");
  record.lpszItemList = const_cast<char *>("C:\\file.txt");
  record.wZipSubOptions = ZSO_ALL_REMOVABLE;
  record.wMultiVolControl = ZMV_MULTI_VOLUME;
  record.pathForTempFlag = 1;
  record.lpszTempPath = const_cast<char *>(folder.c_str());
  EXPECT_NE(ZipExecute(&record), 0);
  EXPECT_TRUE(seen.existed) << seen.name;
  EXPECT_EQ(seen.name.rfind(Backslashed(folder) + "\\", 0), 0u) << seen.name;
  EXPECT_FALSE(Exists(seen.name));

  recorder.shown.clear();
  std::string missing = WorkPath("no such folder");
  record.lpszTempPath = const_cast<char *>(missing.c_str());
  EXPECT_EQ(ZipExecute(&record), 10);
  ASSERT_FALSE(recorder.shown.empty());
  EXPECT_EQ(recorder.shown.back().text.rfind("Temporary file failure (" + Backslashed(missing) + "\\", 0), 0u);
}

}  // namespace
