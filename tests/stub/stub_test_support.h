// Scratch folders and files for the stub tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// 1999-12-31 23:59:58 as a DOS date (high 16 bits) and time.
constexpr uint32_t kLastSecondOf1999 = ((19u << 9 | 12u << 5 | 31u) << 16) | (23u << 11 | 59u << 5 | 29u);

// A fresh, empty folder under the test scratch folder, ending in '\'.
std::string FreshFolder(const std::string& name);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Sets the file's last write to a local DOS date and time.
void SetFileDosTime(const std::string& path, uint32_t dosDateTime);
