// The stub's container reader over arbitrary bytes: header, then records to
// the end, each name taken out; no length from the file may lead it astray.
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
        ContainerRecordHeader record;
        std::vector<uint8_t> entry;
        std::string name;
        if (container.Open(path.c_str(), 0, size) && container.ReadHeader(header)) {
            while (container.ReadRecord(record, entry) == ContainerFile::Next::Record) {
                if (entry.size() != record.recordLength)
                    __builtin_trap();
                ContainerFile::EntryName(entry, name);
            }
        }
    }
    std::remove(path.c_str());
    return 0;
}
