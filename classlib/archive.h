// Little-endian binary streams over a CFile, with the counted-string and
// count encodings of stored layouts. Reading past the data throws
// CArchiveException(endOfFile); a length read from the data is never trusted
// before the bytes behind it have arrived.
#pragma once

#include "classlib/exception.h"
#include "classlib/file.h"

class CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

  CArchive(CFile* pFile, UINT nMode, int nBufSize = 512);
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return !IsLoading(); }
  CFile* GetFile() const { return m_pFile; }

  UINT Read(void* lpBuf, UINT nMax);
  void Write(const void* lpBuf, UINT nMax);
  void Flush();
  void Close();
  void Abort();

  // A WORD, or 0xFFFF and a DWORD for larger counts.
  void WriteCount(DWORD_PTR dwCount);
  DWORD_PTR ReadCount();

  CArchive& operator<<(BYTE by) { return Put(by, 1); }
  CArchive& operator<<(WORD w) { return Put(w, 2); }
  CArchive& operator<<(LONG l) { return Put(static_cast<DWORD>(l), 4); }
  CArchive& operator<<(DWORD dw) { return Put(dw, 4); }
  CArchive& operator<<(int i) { return Put(static_cast<DWORD>(i), 4); }
  CArchive& operator<<(UINT u) { return Put(u, 4); }
  CArchive& operator<<(const CString& s);

  CArchive& operator>>(BYTE& by) { by = static_cast<BYTE>(Get(1)); return *this; }
  CArchive& operator>>(WORD& w) { w = static_cast<WORD>(Get(2)); return *this; }
  CArchive& operator>>(LONG& l) { l = static_cast<LONG>(Get(4)); return *this; }
  CArchive& operator>>(DWORD& dw) { dw = Get(4); return *this; }
  CArchive& operator>>(int& i) { i = static_cast<int>(Get(4)); return *this; }
  CArchive& operator>>(UINT& u) { u = Get(4); return *this; }
  CArchive& operator>>(CString& s);

 private:
  CArchive& Put(DWORD value, int nBytes);
  DWORD Get(int nBytes);
  void FillBuffer();

  CFile* m_pFile;
  UINT m_nMode;
  BYTE* m_lpBufStart;
  int m_nBufSize;
  int m_nBufUsed = 0;  // storing: bytes waiting; loading: bytes held
  int m_nBufPos = 0;   // loading: next byte to hand out
};
