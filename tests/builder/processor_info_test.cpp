// Processor identification from register tables: each table answers only the
// leaves it lists, and a question for any other leaf fails the test, so the
// tables also show that no leaf beyond the processor's maximum is asked for.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "sysinfo/ProcessorInfo.h"
#include "sysinfo/SystemReportTexts.h"

namespace {

constexpr uint32_t kFpu = 1u << 0, kTsc = 1u << 4, kSerial = 1u << 18;

class TableProbes : public ProcessorProbes {
 public:
  TableProbes(const char* vendor, uint32_t maxLeaf) {
    CpuidRegisters r;
    r.eax = maxLeaf;
    memcpy(&r.ebx, vendor, 4);
    memcpy(&r.edx, vendor + 4, 4);
    memcpy(&r.ecx, vendor + 8, 4);
    leaves[0] = r;
  }
  void Signature(int family, int model, int stepping, int extendedFamily = 0, uint32_t features = kFpu,
                 int extendedModel = 0) {
    leaves[1].eax = (static_cast<uint32_t>(extendedFamily) << 20) | (extendedModel << 16) | (family << 8) |
                    (model << 4) | stepping;
    leaves[1].edx = features;
  }
  void ExtendedMax(uint32_t maximum) { leaves[0x80000000].eax = maximum; }
  void Brand(const char (&text)[49]) {
    for (uint32_t i = 0; i < 3; ++i) memcpy(&leaves[0x80000002 + i], text + 16 * i, 16);
  }

  bool HasCpuid() override { return cpuid; }
  CpuidRegisters Cpuid(uint32_t leaf) override {
    auto found = leaves.find(leaf);
    if (found == leaves.end()) {
      ADD_FAILURE() << "asked for leaf 0x" << std::hex << leaf << " the processor does not have";
      return {};
    }
    return found->second;
  }
  int64_t TicksWaiting(int) override { return waiting; }
  int64_t TicksOfOverhead(int) override { return overhead; }
  double SecondsOfBitScanLoop() override { return loopSeconds; }

  std::map<uint32_t, CpuidRegisters> leaves;
  bool cpuid = true;
  int64_t waiting = -1, overhead = -1;
  double loopSeconds = 0;
};

void Descriptors(TableProbes& probes, std::initializer_list<uint8_t> codes) {
  uint8_t bytes[16] = {1};  // one round
  int n = 1;
  for (uint8_t code : codes) bytes[n++] = code;
  memcpy(&probes.leaves[2], bytes, 16);
}

TEST(ProcessorInfo, IntelFamilySixIsNamedFromTheTableWithoutAskingExtendedLeaves) {
  TableProbes probes("GenuineIntel", 2);
  probes.Signature(6, 15, 3);
  Descriptors(probes, {0x71});
  CProcessorInfo info(probes);
  EXPECT_STREQ("Intel Corporation", info.GetVendorName());
  EXPECT_STREQ("Unknown P6 family", info.GetName());
  EXPECT_EQ("6", info.GetFamilyText());
  EXPECT_EQ("15", info.GetModelText());
  EXPECT_EQ("3", info.GetSteppingText());
  EXPECT_EQ(16, info.l1CacheKb()) << "the trace cache stands in for L1";
  EXPECT_EQ(-1, info.l2CacheKb());
  EXPECT_EQ(-1, info.GetClockMHz()) << "no time-stamp counter";
}

TEST(ProcessorInfo, IntelFamilySixNewerThanTheTableReadsItsBrandString) {
  const char brand[49] = "Intel(R) Xeon(R) CPU @ 2.60GHz\0                 ";
  TableProbes probes("GenuineIntel", 2);
  probes.Signature(6, 7, 1, 0, kFpu, 10);  // model 0xA7: the table's model 7 would be a Pentium III
  Descriptors(probes, {0x2C});
  probes.ExtendedMax(0x80000004);
  probes.leaves[0x80000001] = {};
  probes.leaves[0x80000006] = {};
  probes.leaves[0x80000005] = {};
  probes.Brand(brand);
  EXPECT_STREQ("Intel(R) Xeon(R) CPU @ 2.60GHz", CProcessorInfo(probes).GetName());
}

TEST(ProcessorInfo, DescriptorCacheSizes) {
  struct Case {
    std::initializer_list<uint8_t> codes;
    int l1, l2, l3;
    const char* why;
  } cases[] = {
      {{0x06, 0x0A, 0x43, 0x22}, 16, 512, 512, "code and data add up"},
      {{0x0C}, 16, -1, -1, "data alone"},
      {{0x3C, 0x45, 0x29, 0x8A}, -1, 2048, 8192, "largest of each kind"},
      {{0x0C, 0xFF}, -1, -1, -1, "an unknown descriptor stores nothing"},
  };
  for (const Case& c : cases) {
    TableProbes probes("GenuineIntel", 2);
    probes.Signature(6, 8, 1);
    Descriptors(probes, c.codes);
    CProcessorInfo info(probes);
    EXPECT_EQ(c.l1, info.l1CacheKb()) << c.why;
    EXPECT_EQ(c.l2, info.l2CacheKb()) << c.why;
    EXPECT_EQ(c.l3, info.l3CacheKb()) << c.why;
  }
}

TEST(ProcessorInfo, IntelBrandStringIsShiftedLeftAndAmdKeepsItsBlanks) {
  const char brand[49] = "      Intel(R) Pentium(R) 4 CPU 2.40GHz         ";
  TableProbes intel("GenuineIntel", 1);
  intel.Signature(15, 2, 7);
  intel.ExtendedMax(0x80000004);
  intel.Brand(brand);
  EXPECT_STREQ("Intel(R) Pentium(R) 4 CPU 2.40GHz         ", CProcessorInfo(intel).GetName());

  TableProbes amd("AuthenticAMD", 1);
  amd.Signature(15, 1, 0, 8);
  amd.ExtendedMax(0x80000004);
  amd.leaves[0x80000001] = {};
  amd.Brand(brand);
  EXPECT_STREQ(brand, CProcessorInfo(amd).GetName());
}

TEST(ProcessorInfo, ExtendedLeavesGiveAmdCachesAndFeatures) {
  TableProbes probes("AuthenticAMD", 1);
  probes.Signature(6, 8, 0);
  probes.ExtendedMax(0x80000006);
  probes.Brand("AMD Athlon(tm) MP 2000+                         ");
  probes.leaves[0x80000001].edx = (1u << 31) | (1u << 22) | (1u << 19);
  probes.leaves[0x80000005].ecx = 64u << 24;
  probes.leaves[0x80000005].edx = 64u << 24;
  probes.leaves[0x80000006].ecx = 256u << 16;
  CProcessorInfo info(probes);
  EXPECT_STREQ("AMD Athlon(tm) MP 2000+                         ", info.GetName());
  EXPECT_TRUE(info.extendedFeatures().multiprocessorCapable);
  EXPECT_EQ(128, info.l1CacheKb());
  EXPECT_EQ(256, info.l2CacheKb());
  EXPECT_EQ(-1, info.l3CacheKb());
  EXPECT_TRUE(info.extendedFeatures().amd3DNow);
  EXPECT_TRUE(info.extendedFeatures().mmxExtensions);
}

TEST(ProcessorInfo, AnExtendedMaximumWithoutItsHighBitOffersNoExtendedLeaf) {
  TableProbes probes("AuthenticAMD", 1);
  probes.Signature(6, 2, 0);
  probes.ExtendedMax(0x00000001);  // a processor echoing a standard leaf
  EXPECT_STREQ("Athlon\x99 (0.18 \xB5m)", CProcessorInfo(probes).GetName());
}

TEST(ProcessorInfo, OnlyTheVendorLeafWhenTheMaximumIsZero) {
  TableProbes probes("CyrixInstead", 0);
  CProcessorInfo info(probes);
  EXPECT_TRUE(info.HasCpuid());
  EXPECT_STREQ("Cyrix Corp., VIA Inc.", info.GetVendorName());
  EXPECT_EQ("0", info.GetFamilyText());
}

TEST(ProcessorInfo, WithoutCpuidNothingIsAsked) {
  TableProbes probes("GenuineIntel", 1);
  probes.cpuid = false;
  probes.leaves.clear();
  CProcessorInfo info(probes);
  EXPECT_FALSE(info.HasCpuid());
  EXPECT_EQ(-1, info.GetClockMHz());
  EXPECT_EQ(" CPUID Not Supported!", ProcessorSectionText(info));
  EXPECT_EQ("\r\nCPU Clock Frequency: ~-1 MHz", ClockLineText(info));
}

TEST(ProcessorInfo, ClockFromTheTimeStampCounterLessTheOverhead) {
  TableProbes probes("GenuineIntel", 1);
  probes.Signature(6, 7, 0, 0, kFpu | kTsc);
  probes.overhead = 12345;
  probes.waiting = int64_t{2596} * 1000 * kClockWaitMs + probes.overhead;
  EXPECT_EQ(2596, CProcessorInfo(probes).GetClockMHz());
}

TEST(ProcessorInfo, LoopEstimateOnlyForOldFamiliesWithoutCounter) {
  TableProbes p5("GenuineIntel", 1);
  p5.Signature(5, 2, 0);
  p5.loopSeconds = 0.5;
  EXPECT_EQ(static_cast<int>(430000000.0 / 0.5 / (1 << 20)), CProcessorInfo(p5).loopClockEstimate());
  TableProbes p6("GenuineIntel", 1);
  p6.Signature(6, 2, 0);
  p6.loopSeconds = 0.5;
  EXPECT_EQ(-1, CProcessorInfo(p6).loopClockEstimate());
}

TEST(ProcessorInfo, SerialNumberBytesFromTheHighByteDown) {
  TableProbes probes("GenuineIntel", 3);
  probes.Signature(6, 7, 0, 0, kFpu | kSerial);
  Descriptors(probes, {0x0C});
  probes.leaves[3] = {0, 0x01020304, 0x05060708, 0x090A0B0C};
  EXPECT_STREQ("0102-0304-0506-0708-090a-0b0c", CProcessorInfo(probes).GetSerialNumber());
}

TEST(ProcessorInfo, NamesByVendorFamilyAndModel) {
  struct Case {
    ProcessorVendor vendor;
    int family, model, extendedFamily;
    bool multiprocessor;
    const char* name;
  } cases[] = {
      {kVendorIntel, 4, 6, 0, false, "Unknown 80486 family"},
      {kVendorIntel, 15, 2, 0, false, "Pentium\xAE IV (0.13 \xB5m)"},
      {kVendorIntel, 15, 2, 1, false, "Intel McKinley (IA-64)"},
      {kVendorIntel, 15, 2, 2, false, ""},
      {kVendorIntel, 9, 0, 0, false, "Unknown Intel family"},
      {kVendorAmd, 6, 8, 0, false, "Athlon\x99 XP (Thoroughbred core)"},
      {kVendorAmd, 6, 8, 0, true, "Athlon\x99 MP (Thoroughbred core)"},
      {kVendorNationalSemiconductor, 5, 0, 0, false, "Cx486SLC \\ DLC \\ Cx486S A-Step"},
      {kVendorTransmeta, 6, 4, 0, false, "Unknown Transmeta family"},
      {kVendorUnknown, 6, 4, 0, false, "Unknown family"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(c.name, ProcessorNameFromTable(c.vendor, c.family, c.model, c.extendedFamily, c.multiprocessor))
        << c.vendor << " " << c.family << " " << c.model;
}

TEST(SystemReport, OperatingSystemTexts) {
  struct Case {
    uint32_t platform, major, minor;
    const char* text;
  } cases[] = {
      {kPlatformNt, 5, 1, "Running on WindowsXP or greater"},
      {kPlatformNt, 6, 1, "Running on WindowsXP or greater"},
      {kPlatformNt, 5, 0, "Running on Windows2K"},
      {kPlatformNt, 4, 0, "Running on WindowsNT4"},
      {kPlatformWindows, 4, 90, "Running on WindowsME"},
      {kPlatformWindows, 4, 10, "Running on Windows98"},
      {kPlatformWindows, 4, 3, "Running on Windows95"},
      {kPlatformNt, 3, 51, "Running on <Unknown OS Version>"},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.text, OsVersionText(c.platform, c.major, c.minor));
}

}  // namespace
