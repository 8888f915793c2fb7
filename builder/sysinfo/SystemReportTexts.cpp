#include "SystemReportTexts.h"

#include <cstdio>

#include "ProcessorInfo.h"

namespace {

struct OsVersionRow {
  uint32_t platform;
  uint32_t major;
  uint32_t minor;
  const char* text;
};

const OsVersionRow kOsVersions[] = {
    {kPlatformNt, 5, 0, "Running on Windows2K"},
    {kPlatformNt, 4, 0, "Running on WindowsNT4"},
    {kPlatformWindows, 4, 90, "Running on WindowsME"},
    {kPlatformWindows, 4, 10, "Running on Windows98"},
};

bool IsXpOrLater(uint32_t platform, uint32_t major, uint32_t minor) {
  return platform >= kPlatformNt && (major > 5 || (major == 5 && minor >= 1));
}

}  // namespace

const char* OsVersionText(uint32_t platform, uint32_t major, uint32_t minor) {
  if (IsXpOrLater(platform, major, minor)) return "Running on WindowsXP or greater";
  for (const OsVersionRow& row : kOsVersions)
    if (row.platform == platform && row.major == major && row.minor == minor) return row.text;
  if (platform == kPlatformWindows && major == 4 && minor < 10) return "Running on Windows95";
  return "Running on <Unknown OS Version>";
}

std::string ProcessorSectionText(const CProcessorInfo& processor) {
  if (!processor.HasCpuid()) return " CPUID Not Supported!";
  return std::string("\r\n\r\n--- Processor(s) ---") + "\r\nManufacturer: " + processor.GetVendorName() +
         "\r\nBrand ID: " + processor.GetName() + ", Type: " + processor.GetTypeText() +
         ", Family: " + processor.GetFamilyText() + ", Stepping Code: " + processor.GetSteppingText() +
         ", Model ID: " + processor.GetModelText();
}

std::string ClockLineText(const CProcessorInfo& processor) {
  char line[64];
  snprintf(line, sizeof line, "\r\nCPU Clock Frequency: ~%d MHz", processor.GetClockMHz());
  return line;
}
