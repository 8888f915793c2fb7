// Hash maps with chained buckets (17 unless InitHashTable says otherwise).
#pragma once

#include "classlib/cstring.h"
#include "classlib/object.h"
#include "classlib/position.h"

template <class ARG_KEY>
inline UINT AfxHashKey(ARG_KEY key) {
  return static_cast<UINT>(((UINT_PTR)key) >> 4);
}
template <>
inline UINT AfxHashKey<LPCSTR>(LPCSTR key) {
  UINT nHash = 0;
  while (key && *key) nHash = (nHash << 5) + nHash + static_cast<BYTE>(*key++);
  return nHash;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
  struct CAssoc {
    CAssoc* pNext;
    KEY key;
    VALUE value;
  };

 public:
  CMap() = default;
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  UINT GetHashTableSize() const { return m_nHashTableSize; }

  // Re-buckets what the map already holds.
  void InitHashTable(UINT nHashSize) {
    if (nHashSize == 0) nHashSize = 1;
    CAssoc** table = new CAssoc*[nHashSize]();
    for (UINT b = 0; m_pHashTable && b < m_nHashTableSize; ++b) {
      while (CAssoc* a = m_pHashTable[b]) {
        m_pHashTable[b] = a->pNext;
        UINT nb = AfxHashKey<ARG_KEY>(a->key) % nHashSize;
        a->pNext = table[nb];
        table[nb] = a;
      }
    }
    delete[] m_pHashTable;
    m_pHashTable = table;
    m_nHashTableSize = nHashSize;
  }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    CAssoc* a = Find(key);
    if (!a) return FALSE;
    rValue = a->value;
    return TRUE;
  }
  VALUE& operator[](ARG_KEY key) {
    if (CAssoc* a = Find(key)) return a->value;
    if (!m_pHashTable) InitHashTable(m_nHashTableSize);
    UINT b = AfxHashKey<ARG_KEY>(key) % m_nHashTableSize;
    m_pHashTable[b] = new CAssoc{m_pHashTable[b], KEY(key), VALUE()};
    ++m_nCount;
    return m_pHashTable[b]->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

  BOOL RemoveKey(ARG_KEY key) {
    if (!m_pHashTable) return FALSE;
    for (CAssoc** link = &m_pHashTable[AfxHashKey<ARG_KEY>(key) % m_nHashTableSize]; *link;
         link = &(*link)->pNext) {
      if ((*link)->key == key) {
        CAssoc* a = *link;
        *link = a->pNext;
        delete a;
        --m_nCount;
        return TRUE;
      }
    }
    return FALSE;
  }
  void RemoveAll() {
    for (UINT b = 0; m_pHashTable && b < m_nHashTableSize; ++b) {
      while (CAssoc* a = m_pHashTable[b]) {
        m_pHashTable[b] = a->pNext;
        delete a;
      }
    }
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    m_nCount = 0;
  }

  POSITION GetStartPosition() const {
    return m_nCount ? reinterpret_cast<POSITION>(FirstFrom(0)) : nullptr;
  }
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    CAssoc* a = reinterpret_cast<CAssoc*>(rNextPosition);
    rKey = a->key;
    rValue = a->value;
    CAssoc* next = a->pNext;
    if (!next) next = FirstFrom(AfxHashKey<ARG_KEY>(a->key) % m_nHashTableSize + 1);
    rNextPosition = reinterpret_cast<POSITION>(next);
  }

 private:
  CAssoc* Find(ARG_KEY key) const {
    if (!m_pHashTable) return nullptr;
    for (CAssoc* a = m_pHashTable[AfxHashKey<ARG_KEY>(key) % m_nHashTableSize]; a; a = a->pNext)
      if (a->key == key) return a;
    return nullptr;
  }
  CAssoc* FirstFrom(UINT bucket) const {
    for (UINT b = bucket; b < m_nHashTableSize; ++b)
      if (m_pHashTable[b]) return m_pHashTable[b];
    return nullptr;
  }

  CAssoc** m_pHashTable = nullptr;
  UINT m_nHashTableSize = 17;
  INT_PTR m_nCount = 0;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {};
class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {};
class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {};
