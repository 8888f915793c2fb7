// The stub's container reader over arbitrary bytes: header, then records to
// the end, each read back in two pieces; no length from the file may lead it astray.
#include "ContainerFile.h"

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/stub_container_fuzz." + std::to_string(getpid());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    {
        ContainerFile container;
        ContainerHeader header;
        ContainerRecord record;
        if (container.Open(path.c_str(), 0, size) && container.ReadHeader(header)) {
            while (container.ReadRecord(record) == ContainerFile::Next::Record) {
                if (record.name.size() > 254)
                    __builtin_trap();
                const uint32_t length = record.header.recordLength;
                std::vector<uint8_t> bytes(length);
                const uint32_t first = length / 3;
                if (!container.ReadEntryBytes(record, 0, bytes.data(), first) ||
                    !container.ReadEntryBytes(record, first, bytes.data() + first, length - first) ||
                    bytes[0] != 0x50 || container.ReadEntryBytes(record, length, bytes.data(), 1))
                    __builtin_trap();
            }
        }
    }
    std::remove(path.c_str());
    return 0;
}
