#include "toolkit/common/ListenerArray.h"

INT_PTR CXTListenerArray::NotifyAll(INT_PTR argument) {
  Pass pass = {0, m_passes};
  m_passes = &pass;
  for (; pass.current < m_entries.GetSize(); ++pass.current) {
    // A copy: the call may grow the array and move its storage.
    const CXTListener entry = m_entries[pass.current];
    if (entry.object && entry.member) (entry.object->*entry.member)(argument);
  }
  m_passes = pass.outer;
  return m_entries.GetSize();
}

void CXTListenerArray::SetAtGrow(INT_PTR index, const CXTListener& entry) { m_entries.SetAtGrow(index, entry); }

INT_PTR CXTListenerArray::Add(const CXTListener& entry) { return m_entries.Add(entry); }

void CXTListenerArray::RemoveClient(CCmdTarget* object) {
  for (INT_PTR i = m_entries.GetSize() - 1; i >= 0; --i) {
    if (m_entries[i].object != object) continue;
    m_entries.RemoveAt(i);
    for (Pass* pass = m_passes; pass; pass = pass->outer)
      if (i <= pass->current) --pass->current;
  }
}
