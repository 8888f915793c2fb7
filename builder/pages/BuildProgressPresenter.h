// The Build page's behaviour without its window: it answers the build
// pipeline's reporter calls by driving the page's controls through a host,
// asks for the source archive's password, shows the failure box once per
// failed build and launches the built program on Test.
#pragma once
#include <string>
#include <vector>

#include "BuildPageHost.h"
#include "BuildReporter.h"

class BuildProgressPresenter : public BuildReporter {
 public:
  explicit BuildProgressPresenter(BuildPageHost& host) : host_(host) {}

  // The page as it first shows: Test, the overall bar and the percents off,
  // the entries bar hidden. Its progress texts are kept as they first read.
  void ShowIdle();
  // Before the pipeline runs: the title names the output, the progress starts
  // afresh (every step's text back as it first read and off, the bars empty).
  void BuildStarting(const std::string& outputName);
  // The Test button: launches the last built program, or says it is not there.
  void TestPressed();

  bool built() const { return built_; }
  const std::string& outputPath() const { return outputPath_; }

  void StepStarted(BuildStep step) override;
  void Position(int position) override;
  void ContainerProgress(int code, int value, const char* text) override;
  void CopyProgress(int percent) override;
  void PumpMessages() override { host_.PumpMessages(); }
  void Message(BuildMessage message) override { host_.ShowError(message); }
  bool AskSourcePassword(std::string* password) override;
  void Verified(int entryCount) override;
  void BuildFailed(BuildStep step, const std::string& text) override;
  void BuildSucceeded(const std::string& outputPath) override;

 private:
  // Builder string |id| with its first placeholder replaced by |argument|.
  std::string Formatted(int id, const std::string& argument);
  void EntryStarted(const std::string& name);
  void EntryExtracted(const std::string& name);
  void ShowEntryProgress(int value, const std::string& name);

  BuildPageHost& host_;
  std::vector<std::string> idleTexts_;  // of kProgressTexts, as the page first showed them
  std::string outputName_;  // of the build running
  std::string outputPath_;  // of the last successful build
  bool built_ = false;
  bool failureShown_ = false;
  // The entry being rebuilt.
  int entriesDone_ = 0;
  int entryTotal_ = 0;
  bool entryExtracted_ = false;
  std::string decompressionText_, encryptionPercent_, entriesPercent_;
};
