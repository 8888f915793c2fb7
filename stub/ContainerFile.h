// Reading the secure container out of the program file: its header and one
// entry record after another, every length checked against the container's
// end. A record's bytes stay in the file: the engine reads them in pieces, so
// memory does not grow with the entry.
#pragma once

#include "SecureContainerFormat.h"

#include <cstdint>
#include <cstdio>
#include <string>

// One record as the reader found it: its header, where its stored bytes lie,
// and the facts of its central header the driver needs.
struct ContainerRecord {
    ContainerRecordHeader header = {};
    uint64_t storedStart = 0;    // file offset of the record's bytes after the signature
    std::string name;            // the stored name, as stored (empty when it does not fit)
    uint16_t flags = 0;          // general-purpose flags (bit 11: the name is UTF-8)
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t externalAttributes = 0;
};

class ContainerFile {
public:
    enum class Next { Record, End, Broken };

    ContainerFile() = default;
    ~ContainerFile();
    ContainerFile(const ContainerFile&) = delete;
    ContainerFile& operator=(const ContainerFile&) = delete;

    // The container lies in [offset, end) of the file at path.
    bool Open(const char* path, uint64_t offset, uint64_t end);
    // Reads the header and steps over the key block; false when either
    // does not fit in the container.
    bool ReadHeader(ContainerHeader& header);
    // Reads the next record's header and the central header and name at its
    // start. End exactly at the container's end; Broken for bytes before the
    // end that do not start a record (the writer leaves no gap, so they are
    // damage) or a length that cannot hold an entry or runs past the end.
    Next ReadRecord(ContainerRecord& record);
    // count bytes of the record's memory entry record from position, the
    // signature restored in front; false when they pass the record's end.
    bool ReadEntryBytes(const ContainerRecord& record, uint64_t position, uint8_t* bytes, uint32_t count);

private:
    bool ReadAt(uint64_t position, void* bytes, size_t count);

    static constexpr uint64_t kPositionUnknown = UINT64_MAX;

    FILE* m_file = nullptr;
    uint64_t m_end = 0;
    uint64_t m_position = 0;
    uint64_t m_streamPosition = kPositionUnknown;  // where the stream stands, when known
};
