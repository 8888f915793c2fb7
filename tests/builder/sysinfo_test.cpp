// The live processor report against what Linux says of the same processor
// (Z:\proc\cpuinfo under Wine), and the System Information dialog.
#include <cpuid.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "builder_resource.h"
#include "classlib/winapp.h"
#include "dialog_robot.h"
#include "sysinfo/ProcessorInfo.h"
#include "sysinfo/SystemInfoDlg.h"
#include "sysinfo/SystemReport.h"

namespace {

class CSysInfoTestApp : public CWinApp {
 public:
  CSysInfoTestApp() : CWinApp("System Information Test") {}
};
CSysInfoTestApp theApp;

std::string Trimmed(std::string text) {
  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t\r");
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The first processor's fields and the number of processors.
struct CpuInfo {
  std::map<std::string, std::string> fields;
  int processors = 0;
};

CpuInfo ReadCpuInfo() {
  CpuInfo info;
  std::ifstream file("Z:\\proc\\cpuinfo");
  std::string line;
  while (std::getline(file, line)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = Trimmed(line.substr(0, colon)), value = Trimmed(line.substr(colon + 1));
    if (key == "processor") ++info.processors;
    if (info.processors == 1 && !info.fields.count(key)) info.fields[key] = value;
  }
  return info;
}

// The processor's own brand string. Linux is no witness for it: a kernel may
// name the processor otherwise (this machine's says "AMD EPYC" where the
// processor says "Oxide Virtual Turin-like Processor").
std::string BrandString() {
  unsigned int words[12] = {};
  for (unsigned int leaf = 0; leaf < 3; ++leaf)
    __cpuid(0x80000002u + leaf, words[4 * leaf], words[4 * leaf + 1], words[4 * leaf + 2], words[4 * leaf + 3]);
  char text[sizeof words + 1] = {};
  std::memcpy(text, words, sizeof words);
  return Trimmed(text);
}

TEST(LiveProcessor, AgreesWithLinux) {
  const CpuInfo linux = ReadCpuInfo();
  ASSERT_GT(linux.processors, 0) << "cpuinfo unreadable";
  CProcessorInfo processor;
  ASSERT_TRUE(processor.HasCpuid());
  EXPECT_EQ(linux.fields.at("vendor_id"), processor.GetVendorId());
  const int family = std::atoi(linux.fields.at("cpu family").c_str());
  const int model = std::atoi(linux.fields.at("model").c_str());
  EXPECT_EQ(std::min(family, 15), processor.family());
  EXPECT_EQ(model & 0xF, processor.model());
  // The brand string is read where the processor's generation offers it;
  // older Intel generations are named from the table.
  const bool brandRead = processor.vendor() != kVendorIntel || family >= 15 || (family == 6 && model > 15);
  if (brandRead) EXPECT_EQ(BrandString(), Trimmed(processor.GetName()));
  else EXPECT_STRNE("", processor.GetName());

  // Other programs share the processor: the best of up to ten measurements
  // (a loaded machine spoils some).
  const double linuxMhz = std::atof(linux.fields.at("cpu MHz").c_str());
  double closest = 1e9;
  for (int round = 0; round < 10 && closest > linuxMhz * 0.02; ++round)
    closest = std::min(closest, std::abs(CProcessorInfo().GetClockMHz() - linuxMhz));
  EXPECT_LE(closest, linuxMhz * 0.02) << "Linux says " << linuxMhz << " MHz";

  const std::string report = BuildSystemReport();
  EXPECT_NE(std::string::npos, report.find("\r\nNumber of CPU(s) Present: " + std::to_string(linux.processors)));
}

TEST(SystemReport, HasEverySectionInOrder) {
  const std::string report = BuildSystemReport();
  size_t at = 0;
  for (const char* heading : {"--- Computer ---", "\r\nUserName: ", "\r\nComputerName: ", "\r\nNumber of CPU(s) Present: ",
                              "--- Operating System Version ---\r\nRunning on ", "--- Internet Explorer Version ---\r\n",
                              "--- Processor(s) ---\r\nManufacturer: ", "\r\nBrand ID: ", ", Type: ", ", Family: ",
                              ", Stepping Code: ", ", Model ID: ", "\r\nCPU Clock Frequency: ~",
                              "--- Screen Resolution ---\r\nScreen resolution: ", "--- Screen Colors ---\r\nColor depth: ",
                              "\r\nRefresh frequency: "}) {
    const size_t found = report.find(heading, at);
    ASSERT_NE(std::string::npos, found) << heading << " after " << at << " in\n" << report;
    at = found;
  }
}

// The report opens at its top with nothing selected; OK takes the focus.
TEST(SystemInfoDialog, ShowsTheReportAndCloses) {
  CMySystemInfoDlg dialog;
  std::string shown;
  DWORD selectionStart = 1, selectionEnd = 0;
  LRESULT firstLine = -1;
  int focused = 0;
  DialogRobot robot({{"System Information", [&](HWND window) {
                        shown = ItemText(window, IDC_SYSINFO_REPORT);
                        HWND report = GetDlgItem(window, IDC_SYSINFO_REPORT);
                        SendMessageA(report, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                                     reinterpret_cast<LPARAM>(&selectionEnd));
                        firstLine = SendMessageA(report, EM_GETFIRSTVISIBLELINE, 0, 0);
                        // The focus a dialog starts with: its first tab stop. The
                        // thread's focus itself is gone while another test's
                        // window is the active one.
                        focused = GetDlgCtrlID(GetNextDlgTabItem(window, nullptr, FALSE));
                        Press(window, IDOK);
                      }}});
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(0u, shown.find("--- Computer ---\r\nUserName: "));
  EXPECT_NE(std::string::npos, shown.find("--- Screen Colors ---"));
  EXPECT_EQ(selectionStart, selectionEnd);
  EXPECT_EQ(0, firstLine);
  EXPECT_EQ(IDOK, focused);
}

}  // namespace
