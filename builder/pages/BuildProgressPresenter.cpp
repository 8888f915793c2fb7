#include "BuildProgressPresenter.h"

#include <algorithm>

#include "PlaceholderText.h"
#include "builder_resource.h"

namespace {

constexpr int kLastPosition = 8;

// The texts a build enables or rewrites as it goes; each build starts with
// them off and reading as they did before the first build.
constexpr int kProgressTexts[] = {
    IDC_BUILD_CHECKING,      IDC_BUILD_CHECK_RESULT, IDC_BUILD_SECURING,        IDC_BUILD_SECURING_LABEL,
    IDC_BUILD_ENTRIES_PERCENT, IDC_BUILD_DECOMPRESSING, IDC_BUILD_ITEM_PERCENT, IDC_BUILD_ENCRYPTING,
    IDC_BUILD_ENTRY_READ,    IDC_BUILD_APPENDING,    IDC_BUILD_APPENDED_PERCENT, IDC_BUILD_ANALYZING,
    IDC_BUILD_INJECTING,     IDC_BUILD_FINALIZING,   IDC_BUILD_DONE,
};

std::string FileNamePart(const char* text) {
  const std::string path = text ? text : "";
  const size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "12.5%" for a value in tenths of a percent.
std::string TenthsPercent(int tenths) {
  tenths = std::max(tenths, 0);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

}  // namespace

std::string BuildProgressPresenter::Formatted(int id, const std::string& argument) {
  return FillPlaceholders(host_.LoadText(id), {argument});
}

void BuildProgressPresenter::ShowIdle() {
  idleTexts_.clear();
  for (int control : kProgressTexts) idleTexts_.push_back(host_.Text(control));
  for (int control : {IDC_BUILD_TEST, IDC_BUILD_OVERALL_BAR, IDC_BUILD_ENTRIES_PERCENT, IDC_BUILD_ITEM_PERCENT})
    host_.Enable(control, false);
  host_.Show(IDC_BUILD_ENTRIES_BAR, false);
}

void BuildProgressPresenter::BuildStarting(const std::string& outputName) {
  outputName_ = outputName;
  built_ = false;
  failureShown_ = false;
  entriesDone_ = entryTotal_ = 0;
  entryExtracted_ = false;
  decompressionText_.clear();
  encryptionPercent_.clear();
  entriesPercent_.clear();
  for (size_t i = 0; i < idleTexts_.size(); ++i) {
    host_.SetText(kProgressTexts[i], idleTexts_[i]);
    host_.Enable(kProgressTexts[i], false);
  }
  host_.SetRange(IDC_BUILD_ENTRIES_BAR, 0);
  host_.SetPosition(IDC_BUILD_ENTRIES_BAR, 0);
  host_.SetText(IDC_BUILD_TITLE, Formatted(IDS_BUILD_IN_PROGRESS, outputName));
  host_.UseBoldFont(IDC_BUILD_TITLE);
  host_.Enable(IDC_BUILD_ITEM_PERCENT, true);
  host_.Enable(IDC_BUILD_OVERALL_BAR, true);
  host_.SetRange(IDC_BUILD_OVERALL_BAR, kLastPosition);
  host_.SetPosition(IDC_BUILD_OVERALL_BAR, 0);
  host_.ShowIconsInColour();
  host_.Show(IDC_BUILD_ENTRIES_BAR, true);
  host_.Enable(IDC_BUILD_TEST, false);
  host_.Enable(IDC_BUILD_TITLE, true);
  host_.Enable(IDC_BUILD_OVERALL_LABEL, true);
}

void BuildProgressPresenter::StepStarted(BuildStep step) {
  switch (step) {
    case kStepVerify:
      host_.Enable(IDC_BUILD_CHECKING, true);
      host_.Enable(IDC_BUILD_CHECK_RESULT, true);
      break;
    case kStepRebuild:
      host_.Enable(IDC_BUILD_SECURING, true);
      host_.UseBoldFont(IDC_BUILD_SECURING);
      host_.Enable(IDC_BUILD_SECURING_LABEL, true);
      host_.Enable(IDC_BUILD_ENTRIES_PERCENT, true);
      break;
    case kStepWriteStub:
      // The container is complete: every entry was rebuilt.
      host_.SetRange(IDC_BUILD_ENTRIES_BAR, entryTotal_);
      host_.SetPosition(IDC_BUILD_ENTRIES_BAR, entryTotal_);
      host_.SetText(IDC_BUILD_ENTRY_READ, "100.0%");
      host_.SetText(IDC_BUILD_ENTRIES_PERCENT, "100.0%");
      break;
    case kStepAppendContainer:
      host_.Enable(IDC_BUILD_APPENDING, true);
      break;
    case kStepAppendSettings:
      host_.Enable(IDC_BUILD_ANALYZING, true);
      host_.Enable(IDC_BUILD_INJECTING, true);
      break;
    case kStepFinished:
      host_.Enable(IDC_BUILD_FINALIZING, true);
      break;
  }
}

void BuildProgressPresenter::Position(int position) { host_.SetPosition(IDC_BUILD_OVERALL_BAR, position); }

void BuildProgressPresenter::EntryStarted(const std::string& name) {
  entryExtracted_ = false;
  host_.Enable(IDC_BUILD_DECOMPRESSING, true);
  decompressionText_ = "Decompressing " + name + "...";
}

void BuildProgressPresenter::EntryExtracted(const std::string& name) {
  host_.Enable(IDC_BUILD_ENCRYPTING, true);
  ++entriesDone_;
  entriesPercent_ = std::to_string(entriesDone_ * 100 / std::max(entryTotal_, 1)) + "%";
  decompressionText_ = "Decompression Ok! [" + name + "].";
  entryExtracted_ = true;
}

void BuildProgressPresenter::ShowEntryProgress(int value, const std::string& name) {
  if (!entryExtracted_) host_.SetText(IDC_BUILD_ITEM_PERCENT, TenthsPercent(value));
  if (!decompressionText_.empty()) host_.SetText(IDC_BUILD_DECOMPRESSING, decompressionText_);
  host_.SetText(IDC_BUILD_ENCRYPTING, "Securing (Encrypting) " + name + "...");
  if (!encryptionPercent_.empty()) host_.SetText(IDC_BUILD_ENTRY_READ, encryptionPercent_);
  host_.SetPosition(IDC_BUILD_ENTRIES_BAR, entriesDone_);
  if (!entriesPercent_.empty()) host_.SetText(IDC_BUILD_ENTRIES_PERCENT, entriesPercent_);
}

void BuildProgressPresenter::ContainerProgress(int code, int value, const char* text) {
  const std::string name = FileNamePart(text);
  if (code == kBuildHeaderWritten) {
    entriesDone_ = 0;
    entryTotal_ = std::max(value, 0);
    host_.Enable(IDC_BUILD_ENTRIES_PERCENT, true);
    host_.SetRange(IDC_BUILD_ENTRIES_BAR, entryTotal_);
  } else {
    if (code == kBuildItemProgress) EntryStarted(name);
    if (code == kBuildEntryExtracted) EntryExtracted(name);
    if (code == kBuildEntryReading) {
      host_.Enable(IDC_BUILD_ENTRY_READ, true);
      encryptionPercent_ = TenthsPercent(value);
    }
    ShowEntryProgress(value, name);
  }
  host_.PumpMessages();
}

void BuildProgressPresenter::CopyProgress(int percent) {
  host_.SetText(IDC_BUILD_APPENDED_PERCENT, std::to_string(percent) + "%");
}

bool BuildProgressPresenter::AskSourcePassword(std::string* password) {
  while (!host_.PromptSourcePassword(password)) {
    if (!host_.AskAgainForPassword()) {
      password->clear();
      return false;
    }
  }
  return true;
}

void BuildProgressPresenter::Verified(int entryCount) {
  entryTotal_ = entryCount;
  host_.SetText(IDC_BUILD_CHECK_RESULT, Formatted(IDS_ZIP_VERIFIED, std::to_string(entryCount)));
}

void BuildProgressPresenter::BuildFailed(BuildStep step, const std::string& text) {
  // One box per failed build, and the title keeps naming the failure even
  // when the box's answer is stored and it never shows.
  if (failureShown_) return;
  failureShown_ = true;
  const std::string message = Formatted(IDS_BUILD_ERROR, text);
  host_.SetText(IDC_BUILD_TITLE, message);
  if (step == kStepVerify) host_.SetText(IDC_BUILD_CHECK_RESULT, message);
  host_.ShowFailureBox(text);
}

void BuildProgressPresenter::BuildSucceeded(const std::string& outputPath) {
  outputPath_ = outputPath;
  built_ = true;
  host_.Enable(IDC_BUILD_DONE, true);
  host_.Enable(IDC_BUILD_TEST, true);
  host_.SetText(IDC_BUILD_TITLE, Formatted(IDS_BUILD_ENDED, outputName_));
  host_.ShowSuccessBalloon();
}

void BuildProgressPresenter::TestPressed() {
  // The program may have been moved or deleted since it was built.
  if (built_ && host_.FileExists(outputPath_))
    host_.Launch(outputPath_);
  else
    host_.ShowNotCreatedBox();
}
