// Wine's floor under an extraction: reads the whole archive and writes the
// same files, folders first, with the same sizes, but decodes nothing. The
// extraction benchmark subtracts its time from the engine's to show what the
// engine itself costs above what any program pays here for the same files.
//   write_floor ARCHIVE LIST DEST   (LIST: one "size relative/path" a line)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct Entry {
  unsigned long long size;
  std::string path;  // with backslashes
};

std::vector<Entry> ReadList(const char* listPath) {
  std::vector<Entry> entries;
  FILE* list = std::fopen(listPath, "r");
  if (!list) return entries;
  char line[4096];
  while (std::fgets(line, sizeof line, list)) {
    char* name = nullptr;
    unsigned long long size = std::strtoull(line, &name, 10);
    if (!name || *name != ' ') continue;
    std::string path(name + 1);
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
    for (char& c : path)
      if (c == '/') c = '\\';
    entries.push_back({size, path});
  }
  std::fclose(list);
  return entries;
}

// Reads the archive front to back in 64 KiB pieces, as an extraction would.
bool ReadArchive(const char* path, std::vector<char>& buffer) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD got = 0;
  while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
  }
  CloseHandle(file);
  return true;
}

// Creates every folder on the way to path below dest, each once: the least
// any extraction has to ask of the file system.
void MakeFolders(const std::string& dest, const std::string& path, std::set<std::string>& made) {
  for (size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    std::string folder = path.substr(0, slash);
    if (made.insert(folder).second) CreateDirectoryA((dest + "\\" + folder).c_str(), nullptr);
  }
}

bool WriteEntry(const std::string& dest, const Entry& entry, const std::vector<char>& buffer,
                std::set<std::string>& made) {
  MakeFolders(dest, entry.path, made);
  HANDLE file = CreateFileA((dest + "\\" + entry.path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  unsigned long long left = entry.size;
  bool written = true;
  while (left > 0 && written) {
    DWORD piece = static_cast<DWORD>(left < buffer.size() ? left : buffer.size());
    DWORD put = 0;
    written = WriteFile(file, buffer.data(), piece, &put, nullptr) && put == piece;
    left -= piece;
  }
  return CloseHandle(file) && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: write_floor ARCHIVE LIST DEST\n");
    return 2;
  }
  std::vector<Entry> entries = ReadList(argv[2]);
  if (entries.empty()) return 2;
  std::vector<char> buffer(65536, 'x');
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  std::set<std::string> made;
  bool done = ReadArchive(argv[1], buffer);
  for (const Entry& entry : entries) done = WriteEntry(argv[3], entry, buffer, made) && done;
  QueryPerformanceCounter(&end);
  std::printf("written %d seconds %.6f\n", done ? 1 : 0,
              static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
  return done ? 0 : 1;
}
