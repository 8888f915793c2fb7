// Stored times follow the daylight rule of each file's own date. Run with
// TZ=Europe/Berlin (UTC+1 in winter, UTC+2 in summer): whatever the season of
// the run, one of the two files is dated in the other one.
#include "DosTime.h"
#include "ZipDiskTestSupport.h"

namespace {

void SetUtcWriteTime(const std::string &path, int month, int hour) {
  SYSTEMTIME parts = {};
  parts.wYear = 2023;
  parts.wMonth = WORD(month);
  parts.wDay = 15;
  parts.wHour = WORD(hour);
  parts.wMinute = 37;
  parts.wSecond = 41;
  FILETIME utc;
  ASSERT_TRUE(SystemTimeToFileTime(&parts, &utc));
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  SetFileTime(file, &utc, &utc, &utc);
  CloseHandle(file);
}

uint32_t StoredDosTime(const std::string &archive) {
  std::string bytes = ReadText(archive);
  if (bytes.size() < 14) return 0;
  auto byte = [&](size_t at) { return uint32_t(uint8_t(bytes[at])); };
  return byte(10) | byte(11) << 8 | byte(12) << 16 | byte(13) << 24;
}

// Seconds since 1601 of a UTC file time.
int64_t Seconds(const FILETIME &time) {
  return int64_t((uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 10000000u);
}

class ZipLocalTimeTest : public ZipDiskTest {};

TEST_F(ZipLocalTimeTest, SummerAndWinterFilesKeepTheirClockTime) {
  Scratch("localtime");
  struct {
    const char *name;
    int month, utcHour;  // 13:37:41 local in Berlin
  } files[] = {{"summer.txt", 7, 11}, {"winter.txt", 1, 12}};
  for (const auto &f : files) {
    SCOPED_TRACE(f.name);
    WriteText(f.name, "dated\r\n");
    SetUtcWriteTime(f.name, f.month, f.utcHour);
    MessageRecorder messages;
    ZIPCMDSTRUCT record = RecordingCommand(&messages);
    std::string archive = std::string(f.name) + ".zip", items = f.name;
    record.Function = ZIP_ADD;
    record.lpszZIPFile = &archive[0];
    record.lpszItemList = &items[0];
    // The archive takes its newest member's time: the way back to UTC.
    record.oldAsLatestFlag = 1;
    ASSERT_EQ(ZipExecute(&record), 0);
    EXPECT_EQ(StoredDosTime(archive), DosDateTimePack(2023, f.month, 15, 13, 37, 40));

    WIN32_FILE_ATTRIBUTE_DATA facts;
    ASSERT_TRUE(GetFileAttributesExA(archive.c_str(), GetFileExInfoStandard, &facts));
    WIN32_FILE_ATTRIBUTE_DATA source;
    ASSERT_TRUE(GetFileAttributesExA(f.name, GetFileExInfoStandard, &source));
    EXPECT_LE(Seconds(source.ftLastWriteTime) - Seconds(facts.ftLastWriteTime), 2);
    EXPECT_GE(Seconds(source.ftLastWriteTime) - Seconds(facts.ftLastWriteTime), 0);
  }
}

}  // namespace
