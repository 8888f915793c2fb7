// CXTSettingsStore: named values in sections, kept in the registry under
// HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section> (the
// application profile's own layout, so both can be mixed), or, when the
// shared state names an INI file, in that file with text encodings:
//   integer  REG_DWORD            decimal text
//   string   REG_SZ               the text
//   binary   REG_BINARY           two capitals a byte, low nibble first
// A store is a short-lived local: each call opens its key and closes it again.
#pragma once

#include "classlib/cstring.h"

class CWinApp;

class CXTSettingsStore {
 public:
  explicit CXTSettingsStore(HKEY root = HKEY_CURRENT_USER);
  virtual ~CXTSettingsStore() = default;
  CXTSettingsStore(const CXTSettingsStore&) = delete;
  CXTSettingsStore& operator=(const CXTSettingsStore&) = delete;

  BOOL WriteInt(LPCSTR section, LPCSTR entry, int value);
  int ReadInt(LPCSTR section, LPCSTR entry, int defaultValue);
  // A null text deletes the value, a null entry the whole section.
  BOOL WriteString(LPCSTR section, LPCSTR entry, LPCSTR text);
  CString ReadString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue);
  BOOL WriteBinary(LPCSTR section, LPCSTR entry, const BYTE* data, UINT size);
  // *data is a new[] block the caller deletes with delete[]; null and 0 when
  // the value is missing.
  BOOL ReadBinary(LPCSTR section, LPCSTR entry, BYTE** data, UINT* size);
  // Always in the registry, also in INI mode.
  BOOL DeleteValue(LPCSTR section, LPCSTR entry);
  // Whether the value is stored, asked without making the keys on the way.
  BOOL HasValue(LPCSTR section, LPCSTR entry);

 protected:
  // Each returns a key the caller closes, or null.
  virtual HKEY OpenAppKey();
  virtual HKEY OpenSectionKey(LPCSTR section);

 private:
  bool InIniMode() const { return !m_iniFile.IsEmpty(); }
  CString ReadIniString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue);

  HKEY m_root;
  CString m_iniFile;
  CWinApp* m_app;
};

// Encodes bytes the INI way (0x00 "AA", 0x1F "PB", 0xFF "PP") and back; an
// odd trailing letter is ignored.
CString EncodeIniBinary(const BYTE* data, UINT size);
UINT DecodeIniBinary(const CString& text, BYTE* out);
