// Files a test reads back whole: what a program wrote, a log, a fixture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The whole content of the file at path, byte for byte; empty when it cannot be read.
std::string ReadFileContent(const std::string& path);
// The same, as bytes.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
