// The project document under Wine: every way of opening a project loads it
// into the frame's record, a file that cannot be loaded changes nothing, and
// a failed Save As is reported and changes nothing. A test frame stands in
// for the main frame; its pages are a second record.
#include <gtest/gtest.h>

#include <string>

#include "MyCipherFile.h"
#include "ProjectFile.h"
#include "app/BuilderGlobals.h"
#include "app/KorvaneBrennicorDoc.h"
#include "app/ProjectHost.h"
#include "classlib/resource.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"

namespace {

constexpr char kAppName[] = "Project Document Test";

class CProjectDocumentTestApp : public CWinApp {
 public:
  CProjectDocumentTestApp() : CWinApp(kAppName) {}
};
CProjectDocumentTestApp theApp;

struct TestFrame : ProjectHost {
  ProjectSettings record, pages;
  bool settingsView = true;
  int pushes = 0;
  ProjectSettings& Record() override { return record; }
  bool HasSettingsView() override { return settingsView; }
  bool GeneralPageHasWindow() override { return true; }
  void PushRecordToPages() override {
    pages = record;
    ++pushes;
  }
  void CollectPagesIntoRecord() override { record = pages; }
  void RepaintMainWindow() override {}
};

bool Same(const ProjectSettings& a, const ProjectSettings& b) {
  return a.sourceArchive == b.sourceArchive && a.outputName == b.outputName && a.aboutText == b.aboutText &&
         a.password == b.password && a.levelListIndex == b.levelListIndex;
}

std::string Scratch(const std::string& name) {
  std::string path = std::string(BRENNICOR_TEST_WORK) + "\\builder_document_" + name;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

ProjectSettings Sample(const char* source) {
  ProjectSettings s;
  s.sourceArchive = source;
  s.outputName = "C:\\out\\program.exe";
  s.aboutText = "first line\r\nsecond line";
  s.password = "secret";
  s.levelListIndex = 3;
  return s;
}

void WriteText(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

std::string ReadText(const std::string& path) {
  std::string bytes;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    fclose(f);
  }
  return bytes;
}

// A good project, and files that are not one in each way a file can fail.
struct Files {
  std::string good = Scratch("good.ssf"), text = Scratch("text.ssf"), damaged = Scratch("damaged.ssf"),
              wrongTag = Scratch("wrongtag.ssf"), missing = Scratch("missing.ssf"), cut = Scratch("cut.ssf");
  Files() {
    SaveProjectFile(Sample("C:\\zips\\good.zip"), good.c_str());
    WriteText(text, "ZIP_FILE_NAME = C:\\plain.zip\r\n");
    std::string bytes = ReadText(good);
    bytes[4] ^= 0x5A;  // in the header that identifies a project file
    WriteText(damaged, bytes);
    // Every record whole but the last (the password's), which is cut: nothing of it may be taken.
    const std::string whole = ReadText(good);
    WriteText(cut, whole.substr(0, whole.size() - 5));
    CMyCipherFile tagged;
    tagged.Open(wrongTag.c_str(), 0);
    tagged.WriteRecord("PRJ_TAG = SOME_OTHER_PRODUCT");
    tagged.WriteRecord("ZIP_FILE_NAME = C:\\other.zip");
    tagged.Close();
    DeleteFileA(missing.c_str());
  }
};

class ProjectDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    main_.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr);
    Builder().mainWindow = &main_;
    Builder().projectHost = &frame_;
    // The open project the failures must leave alone.
    frame_.record = frame_.pages = Sample("C:\\zips\\before.zip");
    doc_.SetPathName(Scratch("before.ssf").c_str(), FALSE);
    ASSERT_TRUE(doc_.OnSaveDocument(Scratch("before.ssf").c_str()));  // saved: no changes to ask about
  }
  void TearDown() override {
    Builder().projectHost = nullptr;
    Builder().mainWindow = nullptr;
    main_.DestroyWindow();
  }
  void ExpectUnchanged(const std::string& why) {
    EXPECT_EQ("C:\\zips\\before.zip", frame_.record.sourceArchive) << why;
    EXPECT_EQ("C:\\zips\\before.zip", frame_.pages.sourceArchive) << why;
    EXPECT_STREQ(Scratch("before.ssf").c_str(), doc_.GetPathName()) << why;
    EXPECT_STREQ("builder_document_before.ssf", doc_.GetTitle()) << why;
  }
  void Command(UINT id) { doc_.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }
  // Empties the record and the pages, saved so that no open asks about them.
  void EmptySaved() {
    frame_.record = frame_.pages = ProjectSettings();
    ASSERT_TRUE(doc_.OnSaveDocument(Scratch("empty.ssf").c_str()));
  }

  CWnd main_;
  TestFrame frame_;
  CKorvaneBrennicorDoc doc_;
  Files files_;
};

TEST_F(ProjectDocument, EveryOpenRouteLoadsTheProjectIntoRecordAndPages) {
  // The class library's route: the recent-file list and the command line.
  ASSERT_TRUE(doc_.OnOpenDocument(files_.good.c_str()));
  EXPECT_TRUE(Same(Sample("C:\\zips\\good.zip"), frame_.record));
  EXPECT_TRUE(Same(frame_.record, frame_.pages));

  EmptySaved();
  ASSERT_TRUE(doc_.OpenByPath(files_.good.c_str()));
  EXPECT_TRUE(Same(Sample("C:\\zips\\good.zip"), frame_.pages));
  EXPECT_STREQ(files_.good.c_str(), doc_.GetPathName());
  EXPECT_STREQ("builder_document_good.ssf", doc_.GetTitle());

  EmptySaved();
  DialogRobot robot({{"Open", [&](HWND dialog) { ChooseFile(dialog, files_.good); }}});
  Command(ID_FILE_OPEN);
  ASSERT_TRUE(robot.Finished());
  EXPECT_TRUE(Same(Sample("C:\\zips\\good.zip"), frame_.pages));
}

TEST_F(ProjectDocument, AFileThatIsNoProjectKeepsTheOpenOneAndSaysWhy) {
  const struct {
    std::string path;
    const char* said;
  } cases[] = {
      {files_.text, "File project format not recognized!"},
      {files_.damaged, "File project format not recognized!"},
      {files_.wrongTag, "File project format not recognized!"},
      {files_.missing, "File project format not recognized!"},
      {files_.cut, "File project format not recognized!\nCRC Error reported"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(doc_.OnOpenDocument(c.path.c_str())) << c.path;  // the class library reports it
    ExpectUnchanged(c.path);
    std::string said;
    DialogRobot robot({{kAppName, [&](HWND box) {
                          said = MessageBoxText(box);
                          Press(box, IDOK);
                        }}});
    EXPECT_FALSE(doc_.OpenByPath(c.path.c_str())) << c.path;
    ASSERT_TRUE(robot.Finished()) << c.path;
    EXPECT_EQ(0u, said.find(c.said)) << said;
    ExpectUnchanged(c.path);
  }
  // Chosen in the Open dialog: the file named need not exist.
  DialogRobot robot({{"Open", [&](HWND dialog) { ChooseFile(dialog, files_.missing); }},
                     {kAppName, [](HWND box) { Press(box, IDOK); }}});
  Command(ID_FILE_OPEN);
  ASSERT_TRUE(robot.Finished());
  ExpectUnchanged("Open dialog, missing file");
}

TEST_F(ProjectDocument, SaveAsWritesThePagesAndAFailureChangesNothing) {
  const std::string target = Scratch("saved.ssf");
  DeleteFileA(target.c_str());
  frame_.pages.outputName = "C:\\from\\the\\pages.exe";
  {
    DialogRobot robot({{"Save SFX Project As...", [&](HWND dialog) { ChooseFile(dialog, target); }}});
    Command(ID_FILE_SAVE_AS);
    ASSERT_TRUE(robot.Finished());
  }
  EXPECT_STREQ("builder_document_saved.ssf", doc_.GetTitle());
  ProjectSettings read;
  ASSERT_EQ(0, LoadProjectFile(read, target.c_str()));
  EXPECT_EQ("C:\\from\\the\\pages.exe", read.outputName);

  // Without the settings view nothing can be collected: reported, nothing written.
  const std::string refused = Scratch("refused.ssf");
  DeleteFileA(refused.c_str());
  doc_.SetPathName(Scratch("before.ssf").c_str(), FALSE);
  frame_.settingsView = false;
  std::string said;
  DialogRobot robot({{"Save SFX Project As...", [&](HWND dialog) { ChooseFile(dialog, refused); }},
                     {kAppName, [&](HWND box) {
                        said = MessageBoxText(box);
                        Press(box, IDOK);
                      }}});
  Command(ID_FILE_SAVE_AS);
  ASSERT_TRUE(robot.Finished());
  EXPECT_EQ(0u, said.find("The project could not be saved as '" + refused + "'.")) << said;
  EXPECT_STREQ("builder_document_before.ssf", doc_.GetTitle());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(refused.c_str()));
}

TEST_F(ProjectDocument, NewResetsTheRecordHasNoChangesUntilThePagesChangeAndTitlesShowFileNames) {
  ASSERT_TRUE(doc_.OnNewDocument());
  EXPECT_EQ("", frame_.pages.sourceArchive);
  EXPECT_EQ(5, frame_.pages.compressionLevel);
  EXPECT_FALSE(doc_.IsModified()) << "nothing to save yet";
  frame_.pages.outputName = "C:\\typed.exe";
  EXPECT_TRUE(doc_.IsModified()) << "a change to save";
  const struct {
    const char* given;
    const char* shown;
  } titles[] = {{"C:\\projects\\mine.ssf", "mine.ssf"}, {"Untitled.ssf", "Untitled.ssf"}, {"Other", "Other"}};
  for (const auto& t : titles) {
    doc_.SetTitle(t.given);
    EXPECT_STREQ(t.shown, doc_.GetTitle()) << t.given;
  }
}

}  // namespace
