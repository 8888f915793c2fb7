// What the extraction tests share: the engine set up once per program, a
// message callback with scripted answers, command records, files and a
// memory I/O callback over byte vectors.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "test_files.h"
#include "UnzipApi.h"

typedef std::vector<uint8_t> Bytes;

struct Message {
  int type;
  int first;
  std::string text;
};

// Messages the engine showed or reported since the last clear (lookups aside).
std::vector<Message> &Messages();
// The answer the message callback gives to overwrite questions (type 8) and
// questions (type 9); other boxes get OK or Cancel, split parts 0.
extern int gQuestionAnswer;
int CALLBACK RecordMessage(int type, int style, int first, int second, char *text, char *title, void *data);
// Whether a reported message names the text.
bool MessageNames(const std::string &text);

// The command's texts point at copies that live as long as the program.
const char *Kept(const std::string &text);
UNZIPCMDSTRUCT Command(int function, const std::string &archive);

std::string Work(const std::string &relative);  // under BRENNICOR_TEST_WORK/extract
void WriteFileBytes(const std::string &path, const Bytes &data);
bool Exists(const std::string &path);
void RemoveTree(const std::string &path);
// Text of the code page as wide text.
std::wstring WideOf(const std::string &text, UINT codePage);
// Files below the folder, relative with forward slashes, in UTF-8.
std::vector<std::string> FilesBelow(const std::string &folder);

// Function 10's partner: hands out an entry record and collects the member.
struct StreamPartner {
  Bytes record;
  Bytes output;
  uint32_t chunk = 0xFFFFFFFF;  // most bytes given per read
  int64_t cancelAt = -1;        // a read at or past this position answers status 2
  int64_t lastAt = -1;          // a read at or past this position gives nothing, status 0
  int writeStatus = 3;          // the answer to writes
  int reads = 0;
};
void CALLBACK StreamIo(int operation, unsigned char *buffer, uint32_t *length, uint32_t inLow, uint32_t inHigh,
                       uint32_t outLow, uint32_t outHigh, void *data, int *status);
// Runs function 10 over the partner's record.
int RunStream(StreamPartner &partner, const char *password = nullptr);

// The central header of a record and the data after it, as a stream record.
Bytes StreamRecord(uint16_t flags, uint16_t method, const std::string &name, const Bytes &extra, const Bytes &data);
