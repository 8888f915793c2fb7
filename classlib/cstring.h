// The layer's ANSI string. Operations that look at single characters step
// over double-byte characters of the current ANSI code page as one unit,
// so a trail byte is never taken for the character searched for.
#pragma once

#include <windows.h>
#include <stdarg.h>

#include <string>

class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) = default;
  // A string id given as MAKEINTRESOURCE loads that string.
  CString(LPCSTR lpsz);
  CString(LPCSTR lpch, int nLength);
  explicit CString(char ch, int nRepeat = 1) : m_s(nRepeat > 0 ? nRepeat : 0, ch) {}

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) = default;
  CString& operator=(LPCSTR lpsz);
  CString& operator=(char ch);

  CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
  CString& operator+=(LPCSTR lpsz) { if (lpsz) m_s += lpsz; return *this; }
  CString& operator+=(char ch) { m_s += ch; return *this; }

  operator LPCSTR() const { return m_s.c_str(); }
  int GetLength() const { return static_cast<int>(m_s.size()); }
  BOOL IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  char GetAt(int nIndex) const { return m_s[nIndex]; }
  char operator[](int nIndex) const { return m_s[nIndex]; }
  void SetAt(int nIndex, char ch) { m_s[nIndex] = ch; }

  int Compare(LPCSTR lpsz) const;
  int CompareNoCase(LPCSTR lpsz) const;

  CString Left(int nCount) const;
  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Right(int nCount) const;

  int Find(char ch, int nStart = 0) const;
  int Find(LPCSTR lpszSub, int nStart = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCSTR lpszCharSet) const;

  int Replace(char chOld, char chNew);
  int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
  int Remove(char ch);
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, LPCSTR lpsz);
  int Delete(int nIndex, int nCount = 1);

  CString& TrimRight();
  CString& TrimRight(char chTarget);
  CString& TrimLeft();
  CString& TrimLeft(char chTarget);
  CString& Trim() { return TrimRight().TrimLeft(); }
  CString& MakeUpper();
  CString& MakeLower();

  void Format(LPCSTR lpszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
  void Format(UINT nFormatID, ...);
  void FormatV(LPCSTR lpszFormat, va_list args);
  BOOL LoadString(UINT nID);

  // The buffer stays valid and writable until ReleaseBuffer, which takes
  // the length up to the first zero when nNewLength is -1.
  LPSTR GetBuffer(int nMinBufLength);
  LPSTR GetBufferSetLength(int nNewLength);
  void ReleaseBuffer(int nNewLength = -1);

 private:
  // Byte length of the character at nIndex: 2 for a lead byte with its trail.
  int CharSize(int nIndex) const;

  std::string m_s;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCSTR b);
CString operator+(LPCSTR a, const CString& b);
CString operator+(const CString& a, char b);
inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }

// Replaces %1 (and %2) in the string resource nIDS.
void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2);
void AfxFormatStrings(CString& rString, LPCSTR lpszFormat, LPCSTR const* rglpsz, int nString);
// Field iSubString of lpszFullString, fields separated by chSep.
BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep = '\n');
