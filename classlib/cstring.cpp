#include "classlib/cstring.h"

#include <stdio.h>
#include <string.h>

#include "classlib/module.h"

CString::CString(LPCSTR lpsz) {
  if (lpsz && IS_INTRESOURCE(lpsz))
    LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(lpsz)));
  else if (lpsz)
    m_s = lpsz;
}

CString::CString(LPCSTR lpch, int nLength) {
  if (lpch && nLength > 0) m_s.assign(lpch, nLength);
}

CString& CString::operator=(LPCSTR lpsz) {
  if (lpsz && IS_INTRESOURCE(lpsz)) {
    m_s.clear();
    LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(lpsz)));
  } else {
    m_s = lpsz ? lpsz : "";
  }
  return *this;
}

CString& CString::operator=(char ch) {
  m_s.assign(1, ch);
  return *this;
}

int CString::CharSize(int nIndex) const {
  if (IsDBCSLeadByte(static_cast<BYTE>(m_s[nIndex])) && nIndex + 1 < GetLength()) return 2;
  return 1;
}

int CString::Compare(LPCSTR lpsz) const { return strcmp(m_s.c_str(), lpsz ? lpsz : ""); }

// Folds single-byte ASCII letters only; double-byte characters compare as bytes.
int CString::CompareNoCase(LPCSTR lpsz) const {
  const BYTE* a = reinterpret_cast<const BYTE*>(m_s.c_str());
  const BYTE* b = reinterpret_cast<const BYTE*>(lpsz ? lpsz : "");
  auto fold = [](BYTE c) { return (c >= 'A' && c <= 'Z') ? BYTE(c + 32) : c; };
  for (;;) {
    if (IsDBCSLeadByte(*a) && a[1] && *a == *b && a[1] == b[1]) {
      a += 2;
      b += 2;
      continue;
    }
    BYTE ca = fold(*a), cb = fold(*b);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (!ca) return 0;
    ++a;
    ++b;
  }
}

CString CString::Left(int nCount) const {
  if (nCount < 0) nCount = 0;
  return CString(m_s.substr(0, nCount).c_str());
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - nFirst); }

CString CString::Mid(int nFirst, int nCount) const {
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0 || nFirst >= GetLength()) return CString();
  return CString(m_s.c_str() + nFirst, nCount > GetLength() - nFirst ? GetLength() - nFirst : nCount);
}

CString CString::Right(int nCount) const {
  if (nCount <= 0) return CString();
  if (nCount >= GetLength()) return *this;
  return CString(m_s.c_str() + GetLength() - nCount);
}

int CString::Find(char ch, int nStart) const {
  for (int i = nStart < 0 ? 0 : nStart; i < GetLength(); i += CharSize(i))
    if (m_s[i] == ch) return i;
  return -1;
}

int CString::Find(LPCSTR lpszSub, int nStart) const {
  size_t n = lpszSub ? strlen(lpszSub) : 0;
  for (int i = nStart < 0 ? 0 : nStart; i + static_cast<int>(n) <= GetLength(); i += CharSize(i))
    if (m_s.compare(i, n, lpszSub) == 0) return i;
  return -1;
}

int CString::ReverseFind(char ch) const {
  int found = -1;
  for (int i = 0; i < GetLength(); i += CharSize(i))
    if (m_s[i] == ch) found = i;
  return found;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const {
  for (int i = 0; i < GetLength(); i += CharSize(i))
    if (CharSize(i) == 1 && m_s[i] && strchr(lpszCharSet, m_s[i])) return i;
  return -1;
}

int CString::Replace(char chOld, char chNew) {
  int n = 0;
  for (int i = 0; i < GetLength(); i += CharSize(i))
    if (CharSize(i) == 1 && m_s[i] == chOld) {
      m_s[i] = chNew;
      ++n;
    }
  return n;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew) {
  int oldLen = lpszOld ? static_cast<int>(strlen(lpszOld)) : 0;
  if (oldLen == 0) return 0;
  std::string out;
  int n = 0;
  for (int i = 0; i < GetLength();) {
    if (m_s.compare(i, oldLen, lpszOld) == 0) {
      out += lpszNew ? lpszNew : "";
      i += oldLen;
      ++n;
    } else {
      int size = CharSize(i);
      out.append(m_s, i, size);
      i += size;
    }
  }
  m_s.swap(out);
  return n;
}

int CString::Remove(char ch) {
  std::string out;
  int n = 0;
  for (int i = 0; i < GetLength(); i += CharSize(i)) {
    if (CharSize(i) == 1 && m_s[i] == ch)
      ++n;
    else
      out.append(m_s, i, CharSize(i));
  }
  m_s.swap(out);
  return n;
}

int CString::Insert(int nIndex, char ch) { return Insert(nIndex, CString(ch)); }

int CString::Insert(int nIndex, LPCSTR lpsz) {
  if (nIndex < 0) nIndex = 0;
  if (nIndex > GetLength()) nIndex = GetLength();
  m_s.insert(nIndex, lpsz ? lpsz : "");
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  if (nIndex >= 0 && nIndex < GetLength() && nCount > 0) m_s.erase(nIndex, nCount);
  return GetLength();
}

static bool IsTrimSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

CString& CString::TrimRight() {
  int keep = 0;
  for (int i = 0; i < GetLength(); i += CharSize(i))
    if (CharSize(i) == 2 || !IsTrimSpace(m_s[i])) keep = i + CharSize(i);
  m_s.resize(keep);
  return *this;
}

CString& CString::TrimRight(char chTarget) {
  int keep = 0;
  for (int i = 0; i < GetLength(); i += CharSize(i))
    if (CharSize(i) == 2 || m_s[i] != chTarget) keep = i + CharSize(i);
  m_s.resize(keep);
  return *this;
}

CString& CString::TrimLeft() {
  size_t i = 0;
  while (i < m_s.size() && IsTrimSpace(m_s[i])) ++i;
  m_s.erase(0, i);
  return *this;
}

CString& CString::TrimLeft(char chTarget) {
  size_t i = 0;
  while (i < m_s.size() && m_s[i] == chTarget) ++i;
  m_s.erase(0, i);
  return *this;
}

CString& CString::MakeUpper() {
  if (!m_s.empty()) CharUpperBuffA(&m_s[0], GetLength());
  return *this;
}

CString& CString::MakeLower() {
  if (!m_s.empty()) CharLowerBuffA(&m_s[0], GetLength());
  return *this;
}

void CString::FormatV(LPCSTR lpszFormat, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = vsnprintf(nullptr, 0, lpszFormat, copy);
  va_end(copy);
  if (n < 0) {
    m_s.clear();
    return;
  }
  std::string out(n + 1, '\0');
  vsnprintf(&out[0], n + 1, lpszFormat, args);
  out.resize(n);
  m_s.swap(out);
}

void CString::Format(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

void CString::Format(UINT nFormatID, ...) {
  CString format;
  format.LoadString(nFormatID);
  va_list args;
  va_start(args, nFormatID);
  FormatV(format, args);
  va_end(args);
}

BOOL CString::LoadString(UINT nID) {
  for (int size = 256;; size *= 2) {
    std::string buf(size, '\0');
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, &buf[0], size);
    if (n < size - 1) {
      buf.resize(n);
      m_s.swap(buf);
      return n > 0;
    }
  }
}

LPSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) m_s.resize(nMinBufLength);
  return &m_s[0];
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
  m_s.resize(nNewLength < 0 ? 0 : nNewLength);
  return &m_s[0];
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0) nNewLength = static_cast<int>(strlen(m_s.c_str()));
  m_s.resize(nNewLength);
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, LPCSTR b) { CString r(a); r += b; return r; }
CString operator+(LPCSTR a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }

void AfxFormatStrings(CString& rString, LPCSTR lpszFormat, LPCSTR const* rglpsz, int nString) {
  CString out;
  for (LPCSTR p = lpszFormat; *p; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9' && p[1] - '1' < nString) {
      out += rglpsz[p[1] - '1'];
      ++p;
    } else {
      out += *p;
    }
  }
  rString = out;
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1) {
  CString format;
  format.LoadString(nIDS);
  AfxFormatStrings(rString, format, &lpsz1, 1);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2) {
  CString format;
  format.LoadString(nIDS);
  LPCSTR args[2] = {lpsz1, lpsz2};
  AfxFormatStrings(rString, format, args, 2);
}

BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep) {
  rString.Empty();
  if (!lpszFullString) return FALSE;
  for (; iSubString > 0; --iSubString) {
    lpszFullString = strchr(lpszFullString, chSep);
    if (!lpszFullString) return FALSE;
    ++lpszFullString;
  }
  LPCSTR end = strchr(lpszFullString, chSep);
  int n = end ? static_cast<int>(end - lpszFullString) : static_cast<int>(strlen(lpszFullString));
  rString = CString(lpszFullString, n);
  return TRUE;
}
