// What the writer tests share: a zip state block per test, a memory I/O
// callback over byte vectors, test data, and the scratch folder the external
// checks read.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <stdint.h>
#include <string>
#include <vector>

#include "ZipApi.h"
#include "ZipState.h"

// The memory I/O callback of a caller like the builder's container writer:
// reads come from input, writes are appended to output. Either side can be
// told to answer a given call with another status.
struct MemoryIo {
  std::vector<uint8_t> input;
  std::vector<uint8_t> output;
  uint32_t readPiece = UINT32_MAX;  // most bytes handed out per read
  int readAnswerAt = -1;            // the read call (from 0) that answers readAnswer
  int readAnswer = 3;
  int writeAnswerAt = -1;           // the write call (from 0) that answers writeAnswer
  int writeAnswer = 3;
  int reads = 0;
  int writes = 0;
  bool positionsAgree = true;       // every write came at the end of the output so far
  CALLBACKSTRUCT record{};

  MemoryIo();
  static void CALLBACK Proc(int operation, unsigned char *buffer, uint32_t *length, uint32_t inputLow,
                            uint32_t inputHigh, uint32_t outputLow, uint32_t outputHigh, void *userData,
                            int *status);
};

struct MemoryEntryOptions {
  int compFactor = 6;
  const char *password = nullptr;
  uint32_t strongStrength = 0;  // 1-3: strong encryption, else traditional
  bool zip64 = false;
  uint16_t subOptions = 0;
};

// Runs function 6 over io's input; the zip result code.
int RunMemoryEntry(MemoryIo *io, const char *name, const MemoryEntryOptions &options);

// Repeatable data that compresses to about half: text with noise.
std::vector<uint8_t> TestData(size_t size, uint32_t seed);

uint16_t Le16(const std::vector<uint8_t> &bytes, size_t offset);
uint32_t Le32(const std::vector<uint8_t> &bytes, size_t offset);

// A file in the scratch folder the external checks read.
std::string WorkPath(const std::string &name);
void WriteWorkFile(const std::string &name, const std::vector<uint8_t> &bytes);

class ZipWriterTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  ZipState *state = nullptr;
};
