// A balloon tip: a rounded pop-up whose tail points at an anchor, with a
// bold title line (optional icon and close button), a word-wrapped text and
// an optional link opened by a click. It closes on the user actions its
// options name (through the thread's hooks), on its timeout or its close
// button; with BTO_DELETE_ON_DESTROY the object
// deletes itself once its window is gone.
//
// Files: BalloonTipWnd.cpp creation, options, hooks and closing;
// BalloonTipPaint.cpp measuring and painting; BalloonGeometry.cpp placement.
#pragma once
#include "BalloonGeometry.h"
#include "classlib/imagelist.h"
#include "classlib/wnd.h"
#include "toolkit/common/ThreadHooks.h"

enum BalloonOption : UINT {
  BTO_CLOSE_ON_LBUTTON_UP = 0x0001,
  BTO_CLOSE_ON_MBUTTON_UP = 0x0002,
  BTO_CLOSE_ON_RBUTTON_UP = 0x0004,
  BTO_CLOSE_ON_LBUTTON_DOWN = 0x0008,
  BTO_CLOSE_ON_MBUTTON_DOWN = 0x0010,
  BTO_CLOSE_ON_RBUTTON_DOWN = 0x0020,
  BTO_CLOSE_ON_MOUSE_MOVE = 0x0040,
  BTO_CLOSE_ON_KEY = 0x0080,
  BTO_DELAY_CLOSE = 0x0100,
  BTO_DELETE_ON_DESTROY = 0x0200,
  BTO_CLOSE_BUTTON = 0x0400,
  BTO_INNER_SHADOW = 0x0800,
  BTO_TOPMOST = 0x1000,
  BTO_NO_DROP_SHADOW = 0x2000,
  BTO_NO_FADE_IN = 0x4000,
  BTO_NO_FADE_OUT = 0x8000,
};

constexpr UINT kBalloonMouseTriggers = 0x007F;    // every mouse option that closes
constexpr UINT kBalloonButtonUpTriggers = 0x0007; // these also take the mouse capture
constexpr char kBalloonShadowClass[] = "BalloonHelpClassDS";
constexpr char kBalloonPlainClass[] = "BalloonHelpClass";

class CBalloonTipWnd : public CWnd, private CXTHookClient {
  DECLARE_MESSAGE_MAP()
 public:
  CBalloonTipWnd();
  ~CBalloonTipWnd() override;

  // Allocates a balloon that deletes itself, and shows it. iconName names a
  // system icon (IDI_*) or null. Nothing is left behind when it cannot show.
  static void LaunchBalloon(LPCSTR title, LPCSTR text, POINT anchor, LPCSTR iconName, UINT options,
                            CWnd* parent = nullptr, LPCSTR url = nullptr, DWORD timeoutMs = 0);
  // TRUE when the window was created and shown.
  BOOL CreateBalloon(LPCSTR title, LPCSTR text, POINT anchor, UINT options, CWnd* parent = nullptr,
                     LPCSTR url = nullptr, DWORD timeoutMs = 0, HICON icon = nullptr);

  // The anchor is in anchorWindow's client coordinates, or on the screen
  // without one; a balloon with an anchor window follows it when it moves.
  void SetBalloonAnchor(POINT anchor, CWnd* anchorWindow);
  void SetBalloonTimeout(DWORD timeoutMs);
  void SetBalloonIcon(HICON icon);
  void SetBalloonIcon(HBITMAP image, COLORREF maskColour);
  void SetBalloonIcon(HBITMAP image, HBITMAP mask);
  void SetBalloonIconScaled(HICON icon, int width, int height);

  void ShowBalloon();
  // Closes at once, or with BTO_DELAY_CLOSE the first time only disarms the
  // triggers and starts the timeout.
  void HideBalloon();

  UINT GetOptions() const { return options_; }

 protected:
  virtual void PaintBalloonFrame(CDC* dc);
  virtual void PaintBalloonClient(CDC* dc);
  virtual CSize LayoutBalloonTitle(CDC* dc, bool draw);
  virtual CSize LayoutBalloonText(CDC* dc, int top, bool draw);
  void PostNcDestroy() override;

  afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnPaint();
  afx_msg LRESULT OnPrint(WPARAM dc, LPARAM flags);
  afx_msg LRESULT OnPrintClient(WPARAM dc, LPARAM flags);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* wnd);
  afx_msg void OnCancelMode();

 private:
  void OnHookKeyboard(WPARAM key, LPARAM keyData) override;
  void OnHookMouse(UINT message, const MOUSEHOOKSTRUCT& mouse) override;
  void OnHookWindowProcReturn(const CWPRETSTRUCT& message) override;

  bool MakeFonts();
  bool StartIconList(HBITMAP image);
  static ATOM RegisterBalloonClass(bool withShadow);
  void TurnOffFadingWhereUnavailable();
  void ArmTriggers();
  void ReleaseHooks();
  void PositionBalloon();
  void ApplyOutline(const BalloonPlacement& placement, int width, int height);
  CSize MeasureBalloonClient();
  const BalloonRect& GetBalloonWorkArea();
  POINT GetAnchorScreenPoint() const;
  BalloonQuadrant CurrentQuadrant();
  CRect CloseButtonRect() const;
  // Ends a press on the close button without closing.
  void EndCloseButtonPress();
  void DrawCloseButton(UINT state);
  void Animate(DWORD flags);

  typedef BOOL(WINAPI* AnimateWindowProc)(HWND, DWORD, DWORD);
  AnimateWindowProc animateWindow_ = nullptr;
  UINT options_ = 0;
  DWORD timeoutMs_ = 0;
  UINT_PTR timerId_ = 0;
  CString text_;
  CString url_;
  HWND anchorWindow_ = nullptr;
  POINT anchor_ = {};
  CImageList icon_;
  CFont titleFont_;
  CFont textFont_;
  COLORREF background_;
  COLORREF foreground_;
  BalloonRect workArea_;
  bool workAreaKnown_ = false;
  CRgn outline_;
  POINT shownCursor_ = {};
  UINT closeButtonState_ = 0;
  int mouseTolerance_ = 3;
};

// Points an information balloon at the centre of target: topmost, closed by
// a key, a left press or after 3 seconds. Does nothing for a null target or
// with skip set. Always 0.
int ShowInfoBalloon(HWND target, CWnd* owner, UINT titleId, UINT textId, BOOL skip);
