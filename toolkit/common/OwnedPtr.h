// CXTOwnedPtr: holds one record of the module's instance and resource handles,
// taken while a caller points the class layer at another module. When the
// holder goes and the record is active, both handles go back into the current
// module state, so resources load from where they did before.
#pragma once

#include <windows.h>

struct CXTModuleHandles {
  HINSTANCE instance = nullptr;
  HINSTANCE resource = nullptr;
  bool active = false;
};

class CXTOwnedPtr {
 public:
  CXTOwnedPtr() = default;
  ~CXTOwnedPtr() { Reset(); }
  CXTOwnedPtr(const CXTOwnedPtr&) = delete;
  CXTOwnedPtr& operator=(const CXTOwnedPtr&) = delete;

  // Remembers the current module's handles; the holder restores them when it goes.
  void Take();
  // Restores the remembered handles when active, then frees the record.
  void Reset();
  const CXTModuleHandles* Get() const { return m_handles; }

 private:
  CXTModuleHandles* m_handles = nullptr;
};
