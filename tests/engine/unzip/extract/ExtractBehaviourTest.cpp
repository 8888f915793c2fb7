// Function 8's answers to what it meets on disk and in the archive: names
// that try to leave the destination, existing files, bad data, wrong
// passwords; functions 9 and 11 and their memory window.
#include <gtest/gtest.h>
#include <cstring>
#include "ExtractTestSupport.h"
#include "device_names.h"

namespace {

std::string Fresh(const std::string &name) {
  std::string folder = Work("behaviour/" + name);
  RemoveTree(folder);
  CreateDirectoryA(Work("behaviour").c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

Bytes Text(const char *text) { return Bytes(text, text + strlen(text)); }

UNZIPCMDSTRUCT ExtractCommand(const std::string &archive, const std::string &destination, const char *filespec) {
  UNZIPCMDSTRUCT command = Command(kUnzipExtract, archive);
  command.lpszFilespec = filespec;
  command.recurseFlag = 1;
  command.lpszDestination = Kept(destination);
  return command;
}

TEST(EscapeNames, NothingLandsOutsideAndEveryRefusalIsReported) {
  std::string outer = Fresh("escape");
  std::string destination = outer + "/dest/inner";
  CreateDirectoryA((outer + "/dest").c_str(), nullptr);
  CreateDirectoryA(destination.c_str(), nullptr);
  Messages().clear();
  UNZIPCMDSTRUCT command = ExtractCommand(Work("escape.zip"), destination, "*.*");
  command.overWriteFlag = 1;
  command.quietFlag = 1;
  EXPECT_EQ(0, UnzipExecute(&command));
  // Prefixes dropped: /abs, \abs, C:x, C:\x, \\srv\sh\x and x:stream land inside.
  std::vector<std::string> inside = {"abs", "good.txt", "stream", "x"};
  EXPECT_EQ(inside, FilesBelow(destination));
  std::vector<std::string> below;
  for (const std::string &file : inside) below.push_back("dest/inner/" + file);
  EXPECT_EQ(below, FilesBelow(outer)) << "written outside the destination";
  for (const char *refused : {"../x", "..\\x", "a/../../x", "a. \\b", "dir/CON", "ok/../../y"})
    EXPECT_TRUE(MessageNames(std::string(refused) + ": skipped")) << refused;
  // Every form of every device name, alone and below a folder, for what its
  // name holds (a file that could not be made would be refused for its path).
  for (const std::string &device : DeviceNameForms()) {
    const std::string why = EndsInDotOrBlank(device) ? "a component ending in a dot or a blank" : "a device name";
    for (const std::string &refused : {device, "dir/" + device})
      EXPECT_TRUE(MessageNames(refused + ": skipped, its name holds " + why)) << '[' << refused << ']';
  }
}

// The overwrite question, answered through the message callback.
TEST(Overwrite, AnswersTable) {
  struct Case {
    int answer;
    int result;
    bool replaced;
    bool askedForSecond;  // a second existing file is asked about too
  };
  const Case cases[] = {
      {IDYES, 0, true, true}, {IDIGNORE, 0, true, false}, {100, 0, true, false},
      {IDNO, 0, false, true}, {IDCANCEL, 48, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.answer);
    std::string dest = Fresh("overwrite");
    CreateDirectoryA((dest + "/dir").c_str(), nullptr);
    WriteFileBytes(dest + "/a.txt", Text("old"));
    WriteFileBytes(dest + "/one.bin", Text("old"));
    Messages().clear();
    gQuestionAnswer = c.answer;
    UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-6.zip"), dest, "a.txt one.bin");
    EXPECT_EQ(c.result, UnzipExecute(&command));
    int questions = 0;
    for (const Message &m : Messages()) questions += m.type == 8;
    EXPECT_EQ(c.askedForSecond ? 2 : 1, questions);
    EXPECT_EQ(c.replaced, ReadFileBytes(dest + "/a.txt") != Text("old"));
    EXPECT_EQ(std::vector<std::string>({"a.txt", "one.bin"}), FilesBelow(dest)) << "no temporary file left";
  }
  gQuestionAnswer = IDCANCEL;
}

TEST(Overwrite, ReadOnlyTargetAnsweredYesIsReplaced) {
  std::string dest = Fresh("readonly");
  WriteFileBytes(dest + "/a.txt", Text("old"));
  SetFileAttributesA((dest + "/a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  Messages().clear();
  gQuestionAnswer = IDYES;
  UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-6.zip"), dest, "a.txt");
  EXPECT_EQ(0, UnzipExecute(&command));
  gQuestionAnswer = IDCANCEL;
  ASSERT_EQ(1u, Messages().size());
  EXPECT_NE(std::string::npos, Messages()[0].text.find("Read Only"));
  EXPECT_EQ(ReadFileBytes(Work("expected/izip-6/a.txt")), ReadFileBytes(dest + "/a.txt"));
}

TEST(Overwrite, QuietSkipsExistingFiles) {
  std::string dest = Fresh("quiet");
  WriteFileBytes(dest + "/a.txt", Text("old"));
  UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-6.zip"), dest, "a.txt");
  command.quietFlag = 1;
  EXPECT_EQ(0, UnzipExecute(&command));
  EXPECT_EQ(Text("old"), ReadFileBytes(dest + "/a.txt"));
}

// A stored member with one data byte changed: its CRC no longer holds.
std::string CorruptArchive() {
  Bytes archive = ReadFileBytes(Work("izip-0.zip"));
  std::string marker = "a.txt";
  auto at = std::search(archive.begin(), archive.end(), marker.begin(), marker.end());
  *(at + marker.size() + 100) ^= 0x20;
  std::string path = Work("behaviour/corrupt.zip");
  WriteFileBytes(path, archive);
  return path;
}

TEST(BadData, CrcMismatchLeavesTheOldFileUnlessKeepingIsAsked) {
  std::string dest = Fresh("badcrc");
  std::string archive = CorruptArchive();
  WriteFileBytes(dest + "/a.txt", Text("old"));
  UNZIPCMDSTRUCT command = ExtractCommand(archive, dest, "a.txt");
  command.overWriteFlag = 1;
  command.quietFlag = 1;
  EXPECT_EQ(39, UnzipExecute(&command));
  EXPECT_EQ(Text("old"), ReadFileBytes(dest + "/a.txt"));
  EXPECT_EQ(std::vector<std::string>({"a.txt"}), FilesBelow(dest));
  DeleteFileA((dest + "/a.txt").c_str());
  EXPECT_EQ(39, UnzipExecute(&command));
  EXPECT_FALSE(Exists(dest + "/a.txt"));
  command.wUnzipSubOptions = kUnzipKeepPartialOutput;
  EXPECT_EQ(39, UnzipExecute(&command));
  EXPECT_EQ(ReadFileBytes(Work("expected/izip-0/a.txt")).size(), ReadFileBytes(dest + "/a.txt").size());
}

// A changed byte of a member's data fails its CRC on every road: decrypted
// (traditional, stored, so one byte of plain text changes with the key
// stream after it), and into memory by functions 9 and 11.
TEST(BadData, EveryRoadChecksTheCrc) {
  Bytes trad = ReadFileBytes(Work("izip-trad0.zip"));
  std::string marker = "a.txt";
  auto at = std::search(trad.begin(), trad.end(), marker.begin(), marker.end());
  size_t extra = *(at - 2) | *(at - 1) << 8;  // the local header's extra length stands before the name
  *(at + marker.size() + extra + 12 + 100) ^= 0x20;  // past the encryption header
  WriteFileBytes(Work("behaviour/corrupt-trad.zip"), trad);
  std::string dest = Fresh("badcrc-roads");
  UNZIPCMDSTRUCT command = ExtractCommand(Work("behaviour/corrupt-trad.zip"), dest, "a.txt");
  command.quietFlag = 1;
  command.decryptFlag = 1;
  command.lpszDecryptCode = "Secret123";
  EXPECT_EQ(39, UnzipExecute(&command)) << "traditional, stored";
  EXPECT_FALSE(Exists(dest + "/a.txt"));

  std::string corrupt = CorruptArchive();
  const uint32_t size = static_cast<uint32_t>(ReadFileBytes(Work("expected/izip-0/a.txt")).size());
  for (int function : {UNZIP_FILETOMEM, kUnzipMemoryToMemory}) {
    SCOPED_TRACE(function);
    Bytes block(size);
    StreamPartner partner;
    CALLBACKSTRUCT callbacks = {sizeof callbacks, StreamIo, &partner, {}};
    UNZIPCMDSTRUCT memory = Command(function, corrupt);
    memory.lpszFilespec = "a.txt";
    memory.quietFlag = 1;
    memory.lpMemBlock = function == UNZIP_FILETOMEM ? block.data() : nullptr;
    memory.lMemBlockSize = size;
    memory.lpCallbackStruct = &callbacks;
    EXPECT_EQ(39, UnzipExecute(&memory));
  }
}

// Two end records, the last stating a comment that runs past the file's end:
// other tools read either directory, so every function refuses the archive
// as structurally broken and nothing is written.
TEST(BadData, AmbiguousEndRecordsAreRefusedByEveryFunction) {
  const std::string archive = Work("ambiguous-end.zip");
  std::string dest = Fresh("ambiguous-end");
  const int functions[] = {kUnzipCount,       kUnzipNextInfo,   kUnzipCountMatches, kUnzipNextMatch,
                           kUnzipCommentSize, kUnzipCommentText, kUnzipInfoByIndex,  kUnzipExtract,
                           UNZIP_FILETOMEM,   kUnzipMemoryToMemory};
  for (int function : functions) {
    SCOPED_TRACE(function);
    UnzipMemberInfo info = {};
    char comment[256] = {};
    Bytes block(64);
    StreamPartner partner;
    CALLBACKSTRUCT callbacks = {sizeof callbacks, StreamIo, &partner, {}};
    UNZIPCMDSTRUCT command = ExtractCommand(archive, dest, "*.*");
    command.Function = function;
    command.quietFlag = 1;
    command.zInfo = &info;
    command.index = 0;
    command.lpszReturnString = comment;
    command.returnCount = sizeof comment;
    command.lpMemBlock = function == UNZIP_FILETOMEM ? block.data() : nullptr;
    command.lMemBlockSize = static_cast<uint32_t>(block.size());
    command.lpCallbackStruct = &callbacks;
    EXPECT_EQ(3, UnzipExecute(&command));
    EXPECT_TRUE(partner.output.empty());
  }
  EXPECT_TRUE(FilesBelow(dest).empty());
}

// The archive with a.txt's stated size, in its local and central header,
// set to size.
std::string ArchiveStatingSize(uint32_t size) {
  Bytes archive = ReadFileBytes(Work("7z-deflate64.zip"));
  struct Header {
    const char *signature;
    size_t sizeAt, nameLengthAt, nameAt;
  };
  const Header headers[] = {{"PK\3\4", 22, 26, 30}, {"PK\1\2", 24, 28, 46}};
  for (size_t at = 0; at + 46 + 5 <= archive.size(); ++at)
    for (const Header &header : headers)
      if (memcmp(&archive[at], header.signature, 4) == 0 && archive[at + header.nameLengthAt] == 5 &&
          memcmp(&archive[at + header.nameAt], "a.txt", 5) == 0)
        for (int i = 0; i < 4; ++i) archive[at + header.sizeAt + i] = static_cast<uint8_t>(size >> (8 * i));
  std::string path = Work("behaviour/stated-size.zip");
  WriteFileBytes(path, archive);
  return path;
}

// A member that decodes to more than its headers state is cut there, also
// where whole buffers' worth go on uncopied, and fails.
TEST(BadData, AMemberLongerThanItsStatedSizeIsCutThereAndFails) {
  const uint32_t stated = 100000;
  const Bytes whole = ReadFileBytes(Work("expected/7z-deflate64/a.txt"));
  ASSERT_GT(whole.size(), stated + 61440);
  std::string dest = Fresh("stated-size");
  UNZIPCMDSTRUCT command = ExtractCommand(ArchiveStatingSize(stated), dest, "a.txt");
  command.quietFlag = 1;
  EXPECT_EQ(3, UnzipExecute(&command));
  EXPECT_FALSE(Exists(dest + "/a.txt"));
  command.wUnzipSubOptions = kUnzipKeepPartialOutput;
  EXPECT_EQ(3, UnzipExecute(&command));
  EXPECT_TRUE(Bytes(whole.begin(), whole.begin() + stated) == ReadFileBytes(dest + "/a.txt"));
}

TEST(BadData, WrongPasswordSkipsOrStops) {
  std::string dest = Fresh("password");
  UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-trad.zip"), dest, "a.txt");
  command.decryptFlag = 1;
  command.lpszDecryptCode = "wrong";
  command.quietFlag = 1;
  EXPECT_EQ(49, UnzipExecute(&command)) << "quiet: skipped";
  command.quietFlag = 0;
  gQuestionAnswer = IDOK;
  Messages().clear();
  EXPECT_EQ(49, UnzipExecute(&command)) << "go on: skipped";
  EXPECT_TRUE(MessageNames("a.txt is encrypted"));
  gQuestionAnswer = IDCANCEL;
  EXPECT_EQ(44, UnzipExecute(&command));
  EXPECT_TRUE(FilesBelow(dest).empty());
  command.lpszDecryptCode = "Secret123";
  EXPECT_EQ(0, UnzipExecute(&command));
  EXPECT_EQ(ReadFileBytes(Work("expected/izip-trad/a.txt")), ReadFileBytes(dest + "/a.txt"));
}

// Keeping partial output keeps what a decoder wrote, never an output made
// before the password was checked: the user's file stays as it was.
TEST(BadData, WrongPasswordKeepsTheExistingFileWhenKeepingPartialOutput) {
  std::string dest = Fresh("password-keep");
  WriteFileBytes(dest + "/a.txt", Text("the user's own"));
  UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-trad.zip"), dest, "a.txt");
  command.decryptFlag = 1;
  command.lpszDecryptCode = "wrong";
  command.quietFlag = 1;
  command.overWriteFlag = 1;
  command.wUnzipSubOptions = kUnzipKeepPartialOutput;
  UnzipExecute(&command);
  EXPECT_EQ(Text("the user's own"), ReadFileBytes(dest + "/a.txt"));
  EXPECT_EQ(std::vector<std::string>({"a.txt"}), FilesBelow(dest));
}

TEST(ByIndex, FreshenWithoutTargetWritesNothing) {
  std::string dest = Fresh("freshen");
  UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-6.zip"), dest, nullptr);
  command.index = 1;  // dir/b.bin
  command.freshenFlag = 1;
  command.quietFlag = 1;
  EXPECT_EQ(11, UnzipExecute(&command));
  EXPECT_TRUE(FilesBelow(dest).empty());
  command.freshenFlag = 0;
  command.updateFlag = 1;
  EXPECT_EQ(0, UnzipExecute(&command));
  EXPECT_EQ(1u, FilesBelow(dest).size());
}

TEST(ByIndex, NoDirectoryNamesPutsEveryFileInTheDestination) {
  std::string dest = Fresh("flat");
  UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-6.zip"), dest, "*.*");
  command.noDirectoryNamesFlag = 1;
  EXPECT_EQ(0, UnzipExecute(&command));
  EXPECT_TRUE(Exists(dest + "/c.txt"));
  EXPECT_FALSE(Exists(dest + "/dir"));
}

// Function 9 into a memory block, function 11 through the callback.
TEST(MemoryWindow, OffsetExactFillAndOverflow) {
  const Bytes whole = ReadFileBytes(Work("expected/izip-6/a.txt"));
  struct Case {
    uint32_t offset;
    uint32_t size;
    int result;
  };
  const uint32_t n = static_cast<uint32_t>(whole.size());
  const Case cases[] = {{0, n, 0}, {0, n + 100, 0}, {100, n - 100, 0}, {0, 1000, 0}, {500, 1000, 0}, {n, 10, 2}};
  for (int function : {UNZIP_FILETOMEM, kUnzipMemoryToMemory}) {
    for (const Case &c : cases) {
      SCOPED_TRACE(testing::Message() << function << " " << c.offset << " " << c.size);
      Bytes block(c.size + 16, 0x55);
      StreamPartner partner;
      CALLBACKSTRUCT callbacks = {sizeof callbacks, StreamIo, &partner, {}};
      UNZIPCMDSTRUCT command = Command(function, Work("izip-6.zip"));
      command.lpszFilespec = "a.txt";
      command.quietFlag = 1;
      command.lpMemBlock = function == UNZIP_FILETOMEM ? block.data() : nullptr;
      command.lMemBlockSize = c.size;
      command.lStartingOffset = c.offset;
      command.lpCallbackStruct = &callbacks;
      if (function == kUnzipMemoryToMemory) command.index = 0;
      EXPECT_EQ(c.result, UnzipExecute(&command));
      if (c.result) continue;
      size_t placed = std::min<size_t>(c.size, whole.size() - c.offset);
      Bytes expected(whole.begin() + c.offset, whole.begin() + c.offset + placed);
      Bytes got = function == UNZIP_FILETOMEM ? Bytes(block.begin(), block.begin() + placed) : partner.output;
      EXPECT_TRUE(expected == got);
      if (function == UNZIP_FILETOMEM) EXPECT_EQ(0x55, block[placed]) << "written past the window";
    }
  }
  UNZIPCMDSTRUCT command = Command(kUnzipMemoryToMemory, Work("izip-6.zip"));
  command.index = 0;
  command.quietFlag = 1;
  command.lMemBlockSize = 100;
  EXPECT_EQ(47, UnzipExecute(&command)) << "function 11 without a callback";
}

}  // namespace

namespace {
TEST(Overwrite, TheProgramCarriesTheQuestionTemplate) {
  HRSRC found = FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(5));
  ASSERT_NE(nullptr, found);
  EXPECT_GT(SizeofResource(GetModuleHandleA(nullptr), found), 100u);
}
}  // namespace

namespace {
// Split part names come from the file name's last ".zip", never a folder's.
TEST(SplitParts, FolderNamedLikeAnArchive) {
  std::string folder = Fresh("parts.zip");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Work("izip-split.z*").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  do {
    std::string name = found.cFileName;
    CopyFileA(Work(name).c_str(), (folder + "/set" + name.substr(name.find('.'))).c_str(), FALSE);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  ASSERT_TRUE(Exists(folder + "/set.z01") && Exists(folder + "/set.zip"));
  std::string dest = Fresh("split-out");
  UNZIPCMDSTRUCT command = ExtractCommand(folder + "/set.zip", dest, "big.bin");
  EXPECT_EQ(0, UnzipExecute(&command));
  EXPECT_EQ(ReadFileBytes(Work("expected/izip-split/dir/big.bin")), ReadFileBytes(dest + "/dir/big.bin"));
}
}  // namespace

namespace {
std::string gRenamedPath;
size_t gSeenLength;

void CALLBACK RenameShort(void *record, void *) {
  auto *r = static_cast<UnzipRenameRecord *>(record);
  gSeenLength = strnlen(r->path, sizeof r->path);
  lstrcpynA(r->path, gRenamedPath.c_str(), sizeof r->path);
  r->dosDate = 0x3021;  // 2004-01-01
}

void CALLBACK RenameLong(void *record, void *) {
  auto *r = static_cast<UnzipRenameRecordEx *>(record);
  gSeenLength = strnlen(r->path, sizeof r->path);
  lstrcpynA(r->path, gRenamedPath.c_str(), sizeof r->path);
}

TEST(Rename, CallbacksChooseTheTargetAndItsDate) {
  std::string dest = Fresh("rename");
  gRenamedPath = dest + "\\renamed.txt";
  UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-6.zip"), dest, "c.txt");
  command.lpRenameProc = RenameShort;
  EXPECT_EQ(0, UnzipExecute(&command));
  EXPECT_EQ(Bytes({'c', '\n'}), ReadFileBytes(gRenamedPath));
  EXPECT_EQ(std::vector<std::string>({"renamed.txt"}), FilesBelow(dest)) << "written under one name only";
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(gRenamedPath.c_str(), GetFileExInfoStandard, &data));
  FILETIME local;
  WORD date, time;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToDosDateTime(&local, &date, &time);
  EXPECT_EQ(0x3021, date);

  gRenamedPath = dest + "\\long.txt";
  command.lpRenameProc = nullptr;
  command.lpRenameProcEX = RenameLong;
  command.lUnZipSubOptions2 = kUnzipRenameLongRecord;
  EXPECT_EQ(0, UnzipExecute(&command));
  EXPECT_TRUE(Exists(gRenamedPath));
}

// The short record's path field holds 259 characters and the terminator.
TEST(Rename, ShortRecordPathIsCutAndTerminated) {
  std::string dest = Fresh("rename-deep");
  std::string deep = dest;
  while (deep.size() < 280) {
    deep += "\\" + std::string(40, 'd');
    CreateDirectoryA(deep.c_str(), nullptr);
  }
  gRenamedPath = dest + "\\short.txt";
  gSeenLength = 0;
  UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-6.zip"), deep, "c.txt");
  command.lpRenameProc = RenameShort;
  command.quietFlag = 1;
  Messages().clear();
  EXPECT_EQ(0, UnzipExecute(&command)) << deep.size();
  EXPECT_EQ(259u, gSeenLength) << (Messages().empty() ? "" : Messages()[0].text);
}

TEST(Target, TheArchiveItselfIsNeverOverwritten) {
  std::string dest = Fresh("self");
  CopyFileA(Work("izip-6.zip").c_str(), (dest + "/a.txt").c_str(), FALSE);
  Messages().clear();
  UNZIPCMDSTRUCT command = ExtractCommand(dest + "/a.txt", dest, "a.txt");
  command.overWriteFlag = 1;
  EXPECT_EQ(0, UnzipExecute(&command));
  EXPECT_TRUE(MessageNames("on top of itself"));
  EXPECT_EQ(ReadFileBytes(Work("izip-6.zip")), ReadFileBytes(dest + "/a.txt"));
}
}  // namespace

namespace {
// Spanned disks, played by the split set's parts: each disk prompt puts the
// part asked for in place under the one archive name.
std::string gDiskPath;
std::vector<int> gDisksAsked;

int CALLBACK ChangeDisk(int type, int style, int first, int second, char *text, char *title, void *data) {
  if (type != 0 && type != 1) return RecordMessage(type, style, first, second, text, title, data);
  const int total = 7;  // izip-split.z01 to .z06, then .zip
  int disk = type == 0 && second == -1 ? total : first;
  gDisksAsked.push_back(disk);
  char part[32];
  snprintf(part, sizeof part, disk == total ? "izip-split.zip" : "izip-split.z%02d", disk);
  return CopyFileA(Work(part).c_str(), gDiskPath.c_str(), FALSE) ? IDOK : IDCANCEL;
}

TEST(SpannedDisks, PromptsBringEachDiskInTurn) {
  std::string folder = Fresh("disks");
  gDiskPath = folder + "\\disk.zip";
  CopyFileA(Work("izip-split.z01").c_str(), gDiskPath.c_str(), FALSE);
  // Disks are never extracted onto their own volume.
  std::string dest = "C:\\brennicor-extract-disks";
  RemoveTree(dest);
  CreateDirectoryA(dest.c_str(), nullptr);
  gDisksAsked.clear();
  UNZIPCMDSTRUCT command = ExtractCommand(gDiskPath, dest, "*.*");
  command.lpMessageDisplay = ChangeDisk;
  command.wUnzipSubOptions = kUnzipRemovableDrive | kUnzipSkipLabelCheck;
  EXPECT_EQ(0, UnzipExecute(&command));
  EXPECT_EQ(FilesBelow(Work("expected/izip-split")), FilesBelow(dest));
  EXPECT_EQ(ReadFileBytes(Work("expected/izip-split/dir/big.bin")), ReadFileBytes(dest + "/dir/big.bin"));
  EXPECT_GT(gDisksAsked.size(), 6u);
  RemoveTree(dest);
}
}  // namespace

namespace {
int gReports;
int CALLBACK CancelSecondReport(const char *, int, void *) { return ++gReports >= 2; }

// A cancelling progress answer stops the command and leaves no partial file,
// also not in place of an existing one.
TEST(Cancel, ProgressAnswerStopsWithoutPartialFiles) {
  std::string dest = Fresh("cancel");
  WriteFileBytes(dest + "/runs.bin", Text("old"));
  for (bool existing : {true, false}) {
    SCOPED_TRACE(existing);
    if (!existing) DeleteFileA((dest + "/runs.bin").c_str());
    gReports = 0;
    UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-0.zip"), dest, "runs.bin");
    command.overWriteFlag = 1;
    command.quietFlag = 1;
    command.lpMinorStatus = CancelSecondReport;
    command.wUnzipSubOptions = kUnzipStatusMayCancel;
    EXPECT_EQ(48, UnzipExecute(&command));
    EXPECT_EQ(existing ? std::vector<std::string>({"runs.bin"}) : std::vector<std::string>(), FilesBelow(dest));
    if (existing) EXPECT_EQ(Text("old"), ReadFileBytes(dest + "/runs.bin"));
  }
}
}  // namespace

namespace {
char gDialogQuestion[512];

// Answers the engine's own overwrite dialog with "Yes to All" once it shows.
DWORD WINAPI PressYesToAll(void *) {
  for (int tries = 0; tries < 500; ++tries) {
    HWND dialog = FindWindowA(MAKEINTRESOURCEA(32770), "Quellon Secure UnZip Warning");
    if (dialog && GetDlgItem(dialog, 1004)) {
      GetDlgItemTextA(dialog, 1000, gDialogQuestion, sizeof gDialogQuestion);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1004)));
      return 1;
    }
    Sleep(20);
  }
  return 0;
}

TEST(Overwrite, TheEnginesOwnDialogAnswers) {
  // The test run provides a display (scripts/env.sh start_wine): without one
  // this is a failure, not a silent skip.
  ASSERT_NE(nullptr, getenv("DISPLAY")) << "needs a display";
  std::string dest = Fresh("dialog");
  WriteFileBytes(dest + "/a.txt", Text("old"));
  WriteFileBytes(dest + "/one.bin", Text("old"));
  gQuestionAnswer = -1;  // leave the question to the engine
  gDialogQuestion[0] = '\0';
  HANDLE presser = CreateThread(nullptr, 0, PressYesToAll, nullptr, 0, nullptr);
  UNZIPCMDSTRUCT command = ExtractCommand(Work("izip-6.zip"), dest, "a.txt one.bin");
  EXPECT_EQ(0, UnzipExecute(&command));
  WaitForSingleObject(presser, 15000);
  CloseHandle(presser);
  gQuestionAnswer = IDCANCEL;
  EXPECT_NE(nullptr, strstr(gDialogQuestion, "exists, do you want to overwrite it?"));
  EXPECT_EQ(ReadFileBytes(Work("expected/izip-6/a.txt")), ReadFileBytes(dest + "/a.txt"));
  EXPECT_EQ(ReadFileBytes(Work("expected/izip-6/one.bin")), ReadFileBytes(dest + "/one.bin")) << "yes to all";
}
}  // namespace

namespace {
// Text mode (record field +88): each line end goes out as CR LF, as unzip -a
// reads the text, on disk and into memory; the CRC is the stored text's.
TEST(TextMode, LineEndsBecomeCrLfOnDiskAndInMemory) {
  const char *members[] = {"a.txt", "edge.txt", "c.txt"};
  std::string dest = Fresh("text");
  UNZIPCMDSTRUCT command = ExtractCommand(Work("text.zip"), dest, "*.*");
  command.outputModeFlag = 1;
  ASSERT_EQ(0, UnzipExecute(&command));
  for (const char *name : members) EXPECT_TRUE(ReadFileBytes(Work("text/") + name) == ReadFileBytes(dest + "/" + name)) << name;

  for (const char *name : members) {
    SCOPED_TRACE(name);
    Bytes expected = ReadFileBytes(Work("text/") + name);
    Bytes block(expected.size() + 16, 0x55);
    UNZIPCMDSTRUCT memory = Command(UNZIP_FILETOMEM, Work("text.zip"));
    memory.lpszFilespec = name;
    memory.quietFlag = 1;
    memory.outputModeFlag = 1;
    memory.lpMemBlock = block.data();
    memory.lMemBlockSize = static_cast<uint32_t>(expected.size());
    EXPECT_EQ(0, UnzipExecute(&memory));
    EXPECT_TRUE(expected == Bytes(block.begin(), block.begin() + expected.size()));
    EXPECT_EQ(0x55, block[expected.size()]);
  }
  // Binary mode, the default, leaves the bytes as stored.
  command.outputModeFlag = 0;
  command.overWriteFlag = 1;
  ASSERT_EQ(0, UnzipExecute(&command));
  EXPECT_EQ(Text("c\n"), ReadFileBytes(dest + "/c.txt"));
}
}  // namespace
