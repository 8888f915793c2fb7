#include "layout_check.h"

#include <commctrl.h>

#include "window_search.h"

namespace {

// Room a push button's frame and a check box's mark take beside the text.
constexpr int kButtonFramePixels = 6;
constexpr int kMarkGapPixels = 4;
constexpr int kComboArrowGapPixels = 6;

struct Control {
  HWND window;
  RECT place;  // in the client coordinates of the window checked
  std::string kind;
  DWORD style;
};

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool SameKind(const std::string& kind, const char* other) { return lstrcmpiA(kind.c_str(), other) == 0; }

std::string Name(const Control& control) {
  return std::to_string(GetDlgCtrlID(control.window)) + " \"" + WindowText(control.window) + "\"";
}

int Scaled(int pixels) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return MulDiv(pixels, dpi, 96);
}

// The place a text needs in window's font, wrapped at width when it is not 0.
RECT NeededRect(HWND window, const std::string& text, int width, UINT format) {
  RECT needed = {0, 0, width, 0};
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_EXPANDTABS | format | (width ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return needed;
}

bool IsGroupBox(const Control& control) {
  return SameKind(control.kind, "Button") && (control.style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Group boxes hold other controls, and an up-down sits on its buddy edit.
bool MayCoverOthers(const Control& control) { return IsGroupBox(control) || SameKind(control.kind, UPDOWN_CLASSA); }

bool IsTextStatic(const Control& control) {
  const DWORD type = control.style & SS_TYPEMASK;
  return SameKind(control.kind, "Static") &&
         (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE);
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A static's text, wrapped as the static wraps it, needs more room than the static has.
bool StaticTextCut(const Control& control) {
  const std::string text = WindowText(control.window);
  // A static that shortens its text with an ellipsis shows it cut on purpose.
  if (text.empty() || control.style & SS_ELLIPSISMASK) return false;
  RECT client;
  GetClientRect(control.window, &client);
  const DWORD type = control.style & SS_TYPEMASK;
  const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
  const UINT prefix = control.style & SS_NOPREFIX ? DT_NOPREFIX : 0;
  const RECT needed = NeededRect(control.window, text, wraps ? client.right : 0, prefix);
  return needed.right > client.right || needed.bottom > client.bottom;
}

// A button's label does not fit beside its mark (check boxes, radio buttons)
// or inside its frame (push buttons); a group box's caption runs past its box.
bool ButtonTextCut(const Control& control) {
  const std::string text = WindowText(control.window);
  const DWORD type = control.style & BS_TYPEMASK;
  if (text.empty() || type == BS_OWNERDRAW || control.style & (BS_BITMAP | BS_ICON)) return false;
  RECT client;
  GetClientRect(control.window, &client);
  const bool marked = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                      type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
  const int room = client.right - (marked ? GetSystemMetrics(SM_CXMENUCHECK) + Scaled(kMarkGapPixels)
                                          : type == BS_GROUPBOX ? Scaled(2 * kButtonFramePixels)
                                                                : Scaled(kButtonFramePixels));
  if (room <= 0) return true;
  const RECT needed = NeededRect(control.window, text, control.style & BS_MULTILINE ? room : 0, 0);
  return needed.right > room || (type != BS_GROUPBOX && needed.bottom > client.bottom);
}

// A drop-down list whose chosen item or any item of its list is wider than
// the room the box or its list gives.
bool ComboTextCut(const Control& control) {
  if ((control.style & 3) != CBS_DROPDOWNLIST) return false;
  RECT client;
  GetClientRect(control.window, &client);
  const int boxRoom = client.right - GetSystemMetrics(SM_CXVSCROLL) - Scaled(kComboArrowGapPixels);
  const LRESULT listWidth = SendMessageA(control.window, CB_GETDROPPEDWIDTH, 0, 0);
  const int listRoom = static_cast<int>(listWidth > client.right ? listWidth : client.right) -
                       GetSystemMetrics(SM_CXVSCROLL) - Scaled(kComboArrowGapPixels);
  const LRESULT count = SendMessageA(control.window, CB_GETCOUNT, 0, 0);
  const LRESULT chosen = SendMessageA(control.window, CB_GETCURSEL, 0, 0);
  for (LRESULT item = 0; item < count; ++item) {
    std::string text(static_cast<size_t>(SendMessageA(control.window, CB_GETLBTEXTLEN, item, 0)) + 1, '\0');
    SendMessageA(control.window, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(text.size() - 1);
    const int width = Width(NeededRect(control.window, text, 0, DT_NOPREFIX));
    if (width > listRoom || (item == chosen && width > boxRoom)) return true;
  }
  return false;
}

bool TextCut(const Control& control) {
  if (IsTextStatic(control)) return StaticTextCut(control);
  if (SameKind(control.kind, "Button")) return ButtonTextCut(control);
  if (SameKind(control.kind, "ComboBox")) return ComboTextCut(control);
  return false;
}

std::vector<Control> ShownControls(HWND window) {
  std::vector<Control> shown;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    Control control = {child, {}, ClassOf(child), static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE))};
    GetWindowRect(child, &control.place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&control.place), 2);
    if (Width(control.place) > 0 && Height(control.place) > 0) shown.push_back(control);
  }
  return shown;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Where a group box's contents may lie: below its caption, within its lines.
RECT GroupInside(const Control& group) {
  const int line = Scaled(2);
  RECT inside = group.place;
  InflateRect(&inside, -line, -line);
  inside.top = group.place.top + TextExtent(group.window, "Ag").cy;
  return inside;
}

void CheckCrossing(const Control& control, const std::vector<Control>& groups, std::vector<std::string>& faults) {
  for (const Control& group : groups) {
    RECT both;
    if (group.window == control.window || !IntersectRect(&both, &control.place, &group.place)) continue;
    const RECT inside = GroupInside(group);
    if (!Inside(control.place, inside) && !Inside(group.place, control.place))
      faults.push_back(Name(control) + " crosses the border of group " + Name(group));
  }
}

}  // namespace

SIZE TextExtent(HWND window, const std::string& text) {
  const RECT needed = NeededRect(window, text, 0, DT_NOPREFIX);
  return {Width(needed), Height(needed)};
}

std::vector<std::string> LayoutFaults(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const std::vector<Control> shown = ShownControls(window);
  std::vector<Control> groups;
  for (const Control& control : shown)
    if (IsGroupBox(control)) groups.push_back(control);
  std::vector<std::string> faults;
  for (size_t i = 0; i < shown.size(); ++i) {
    const Control& control = shown[i];
    if (!Inside(control.place, client)) faults.push_back(Name(control) + " lies outside its window");
    if (TextCut(control)) faults.push_back(Name(control) + " shows its text cut");
    if (!IsGroupBox(control)) CheckCrossing(control, groups, faults);
    if (MayCoverOthers(control)) continue;
    for (size_t j = i + 1; j < shown.size(); ++j) {
      RECT both;
      if (!MayCoverOthers(shown[j]) && IntersectRect(&both, &control.place, &shown[j].place))
        faults.push_back(Name(control) + " lies on " + Name(shown[j]));
    }
  }
  return faults;
}
