// Whole builds through the engine: source zips rebuilt into containers and
// written as programs. The Python inspector then checks every program and
// its records against the source archives with zlib and 7-Zip.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BuildTestFiles.h"
#include "EngineCallbacks.h"
#include "MyFileUtility.h"
#include "ProgramManifest.h"
#include "RecordingReporter.h"
#include "ContainerEntryStream.h"
#include "SecureContainerFormat.h"
#include "SecureContainerWriter.h"
#include "SelfExtractorBuild.h"
#include "SelfExtractorFormat.h"
#include "SfxcoreTestFiles.h"

namespace {

const char kFolder[] = "sfxcore-build/";

std::string Source(const std::string& name) { return WorkFile(std::string(kFolder) + name); }

uint32_t Le32At(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
         static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ProgramBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    image_ = FakeStubImage();
    WriteBytes(Source("stub.bin"), image_);
  }

  ProjectSettings Project(const std::string& source, const std::string& program) {
    ProjectSettings settings;
    settings.sourceArchive = Source(source);
    settings.outputName = Source(program);
    return settings;
  }

  int Build(ProjectSettings& settings) { return BuildSelfExtractingProgram(nullptr, settings, ImageOf(image_), reporter_); }

  // Hands the program to the inspector.
  void Describe(const ProjectSettings& settings, const std::string& program, const std::string& source,
                int entryCount, int records) {
    ProgramManifest m;
    m.sourcePassword = reporter_.sourcePassword;
    m.program = std::string(kFolder) + program;
    m.image = std::string(kFolder) + "stub.bin";
    m.source = std::string(kFolder) + source;
    m.lines = StubSettingsLines(settings);
    m.entryCount = entryCount;
    m.records = records;
    if (settings.passwordProtection) {
      m.strength = settings.aesStrengthIndex + 1;
      m.password = settings.password;
      m.passwordLength = static_cast<int>(settings.password.size());
    }
    m.deflate64 = settings.deflate64 != 0;
    WriteManifest(m);
  }

  std::string image_;
  RecordingReporter reporter_;
};

TEST_F(ProgramBuild, OpenProgramOfThreeFilesAndAFolder) {
  ProjectSettings settings = Project("tree.zip", "open.exe");
  settings.launchCommand = "readme.txt";
  ASSERT_EQ(1, Build(settings)) << (reporter_.failures.empty() ? "" : reporter_.failures[0].second);
  EXPECT_EQ(4, settings.entriesFound);
  EXPECT_EQ(4, reporter_.verifiedCount);
  EXPECT_EQ(0, reporter_.passwordRequests);
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}), reporter_.positions);
  EXPECT_EQ((std::vector<BuildStep>{kStepVerify, kStepRebuild, kStepWriteStub, kStepAppendContainer,
                                    kStepAppendSettings, kStepFinished}),
            reporter_.steps);
  ASSERT_FALSE(reporter_.progress.empty());
  EXPECT_EQ(kBuildHeaderWritten, reporter_.progress[0].code);
  EXPECT_EQ(4, reporter_.progress[0].value);
  const std::vector<int> codes = reporter_.Codes();
  for (int code : {kBuildItemProgress, kBuildEntryExtracted, kBuildEntryReading})
    EXPECT_NE(codes.end(), std::find(codes.begin(), codes.end(), code)) << code;
  EXPECT_EQ(settings.outputName, reporter_.succeeded);
  // The temporary container goes with the build.
  EXPECT_EQ(0, CMyFileUtility::FileExists(settings.temporaryContainer.c_str()));
  Describe(settings, "open.exe", "tree.zip", 4, 4);
}

// Each strength the builder offers reaches every record's header and its
// 0x0017 field: the inspector checks both against the manifest.
TEST_F(ProgramBuild, ProtectedDeflate64ProgramAtEachStrength) {
  const char* const programs[] = {"protected-128.exe", "protected-192.exe", "protected-256.exe"};
  for (int index = 0; index < 3; ++index) {
    reporter_ = RecordingReporter();
    ProjectSettings settings = Project("mixed.zip", programs[index]);
    settings.passwordProtection = 1;
    settings.password = "pass word";
    settings.aesStrengthIndex = index;
    settings.deflate64 = 1;
    settings.aboutText = "About\r\nthis program";
    ASSERT_EQ(1, Build(settings)) << programs[index] << ": "
                                  << (reporter_.failures.empty() ? "" : reporter_.failures[0].second);
    // The empty file has its record too.
    Describe(settings, programs[index], "mixed.zip", 4, 4);
  }
}

TEST_F(ProgramBuild, EncryptedSourceAsksForItsPassword) {
  ProjectSettings settings = Project("locked.zip", "from-locked.exe");
  settings.deflate64 = 1;
  settings.compressionLevel = 9;
  reporter_.sourcePassword = "source";
  ASSERT_EQ(1, Build(settings)) << (reporter_.failures.empty() ? "" : reporter_.failures[0].second);
  EXPECT_EQ(1, reporter_.passwordRequests);
  Describe(settings, "from-locked.exe", "locked.zip", 4, 4);
}

TEST_F(ProgramBuild, LongPasswordGivesTheLongestKeyBlock) {
  ProjectSettings settings = Project("tree.zip", "long-password.exe");
  settings.passwordProtection = 1;
  settings.password = std::string(300, 'p');
  ASSERT_EQ(1, Build(settings)) << (reporter_.failures.empty() ? "" : reporter_.failures[0].second);
  const std::string program = ReadBytes(settings.outputName);
  EXPECT_EQ(kContainerMagicProtected, Le32At(program, image_.size()));
  EXPECT_EQ(512u, Le32At(program, image_.size() + 28));
}

TEST_F(ProgramBuild, FailedBuildsSayWhyAndLeaveNoProgram) {
  struct Case {
    const char* source;
    const char* output;
    size_t textLength;
    BuildStep step;
    const char* why;
  };
  const std::string longName = "The name of entry 'long/" + std::string(300, 'n') +
                               ".txt' is 309 bytes long; a name may be at most 259 bytes.";
  const Case cases[] = {
      {"absent.zip", "absent.exe", 0, kStepVerify, nullptr},
      {"empty.zip", "empty.exe", 0, kStepRebuild, "no entries"},
      {"tree.zip", "missing-folder/out.exe", 0, kStepVerify, "does not exist"},
      {"long-name.zip", "long-name.exe", 0, kStepVerify, longName.c_str()},
  };
  for (const Case& c : cases) {
    reporter_ = RecordingReporter();
    ProjectSettings settings = Project(c.source, c.output);
    settings.aboutText = std::string(c.textLength, 'a');
    settings.customMessage = std::string(c.textLength, 'c');
    settings.unzipToFolder = c.textLength ? std::string(300, 'f') : "";
    EXPECT_EQ(0, Build(settings)) << c.source;
    ASSERT_EQ(1u, reporter_.failures.size()) << c.source;
    EXPECT_EQ(c.step, reporter_.failures[0].first) << c.source;
    if (c.why) {
      EXPECT_TRUE(Contains(reporter_.failures[0].second, c.why)) << reporter_.failures[0].second;
    }
    EXPECT_EQ(0, CMyFileUtility::FileExists(settings.outputName.c_str())) << c.output;
  }
}

// Entries the engine refuses to extract, cannot open without the right
// password, or finds failing their CRC fail the build, each by name; no
// program is written.
TEST_F(ProgramBuild, UnsecuredEntriesFailTheBuildByName) {
  struct Case {
    const char* source;
    const char* password;
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {"escape.zip", "", {"'../escaped-by-build.txt' was not secured: its name is not safe",
                          "'CON' was not secured: its name is not safe",
                          "'a/../../climbs.txt' was not secured: its name is not safe"}},
      {"badcrc.zip", "", {"'bad-one.txt' was not secured: its data fails its CRC check",
                          "'sub/bad-two.txt' was not secured: its data fails its CRC check"}},
      {"locked.zip", "wrong", {"'readme.txt' was not secured: its password is missing or wrong",
                               "'docs/guide.txt' was not secured: its password is missing or wrong",
                               "'docs/notes.txt' was not secured: its password is missing or wrong"}},
  };
  for (const Case& c : cases) {
    reporter_ = RecordingReporter();
    reporter_.sourcePassword = c.password;
    ProjectSettings settings = Project(c.source, std::string(c.source) + ".exe");
    EXPECT_EQ(0, Build(settings)) << c.source;
    ASSERT_EQ(1u, reporter_.failures.size()) << c.source;
    EXPECT_EQ(kStepRebuild, reporter_.failures[0].first);
    for (const std::string& named : c.named)
      EXPECT_TRUE(Contains(reporter_.failures[0].second, named)) << reporter_.failures[0].second;
    EXPECT_FALSE(Contains(reporter_.failures[0].second, "good.txt")) << reporter_.failures[0].second;
    EXPECT_EQ(0, CMyFileUtility::FileExists(settings.outputName.c_str())) << c.source;
  }
}

// Sizes past what a program holds are refused from the zip's directory, at
// its verification, before anything is extracted or written.
TEST_F(ProgramBuild, SizesPastTheLimitsAreRefusedBeforeAnyWork) {
  struct Case {
    const char* source;
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {"huge-entry.zip", {"Entry 'two.bin' is 2.00 GiB (2,147,483,648 bytes); an entry must be smaller than 2 GiB.",
                          "Entry 'three.bin' is 3.00 GiB (3,221,225,472 bytes)"}},
      {"huge-program.zip", {"The entries add up to 4.08 GiB (4,378,853,376 bytes) compressed",
                            "Windows does not start a program of 4 GiB or more."}},
  };
  for (const Case& c : cases) {
    reporter_ = RecordingReporter();
    ProjectSettings settings = Project(c.source, std::string(c.source) + ".exe");
    EXPECT_EQ(0, Build(settings)) << c.source;
    ASSERT_EQ(1u, reporter_.failures.size()) << c.source;
    EXPECT_EQ(kStepVerify, reporter_.failures[0].first);
    for (const std::string& named : c.named)
      EXPECT_TRUE(Contains(reporter_.failures[0].second, named)) << reporter_.failures[0].second;
    EXPECT_FALSE(Contains(reporter_.failures[0].second, "small.txt")) << reporter_.failures[0].second;
    EXPECT_EQ(std::vector<BuildStep>{kStepVerify}, reporter_.steps) << c.source;
    EXPECT_EQ(0, CMyFileUtility::FileExists(settings.outputName.c_str())) << c.source;
  }
}

TEST_F(ProgramBuild, OutputNamingTheSourceLeavesTheSourceWhole) {
  const std::string original = ReadBytes(Source("tree.zip"));
  WriteBytes(Source("self.zip"), original);
  ProjectSettings settings = Project("self.zip", "sub\\..\\SELF.ZIP");
  EXPECT_EQ(0, Build(settings));
  ASSERT_EQ(1u, reporter_.failures.size());
  EXPECT_EQ(kStepVerify, reporter_.failures[0].first);
  EXPECT_TRUE(Contains(reporter_.failures[0].second, "replace the source archive")) << reporter_.failures[0].second;
  EXPECT_EQ(original, ReadBytes(Source("self.zip")));
}

// Everything in a folder, by wide name: names the code page cannot spell too.
std::vector<std::wstring> WideEntriesIn(const std::string& folder) {
  std::vector<std::wstring> names;
  wchar_t pattern[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, (folder + "*").c_str(), -1, pattern, MAX_PATH);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// The build's temporary tree goes whole, folders named outside the code page
// included, whether the build succeeds or fails. TEMP is a folder of the
// test's own while it runs.
TEST_F(ProgramBuild, TemporaryTreeGoesWholeWithNamesOutsideTheCodePage) {
  const std::string temp = Source("private-temp\\");
  CreateDirectoryA(temp.c_str(), nullptr);
  char savedTmp[MAX_PATH] = {}, savedTemp[MAX_PATH] = {};
  GetEnvironmentVariableA("TMP", savedTmp, MAX_PATH);
  GetEnvironmentVariableA("TEMP", savedTemp, MAX_PATH);
  SetEnvironmentVariableA("TMP", temp.c_str());
  SetEnvironmentVariableA("TEMP", temp.c_str());
  struct Case {
    const char* source;
    int built;
  };
  for (const Case& c : {Case{"names.zip", 1}, Case{"names-badcrc.zip", 0}}) {
    reporter_ = RecordingReporter();
    ProjectSettings settings = Project(c.source, std::string(c.source) + ".exe");
    EXPECT_EQ(c.built, Build(settings)) << c.source;
    EXPECT_EQ(std::vector<std::wstring>(), WideEntriesIn(temp)) << c.source;
  }
  SetEnvironmentVariableA("TMP", savedTmp[0] ? savedTmp : nullptr);
  SetEnvironmentVariableA("TEMP", savedTemp[0] ? savedTemp : nullptr);
}

TEST(SecureContainer, TwoBuildsDifferInGuidAndKeyBlock) {
  std::string containers[2];
  for (int i = 0; i < 2; ++i) {
    const std::string path = Source("twice-" + std::to_string(i) + ".container");
    ContainerBuildRecord record;
    // Sixteen characters: a key text of 32, whatever the GUID text's length.
    ASSERT_EQ(0, BuildSecureContainer(nullptr, nullptr, &record, Source("tree.zip").c_str(), path.c_str(), "",
                                      "sixteen secrets!", 0, 5, nullptr));
    EXPECT_EQ(4, record.entryCount);
    EXPECT_EQ(4, record.recordCount);  // the folder too
    containers[i] = ReadBytes(path);
  }
  const uint32_t k = Le32At(containers[0], 28);
  ASSERT_EQ(40u, k);
  ASSERT_EQ(k, Le32At(containers[1], 28));
  EXPECT_NE(containers[0].substr(4, 12), containers[1].substr(4, 12));
  EXPECT_NE(containers[0].substr(20, 8), containers[1].substr(20, 8));
  EXPECT_NE(containers[0].substr(32, k), containers[1].substr(32, k));
}

TEST(SecureContainer, WriterFailuresNameTheirCause) {
  ContainerBuildRecord record;
  EXPECT_EQ(kContainerWriteFailed,
            BuildSecureContainer(nullptr, nullptr, &record, Source("tree.zip").c_str(),
                                 Source("missing-folder/c.container").c_str(), "", "", 0, 5, nullptr));
  EXPECT_TRUE(Contains(record.failure, "could not be created")) << record.failure;

  // No strength the zip side accepts: the first file entry fails, by name.
  EXPECT_EQ(kContainerWriteFailed,
            BuildSecureContainer(nullptr, nullptr, &record, Source("tree.zip").c_str(),
                                 Source("bad-strength.container").c_str(), "", "secret", 5, 5, nullptr));
  EXPECT_TRUE(Contains(record.failure, "Entry 'readme.txt' could not be compressed")) << record.failure;
  EXPECT_EQ(0, record.recordCount);

  EXPECT_EQ(-1, BuildSecureContainer(nullptr, nullptr, &record, Source("empty.zip").c_str(),
                                     Source("empty.container").c_str(), "", "", 0, 5, nullptr));
  EXPECT_EQ(-1, BuildSecureContainer(nullptr, nullptr, &record, Source("tree.zip").c_str(), nullptr, "", "", 0, 5,
                                     nullptr));
}

TEST(SecureContainer, NothingLandsOutsideTheTemporaryFolder) {
  char temp[MAX_PATH];
  ASSERT_NE(0u, GetTempPathA(sizeof temp, temp));
  ContainerBuildRecord record;
  // The engine refuses the climbing member, so the build fails and names it.
  EXPECT_EQ(kContainerWriteFailed, BuildSecureContainer(nullptr, nullptr, &record, Source("escape.zip").c_str(),
                                                        Source("escape.container").c_str(), "", "", 0, 5, nullptr));
  EXPECT_EQ(4, record.entryCount);
  EXPECT_EQ(0, CMyFileUtility::FileExists((std::string(temp) + "escaped-by-build.txt").c_str()));
}

class EntryStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(Source("stream-input.bin"), "0123456789");
    input_ = std::fopen(Source("stream-input.bin").c_str(), "rb");
    container_ = std::fopen(Source("stream.container").c_str(), "wb+");
    ASSERT_TRUE(input_ && container_);
  }
  void TearDown() override {
    if (input_) std::fclose(input_);
    if (container_) std::fclose(container_);
  }
  FILE* input_ = nullptr;
  FILE* container_ = nullptr;
};

TEST_F(EntryStreamTest, ReadsStayInsideTheEntry) {
  struct Case {
    uint64_t offset;
    uint32_t requested;
    uint32_t delivered;
    int status;
  };
  const Case cases[] = {
      {0, 4, 4, kMemoryIoMore},    {8, 4, 2, kMemoryIoLast},    {6, 4, 4, kMemoryIoLast},
      {10, 4, 0, kMemoryIoLast},   {25, 4, 0, kMemoryIoLast},   {0x80000000ull, 4, 0, kMemoryIoFailed},
      {1ull << 32, 4, 0, kMemoryIoFailed},
  };
  ContainerEntryStream stream(input_, 10, container_, ContainerEntryFacts(), nullptr, "");
  for (const Case& c : cases) {
    unsigned char buffer[16] = {};
    uint32_t length = c.requested;
    int status = kMemoryIoMore;
    ContainerEntryStream::MemoryIo(kMemoryIoRead, buffer, &length, static_cast<uint32_t>(c.offset),
                                   static_cast<uint32_t>(c.offset >> 32), 0, 0, &stream, &status);
    EXPECT_EQ(c.delivered, length) << c.offset;
    EXPECT_EQ(c.status, status) << c.offset;
    if (c.delivered) {
      EXPECT_EQ(std::string("0123456789").substr(static_cast<size_t>(c.offset), c.delivered),
                std::string(reinterpret_cast<char*>(buffer), c.delivered));
    }
  }
}

// The central header may come in pieces; the record takes the entry's own
// name, time, UTF-8 flag and read-only bit, and its header is filled in last.
TEST_F(EntryStreamTest, OutputGoesStraightIntoTheRecord) {
  std::string central(46, '\0');
  central[0] = 'P', central[1] = 'K', central[2] = 1, central[3] = 2;
  central[28] = 3;  // name length
  central += "abc";
  ContainerEntryFacts facts;
  facts.name = "\xC3\xA9t\xC3\xA9.txt";
  facts.utf8Name = true;
  facts.dosTime = 0x1234;
  facts.dosDate = 0x5678;
  facts.readOnly = true;
  ContainerEntryStream stream(input_, 10, container_, facts, nullptr, "");
  ASSERT_TRUE(stream.Begin());
  for (const std::string& piece : {central.substr(0, 20), central.substr(20), std::string("DATA")}) {
    uint32_t length = static_cast<uint32_t>(piece.size());
    int status = 0;
    std::string bytes = piece;
    ContainerEntryStream::MemoryIo(kMemoryIoWrite, reinterpret_cast<unsigned char*>(&bytes[0]), &length, 0, 0, 0,
                                   0, &stream, &status);
    EXPECT_EQ(kMemoryIoMore, status);
  }
  ASSERT_TRUE(stream.Finish(4, 3));
  std::fclose(container_);
  container_ = nullptr;
  const std::string record = ReadBytes(Source("stream.container"));
  const size_t length = 46 + facts.name.size() + 4;
  ASSERT_EQ(14 + length - 4, record.size());
  EXPECT_EQ("KvNx", record.substr(0, 4));
  EXPECT_EQ(4, record[4]);
  EXPECT_EQ(3, record[5]);
  EXPECT_EQ(length, Le32At(record, 6));
  EXPECT_EQ(10u, Le32At(record, 10));
  const std::string header = "PK\x01\x02" + record.substr(14);
  EXPECT_EQ(0x0800, Le32At(header, 8) & 0xFFFF);
  EXPECT_EQ(0x56781234u, Le32At(header, 12));
  EXPECT_EQ(facts.name.size(), Le32At(header, 28) & 0xFFFF);
  EXPECT_EQ(static_cast<uint32_t>(FILE_ATTRIBUTE_READONLY), Le32At(header, 38));
  EXPECT_EQ(facts.name + "DATA", header.substr(46));
}

}  // namespace
