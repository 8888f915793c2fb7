// Drop shadows drawn as separate strip windows below and right of a popup.
// A strip is layered (an alpha ramp through UpdateLayeredWindow) where the
// system has layered windows; otherwise it copies the screen under itself
// and darkens that copy, or, with drawn shadows switched off, is a plain
// shadow-coloured band. Strips follow their owner when it moves, are fitted
// so that touching strips never darken a corner twice, and are recycled
// through a free list rather than destroyed.
//
//   bottom strip: (left + t, bottom) - (right + t, bottom + t)
//   right strip:  (right, top + t) - (right + t, bottom)        t: thickness
#pragma once

#include <memory>
#include <vector>

#include "classlib/wnd.h"
#include "toolkit/common/DibSection.h"

class CXTDropShadowWnd;

// Private message: the owner moved or changed size (posted to its strips).
#define XTWM_SHADOW_REPOSITION 0x5F4

class CXTDropShadowPool {
 public:
  typedef BOOL(WINAPI* UpdateLayeredWindowFn)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

  // Binds UpdateLayeredWindow from user32 when the system has it.
  CXTDropShadowPool();
  // A pool without layered windows, or with another entry point.
  explicit CXTDropShadowPool(UpdateLayeredWindowFn updateLayered);
  ~CXTDropShadowPool();
  CXTDropShadowPool(const CXTDropShadowPool&) = delete;
  CXTDropShadowPool& operator=(const CXTDropShadowPool&) = delete;

  enum Strip { kRightStrip = 0, kBottomStrip = 1 };
  // A strip for the owner window (following it) or, with a non-null rect,
  // for that fixed rectangle; exclusion (screen coordinates) stays clear.
  // Null when no window could be made.
  CXTDropShadowWnd* AttachShadow(Strip strip, const RECT& exclusion, HWND owner, const RECT* fixed = nullptr);
  // The bottom strip, then the right one, of a window the strips follow.
  void AttachShadowPair(HWND owner, const RECT& exclusion);
  // Both strips of a fixed rectangle, released with their owner; exclusion
  // (screen coordinates, may be empty) stays clear.
  void AttachShadowPairRect(const RECT& rect, HWND owner, const RECT& exclusion);
  void ReleaseShadow(CXTDropShadowWnd* shadow);

  UpdateLayeredWindowFn GetUpdateLayered() const { return m_updateLayered; }
  const std::vector<CXTDropShadowWnd*>& LiveShadows() const { return m_live; }
  size_t FreeCount() const { return m_free.size(); }
  // Moves a strip's rectangle so that it overlaps no live strip of the
  // other kind.
  void FitToTouchingStrips(const CXTDropShadowWnd* shadow, RECT* rect) const;

 private:
  HMODULE m_user32 = nullptr;
  UpdateLayeredWindowFn m_updateLayered = nullptr;
  std::vector<CXTDropShadowWnd*> m_live;
  std::vector<CXTDropShadowWnd*> m_free;
};

// The process's pool.
CXTDropShadowPool& GetShadowPool();

class CXTDropShadowWnd : public CWnd {
  DECLARE_MESSAGE_MAP()
 public:
  enum Mode { kLayered, kCopyAndDarken, kPlain };

  explicit CXTDropShadowWnd(CXTDropShadowPool& pool) : m_pool(pool) {}
  ~CXTDropShadowWnd() override;

  BOOL CreateStrip();
  Mode GetMode() const { return m_mode; }
  CXTDropShadowPool::Strip GetStrip() const { return m_strip; }
  HWND GetOwnerWindow() const { return m_owner; }
  int GetThickness() const { return m_thickness; }
  // Where the strip belongs for its owner or fixed rectangle (screen coordinates).
  CRect ComputeRect() const;
  const CRect& GetPlacedRect() const { return m_placed; }

 private:
  friend class CXTDropShadowPool;
  class OwnerHook;

  void Attach(CXTDropShadowPool::Strip strip, const RECT& exclusion, HWND owner, const RECT* fixed);
  void Release();
  void Place(const CRect& rect);
  void CutExclusion();
  void ShowStrip();
  void CaptureDarkened();
  void DropCache();
  void ApplyLayeredImage();

  afx_msg LRESULT OnReposition(WPARAM, LPARAM);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg LRESULT OnNcHitTest(CPoint) { return HTTRANSPARENT; }

  CXTDropShadowPool& m_pool;
  CRect m_exclusion;
  Mode m_mode = kPlain;
  CXTDropShadowPool::Strip m_strip = CXTDropShadowPool::kBottomStrip;
  int m_thickness = 2;
  bool m_follow = false;
  CRect m_fixed;
  OwnerHook* m_ownerHook = nullptr;
  HWND m_owner = nullptr;
  CRect m_placed;
  // The darkened copy of the screen under the strip.
  std::unique_ptr<CXTDibSection> m_cache;
};

// The shade each line of a strip takes, from the popup outwards, and in the
// 4 x 4 end squares 3 x i x j (i, j = 1..4 from the outer corner): alpha of a
// layered strip, or the amount taken off each channel of a darkened copy.
int ShadowShade(CXTDropShadowPool::Strip strip, int x, int y, int width, int height);
