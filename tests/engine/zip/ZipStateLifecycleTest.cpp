#include <gtest/gtest.h>

#include <thread>

#include "ZipApi.h"
#include "ZipState.h"

namespace {

ZIPCMDSTRUCT QuietBadFunction() {
  ZIPCMDSTRUCT record = {};
  record.size = sizeof record;
  record.quietFlag = 1;
  return record;
}

// The caller's order: slot, block, command, release, free; and what each step
// answers when taken out of turn.
TEST(ZipStateLifecycle, CallOrderAndDefaults) {
  ASSERT_EQ(ZipTlsAlloc(GetModuleHandleA(nullptr)), 1);
  EXPECT_EQ(ZipTlsAlloc(nullptr), 1);  // once per process
  EXPECT_EQ(ZipModuleInstance(), GetModuleHandleA(nullptr));
  EXPECT_EQ(ZipThreadStateRelease(), 0);  // no block yet

  ASSERT_EQ(ZipThreadStateCreate(), 1);
  ZipState *state = ZipCurrentState();
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->level, 6);
  EXPECT_EQ(state->forcedMethod, -1);
  EXPECT_EQ(state->promptsAllowed, 1);
  EXPECT_STREQ(state->progressTitle, "Compress Progress");
  EXPECT_STREQ(state->storeSuffixes, ".Z:.zip:.zoo:.arc:.lzh:.arj");
  for (HANDLE handle : {state->output, state->activityLog, state->oldArchive, state->volumeFile, state->spareHandle})
    EXPECT_EQ(handle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ZipThreadStateDefaults(nullptr), 0);

  ZIPCMDSTRUCT record = QuietBadFunction();
  EXPECT_EQ(ZipExecute(&record), 16);
  EXPECT_EQ(ZipThreadStateRelease(), 1);
  EXPECT_EQ(ZipCurrentState(), nullptr);

  EXPECT_EQ(ZipTlsFree(), 1);
  EXPECT_EQ(ZipTlsFree(), 0);
  EXPECT_EQ(ZipThreadStateCreate(), 0);  // side not initialised
  EXPECT_EQ(ZipExecute(&record), 4);
  ASSERT_EQ(ZipTlsAlloc(GetModuleHandleA(nullptr)), 1);
}

TEST(ZipStateLifecycle, EachThreadHasItsOwnBlock) {
  ASSERT_EQ(ZipTlsAlloc(GetModuleHandleA(nullptr)), 1);
  ASSERT_EQ(ZipThreadStateCreate(), 1);
  ZipState *mine = ZipCurrentState();
  ZipState *theirs = nullptr;
  int theirResult = -1;
  std::thread other([&] {
    ZIPCMDSTRUCT record = QuietBadFunction();
    theirResult = ZipExecute(&record);  // creates the thread's own block
    theirs = ZipCurrentState();
    ZipThreadStateRelease();
  });
  other.join();
  EXPECT_EQ(theirResult, 16);
  EXPECT_NE(theirs, nullptr);
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(ZipCurrentState(), mine);
  EXPECT_EQ(mine->result, 0);
  EXPECT_EQ(ZipThreadStateRelease(), 1);
}

}  // namespace
