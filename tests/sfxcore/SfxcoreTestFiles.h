// Scratch files of the build core's Windows tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "MyCipherFile.h"

inline std::string WorkPath(const std::string& name) { return std::string(BRENNICOR_TEST_WORK) + "\\" + name; }

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, f) << path;
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

inline std::string ReadBytes(const std::string& path) {
  std::string bytes;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
  fclose(f);
  return bytes;
}

// Deletes the files left in a scratch folder by an earlier run, so a checker
// that reads the folder sees only what this run wrote.
inline void ClearScratchFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + found.cFileName).c_str());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// A record file with its own header holding the given lines.
inline void WriteRecordLines(const std::string& path, const std::vector<std::string>& lines) {
  CMyCipherFile file;
  ASSERT_EQ(CMyCipherFile::kDone, file.Open(path.c_str(), 0));
  for (const std::string& line : lines) ASSERT_EQ(CMyCipherFile::kDone, file.WriteRecord(line.c_str()));
  file.Close();
}
