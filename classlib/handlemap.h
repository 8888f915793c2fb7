// Per-thread maps from Win32 handles to the layer's wrapper objects.
// Permanent entries belong to objects that own their handle (Attach);
// temporary ones are wrappers made by FromHandle for handles nobody wrapped,
// and they live until the thread's next idle time (AfxDeleteTempMaps).
#pragma once

#include <windows.h>

#include <map>

class CTempMapBase {
 public:
  CTempMapBase();
  virtual ~CTempMapBase() = default;
  virtual void DeleteTemp() = 0;
};

// Frees every temporary wrapper of the calling thread.
void AfxDeleteTempMaps();

// T must offer a default constructor and SetTempHandle, which sets the
// handle without owning it; it is cleared again before the wrapper is deleted.
template <class T>
class CTempMap : public CTempMapBase {
 public:
  T* Lookup(const void* h) const {
    auto it = m_temp.find(h);
    return it == m_temp.end() ? nullptr : it->second;
  }
  T* Create(const void* h) {
    T* p = new T;
    p->SetTempHandle(const_cast<void*>(h));
    m_temp[h] = p;
    return p;
  }
  void DeleteTemp() override {
    std::map<const void*, T*> temp;
    temp.swap(m_temp);
    for (auto& entry : temp) {
      entry.second->SetTempHandle(nullptr);
      delete entry.second;
    }
  }

 private:
  std::map<const void*, T*> m_temp;
};

// The maps are made once per thread and never destroyed, so wrappers that
// static destructors delete at exit still find them.
template <class T>
CTempMap<T>& AfxTempMap() {
  thread_local CTempMap<T>* map = new CTempMap<T>;
  return *map;
}

template <class T>
std::map<const void*, T*>& AfxPermanentMap() {
  thread_local std::map<const void*, T*>* map = new std::map<const void*, T*>;
  return *map;
}

template <class T>
T* AfxLookupPermanent(const void* h) {
  auto& map = AfxPermanentMap<T>();
  auto it = map.find(h);
  return it == map.end() ? nullptr : it->second;
}

// An owner registers and unregisters itself; unregistering leaves another owner's entry alone.
template <class T>
void AfxSetPermanent(const void* h, T* owner) {
  AfxPermanentMap<T>()[h] = owner;
}

template <class T>
void AfxRemovePermanent(const void* h, T* owner) {
  auto& map = AfxPermanentMap<T>();
  auto it = map.find(h);
  if (it != map.end() && it->second == owner) map.erase(it);
}

// The wrapper of h: its owner, else a temporary one of class TEMP.
template <class T, class TEMP = T>
T* AfxFromHandle(const void* h) {
  if (!h) return nullptr;
  if (T* p = AfxLookupPermanent<T>(h)) return p;
  if (TEMP* p = AfxTempMap<TEMP>().Lookup(h)) return p;
  return AfxTempMap<TEMP>().Create(h);
}
