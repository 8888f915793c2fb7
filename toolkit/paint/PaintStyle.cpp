#include "toolkit/paint/PaintStyle.h"

#include "toolkit/common/SharedState.h"
#include "toolkit/paint/FlatPainters.h"

namespace {

class CXTClassicStyle : public CXTPaintStyle {
 public:
  CXTBorderPainter* GetBorderPainter() override { return nullptr; }
  CXTComboPainter* GetComboPainter() override { return nullptr; }
  CXTToolBarPainter* GetToolBarPainter() override { return nullptr; }
  CXTListPainter* GetListPainter() override { return nullptr; }
  BOOL SetSuspendPress(BOOL) override { return FALSE; }
};

class CXTFlatStyle : public CXTPaintStyle {
 public:
  CXTBorderPainter* GetBorderPainter() override { return &m_border; }
  CXTComboPainter* GetComboPainter() override { return &m_combo; }
  CXTToolBarPainter* GetToolBarPainter() override { return &m_toolBar; }
  CXTListPainter* GetListPainter() override { return &m_list; }
  BOOL SetSuspendPress(BOOL suspend) override {
    m_press.Suspend(suspend);
    return m_press.IsPressSuspended();
  }

 private:
  CXTPressState m_press;
  CXTFlatComboPainter m_combo{m_press};
  CXTFlatBorderPainter m_border;
  CXTFlatToolBarPainter m_toolBar{m_press};
  CXTFlatListPainter m_list;
};

}  // namespace

CXTPaintStyle& GetPaintStyle() {
  static CXTClassicStyle classic;
  static CXTFlatStyle flat;
  if (GetSharedState().m_xpLook) return flat;
  return classic;
}
