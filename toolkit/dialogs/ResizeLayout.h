// The anchor layout engine behind every resizable window of the toolkit.
//
// Each registered control remembers where it stood when the window had its
// template size and which fraction of the window's growth each of its four
// edges follows (0.0: the left or top side, 1.0: the right or bottom side).
// Positions are kept in floats, so a half anchor on a 3-pixel step moves
// 1.5, 3.0, 4.5 ... and the control follows the truncated sum. A resize
// moves every control in one deferred batch.
#pragma once

#include <vector>

#include "classlib/array.h"
#include "classlib/wnd.h"
#include "toolkit/dialogs/SizeGrip.h"

// Layout flags: single bits, given to the constructors.
enum : UINT {
  XT_RESIZE_NOGRIP = 0x01,           // no size grip (always on for a page)
  XT_RESIZE_NOHGROW = 0x02,          // never wider than at the last layout
  XT_RESIZE_NOVGROW = 0x04,          // never taller than at the last layout
  XT_RESIZE_NOMINSIZE = 0x08,        // the initial size is not the minimum tracking size
  XT_RESIZE_NOCLIPCHILDREN = 0x10,   // the owner does not get WS_CLIPCHILDREN
  XT_RESIZE_NOTRANSPARENT = 0x20,    // button kinds registered stay opaque
};

// The control id of the size grip.
constexpr UINT XT_IDC_SIZEGRIP = 0x7FFF;

struct CXTAnchorPoint {
  CXTAnchorPoint(float fx, float fy) : x(fx), y(fy) {}
  float x, y;
};

struct CXTAnchorRect {
  CXTAnchorRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
  CXTAnchorRect(const CXTAnchorPoint& topLeft, const CXTAnchorPoint& bottomRight)
      : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y) {}
  float left, top, right, bottom;
};

struct CXTResizeRect {
  CXTResizeRect() : left(0), top(0), right(0), bottom(0) {}
  explicit CXTResizeRect(const RECT& rc)
      : left(float(rc.left)), top(float(rc.top)), right(float(rc.right)), bottom(float(rc.bottom)) {}
  CXTResizeRect& operator+=(const CXTResizeRect& other);
  bool operator!=(const CXTResizeRect& other) const;
  float left, top, right, bottom;
};

// A control that lays part of itself out beside its window (a strip above a
// list, a button right of an edit) gives the layout the whole rectangle it
// takes, so that its own share is subtracted once, however often it moves.
class CXTOuterRectProvider {
 public:
  virtual ~CXTOuterRectProvider() = default;
  // The rectangle the control takes, in screen coordinates.
  virtual void GetOuterRect(CRect& rect) const = 0;
};

class CXTResizeItem {
 public:
  CXTResizeItem(CWnd* pControl, const CXTAnchorRect& anchor, const CRect& rect, BOOL bOwnsWindow);
  virtual ~CXTResizeItem();
  CXTResizeItem(const CXTResizeItem&) = delete;
  CXTResizeItem& operator=(const CXTResizeItem&) = delete;

  HWND GetSafeHwnd() const { return m_pControl ? m_pControl->m_hWnd : nullptr; }

  CWnd* m_pControl;  // null for an id that had no dialog item
  CXTAnchorRect m_anchor;
  CXTResizeRect m_rcCurrent;
  CXTResizeRect m_rcInitial;
  BOOL m_bOwnsWindow;
  BOOL m_bPositioned = FALSE;
};

// The window-position calls the layout makes; tests replace them to see a
// batch fail.
struct CXTWindowPosApi {
  HDWP(WINAPI* beginDefer)(int);
  HDWP(WINAPI* defer)(HDWP, HWND, HWND, int, int, int, int, UINT);
  BOOL(WINAPI* endDefer)(HDWP);
  BOOL(WINAPI* setPos)(HWND, HWND, int, int, int, int, UINT);
};
extern CXTWindowPosApi g_xtWindowPosApi;

// One pass of moves. They go into a deferred batch; when the batch fails,
// the moves it held and every later one are made at once instead, so no
// control is left behind its recorded place.
class CXTWindowMoves {
 public:
  explicit CXTWindowMoves(int nCount);
  ~CXTWindowMoves();
  CXTWindowMoves(const CXTWindowMoves&) = delete;
  CXTWindowMoves& operator=(const CXTWindowMoves&) = delete;
  // FALSE when the deferred batch failed on this move (it was made at once).
  BOOL Move(HWND hWnd, int x, int y, int cx, int cy, UINT nFlags);

 private:
  struct Move_ {
    HWND hWnd;
    int x, y, cx, cy;
    UINT flags;
  };
  void MakeAtOnce(const Move_& move);
  HDWP m_hBatch;
  std::vector<Move_> m_deferred;
};

class CXTResizeLayout {
 public:
  CXTResizeLayout(CWnd* pOwner, UINT nFlags);
  virtual ~CXTResizeLayout();
  CXTResizeLayout(const CXTResizeLayout&) = delete;
  CXTResizeLayout& operator=(const CXTResizeLayout&) = delete;

  // Registers a control (hWnd, or the owner's dialog item nID), or adds to
  // the anchor of the control already registered with that id.
  void SetAnchor(UINT nID, HWND hWnd, const CXTAnchorRect& anchor);
  void SetAnchor(UINT nID, const CXTAnchorRect& anchor) { SetAnchor(nID, nullptr, anchor); }
  void AddItem(CWnd* pControl, const CXTAnchorRect& anchor, const CRect& rect);
  void Initialize();
  void Resize();
  BOOL MoveItem(CXTWindowMoves& moves, CXTResizeItem* pItem, int dx, int dy);
  void ResetItems();
  void RemoveAllItems();
  void GetMinMaxInfo(MINMAXINFO* pInfo) const;
  void SetFlag(UINT nFlag) { m_nLayoutFlags |= nFlag; }
  UINT GetFlags() const { return m_nLayoutFlags; }
  int GetItemCount() const { return static_cast<int>(m_items.GetSize()); }
  CXTResizeItem* GetItem(int nIndex) const { return m_items[nIndex]; }

  // "WindowPlacement" of the application profile, in the section given.
  void LoadPlacement(LPCSTR lpszSection);
  void SavePlacement(LPCSTR lpszSection);
  // Loads now and saves when the owner is destroyed.
  void AutoLoadPlacement(LPCSTR lpszSection);

 protected:
  // The owners' shared message handling, called from their own maps.
  void OnOwnerDestroy();

  CArray<CXTResizeItem*> m_items;
  CWnd* m_pOwner;
  UINT m_nLayoutFlags;
  CRect m_rcLast;
  CRect m_rcInitial;
  CSize m_szMinTrack;
  CSize m_szMaxTrack;
  CXTSizeGrip m_grip;
  CString m_strSection;

 private:
  CXTResizeItem* FindItem(UINT nID) const;
  void CreateGrip();
  void MakeTransparent(HWND hWnd) const;
  CRect OwnerClientRectOf(HWND hWnd) const;
};
