#include "classlib/file.h"

#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

// Fills in why an Open failed, from the system's last error.
static void ReportOpenError(CFileException* pError, LPCSTR lpszFileName) {
  if (!pError) return;
  pError->m_lOsError = static_cast<LONG>(GetLastError());
  pError->m_cause = CFileException::OsErrorToException(pError->m_lOsError);
  pError->m_strFileName = lpszFileName;
}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, lpszFileName);
}

CFile::~CFile() {
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE, GENERIC_READ};
  static const DWORD share[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  DWORD disposition = OPEN_EXISTING;
  if (nOpenFlags & modeCreate) disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  UINT shareIndex = (nOpenFlags >> 4) & 7;
  m_strFileName = lpszFileName;
  m_hFile = CreateFileA(lpszFileName, access[nOpenFlags & 3], share[shareIndex < 5 ? shareIndex : 0],
                        nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (m_hFile != INVALID_HANDLE_VALUE) return TRUE;
  ReportOpenError(pError, lpszFileName);
  return FALSE;
}

void CFile::Close() {
  HANDLE h = m_hFile;
  m_hFile = INVALID_HANDLE_VALUE;
  if (h != INVALID_HANDLE_VALUE && !CloseHandle(h)) ThrowLastError();
}

void CFile::Abort() {
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
}

void CFile::ThrowLastError() const {
  LONG error = static_cast<LONG>(GetLastError());
  AfxThrowFileException(CFileException::OsErrorToException(error), error, m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  DWORD nRead = 0;
  if (nCount && !ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr)) ThrowLastError();
  return nRead;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  DWORD nWritten = 0;
  if (nCount && !WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr)) ThrowLastError();
  if (nWritten != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  LARGE_INTEGER distance, position;
  distance.QuadPart = lOff;
  if (!SetFilePointerEx(m_hFile, distance, &position, nFrom)) ThrowLastError();
  return position.QuadPart;
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(m_hFile, &size)) ThrowLastError();
  return size.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  Seek(static_cast<LONGLONG>(dwNewLen), begin);
  if (!SetEndOfFile(m_hFile)) ThrowLastError();
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER zero, position;
  zero.QuadPart = 0;
  if (!SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT)) ThrowLastError();
  return position.QuadPart;
}

void CFile::Flush() {
  if (m_hFile != INVALID_HANDLE_VALUE && !FlushFileBuffers(m_hFile)) ThrowLastError();
}

CString CFile::GetFileName() const {
  int slash = m_strFileName.ReverseFind('\\');
  int other = m_strFileName.ReverseFind('/');
  if (other > slash) slash = other;
  return m_strFileName.Mid(slash + 1);
}

// ---- CStdioFile

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, lpszFileName);
}

CStdioFile::~CStdioFile() {
  if (m_pStream) fclose(m_pStream);
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  char mode[4] = {0};
  mode[0] = !(nOpenFlags & modeCreate) ? 'r' : (nOpenFlags & modeNoTruncate) ? 'a' : 'w';
  int n = 1;
  if ((nOpenFlags & modeReadWrite) || ((nOpenFlags & modeWrite) && mode[0] == 'r')) mode[n++] = '+';
  mode[n] = (nOpenFlags & typeBinary) ? 'b' : 't';
  m_strFileName = lpszFileName;
  m_pStream = fopen(lpszFileName, mode);
  if (m_pStream) return TRUE;
  ReportOpenError(pError, lpszFileName);
  return FALSE;
}

void CStdioFile::Close() {
  FILE* f = m_pStream;
  m_pStream = nullptr;
  if (f && fclose(f) != 0) AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
}

void CStdioFile::Abort() {
  if (m_pStream) fclose(m_pStream);
  m_pStream = nullptr;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  size_t n = fread(lpBuf, 1, nCount, m_pStream);
  if (n < nCount && ferror(m_pStream)) AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
  return static_cast<UINT>(n);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  if (fwrite(lpBuf, 1, nCount, m_pStream) != nCount)
    AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom) {
  static const int origin[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (nFrom > end || _fseeki64(m_pStream, lOff, origin[nFrom]) != 0)
    AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  return GetPosition();
}

ULONGLONG CStdioFile::GetLength() const {
  LONGLONG here = _ftelli64(m_pStream);
  _fseeki64(m_pStream, 0, SEEK_END);
  LONGLONG size = _ftelli64(m_pStream);
  _fseeki64(m_pStream, here, SEEK_SET);
  return static_cast<ULONGLONG>(size);
}

ULONGLONG CStdioFile::GetPosition() const { return static_cast<ULONGLONG>(_ftelli64(m_pStream)); }

void CStdioFile::Flush() {
  if (m_pStream) fflush(m_pStream);
}

BOOL CStdioFile::ReadString(CString& rString) {
  rString.Empty();
  char buf[256];
  while (fgets(buf, sizeof buf, m_pStream)) {
    size_t n = strlen(buf);
    bool lineEnd = n && buf[n - 1] == '\n';
    if (lineEnd) buf[--n] = '\0';
    if (n && buf[n - 1] == '\r') buf[--n] = '\0';
    rString += buf;
    if (lineEnd) return TRUE;
  }
  if (ferror(m_pStream)) AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
  return !rString.IsEmpty();
}

void CStdioFile::WriteString(LPCSTR lpsz) {
  if (fputs(lpsz, m_pStream) == EOF) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

// ---- CMemFile

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {
  Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
  Close();
  m_lpBuffer = lpBuffer;
  m_nBufferSize = nBufferSize;
  m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
  m_nGrowBytes = nGrowBytes;
  m_nPosition = 0;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* block = m_lpBuffer;
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  m_bAutoDelete = TRUE;
  return block;
}

void CMemFile::Close() {
  if (m_bAutoDelete) free(m_lpBuffer);
  m_lpBuffer = nullptr;
  m_nBufferSize = m_nFileSize = m_nPosition = 0;
  m_bAutoDelete = TRUE;
}

void CMemFile::GrowFile(SIZE_T dwNewLen) {
  if (dwNewLen <= m_nBufferSize) return;
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  SIZE_T newSize = m_nBufferSize;
  while (newSize < dwNewLen) newSize += m_nGrowBytes;
  BYTE* block = static_cast<BYTE*>(realloc(m_lpBuffer, newSize));
  if (!block) AfxThrowMemoryException();
  m_lpBuffer = block;
  m_nBufferSize = newSize;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  if (m_nPosition >= m_nFileSize) return 0;
  SIZE_T n = m_nFileSize - m_nPosition;
  if (n > nCount) n = nCount;
  memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
  m_nPosition += n;
  return static_cast<UINT>(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (!nCount) return;
  GrowFile(m_nPosition + nCount);
  if (m_nPosition > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
  m_nPosition += nCount;
  if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
  LONGLONG base = nFrom == begin ? 0 : nFrom == current ? LONGLONG(m_nPosition) : LONGLONG(m_nFileSize);
  if (base + lOff < 0) AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  m_nPosition = static_cast<SIZE_T>(base + lOff);
  return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
  GrowFile(static_cast<SIZE_T>(dwNewLen));
  if (dwNewLen > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, static_cast<SIZE_T>(dwNewLen) - m_nFileSize);
  m_nFileSize = static_cast<SIZE_T>(dwNewLen);
  if (m_nPosition > m_nFileSize) m_nPosition = m_nFileSize;
}
