// The file list: stored names, folder walks, filters, duplicates, and the
// archive never listed in itself.
#include <set>

#include "update/ZipEntryList.h"
#include "ZipDiskTestSupport.h"
#include "device_names.h"
#include "ZipFileList.h"
#include "volumes/ZipDriveServices.h"

namespace {

struct StoredNameCase {
  const char *path;
  int storeDirectoryNames;
  int upperCase;
  const char *name;
};

// Every name that could leave the folder an archive is extracted into loses
// the parts that would.
const StoredNameCase kStoredNames[] = {
    {"C:\\data\\file.txt", 1, 0, "data/file.txt"},
    {"\\\\server\\share\\data\\file.txt", 1, 0, "data/file.txt"},
    {"\\\\lead\\file.txt", 1, 0, ""},
    {"..\\..\\etc\\passwd", 1, 0, "etc/passwd"},
    {"a\\..\\..\\b.txt", 1, 0, "a/b.txt"},
    {"C:..\\x\\..\\y.txt", 1, 0, "x/y.txt"},
    {"folder\\sub\\", 1, 0, "folder/sub/"},
    {"folder\\..\\", 1, 0, "folder/"},
    {"d\\e\\f.txt", 0, 0, "f.txt"},
    {"d\\e\\", 0, 0, "e/"},
    {"d\\f.txt", 1, 1, "D/F.TXT"},
    {"C:\\", 1, 0, ""},
};

class ZipFileListTest : public ZipDiskTest {
 protected:
  void SetUp() override {
    ZipDiskTest::SetUp();
    Scratch("list");
    for (const char *name : {"tree\\a.txt", "tree\\b.TMP", "tree\\README", "tree\\archive.zip", "tree\\sub\\c.txt",
                             "tree\\sub\\deep\\d.txt"})
      WriteText(name, name);
    strcpy(state->archiveName, "tree\\archive.zip");
  }
  void TearDown() override {
    ZipFreeNewFiles(state);
    ZipFreePatterns(state);
    ZipDiskTest::TearDown();
  }
  std::multiset<std::string> Listed() {
    EXPECT_EQ(ZipSortNewFiles(state), 0);
    std::multiset<std::string> names;
    for (ZipNewFile *node = state->loop.newFiles; node; node = node->next) names.insert(node->name);
    return names;
  }
  void Exclude(const char *patterns) {
    ZIPCMDSTRUCT record = {};
    record.excludeFollowingFlag = 1;
    record.lpszExludeFollowing = const_cast<char *>(patterns);
    ASSERT_EQ(ZipBuildPatternList(&record, state), 0);
  }
};

TEST_F(ZipFileListTest, StoredNamesDropDrivesServersAndParentSteps) {
  for (const StoredNameCase &c : kStoredNames) {
    state->main.storeDirectoryNames = c.storeDirectoryNames;
    state->main.upperCaseNames = c.upperCase;
    char *name = ZipStoredNameOfPath(c.path, state);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, c.name) << c.path;
    free(name);
  }
}

// A name Windows opens as a device is never listed: neither one the system
// finds for an item naming it (every form of every device) nor a file a Unix
// side holds under such a name, which would be read as the device.
TEST_F(ZipFileListTest, DeviceNamesAreNeverListed) {
  state->main.addDirectoryEntries = 0;
  for (const std::string &name : DeviceNameForms()) {
    for (const std::string &item : {name, "tree\\" + name})
      EXPECT_EQ(ZipCollectItem(item.c_str(), state), -1) << '[' << item << ']';
  }
  EXPECT_EQ(Listed(), std::multiset<std::string>{});
  state->subOptions |= ZSO_RELATIVE_NAMES;
  ASSERT_EQ(ZipCollectItem((DiskWork("device-files") + "\\*").c_str(), state), 0);
  EXPECT_EQ(Listed(), std::multiset<std::string>{"plain.txt"});
}

TEST_F(ZipFileListTest, RecursionListsEachFolderOnceAndNeverTheArchive) {
  state->main.recurse = 1;
  ASSERT_EQ(ZipCollectItem("tree\\*", state), 0);
  EXPECT_EQ(Listed(), (std::multiset<std::string>{"tree/README", "tree/a.txt", "tree/b.TMP", "tree/sub/",
                                                   "tree/sub/c.txt", "tree/sub/deep/", "tree/sub/deep/d.txt"}));
}

TEST_F(ZipFileListTest, FolderWithoutRecursionListsItselfAndItsFiles) {
  ASSERT_EQ(ZipCollectItem("tree\\sub", state), 0);
  EXPECT_EQ(Listed(), (std::multiset<std::string>{"tree/sub/", "tree/sub/c.txt"}));
}

TEST_F(ZipFileListTest, ExcludePatternIgnoresCase) {
  Exclude("*.tmp \"*.zip\"");
  ASSERT_EQ(ZipCollectItem("tree\\*.*", state), 0);
  EXPECT_EQ(Listed(), (std::multiset<std::string>{"tree/", "tree/README", "tree/a.txt"}));
}

TEST_F(ZipFileListTest, FileNamedTwiceIsListedOnce) {
  state->main.addDirectoryEntries = 0;
  for (const char *item : {"tree\\a.txt", "tree\\A.TXT", "tree\\a.txt"}) ASSERT_EQ(ZipCollectItem(item, state), 0);
  EXPECT_EQ(Listed(), (std::multiset<std::string>{"tree/a.txt"}));
}

TEST_F(ZipFileListTest, NameEndingInDotTakesOnlyFilesWithoutExtension) {
  state->main.addDirectoryEntries = 0;
  ASSERT_EQ(ZipCollectItem("tree\\*.", state), 0);
  EXPECT_EQ(Listed(), (std::multiset<std::string>{"tree/README"}));
}

TEST_F(ZipFileListTest, ItemMatchingNothingAnswersMinusOne) {
  state->main.addDirectoryEntries = 0;
  EXPECT_EQ(ZipCollectItem("tree\\*.none", state), -1);
  EXPECT_EQ(ZipCollectItem("missing\\x.txt", state), -1);
  EXPECT_TRUE(Listed().empty());
}

TEST_F(ZipFileListTest, RelativeNamesDropTheItemsFolder) {
  state->subOptions = ZSO_RELATIVE_NAMES;
  state->main.addDirectoryEntries = 0;
  ASSERT_EQ(ZipCollectItem("tree\\sub\\*.txt", state), 0);
  EXPECT_EQ(Listed(), (std::multiset<std::string>{"c.txt"}));
}

TEST_F(ZipFileListTest, RenameCallbackGivesTheStoredName) {
  state->subOptions = ZSO_RENAME_CALLBACK;
  state->main.addDirectoryEntries = 0;
  state->renameProc = [](void *record, void *) {
    auto *rename = static_cast<ZipRenameRecord *>(record);
    strcpy(rename->name, "renamed/file.txt");
    rename->attributes = 0xFF;
  };
  ASSERT_EQ(ZipCollectItem("tree\\a.txt", state), 0);
  EXPECT_EQ(Listed(), (std::multiset<std::string>{"renamed/file.txt"}));
  EXPECT_EQ(state->loop.newFiles->attributes & ~0x27u, 0u);
}

// Option 0x0040: a file another program holds without sharing is asked
// about with two buttons: Cancel stops the item with 9, Retry tries again
// (here the holder lets go while the question is up); without prompts the
// file is skipped.
TEST_F(ZipFileListTest, ExclusiveOpenAsksRetryOrCancel) {
  state->subOptions = ZSO_EXCLUSIVE_OPEN;
  state->main.addDirectoryEntries = 0;
  static HANDLE held;
  held = CreateFileA("tree\\a.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  recorder.answer = IDRETRY;
  recorder.onShown = [](MessageRecorder *, int) { CloseHandle(held); };
  EXPECT_EQ(ZipCollectItem("tree\\a.txt", state), 0);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0].type, 16);
  // Checked before Cancel is answered: a box with other buttons would not take it.
  ASSERT_EQ(recorder.shown[0].style & 15, MB_RETRYCANCEL);

  held = CreateFileA("tree\\b.TMP", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  recorder.answer = IDCANCEL;
  recorder.onShown = nullptr;
  EXPECT_EQ(ZipCollectItem("tree\\b.TMP", state), 9);
  EXPECT_EQ(recorder.shown.size(), 2u);
  state->promptsAllowed = 0;
  EXPECT_EQ(ZipCollectItem("tree\\b.TMP", state), -1) << "skipped: nothing taken";
  CloseHandle(held);
  EXPECT_EQ(recorder.shown.size(), 2u) << "no question without prompts";
  EXPECT_EQ(Listed(), (std::multiset<std::string>{"tree/a.txt"}));
}

// includeVolumeFlag: the label of the first item's drive is listed once, as
// an entry with the volume attribute; a drive without a label adds none.
TEST_F(ZipFileListTest, VolumeLabelOfTheItemsDriveIsAnEntry) {
  static ZipDriveServices labelled;
  labelled = ZipSystemDriveServices();
  labelled.volumeLabel = [](const char *, char *out, size_t capacity) {
    lstrcpynA(out, "BACKUP 07", static_cast<int>(capacity));
    return TRUE;
  };
  ZipInstallDriveServices(&labelled);
  state->main.volumeLabelEntry = 1;
  state->main.addDirectoryEntries = 0;
  char item[MAX_PATH];
  GetFullPathNameA("tree\\a.txt", sizeof item, item, nullptr);
  EXPECT_EQ(ZipCollectItem(item, state), 0);
  EXPECT_EQ(ZipCollectItem(item, state), 0);
  ZipInstallDriveServices(nullptr);
  std::multiset<std::string> listed = Listed();
  EXPECT_EQ(listed.count("BACKUP 07"), 1u);
  EXPECT_EQ(listed.size(), 2u);  // and the file itself
  ZipNewFile *label = state->loop.newFiles;
  while (label && strcmp(label->name, "BACKUP 07") != 0) label = label->next;
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->attributes, 8u);
}

}  // namespace
