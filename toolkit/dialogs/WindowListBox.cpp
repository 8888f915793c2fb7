#include "toolkit/dialogs/WindowListBox.h"

#include "toolkit/common/MemDC.h"

BEGIN_MESSAGE_MAP(CXTWindowListBox, CListBox)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CXTWindowListBox::OnEraseBkgnd(CDC*) { return TRUE; }

// The list box draws its lines into the memory DC it is handed.
void CXTWindowListBox::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC dc(&paint, &client, m_background);
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
}
