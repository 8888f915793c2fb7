#include "toolkit/customize/ProfileBlob.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "toolkit/common/SettingsStore.h"
#include "toolkit/customize/Crc32.h"

namespace {

uint32_t ReadLittleEndian32(const BYTE* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

BOOL CXTProfileBlob::Load(LPCSTR section, LPCSTR entry) {
  BYTE* data = nullptr;
  UINT size = 0;
  CXTSettingsStore store;
  const BOOL read = store.ReadBinary(section, entry, &data, &size);
  std::unique_ptr<BYTE[]> owned(data);
  if (!read || !data || size < kCrcBytes) return FALSE;
  const UINT payload = size - kCrcBytes;
  if (ReadLittleEndian32(data) != CXTCrc32::Of(data + kCrcBytes, payload)) return FALSE;
  m_file.SetLength(0);
  m_file.Write(data + kCrcBytes, payload);
  m_file.SeekToBegin();
  return TRUE;
}

BOOL CXTProfileBlob::Save(LPCSTR section, LPCSTR entry) {
  const UINT length = static_cast<UINT>(m_file.GetLength());
  BYTE* payload = m_file.Detach();
  std::vector<BYTE> value(kCrcBytes + length);
  const uint32_t crc = CXTCrc32::Of(payload, length);
  for (int i = 0; i < kCrcBytes; ++i) value[i] = static_cast<BYTE>(crc >> (8 * i));
  if (length) memcpy(value.data() + kCrcBytes, payload, length);
  free(payload);
  CXTSettingsStore store;
  return store.WriteBinary(section, entry, value.data(), static_cast<UINT>(value.size()));
}
