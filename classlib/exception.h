// Exceptions travel as heap pointers: `throw new CXxxException`, and the
// catcher calls Delete() once it is done with one.
#pragma once

#include "classlib/object.h"
#include "classlib/cstring.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  void Delete() { delete this; }
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError) const;
};

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)
};

class CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)
};

// Thrown after the user was already told what went wrong (a failed exchange).
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
  explicit CArchiveException(int cause = none) : m_cause(cause) {}
  int m_cause;
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum { none, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied,
         invalidFile, removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation,
         lockViolation, diskFull, endOfFile };
  explicit CFileException(int cause = none, LONG lOsError = -1) : m_cause(cause), m_lOsError(lOsError) {}
  static int OsErrorToException(LONG lOsError);
  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowArchiveException(int cause);
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);

// Runs call where the system called in: a window, hook, timer or enumeration
// procedure. No exception may unwind through the system's frames, so any
// that comes (the layer's own or the language's, std::bad_alloc among them)
// ends here, and the message fails with `failed` as its answer.
template <class Result, class Call>
Result CallFromSystem(Result failed, Call&& call) noexcept {
  try {
    return call();
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
  return failed;
}
