// Extracts (or, with "test", only tests) a whole archive with the engine
// (function 8) and prints how long the command took inside the process; the
// extraction benchmark runs it under Wine beside the native peers.
// Usage: extract_with_engine ARCHIVE DEST [ROUNDS [test]]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "UnzipApi.h"

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s archive destination [rounds]\n", argv[0]);
    return 2;
  }
  int rounds = argc > 3 ? atoi(argv[3]) : 1;
  int testOnly = argc > 4 && strcmp(argv[4], "test") == 0;
  if (!UnzipThreadInit(GetModuleHandleA(nullptr)) || !UnzipThreadAttach()) return 3;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  double best = 1e30;
  int result = 0;
  for (int round = 0; round < rounds && result == 0; ++round) {
    UNZIPCMDSTRUCT command = {};
    command.structSize = sizeof command;
    command.Function = kUnzipExtract;
    command.lpszZIPFile = argv[1];
    command.lpszFilespec = "*.*";
    command.index = -1;
    command.recurseFlag = 1;
    command.overWriteFlag = 1;
    command.quietFlag = 1;
    command.lpszDestination = argv[2];
    command.testFlag = testOnly;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    result = UnzipExecute(&command);
    QueryPerformanceCounter(&end);
    double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    if (seconds < best) best = seconds;
  }
  UnzipThreadStateRelease();
  UnzipThreadTerm();
  printf("result %d seconds %.6f\n", result, best);
  return result;
}
