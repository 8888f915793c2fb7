// CXTColorPageStandard: the "Standard" page of the colour dialog, the
// honeycomb of 144 colours; a cell picked there is the sheet's new colour.
#pragma once

#include "classlib/classlib.h"
#include "toolkit/color/ColorHoneycomb.h"

class CXTColorDialog;

class CXTColorPageStandard : public CPropertyPage {
  DECLARE_MESSAGE_MAP()
 public:
  explicit CXTColorPageStandard(CXTColorDialog* pSheet);

  CXTColorHoneycomb& GetHoneycomb() { return m_honeycomb; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg LRESULT OnSetNewColor(WPARAM wParam, LPARAM lParam);

 private:
  CXTColorDialog* m_pSheet;
  CXTColorHoneycomb m_honeycomb;
};
