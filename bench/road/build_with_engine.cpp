// The build side of the whole-road benchmark: turns a zip archive into a
// self-extracting program with the build core, set to extract on its own
// into DESTINATION, and prints the seconds the build took inside the process.
//   build_with_engine SOURCE_ZIP PROGRAM STUB_IMAGE DESTINATION
#include <windows.h>

#include <stdio.h>

#include <fstream>
#include <iterator>
#include <string>

#include "SelfExtractorBuild.h"

namespace {

// Nobody watches: the build only has to say why it failed.
class QuietReporter : public BuildReporter {
 public:
  void StepStarted(BuildStep) override {}
  void Position(int) override {}
  void ContainerProgress(int, int, const char*) override {}
  void CopyProgress(int) override {}
  void PumpMessages() override {}
  void Message(BuildMessage message) override { fprintf(stderr, "build message %d\n", message); }
  bool AskSourcePassword(std::string*) override { return false; }
  void Verified(int) override {}
  void BuildFailed(BuildStep step, const std::string& text) override {
    fprintf(stderr, "build failed at step %d: %s\n", step, text.c_str());
  }
  void BuildSucceeded(const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: build_with_engine SOURCE_ZIP PROGRAM STUB_IMAGE DESTINATION\n");
    return 2;
  }
  std::ifstream stubFile(argv[3], std::ios::binary);
  const std::string image((std::istreambuf_iterator<char>(stubFile)), std::istreambuf_iterator<char>());
  if (image.empty()) {
    fprintf(stderr, "cannot read %s\n", argv[3]);
    return 2;
  }
  ProjectSettings settings;
  settings.sourceArchive = argv[1];
  settings.outputName = argv[2];
  settings.unzipToFolder = argv[4];
  settings.autoUnzip = 1;
  settings.recreateFolders = 1;
  settings.overwrite = 1;
  QuietReporter reporter;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  int built = BuildSelfExtractingProgram(GetModuleHandleA(nullptr), settings, StubImage{image.data(), image.size()},
                                         reporter);
  QueryPerformanceCounter(&end);
  printf("built %d seconds %.6f\n", built,
         static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
  return built ? 0 : 1;
}
