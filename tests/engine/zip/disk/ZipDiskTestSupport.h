// What the file-list, update-reader and main-loop tests share: a scratch
// folder per test under the work folder, file helpers, and a state block
// whose warnings are recorded.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../ZipTestSupport.h"
#include "ZipCommand.h"
#include "ZipState.h"

// BRENNICOR_TEST_WORK/zipdisk/<name>, with backslashes.
std::string DiskWork(const std::string &name);
void WriteText(const std::string &path, const std::string &text);
std::string ReadText(const std::string &path);
bool FileExists(const std::string &path);
// Sets the last-write time, as local date and time.
void SetLocalWriteTime(const std::string &path, int year, int month, int day);
// Removes a folder and everything in it.
void RemoveTree(const std::string &path);
void CopyInto(const std::string &from, const std::string &to);

// The texts of the warning boxes shown.
std::vector<std::string> Warnings(const MessageRecorder &recorder);

// A state block whose messages go to the recorder, with prompts allowed and
// a fresh scratch folder that is also the current folder.
class ZipDiskTest : public ZipStateTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A fresh scratch folder for the test, made current.
  std::string Scratch(const std::string &name);
  MessageRecorder recorder;
  char previousFolder[MAX_PATH] = {};
};
