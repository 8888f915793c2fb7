#include "toolkit/common/MemDC.h"

IMPLEMENT_DYNAMIC(CXTMemDC, CDC)

CXTMemDC::CXTMemDC(CDC* target, const RECT* rect, COLORREF background) : m_target(target) {
  if (rect && !::IsRectEmpty(rect))
    m_rect = *rect;
  else
    ::GetClipBox(target->m_hDC, &m_rect);
  if (!CreateCompatibleDC(target)) return;
  SetMapMode(::GetMapMode(target->m_hDC));
  m_bitmap.Attach(::CreateCompatibleBitmap(target->m_hDC, m_rect.Width(), m_rect.Height()));
  m_oldBitmap = SelectObject(&m_bitmap);
  ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
  if (background != kNoBackground) FillSolidRect(&m_rect, background);
  m_valid = TRUE;
}

CXTMemDC::~CXTMemDC() {
  if (!m_valid) return;
  ::BitBlt(m_target->m_hDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
           SRCCOPY);
  SelectObject(m_oldBitmap);
  m_bitmap.DeleteObject();
  DeleteDC();
}
