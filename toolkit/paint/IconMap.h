// CXTIconMap: three icons per command id (normal, disabled, hot), owned by
// the map: each is destroyed when replaced, removed or when the map goes.
// Icon handles mean nothing outside this run, so the map is never stored.
#pragma once

#include <windows.h>

#include <map>

class CXTIconMap {
 public:
  CXTIconMap() = default;
  ~CXTIconMap();
  CXTIconMap(const CXTIconMap&) = delete;
  CXTIconMap& operator=(const CXTIconMap&) = delete;

  // FALSE when the id has no icons; any out-pointer may be null.
  BOOL Lookup(UINT id, HICON* normal, HICON* disabled, HICON* hot) const;
  // Takes the icons; those an entry held before are destroyed unless given again.
  void SetAt(UINT id, HICON normal, HICON disabled, HICON hot);
  void RemoveAll();
  int GetCount() const { return static_cast<int>(m_icons.size()); }

 private:
  struct Icons {
    HICON normal, disabled, hot;
  };
  static void Destroy(const Icons& icons, const Icons& kept);

  std::map<UINT, Icons> m_icons;
};
