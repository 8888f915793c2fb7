#include "toolkit/controls/FlickerFreePaint.h"

#include "toolkit/common/MemDC.h"

void PaintThroughMemDC(CWnd& wnd, COLORREF background) {
  PAINTSTRUCT ps;
  CDC* pDC = wnd.BeginPaint(&ps);
  CRect client;
  wnd.GetClientRect(&client);
  {
    CXTMemDC memDC(pDC, &client, background);
    wnd.DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);
  }
  wnd.EndPaint(&ps);
}
