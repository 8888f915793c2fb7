// The sections of the System Information report that are pure text work.
#pragma once
#include <cstdint>
#include <string>

class CProcessorInfo;

// Platform ids as the operating system's version record gives them.
enum OsPlatform { kPlatformWindows = 1, kPlatformNt = 2 };

// "Running on ..." for a platform and version.
const char* OsVersionText(uint32_t platform, uint32_t major, uint32_t minor);
// The processor section: vendor, brand and signature, or " CPUID Not Supported!".
std::string ProcessorSectionText(const CProcessorInfo& processor);
std::string ClockLineText(const CProcessorInfo& processor);
