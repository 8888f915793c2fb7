// What the build steps tell whoever runs them: the Build page, or a test
// that records it. Every call comes on the building thread, inside the step
// that makes it.
#pragma once
#include <string>

// Container progress codes and their values.
enum BuildProgressCode {
  kBuildHeaderWritten = 81,   // value: source entry count; text: the archive
  kBuildItemProgress = 82,    // value: the engine's percent x 10; text: its per-item text
  kBuildEntryExtracted = 83,  // value: 1000; text: the last per-item text
  kBuildEntryReading = 86,    // value: per mille of the entry read by the compressor
};

// The steps of one build, in order.
enum BuildStep {
  kStepVerify,
  kStepRebuild,
  kStepWriteStub,
  kStepAppendContainer,
  kStepAppendSettings,
  kStepFinished,
};

// Builder strings a step shows in a message box of its own.
enum BuildMessage {
  kMessageOutputNotCreated = 23,     // "Could not create the SFX output file. ..."
  kMessageContainerNotOpened = 187,  // "Could not open the ZIP output file. ..."
};

class BuildReporter {
 public:
  virtual ~BuildReporter() = default;
  virtual void StepStarted(BuildStep step) = 0;
  // The overall position, 0 to 8.
  virtual void Position(int position) = 0;
  virtual void ContainerProgress(int code, int value, const char* text) = 0;
  // Percent of the container appended so far.
  virtual void CopyProgress(int percent) = 0;
  // Lets waiting window messages run; called once per copied chunk.
  virtual void PumpMessages() = 0;
  virtual void Message(BuildMessage message) = 0;
  // The source archive holds encrypted entries: the password to extract
  // them, or false to go on without one (those entries may be skipped).
  virtual bool AskSourcePassword(std::string* password) = 0;
  virtual void Verified(int entryCount) = 0;
  // The build stops at |step|; |text| says why.
  virtual void BuildFailed(BuildStep step, const std::string& text) = 0;
  virtual void BuildSucceeded(const std::string& outputPath) = 0;
};
