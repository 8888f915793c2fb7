#include "AboutBox.h"

#include "app/BuilderGlobals.h"
#include "builder_resource.h"
#include "classlib/dataexchange.h"
#include "classlib/winapp.h"
#include "sysinfo/SystemInfoDlg.h"
#include "toolkit/common/SharedState.h"

IMPLEMENT_DYNAMIC(CAboutBoxGenericModule, CDialog)

BEGIN_MESSAGE_MAP(CAboutBoxGenericModule, CDialog)
  ON_BN_CLICKED(IDC_ABOUT_SYSTEM_INFO, OnSystemInfo)
END_MESSAGE_MAP()

CAboutBoxGenericModule::CAboutBoxGenericModule(LPCSTR title, LPCSTR text, CWnd* parent)
    : CDialog(IDD_ABOUT_BOX, parent), text_(text ? text : ""), productTitle_(title ? title : "") {
  Builder().productTitle = productTitle_;
}

CAboutBoxGenericModule::~CAboutBoxGenericModule() {
  if (makerPicture_) DeleteObject(makerPicture_);
  if (productPicture_) DeleteObject(productPicture_);
}

void CAboutBoxGenericModule::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ABOUT_HOME_LINK, homeLink_);
  DDX_Control(pDX, IDC_ABOUT_PRODUCTS_LINK, productsLink_);
}

BOOL CAboutBoxGenericModule::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(productTitle_);
  if (CWnd* title = GetDlgItem(IDC_ABOUT_TITLE)) {
    title->SetFont(&GetSharedState().GetFont(CXTSharedState::kFontBold));
    title->SetWindowText(productTitle_);
  }
  CString home, products;
  home.LoadString(IDS_MAKER_HOME_URL);
  products.LoadString(IDS_MAKER_PRODUCTS_URL);
  homeLink_.SetLinkTarget(home);
  productsLink_.SetWindowText(products);
  productsLink_.SetLinkTarget(products);
  const HINSTANCE resources = AfxGetResourceHandle();
  makerPicture_ = LoadBitmapA(resources, MAKEINTRESOURCEA(IDB_ABOUT_MAKER));
  productPicture_ = LoadBitmapA(resources, MAKEINTRESOURCEA(IDB_ABOUT_PRODUCT));
  if (CWnd* picture = GetDlgItem(IDC_ABOUT_PICTURE))
    picture->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(productPicture_));
  return TRUE;
}

// System information opens over the about box, which waits disabled until it closes.
void CAboutBoxGenericModule::OnSystemInfo() {
  CMySystemInfoDlg systemInfo(this);
  systemInfo.DoModal();
}

void ShowAboutBox() {
  CWinApp* app = AfxGetApp();
  CAboutBoxGenericModule box(kProductTitle, app && app->m_pszHelpFilePath ? app->m_pszHelpFilePath : "",
                             Builder().mainWindow);
  box.DoModal();
}
