// CXTListenerArray: the {object, member function} listeners an event source
// owns and calls when its event happens. The argument is one word wide enough
// for a pointer; its meaning is fixed per array by the array's owner.
//
// A pass (NotifyAll) survives listeners that add or remove entries while it
// runs: an entry added is called in the same pass, an entry removed is not
// called any more, and every other entry present when the pass began is
// called exactly once.
#pragma once

#include "classlib/array.h"
#include "classlib/cmdtarget.h"

typedef void (CCmdTarget::*XT_LISTENER_FN)(INT_PTR argument);

struct CXTListener {
  CCmdTarget* object;
  XT_LISTENER_FN member;
};

class CXTListenerArray {
 public:
  CXTListenerArray() = default;
  CXTListenerArray(const CXTListenerArray&) = delete;
  CXTListenerArray& operator=(const CXTListenerArray&) = delete;

  // Calls every entry in index order; returns the count read last.
  INT_PTR NotifyAll(INT_PTR argument);
  // Grows the array (new slots zeroed) when index is at or past the end.
  void SetAtGrow(INT_PTR index, const CXTListener& entry);
  void SetSize(INT_PTR newSize, INT_PTR growBy = -1) { m_entries.SetSize(newSize, growBy); }
  INT_PTR Add(const CXTListener& entry);
  // Removes every entry of the object; an object that registered twice goes twice.
  void RemoveClient(CCmdTarget* object);

  INT_PTR GetSize() const { return m_entries.GetSize(); }
  const CXTListener& GetAt(INT_PTR index) const { return m_entries[index]; }

 private:
  // A pass in progress: the index of the entry being called. Removals below
  // it move it down, so the next entry is never skipped. Nested passes chain.
  struct Pass {
    INT_PTR current;
    Pass* outer;
  };

  CArray<CXTListener, const CXTListener&> m_entries;
  Pass* m_passes = nullptr;
};

// Makes a listener of a member function of a CCmdTarget-derived class.
template <class T>
CXTListener MakeListener(T* object, void (T::*member)(INT_PTR)) {
  return CXTListener{object, static_cast<XT_LISTENER_FN>(member)};
}
