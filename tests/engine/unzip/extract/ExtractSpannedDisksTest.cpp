// A set spanned over removable disks, simulated: one path stands for the
// drive, the message callback "inserts" the disk asked for by writing that
// part to it, and the drive services tell the drive is removable and what
// label the inserted disk carries. A disk whose label is not the one the set
// expects ("PKBACK# %03d") is refused and asked for again.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include "ExtractTestSupport.h"
#include "UnzipDriveServices.h"

namespace {

const int kDisks = 7;  // izip-split: six .z0N parts and the .zip
std::string gDrivePath;
int gInserted;
int gWrongInsertions;  // the disk before the one asked for is given this many times first
int gPromptsForData;
bool gCancelAfterWrong;

void Insert(int disk) {
  char part[16];
  snprintf(part, sizeof part, disk == kDisks ? ".zip" : ".z%02d", disk);
  Bytes bytes = ReadFileBytes(Work(std::string("izip-split") + part));
  // The engine may hold the drive's file open (sharing reads and writes).
  HANDLE file = CreateFileA(gDrivePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  gInserted = disk;
}

UINT RemovableDrive(const char *) { return DRIVE_REMOVABLE; }

BOOL InsertedLabel(const char *, char *out, size_t capacity) {
  snprintf(out, capacity, "PKBACK# %03d", gInserted);
  return TRUE;
}

const UnzipDriveServices kSimulatedDrive = {RemovableDrive, InsertedLabel};

// Disk prompts: type 0 (first = the disk, -1 the first, second -1 the last)
// and type 1 (disk of total).
int CALLBACK AnswerPrompts(int type, int style, int first, int second, char *, char *, void *) {
  if (type == 13) return -1;
  if (type != 0 && type != 1) return (style & 15) == MB_OK ? IDOK : IDCANCEL;
  int disk = second == -1 ? kDisks : first == -1 ? 1 : first;
  // Prompts of type 0 for a numbered disk come when a member's data runs on.
  bool forData = type == 0 && first > 1 && second == 0;
  if (forData) ++gPromptsForData;
  if (forData && gWrongInsertions > 0) {
    --gWrongInsertions;
    Insert(disk - 1);
    return IDOK;
  }
  if (forData && gCancelAfterWrong) return IDCANCEL;
  Insert(disk);
  return IDOK;
}

struct DriveSimulation {
  DriveSimulation() { UnzipInstallDriveServices(&kSimulatedDrive); }
  ~DriveSimulation() { UnzipInstallDriveServices(nullptr); }
};

int TestBigMember() {
  UNZIPCMDSTRUCT command = Command(kUnzipExtract, gDrivePath);
  command.lpMessageDisplay = AnswerPrompts;
  command.lpszFilespec = "big.bin";
  command.recurseFlag = 1;
  command.testFlag = 1;
  return UnzipExecute(&command);
}

TEST(SpannedDisks, ADiskWithAnotherLabelIsRefusedAndAskedForAgain) {
  CreateDirectoryA(Work("drive").c_str(), nullptr);
  gDrivePath = Work("drive/set.zip");
  DriveSimulation simulation;
  struct Case {
    int wrongInsertions;
    bool cancelAfterWrong;
    int result;
    int promptsForData;
  } cases[] = {
      {0, false, 0, 3},  // big.bin runs on over three more disks
      {1, false, 0, 4},  // the first disk given is the wrong one: asked for once more
      {1, true, 48, 2},  // the user gives up after the wrong disk
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.wrongInsertions * 10 + c.cancelAfterWrong);
    Insert(kDisks);  // the user starts with the last disk, which holds the directory
    gWrongInsertions = c.wrongInsertions;
    gCancelAfterWrong = c.cancelAfterWrong;
    gPromptsForData = 0;
    EXPECT_EQ(c.result, TestBigMember());
    EXPECT_EQ(c.promptsForData, gPromptsForData);
  }
}

}  // namespace
