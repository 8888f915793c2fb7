#include "toolkit/color/ColorPageCustom.h"

#include "toolkit/color/ColorBytes.h"
#include "toolkit/color/ColorDialog.h"
#include "toolkit/color/ColorMessages.h"
#include "toolkit/common/MemDC.h"
#include "toolkit/common/SharedState.h"
#include "toolkit_resource.h"

BEGIN_MESSAGE_MAP(CXTColorPageCustom, CPropertyPage)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_EN_CHANGE(IDC_XT_EDIT_RED, OnChangeRgb)
ON_EN_CHANGE(IDC_XT_EDIT_GREEN, OnChangeRgb)
ON_EN_CHANGE(IDC_XT_EDIT_BLUE, OnChangeRgb)
ON_EN_CHANGE(IDC_XT_EDIT_HUE, OnChangeHue)
ON_EN_CHANGE(IDC_XT_EDIT_SAT, OnChangeSaturation)
ON_EN_CHANGE(IDC_XT_EDIT_LUM, OnChangeLuminance)
ON_MESSAGE(XTWM_COLOR_SETNEW, OnSetNewColor)
END_MESSAGE_MAP()

namespace {

// Each value's edit and spin button, in the page's value order.
const struct {
  int edit, spin;
} kValueControls[] = {
    {IDC_XT_EDIT_HUE, IDC_XT_SPIN_HUE},   {IDC_XT_EDIT_SAT, IDC_XT_SPIN_SAT},     {IDC_XT_EDIT_LUM, IDC_XT_SPIN_LUM},
    {IDC_XT_EDIT_RED, IDC_XT_SPIN_RED},   {IDC_XT_EDIT_GREEN, IDC_XT_SPIN_GREEN}, {IDC_XT_EDIT_BLUE, IDC_XT_SPIN_BLUE},
};

const int kValueMax = 255;

}  // namespace

CXTColorPageCustom::CXTColorPageCustom(CXTColorDialog* pSheet)
    : CPropertyPage(IDD_XT_COLOR_CUSTOM), m_pSheet(pSheet), m_spectrum(pSheet), m_bar(pSheet) {
  m_psp.dwFlags &= ~PSP_HASHELP;
}

void CXTColorPageCustom::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_XT_SPECTRUM, m_spectrum);
  DDX_Control(pDX, IDC_XT_LUMINANCE_BAR, m_bar);
  for (int i = 0; i < kValueCount; ++i) {
    DDX_Control(pDX, kValueControls[i].spin, m_spins[i]);
    DDX_Control(pDX, kValueControls[i].edit, m_edits[i]);
    DDX_Text(pDX, kValueControls[i].edit, m_values[i]);
    DDV_MinMaxInt(pDX, m_values[i], 0, kValueMax);
  }
}

BOOL CXTColorPageCustom::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  for (int i = 0; i < kValueCount; ++i) {
    m_spins[i].SetBuddy(&m_edits[i]);
    m_spins[i].SetRange(0, kValueMax);
  }
  return TRUE;
}

BOOL CXTColorPageCustom::OnSetActive() {
  const COLORREF color = m_pSheet->GetColor();
  m_spectrum.PickerSetColor(color, TRUE);
  m_bar.PickerSetColor(color, TRUE);
  SetRgb(color);
  SetHsl(color);
  UpdateData(FALSE);
  return CPropertyPage::OnSetActive();
}

void CXTColorPageCustom::SetRgb(COLORREF color) {
  m_values[kRed] = GetRValue(color);
  m_values[kGreen] = GetGValue(color);
  m_values[kBlue] = GetBValue(color);
}

void CXTColorPageCustom::SetHsl(COLORREF color) {
  const xtcolor::HslBytes hsl = xtcolor::ColorToHslBytes(color);
  m_values[kHue] = hsl.hue;
  m_values[kSaturation] = hsl.saturation;
  m_values[kLuminance] = hsl.luminance;
}

void CXTColorPageCustom::SetPickers(COLORREF color, BOOL bUpdatePosition) {
  for (CXTColorPickerStatic* picker : {static_cast<CXTColorPickerStatic*>(&m_spectrum),
                                       static_cast<CXTColorPickerStatic*>(&m_bar)})
    if (picker->PickerGetColor() != color) picker->PickerSetColor(color, bUpdatePosition);
}

void CXTColorPageCustom::TellSheet(COLORREF color) {
  if (color != m_pSheet->GetColor()) m_pSheet->SetNewColor(color, FALSE);
}

// Red, green or blue typed: the pickers and the sheet take the colour; the
// hue, saturation and luminance edits keep what they show.
void CXTColorPageCustom::OnChangeRgb() {
  if (!UpdateData(TRUE)) return;
  const COLORREF color = RGB(m_values[kRed], m_values[kGreen], m_values[kBlue]);
  SetPickers(color, TRUE);
  TellSheet(color);
}

void CXTColorPageCustom::FollowPicker(CXTColorPickerStatic& moved, CXTColorPickerStatic& other) {
  const COLORREF color = moved.PickerGetColor();
  if (other.PickerGetColor() != color) other.PickerSetColor(color, FALSE);
  TellSheet(color);
  SetRgb(color);
  UpdateData(FALSE);
}

void CXTColorPageCustom::OnChangeHue() {
  if (!UpdateData(TRUE)) return;
  m_spectrum.SpectrumSetHue(m_values[kHue] / static_cast<double>(kValueMax));
  FollowPicker(m_spectrum, m_bar);
}

void CXTColorPageCustom::OnChangeSaturation() {
  if (!UpdateData(TRUE)) return;
  m_spectrum.SpectrumSetSaturation(m_values[kSaturation] / static_cast<double>(kValueMax));
  FollowPicker(m_spectrum, m_bar);
}

void CXTColorPageCustom::OnChangeLuminance() {
  if (!UpdateData(TRUE)) return;
  m_bar.BarSetLuminance(m_values[kLuminance] / static_cast<double>(kValueMax));
  FollowPicker(m_bar, m_spectrum);
}

// A picker moved, or the sheet has a new colour: everything shows it.
LRESULT CXTColorPageCustom::OnSetNewColor(WPARAM wParam, LPARAM) {
  const COLORREF color = static_cast<COLORREF>(wParam);
  SetPickers(color, FALSE);
  TellSheet(color);
  SetRgb(color);
  SetHsl(color);
  UpdateData(FALSE);
  return 0;
}

BOOL CXTColorPageCustom::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTColorPageCustom::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  CXTMemDC dc(&paint, &client, GetSharedState().m_clrFace);
}
