// The engine's side of the archive creation benchmark: adds every file
// below a folder, recursively, to a new archive at the given level, and
// prints the seconds the command took inside the process.
//   create_with_engine ARCHIVE SOURCE_FOLDER LEVEL
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "ZipApi.h"
#include "ZipCommand.h"

int main(int argc, char **argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: create_with_engine ARCHIVE SOURCE_FOLDER LEVEL\n");
    return 2;
  }
  char archive[MAX_PATH];
  if (!GetFullPathNameA(argv[1], sizeof archive, archive, nullptr) || !SetCurrentDirectoryA(argv[2])) return 2;
  if (!ZipTlsAlloc(GetModuleHandleA(nullptr)) || !ZipThreadStateCreate()) return 2;

  char items[] = "*";
  ZIPCMDSTRUCT record = {};
  record.size = sizeof record;
  record.Function = ZIP_ADD;
  record.lpszZIPFile = archive;
  record.lpszItemList = items;
  record.recurseFlag = 1;
  record.compFactor = atoi(argv[3]);
  record.quietFlag = 1;

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  int result = ZipExecute(&record);
  QueryPerformanceCounter(&end);
  printf("%.4f\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));

  ZipThreadStateRelease();
  ZipTlsFree();
  return result;
}
