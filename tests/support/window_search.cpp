#include "window_search.h"

namespace {

struct DescendantSearch {
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DescendantSearch*>(data);
  if (!(*search->match)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindDescendant(HWND root, const std::function<bool(HWND)>& match) {
  DescendantSearch search = {&match, nullptr};
  EnumChildWindows(root, MatchDescendant, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool HasClass(HWND window, const char* className) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, className) == 0;
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}
