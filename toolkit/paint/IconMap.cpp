#include "toolkit/paint/IconMap.h"

CXTIconMap::~CXTIconMap() { RemoveAll(); }

BOOL CXTIconMap::Lookup(UINT id, HICON* normal, HICON* disabled, HICON* hot) const {
  auto it = m_icons.find(id);
  if (it == m_icons.end()) return FALSE;
  if (normal) *normal = it->second.normal;
  if (disabled) *disabled = it->second.disabled;
  if (hot) *hot = it->second.hot;
  return TRUE;
}

// An icon given again for the same entry stays: destroying it would leave
// the entry holding a dead handle.
void CXTIconMap::Destroy(const Icons& icons, const Icons& kept) {
  for (HICON icon : {icons.normal, icons.disabled, icons.hot}) {
    if (!icon || icon == kept.normal || icon == kept.disabled || icon == kept.hot) continue;
    ::DestroyIcon(icon);
  }
}

void CXTIconMap::SetAt(UINT id, HICON normal, HICON disabled, HICON hot) {
  const Icons icons = {normal, disabled, hot};
  auto it = m_icons.find(id);
  if (it == m_icons.end()) {
    m_icons.emplace(id, icons);
    return;
  }
  Destroy(it->second, icons);
  it->second = icons;
}

void CXTIconMap::RemoveAll() {
  const Icons none = {nullptr, nullptr, nullptr};
  for (const auto& entry : m_icons) Destroy(entry.second, none);
  m_icons.clear();
}
