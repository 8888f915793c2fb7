// CXTColorPageCustom: the "Custom" page of the colour dialog: the spectrum,
// the luminance bar and six edits with spin buttons for hue, saturation,
// luminance, red, green and blue (0..255 each). Any of them changes the
// dialog's new colour and the others follow.
#pragma once

#include "classlib/classlib.h"
#include "toolkit/color/ColorLuminanceBar.h"
#include "toolkit/color/ColorSpectrum.h"
#include "toolkit/controls/Edit.h"

class CXTColorDialog;

class CXTColorPageCustom : public CPropertyPage {
  DECLARE_MESSAGE_MAP()
 public:
  explicit CXTColorPageCustom(CXTColorDialog* pSheet);

  CXTColorSpectrum& GetSpectrum() { return m_spectrum; }
  CXTColorLuminanceBar& GetLuminanceBar() { return m_bar; }
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnChangeRgb();
  afx_msg void OnChangeHue();
  afx_msg void OnChangeSaturation();
  afx_msg void OnChangeLuminance();
  afx_msg LRESULT OnSetNewColor(WPARAM wParam, LPARAM lParam);

 private:
  enum Value { kHue, kSaturation, kLuminance, kRed, kGreen, kBlue, kValueCount };
  void SetRgb(COLORREF color);
  void SetHsl(COLORREF color);
  // The colour a picker moved to: the other picker and the sheet follow, and
  // the edits show it.
  void FollowPicker(CXTColorPickerStatic& moved, CXTColorPickerStatic& other);
  // Each picker not showing the colour takes it.
  void SetPickers(COLORREF color, BOOL bUpdatePosition);
  void TellSheet(COLORREF color);

  CXTColorDialog* m_pSheet;
  CXTColorSpectrum m_spectrum;
  CXTColorLuminanceBar m_bar;
  CXTEdit m_edits[kValueCount];
  CSpinButtonCtrl m_spins[kValueCount];
  int m_values[kValueCount] = {};
};
