// Files a test reads back whole: what a program wrote, a log, a fixture.
#pragma once

#include <string>

// The whole content of the file at path, byte for byte; empty when it cannot be read.
std::string ReadFileContent(const std::string& path);
