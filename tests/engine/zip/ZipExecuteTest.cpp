#include <gtest/gtest.h>

#include <string.h>

#include "ZipExecute.h"
#include "ZipTestSupport.h"

namespace {

void CALLBACK IgnoreMemoryIo(int, unsigned char *, uint32_t *length, uint32_t, uint32_t, uint32_t, uint32_t, void *,
                             int *status) {
  *length = 0;
  *status = kMemoryIoLast;
}

CALLBACKSTRUCT g_callbacks = {sizeof(CALLBACKSTRUCT), IgnoreMemoryIo, nullptr, {}};
char g_archive[] = "\"C:/some dir/out.zip\"";
char g_items[] = "member.txt";
char g_otherItems[] = "C:\\data\\file.txt";
char g_empty[] = "";
char g_block[] = "data";
char g_password[] = "secret";

struct Refusal {
  const char *name;
  void (*setUp)(ZIPCMDSTRUCT &record);
  int code;
  int boxBefore;  // a message box type shown before the error report, or -1
};

const Refusal kRefusals[] = {
    {"function 0", [](ZIPCMDSTRUCT &r) { r.Function = 0; }, 16, -1},
    {"function 8", [](ZIPCMDSTRUCT &r) { r.Function = 8; }, 16, -1},
    {"no archive name", [](ZIPCMDSTRUCT &r) { r.lpszZIPFile = nullptr; }, 16, -1},
    {"second option word 0x8 alone",
     [](ZIPCMDSTRUCT &r) {
       r.encryptFlag = 1;
       r.lpszEncryptCode = g_password;
       r.lZipSubOptions2 = 0x8;
     },
     16, -1},
    {"strong encryption of strength 0",
     [](ZIPCMDSTRUCT &r) {
       r.encryptFlag = 1;
       r.lpszEncryptCode = g_password;
       r.lZipSubOptions2 = 0x4;
       r.lSEInfo = 4;
     },
     16, -1},
    {"memory entry with an archive name", [](ZIPCMDSTRUCT &r) { r.Function = ZIP_MEMORY_ENTRY; }, 16, -1},
    {"memory entry without callback record",
     [](ZIPCMDSTRUCT &r) {
       r.Function = ZIP_MEMORY_ENTRY;
       r.lpszZIPFile = g_empty;
       r.lpCallbackStruct = nullptr;
     },
     16, -1},
    {"memory entry with a memory block",
     [](ZIPCMDSTRUCT &r) {
       r.Function = ZIP_MEMORY_ENTRY;
       r.lpszZIPFile = nullptr;
       r.lpMemBlock = g_block;
       r.lMemBlockSize = 4;
     },
     16, -1},
    {"memory to memory without items",
     [](ZIPCMDSTRUCT &r) {
       r.Function = ZIP_MEMORY_TO_MEMORY;
       r.lpszItemList = g_empty;
     },
     16, -1},
    {"callback output without callback",
     [](ZIPCMDSTRUCT &r) {
       r.wZipSubOptions = ZSO_CALLBACK_OUTPUT;
       r.lpCallbackStruct = nullptr;
     },
     16, -1},
    {"split parts with update",
     [](ZIPCMDSTRUCT &r) {
       r.Function = ZIP_UPDATE;
       r.wMultiVolControl = ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS;
     },
     20, -1},
    {"split parts with growing",
     [](ZIPCMDSTRUCT &r) {
       r.growExistingFlag = 1;
       r.wMultiVolControl = ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS;
     },
     20, -1},
    {"split parts asked to format",
     [](ZIPCMDSTRUCT &r) { r.wMultiVolControl = ZMV_MULTI_VOLUME | ZMV_SPLIT_PARTS | ZMV_FORMAT; }, 20, -1},
    {"disks on a fixed drive", [](ZIPCMDSTRUCT &r) { r.wMultiVolControl = ZMV_MULTI_VOLUME; }, 20, 5},
    {"disks holding the items",
     [](ZIPCMDSTRUCT &r) {
       r.wMultiVolControl = ZMV_MULTI_VOLUME;
       r.wZipSubOptions = ZSO_ALL_REMOVABLE;
       r.lpszItemList = g_otherItems;
     },
     20, 6},
};

class ZipExecuteChecks : public ZipStateTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ZipExecuteChecks, RefusesWithCodeAndText) {
  MessageRecorder recorder;
  ZIPCMDSTRUCT record = RecordingCommand(&recorder);
  record.Function = ZIP_ADD;
  record.lpszZIPFile = g_archive;
  record.lpszItemList = g_items;
  record.lpCallbackStruct = &g_callbacks;
  GetParam().setUp(record);

  EXPECT_EQ(ZipExecute(&record), GetParam().code);

  std::vector<ShownMessage> expected;
  if (GetParam().boxBefore >= 0) expected.push_back({GetParam().boxBefore, 0, "", ""});
  expected.push_back({11, GetParam().code, "", ""});
  ASSERT_EQ(recorder.shown.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(recorder.shown[i].type, expected[i].type);
    EXPECT_EQ(recorder.shown[i].title, "Quellon Secure Zip Error");
  }
  const ShownMessage &report = recorder.shown.back();
  EXPECT_EQ(report.number, GetParam().code);
  EXPECT_EQ(report.text, GetParam().code == 16 ? "Invalid control parameters\n"
                                               : "Invalid Multi-Volume control parameters\n");
  EXPECT_EQ(state->busy, 0);
}

// A quiet command reports through neither the callback nor a box: the
// callback would stand in for the box a program without a window can't answer.
TEST_P(ZipExecuteChecks, QuietRefusalAsksNothing) {
  MessageRecorder recorder;
  ZIPCMDSTRUCT record = RecordingCommand(&recorder);
  record.Function = ZIP_ADD;
  record.lpszZIPFile = g_archive;
  record.lpszItemList = g_items;
  record.lpCallbackStruct = &g_callbacks;
  record.quietFlag = 1;
  GetParam().setUp(record);

  EXPECT_EQ(ZipExecute(&record), GetParam().code);
  EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().type;
  EXPECT_EQ(state->busy, 0);
}

INSTANTIATE_TEST_SUITE_P(Refusals, ZipExecuteChecks, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<Refusal> &info) {
                           std::string name = info.param.name;
                           for (char &c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

void CALLBACK FailMemoryIo(int, unsigned char *, uint32_t *length, uint32_t, uint32_t, uint32_t, uint32_t, void *,
                           int *status) {
  *length = 0;
  *status = kMemoryIoFailed;
}

using ZipExecuteTest = ZipStateTest;

// Failures of a quiet memory entry, before and after prompts are switched
// off for the command, each with a loud command before it.
TEST_F(ZipExecuteTest, QuietMemoryEntryFailuresAskNothing) {
  CALLBACKSTRUCT failing = {sizeof(CALLBACKSTRUCT), FailMemoryIo, nullptr, {}};
  struct Case {
    const char *what;
    int32_t strongInfo;
    char *password;
    CALLBACKSTRUCT *callbacks;
    int code;
  };
  const Case cases[] = {
      {"strong encryption of strength 0", 0, g_password, &g_callbacks, 16},
      {"empty password", 1, g_empty, &g_callbacks, 16},
      {"failing input", 1, g_password, &failing, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    MessageRecorder loud;
    ZIPCMDSTRUCT before = RecordingCommand(&loud);
    before.Function = 9;
    before.lpszZIPFile = g_archive;
    EXPECT_EQ(ZipExecute(&before), 16);
    ASSERT_EQ(loud.shown.size(), 1u);

    MessageRecorder recorder;
    ZIPCMDSTRUCT record = RecordingCommand(&recorder);
    record.Function = ZIP_MEMORY_ENTRY;
    record.lpszItemList = g_items;
    record.lpCallbackStruct = c.callbacks;
    record.quietFlag = 1;
    record.encryptFlag = 1;
    record.lpszEncryptCode = c.password;
    record.lZipSubOptions2 = ZSO2_STRONG_ENCRYPTION;
    record.lSEInfo = c.strongInfo;
    int result = ZipExecute(&record);
    if (c.code) EXPECT_EQ(result, c.code);
    else EXPECT_NE(result, 0);
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().type;
  }
}

TEST_F(ZipExecuteTest, QuietRefusalShowsNothing) {
  MessageRecorder recorder;
  ZIPCMDSTRUCT record = RecordingCommand(&recorder);
  record.quietFlag = 1;
  EXPECT_EQ(ZipExecute(&record), 16);
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(ZipExecuteTest, RecordSizesSelectVersionAndTitle) {
  struct Case {
    int32_t size;
    int version;
    const char *title;
  };
  char title[] = "Packing";
  const Case cases[] = {
      {sizeof(ZIPCMDSTRUCT100), 100, "Compress Progress"}, {sizeof(ZIPCMDSTRUCT200), 200, "Compress Progress"},
      {sizeof(ZIPCMDSTRUCT300), 300, "Packing"},           {sizeof(ZIPCMDSTRUCT500), 500, "Packing"},
      {sizeof(ZIPCMDSTRUCT), 600, "Packing"},
  };
  for (const Case &c : cases) {
    ZIPCMDSTRUCT record = {};
    record.size = c.size;
    record.Function = 9;  // refused after the title is taken
    record.lpszZIPFile = g_archive;
    record.quietFlag = 1;
    record.lpszExtProgTitle = title;
    EXPECT_EQ(ZipExecute(&record), 16) << c.size;
    EXPECT_EQ(state->recordVersion, c.version) << c.size;
    EXPECT_STREQ(state->progressTitle, c.title) << c.size;
    EXPECT_STREQ(state->archiveName, "C:\\some dir\\out.zip");
  }
}

TEST_F(ZipExecuteTest, OtherSizesAreRefusedWithoutReadingFurther) {
  const int32_t quietEnd = offsetof(ZIPCMDSTRUCT, quietFlag) + 4;
  for (int32_t size : {quietEnd, int32_t(sizeof(ZIPCMDSTRUCT100)) - 1, int32_t(sizeof(ZIPCMDSTRUCT100)) + 1,
                       int32_t(sizeof(ZIPCMDSTRUCT500)) - 20, int32_t(sizeof(ZIPCMDSTRUCT)) + 1}) {
    // A record exactly as long as it claims: nothing past it may be read.
    std::vector<char> bytes(size);
    memcpy(bytes.data(), &size, sizeof size);
    int32_t quiet = 1;
    memcpy(bytes.data() + offsetof(ZIPCMDSTRUCT, quietFlag), &quiet, sizeof quiet);
    EXPECT_EQ(ZipExecute(reinterpret_cast<ZIPCMDSTRUCT *>(bytes.data())), 16) << size;
  }
}

TEST_F(ZipExecuteTest, RecordTooShortForItsFlagsIsRefusedQuietly) {
  int32_t size = 8;
  EXPECT_EQ(ZipExecute(reinterpret_cast<ZIPCMDSTRUCT *>(&size)), 16);
}

TEST_F(ZipExecuteTest, OldestLayoutHasNoMessageCallback) {
  ZIPCMDSTRUCT record = {};
  record.size = sizeof(ZIPCMDSTRUCT100);
  record.quietFlag = 1;
  record.Function = ZIP_ADD;
  record.lpszZIPFile = g_archive;
  record.encryptFlag = 1;
  record.lpszEncryptCode = g_password;
  MessageRecorder recorder;
  record.lpMessageDisplay = RecordMessage;  // beyond the caller's size
  record.lpMessageDisplayData = &recorder;
  record.lZipSubOptions2 = 0x8;            // likewise: must not refuse
  ZipExecute(&record);
  EXPECT_TRUE(recorder.lookups.empty());
  EXPECT_EQ(state->recordVersion, 100);
}

// Re-entry from a callback of a running command is refused with 1 and leaves
// the running command's own result and report alone.
struct Reentry {
  ZIPCMDSTRUCT inner;
  int innerResult = -1;
};

void ReenterOnce(MessageRecorder *recorder, int) {
  auto *reentry = static_cast<Reentry *>(recorder->context);
  if (reentry->innerResult != -1) return;
  reentry->innerResult = 0;
  reentry->innerResult = ZipExecute(&reentry->inner);
}

TEST_F(ZipExecuteTest, ReentryFromCallbackGivesOne) {
  MessageRecorder recorder;
  Reentry reentry;
  reentry.inner = RecordingCommand(&recorder);
  reentry.inner.Function = ZIP_ADD;
  reentry.inner.lpszZIPFile = g_archive;
  recorder.context = &reentry;
  recorder.onLookup = ReenterOnce;

  ZIPCMDSTRUCT outer = RecordingCommand(&recorder);
  outer.Function = 0;
  outer.lpszZIPFile = g_archive;
  EXPECT_EQ(ZipExecute(&outer), 16);
  EXPECT_EQ(reentry.innerResult, 1);
  EXPECT_EQ(state->result, 16);

  ASSERT_EQ(recorder.shown.size(), 2u);
  EXPECT_EQ(recorder.shown[0].number, 1);
  EXPECT_EQ(recorder.shown[0].text, "Busy, can't re-enter now\n");
  EXPECT_EQ(recorder.shown[1].number, 16);
  EXPECT_EQ(state->busy, 0);
}

// What the command decoded, seen from inside it: the report of a refusal
// that comes after the record is decoded (function 0).
struct Decoded {
  uint32_t kind = 99, strength = 99;
  bool strongContext = false;
};

void CaptureDecoded(MessageRecorder *recorder, int) {
  auto *decoded = static_cast<Decoded *>(recorder->context);
  ZipState *state = ZipCurrentState();
  decoded->kind = state->cipher.kind;
  decoded->strength = state->cipher.strength;
  decoded->strongContext = state->strongContext != nullptr;
}

TEST_F(ZipExecuteTest, EncryptionKindFromSecondOptionWord) {
  struct Case {
    int encrypt;
    uint32_t options2, seInfo, kind, strength;
  };
  const Case cases[] = {
      {1, 0x0, 3, kEncryptTraditional, 0}, {1, 0xC, 3, kEncryptStrong, 3}, {1, 0x4, 0x11, kEncryptStrong, 1},
      {0, 0x4, 3, kEncryptTraditional, 0},
  };
  for (const Case &c : cases) {
    MessageRecorder recorder;
    Decoded decoded;
    recorder.context = &decoded;
    recorder.onShown = CaptureDecoded;
    ZIPCMDSTRUCT record = RecordingCommand(&recorder);
    record.Function = 0;
    record.lpszZIPFile = g_archive;
    record.encryptFlag = c.encrypt;
    record.lpszEncryptCode = g_password;
    record.lZipSubOptions2 = c.options2;
    record.lSEInfo = c.seInfo;
    EXPECT_EQ(ZipExecute(&record), 16);
    EXPECT_EQ(decoded.kind, c.kind) << c.options2;
    EXPECT_EQ(decoded.strength, c.strength) << c.options2;
    EXPECT_EQ(decoded.strongContext, c.kind == kEncryptStrong) << c.options2;
    EXPECT_EQ(state->strongContext, nullptr);  // released when the command ends
  }
}

TEST_F(ZipExecuteTest, CreatesStateBlockWhenThreadHasNone) {
  ASSERT_EQ(ZipThreadStateRelease(), 1);
  EXPECT_EQ(ZipCurrentState(), nullptr);
  ZIPCMDSTRUCT record = {};
  record.size = sizeof record;
  record.quietFlag = 1;
  EXPECT_EQ(ZipExecute(&record), 16);
  EXPECT_NE(ZipCurrentState(), nullptr);
  state = ZipCurrentState();
}

TEST(ZipMemoryEntryLevel, ClampsAndSelectsMethod) {
  struct Case {
    int compFactor, level, method;
  };
  const Case cases[] = {{0, 1, -1}, {1, 1, -1}, {9, 9, -1}, {10, 0, 9}, {15, 5, 9}, {19, 9, 9}, {25, 9, 9}, {-3, 1, -1}};
  for (const Case &c : cases) {
    int level = -99, method = -99;
    ZipMemoryEntryLevel(c.compFactor, &level, &method);
    EXPECT_EQ(level, c.level) << c.compFactor;
    EXPECT_EQ(method, c.method) << c.compFactor;
  }
}

TEST_F(ZipExecuteTest, PasswordIsCutByEncryptionKind) {
  std::string seventy(70, 'p');
  state->cipher.kind = kEncryptTraditional;
  ASSERT_EQ(ZipTakePassword(seventy.c_str(), state), 0);
  EXPECT_EQ(state->passwordLength, 65u);
  EXPECT_EQ(std::string(state->password), seventy.substr(0, 65));

  state->cipher.kind = kEncryptStrong;
  ASSERT_EQ(ZipTakePassword(seventy.c_str(), state), 0);
  EXPECT_EQ(state->passwordLength, 70u);
  ZipFreePassword(state);
  EXPECT_EQ(state->password, nullptr);
}

TEST_F(ZipExecuteTest, EmptyPasswordIsRefusedWithDetail) {
  MessageRecorder recorder;
  state->messageDisplay = RecordMessage;
  state->messageDisplayData = &recorder;
  EXPECT_EQ(ZipTakePassword("", state), 16);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0].text, "Invalid control parameters (was getting encryption password)\n");
}

}  // namespace
