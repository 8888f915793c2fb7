#include "SelfExtractorBuild.h"

#include <vector>

#include "ArchiveJob.h"
#include "BuildLimits.h"
#include "JobResultText.h"
#include "MyFileUtility.h"
#include "OutputLocation.h"
#include "ProgramImage.h"
#include "SecureContainerWriter.h"
#include "SourceNameLimit.h"

namespace {

int Failed(BuildReporter& reporter, BuildStep step, const std::string& text) {
  reporter.BuildFailed(step, text);
  return 0;
}

// Compared as Windows resolves them: a folder step back or a change of case names the same file.
bool NameSameFile(const std::string& first, const std::string& second) {
  char fullFirst[MAX_PATH], fullSecond[MAX_PATH];
  const DWORD firstLength = GetFullPathNameA(first.c_str(), MAX_PATH, fullFirst, nullptr);
  const DWORD secondLength = GetFullPathNameA(second.c_str(), MAX_PATH, fullSecond, nullptr);
  return firstLength > 0 && firstLength < MAX_PATH && secondLength > 0 && secondLength < MAX_PATH &&
         lstrcmpiA(fullFirst, fullSecond) == 0;
}

// The source's entries, recompressed into the container file.
int RebuildArchive(HINSTANCE instance, ProjectSettings& settings, const std::string& sourcePassword,
                   BuildReporter& reporter) {
  reporter.StepStarted(kStepRebuild);
  const int factor = settings.compressionLevel + 10 * (settings.deflate64 ? 1 : 0);
  const std::string password = settings.passwordProtection ? settings.password : "";
  ContainerBuildRecord record;
  const int result =
      BuildSecureContainer(instance, nullptr, &record, settings.sourceArchive.c_str(),
                           settings.temporaryContainer.c_str(), sourcePassword.c_str(), password.c_str(),
                           settings.aesStrengthIndex, factor, &reporter);
  if (result == 0) return 1;
  if (!record.failure.empty()) return Failed(reporter, kStepRebuild, record.failure);
  if (result == -1 && record.entryCount == 0)
    return Failed(reporter, kStepRebuild, "The source archive holds no entries.");
  return Failed(reporter, kStepRebuild, BuildFailureText(result));
}

uint64_t FileSizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA facts;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &facts)) return 0;
  return static_cast<uint64_t>(facts.nFileSizeHigh) << 32 | facts.nFileSizeLow;
}

int WriteProgram(ProjectSettings& settings, const StubImage& stub, BuildReporter& reporter) {
  reporter.Position(2);
  reporter.StepStarted(kStepWriteStub);
  // The source's sizes were checked before the work; the container's real
  // size is known only now, before the program's first byte.
  const std::string tooLarge = ProgramSizeProblem(stub.size + FileSizeOf(settings.temporaryContainer));
  if (!tooLarge.empty()) return Failed(reporter, kStepWriteStub, tooLarge);
  if (!WriteStub(&settings, stub, &reporter)) return Failed(reporter, kStepWriteStub, kStubWriteFailedText);
  reporter.Position(3);
  reporter.Position(4);
  if (!AppendArchive(&settings, &reporter)) return Failed(reporter, kStepAppendContainer, kAppendFailedText);
  reporter.Position(5);
  if (!AppendSettingsBlock(&settings, &reporter)) return Failed(reporter, kStepAppendSettings, kSettingsFailedText);
  return 1;
}

}  // namespace

int VerifySourceZip(HINSTANCE instance, ProjectSettings& settings, uint64_t imageSize, BuildReporter& reporter,
                    std::string* sourcePassword) {
  reporter.StepStarted(kStepVerify);
  sourcePassword->clear();
  int count = 0;
  const int result = CountArchiveEntries(instance, nullptr, settings.sourceArchive.c_str(), &count);
  if (result != 0) {
    reporter.BuildFailed(kStepVerify, BuildFailureText(result));
    return -1;
  }
  // The engine would refuse the entry only when extracting it, as a damaged
  // archive: the user is told which entry it is before any work.
  const std::string longName = SourceNameLengthProblem(settings.sourceArchive);
  if (!longName.empty()) {
    reporter.BuildFailed(kStepVerify, longName);
    return -1;
  }
  settings.entriesFound = count;
  // The listing of this very archive tells whether any entry is encrypted.
  std::vector<ArchiveListRecord> records;
  int listed = 0;
  ArchiveSummaryRecord summary;
  const bool listedAll = ListArchive(instance, nullptr, settings.sourceArchive.c_str(), &records, &listed, nullptr) == 0;
  // What the directory says is too large is refused before any extraction.
  const std::string tooLarge = listedAll ? SourceSizeProblems(records, imageSize) : "";
  if (!tooLarge.empty()) {
    reporter.BuildFailed(kStepVerify, tooLarge);
    return -1;
  }
  if (listedAll && ReadArchiveComment(instance, nullptr, settings.sourceArchive.c_str(), &summary) == 0 &&
      summary.encryptedCount != 0 && !reporter.AskSourcePassword(sourcePassword))
    sourcePassword->clear();
  reporter.Verified(count);
  return 0;
}

int BuildSelfExtractingProgram(HINSTANCE instance, ProjectSettings& settings, const StubImage& stub,
                               BuildReporter& reporter) {
  reporter.Position(0);
  if (settings.sourceArchive.empty() || settings.outputName.empty())
    return Failed(reporter, kStepVerify, "The project names no source archive or no output program.");
  // Writing the program truncates its file, and a failed build deletes it.
  if (NameSameFile(settings.sourceArchive, settings.outputName))
    return Failed(reporter, kStepVerify, "The output program would replace the source archive.");
  // Said before any work: the whole rebuild would otherwise run first.
  const OutputLocation location = CheckOutputLocation(settings.outputName);
  if (location.problem != OutputLocationProblem::kNone)
    return Failed(reporter, kStepVerify, OutputLocationText(location));
  // The chosen icon is checked, and put into the program's image, before any work.
  std::vector<uint8_t> programImage;
  const std::string iconProblem = MakeProgramImage(settings, stub, &programImage);
  if (!iconProblem.empty()) return Failed(reporter, kStepVerify, iconProblem);
  StubImage image;
  image.bytes = programImage.data();
  image.size = programImage.size();
  reporter.Position(1);

  std::string sourcePassword;
  if (VerifySourceZip(instance, settings, image.size, reporter, &sourcePassword) != 0) return 0;

  CMyFileUtility temporaries;  // deletes the container when the build ends
  settings.temporaryContainer = temporaries.MakeTempFileName(nullptr, "_sfx");
  if (settings.temporaryContainer.empty())
    return Failed(reporter, kStepRebuild, "No temporary file could be made for the secure container.");
  if (!RebuildArchive(instance, settings, sourcePassword, reporter)) return 0;

  if (!WriteProgram(settings, image, reporter)) {
    DeleteFileA(settings.outputName.c_str());
    return 0;
  }
  reporter.Position(6);
  reporter.StepStarted(kStepFinished);
  reporter.Position(7);
  reporter.Position(8);
  reporter.BuildSucceeded(settings.outputName);
  return 1;
}
