// Identifies the processor from what the CPUID instruction answers, and
// measures its clock with the time-stamp counter. Every question goes to a
// ProcessorProbes: the machine's own (MachineProcessorProbes.cpp) or a
// register table. Identification never asks for a leaf above the maximum the
// processor reported, so no probe can fault.
//
// Pure computation: no Win32 header, so it also builds natively.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

struct CpuidRegisters {
  uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

class ProcessorProbes {
 public:
  virtual ~ProcessorProbes() = default;
  virtual bool HasCpuid() = 0;
  virtual CpuidRegisters Cpuid(uint32_t leaf) = 0;
  // Time-stamp counter ticks while the performance counter runs |ms|
  // milliseconds, and while it is only read (the overhead); -1 on failure.
  virtual int64_t TicksWaiting(int ms) = 0;
  virtual int64_t TicksOfOverhead(int ms) = 0;
  // Seconds that kBitScanLoopCount bit scans took; 0 or less on failure.
  virtual double SecondsOfBitScanLoop() = 0;
};

constexpr int kBitScanLoopCount = 10000000;
constexpr int kClockWaitMs = 50;

enum ProcessorVendor {
  kVendorAmd,
  kVendorIntel,
  kVendorNationalSemiconductor,
  kVendorUmc,
  kVendorCyrix,
  kVendorNexGen,
  kVendorIdtCentaur,
  kVendorRise,
  kVendorTransmeta,
  kVendorUnknown,
};

struct ProcessorFeatures {
  bool fpu = false, timeStampCounter = false, mmx = false, sse = false, sseFloatingPoint = false, sse2 = false,
       ia64 = false, apic = false, cmov = false, mtrr = false, acpi = false, serialNumber = false,
       thermalMonitor = false;
};

struct ProcessorExtendedFeatures {
  bool amd3DNow = false, amd3DNowExtended = false, multiprocessorCapable = false, mmxExtensions = false,
       extendedLeafBit22 = false;
};

// The clock that the time-stamp counter measured.
struct ClockMeasurement {
  int mhz = 0;
};

class CProcessorInfo {
 public:
  // Identifies the machine's processor.
  CProcessorInfo();
  explicit CProcessorInfo(ProcessorProbes& probes);

  bool HasCpuid() const { return hasCpuid_; }
  const char* GetVendorName() const;
  const char* GetName() const { return name_; }
  const char* GetVendorId() const { return vendorId_; }
  const char* GetSerialNumber() const { return serialNumber_; }
  std::string GetTypeText() const { return std::to_string(type_); }
  std::string GetFamilyText() const { return std::to_string(family_); }
  std::string GetModelText() const { return std::to_string(model_); }
  std::string GetSteppingText() const { return std::to_string(stepping_); }
  // The measured clock in MHz, -1 without a measurement.
  int GetClockMHz() const { return clock_ ? clock_->mhz : -1; }

  ProcessorVendor vendor() const { return vendor_; }
  const ProcessorFeatures& features() const { return features_; }
  const ProcessorExtendedFeatures& extendedFeatures() const { return extended_; }
  int family() const { return family_; }
  int model() const { return model_; }
  int extendedFamily() const { return extendedFamily_; }
  int extendedModel() const { return extendedModel_; }
  // Cache sizes in KB, -1 when unknown.
  int l1CacheKb() const { return l1Kb_; }
  int l2CacheKb() const { return l2Kb_; }
  int l3CacheKb() const { return l3Kb_; }
  // Units of 2^20 cycles per second from the timed loop; -1 when unknown.
  int loopClockEstimate() const { return loopEstimate_; }
  bool hyperThreading() const { return hyperThreading_; }
  int logicalProcessors() const { return logicalProcessors_; }
  int apicId() const { return apicId_; }

 private:
  void Identify();
  bool ProbeHasCpuid();
  bool HasStandardLeaf(uint32_t leaf) const { return leaf <= maxStandardLeaf_; }
  bool HasExtendedLeaf(uint32_t leaf);
  void ReadVendorAndSignature();
  void ReadFeatures();
  bool MeasureClockTsc();
  void MeasureClockLoop();
  bool ReadExtendedCache();
  bool ReadDescriptorCache();
  void ReadExtendedFeatures();
  bool ReadBrandString();
  void LookUpProcessorName();
  void ReadSerialNumber();

  ProcessorProbes& probes_;
  bool hasCpuid_ = false;
  uint32_t maxStandardLeaf_ = 0;
  ProcessorVendor vendor_ = kVendorUnknown;
  ProcessorFeatures features_;
  int loopEstimate_ = -1;
  int l1Kb_ = -1, l2Kb_ = -1, l3Kb_ = -1;
  ProcessorExtendedFeatures extended_;
  bool hyperThreading_ = false;
  int logicalProcessors_ = 0;
  int apicId_ = 0;
  std::unique_ptr<ClockMeasurement> clock_;
  int type_ = 0, family_ = 0, model_ = 0, stepping_ = 0, extendedFamily_ = 0, extendedModel_ = 0;
  char name_[49] = {};
  char vendorId_[13] = {};
  char serialNumber_[30] = {};
};

// The name of a processor whose brand string cannot be read, by vendor,
// family and model (Windows-1252 texts).
const char* ProcessorNameFromTable(ProcessorVendor vendor, int family, int model, int extendedFamily,
                                   bool multiprocessorCapable);
