#include "LiteZipPasswrdCallback.h"

#include "TransparentBitmap.h"
#include "builder_resource.h"
#include "classlib/dataexchange.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CLiteZipPasswrdCallback, CDialog)

BEGIN_MESSAGE_MAP(CLiteZipPasswrdCallback, CDialog)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CLiteZipPasswrdCallback::CLiteZipPasswrdCallback(CWnd* parent) : CDialog(IDD_ARCHIVE_PASSWORD, parent) {}

CLiteZipPasswrdCallback::~CLiteZipPasswrdCallback() {
  if (key_) DeleteObject(key_);
}

void CLiteZipPasswrdCallback::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PASSWORD_EDIT, passwordEdit_);
  DDX_Control(pDX, IDC_PASSWORD_KEY_PLACE, keyPlace_);
}

BOOL CLiteZipPasswrdCallback::OnInitDialog() {
  CDialog::OnInitDialog();
  const HINSTANCE resources = AfxGetResourceHandle();
  if (CWnd* picture = GetDlgItem(IDC_PASSWORD_PICTURE))
    picture->SendMessage(STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(LoadBitmapA(resources, MAKEINTRESOURCEA(IDB_ABOUT_MAKER))));
  CFont& bold = GetSharedState().GetFont(CXTSharedState::kFontBold);
  for (int id : {IDC_PASSWORD_LABEL, IDC_PASSWORD_ENCRYPTED_NOTE})
    if (CWnd* label = GetDlgItem(id)) label->SetFont(&bold);
  key_ = LoadBitmapA(resources, MAKEINTRESOURCEA(IDB_PASSWORD_KEY));
  passwordEdit_.SetFocus();
  return TRUE;
}

// The key sits one pixel above its place, its green left out.
void CLiteZipPasswrdCallback::OnPaint() {
  CPaintDC dc(this);
  if (key_ == nullptr) return;
  CRect place;
  keyPlace_.GetWindowRect(&place);
  CRect client;
  GetClientRect(&client);
  ClientToScreen(&client);
  DrawTransparentBitmap(dc.m_hDC, key_, place.left - client.left, place.top - client.top - 1, kTransparentGreen);
}

void CLiteZipPasswrdCallback::OnOK() {
  passwordEdit_.GetWindowText(password_);
  EndDialog(IDOK);
}
