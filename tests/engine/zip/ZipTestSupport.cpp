#include <gtest/gtest.h>

#include "ZipTestSupport.h"

int CALLBACK RecordMessage(int type, int style, int first, int second, char *text, char *title, void *userData) {
  auto *recorder = static_cast<MessageRecorder *>(userData);
  if (type != 13) {
    recorder->shown.push_back({type, first, text ? text : "", title ? title : "", style});
    if (recorder->onShown) recorder->onShown(recorder, type);
    return recorder->answer;
  }
  recorder->lookups.push_back(first);
  if (recorder->onLookup) recorder->onLookup(recorder, first);
  auto rewrite = recorder->rewrites.find(first);
  if (rewrite != recorder->rewrites.end()) strcpy(text, rewrite->second.c_str());
  return 0;
}

void ZipStateTest::SetUp() {
  ASSERT_EQ(ZipTlsAlloc(GetModuleHandleA(nullptr)), 1);
  ASSERT_EQ(ZipThreadStateCreate(), 1);
  state = ZipCurrentState();
  ASSERT_NE(state, nullptr);
}

void ZipStateTest::TearDown() { EXPECT_EQ(ZipThreadStateRelease(), 1); }

ZIPCMDSTRUCT RecordingCommand(MessageRecorder *recorder) {
  ZIPCMDSTRUCT record = {};
  record.size = sizeof record;
  record.lpMessageDisplay = RecordMessage;
  record.lpMessageDisplayData = recorder;
  return record;
}
