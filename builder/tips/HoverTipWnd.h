// A light tip that a property page owns: the page registers its controls
// with a text and an icon and relays its mouse messages; half a second after
// the cursor comes to rest over a registered control, the tip shows beside
// it with its tail on the cursor. A move away or a click hides it.
#pragma once
#include "classlib/map.h"
#include "classlib/wnd.h"

struct HoverTipEntry {
  CString text;
  HICON icon = nullptr;
};

class CHoverTipWnd : public CWnd {
  DECLARE_MESSAGE_MAP()
 public:
  CHoverTipWnd();
  ~CHoverTipWnd() override;

  // Creates the hidden tip window owned by parent.
  BOOL CreateTip(CWnd* parent);
  // Registers control, replacing an earlier text and icon.
  void AddTool(CWnd* control, LPCSTR text, HICON icon);
  // The owner passes every message from its PreTranslateMessage.
  void RelayEvent(const MSG* message);
  // Shows text at point (null: the cursor) after the show delay.
  void ShowTip(LPCSTR text, const POINT* point);
  void SetTipIcon(HICON icon);
  void HideTip();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCTA create);
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnPaint();

 private:
  // The outline: the text's box with margins and icon, and a tail under its
  // right end; size gets the window size the outline needs.
  HRGN BuildTipRegion(CDC* dc, CSize* size);
  bool CursorAtTipPoint() const;

  CString className_;
  UINT showDelayMs_ = 500;
  POINT tipPoint_ = {-1, -1};
  CString tipText_;
  UINT_PTR timerId_ = 0;
  HICON icon_ = nullptr;
  int iconWidth_ = 0, iconHeight_ = 0;
  CFont* fontInUse_ = nullptr;
  CMap<HWND, HWND, HoverTipEntry, const HoverTipEntry&> tools_;
  CFont font_;
  bool fontCreated_ = false;
};
