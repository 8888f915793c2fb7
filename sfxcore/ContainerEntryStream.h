// One entry on its way from its extracted file into a container record. The
// zip side's memory function reads the file through MemoryIo in the pieces
// it asks for, and the memory entry record it writes goes straight into the
// container behind a record header that is filled in at the end: neither
// side holds the entry in memory. The record's central header takes the
// entry's own name (UTF-8, flag bit 11, when it is not plain ASCII), time
// and read-only bit.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "BuildReporter.h"

struct ContainerEntryFacts {
  std::string name;  // as stored: UTF-8 when utf8Name, '\\' between folders
  bool utf8Name = false;
  uint16_t dosTime = 0;
  uint16_t dosDate = 0;
  bool readOnly = false;
};

class ContainerEntryStream {
 public:
  // input: the open entry file (null for a folder); container: positioned
  // where the record goes. kind and strength go into the record header.
  ContainerEntryStream(FILE* input, uint64_t inputSize, FILE* container, const ContainerEntryFacts& facts,
                       BuildReporter* reporter, const std::string& progressText);

  // Writes the record header's place; false when the container refuses it.
  bool Begin();
  // Fills in the record header; false when the output was not a whole
  // memory entry record or the container refused a byte.
  bool Finish(uint8_t kind, uint8_t strength);

  // The zip side's memory I/O callback; user data is the stream.
  static void CALLBACK MemoryIo(int operation, unsigned char* buffer, uint32_t* length, uint32_t inputLow,
                                uint32_t inputHigh, uint32_t outputLow, uint32_t outputHigh, void* userData,
                                int* status);

  uint64_t OutputLength() const { return m_outputLength; }

 private:
  int ReadInput(unsigned char* buffer, uint32_t* length, uint64_t offset);
  bool WriteOutput(const unsigned char* bytes, uint32_t length);
  bool WriteHead();

  FILE* m_input;
  uint64_t m_inputSize;
  FILE* m_container;
  ContainerEntryFacts m_facts;
  BuildReporter* m_reporter;
  std::string m_progressText;
  int64_t m_recordStart = -1;
  std::string m_head;           // the central header until it is whole
  uint64_t m_outputLength = 0;  // of the memory entry record as the record holds it
  bool m_failed = false;
};
