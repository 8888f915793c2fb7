// A BuildReporter that keeps everything it is told, for the build tests.
#pragma once
#include <string>
#include <vector>

#include "BuildReporter.h"

struct RecordingReporter : BuildReporter {
  struct Progress {
    int code;
    int value;
    std::string text;
  };
  std::vector<BuildStep> steps;
  std::vector<int> positions;
  std::vector<Progress> progress;
  std::vector<int> copyPercents;
  int pumps = 0;
  std::vector<BuildMessage> messages;
  int passwordRequests = 0;
  std::string sourcePassword;  // what AskSourcePassword answers; empty declines
  int verifiedCount = -1;
  std::vector<std::pair<BuildStep, std::string>> failures;
  std::string succeeded;

  void StepStarted(BuildStep step) override { steps.push_back(step); }
  void Position(int position) override { positions.push_back(position); }
  void ContainerProgress(int code, int value, const char* text) override {
    progress.push_back({code, value, text ? text : ""});
  }
  void CopyProgress(int percent) override { copyPercents.push_back(percent); }
  void PumpMessages() override { ++pumps; }
  void Message(BuildMessage message) override { messages.push_back(message); }
  bool AskSourcePassword(std::string* password) override {
    ++passwordRequests;
    *password = sourcePassword;
    return !sourcePassword.empty();
  }
  void Verified(int entryCount) override { verifiedCount = entryCount; }
  void BuildFailed(BuildStep step, const std::string& text) override { failures.emplace_back(step, text); }
  void BuildSucceeded(const std::string& outputPath) override { succeeded = outputPath; }

  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Progress& p : progress) codes.push_back(p.code);
    return codes;
  }
};
