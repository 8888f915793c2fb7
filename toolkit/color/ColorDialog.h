// CXTColorDialog: the modal "Colors" sheet, with a "Standard" and a "Custom"
// page. Beside its pages stand OK and
// Cancel, a swatch of the new colour above the current one and, with
// XTCD_HEXFIELD, a read-only "Hex:" field. DoModal answers IDOK when the new
// colour (GetColor) was accepted. The pages and the sheet tell each other of
// a new colour with XTWM_COLOR_SETNEW.
#pragma once

#include "classlib/classlib.h"

class CXTColorPageCustom;
class CXTColorPageStandard;

enum : DWORD {
  XTCD_HEXFIELD = 0x20,  // show the "Hex:" field
  XTCD_3DSWATCH = 0x40,  // a sunken 3-D border round the swatch, not a flat frame
};

class CXTColorDialog : public CPropertySheet {
  DECLARE_MESSAGE_MAP()
 public:
  CXTColorDialog(COLORREF clrNew, COLORREF clrCurrent, DWORD dwFlags = 0, CWnd* pParent = nullptr);
  ~CXTColorDialog() override;

  // The new colour; shown at once, and with bNotifyPages told to every page.
  void SetNewColor(COLORREF color, BOOL bNotifyPages);
  COLORREF GetColor() const { return m_clrNew; }
  COLORREF GetCurrentColor() const { return m_clrCurrent; }
  BOOL OnInitDialog() override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnPaint();

 private:
  void PlaceSwatch();
  void DrawSwatch(CDC& dc);

  DWORD m_dwFlags;
  CEdit m_hexEdit;
  CRect m_newRect, m_currentRect;
  COLORREF m_clrNew, m_clrCurrent;
  CXTColorPageStandard* m_pStandardPage;
  CXTColorPageCustom* m_pCustomPage;
};
