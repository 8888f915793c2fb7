#include "classlib/archive.h"

#include <string.h>

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(nBufSize < 16 ? 16 : nBufSize) {
  m_lpBufStart = new BYTE[m_nBufSize];
}

CArchive::~CArchive() {
  if (m_pFile && IsStoring() && !(m_nMode & bNoFlushOnDelete)) {
    try {
      Flush();
    } catch (CException* e) {
      e->Delete();
    }
  }
  delete[] m_lpBufStart;
}

void CArchive::Flush() {
  if (IsStoring() && m_nBufUsed) {
    int n = m_nBufUsed;
    m_nBufUsed = 0;
    m_pFile->Write(m_lpBufStart, n);
  }
}

void CArchive::Close() {
  Flush();
  m_pFile = nullptr;
}

void CArchive::Abort() { m_pFile = nullptr; }

void CArchive::Write(const void* lpBuf, UINT nMax) {
  const BYTE* p = static_cast<const BYTE*>(lpBuf);
  while (nMax) {
    if (m_nBufUsed == m_nBufSize) Flush();
    UINT n = static_cast<UINT>(m_nBufSize - m_nBufUsed);
    if (n > nMax) n = nMax;
    memcpy(m_lpBufStart + m_nBufUsed, p, n);
    m_nBufUsed += n;
    p += n;
    nMax -= n;
  }
}

void CArchive::FillBuffer() {
  m_nBufUsed = static_cast<int>(m_pFile->Read(m_lpBufStart, m_nBufSize));
  m_nBufPos = 0;
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  BYTE* p = static_cast<BYTE*>(lpBuf);
  UINT total = 0;
  while (total < nMax) {
    if (m_nBufPos == m_nBufUsed) {
      FillBuffer();
      if (!m_nBufUsed) break;
    }
    UINT n = static_cast<UINT>(m_nBufUsed - m_nBufPos);
    if (n > nMax - total) n = nMax - total;
    memcpy(p + total, m_lpBufStart + m_nBufPos, n);
    m_nBufPos += n;
    total += n;
  }
  return total;
}

CArchive& CArchive::Put(DWORD value, int nBytes) {
  BYTE bytes[4];
  for (int i = 0; i < nBytes; ++i) bytes[i] = static_cast<BYTE>(value >> (8 * i));
  Write(bytes, nBytes);
  return *this;
}

DWORD CArchive::Get(int nBytes) {
  BYTE bytes[4];
  if (Read(bytes, nBytes) != static_cast<UINT>(nBytes)) AfxThrowArchiveException(CArchiveException::endOfFile);
  DWORD value = 0;
  for (int i = nBytes - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

void CArchive::WriteCount(DWORD_PTR dwCount) {
  if (dwCount < 0xFFFF) {
    Put(static_cast<DWORD>(dwCount), 2);
  } else {
    Put(0xFFFF, 2);
    Put(static_cast<DWORD>(dwCount), 4);
  }
}

DWORD_PTR CArchive::ReadCount() {
  DWORD count = Get(2);
  return count == 0xFFFF ? Get(4) : count;
}

CArchive& CArchive::operator<<(const CString& s) {
  DWORD n = static_cast<DWORD>(s.GetLength());
  if (n < 0xFF) {
    Put(n, 1);
  } else if (n < 0xFFFE) {
    Put(0xFF, 1);
    Put(n, 2);
  } else {
    Put(0xFF, 1);
    Put(0xFFFF, 2);
    Put(n, 4);
  }
  Write(static_cast<LPCSTR>(s), n);
  return *this;
}

CArchive& CArchive::operator>>(CString& s) {
  DWORD n = Get(1);
  if (n == 0xFF) {
    n = Get(2);
    // 0xFFFE marks a wide string in other writers' layouts; this one is ANSI only.
    if (n == 0xFFFE) AfxThrowArchiveException(CArchiveException::badSchema);
    if (n == 0xFFFF) n = Get(4);
  }
  CString text;
  char chunk[512];
  while (n) {
    UINT part = n < sizeof chunk ? n : sizeof chunk;
    if (Read(chunk, part) != part) AfxThrowArchiveException(CArchiveException::endOfFile);
    text += CString(chunk, static_cast<int>(part));
    n -= part;
  }
  s = text;
  return *this;
}
