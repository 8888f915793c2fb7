// The message handling that every resizable window shares, whatever its
// class-library base (a dialog, a page or a sheet): a size change lays the
// controls out, the tracking sizes come from the layout, and the placement
// is saved as the window goes.
#pragma once

#include <utility>

#include "toolkit/dialogs/ResizeLayout.h"

template <class TBase>
class CXTResizeWindow : public TBase, public CXTResizeLayout {
 public:
  template <class... Args>
  explicit CXTResizeWindow(UINT nFlags, Args&&... args)
      : TBase(std::forward<Args>(args)...), CXTResizeLayout(this, nFlags) {}

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

  afx_msg void OnSize(UINT nType, int cx, int cy) {
    TBase::OnSize(nType, cx, cy);
    Resize();
  }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* pInfo) { GetMinMaxInfo(pInfo); }
  afx_msg void OnDestroy() {
    OnOwnerDestroy();
    TBase::OnDestroy();
  }
};

template <class TBase>
const AFX_MSGMAP* CXTResizeWindow<TBase>::GetThisMessageMap() {
  typedef CXTResizeWindow<TBase> ThisClass;
  static const AFX_MSGMAP_ENTRY entries[] = {
      ON_WM_SIZE()
      ON_WM_GETMINMAXINFO()
      ON_WM_DESTROY()
      {0, 0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP map = {&TBase::GetThisMessageMap, entries};
  return &map;
}
