#include "toolkit/common/SettingsStore.h"

#include <stdio.h>

#include <vector>

#include "classlib/winapp.h"
#include "toolkit/common/SharedState.h"

namespace {

const REGSAM kStoreAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
// INI texts longer than this are not ours: stop growing the buffer there.
const DWORD kLongestIniText = 16u << 20;

// Closes its key on every way out.
class KeyHolder {
 public:
  explicit KeyHolder(HKEY key) : m_key(key) {}
  ~KeyHolder() {
    if (m_key) ::RegCloseKey(m_key);
  }
  KeyHolder(const KeyHolder&) = delete;
  KeyHolder& operator=(const KeyHolder&) = delete;
  HKEY get() const { return m_key; }

 private:
  HKEY m_key;
};

HKEY CreateSubKey(HKEY parent, LPCSTR name) {
  HKEY key = nullptr;
  if (!parent || ::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kStoreAccess, nullptr, &key,
                                   nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

bool Succeeded(LONG result) { return result == ERROR_SUCCESS; }

}  // namespace

CString EncodeIniBinary(const BYTE* data, UINT size) {
  std::vector<char> text(2 * size + 1, '\0');
  for (UINT i = 0; i < size; ++i) {
    text[2 * i] = static_cast<char>('A' + (data[i] & 15));
    text[2 * i + 1] = static_cast<char>('A' + (data[i] >> 4));
  }
  return CString(text.data());
}

UINT DecodeIniBinary(const CString& text, BYTE* out) {
  const UINT size = static_cast<UINT>(text.GetLength()) / 2;
  LPCSTR letters = text;
  for (UINT i = 0; i < size; ++i)
    out[i] = static_cast<BYTE>((letters[2 * i] - 'A') + 16 * (letters[2 * i + 1] - 'A'));
  return size;
}

CXTSettingsStore::CXTSettingsStore(HKEY root)
    : m_root(root), m_iniFile(GetSharedState().m_iniFileName), m_app(AfxGetApp()) {}

HKEY CXTSettingsStore::OpenAppKey() {
  if (!m_app || !m_app->m_pszRegistryKey || !m_app->m_pszProfileName) return nullptr;
  HKEY software = nullptr;
  if (!Succeeded(::RegOpenKeyExA(m_root, "Software", 0, kStoreAccess, &software))) return nullptr;
  KeyHolder softwareKey(software);
  KeyHolder company(CreateSubKey(software, m_app->m_pszRegistryKey));
  return CreateSubKey(company.get(), m_app->m_pszProfileName);
}

HKEY CXTSettingsStore::OpenSectionKey(LPCSTR section) {
  KeyHolder app(OpenAppKey());
  return CreateSubKey(app.get(), section);
}

BOOL CXTSettingsStore::WriteInt(LPCSTR section, LPCSTR entry, int value) {
  if (InIniMode()) {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    return ::WritePrivateProfileStringA(section, entry, text, m_iniFile);
  }
  KeyHolder key(OpenSectionKey(section));
  if (!key.get()) return FALSE;
  DWORD word = static_cast<DWORD>(value);
  return Succeeded(::RegSetValueExA(key.get(), entry, 0, REG_DWORD, reinterpret_cast<BYTE*>(&word), sizeof word));
}

int CXTSettingsStore::ReadInt(LPCSTR section, LPCSTR entry, int defaultValue) {
  if (InIniMode()) return static_cast<int>(::GetPrivateProfileIntA(section, entry, defaultValue, m_iniFile));
  KeyHolder key(OpenSectionKey(section));
  if (!key.get()) return defaultValue;
  DWORD word = 0, size = sizeof word;
  if (!Succeeded(::RegQueryValueExA(key.get(), entry, nullptr, nullptr, reinterpret_cast<BYTE*>(&word), &size)))
    return defaultValue;
  return static_cast<int>(word);
}

BOOL CXTSettingsStore::WriteString(LPCSTR section, LPCSTR entry, LPCSTR text) {
  if (InIniMode()) return ::WritePrivateProfileStringA(section, entry, text, m_iniFile);
  if (!entry) {
    KeyHolder app(OpenAppKey());
    return app.get() && Succeeded(::RegDeleteKeyA(app.get(), section));
  }
  KeyHolder key(OpenSectionKey(section));
  if (!key.get()) return FALSE;
  if (!text) return Succeeded(::RegDeleteValueA(key.get(), entry));
  return Succeeded(::RegSetValueExA(key.get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                    static_cast<DWORD>(lstrlenA(text) + 1)));
}

// The platform cuts a text that does not fit and says so only by filling the
// buffer: grow it until the text leaves room to spare.
CString CXTSettingsStore::ReadIniString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) {
  std::vector<char> buffer(4096);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD got =
        ::GetPrivateProfileStringA(section, entry, defaultValue ? defaultValue : "", buffer.data(), size, m_iniFile);
    if (got + 2 < size || size >= kLongestIniText) return CString(buffer.data(), static_cast<int>(got));
    buffer.resize(size * 2);
  }
}

CString CXTSettingsStore::ReadString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) {
  if (InIniMode()) return ReadIniString(section, entry, defaultValue);
  KeyHolder key(OpenSectionKey(section));
  DWORD type = 0, size = 0;
  if (!key.get() || !Succeeded(::RegQueryValueExA(key.get(), entry, nullptr, &type, nullptr, &size)) ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return CString(defaultValue);
  // A stored text need not end with its terminator: one byte more, always set.
  std::vector<char> text(size + 1, '\0');
  if (!Succeeded(::RegQueryValueExA(key.get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size)))
    return CString(defaultValue);
  text[size] = '\0';
  return CString(text.data());
}

BOOL CXTSettingsStore::WriteBinary(LPCSTR section, LPCSTR entry, const BYTE* data, UINT size) {
  if (InIniMode()) return WriteString(section, entry, EncodeIniBinary(data, size));
  KeyHolder key(OpenSectionKey(section));
  return key.get() && Succeeded(::RegSetValueExA(key.get(), entry, 0, REG_BINARY, data, size));
}

BOOL CXTSettingsStore::ReadBinary(LPCSTR section, LPCSTR entry, BYTE** data, UINT* size) {
  *data = nullptr;
  *size = 0;
  if (InIniMode()) {
    const CString text = ReadIniString(section, entry, nullptr);
    if (text.IsEmpty()) return FALSE;
    *data = new BYTE[text.GetLength() / 2 + 1];
    *size = DecodeIniBinary(text, *data);
    return TRUE;
  }
  KeyHolder key(OpenSectionKey(section));
  DWORD bytes = 0;
  if (!key.get() || !Succeeded(::RegQueryValueExA(key.get(), entry, nullptr, nullptr, nullptr, &bytes))) return FALSE;
  BYTE* block = new BYTE[bytes + 1];
  if (!Succeeded(::RegQueryValueExA(key.get(), entry, nullptr, nullptr, block, &bytes))) {
    delete[] block;
    return FALSE;
  }
  *data = block;
  *size = bytes;
  return TRUE;
}

BOOL CXTSettingsStore::HasValue(LPCSTR section, LPCSTR entry) {
  if (InIniMode()) return !ReadIniString(section, entry, nullptr).IsEmpty();
  if (!m_app || !m_app->m_pszRegistryKey || !m_app->m_pszProfileName) return FALSE;
  const CString path = CString("Software\\") + m_app->m_pszRegistryKey + "\\" + m_app->m_pszProfileName + "\\" + section;
  HKEY key = nullptr;
  if (!Succeeded(::RegOpenKeyExA(m_root, path, 0, KEY_READ, &key))) return FALSE;
  KeyHolder holder(key);
  return Succeeded(::RegQueryValueExA(key, entry, nullptr, nullptr, nullptr, nullptr));
}

BOOL CXTSettingsStore::DeleteValue(LPCSTR section, LPCSTR entry) {
  KeyHolder key(OpenSectionKey(section));
  return key.get() && Succeeded(::RegDeleteValueA(key.get(), entry));
}
