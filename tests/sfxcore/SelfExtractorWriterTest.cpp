// The program writer's steps over a hand-made container, read back by the
// stub's own settings reader; the Python inspector checks the same programs
// byte by byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BuildTestFiles.h"
#include "ProgramManifest.h"
#include "RecordingReporter.h"
#include "SelfExtractorFormat.h"
#include "SelfExtractorWriter.h"
#include "SfxcoreTestFiles.h"
#include "StubSettings.h"

namespace {

const char kFolder[] = "sfxcore-program/";

class ProgramWriter : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ClearScratchFolder(WorkFile(kFolder)); }

  void SetUp() override {
    CreateDirectoryA(WorkFile(kFolder).c_str(), nullptr);
    image_ = FakeStubImage();
    WriteBytes(WorkFile(std::string(kFolder) + "stub.bin"), image_);
  }

  // Writes the three steps for settings over a container of the given bytes.
  int Build(const std::string& name, ProjectSettings& settings, const std::string& container) {
    const std::string containerName = std::string(kFolder) + name + ".container";
    WriteBytes(WorkFile(containerName), container);
    settings.outputName = WorkFile(std::string(kFolder) + name + ".exe");
    settings.temporaryContainer = WorkFile(containerName);
    if (!WriteStub(&settings, ImageOf(image_), &reporter_) || !AppendArchive(&settings, &reporter_) ||
        !AppendSettingsBlock(&settings, &reporter_))
      return 0;
    ProgramManifest manifest;
    manifest.program = std::string(kFolder) + name + ".exe";
    manifest.image = std::string(kFolder) + "stub.bin";
    manifest.container = containerName;
    manifest.lines = StubSettingsLines(settings);
    WriteManifest(manifest);
    return 1;
  }

  std::string image_;
  RecordingReporter reporter_;
};

TEST_F(ProgramWriter, DefaultsAreWhatTheStubReads) {
  ProjectSettings settings;
  const std::string container = PatternBytes(1000);
  ASSERT_EQ(1, Build("defaults", settings, container));

  StubSettings read;
  ASSERT_EQ(1, ReadStubSettings(settings.outputName.c_str(), read));
  EXPECT_EQ(kDefaultUnzipFolder, read.destination);
  EXPECT_EQ("", read.launchCommand);
  EXPECT_EQ("", read.aboutText);
  EXPECT_EQ(0, read.autoRun + read.overwrite + read.recreateFolders);
  EXPECT_EQ(image_.size(), read.containerOffset);
  EXPECT_EQ(image_.size() + container.size(), read.containerEnd);
  EXPECT_EQ(image_ + container, ReadBytes(settings.outputName).substr(0, read.containerEnd));
  EXPECT_EQ((std::vector<BuildStep>{kStepAppendContainer, kStepAppendSettings}), reporter_.steps);
}

TEST_F(ProgramWriter, OptionsAndTextsAreWhatTheStubReads) {
  ProjectSettings settings;
  settings.unzipToFolder = "D:\\Unpacked\\Here\\";
  settings.recreateFolders = 1;
  settings.autoUnzip = 1;
  settings.overwrite = 1;
  settings.launchCommand = "setup.exe /quiet";
  settings.aboutText = "About line one\r\nAbout line two";
  settings.customMessage = std::string(5000, 'm') + "\r\nend";
  ASSERT_EQ(1, Build("options", settings, PatternBytes(70000)));

  StubSettings read;
  ASSERT_EQ(1, ReadStubSettings(settings.outputName.c_str(), read));
  EXPECT_EQ(settings.unzipToFolder, read.destination);
  EXPECT_EQ(settings.launchCommand, read.launchCommand);
  EXPECT_EQ(settings.aboutText, read.aboutText);
  EXPECT_EQ(settings.customMessage, read.customMessage);
  EXPECT_EQ(1, read.autoRun);
  EXPECT_EQ(1, read.overwrite);
  EXPECT_EQ(1, read.recreateFolders);
  EXPECT_EQ(image_.size(), read.containerOffset);
}

TEST_F(ProgramWriter, ContainerOfOneChunkIsCopiedInTwoReads) {
  ProjectSettings settings;
  ASSERT_EQ(1, Build("one-chunk", settings, PatternBytes(16384)));
  EXPECT_EQ((std::vector<int>{100, 100}), reporter_.copyPercents);
  EXPECT_EQ(2, reporter_.pumps);
}

// Every line at the longest it may be, both texts longer than a line takes:
// the texts are cut to their lines, and the program still finds them all.
TEST_F(ProgramWriter, EveryLineAtItsLongestIsWhatTheStubReads) {
  ProjectSettings settings;
  settings.aboutText = std::string(20000, 'a');
  settings.customMessage = std::string(20000, 'c');
  settings.unzipToFolder = "C:\\" + std::string(300, 'f');
  settings.launchCommand = std::string(300, 'l');
  const std::vector<std::string> lines = StubSettingsLines(settings);
  EXPECT_EQ(kSettingsTextLineMax, lines.back().size());
  EXPECT_EQ(kSettingsTextLineMax, lines[lines.size() - 2].size());
  ASSERT_EQ(1, Build("longest", settings, PatternBytes(100)));

  StubSettings read;
  ASSERT_EQ(1, ReadStubSettings(settings.outputName.c_str(), read));
  EXPECT_FALSE(read.damaged);
  EXPECT_EQ(std::string(kAboutTextLimit, 'a'), read.aboutText);
  EXPECT_EQ(std::string(kCustomMessageLimit, 'c'), read.customMessage);
  EXPECT_EQ(image_.size(), read.containerOffset);
}

TEST_F(ProgramWriter, StepsReportWhatTheyCannotOpen) {
  const StubImage stub = ImageOf(image_);
  ProjectSettings settings;
  settings.outputName = WorkFile(std::string(kFolder) + "missing-folder/out.exe");
  EXPECT_EQ(0, WriteStub(&settings, stub, &reporter_));
  EXPECT_EQ(0, AppendArchive(&settings, &reporter_));
  EXPECT_EQ(0, AppendSettingsBlock(&settings, &reporter_));
  EXPECT_EQ((std::vector<BuildMessage>{kMessageOutputNotCreated, kMessageOutputNotCreated}), reporter_.messages);

  settings.outputName = WorkFile(std::string(kFolder) + "no-container.exe");
  settings.temporaryContainer = WorkFile(std::string(kFolder) + "absent.container");
  ASSERT_EQ(1, WriteStub(&settings, stub, &reporter_));
  EXPECT_EQ(0, AppendArchive(&settings, &reporter_));
  EXPECT_EQ(kMessageContainerNotOpened, reporter_.messages.back());

  EXPECT_EQ(0, WriteStub(&settings, StubImage(), &reporter_));
  EXPECT_EQ(0, WriteStub(nullptr, stub, &reporter_));
  EXPECT_EQ(0, AppendArchive(&settings, nullptr));
}

TEST(StubImage, ComesFromTheModulesResource) {
  const StubImage image = LoadStubImage(GetModuleHandleA(nullptr));
  ASSERT_NE(nullptr, image.bytes);
  EXPECT_EQ("MZ stand-in stub image carried as a resource\n",
            std::string(static_cast<const char*>(image.bytes), image.size));
  EXPECT_EQ(nullptr, LoadStubImage(GetModuleHandleA("kernel32.dll")).bytes);
}

}  // namespace
