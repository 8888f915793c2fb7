// Files: CFile on a Win32 handle, CStdioFile for text lines, CMemFile for a
// growable block of memory. Failures throw CFileException.
#pragma once

#include <stdio.h>

#include "classlib/cstring.h"
#include "classlib/exception.h"

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags {
    modeRead = 0x0000, modeWrite = 0x0001, modeReadWrite = 0x0002,
    shareCompat = 0x0000, shareExclusive = 0x0010, shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030, shareDenyNone = 0x0040, modeNoInherit = 0x0080,
    modeCreate = 0x1000, modeNoTruncate = 0x2000, typeText = 0x4000, typeBinary = 0x8000,
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile() = default;
  CFile(LPCSTR lpszFileName, UINT nOpenFlags);  // throws on failure
  ~CFile() override;

  virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  virtual void Close();
  virtual void Abort();
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
  virtual ULONGLONG GetLength() const;
  virtual void SetLength(ULONGLONG dwNewLen);
  virtual ULONGLONG GetPosition() const;
  virtual void Flush();
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  CString GetFilePath() const { return m_strFileName; }
  CString GetFileName() const;

  HANDLE m_hFile = INVALID_HANDLE_VALUE;

 protected:
  [[noreturn]] void ThrowLastError() const;
  CString m_strFileName;
};

class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile() = default;
  CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);
  ~CStdioFile() override;

  BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  void Close() override;
  void Abort() override;
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetLength() const override;
  ULONGLONG GetPosition() const override;
  void Flush() override;

  // One line without its line end; FALSE at the end of the file.
  virtual BOOL ReadString(CString& rString);
  virtual void WriteString(LPCSTR lpsz);

  FILE* m_pStream = nullptr;
};

class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)
 public:
  explicit CMemFile(UINT nGrowBytes = 1024) : m_nGrowBytes(nGrowBytes) {}
  CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  ~CMemFile() override;

  // Takes over a block allocated with malloc; with nGrowBytes 0 it never grows.
  void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  // Hands the block (to be released with free) to the caller and empties the file.
  BYTE* Detach();

  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetLength() const override { return m_nFileSize; }
  void SetLength(ULONGLONG dwNewLen) override;
  ULONGLONG GetPosition() const override { return m_nPosition; }
  void Flush() override {}
  void Close() override;
  void Abort() override { Close(); }

 private:
  void GrowFile(SIZE_T dwNewLen);

  UINT m_nGrowBytes;
  SIZE_T m_nPosition = 0;
  SIZE_T m_nBufferSize = 0;
  SIZE_T m_nFileSize = 0;
  BYTE* m_lpBuffer = nullptr;
  BOOL m_bAutoDelete = TRUE;
};
