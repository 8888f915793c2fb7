// The portable rules of the container and program formats, the result
// texts and the per-mille rate: the same on every build.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "JobResultText.h"
#include "RatePerMille.h"
#include "SecureContainerFormat.h"
#include "SelfExtractorFormat.h"

namespace {

TEST(ContainerFormat, KeyBlockLengthFollowsPasswordAndGuidText) {
  struct Case {
    size_t password, guidText;
    uint32_t k;
  };
  const Case cases[] = {
      {0, 24, 8},    {1, 4, 8},     {1, 24, 32},   {6, 16, 24},   {12, 24, 32},
      {16, 4, 40},   {255, 24, 512}, {300, 24, 512}, {254, 4, 512}, {100, 24, 208},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.k, ContainerKeyBlockLength(c.password, c.guidText)) << c.password << " " << c.guidText;
}

TEST(ContainerFormat, GuidTextAndHeaderBytes) {
  EXPECT_EQ("1A2B3C4D12ABF1A2B3C4D", ContainerGuidText(0x1A2B3C4D, 0x12AB, 0x00F));
  EXPECT_EQ("0000", ContainerGuidText(0, 0, 0));

  ContainerHeader header = {kContainerMagicOpen, 0x11223344, 0xAABB, 0xCCDD, 4, {1, 2, 3, 4, 5, 6, 7, 8}, 8};
  uint8_t bytes[kContainerHeaderBytes];
  StoreContainerHeader(header, bytes);
  const std::vector<uint8_t> expected = {0x5E, 0xD0, 0xC7, 0x94, 0x44, 0x33, 0x22, 0x11, 0xBB, 0xAA, 0, 0, 0xDD, 0xCC,
                                         0,    0,    4,    0,    0,    0,    1,    2,    3,    4,    5,    6, 7, 8,
                                         8,    0,    0,    0};
  EXPECT_EQ(expected, std::vector<uint8_t>(bytes, bytes + sizeof bytes));

  uint8_t record[kContainerRecordHeaderBytes];
  StoreContainerRecordHeader({kContainerKindEncrypted, 3, 0x01020304, 0x0A0B0C0D}, record);
  EXPECT_EQ((std::vector<uint8_t>{'K', 'v', 'N', 'x', 4, 3, 4, 3, 2, 1, 0x0D, 0x0C, 0x0B, 0x0A}),
            std::vector<uint8_t>(record, record + sizeof record));

  // Read back as the stub reads them.
  const ContainerHeader loaded = LoadContainerHeader(bytes);
  EXPECT_EQ(0, std::memcmp(&header.data4, &loaded.data4, sizeof header.data4));
  EXPECT_EQ((std::vector<uint32_t>{header.magic, header.data1, header.data2, header.data3, header.entryCount,
                                   header.keyBlockLength}),
            (std::vector<uint32_t>{loaded.magic, loaded.data1, loaded.data2, loaded.data3, loaded.entryCount,
                                   loaded.keyBlockLength}));
  ContainerRecordHeader recordHeader = {};
  ASSERT_TRUE(LoadContainerRecordHeader(record, recordHeader));
  EXPECT_EQ(kContainerKindEncrypted, recordHeader.kind);
  EXPECT_EQ(3, recordHeader.strength);
  EXPECT_EQ(0x01020304u, recordHeader.recordLength);
  EXPECT_EQ(0x0A0B0C0Du, recordHeader.dataSize);
  record[3] = 'X';
  EXPECT_FALSE(LoadContainerRecordHeader(record, recordHeader));
}

TEST(ProgramFormat, SettingsLines) {
  ProjectSettings settings;
  EXPECT_EQ((std::vector<std::string>{"PATH = C:\\KorvaneSFX\\SecuredFiles\\", "FOLDERS = 0", "AUTO RUN = 0",
                                      "OVERWRITE = 0", "EXECUTE FILE = "}),
            StubSettingsLines(settings));

  settings.unzipToFolder = "D:\\Out\\";
  settings.recreateFolders = 1;
  settings.customMessage = "two\r\nlines";
  settings.launchCommand = std::string(400, 'x');
  const std::vector<std::string> lines = StubSettingsLines(settings);
  ASSERT_EQ(6u, lines.size());
  EXPECT_EQ("PATH = D:\\Out\\", lines[0]);
  EXPECT_EQ("FOLDERS = 1", lines[1]);
  EXPECT_EQ(kSettingsOptionLineMax, lines[4].size());
  EXPECT_EQ("CUSTOM MESSAGE BOX = two\r\nlines", lines[5]);
}

TEST(ResultTexts, ByAbsoluteCode) {
  EXPECT_STREQ("Success", JobResultText(0));
  EXPECT_STREQ("Bad or missing decrypt code", JobResultText(44));
  EXPECT_STREQ("Bad or missing decrypt code", JobResultText(-44));
  EXPECT_STREQ("Out of memory", JobResultText(5));
  EXPECT_STREQ("", JobResultText(1));
  EXPECT_STREQ("", JobResultText(51));
  EXPECT_STREQ("", JobResultText(-2147483647 - 1));
  EXPECT_STREQ("Disk full", BuildFailureText(50));
  EXPECT_STREQ("Undefined/Unexpected Error Code -1!", BuildFailureText(51));
}

TEST(RatePerMille, ScalesLargeValuesAndNeverDividesByZero) {
  EXPECT_EQ(500u, ComputeRatePerMille(50, 100));
  EXPECT_EQ(7000u, ComputeRatePerMille(7, 0));
  EXPECT_EQ(1000u, ComputeRatePerMille(0x100000, 0x100000));
  EXPECT_EQ(999u, ComputeRatePerMille(0xFFFFFFFFull - 4096, 0xFFFFFFFFull));
  EXPECT_EQ(250u, ComputeRatePerMille(1ull << 40, 1ull << 42));
  EXPECT_EQ(0u, ComputeRatePerMille(1023, 0x200000));
}

}  // namespace
