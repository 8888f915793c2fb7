#include "ContainerEntryStream.h"

#include <cstring>

#include "EngineCallbacks.h"
#include "LittleEndian.h"
#include "RatePerMille.h"
#include "SecureContainerFormat.h"

namespace {

// Record sizes are 32-bit and the engine's callback offsets are signed.
constexpr uint64_t kLargestRecord = 0x7FFFFFFF;

bool SeekTo(FILE* file, int64_t position) { return _fseeki64(file, position, SEEK_SET) == 0; }

}  // namespace

ContainerEntryStream::ContainerEntryStream(FILE* input, uint64_t inputSize, FILE* container,
                                           const ContainerEntryFacts& facts, BuildReporter* reporter,
                                           const std::string& progressText)
    : m_input(input),
      m_inputSize(inputSize),
      m_container(container),
      m_facts(facts),
      m_reporter(reporter),
      m_progressText(progressText) {}

bool ContainerEntryStream::Begin() {
  m_recordStart = _ftelli64(m_container);
  const uint8_t placeholder[kContainerRecordHeaderBytes] = {};
  return m_recordStart >= 0 && std::fwrite(placeholder, 1, sizeof placeholder, m_container) == sizeof placeholder;
}

bool ContainerEntryStream::Finish(uint8_t kind, uint8_t strength) {
  if (m_failed || m_head.size() < kEntryHeaderBytes || m_outputLength > kLargestRecord) return false;
  const int64_t end = _ftelli64(m_container);
  ContainerRecordHeader header = {};
  header.kind = kind;
  header.strength = strength;
  header.recordLength = static_cast<uint32_t>(m_outputLength);
  header.dataSize = static_cast<uint32_t>(m_inputSize);
  uint8_t bytes[kContainerRecordHeaderBytes];
  StoreContainerRecordHeader(header, bytes);
  return end >= 0 && SeekTo(m_container, m_recordStart) &&
         std::fwrite(bytes, 1, sizeof bytes, m_container) == sizeof bytes && SeekTo(m_container, end);
}

int ContainerEntryStream::ReadInput(unsigned char* buffer, uint32_t* length, uint64_t offset) {
  if (offset > kLargestRecord) {
    *length = 0;
    return kMemoryIoFailed;
  }
  const uint64_t available = offset < m_inputSize ? m_inputSize - offset : 0;
  int status = kMemoryIoMore;
  if (*length >= available) {
    *length = static_cast<uint32_t>(available);
    status = kMemoryIoLast;
  }
  if (*length && (!m_input || _fseeki64(m_input, static_cast<int64_t>(offset), SEEK_SET) != 0 ||
                  std::fread(buffer, 1, *length, m_input) != *length)) {
    *length = 0;
    return kMemoryIoFailed;
  }
  if (m_reporter)
    m_reporter->ContainerProgress(kBuildEntryReading, static_cast<int>(ComputeRatePerMille(offset, m_inputSize)),
                                  m_progressText.c_str());
  return status;
}

// The central header with the entry's own name, time and read-only bit; the
// signature stays out of the record.
bool ContainerEntryStream::WriteHead() {
  uint8_t* head = reinterpret_cast<uint8_t*>(&m_head[0]);
  const size_t nameLength = LoadLe16(head + kEntryNameLengthAt);
  const size_t extraLength = LoadLe16(head + kEntryExtraLengthAt);
  if (m_head.size() < kEntryHeaderBytes + nameLength + extraLength || m_facts.name.size() > 0xFFFF) return false;
  if (m_facts.utf8Name) StoreLe16(LoadLe16(head + kEntryFlagsAt) | kEntryUtf8NameFlag, head + kEntryFlagsAt);
  StoreLe16(m_facts.dosTime, head + kEntryTimeAt);
  StoreLe16(m_facts.dosDate, head + kEntryDateAt);
  StoreLe16(static_cast<uint16_t>(m_facts.name.size()), head + kEntryNameLengthAt);
  StoreLe32(m_facts.readOnly ? FILE_ATTRIBUTE_READONLY : 0, head + kEntryExternalAttributesAt);
  const std::string rest = m_head.substr(kEntryHeaderBytes + nameLength);
  m_head.resize(kEntryHeaderBytes);
  m_head += m_facts.name + rest;
  const size_t body = m_head.size() - kMemoryEntrySignatureBytes;
  m_outputLength += m_head.size();
  return std::fwrite(m_head.data() + kMemoryEntrySignatureBytes, 1, body, m_container) == body;
}

bool ContainerEntryStream::WriteOutput(const unsigned char* bytes, uint32_t length) {
  if (m_head.size() >= kEntryHeaderBytes && m_outputLength > 0) {
    m_outputLength += length;
    return m_outputLength <= kLargestRecord && std::fwrite(bytes, 1, length, m_container) == length;
  }
  // The zip side sends the header in one write; gather it all the same.
  m_head.append(reinterpret_cast<const char*>(bytes), length);
  if (m_head.size() < kEntryHeaderBytes) return true;
  const uint8_t* head = reinterpret_cast<const uint8_t*>(m_head.data());
  const size_t whole = kEntryHeaderBytes + LoadLe16(head + kEntryNameLengthAt) + LoadLe16(head + kEntryExtraLengthAt);
  return m_head.size() < whole || WriteHead();
}

void CALLBACK ContainerEntryStream::MemoryIo(int operation, unsigned char* buffer, uint32_t* length, uint32_t inputLow,
                                             uint32_t inputHigh, uint32_t, uint32_t, void* userData, int* status) {
  auto* stream = static_cast<ContainerEntryStream*>(userData);
  if (operation == kMemoryIoRead) {
    *status = stream->ReadInput(buffer, length, (static_cast<uint64_t>(inputHigh) << 32) | inputLow);
  } else if (operation == kMemoryIoWrite) {
    const bool written = stream->WriteOutput(buffer, *length);
    stream->m_failed |= !written;
    *status = written ? kMemoryIoMore : kMemoryIoFailed;
  }
}
