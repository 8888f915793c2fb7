// Scratch folders and files for the stub tests.
#pragma once

#include <windows.h>

#include <string>

// A fresh, empty folder under the test scratch folder, ending in '\'.
std::string FreshFolder(const std::string& name);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
std::string ReadFile(const std::string& path);
// Waits up to timeoutMs for path to appear.
bool WaitForFile(const std::string& path, DWORD timeoutMs);
