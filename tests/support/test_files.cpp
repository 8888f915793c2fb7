#include "test_files.h"

#include <fstream>
#include <sstream>

std::string ReadFileContent(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  const std::string content = ReadFileContent(path);
  return std::vector<uint8_t>(content.begin(), content.end());
}
