// Tool-bar buttons and separators in the flat look. The bar is read through
// its TB_* messages and the few questions of CXTPaintableBar, so any
// "ToolbarWindow32" can be painted.
#include <vector>

#include "toolkit/common/SharedState.h"
#include "toolkit/paint/FlatPainters.h"

namespace {

enum class ButtonState { kNormal, kHot, kPressed, kMarked };

const int kDropDownPart = 14;  // width of a separate drop-down part
const int kSeparatorColor = 39;
const int kDefaultImageSize = 16;

struct Button {
  TBBUTTON info;
  CRect rect;
  ButtonState state;
  bool checked, enabled, indeterminate;
  bool hasArrow, separateArrow;
};

struct ButtonColors {
  COLORREF background, text, frame;
  bool framed;
};

COLORREF Tk(int n) { return GetToolkitColor(n); }

LRESULT Ask(HWND bar, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return ::SendMessageA(bar, message, wParam, lParam);
}

CRect ItemRect(HWND bar, int index) {
  CRect rect;
  Ask(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

// Whether the mouse, over the bar and uncaptured, changes the button's look.
ButtonState FollowMouse(HWND bar, int index, ButtonState state, const CXTPressState& press) {
  POINT cursor;
  CRect client;
  ::GetCursorPos(&cursor);
  ::ScreenToClient(bar, &cursor);
  ::GetClientRect(bar, &client);
  if (!client.PtInRect(cursor) || ::GetCapture()) return state;
  const int hit = static_cast<int>(Ask(bar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&cursor)));
  if (hit == index) return ::GetKeyState(VK_LBUTTON) < 0 && !press.IsPressSuspended() ? ButtonState::kPressed : state;
  if (hit >= 0 && state == ButtonState::kHot) return ButtonState::kNormal;
  return state;
}

ButtonState StateOf(CXTPaintableBar& bar, int index, BYTE fsState, const CXTPressState& press) {
  const HWND w = bar.GetBarWindow();
  ButtonState state = ButtonState::kNormal;
  if (fsState & TBSTATE_PRESSED)
    state = ButtonState::kPressed;
  else if (Ask(w, TB_GETHOTITEM) == index && !bar.IsShowingPopup())
    state = ButtonState::kHot;
  state = FollowMouse(w, index, state, press);
  return bar.GetMarkedButton() == index ? ButtonState::kMarked : state;
}

Button ReadButton(CXTPaintableBar& bar, int index, const CXTPressState& press) {
  const HWND w = bar.GetBarWindow();
  Button b = {};
  Ask(w, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&b.info));
  b.rect = ItemRect(w, index);
  b.state = StateOf(bar, index, b.info.fsState, press);
  b.checked = (b.info.fsState & TBSTATE_CHECKED) != 0;
  b.enabled = (b.info.fsState & TBSTATE_ENABLED) != 0;
  b.indeterminate = (b.info.fsState & TBSTATE_INDETERMINATE) != 0;
  b.hasArrow = (Ask(w, TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS) && (b.info.fsStyle & BTNS_DROPDOWN);
  b.separateArrow = b.hasArrow && !(b.info.fsStyle & BTNS_WHOLEDROPDOWN);
  return b;
}

ButtonColors ColorsOf(const Button& b, COLORREF barBackground) {
  const CXTSharedState& state = GetSharedState();
  const bool pressed = b.state == ButtonState::kPressed, hot = b.state == ButtonState::kHot;
  ButtonColors c = {barBackground, Tk(46), Tk(32), false};
  if (b.checked && b.enabled) {
    c.frame = Tk(37);
    c.framed = true;
    if (pressed || hot) {
      c.background = Tk(33);
      c.text = Tk(45);
    } else {
      c.background = Tk(36);
    }
  } else if (b.checked) {
    c.background = state.m_clrFace;
    c.frame = Tk(43);
    c.framed = true;
  } else if (b.indeterminate && b.enabled) {
    if (pressed) {
      c.background = Tk(33);
      c.text = Tk(45);
    } else if (hot) {
      c.background = Tk(31);
    }
  } else if (b.indeterminate) {
    c.background = state.m_clrLightFace;
  } else if (b.enabled && (pressed || hot)) {
    c.background = Tk(pressed ? 33 : 31);
    c.text = Tk(pressed ? 47 : 45);
    c.framed = true;
  }
  return c;
}

CRect DropDownPart(const CRect& item) { return CRect(item.right - kDropDownPart, item.top, item.right, item.bottom); }

void FillAndFrame(CDC* dc, const Button& b, const ButtonColors& c) {
  dc->FillSolidRect(&b.rect, c.background);
  if (b.state == ButtonState::kMarked) {
    FrameRectWith(dc, b.rect, Tk(43));
  } else if (c.framed) {
    FrameRectWith(dc, b.rect, c.frame);
    if (b.separateArrow) FrameRectWith(dc, DropDownPart(b.rect), c.frame);
  }
}

void DrawColorStrip(CDC* dc, CXTPaintableBar& bar, const Button& b) {
  COLORREF color;
  if (!bar.GetCommandColor(b.info.idCommand, &color)) return;
  const CRect strip(b.rect.left + 4, b.rect.bottom - 7, b.rect.right - 4, b.rect.bottom - 4);
  dc->FillSolidRect(&strip, b.enabled ? color : Tk(40));
  ::ExcludeClipRect(dc->m_hDC, strip.left, strip.top, strip.right, strip.bottom);
}

CSize ImageSize(HWND bar) {
  int cx = kDefaultImageSize, cy = kDefaultImageSize;
  if (HIMAGELIST images = reinterpret_cast<HIMAGELIST>(Ask(bar, TB_GETIMAGELIST))) ImageList_GetIconSize(images, &cx, &cy);
  return CSize(cx, cy);
}

bool IsListStyle(HWND bar) { return (::GetWindowLongPtrA(bar, GWL_STYLE) & TBSTYLE_LIST) != 0; }

// Where the image goes: left and centred in list bars, centred at the top otherwise.
CPoint ImageOrigin(HWND bar, const Button& b, CSize image) {
  const int content = b.rect.Width() - (b.separateArrow ? kDropDownPart : 0);
  if (IsListStyle(bar)) return CPoint(b.rect.left + 3, b.rect.top + (b.rect.Height() - image.cy) / 2);
  return CPoint(b.rect.left + (content - image.cx) / 2, b.rect.top + 3);
}

void DrawArrowPart(CDC* dc, HWND bar, const Button& b, const ButtonColors& c, CPoint origin, CSize image) {
  if (!b.hasArrow) return;
  CRect arrow = DropDownPart(b.rect);
  if (!b.separateArrow && !IsListStyle(bar)) {
    arrow.OffsetRect(-10, 0);
    arrow.bottom = origin.y + image.cy + 3;
  }
  DrawDropArrow(dc, arrow, c.text, c.background);
}

BOOL CALLBACK DrawTextCallback(HDC dc, LPARAM text, WPARAM flags, int cx, int cy) {
  RECT rect = {0, 0, cx, cy};
  ::DrawTextA(dc, reinterpret_cast<LPCSTR>(text), -1, &rect, static_cast<UINT>(flags));
  return TRUE;
}

void DrawButtonText(CDC* dc, HWND bar, const Button& b, CPoint origin, CSize image) {
  const int length = static_cast<int>(Ask(bar, TB_GETBUTTONTEXTA, b.info.idCommand, 0));
  if (length <= 0) return;
  std::vector<char> text(length + 1, '\0');
  Ask(bar, TB_GETBUTTONTEXTA, b.info.idCommand, reinterpret_cast<LPARAM>(text.data()));
  const bool hasImage = b.info.iBitmap != I_IMAGENONE;
  CRect area;
  UINT flags;
  if (IsListStyle(bar)) {
    const int arrowRoom = b.separateArrow ? 17 : (b.hasArrow ? 7 : 0);
    area.SetRect(hasImage ? origin.x + image.cx + 3 : b.rect.left, b.rect.top, b.rect.right - arrowRoom, b.rect.bottom);
    flags = hasImage ? DT_VCENTER | DT_SINGLELINE : DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  } else {
    const int width = b.rect.Width() - (b.separateArrow ? 20 : 6);
    area.SetRect(b.rect.left + 3, origin.y + image.cy + 5, b.rect.left + 3 + width, b.rect.bottom);
    flags = DT_CENTER | DT_SINGLELINE;
  }
  UINT state = DST_COMPLEX;
  CBrush disabled(Tk(40));
  if (!b.enabled) state |= DSS_MONO;
  ::DrawStateA(dc->m_hDC, b.enabled ? nullptr : static_cast<HBRUSH>(disabled), DrawTextCallback,
               reinterpret_cast<LPARAM>(text.data()), flags, area.left, area.top, area.Width(), area.Height(), state);
}

void DrawIconAt(CDC* dc, HICON icon, CPoint at, CSize size) {
  if (icon) ::DrawIconEx(dc->m_hDC, at.x, at.y, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void DrawButtonImage(CDC* dc, const Button& b, CPoint origin, CSize size) {
  if (b.info.iBitmap < 0) return;
  const CXTCommandImage* images = GetImageStore().LookupForToolBar(b.info.idCommand);
  if (!images) return;
  if (!b.enabled) {
    if (images->disabled) return DrawIconAt(dc, images->disabled, origin, size);
    CBrush brush(Tk(40));
    ::DrawStateA(dc->m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(images->image), 0, origin.x, origin.y, size.cx,
                 size.cy, DST_ICON | DSS_MONO);
  } else if (b.state == ButtonState::kPressed || b.checked) {
    DrawIconAt(dc, images->image, origin + CPoint(1, 1), size);
  } else if (b.state == ButtonState::kHot) {
    DrawIconAt(dc, images->shadow, origin + CPoint(2, 2), size);
    DrawIconAt(dc, images->image, origin, size);
  } else {
    DrawIconAt(dc, GetSharedState().m_popupFlagA ? images->image : images->faded, origin, size);
  }
}

}  // namespace

void CXTFlatToolBarPainter::FillButtonBackground(CDC* dc, CXTPaintableBar& bar, int index) {
  const CRect rect = ItemRect(bar.GetBarWindow(), index);
  dc->FillSolidRect(&rect, bar.GetBackgroundColor());
}

void CXTFlatToolBarPainter::InvalidateButton(CXTPaintableBar& bar, int index) {
  CRect rect = ItemRect(bar.GetBarWindow(), index);
  rect.InflateRect(0, 0, 4, 4);
  ::InvalidateRect(bar.GetBarWindow(), &rect, TRUE);
}

void CXTFlatToolBarPainter::DrawSeparator(CDC* dc, CXTPaintableBar& bar, int index) {
  const HWND w = bar.GetBarWindow();
  TBBUTTON button = {};
  Ask(w, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
  CRect item = ItemRect(w, index);
  if (button.fsState & TBSTATE_WRAP) {
    // A row break: a horizontal line across the bar.
    CRect client;
    ::GetClientRect(w, &client);
    CRect line(item.left, ((item.bottom - item.Width()) + item.bottom) / 2 - 1, client.Width(), item.bottom);
    dc->FillSolidRect(&line, bar.GetBackgroundColor());
    dc->FillSolidRect(line.left, line.top, line.Width(), 1, Tk(kSeparatorColor));
  } else {
    dc->FillSolidRect(&item, bar.GetBackgroundColor());
    dc->FillSolidRect(item.left + 3, item.top + 2, 1, item.Height() - 4, Tk(kSeparatorColor));
  }
}

void CXTFlatToolBarPainter::DrawButton(CDC* dc, CXTPaintableBar& bar, int index) {
  const HWND w = bar.GetBarWindow();
  const int saved = dc->SaveDC();
  ::SelectObject(dc->m_hDC, reinterpret_cast<HGDIOBJ>(Ask(w, WM_GETFONT)));
  dc->SetBkMode(TRANSPARENT);
  const Button b = ReadButton(bar, index, m_press);
  const ButtonColors colors = ColorsOf(b, bar.GetBackgroundColor());
  FillAndFrame(dc, b, colors);
  DrawColorStrip(dc, bar, b);
  dc->SetTextColor(colors.text);
  dc->SetBkColor(colors.background);
  const CSize image = ImageSize(w);
  const CPoint origin = ImageOrigin(w, b, image);
  DrawArrowPart(dc, w, b, colors, origin, image);
  DrawButtonText(dc, w, b, origin, image);
  DrawButtonImage(dc, b, origin, image);
  dc->RestoreDC(saved);
}
