#include "MyUnzipJob.h"

#include <cstdio>
#include <cstring>

#include "BoundedText.h"

namespace {

// Replies the callbacks may fill; the rename query takes its new file name
// from the first.
constexpr size_t kReplyBytes = 2048;

struct JobLayerState {
  JobItemCallback callback = nullptr;
  int answer = 0;
  std::string lastOverallText;
  int lastOverallValue = 0;
  bool overallReported = false;  // during the command in progress
  char reply[kReplyBytes] = {};
  char secondReply[kReplyBytes] = {};
};

JobLayerState gLayer;

int CallJob(int code, const char* text, int value, void* item, void* queryTable, int* context) {
  return gLayer.callback(code, text, value, item, queryTable, 0, 0, gLayer.reply, gLayer.secondReply, context);
}

int CALLBACK RelayMinorStatus(const char* text, int percent, void* userData) {
  if (!gLayer.callback) return 0;
  return CallJob(kJobItemProgress, text, percent, userData, nullptr, &gLayer.answer);
}

int CALLBACK RelayMajorStatus(const char* text, int percent, void* userData) {
  if (!gLayer.callback) return 0;
  gLayer.lastOverallText = text ? text : "";
  gLayer.lastOverallValue = percent;
  gLayer.overallReported = true;
  return CallJob(kJobEntryFinished, text, percent, userData, nullptr, &gLayer.answer);
}

void RelayAction(const char* format, const char* name) {
  char text[kReplyBytes + 32];
  std::snprintf(text, sizeof text, format, name);
  RelayMinorStatus(text, 100, nullptr);
}

// The target keeps its drive and folder and takes |name| as its file name.
void RenameTarget(char* target, size_t capacity, const char* name) {
  char folder[kReplyBytes];
  CopyBounded(folder, CMyFileUtility::GetFolderOfPath(target, 1));
  if (folder[0] && !CMyFileUtility::EndsWithChar(folder, '\\')) AppendBounded(folder, "\\");
  CopyBounded(target, capacity, folder);
  AppendBounded(target, capacity, name);
}

void CALLBACK AnswerRenameQuery(void* record, void* userData) {
  if (!gLayer.callback || !record || !userData) return;
  auto* rename = static_cast<UnzipRenameRecordEx*>(record);
  auto* job = static_cast<CMyUnzipJob*>(userData);
  // The record's second text is all zero from the engine; terminate it all
  // the same before it is shown.
  rename->zero[sizeof rename->zero - 1] = '\0';
  const char* secondText = reinterpret_cast<const char*>(rename->zero);
  switch (job->renameAction) {
    case 2:
      gLayer.answer = 7;
      RelayAction("Skipping '%s'...", secondText);
      return;
    case 3:
      gLayer.answer = 5;
      RelayAction("Overwritting '%s'...", secondText);
      return;
    default:
      break;
  }
  uintptr_t table[kQuerySlots] = {};
  table[kQueryText] = reinterpret_cast<uintptr_t>(secondText);
  table[kQueryTargetPath] = reinterpret_cast<uintptr_t>(rename->path);
  table[kQueryDosDate] = rename->dosDate;
  table[kQueryDosTime] = rename->dosTime;
  table[kQueryAttributes] = rename->attributes;
  table[kQuerySizeLow] = static_cast<uint32_t>(rename->uncompressedSize);
  table[kQuerySizeHigh] = static_cast<uint32_t>(rename->uncompressedSize >> 32);
  gLayer.reply[0] = gLayer.secondReply[0] = '\0';
  CallJob(kJobOverwriteQuery, nullptr, 0, rename, table, &gLayer.answer);
  gLayer.reply[kReplyBytes - 1] = '\0';
  if (rename->path[0] && gLayer.reply[0]) RenameTarget(rename->path, sizeof rename->path, gLayer.reply);
  if (gLayer.answer == 5) job->renameAction = 3;
}

// Message types of the engine's MessageDisplayProc.
enum EngineMessage { kOverwriteQuery = 8, kQuestion = 9, kWarning = 12, kTextLookup = 13 };
enum CaptionString { kCaptionPlain = 103, kCaptionWarning = 104, kCaptionQuestion = 108 };

void LoadCaption(HINSTANCE instance, UINT id, char* caption) {
  char text[256] = {};
  LoadStringA(instance, id, text, sizeof text);
  if (caption) CopyBounded(caption, sizeof text, text);
}

int CALLBACK ShowEngineMessage(int type, int style, int first, int second, char* text, char* caption,
                               void* userData) {
  if (!gLayer.callback) return 0;
  HINSTANCE instance = userData ? static_cast<CMyUnzipJob*>(userData)->instance : nullptr;
  switch (type) {
    case 2: case 3: case 4: case 5: case 6: case 7: case 10: case 11:
      LoadCaption(instance, kCaptionPlain, caption);
      return -1;
    case kOverwriteQuery:
      return 5;
    case kQuestion:
    case kWarning:
      LoadCaption(instance, type == kQuestion ? kCaptionQuestion : kCaptionWarning, caption);
      return MessageBoxA(nullptr, text ? text : "", caption ? caption : "", static_cast<UINT>(style) | MB_TASKMODAL);
    case kTextLookup:
      return -1;
    default:
      LoadCaption(instance, kCaptionWarning, caption);
      return -1;
  }
}

}  // namespace

void BeginJob(JobItemCallback callback) {
  gLayer.callback = callback;
  gLayer.answer = 0;
}

JobItemCallback CurrentJobCallback() { return gLayer.callback; }

CMyUnzipJob::CMyUnzipJob(HINSTANCE instance) : instance(instance), command(), memberInfo() {
  // When either step fails the command is issued all the same: the engine
  // attaches by itself or fails with its own result.
  UnzipThreadInit(instance);
  UnzipThreadAttach();
  command.structSize = sizeof command;
}

CMyUnzipJob::~CMyUnzipJob() {
  UnzipThreadStateRelease();
  UnzipThreadTerm();
}

std::string CleanMemberPattern(const char* memberPattern) {
  std::string pattern = memberPattern ? memberPattern : "";
  if (!pattern.empty() && pattern.front() == ' ') pattern.erase(0, 1);
  if (!pattern.empty() && pattern.back() == ' ') pattern.pop_back();
  return pattern;
}

std::string CleanItemList(const char* itemList) {
  std::string list = itemList ? itemList : "";
  for (size_t at; (at = list.find(", ")) != std::string::npos;) list.replace(at, 2, " ");
  while (list.size() > 1 && list.back() == ' ') list.pop_back();
  return list;
}

int RunUnzipCommand(CMyUnzipJob& job, const UnzipCommandArgs& args) {
  if (!args.archivePath) return -1;
  UNZIPCMDSTRUCT& c = job.command;
  const int noFolderNames = args.keepFolderNames ? 0 : 1;
  job.functionCode = args.function;
  // The caller's texts are often literals: the cleaned copies live in the job.
  job.pattern = CleanMemberPattern(args.memberPattern);
  job.itemList = CleanItemList(args.itemList);
  c.structSize = sizeof c;
  c.Function = args.function;
  c.lpszZIPFile = args.archivePath;
  c.zInfo = nullptr;
  c.lpszFilespec = !job.itemList.empty() ? job.itemList.c_str() : args.memberPattern ? job.pattern.c_str() : nullptr;
  c.index = args.index;
  c.testFlag = args.test;
  c.lpszDestination = args.destination;
  c.quietFlag = 1;
  c.noDirectoryNamesFlag = noFolderNames;
  c.recurseFlag = args.recurse;
  c.noDirectoryItemsFlag = noFolderNames;
  c.lpMinorStatus = RelayMinorStatus;
  c.lpMinorUserData = &job;
  c.lpMajorStatus = RelayMajorStatus;
  c.lpMajorUserData = &job;
  if (args.count) c.returnCount = *args.count;
  c.lpszReturnString = args.returnString;
  c.diagnosticLogFlag = 0;
  c.outputModeFlag = args.optionWord;
  const bool password = args.password && args.password[0];
  c.decryptFlag = password ? 1 : 0;
  c.lpszDecryptCode = args.password;
  c.lpMessageDisplay = ShowEngineMessage;
  c.lpMessageDisplayData = &job;
  c.wUnzipSubOptions |= kUnzipStatusMayCancel | kUnzipKeepPartialOutput | kUnzipSkipLabelCheck;
  c.lpRenameProc = nullptr;
  c.lpRenameUserData = &job;
  c.pZipInfoEx = &job.memberInfo;
  c.lUnZipSubOptions2 |= kUnzipRenameLongRecord;
  c.lpRenameProcEX = AnswerRenameQuery;

  gLayer.overallReported = false;
  int result = UnzipExecute(&c);
  job.entryCount = c.returnCount;
  if (args.count) *args.count = c.returnCount;
  if (result == 49) result = 0;
  // The engine reports an entry as it starts the next one: the closing
  // report tells the caller that the last entry is done too.
  if (result == 0 && gLayer.callback && gLayer.overallReported) {
    const std::string text = gLayer.lastOverallText;
    result = CallJob(kJobEntryFinished, text.c_str(), gLayer.lastOverallValue, &job, nullptr, &result);
  }
  return result;
}
