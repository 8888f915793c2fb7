// Archives other writers made go through add, freshen, update and delete.
// After every step the archive is kept as <input>.<step>.zip beside a list
// of the members the step wrote ("+name<TAB>source", the source kept in
// <input>.<step>.src) or removed ("-name");
// check_update_matrix.py tests each with Info-ZIP, 7-Zip and Python and
// compares every other member byte for byte with the step before.
#include <fstream>

#include "../disk/ZipDiskTestSupport.h"
#include "ZipApi.h"

namespace {

// BRENNICOR_TEST_WORK/zipupdate/<name>: apart from the other disk tests,
// whose input maker clears their folder.
std::string Work(const std::string &name) { return std::string(BRENNICOR_TEST_WORK) + "\\zipupdate\\" + name; }

struct Step {
  int function;
  const char *items;
  // What the step writes or removes, as the change list says it.
  std::vector<std::string> changes;
};

class UpdateMatrixTest : public ZipDiskTest {
 protected:
  std::string out;
  void SetUp() override {
    ZipDiskTest::SetUp();
    out = Work("out");
    CreateDirectoryA(out.c_str(), nullptr);
  }
  int Run(const std::string &archive, const Step &step) {
    MessageRecorder messages;
    ZIPCMDSTRUCT record = RecordingCommand(&messages);
    std::string name = archive, items = step.items;
    record.Function = step.function;
    record.lpszZIPFile = &name[0];
    record.lpszItemList = &items[0];
    record.recurseFlag = step.function != ZIP_DELETE;
    record.compFactor = 6;
    return ZipExecute(&record);
  }
  void Keep(const std::string &archive, const std::string &input, int number, const Step &step) {
    std::string kept = out + "\\" + input + "." + std::to_string(number);
    ASSERT_TRUE(CopyFileA(archive.c_str(), (kept + ".zip").c_str(), FALSE));
    std::ofstream changes(kept + ".changes", std::ios::binary);
    // The sources of what the step wrote, as they were, for the checker.
    CreateDirectoryA((kept + ".src").c_str(), nullptr);
    for (const std::string &change : step.changes) {
      changes << change << "\n";
      size_t tab = change.find('\t');
      if (tab == std::string::npos) continue;
      std::string source = change.substr(tab + 1), flat = source;
      for (char &c : flat)
        if (c == '/') c = '_';
      ASSERT_TRUE(CopyFileA(source.c_str(), (kept + ".src\\" + flat).c_str(), FALSE)) << source;
    }
  }
};

TEST_F(UpdateMatrixTest, EveryStepKeepsWhatItDoesNotTouch) {
  const char *inputs[] = {"infozip.zip", "sevenzip.zip", "python.zip", "sevenzip_aes.zip",
                          "infozip_traditional.zip"};
  for (const char *input : inputs) {
    SCOPED_TRACE(input);
    std::string run = Work(std::string("run_") + input);
    RemoveTree(run);
    CreateDirectoryA(run.c_str(), nullptr);
    SetCurrentDirectoryA(run.c_str());
    std::string archive = run + "\\" + input;
    CopyInto(Work("inputs\\") + input, archive);
    // Only the files a step is about exist here: every other member has no
    // source and must be copied over as it stands.
    WriteText("new.txt", "a new member\r\n");
    EXPECT_EQ(Run(archive, {ZIP_ADD, "new.txt", {}}), 0);
    Keep(archive, input, 1, {0, "", {"+new.txt\tnew.txt"}});

    WriteText("a.txt", "a.txt changed by the freshen\r\n");
    SetLocalWriteTime("a.txt", 2035, 1, 1);
    EXPECT_EQ(Run(archive, {ZIP_FRESHEN, "*", {}}), 0);
    Keep(archive, input, 2, {0, "", {"+a.txt\ta.txt"}});

    WriteText("a.txt", "a.txt changed again by the update\r\n");
    SetLocalWriteTime("a.txt", 2036, 1, 1);
    WriteText("dir\\d.txt", "added by the update\r\n");
    // The folder is listed and its entry marked, then left as it is: older
    // than the archive's folder entry.
    SetLocalWriteTime("dir", 2001, 1, 1);
    EXPECT_EQ(Run(archive, {ZIP_UPDATE, "*", {}}), 0);
    Keep(archive, input, 3, {0, "", {"+a.txt\ta.txt", "+dir/d.txt\tdir/d.txt"}});

    EXPECT_EQ(Run(archive, {ZIP_DELETE, "dir/b.txt", {}}), 0);
    Keep(archive, input, 4, {0, "", {"-dir/b.txt"}});
  }
}

}  // namespace
