#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MyCipherFile.h"
#include "ProjectFile.h"
#include "SfxcoreTestFiles.h"

namespace {

// The project the Python check reads back line by line.
ProjectSettings FullProject() {
  ProjectSettings p;
  p.sourceArchive = "C:\\in\\source.zip";
  p.iconFile = "C:\\icons\\app.ico";
  p.iconIndex = 3;
  p.outputName = "C:\\out\\setup.exe";
  p.levelListIndex = 3;
  p.deflate64 = 1;
  p.unzipToFolder = "D:\\Target\\";
  p.autoUnzip = 1;
  p.overwrite = 1;
  p.recreateFolders = 1;
  p.aboutText = "About line one\r\nAbout line two";
  p.customMessage = "Read me\r\nfirst";
  p.launchCommand = "readme.txt";
  p.listIndex = 2;
  p.passwordProtection = 1;
  p.maskPassword = 1;
  p.aesStrengthIndex = 2;
  p.password = "s3cret pass";
  p.temporaryContainer = "C:\\tmp\\container";
  p.entriesFound = 12;
  p.compressionLevel = 9;
  return p;
}

TEST(ProjectFile, SavedProjectLoadsBack) {
  const std::string path = WorkPath("sfxcore-project.ssf");
  const ProjectSettings saved = FullProject();
  ASSERT_EQ(1, SaveProjectFile(saved, path.c_str()));

  ProjectSettings loaded;
  loaded.sourceArchive = "left over";
  int message = -1;
  ASSERT_EQ(0, LoadProjectFile(loaded, path.c_str(), &message));
  EXPECT_EQ(kProjectFileReadable, message);
  EXPECT_EQ(saved.sourceArchive, loaded.sourceArchive);
  EXPECT_EQ(saved.outputName, loaded.outputName);
  EXPECT_EQ(saved.unzipToFolder, loaded.unzipToFolder);
  EXPECT_EQ(saved.aboutText, loaded.aboutText);
  EXPECT_EQ(saved.customMessage, loaded.customMessage);
  EXPECT_EQ(saved.launchCommand, loaded.launchCommand);
  EXPECT_EQ(saved.password, loaded.password);
  EXPECT_EQ(3, loaded.levelListIndex);
  EXPECT_EQ(2, loaded.listIndex);
  EXPECT_EQ(2, loaded.aesStrengthIndex);
  for (int flag : {loaded.deflate64, loaded.autoUnzip, loaded.overwrite, loaded.recreateFolders,
                   loaded.passwordProtection, loaded.maskPassword})
    EXPECT_EQ(1, flag);
  EXPECT_EQ(saved.iconFile, loaded.iconFile);
  EXPECT_EQ(3, loaded.iconIndex);
  // Never saved: the defaults.
  EXPECT_EQ("", loaded.temporaryContainer);
  EXPECT_EQ(0, loaded.entriesFound);
  EXPECT_EQ(kDefaultCompressionLevel, loaded.compressionLevel);
}

TEST(ProjectFile, TextsKeepTheirOwnFields) {
  ProjectSettings saved;
  saved.sourceArchive = "C:\\real.zip";
  saved.aboutText = "See ZIP_FILE_NAME = C:\\evil.zip;;and PASSWORD_PROTECTION_STRING = x";
  saved.customMessage = "two\r\nlines";
  saved.aesStrengthIndex = 1;
  const std::string path = WorkPath("sfxcore-project-texts.ssf");
  ASSERT_EQ(1, SaveProjectFile(saved, path.c_str()));
  ProjectSettings loaded;
  ASSERT_EQ(0, LoadProjectFile(loaded, path.c_str()));
  EXPECT_EQ("C:\\real.zip", loaded.sourceArchive);
  EXPECT_EQ("", loaded.password);
  // A ";;" written by the user comes back as a line break.
  EXPECT_EQ("See ZIP_FILE_NAME = C:\\evil.zip\r\nand PASSWORD_PROTECTION_STRING = x", loaded.aboutText);
  EXPECT_EQ("two\r\nlines", loaded.customMessage);
  EXPECT_EQ(1, loaded.aesStrengthIndex);
}

// Projects made by hand, or by an older builder without the checksum line:
// every value must be of its kind, or the whole file is refused.
TEST(ProjectFile, HandMadeFiles) {
  const std::string path = WorkPath("sfxcore-project-made.ssf");
  const std::string tag = "PRJ_TAG = _korvane_brennicor_prj_";
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    int result;
    std::string sourceArchive;
    int aesStrengthIndex, deflate64, overwrite;
  } cases[] = {
      {"tag alone, lower case", {tag}, 0, "", 0, 0, 0},
      {"no record at all", {}, 0, "", 0, 0, 0},
      {"wrong tag", {"PRJ_TAG = SOMETHING_ELSE", "ZIP_FILE_NAME = a.zip"}, 1, "", 0, 0, 0},
      {"empty tag", {"PRJ_TAG = ", "ZIP_FILE_NAME = a.zip"}, 1, "", 0, 0, 0},
      {"in range", {tag, "ZIP_FILE_NAME = a.zip", "PASSWORD_STRONG_ENCRYPTION_INDX = 2", "DEFAULT_OVERWRITE_FILES = 1"},
       0, "a.zip", 2, 0, 1},
      {"index out of range", {tag, "ZIP_FILE_NAME = a.zip", "PASSWORD_STRONG_ENCRYPTION_INDX = 3"}, 1, "", 0, 0, 0},
      {"index of two digits", {tag, "ZIP_FILE_NAME = a.zip", "PASSWORD_STRONG_ENCRYPTION_INDX = 12"}, 1, "", 0, 0, 0},
      {"level row out of range", {tag, "DEFAULT_COMPRESSION_LEVEL_IN_COMBO_BX = 4"}, 1, "", 0, 0, 0},
      {"flag of 2", {tag, "ZIP_FILE_NAME = a.zip", "DEFAULT_OVERWRITE_FILES = 2"}, 1, "", 0, 0, 0},
      {"flag not a digit", {tag, "DEFAULT_HYPERTHREAD_COMPRESSION = x"}, 1, "", 0, 0, 0},
      {"flag with more after it", {tag, "DEFAULT_HYPERTHREAD_COMPRESSION = 1x"}, 1, "", 0, 0, 0},
      {"empty number", {tag, "SHOW_ZIP_FILES_CONTENT = "}, 1, "", 0, 0, 0},
      {"path with a control character", {tag, "ZIP_FILE_NAME = C:\\a\x01b.zip"}, 1, "", 0, 0, 0},
      {"path longer than a path can be", {tag, "ZIP_FILE_NAME = " + std::string(300, 'p')}, 1, "", 0, 0, 0},
      {"password with a control character", {tag, "PASSWORD_PROTECTION_STRING = a\x1b"}, 1, "", 0, 0, 0},
      {"a key twice", {tag, "ZIP_FILE_NAME = a.zip", "ZIP_FILE_NAME = b.zip"}, 1, "", 0, 0, 0},
      {"a line of no key", {tag, "ZIP_FILE_NAME = a.zip", "SOMETHING = 1"}, 1, "", 0, 0, 0},
      {"key not at the start of its line", {tag, " ZIP_FILE_NAME = a.zip"}, 1, "", 0, 0, 0},
      {"checksum that differs", {tag, "ZIP_FILE_NAME = a.zip", "PRJ_CHECKSUM = " + std::string(40, '0')}, 1, "", 0,
       0, 0},
      {"line too long for the buffer refuses the file",
       {tag, "ZIP_FILE_NAME = lost.zip", std::string(16300, 'x'), "DEFAULT_OVERWRITE_FILES = 1"}, 1, "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    WriteRecordLines(path, c.lines);
    ProjectSettings loaded;
    EXPECT_EQ(c.result, LoadProjectFile(loaded, path.c_str())) << c.what;
    EXPECT_EQ(c.sourceArchive, loaded.sourceArchive) << c.what;
    EXPECT_EQ(c.aesStrengthIndex, loaded.aesStrengthIndex) << c.what;
    EXPECT_EQ(c.deflate64, loaded.deflate64) << c.what;
    EXPECT_EQ(c.overwrite, loaded.overwrite) << c.what;
  }
}

// Eight bytes flipped in the middle of any record, the last one included:
// the project is refused whole with the damage message.
TEST(ProjectFile, EightBytesFlippedInAnyRecordRefuseTheProject) {
  const std::string good = WorkPath("sfxcore-project-flipped-good.ssf");
  ASSERT_EQ(1, SaveProjectFile(FullProject(), good.c_str()));
  const std::string bytes = ReadBytes(good);
  const std::string path = WorkPath("sfxcore-project-flipped.ssf");
  int records = 0;
  for (size_t at = CMyCipherFile::kHeaderBytes; at + 4 <= bytes.size(); ++records) {
    const uint32_t length = static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
                            static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
    ASSERT_LE(at + 4 + length, bytes.size());
    std::string damaged = bytes;
    const size_t middle = at + 4 + length / 2 - 4;
    for (size_t i = 0; i < 8; ++i) damaged[middle + i] = static_cast<char>(~damaged[middle + i]);
    WriteBytes(path, damaged);
    ProjectSettings loaded;
    int message = 0;
    EXPECT_EQ(1, LoadProjectFile(loaded, path.c_str(), &message)) << "record " << records;
    EXPECT_EQ(kProjectCheckFailed, message) << "record " << records;
    EXPECT_EQ("", loaded.sourceArchive) << "record " << records;
    EXPECT_EQ("", loaded.password) << "record " << records;
    at += 4 + length;
  }
  EXPECT_EQ(20, records);  // the tag, the 18 settings and the checksum
}

// Damage anywhere refuses the whole file: nothing of it is loaded, not
// even the records before the damage.
TEST(ProjectFile, UnreadableFilesNameTheirMessage) {
  const std::string good = WorkPath("sfxcore-project-good.ssf");
  ASSERT_EQ(1, SaveProjectFile(FullProject(), good.c_str()));
  const std::string bytes = ReadBytes(good);
  // The header, then the tag record (4 + 48 bytes), then the zip's record.
  const size_t zipRecord = CMyCipherFile::kHeaderBytes + 4 + 48;
  ASSERT_GT(bytes.size(), zipRecord + 200);
  std::string headerAltered = bytes;
  headerAltered[0] ^= 0x5A;
  headerAltered[1] ^= 0xA5;
  std::string lengthNotBlock = bytes;
  lengthNotBlock[zipRecord] = '\x11';
  const struct {
    const char* what;
    std::string content;  // none: the file does not exist
    int message;
  } cases[] = {
      {"header check altered", headerAltered, kProjectCheckFailed},
      {"missing", "", kProjectFormatNotRecognized},
      {"cut inside the zip's record", bytes.substr(0, zipRecord + 10), kProjectCheckFailed},
      {"cut inside a length word", bytes.substr(0, zipRecord + 2), kProjectCheckFailed},
      {"cut near the end", bytes.substr(0, bytes.size() - 5), kProjectCheckFailed},
      {"a length that is not whole blocks", lengthNotBlock, kProjectCheckFailed},
  };
  const std::string path = WorkPath("sfxcore-project-damaged.ssf");
  for (const auto& c : cases) {
    DeleteFileA(path.c_str());
    if (!c.content.empty()) WriteBytes(path, c.content);
    ProjectSettings loaded = FullProject();
    int message = 0;
    EXPECT_EQ(1, LoadProjectFile(loaded, path.c_str(), &message)) << c.what;
    EXPECT_EQ(c.message, message) << c.what;
    EXPECT_EQ("", loaded.sourceArchive) << c.what;
    EXPECT_EQ(kDefaultLevelListIndex, loaded.levelListIndex) << c.what;
  }
  EXPECT_EQ(0, SaveProjectFile(FullProject(), WorkPath("sfxcore-no-folder\\x.ssf").c_str()));
}

// A save is written beside the project and replaces it only when whole: a
// project that cannot be replaced (another program holds it open) keeps its
// bytes, and nothing is left over.
TEST(ProjectFile, ASaveThatCannotTakeItsPlaceKeepsTheOldProject) {
  const std::string path = WorkPath("sfxcore-project-kept.ssf");
  ASSERT_EQ(1, SaveProjectFile(FullProject(), path.c_str()));
  const std::string before = ReadBytes(path);
  ProjectSettings other = FullProject();
  other.sourceArchive = "C:\\elsewhere\\other.zip";

  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(0, SaveProjectFile(other, path.c_str()));
  CloseHandle(held);
  EXPECT_EQ(before, ReadBytes(path));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".saving").c_str()));

  EXPECT_EQ(1, SaveProjectFile(other, path.c_str()));
  ProjectSettings loaded;
  EXPECT_EQ(0, LoadProjectFile(loaded, path.c_str(), nullptr));
  EXPECT_EQ(other.sourceArchive, loaded.sourceArchive);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".saving").c_str()));
}

}  // namespace
