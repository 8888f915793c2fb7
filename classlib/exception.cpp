#include "classlib/exception.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError) const {
  if (lpszError && nMaxError) *lpszError = '\0';
  return FALSE;
}

int CFileException::OsErrorToException(LONG lOsError) {
  static const struct { LONG os; int cause; } table[] = {
      {ERROR_FILE_NOT_FOUND, fileNotFound},     {ERROR_PATH_NOT_FOUND, badPath},
      {ERROR_INVALID_NAME, badPath},            {ERROR_TOO_MANY_OPEN_FILES, tooManyOpenFiles},
      {ERROR_ACCESS_DENIED, accessDenied},      {ERROR_INVALID_HANDLE, invalidFile},
      {ERROR_CURRENT_DIRECTORY, removeCurrentDir}, {ERROR_CANNOT_MAKE, directoryFull},
      {ERROR_SEEK, badSeek},                    {ERROR_NEGATIVE_SEEK, badSeek},
      {ERROR_SHARING_VIOLATION, sharingViolation}, {ERROR_LOCK_VIOLATION, lockViolation},
      {ERROR_DISK_FULL, diskFull},              {ERROR_HANDLE_EOF, endOfFile},
  };
  for (const auto& e : table)
    if (e.os == lOsError) return e.cause;
  return genericException;
}

void AfxThrowMemoryException() { throw new CMemoryException; }
void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowUserException() { throw new CUserException; }
void AfxThrowArchiveException(int cause) { throw new CArchiveException(cause); }

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName) {
  CFileException* e = new CFileException(cause, lOsError);
  if (lpszFileName) e->m_strFileName = lpszFileName;
  throw e;
}
