// Growable arrays. Without an explicit grow-by the capacity grows by an
// eighth of the size, at least 4 and at most 1024 elements; elements that
// SetSize or SetAtGrow create start zero-filled.
#pragma once

#include <string.h>

#include <new>
#include <utility>

#include "classlib/cstring.h"
#include "classlib/object.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;
  CArray(const CArray&) = delete;
  CArray& operator=(const CArray&) = delete;
  ~CArray() override { SetSize(0); ::operator delete(m_pData); }

  INT_PTR GetSize() const { return m_nSize; }
  INT_PTR GetCount() const { return m_nSize; }
  INT_PTR GetUpperBound() const { return m_nSize - 1; }
  BOOL IsEmpty() const { return m_nSize == 0; }

  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    if (nNewSize < 0) nNewSize = 0;
    if (nNewSize > m_nMaxSize) Reserve(nNewSize);
    for (INT_PTR i = nNewSize; i < m_nSize; ++i) m_pData[i].~TYPE();
    for (INT_PTR i = m_nSize; i < nNewSize; ++i) {
      memset(static_cast<void*>(&m_pData[i]), 0, sizeof(TYPE));
      new (&m_pData[i]) TYPE();
    }
    m_nSize = nNewSize;
  }

  void RemoveAll() { SetSize(0); }
  void FreeExtra() {
    if (m_nMaxSize > m_nSize) Reallocate(m_nSize);
  }

  TYPE GetAt(INT_PTR nIndex) const { return m_pData[nIndex]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[nIndex] = newElement; }
  TYPE& ElementAt(INT_PTR nIndex) { return m_pData[nIndex]; }
  const TYPE& operator[](INT_PTR nIndex) const { return m_pData[nIndex]; }
  TYPE& operator[](INT_PTR nIndex) { return m_pData[nIndex]; }
  TYPE* GetData() { return m_pData; }
  const TYPE* GetData() const { return m_pData; }

  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex >= m_nSize) SetSize(nIndex + 1);
    m_pData[nIndex] = newElement;
  }
  INT_PTR Add(ARG_TYPE newElement) {
    INT_PTR nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
  }
  INT_PTR Append(const CArray& src) {
    INT_PTR nOldSize = m_nSize;
    SetSize(m_nSize + src.m_nSize);
    for (INT_PTR i = 0; i < src.m_nSize; ++i) m_pData[nOldSize + i] = src.m_pData[i];
    return nOldSize;
  }
  void Copy(const CArray& src) {
    if (this == &src) return;
    SetSize(src.m_nSize);
    for (INT_PTR i = 0; i < src.m_nSize; ++i) m_pData[i] = src.m_pData[i];
  }

  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
    TYPE value(newElement);  // newElement may live inside this array
    INT_PTR nOldSize = m_nSize;
    SetSize((nIndex >= m_nSize ? nIndex : m_nSize) + nCount);
    if (nIndex < nOldSize)
      for (INT_PTR i = nOldSize - 1; i >= nIndex; --i) m_pData[i + nCount] = std::move(m_pData[i]);
    for (INT_PTR i = 0; i < nCount; ++i) m_pData[nIndex + i] = value;
  }
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount <= 0 || nIndex >= m_nSize) return;
    if (nIndex + nCount > m_nSize) nCount = m_nSize - nIndex;
    for (INT_PTR i = nIndex + nCount; i < m_nSize; ++i) m_pData[i - nCount] = std::move(m_pData[i]);
    SetSize(m_nSize - nCount);
  }

 private:
  void Reserve(INT_PTR nNewSize) {
    INT_PTR nGrowBy = m_nGrowBy;
    if (nGrowBy <= 0) {
      nGrowBy = m_nSize / 8;
      nGrowBy = nGrowBy < 4 ? 4 : (nGrowBy > 1024 ? 1024 : nGrowBy);
    }
    INT_PTR nNewMax = m_nMaxSize + nGrowBy;
    Reallocate(nNewSize > nNewMax ? nNewSize : nNewMax);
  }
  void Reallocate(INT_PTR nNewMax) {
    TYPE* pNew = static_cast<TYPE*>(::operator new(sizeof(TYPE) * (nNewMax ? nNewMax : 1)));
    for (INT_PTR i = 0; i < m_nSize; ++i) {
      new (&pNew[i]) TYPE(std::move(m_pData[i]));
      m_pData[i].~TYPE();
    }
    ::operator delete(m_pData);
    m_pData = pNew;
    m_nMaxSize = nNewMax;
  }

  TYPE* m_pData = nullptr;
  INT_PTR m_nSize = 0;
  INT_PTR m_nMaxSize = 0;
  INT_PTR m_nGrowBy = 0;  // 0: the size-dependent rule above
};

class CPtrArray : public CArray<void*, void*> {};
class CObArray : public CArray<CObject*, CObject*> {};
class CUIntArray : public CArray<UINT, UINT> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CWordArray : public CArray<WORD, WORD> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CStringArray : public CArray<CString, LPCSTR> {};
