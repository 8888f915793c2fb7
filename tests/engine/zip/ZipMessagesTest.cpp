#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "messages/ZipLog.h"
#include "messages/ZipMessages.h"
#include "messages/ZipProgress.h"
#include "messages/ZipReport.h"
#include "ZipExecute.h"
#include "ZipTestSupport.h"
#include "test_files.h"

namespace {

using ZipMessagesTest = ZipStateTest;

TEST(ZipMessageTable, IdsAreUniqueAndEveryResultHasText) {
  std::set<uint32_t> ids;
  const MessagePair *pair = kZipMessageTable;
  for (; pair->id != 0; ++pair) EXPECT_TRUE(ids.insert(pair->id).second) << pair->id;
  EXPECT_STREQ(pair->text, "");
  for (int code = 0; code <= 22; ++code) EXPECT_TRUE(ids.count(code + ZIP_RESULT_TEXT_BASE)) << code;
  EXPECT_STREQ(MessageTableFind(kZipMessageTable, 132), MessageTableFind(kZipMessageTable, 331));
}

TEST_F(ZipMessagesTest, LookupClampsSlotsAndTellsTheApplication) {
  MessageRecorder recorder;
  state->messageDisplay = RecordMessage;
  state->messageDisplayData = &recorder;

  char *busy = ZipMessageText(257, 5);
  EXPECT_EQ(busy, state->messages[2]);
  EXPECT_STREQ(busy, "Busy, can't re-enter now");
  char *success = ZipMessageText(256, -1);
  EXPECT_EQ(success, state->messages[0]);
  EXPECT_STREQ(success, "Success");
  EXPECT_STREQ(busy, "Busy, can't re-enter now");  // other slots untouched

  EXPECT_STREQ(ZipMessageText(999, 1), "");
  EXPECT_EQ(recorder.lookups, (std::vector<int>{257, 256, 999}));
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(ZipMessagesTest, ApplicationRewritesTextsInPlace) {
  MessageRecorder recorder;
  recorder.rewrites[272] = "Parametres invalides";
  MessageRecorder quietRecorder;
  state->messageDisplay = RecordMessage;
  state->messageDisplayData = &recorder;
  EXPECT_STREQ(ZipMessageText(272, 1), "Parametres invalides");

  // The rewrite reaches the error report too.
  ZIPCMDSTRUCT record = RecordingCommand(&recorder);
  EXPECT_EQ(ZipExecute(&record), 16);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0].text, "Parametres invalides\n");
}

TEST_F(ZipMessagesTest, MessageBoxTitlesTextsAndAnswers) {
  MessageRecorder recorder;
  state->messageDisplay = RecordMessage;
  state->messageDisplayData = &recorder;
  struct Case {
    int type, number, second;
    const char *text, *title;
  };
  const Case cases[] = {
      {0, -1, 0, "Please insert the first disk of the Multi-Volume set. \nPress OK when ready or Cancel to abort.",
       "Quellon Secure Zip Request"},
      {0, 3, -1, "Please insert the last disk of the Multi-Volume set. \nPress OK when ready or Cancel to abort.",
       "Quellon Secure Zip Request"},
      {0, 3, 0, "Please insert Disk Volume 3.  \nPress OK when ready or Cancel to abort.", "Quellon Secure Zip Request"},
      {1, 2, 5, "Please insert Disk Volume 2 of 5. \nPress OK when ready or Cancel to abort.",
       "Quellon Secure Zip Request"},
      {5, 0, 0, "Target Media is NON-Removable and can not be used for a Multi-Volume operation.",
       "Quellon Secure Zip Error"},
      {10, 0, 0, "Invalid First Disk; Try again.", "Quellon Secure Zip Alert"},
      {12, 0, 0, "given", "Quellon Secure Zip Warning"},
      {16, 0, 0, "given", "Quellon Secure Zip Skipping File"},
      {42, 0, 0, "given", "Quellon Secure Zip Error"},
  };
  for (const Case &c : cases) {
    recorder.shown.clear();
    EXPECT_EQ(ZipMessageBox(c.type, MB_OKCANCEL, c.number, c.second, "given"), IDOK);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, c.text) << c.type;
    EXPECT_EQ(recorder.shown[0].title, c.title) << c.type;
  }

  // Answers are taken only when they fit the buttons; the file-ready notice
  // never shows a box of its own.
  recorder.answer = IDNO;
  EXPECT_EQ(ZipMessageBox(ZIP_BOX_WARNING, MB_YESNO, 0, 0, "q"), IDNO);
  recorder.answer = IDRETRY;
  EXPECT_EQ(ZipMessageBox(ZIP_BOX_WARNING, MB_RETRYCANCEL, 0, 0, "q"), IDRETRY);
  EXPECT_EQ(ZipMessageBox(ZIP_BOX_FILE_READY, MB_OK, 1, 0, "part"), -1);
  recorder.answer = IDOK;
  EXPECT_EQ(ZipMessageBox(ZIP_BOX_FILE_READY, MB_OK, 1, 0, "part"), IDOK);
  state->messageDisplay = nullptr;
  EXPECT_EQ(ZipMessageBox(ZIP_BOX_FILE_READY, MB_OK, 1, 0, "part"), 1);
}

TEST(ZipMessageLookup, WithoutStateGivesEmptyText) { EXPECT_STREQ(ZipMessageText(256, 0), ""); }

// The log names are message texts, so an application can move the logs.
TEST_F(ZipMessagesTest, DiagnosticLogGoesWhereTheApplicationSays) {
  std::string path = std::string(BRENNICOR_TEST_WORK) + "/zip_diag.log";
  DeleteFileA(path.c_str());
  MessageRecorder recorder;
  recorder.rewrites[108] = path;
  ZIPCMDSTRUCT record = RecordingCommand(&recorder);
  record.diagLogFlag = 1;
  record.Function = ZIP_MEMORY_ENTRY;
  record.compFactor = 15;
  uint32_t sizes[] = {2000000, 1000000, 0};
  record.pulFileSizeArray = sizes;
  char password[] = "secret";
  record.lpszEncryptCode = password;
  EXPECT_EQ(ZipExecute(&record), 16);

  std::string log = ReadFileContent(path);
  EXPECT_NE(log.find("\r\n--- Quellon Secure Zip Diagnostic Log [DLL/SLL] - Quellon Secure Zip Version: 6.00.00 - "),
            std::string::npos);
  EXPECT_NE(log.find("Function:  6 \r\nlpszZIPFile: 00000000 \r\n???\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("compFactor: 15 \r\n"), std::string::npos);
  EXPECT_NE(log.find("pulFileSizeArray: \r\n[2000000] [1000000]\r\n"), std::string::npos);
  EXPECT_EQ(log.find("secret"), std::string::npos);
  EXPECT_NE(log.find("lResv16: 00000000 \r\n\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nInvalid control parameters\n\r\n"), std::string::npos);
}

TEST_F(ZipMessagesTest, ActivityLogHeaderWhenAsked) {
  std::string path = std::string(BRENNICOR_TEST_WORK) + "/zip_activity.log";
  DeleteFileA(path.c_str());
  MessageRecorder recorder;
  recorder.rewrites[701] = path;
  ZIPCMDSTRUCT record = RecordingCommand(&recorder);
  record.Function = 0;
  record.lpszZIPFile = const_cast<char *>("a.zip");
  record.wZipSubOptions = ZSO_ACTIVITY_LOG;
  EXPECT_EQ(ZipExecute(&record), 16);
  EXPECT_EQ(state->activityLog, INVALID_HANDLE_VALUE);  // closed at the end
  std::string log = ReadFileContent(path);
  EXPECT_EQ(log.rfind("--- Quellon Secure ZIP Log - Quellon Secure Zip Version: 6.00.00 - ", 0), 0u) << log;
  EXPECT_EQ(log.substr(log.size() - 6), " ---\r\n");
}

struct StatusCall {
  std::string text;
  int percent;
};

int CALLBACK RecordStatus(const char *text, int percent, void *userData) {
  auto *calls = static_cast<std::vector<StatusCall> *>(userData);
  calls->push_back({text, percent});
  return 1;  // always asks to cancel
}

TEST_F(ZipMessagesTest, OverallReportPercentAndAnswer) {
  std::vector<StatusCall> calls;
  state->majorStatus = RecordStatus;
  state->majorUserData = &calls;
  state->recordVersion = 200;
  struct Case {
    uint64_t total, done;
    int percent;
  };
  for (const Case &c : {Case{200000, 150000, 75}, Case{0, 5, 0}, Case{10, 20, 100}, Case{300, 100, 33}}) {
    EXPECT_EQ(ZipMajorStatus("Item", c.total, c.done), 1);
    EXPECT_EQ(calls.back().percent, c.percent) << c.total << " " << c.done;
  }
  state->recordVersion = 100;  // the oldest callers cannot cancel
  EXPECT_EQ(ZipMajorStatus("Item", 1, 1), 0);
  EXPECT_EQ(ZipCheckCancel(state), 0);
  EXPECT_EQ(calls.back().text, "Item");
  state->recordVersion = 600;
  EXPECT_EQ(ZipCheckCancel(state), 1);
}

TEST_F(ZipMessagesTest, MissingProgressProgramLeavesReportsToCallbacks) {
  std::vector<StatusCall> calls;
  state->majorStatus = RecordStatus;
  state->majorUserData = &calls;
  state->recordVersion = 600;
  EXPECT_EQ(ZipStartProgressProgram(1), 0);
  EXPECT_EQ(state->progress.open, 0);
  ZipMajorStatus("Still here", 4, 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].percent, 25);
  EXPECT_EQ(ZipCloseProgressWindow(), 0);
}

TEST_F(ZipMessagesTest, ItemReportCancelsOnlyWhenAllowed) {
  std::vector<StatusCall> calls;
  state->minorStatus = RecordStatus;
  state->minorUserData = &calls;
  struct Case {
    int version;
    uint16_t options;
    int cancel;
  };
  for (const Case &c : {Case{600, 0, 0}, Case{100, ZSO_STATUS_CANCELS, 0}, Case{200, ZSO_STATUS_CANCELS, 1}}) {
    state->cancel = 0;
    state->recordVersion = c.version;
    state->subOptions = c.options;
    ZipMinorStatus("file.txt", 1000, 250);
    EXPECT_EQ(calls.back().percent, 25);
    EXPECT_EQ(state->cancel, c.cancel) << c.version;
  }
  EXPECT_STREQ(state->minorText, "file.txt");
}

}  // namespace
