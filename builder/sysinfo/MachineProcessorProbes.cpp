// The machine's own answers to identification: the CPUID instruction, the
// time-stamp counter timed against the performance counter, and the
// bit-scan loop of processors without a time-stamp counter.
#include <windows.h>
#include <cpuid.h>
#include <x86intrin.h>

#include "ProcessorInfo.h"

namespace {

// The instruction exists when the ID flag of EFLAGS can be toggled. Every
// x86_64 processor has it.
bool CpuidInstructionExists() {
#if defined(__x86_64__)
  return true;
#else
  uint32_t original = 0, toggled = 0;
  asm volatile(
      "pushfl\n\t"
      "popl %0\n\t"
      "movl %0, %1\n\t"
      "xorl $0x200000, %1\n\t"
      "pushl %1\n\t"
      "popfl\n\t"
      "pushfl\n\t"
      "popl %1\n\t"
      "pushl %0\n\t"
      "popfl"
      : "=&r"(original), "=&r"(toggled)
      :
      : "cc");
  return ((original ^ toggled) & 0x200000) != 0;
#endif
}

bool CounterTicksFor(int ms, LONGLONG* target) {
  LARGE_INTEGER frequency;
  if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart < 1000) return false;
  *target = frequency.QuadPart / 1000 * ms;
  return true;
}

LONGLONG CounterNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

class MachineProcessorProbes : public ProcessorProbes {
 public:
  bool HasCpuid() override { return CpuidInstructionExists(); }

  CpuidRegisters Cpuid(uint32_t leaf) override {
    CpuidRegisters r;
    __cpuid_count(leaf, 0, r.eax, r.ebx, r.ecx, r.edx);
    return r;
  }

  int64_t TicksWaiting(int ms) override {
    LONGLONG target = 0;
    if (!CounterTicksFor(ms, &target)) return -1;
    const uint64_t before = __rdtsc();
    const LONGLONG start = CounterNow();
    while (CounterNow() - start < target) {
    }
    return static_cast<int64_t>(__rdtsc() - before);
  }

  // The same reads without the wait: what the timing itself costs.
  int64_t TicksOfOverhead(int ms) override {
    LONGLONG target = 0;
    if (!CounterTicksFor(ms, &target)) return -1;
    const uint64_t before = __rdtsc();
    const LONGLONG start = CounterNow();
    while (CounterNow() - start == target) {
    }
    return static_cast<int64_t>(__rdtsc() - before);
  }

  double SecondsOfBitScanLoop() override {
    LARGE_INTEGER frequency, start, end;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0) return 0;
    QueryPerformanceCounter(&start);
    unsigned int index = 0;
    for (int i = 0; i < kBitScanLoopCount; ++i) asm volatile("bsf %1, %0" : "=r"(index) : "r"(0x80000000u));
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  }
};

MachineProcessorProbes& TheMachine() {
  static MachineProcessorProbes machine;
  return machine;
}

}  // namespace

CProcessorInfo::CProcessorInfo() : CProcessorInfo(TheMachine()) {}
