// Doubly linked lists walked with opaque positions.
#pragma once

#include "classlib/object.h"
#include "classlib/position.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };
  static CNode* Node(POSITION pos) { return reinterpret_cast<CNode*>(pos); }
  static POSITION Pos(CNode* node) { return reinterpret_cast<POSITION>(node); }

 public:
  CList() = default;
  CList(const CList&) = delete;
  CList& operator=(const CList&) = delete;
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return m_pNodeHead->data; }
  const TYPE& GetHead() const { return m_pNodeHead->data; }
  TYPE& GetTail() { return m_pNodeTail->data; }
  const TYPE& GetTail() const { return m_pNodeTail->data; }
  POSITION GetHeadPosition() const { return Pos(m_pNodeHead); }
  POSITION GetTailPosition() const { return Pos(m_pNodeTail); }

  TYPE& GetNext(POSITION& rPosition) {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pNext);
    return node->data;
  }
  const TYPE& GetNext(POSITION& rPosition) const { return const_cast<CList*>(this)->GetNext(rPosition); }
  TYPE& GetPrev(POSITION& rPosition) {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pPrev);
    return node->data;
  }
  const TYPE& GetPrev(POSITION& rPosition) const { return const_cast<CList*>(this)->GetPrev(rPosition); }
  TYPE& GetAt(POSITION position) { return Node(position)->data; }
  const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }

  POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }

  // A null position inserts at the head (InsertBefore) or tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    CNode* next = position ? Node(position) : m_pNodeHead;
    return Link(next ? next->pPrev : nullptr, next, newElement);
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    CNode* prev = position ? Node(position) : m_pNodeTail;
    return Link(prev, prev ? prev->pNext : nullptr, newElement);
  }

  TYPE RemoveHead() {
    TYPE value = m_pNodeHead->data;
    RemoveAt(GetHeadPosition());
    return value;
  }
  TYPE RemoveTail() {
    TYPE value = m_pNodeTail->data;
    RemoveAt(GetTailPosition());
    return value;
  }
  void RemoveAt(POSITION position) {
    CNode* node = Node(position);
    (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
    (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
    delete node;
    --m_nCount;
  }
  void RemoveAll() {
    while (m_pNodeHead) RemoveAt(GetHeadPosition());
  }

  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
    CNode* node = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
    for (; node; node = node->pNext)
      if (node->data == searchValue) return Pos(node);
    return nullptr;
  }
  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* node = m_pNodeHead;
    while (nIndex--) node = node->pNext;
    return Pos(node);
  }

 private:
  POSITION Link(CNode* prev, CNode* next, ARG_TYPE newElement) {
    CNode* node = new CNode{next, prev, TYPE(newElement)};
    (prev ? prev->pNext : m_pNodeHead) = node;
    (next ? next->pPrev : m_pNodeTail) = node;
    ++m_nCount;
    return Pos(node);
  }

  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;
};

class CPtrList : public CList<void*, void*> {};
class CObList : public CList<CObject*, CObject*> {};
