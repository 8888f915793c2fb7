#include "ProcessorInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kLeafVendor = 0, kLeafSignature = 1, kLeafDescriptors = 2, kLeafSerial = 3;
constexpr uint32_t kLeafExtendedMax = 0x80000000, kLeafExtendedFeatures = 0x80000001;
constexpr uint32_t kLeafBrandFirst = 0x80000002, kLeafBrandLast = 0x80000004;
constexpr uint32_t kLeafL1Cache = 0x80000005, kLeafL2Cache = 0x80000006;
constexpr uint32_t kExtendedBit = 0x80000000;

bool Bit(uint32_t word, int bit) { return ((word >> bit) & 1) != 0; }
int Bits(uint32_t word, int low, int count) { return static_cast<int>((word >> low) & ((1u << count) - 1)); }

struct VendorId {
  const char* text;
  ProcessorVendor vendor;
};

const VendorId kVendorIds[] = {
    {"GenuineIntel", kVendorIntel},     {"UMC UMC UMC ", kVendorUmc},         {"AuthenticAMD", kVendorAmd},
    {"AMD ISBETTER", kVendorAmd},       {"CyrixInstead", kVendorCyrix},       {"NexGenDriven", kVendorNexGen},
    {"CentaurHauls", kVendorIdtCentaur}, {"RiseRiseRise", kVendorRise},       {"GenuineTMx86", kVendorTransmeta},
    {"TransmetaCPU", kVendorTransmeta}, {"Geode By NSC", kVendorNationalSemiconductor},
};

const char* const kVendorNames[] = {
    "Advanced Micro Devices", "Intel Corporation", "National Semiconductor", "United Microelectronics Corp.",
    "Cyrix Corp., VIA Inc.",  "NexGen Inc., Advanced Micro Devices", "IDT\\Centaur, Via Inc.", "Rise",
    "Transmeta",
};

// What the leaf-2 cache descriptors stand for.
enum CacheKind { kNone, kCodeTlb, kDataTlb, kL1Code, kL1Data, kTraceCache, kL2, kL3 };

struct CacheDescriptor {
  uint8_t code;
  CacheKind kind;
  int value;  // KB, thousands of micro-operations for the trace cache
};

const CacheDescriptor kCacheDescriptors[] = {
    {0x00, kNone, 0},          {0x01, kCodeTlb, 4},       {0x02, kCodeTlb, 4096},    {0x50, kCodeTlb, 4096},
    {0x51, kCodeTlb, 4096},    {0x52, kCodeTlb, 4096},    {0x90, kCodeTlb, 262144},  {0x96, kCodeTlb, 262144},
    {0x9B, kCodeTlb, 262144},  {0x03, kDataTlb, 4},       {0x04, kDataTlb, 4096},    {0x5B, kDataTlb, 4096},
    {0x5C, kDataTlb, 4096},    {0x5D, kDataTlb, 4096},    {0x06, kL1Code, 8},        {0x08, kL1Code, 16},
    {0x15, kL1Code, 16},       {0x77, kL1Code, 16},       {0x0A, kL1Data, 8},        {0x66, kL1Data, 8},
    {0x0C, kL1Data, 16},       {0x10, kL1Data, 16},       {0x67, kL1Data, 16},       {0x68, kL1Data, 32},
    {0x70, kTraceCache, 12},   {0x71, kTraceCache, 16},   {0x72, kTraceCache, 32},   {0x1A, kL2, 96},
    {0x39, kL2, 128},          {0x41, kL2, 128},          {0x79, kL2, 128},          {0x81, kL2, 128},
    {0x3C, kL2, 256},          {0x42, kL2, 256},          {0x7A, kL2, 256},          {0x7E, kL2, 256},
    {0x82, kL2, 256},          {0x40, kL2, 0},            {0x43, kL2, 512},          {0x7B, kL2, 512},
    {0x83, kL2, 512},          {0x44, kL2, 1024},         {0x7C, kL2, 1024},         {0x84, kL2, 1024},
    {0x45, kL2, 2048},         {0x85, kL2, 2048},         {0x22, kL3, 512},          {0x23, kL3, 1024},
    {0x25, kL3, 2048},         {0x88, kL3, 2048},         {0x29, kL3, 4096},         {0x89, kL3, 4096},
    {0x8A, kL3, 8192},         {0x8D, kL3, 3072},
};

const CacheDescriptor* FindCacheDescriptor(uint8_t code) {
  for (const CacheDescriptor& descriptor : kCacheDescriptors)
    if (descriptor.code == code) return &descriptor;
  return nullptr;
}

// The fifteen descriptor bytes of one leaf-2 answer: EAX bytes 1-3, then
// EBX, ECX and EDX, low byte first.
void DescriptorBytes(const CpuidRegisters& r, uint8_t out[15]) {
  const uint32_t words[4] = {r.eax, r.ebx, r.ecx, r.edx};
  int n = 0;
  for (int word = 0; word < 4; ++word)
    for (int byte = word == 0 ? 1 : 0; byte < 4; ++byte) out[n++] = static_cast<uint8_t>(words[word] >> (8 * byte));
}

// Largest value seen per kind, -1 where none was.
struct CacheSizes {
  int byKind[kL3 + 1];
  CacheSizes() { std::fill(std::begin(byKind), std::end(byKind), -1); }
};

// The processor only feeds the loop estimate for these families.
struct LoopConstant {
  int family;
  double cyclesPerLoop;
};
const LoopConstant kLoopConstants[] = {{3, 1150000000.0}, {4, 470000000.0}, {5, 430000000.0}};

}  // namespace

CProcessorInfo::CProcessorInfo(ProcessorProbes& probes) : probes_(probes) { Identify(); }

const char* CProcessorInfo::GetVendorName() const {
  return vendor_ < kVendorUnknown ? kVendorNames[vendor_] : "Unknown Manufacturer";
}

void CProcessorInfo::Identify() {
  if (!ProbeHasCpuid()) return;
  ReadVendorAndSignature();
  ReadFeatures();
  if (!MeasureClockTsc()) MeasureClockLoop();
  if (!ReadExtendedCache()) ReadDescriptorCache();
  ReadExtendedFeatures();
  if (!ReadBrandString()) LookUpProcessorName();
  ReadSerialNumber();
}

bool CProcessorInfo::ProbeHasCpuid() {
  hasCpuid_ = probes_.HasCpuid();
  if (hasCpuid_) maxStandardLeaf_ = probes_.Cpuid(kLeafVendor).eax;
  return hasCpuid_;
}

// Leaves the processor's generation is known to lack are never asked for;
// the others only up to the extended maximum the processor reports.
bool CProcessorInfo::HasExtendedLeaf(uint32_t leaf) {
  switch (vendor_) {
    case kVendorAmd:
      if (family_ < 5 || (family_ == 5 && model_ < 6)) return false;
      break;
    case kVendorIntel:
      // The name table knows family 6 only up to extended model 0; a later
      // family-6 processor would be named for a twenty-year-old one.
      if (family_ < 15 && !(family_ == 6 && extendedModel_ != 0)) return false;
      break;
    case kVendorCyrix:
      if (family_ < 5 || (family_ == 5 && model_ < 4) || (family_ == 6 && model_ < 5)) return false;
      break;
    case kVendorIdtCentaur:
      if (family_ < 5 || (family_ == 5 && model_ < 8)) return false;
      break;
    case kVendorTransmeta:
      if (family_ < 5) return false;
      break;
    default:
      break;
  }
  const uint32_t maximum = probes_.Cpuid(kLeafExtendedMax).eax;
  return (maximum & kExtendedBit) != 0 && (maximum & ~kExtendedBit) >= (leaf & ~kExtendedBit);
}

void CProcessorInfo::ReadVendorAndSignature() {
  const CpuidRegisters r = probes_.Cpuid(kLeafVendor);
  memcpy(vendorId_, &r.ebx, 4);
  memcpy(vendorId_ + 4, &r.edx, 4);
  memcpy(vendorId_ + 8, &r.ecx, 4);
  vendorId_[12] = '\0';
  vendor_ = kVendorUnknown;
  for (const VendorId& id : kVendorIds)
    if (strcmp(vendorId_, id.text) == 0) vendor_ = id.vendor;
  if (!HasStandardLeaf(kLeafSignature)) return;
  const uint32_t signature = probes_.Cpuid(kLeafSignature).eax;
  extendedFamily_ = Bits(signature, 20, 8);
  extendedModel_ = Bits(signature, 16, 4);
  type_ = Bits(signature, 12, 4);
  family_ = Bits(signature, 8, 4);
  model_ = Bits(signature, 4, 4);
  stepping_ = Bits(signature, 0, 4);
}

void CProcessorInfo::ReadFeatures() {
  if (!HasStandardLeaf(kLeafSignature)) return;
  const CpuidRegisters r = probes_.Cpuid(kLeafSignature);
  features_.fpu = Bit(r.edx, 0);
  features_.timeStampCounter = Bit(r.edx, 4);
  features_.apic = Bit(r.edx, 9);
  features_.mtrr = Bit(r.edx, 12);
  features_.cmov = Bit(r.edx, 15);
  features_.serialNumber = Bit(r.edx, 18);
  features_.acpi = Bit(r.edx, 22);
  features_.mmx = Bit(r.edx, 23);
  features_.sse = features_.sseFloatingPoint = Bit(r.edx, 25);
  features_.sse2 = Bit(r.edx, 26);
  features_.thermalMonitor = Bit(r.edx, 29);
  features_.ia64 = Bit(r.edx, 30);
  if (vendor_ != kVendorIntel) return;
  hyperThreading_ = Bit(r.edx, 28);
  logicalProcessors_ = hyperThreading_ ? Bits(r.ebx, 16, 8) : 1;
  if (hyperThreading_ && features_.apic) apicId_ = Bits(r.ebx, 24, 8);
}

bool CProcessorInfo::MeasureClockTsc() {
  if (!features_.timeStampCounter) return false;
  const int64_t waiting = probes_.TicksWaiting(kClockWaitMs);
  const int64_t overhead = probes_.TicksOfOverhead(kClockWaitMs);
  if (waiting < 0 || overhead < 0) return false;
  clock_.reset(new ClockMeasurement{static_cast<int>(((waiting - overhead) / kClockWaitMs) / 1000)});
  return true;
}

void CProcessorInfo::MeasureClockLoop() {
  for (const LoopConstant& constant : kLoopConstants) {
    if (constant.family != family_) continue;
    const double seconds = probes_.SecondsOfBitScanLoop();
    if (seconds > 0) loopEstimate_ = static_cast<int>(constant.cyclesPerLoop / seconds / (1 << 20));
  }
}

bool CProcessorInfo::ReadExtendedCache() {
  const bool hasL1 = HasExtendedLeaf(kLeafL1Cache), hasL2 = HasExtendedLeaf(kLeafL2Cache);
  if (hasL1) {
    const CpuidRegisters r = probes_.Cpuid(kLeafL1Cache);
    l1Kb_ = static_cast<int>((r.edx >> 24) + (r.ecx >> 24));
  }
  if (hasL2) l2Kb_ = static_cast<int>(probes_.Cpuid(kLeafL2Cache).ecx >> 16);
  l3Kb_ = -1;
  return hasL1 || hasL2;
}

bool CProcessorInfo::ReadDescriptorCache() {
  if (!HasStandardLeaf(kLeafDescriptors)) return false;
  CacheSizes sizes;
  CpuidRegisters r = probes_.Cpuid(kLeafDescriptors);
  const int rounds = static_cast<int>(r.eax & 0xFF);
  for (int round = 0; round < std::max(rounds, 1); ++round) {
    if (round > 0) r = probes_.Cpuid(kLeafDescriptors);
    uint8_t bytes[15];
    DescriptorBytes(r, bytes);
    for (uint8_t code : bytes) {
      const CacheDescriptor* descriptor = FindCacheDescriptor(code);
      if (descriptor == nullptr) return false;
      int& largest = sizes.byKind[descriptor->kind];
      largest = std::max(largest, descriptor->value);
    }
  }
  const int code = sizes.byKind[kL1Code], data = sizes.byKind[kL1Data];
  if (code >= 0 && data >= 0)
    l1Kb_ = code + data;
  else if (code >= 0 || data >= 0)
    l1Kb_ = std::max(code, data);
  else
    l1Kb_ = sizes.byKind[kTraceCache];
  l2Kb_ = sizes.byKind[kL2];
  l3Kb_ = sizes.byKind[kL3];
  return true;
}

void CProcessorInfo::ReadExtendedFeatures() {
  if (vendor_ == kVendorIntel || !HasExtendedLeaf(kLeafExtendedFeatures)) return;
  const uint32_t edx = probes_.Cpuid(kLeafExtendedFeatures).edx;
  extended_.amd3DNow = Bit(edx, 31);
  extended_.amd3DNowExtended = Bit(edx, 30);
  extended_.extendedLeafBit22 = Bit(edx, 22);
  extended_.multiprocessorCapable = Bit(edx, 19);
  if (vendor_ == kVendorAmd) extended_.mmxExtensions = Bit(edx, 22);
  if (vendor_ == kVendorCyrix) extended_.mmxExtensions = Bit(edx, 24);
}

bool CProcessorInfo::ReadBrandString() {
  for (uint32_t leaf = kLeafBrandFirst; leaf <= kLeafBrandLast; ++leaf)
    if (!HasExtendedLeaf(leaf)) return false;
  for (uint32_t leaf = kLeafBrandFirst; leaf <= kLeafBrandLast; ++leaf) {
    const CpuidRegisters r = probes_.Cpuid(leaf);
    const uint32_t words[4] = {r.eax, r.ebx, r.ecx, r.edx};
    memcpy(name_ + 16 * (leaf - kLeafBrandFirst), words, 16);
  }
  name_[48] = '\0';
  if (vendor_ != kVendorIntel) return true;
  // Intel pads its brand on the left; the whole text blank stays as it is.
  size_t start = 0;
  while (start < 48 && (name_[start] == ' ' || name_[start] == '\0')) ++start;
  if (start > 0 && start < 48) {
    memmove(name_, name_ + start, 48 - start);
    memset(name_ + 48 - start, 0, start);
  }
  return true;
}

void CProcessorInfo::LookUpProcessorName() {
  const char* name =
      ProcessorNameFromTable(vendor_, family_, model_, extendedFamily_, extended_.multiprocessorCapable);
  snprintf(name_, sizeof name_, "%s", name);
}

void CProcessorInfo::ReadSerialNumber() {
  if (!features_.serialNumber || !HasStandardLeaf(kLeafSerial)) return;
  const CpuidRegisters r = probes_.Cpuid(kLeafSerial);
  const uint32_t words[3] = {r.ebx, r.ecx, r.edx};
  uint8_t bytes[12];
  for (int word = 0; word < 3; ++word)
    for (int byte = 0; byte < 4; ++byte) bytes[4 * word + byte] = static_cast<uint8_t>(words[word] >> (24 - 8 * byte));
  snprintf(serialNumber_, sizeof serialNumber_, "%.2x%.2x-%.2x%.2x-%.2x%.2x-%.2x%.2x-%.2x%.2x-%.2x%.2x", bytes[0],
           bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[9], bytes[10],
           bytes[11]);
}
