// Reading the secure container out of the program file: its header and one
// entry record after another, every length checked against the container's end.
#pragma once

#include "SecureContainerFormat.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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
    // Reads the next record: its header and the memory entry record with the
    // signature restored. End exactly at the container's end; Broken for bytes
    // before the end that do not start a record (the writer leaves no gap, so
    // they are damage) or a length that cannot hold an entry or runs past the end.
    Next ReadRecord(ContainerRecordHeader& header, std::vector<uint8_t>& entry);

    // The stored name of a memory entry record; false when it does not fit.
    static bool EntryName(const std::vector<uint8_t>& entry, std::string& name);

private:
    bool ReadAt(uint64_t position, void* bytes, size_t count);

    FILE* m_file = nullptr;
    uint64_t m_end = 0;
    uint64_t m_position = 0;
};
