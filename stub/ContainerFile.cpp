#include "ContainerFile.h"

namespace {

// A central directory header is 46 bytes before its name.
constexpr size_t kCentralHeaderBytes = 46;
constexpr size_t kCentralNameLengthAt = 28;
constexpr uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr size_t kStoredNameMax = 254;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

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
    return SeekTo(m_file, position) && std::fread(bytes, 1, count, m_file) == count;
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

ContainerFile::Next ContainerFile::ReadRecord(ContainerRecordHeader& header, std::vector<uint8_t>& entry) {
    if (m_position == m_end)
        return Next::End;
    uint8_t bytes[kContainerRecordHeaderBytes];
    if (!ReadAt(m_position, bytes, sizeof bytes) || !LoadContainerRecordHeader(bytes, header))
        return Next::Broken;
    const uint64_t storedStart = m_position + sizeof bytes;
    if (header.recordLength < kCentralHeaderBytes ||
        header.recordLength - kMemoryEntrySignatureBytes > m_end - storedStart)
        return Next::Broken;
    entry.assign(header.recordLength, 0);
    const uint32_t signature = kCentralHeaderSignature;
    for (size_t i = 0; i < kMemoryEntrySignatureBytes; ++i)
        entry[i] = static_cast<uint8_t>(signature >> (8 * i));
    if (!ReadAt(storedStart, entry.data() + kMemoryEntrySignatureBytes,
                header.recordLength - kMemoryEntrySignatureBytes))
        return Next::Broken;
    m_position = storedStart + header.recordLength - kMemoryEntrySignatureBytes;
    return Next::Record;
}

bool ContainerFile::EntryName(const std::vector<uint8_t>& entry, std::string& name) {
    if (entry.size() < kCentralHeaderBytes)
        return false;
    const size_t length = Le16(entry.data() + kCentralNameLengthAt);
    if (length > kStoredNameMax || length > entry.size() - kCentralHeaderBytes)
        return false;
    name.assign(reinterpret_cast<const char*>(entry.data()) + kCentralHeaderBytes, length);
    return name.find('\0') == std::string::npos;
}
