// A zip state block for each test, and a MessageDisplayProc that records
// what the engine shows and may rewrite the texts it looks up.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ZipCommand.h"
#include "ZipState.h"

struct ShownMessage {
  int type;
  int number;
  std::string text;
  std::string title;
  int style;
};

struct MessageRecorder {
  std::vector<ShownMessage> shown;  // every call but the text lookups
  std::vector<int> lookups;         // ids of the text lookups (code 13)
  std::map<int, std::string> rewrites;
  int answer = IDOK;
  // Called at every lookup, before any rewrite, and at every message shown.
  void (*onLookup)(MessageRecorder *recorder, int id) = nullptr;
  void (*onShown)(MessageRecorder *recorder, int type) = nullptr;
  void *context = nullptr;
};

int CALLBACK RecordMessage(int type, int style, int first, int second, char *text, char *title, void *userData);

// Sets up the slot once and gives each test a fresh state block.
class ZipStateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  ZipState *state = nullptr;
};

// A full-size record with the recorder attached and quietFlag clear.
ZIPCMDSTRUCT RecordingCommand(MessageRecorder *recorder);
