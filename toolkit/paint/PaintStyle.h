// Paint styles: the flat (XP) look hands out painters for tool-bar buttons,
// separators, combo boxes, control borders and command lists; the classic
// look hands out none, and each control then draws itself the classic way.
// GetPaintStyle follows the shared state's look flag, so switching the look
// needs only a repaint.
#pragma once

#include "classlib/wnd.h"
#include "toolkit/common/ImageStore.h"

// What a tool bar tells its painter beyond what TB_* messages answer.
class CXTPaintableBar {
 public:
  virtual ~CXTPaintableBar() = default;
  virtual HWND GetBarWindow() const = 0;
  virtual COLORREF GetBackgroundColor() const = 0;
  // A button's popup is open: its hot look is dropped.
  virtual BOOL IsShowingPopup() const = 0;
  // The button customise mode selected for dragging, or -1.
  virtual int GetMarkedButton() const = 0;
  // The colour a colour command shows in its strip; FALSE for other commands.
  virtual BOOL GetCommandColor(UINT id, COLORREF* color) const = 0;
};

// What an owner-drawn command list tells its painter.
class CXTPaintableList {
 public:
  virtual ~CXTPaintableList() = default;
  virtual HWND GetListWindow() const = 0;
  virtual int GetIconColumnWidth() const = 0;
  // The command of an item, 0 for a submenu.
  virtual UINT GetItemCommand(const DRAWITEMSTRUCT& item) const = 0;
  virtual CString GetItemText(const DRAWITEMSTRUCT& item) const = 0;
  // Lets the list's own procedure draw its items into dc.
  virtual void PaintItemsInto(CDC* dc) = 0;
};

class CXTBorderPainter {
 public:
  virtual ~CXTBorderPainter() = default;
  virtual void DrawBorder(CWnd* window, CDC* dc, BOOL hot) = 0;
};

class CXTComboPainter {
 public:
  virtual ~CXTComboPainter() = default;
  virtual void DrawCombo(CWnd* window, CDC* dc, BOOL hot) = 0;
};

class CXTListPainter {
 public:
  virtual ~CXTListPainter() = default;
  virtual void DrawListItem(const DRAWITEMSTRUCT& item, CXTPaintableList& list) = 0;
  virtual void PaintList(CXTPaintableList& list) = 0;
};

class CXTToolBarPainter : public CXTListPainter {
 public:
  virtual void FillButtonBackground(CDC* dc, CXTPaintableBar& bar, int index) = 0;
  virtual void DrawButton(CDC* dc, CXTPaintableBar& bar, int index) = 0;
  virtual void DrawSeparator(CDC* dc, CXTPaintableBar& bar, int index) = 0;
  virtual void InvalidateButton(CXTPaintableBar& bar, int index) = 0;
};

class CXTPaintStyle {
 public:
  virtual ~CXTPaintStyle() = default;
  virtual CXTBorderPainter* GetBorderPainter() = 0;
  virtual CXTComboPainter* GetComboPainter() = 0;
  virtual CXTToolBarPainter* GetToolBarPainter() = 0;
  virtual CXTListPainter* GetListPainter() = 0;
  // While set, a button under the mouse is not drawn pressed.
  virtual BOOL SetSuspendPress(BOOL suspend) = 0;
};

CXTPaintStyle& GetPaintStyle();
