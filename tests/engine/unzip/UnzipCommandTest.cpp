// UnzipExecute's record checks, re-entry, message texts, logs, the stream
// entry's record reading and the path and name routines.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include "PathNames.h"
#include "UnzipProgress.h"
#include "UnzipReport.h"
#include "UnzipState.h"
#include "UnzipTestSupport.h"
#include "test_files.h"

namespace {

const std::string kArchive = ListingArchive("infozip.zip");
const std::string kError = "Quellon Secure UnZip Error: Command syntax error ";

struct CheckCase {
  const char *what;
  std::function<void(UNZIPCMDSTRUCT &)> change;
  int result;
  std::string report;  // the error report the callback sees; empty: none
};

TEST(UnzipExecute, RecordChecksInOrder) {
  static const std::string password128(128, 'p'), password129(129, 'p');
  static const std::string longest = "C:\\" + std::string(2044, 'd'), tooLong = longest + "d";
  static UnzipMemberInfo info;
  static UnzipMemberInfoEx infoEx;
  static unsigned char block[16];
  const CheckCase cases[] = {
      {"size 120", [](UNZIPCMDSTRUCT &c) { c.structSize = 120; }, 47, ""},
      {"function 0", [](UNZIPCMDSTRUCT &c) { c.Function = 0; }, 47, kError + "(Unknown function requested)\n"},
      {"function 12", [](UNZIPCMDSTRUCT &c) { c.Function = 12; }, 47, kError + "(Unknown function requested)\n"},
      {"no archive name", [](UNZIPCMDSTRUCT &c) { c.lpszZIPFile = nullptr; }, 47,
       kError + "(Zip filename not provided)\n"},
      {"empty archive name", [](UNZIPCMDSTRUCT &c) { c.lpszZIPFile = ""; }, 47, kError + "(Zip filename not provided)\n"},
      {"freshen and update", [](UNZIPCMDSTRUCT &c) { c.freshenFlag = c.updateFlag = 1; }, 47,
       kError + "(Can't freshen and update at the same time)\n"},
      {"update without destination", [](UNZIPCMDSTRUCT &c) { c.updateFlag = 1; }, 47,
       kError + "(Need destination path when updating or freshening)\n"},
      {"one-character destination", [](UNZIPCMDSTRUCT &c) { c.freshenFlag = 1, c.lpszDestination = "\"C\""; }, 47,
       kError + "(Destination path not complete)\n"},
      {"destination without drive", [](UNZIPCMDSTRUCT &c) { c.freshenFlag = 1, c.lpszDestination = "D\\data"; }, 47,
       kError + "(Destination path must include drive letter)\n"},
      {"UNC destination", [](UNZIPCMDSTRUCT &c) { c.freshenFlag = 1, c.lpszDestination = "\\\\server\\share"; }, 0, ""},
      {"destination of 2,047", [](UNZIPCMDSTRUCT &c) { c.updateFlag = 1, c.lpszDestination = longest.c_str(); }, 0, ""},
      {"destination of 2,048", [](UNZIPCMDSTRUCT &c) { c.updateFlag = 1, c.lpszDestination = tooLong.c_str(); }, 47,
       kError + "(Command syntax error)\n"},
      {"password of 128", [](UNZIPCMDSTRUCT &c) { c.decryptFlag = 1, c.lpszDecryptCode = password128.c_str(); }, 0, ""},
      {"password of 129", [](UNZIPCMDSTRUCT &c) { c.decryptFlag = 1, c.lpszDecryptCode = password129.c_str(); }, 47,
       kError + "(Decryption key not provided, or too long)\n"},
      {"no password", [](UNZIPCMDSTRUCT &c) { c.decryptFlag = 1; }, 47,
       kError + "(Decryption key not provided, or too long)\n"},
      {"callback record without callback", [](UNZIPCMDSTRUCT &c) { c.wUnzipSubOptions = 0x1000; }, 47,
       kError + "(Command syntax error)\n"},
      {"file to memory without block", [](UNZIPCMDSTRUCT &c) { c.Function = 9, c.index = 0; }, 47,
       kError + "(Inconsistent UNZIP_FILETOMEM parameters.)\n"},
      {"stream without callback", [](UNZIPCMDSTRUCT &c) { c.Function = 10; }, 47,
       kError + "(Inconsistent UNZIP_FILETOMEM parameters.)\n"},
      {"stream writing to a block", [](UNZIPCMDSTRUCT &c) { c.Function = 10, c.lpMemBlock = block, c.index = 0; }, 47,
       kError + "(Inconsistent UNZIP_FILETOMEM parameters.)\n"},
      {"two information records", [](UNZIPCMDSTRUCT &c) { c.Function = 2, c.zInfo = &info, c.pZipInfoEx = &infoEx; },
       47, kError + "(UnZip command structure not provided)\n"},
      {"no information record", [](UNZIPCMDSTRUCT &c) { c.Function = 4, c.lpszFilespec = "*"; }, 47,
       kError + "(UnZip command structure not provided)\n"},
      {"index record missing", [](UNZIPCMDSTRUCT &c) { c.Function = 7, c.index = 0; }, 47, ""},
      {"count matches without filespec", [](UNZIPCMDSTRUCT &c) { c.Function = 3; }, 11,
       "Quellon Secure UnZip Error: No files to test, extract, etc. (Zip filename or filespec not provided)\n"},
      {"count matches of empty filespec", [](UNZIPCMDSTRUCT &c) { c.Function = 3, c.lpszFilespec = ""; }, 47,
       kError + "(Zip filename or filespec empty)\n"},
      {"unmatched quotes", [](UNZIPCMDSTRUCT &c) { c.Function = 4, c.zInfo = &info, c.lpszFilespec = "\"a b"; }, 47,
       kError + "(Double Quotes mismatched.)\n"},
      {"extract without destination", [](UNZIPCMDSTRUCT &c) { c.Function = 8, c.index = 0; }, 47,
       kError + "(Destination path not provided)\n"},
      {"extract by no index", [](UNZIPCMDSTRUCT &c) { c.Function = 8, c.testFlag = 1; }, 47,
       kError + "(Item list not provided)\n"},
      {"extract past the last", [](UNZIPCMDSTRUCT &c) { c.Function = 8, c.testFlag = 1, c.index = 6; }, 25,
       "Quellon Secure UnZip Error: Index out of bounds (Index is too high)\n"},
      {"extract no match", [](UNZIPCMDSTRUCT &c) { c.Function = 8, c.testFlag = 1, c.lpszFilespec = "*.none"; }, 11,
       "Quellon Secure UnZip Error: No files to test, extract, etc. (No items match filespec)\n"},
      {"missing archive", [](UNZIPCMDSTRUCT &c) { c.lpszZIPFile = "Z:\\no\\such.zip"; }, 9,
       "Quellon Secure UnZip Error: File not found (Problem reading Zip file)\n"},
  };
  for (const CheckCase &c : cases) {
    RecordedMessages().clear();
    UNZIPCMDSTRUCT command = Command(1, kArchive);
    c.change(command);
    EXPECT_EQ(UnzipExecute(&command), c.result) << c.what;
    std::vector<std::string> expected;
    if (!c.report.empty()) expected.push_back(c.report);
    EXPECT_EQ(RecordedErrors(), expected) << c.what;
  }
}

template <typename Record>
void CountWithRecordOf(int version) {
  struct Padded {
    Record record;
    uint8_t canary[8];
  } padded;
  memset(&padded, 0, sizeof padded);
  memset(padded.canary, 0x5A, sizeof padded.canary);
  padded.record.structSize = sizeof(Record);
  padded.record.Function = 1;
  padded.record.lpszZIPFile = kArchive.c_str();
  padded.record.index = -1;
  padded.record.quietFlag = 1;
  EXPECT_EQ(UnzipExecute(reinterpret_cast<UNZIPCMDSTRUCT *>(&padded.record)), 0) << version;
  EXPECT_EQ(padded.record.returnCount, 6) << version;
  for (uint8_t byte : padded.canary) EXPECT_EQ(byte, 0x5A) << version;
  UnzipState *state = UnzipStateOfThread();
  EXPECT_EQ(state->recordVersion, version);
  EXPECT_STREQ(state->progressTitle, "Extract Progress");
}

TEST(UnzipExecute, EveryRecordVersionIsTakenAndCopiedBack) {
  CountWithRecordOf<UNZIPCMDSTRUCT100>(100);
  CountWithRecordOf<UNZIPCMDSTRUCT200>(200);
  CountWithRecordOf<UNZIPCMDSTRUCT300>(300);
  CountWithRecordOf<UNZIPCMDSTRUCT500>(500);
  CountWithRecordOf<UNZIPCMDSTRUCT600>(600);
}

int gInnerResult;

int CALLBACK ReenteringStatus(const char *text, int percent, void *data) {
  UNZIPCMDSTRUCT inner = Command(1, kArchive);
  gInnerResult = UnzipExecute(&inner);
  return 0;
}

TEST(UnzipExecute, ReentryFromACallbackIsRefusedAndTheOuterCallFinishes) {
  RecordedMessages().clear();
  gInnerResult = -1;
  UNZIPCMDSTRUCT outer = Command(8, kArchive);
  outer.testFlag = 1;
  outer.lpszFilespec = "a.txt";
  outer.lpMajorStatus = ReenteringStatus;
  int result = UnzipExecute(&outer);
  EXPECT_EQ(gInnerResult, 45);
  EXPECT_NE(result, 45);
  ASSERT_FALSE(RecordedErrors().empty());
  EXPECT_EQ(RecordedErrors()[0], "Quellon Secure UnZip Error: Busy, can't re-enter now (Re-entry not permitted)\n");
  UNZIPCMDSTRUCT after = Command(1, kArchive);
  EXPECT_EQ(UnzipExecute(&after), 0);
}

int CALLBACK CancellingStatus(const char *text, int percent, void *data) {
  static_cast<std::vector<std::string> *>(data)->push_back(text + std::string(" ") + std::to_string(percent));
  return 1;
}

TEST(UnzipExecute, CancellingOverallReportEndsTheSelectionWith48) {
  std::vector<std::string> reports;
  UNZIPCMDSTRUCT command = Command(8, kArchive);
  command.testFlag = 1;
  command.lpszFilespec = "*.txt";
  command.lpMajorStatus = CancellingStatus;
  command.lpMajorUserData = &reports;
  command.quietFlag = 1;
  EXPECT_EQ(UnzipExecute(&command), 48);
  EXPECT_EQ(reports, std::vector<std::string>{"Item 1 of 2 50"});
}

int gStatusAnswer;

int CALLBACK RecordingStatus(const char *text, int percent, void *data) {
  static_cast<std::vector<std::string> *>(data)->push_back(text + std::string(" ") + std::to_string(percent));
  return gStatusAnswer;
}

TEST(Progress, ReportsCancelsAndOverruns) {
  UNZIPCMDSTRUCT count = Command(1, kArchive);
  ASSERT_EQ(UnzipExecute(&count), 0);
  UnzipState *state = UnzipStateOfThread();
  std::vector<std::string> items, overall;
  state->command.Function = 8;
  state->command.lpMinorStatus = RecordingStatus;
  state->command.lpMinorUserData = &items;
  state->command.lpMajorStatus = RecordingStatus;
  state->command.lpMajorUserData = &overall;
  state->recordVersion = 600;
  state->statusMayCancel = 0;
  state->cancelFlag = 0;
  lstrcpyA(state->itemText, "Testing: a.txt");
  state->expectedTotal[0] = 600;
  state->expectedTotal[1] = 400;
  // No progress program on this machine: the callbacks get the reports.
  EXPECT_EQ(UnzipStartProgressProgram(0), 0);
  gStatusAnswer = 1;
  UnzipMinorStatus(0);
  EXPECT_EQ(state->cancelFlag, 0);  // cancelling needs option bit 1
  state->statusMayCancel = 1;
  UnzipMinorStatus(500);
  EXPECT_EQ(state->cancelFlag, 1);
  EXPECT_EQ(items, (std::vector<std::string>{"Testing: a.txt 1", "Testing: a.txt 51"}));
  state->cancelFlag = 0;
  gStatusAnswer = 0;
  UnzipMinorStatus(2001);  // more than 1,000 bytes past the expected total
  EXPECT_EQ(state->cancelFlag, 1);
  EXPECT_EQ(state->overrun, 1);

  state->cancelFlag = 0;
  gStatusAnswer = 1;
  state->recordVersion = 100;
  EXPECT_EQ(UnzipMajorStatus("Item 1 of 4", 4, 1), 0);  // the oldest callers cannot cancel
  state->recordVersion = 200;
  EXPECT_EQ(UnzipMajorStatus("Item 2 of 4", 4, 2), 1);
  EXPECT_EQ(overall, (std::vector<std::string>{"Item 1 of 4 25", "Item 2 of 4 50"}));
  state->cancelFlag = 1;
  EXPECT_EQ(UnzipMajorStatus("Item 3 of 4", 4, 3), 1);
  EXPECT_EQ(overall.size(), 2u);
  state->cancelFlag = 0;
}

// Whether a message posted to the thread is still waiting after a per-item
// report of the state as it stands.
bool PostedMessageOutlivesAReport() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  UnzipMinorStatus(0);
  return PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_REMOVE);
}

// The per-item report pumps the thread's messages only when it reports to
// someone, and never with the no-pumping option.
TEST(Progress, PumpsOnlyWhenReporting) {
  UNZIPCMDSTRUCT count = Command(1, kArchive);
  ASSERT_EQ(UnzipExecute(&count), 0);
  UnzipState *state = UnzipStateOfThread();
  state->command.Function = 8;
  state->expectedTotal[0] = state->expectedTotal[1] = 0;
  state->cancelFlag = 0;
  std::vector<std::string> items;
  gStatusAnswer = 0;
  state->command.lpMinorStatus = nullptr;
  EXPECT_TRUE(PostedMessageOutlivesAReport()) << "nobody to report to";
  state->command.lpMinorStatus = RecordingStatus;
  state->command.lpMinorUserData = &items;
  EXPECT_FALSE(PostedMessageOutlivesAReport()) << "reported to the callback";
  state->noMessagePump = 1;
  EXPECT_TRUE(PostedMessageOutlivesAReport()) << "no-pumping option";
  state->noMessagePump = 0;
  state->command.lpMinorStatus = nullptr;
}

TEST(MessageText, LookupsSlotsAndTheCallback) {
  UNZIPCMDSTRUCT count = Command(1, kArchive);
  ASSERT_EQ(UnzipExecute(&count), 0);  // leaves the recording callback in place
  UnzipState *state = UnzipStateOfThread();
  RecordedMessages().clear();
  EXPECT_STREQ(UnzipMessageText(9999, 0), "");
  EXPECT_STREQ(UnzipMessageText(0, 1), "");
  EXPECT_EQ(UnzipMessageText(60, -3), state->messageBuffers[0]);
  EXPECT_EQ(UnzipMessageText(60, 7), state->messageBuffers[2]);
  EXPECT_STREQ(state->messageBuffers[2], "Busy, can't re-enter now");
  RewriteMessage(15, "Erfolg");
  EXPECT_STREQ(UnzipMessageText(15, 1), "Erfolg");
  ClearRewrites();
}

TEST(DiagnosticLog, UnreadableTextsAndPasswords) {
  std::string log = WorkPath("unzip-diag.log");
  DeleteFileA(log.c_str());
  std::string windowsLog = log;
  for (char &c : windowsLog)
    if (c == '/') c = '\\';
  RewriteMessage(101, windowsLog);
  UNZIPCMDSTRUCT command = Command(1, "");
  command.lpszZIPFile = nullptr;
  command.diagnosticLogFlag = 1;
  command.decryptFlag = 1;
  command.lpszDecryptCode = "secret";
  EXPECT_EQ(UnzipExecute(&command), 47);
  ClearRewrites();
  std::string text = ReadFileContent(log);
  EXPECT_NE(text.find("--- Quellon Secure UnZip Diagnostic Log [DLL/SLL] - Quellon Secure UnZip Version: 6.00.00 - "),
            std::string::npos);
  EXPECT_NE(text.find("lpszZIPFile: 00000000 \r\n???\r\n"), std::string::npos);
  char pointerLine[64];
  snprintf(pointerLine, sizeof pointerLine, "lpMessageDisplay: %#08llx \r\n",
           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(&RecordMessage)));
  EXPECT_NE(text.find(pointerLine), std::string::npos);
  EXPECT_EQ(text.find("secret"), std::string::npos);
  EXPECT_NE(text.find("Quellon Secure UnZip Response: 47 Command syntax error \r\n"), std::string::npos);
}

TEST(DiagnosticLog, ErrorLineHasRoomForThreeFullTexts) {
  std::string log = WorkPath("unzip-diag-long.log");
  DeleteFileA(log.c_str());
  const std::string title(2046, 'T'), result(2046, 'R'), detail(2046, 'D');
  RewriteMessage(101, log);
  RewriteMessage(66, title);
  RewriteMessage(62, result);
  RewriteMessage(121, detail);
  UNZIPCMDSTRUCT command = Command(0, kArchive);
  command.diagnosticLogFlag = 1;
  EXPECT_EQ(UnzipExecute(&command), 47);
  ClearRewrites();
  EXPECT_NE(ReadFileContent(log).find(title + " " + result + " (" + detail + ")\n"), std::string::npos);
}

// A memory callback that hands out a byte string, optionally ending early.
struct StreamSource {
  std::string bytes;
  size_t endAfter;
  int endStatus;
};

void CALLBACK StreamRead(int operation, unsigned char *buffer, uint32_t *length, uint32_t inLow, uint32_t inHigh,
                         uint32_t outLow, uint32_t outHigh, void *data, int *status) {
  auto *source = static_cast<StreamSource *>(data);
  size_t available = inLow < source->endAfter ? source->endAfter - inLow : 0;
  size_t n = std::min<size_t>(*length, available);
  memcpy(buffer, source->bytes.data() + inLow, n);
  *length = static_cast<uint32_t>(n);
  *status = inLow + n >= source->endAfter ? source->endStatus : 3;
}

std::string CentralHeader(uint32_t signature) {
  std::string header(46, '\0');
  memcpy(&header[0], &signature, 4);
  header[28] = 5;  // name length
  return header + "a.txt";
}

TEST(StreamEntry, RecordReadingThroughTheCallback) {
  struct Case {
    const char *what;
    std::string bytes;
    size_t endAfter;
    int endStatus;
    int result;
  } cases[] = {
      {"ends after 20 of 46 header bytes", CentralHeader(0x02014b50), 20, 0, 2},
      {"cancelled in the header", CentralHeader(0x02014b50), 20, 2, 48},
      {"fails in the header", CentralHeader(0x02014b50), 20, 1, 5},
      {"not a central header", CentralHeader(0x04034b50), 51, 0, 3},
      {"name cut short", CentralHeader(0x02014b50), 48, 0, 2},
  };
  for (const Case &c : cases) {
    StreamSource source = {c.bytes, c.endAfter, c.endStatus};
    CALLBACKSTRUCT callbacks = {sizeof(CALLBACKSTRUCT), StreamRead, &source, {}};
    UNZIPCMDSTRUCT command = Command(10, "");
    command.lpCallbackStruct = &callbacks;
    command.quietFlag = 1;
    EXPECT_EQ(UnzipExecute(&command), c.result) << c.what;
  }
}

TEST(PathNames, WildcardsAndNames) {
  struct Match {
    const char *name, *pattern;
    int result;
  } matches[] = {
      {"report.txt", "rep*", 0}, {"report.txt", "rep*zzz", 0}, {"report.txt", "", -1}, {"", "", 0},
      {"", "a", -1},             {"report.txt", "REPORT.TXT", 0}, {"report.txt", "r?port.txt", 0},
      {"report.txt", "report.tx", -1},
  };
  for (const Match &m : matches) EXPECT_EQ(WildcardMatch(m.name, m.pattern, 0), m.result) << m.name << " " << m.pattern;
  EXPECT_EQ(WildcardMatch("report.txt", "REPORT.TXT", 1), -1);
  EXPECT_EQ(NameMatchesPattern("notes.txt", "*.txt", 0), 0);
  EXPECT_EQ(NameMatchesPattern("notes.doc", "*.txt", 0), -1);
  EXPECT_EQ(NameMatchesPattern("anything", "*.*", 0), 0);

  char out[kPathTextMax];
  EXPECT_STREQ(PathTruncate83(out, "C:\\Long Folder\\archive.backup.zip"), "C:\\LongFold\\archive.bac");
  EXPECT_EQ(PathIsLongName("DIR\\FILE.TXT"), 0);
  EXPECT_EQ(PathIsLongName("dir\\long name.txt"), 1);
  EXPECT_EQ(PathIsLongName("dir\\file.text"), 1);
  EXPECT_EQ(PathIsValidName("a<b"), 0);
  EXPECT_EQ(PathIsValidName(""), 1);
  EXPECT_EQ(PathIsValidName(nullptr), 0);

  char drive[kPathTextMax], directory[kPathTextMax], name[kPathTextMax], extension[kPathTextMax];
  PathSplit("C:\\data\\sub\\file.tar.gz", drive, directory, name, extension);
  EXPECT_STREQ(drive, "C:");
  EXPECT_STREQ(directory, "\\data\\sub\\");
  EXPECT_STREQ(name, "file.tar");
  EXPECT_STREQ(extension, ".gz");
  PathBuild(out, "C:", "\\data", "file", "txt");
  EXPECT_STREQ(out, "C:\\data\\file.txt");
  PathSplit("\\\\server\\share\\dir\\x", drive, directory, nullptr, nullptr);
  EXPECT_STREQ(drive, "\\\\server\\share");
  EXPECT_EQ(PathsOnSameVolume("\\\\Server\\Share\\a", "\\\\server\\share\\b"), 1);
  EXPECT_EQ(PathsOnSameVolume("C:\\a", "D:\\a"), 0);
  EXPECT_EQ(DriveNumberOfPath("d:\\x"), 4);
}

TEST(ThreadState, ReleaseAndAttachAgain) {
  UnzipState *before = UnzipStateOfThread();
  before->directory.nextIndex = 5;
  ASSERT_EQ(UnzipThreadAttach(), 1);  // a second attach gives a fresh block
  EXPECT_EQ(UnzipStateOfThread()->directory.nextIndex, 0u);
  ASSERT_EQ(UnzipThreadStateRelease(), 1);
  EXPECT_EQ(UnzipThreadStateRelease(), 0);
  UNZIPCMDSTRUCT count = Command(1, kArchive);
  EXPECT_EQ(UnzipExecute(&count), 0);  // attaches a fresh block by itself
  EXPECT_NE(UnzipStateOfThread(), nullptr);
}

}  // namespace
