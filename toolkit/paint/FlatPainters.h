// The flat look's painters. Colours are the shared state's fields and the
// toolkit colour table's entries by number.
#pragma once

#include "toolkit/paint/PaintStyle.h"

// The press-suspension flag the flat style owns and its painters read.
class CXTPressState {
 public:
  BOOL IsPressSuspended() const { return m_suspended; }
  void Suspend(BOOL suspend) { m_suspended = suspend != FALSE; }

 private:
  bool m_suspended = false;
};

class CXTFlatBorderPainter : public CXTBorderPainter {
 public:
  void DrawBorder(CWnd* window, CDC* dc, BOOL hot) override;
};

class CXTFlatComboPainter : public CXTComboPainter {
 public:
  explicit CXTFlatComboPainter(const CXTPressState& press) : m_press(press) {}
  void DrawCombo(CWnd* window, CDC* dc, BOOL hot) override;

 private:
  const CXTPressState& m_press;
};

class CXTFlatListPainter : public CXTListPainter {
 public:
  void DrawListItem(const DRAWITEMSTRUCT& item, CXTPaintableList& list) override;
  void PaintList(CXTPaintableList& list) override;
};

class CXTFlatToolBarPainter : public CXTToolBarPainter {
 public:
  explicit CXTFlatToolBarPainter(const CXTPressState& press) : m_press(press) {}
  void FillButtonBackground(CDC* dc, CXTPaintableBar& bar, int index) override;
  void DrawButton(CDC* dc, CXTPaintableBar& bar, int index) override;
  void DrawSeparator(CDC* dc, CXTPaintableBar& bar, int index) override;
  void InvalidateButton(CXTPaintableBar& bar, int index) override;
  void DrawListItem(const DRAWITEMSTRUCT& item, CXTPaintableList& list) override { m_list.DrawListItem(item, list); }
  void PaintList(CXTPaintableList& list) override { m_list.PaintList(list); }

 private:
  const CXTPressState& m_press;
  CXTFlatListPainter m_list;
};

// The small downward triangle of drop-down parts: rows of 5, 3 and 1 pixels
// in the text colour on the background colour, its top-left at
// ((left + right - 3) / 2, (top + bottom - 1) / 2).
void DrawDropArrow(CDC* dc, const RECT& rect, COLORREF arrow, COLORREF background);
// A one-pixel frame just inside rect.
void FrameRectWith(CDC* dc, const RECT& rect, COLORREF color);
