// One short-lived unzip job: the engine's per-thread state for the length of
// one wrapper call, the command record and the member information buffer,
// and the engine callbacks that turn the engine's reports into
// JobItemCallback calls.
#pragma once
#include <windows.h>

#include <string>

#include "ArchiveJob.h"
#include "MyFileUtility.h"
#include "UnzipApi.h"

class CMyUnzipJob {
 public:
  // Starts the unzip side for this thread; the command record is cleared.
  explicit CMyUnzipJob(HINSTANCE instance);
  CMyUnzipJob(const CMyUnzipJob&) = delete;
  CMyUnzipJob& operator=(const CMyUnzipJob&) = delete;
  // Releases the engine state and its thread-local slot.
  virtual ~CMyUnzipJob();

  CMyFileUtility utility;
  HINSTANCE instance;
  int functionCode = 0;
  int entryCount = 0;  // returnCount of the last command
  // What AnswerRenameQuery does with a query: 0 asks the callback, 2 skips,
  // 3 overwrites. The wrappers leave it at 0.
  int renameAction = 0;
  UNZIPCMDSTRUCT command;
  UnzipMemberInfoEx memberInfo;
  // The cleaned texts the command record points at.
  std::string pattern;
  std::string itemList;
};

// What RunUnzipCommand hands to the engine; fields left out are 0.
struct UnzipCommandArgs {
  const char* archivePath = nullptr;
  const char* destination = nullptr;
  int function = 0;
  char* returnString = nullptr;
  int* count = nullptr;  // in and out
  const char* memberPattern = nullptr;
  const char* itemList = nullptr;  // replaces the member pattern when not empty
  const char* password = nullptr;
  int recurse = 0;
  int keepFolderNames = 0;
  int optionWord = 0;
  int index = -1;  // the member to handle when no pattern or list is given
  int test = 0;    // check the members' data without writing them
};

// Fills the job's command record, runs it and returns the engine's result
// (49 becomes 0); -1 without an archive path. After a successful command
// with a JobItemCallback, the last overall report is repeated once as 257
// and the callback's answer becomes the result.
int RunUnzipCommand(CMyUnzipJob& job, const UnzipCommandArgs& args);

// The layer's process-wide state, reset by every wrapper.
void BeginJob(JobItemCallback callback);
JobItemCallback CurrentJobCallback();
