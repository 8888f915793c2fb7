// The whole road a user takes: programs built from the builder's project
// record behind the real stub, then run and answered as their user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "../sfxcore/RecordingReporter.h"
#include "ProjectSettings.h"
#include "SelfExtractorBuild.h"
#include "SelfExtractorWriter.h"
#include "dialog_robot.h"
#include "extract_test_support.h"
#include "stub_resource.h"
#include "stub_test_support.h"
#include "test_files.h"

namespace {

constexpr char kStubPasswordPrompt[] = "Korvane Brennicor Warning!";

// The source zip and what Info-ZIP's unzip made of it (with the launch probe in tools\).
std::string SourceWork(const std::string& relative) { return WorkPath("stub-build\\" + relative); }

RobotStep TypePassword(const std::string& password) {
  return {kStubPasswordPrompt, [password](HWND prompt) {
            TypeInto(prompt, IDC_PASSWORD, password);
            Press(prompt, IDOK);
          }};
}

// A protected project that extracts at once into destination.
ProjectSettings ProtectedProject(const std::string& output, const std::string& destination,
                                 const std::string& password, int strength) {
  ProjectSettings settings;
  settings.sourceArchive = SourceWork("source.zip");
  settings.outputName = output;
  settings.unzipToFolder = destination;
  settings.recreateFolders = 1;
  settings.autoUnzip = 1;
  settings.password = password;
  settings.passwordProtection = 1;
  settings.aesStrengthIndex = strength;
  return settings;
}

// The builder takes any password; the stub's prompt takes up to 255
// characters and both sides use the first 128, so whatever the builder
// accepted, typing it again opens the program.
TEST(BuilderRoad, PasswordsOfEveryLengthExtractAtEveryStrength) {
  const std::string stub = ReadFileContent(BRENNICOR_STUB_EXE);
  const StubImage image = {stub.data(), stub.size()};
  const auto expected = TreeBelow(SourceWork("expected\\"));
  ASSERT_FALSE(expected.empty());
  const std::string passwords[] = {"k", std::string(127, 'p') + "q", std::string(300, 'r')};
  for (int strength = 0; strength < 3; ++strength) {
    for (const std::string& password : passwords) {
      const std::string name = "road-aes" + std::to_string(strength) + "-" + std::to_string(password.size());
      SCOPED_TRACE(name);
      const std::string folder = FreshFolder(name), destination = folder + "out\\";
      ProjectSettings settings = ProtectedProject(folder + "setup.exe", destination, password, strength);
      RecordingReporter reporter;
      ASSERT_EQ(1, BuildSelfExtractingProgram(GetModuleHandleA(nullptr), settings, image, reporter));
      EXPECT_EQ(static_cast<DWORD>(kExitExtracted),
                RunProgram(settings.outputName, folder.c_str(), {TypePassword(password)}));
      EXPECT_EQ(expected, TreeBelow(destination));
    }
  }
}

}  // namespace
