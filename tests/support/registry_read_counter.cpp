#include "registry_read_counter.h"

#include <cstdio>
#include <cstring>

namespace {

using QueryValue = LONG(WINAPI*)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);

QueryValue g_system = nullptr;
long g_reads = 0;
long g_limit = 0;

LONG WINAPI CountingQueryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (++g_reads > g_limit) {
    std::fprintf(stderr, "more than %ld registry values read: the load is not bounded by what is stored\n", g_limit);
    std::fflush(stderr);
    ::ExitProcess(3);
  }
  return g_system(key, name, reserved, type, data, size);
}

// The program's import slot of the named function, or null.
void** ImportSlot(const char* function) {
  auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       library->Name != 0; ++library) {
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
        return reinterpret_cast<void**>(&slots->u1.Function);
    }
  }
  return nullptr;
}

void* Exchange(void** slot, void* value) {
  DWORD protection = 0;
  ::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
  void* previous = *slot;
  *slot = value;
  ::VirtualProtect(slot, sizeof *slot, protection, &protection);
  return previous;
}

}  // namespace

RegistryReadCounter::RegistryReadCounter(long limit) : m_slot(ImportSlot("RegQueryValueExA")) {
  g_reads = 0;
  g_limit = limit;
  if (m_slot) g_system = reinterpret_cast<QueryValue>(Exchange(m_slot, reinterpret_cast<void*>(&CountingQueryValue)));
}

RegistryReadCounter::~RegistryReadCounter() {
  if (m_slot) Exchange(m_slot, reinterpret_cast<void*>(g_system));
}

long RegistryReadCounter::Reads() const { return g_reads; }
