#include "ContainerFile.h"

#include "LittleEndian.h"

#include <cstring>

namespace {

constexpr size_t kStoredNameMax = 254;

// Containers sit behind the stub image, so offsets may pass 2 GiB.
bool SeekTo(FILE* file, uint64_t position) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<int64_t>(position), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

}  // namespace

ContainerFile::~ContainerFile() {
    if (m_file != nullptr)
        std::fclose(m_file);
}

bool ContainerFile::Open(const char* path, uint64_t offset, uint64_t end) {
    if (path == nullptr || offset > end)
        return false;
    m_file = std::fopen(path, "rb");
    m_position = offset;
    m_end = end;
    return m_file != nullptr;
}

bool ContainerFile::ReadAt(uint64_t position, void* bytes, size_t count) {
    if (position > m_end || count > m_end - position)
        return false;
    // A seek empties the stream's buffer and costs a call to the system, so
    // reads that go on where the last one ended (most of them) skip it.
    const bool read = (position == m_streamPosition || SeekTo(m_file, position)) &&
                      std::fread(bytes, 1, count, m_file) == count;
    m_streamPosition = read ? position + count : kPositionUnknown;
    return read;
}

bool ContainerFile::ReadHeader(ContainerHeader& header) {
    uint8_t bytes[kContainerHeaderBytes];
    if (!ReadAt(m_position, bytes, sizeof bytes))
        return false;
    header = LoadContainerHeader(bytes);
    const uint64_t keyBlockStart = m_position + sizeof bytes;
    if (header.keyBlockLength > kContainerKeyBlockMax || header.keyBlockLength > m_end - keyBlockStart)
        return false;
    m_position = keyBlockStart + header.keyBlockLength;
    return true;
}

ContainerFile::Next ContainerFile::ReadRecord(ContainerRecord& record) {
    if (m_position == m_end)
        return Next::End;
    record = ContainerRecord();
    uint8_t bytes[kContainerRecordHeaderBytes];
    if (!ReadAt(m_position, bytes, sizeof bytes) || !LoadContainerRecordHeader(bytes, record.header))
        return Next::Broken;
    record.storedStart = m_position + sizeof bytes;
    const uint32_t length = record.header.recordLength;
    if (length < kEntryHeaderBytes || length - kMemoryEntrySignatureBytes > m_end - record.storedStart)
        return Next::Broken;
    uint8_t central[kEntryHeaderBytes];
    if (!ReadEntryBytes(record, 0, central, sizeof central))
        return Next::Broken;
    record.flags = LoadLe16(central + kEntryFlagsAt);
    record.dosTime = LoadLe16(central + kEntryTimeAt);
    record.dosDate = LoadLe16(central + kEntryDateAt);
    record.externalAttributes = LoadLe32(central + kEntryExternalAttributesAt);
    const size_t nameLength = LoadLe16(central + kEntryNameLengthAt);
    if (nameLength <= kStoredNameMax && nameLength <= length - kEntryHeaderBytes) {
        char name[kStoredNameMax];
        if (!ReadEntryBytes(record, kEntryHeaderBytes, reinterpret_cast<uint8_t*>(name),
                            static_cast<uint32_t>(nameLength)))
            return Next::Broken;
        if (std::memchr(name, '\0', nameLength) == nullptr)
            record.name.assign(name, nameLength);
    }
    m_position = record.storedStart + length - kMemoryEntrySignatureBytes;
    return Next::Record;
}

bool ContainerFile::ReadEntryBytes(const ContainerRecord& record, uint64_t position, uint8_t* bytes,
                                   uint32_t count) {
    const uint64_t length = record.header.recordLength;
    if (position > length || count > length - position)
        return false;
    uint8_t signature[kMemoryEntrySignatureBytes];
    StoreLe32(kEntryHeaderSignature, signature);
    while (count > 0 && position < kMemoryEntrySignatureBytes) {
        *bytes++ = signature[position++];
        --count;
    }
    return count == 0 ||
           ReadAt(record.storedStart + position - kMemoryEntrySignatureBytes, bytes, count);
}
