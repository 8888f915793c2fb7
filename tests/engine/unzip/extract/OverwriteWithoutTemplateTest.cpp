// A program without the overwrite question's template: when the application
// leaves the question to the engine, the dialog cannot be shown, and that
// counts as Cancel, never as Yes.
#include <gtest/gtest.h>
#include "ExtractTestSupport.h"

TEST(OverwriteWithoutTemplate, AQuestionThatCannotBeShownCancels) {
  ASSERT_EQ(nullptr, FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), MAKEINTRESOURCEA(5)));
  std::string dest = Work("no-template");
  RemoveTree(dest);
  CreateDirectoryA(dest.c_str(), nullptr);
  WriteFileBytes(dest + "/a.txt", Bytes{'o', 'l', 'd'});
  gQuestionAnswer = -1;  // not an answer: the engine asks by itself
  UNZIPCMDSTRUCT command = Command(kUnzipExtract, Work("izip-6.zip"));
  command.lpszFilespec = "a.txt";
  command.lpszDestination = Kept(dest);
  EXPECT_EQ(48, UnzipExecute(&command));
  EXPECT_EQ((Bytes{'o', 'l', 'd'}), ReadFileBytes(dest + "/a.txt"));
}
