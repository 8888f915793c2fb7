#include "toolkit/common/WndHook.h"

#include <map>

IMPLEMENT_DYNAMIC(CXTWndHook, CObject)

namespace {

// A window's chain. A chain without hooks stays only while another subclass
// sits on top of the common procedure: that one still calls it, and it must
// still reach the window's own procedure.
struct Chain {
  CXTWndHook* head = nullptr;
  WNDPROC original = nullptr;
};

std::map<HWND, Chain>& WindowMap() {
  static std::map<HWND, Chain> map;
  return map;
}

LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

WNDPROC WindowProcOf(HWND hWnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)); }

void SetWindowProc(HWND hWnd, WNDPROC proc) {
  ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

// Gives the window its own procedure back, unless a subclass installed after
// ours would be cut off: then the empty chain forwards to it instead.
void ReleaseWindow(HWND hWnd) {
  auto it = WindowMap().find(hWnd);
  if (it == WindowMap().end()) return;
  if (WindowProcOf(hWnd) != HookedWindowProc && ::IsWindow(hWnd)) return;
  if (::IsWindow(hWnd)) SetWindowProc(hWnd, it->second.original);
  WindowMap().erase(it);
}

LRESULT Dispatch(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto it = WindowMap().find(hWnd);
  if (it == WindowMap().end()) return ::DefWindowProcA(hWnd, message, wParam, lParam);
  const WNDPROC original = it->second.original;
  if (message == WM_NCDESTROY) {
    CXTWndHook::RemoveAll(hWnd);
    WindowMap().erase(hWnd);
    return ::CallWindowProcA(original, hWnd, message, wParam, lParam);
  }
  if (!it->second.head) return ::CallWindowProcA(original, hWnd, message, wParam, lParam);
  return it->second.head->WindowProc(message, wParam, lParam);
}

LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE* state = AfxGetThreadState();
  const MSG saved = state->m_lastSentMsg;
  state->m_lastSentMsg.hwnd = hWnd;
  state->m_lastSentMsg.message = message;
  state->m_lastSentMsg.wParam = wParam;
  state->m_lastSentMsg.lParam = lParam;
  const LRESULT result = CallFromSystem(LRESULT(0), [&] { return Dispatch(hWnd, message, wParam, lParam); });
  state->m_lastSentMsg = saved;
  return result;
}

}  // namespace

CXTWndHook::~CXTWndHook() {
  if (m_hWnd) HookWindow(static_cast<HWND>(nullptr));
}

CXTWndHook* CXTWndHook::FindHead(HWND hWnd) {
  auto it = WindowMap().find(hWnd);
  return it == WindowMap().end() ? nullptr : it->second.head;
}

BOOL CXTWndHook::HookWindow(HWND hWnd) {
  if (m_hWnd) Remove();
  if (hWnd) Insert(hWnd);
  return TRUE;
}

void CXTWndHook::Insert(HWND hWnd) {
  Chain& chain = WindowMap()[hWnd];
  if (!chain.original) {
    chain.original = WindowProcOf(hWnd);
    SetWindowProc(hWnd, HookedWindowProc);
  }
  m_pNext = chain.head;
  m_pOldWndProc = chain.original;
  m_hWnd = hWnd;
  chain.head = this;
}

void CXTWndHook::Remove() {
  auto it = WindowMap().find(m_hWnd);
  if (it != WindowMap().end()) {
    CXTWndHook** link = &it->second.head;
    while (*link && *link != this) link = &(*link)->m_pNext;
    if (*link) *link = m_pNext;
    if (!it->second.head) ReleaseWindow(m_hWnd);
  }
  m_hWnd = nullptr;
  m_pNext = nullptr;
  m_pOldWndProc = nullptr;
}

void CXTWndHook::RemoveAll(HWND hWnd) {
  while (CXTWndHook* head = FindHead(hWnd)) head->HookWindow(static_cast<HWND>(nullptr));
}

LRESULT CXTWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return Default(message, wParam, lParam);
}

LRESULT CXTWndHook::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pNext) return m_pNext->WindowProc(message, wParam, lParam);
  if (m_pOldWndProc) return ::CallWindowProcA(m_pOldWndProc, m_hWnd, message, wParam, lParam);
  // Unhooked while handling this message: the window's own procedure follows.
  const HWND hWnd = CWnd::GetCurrentMessage()->hwnd;
  auto it = WindowMap().find(hWnd);
  const WNDPROC own = it != WindowMap().end() ? it->second.original : WindowProcOf(hWnd);
  return ::CallWindowProcA(own, hWnd, message, wParam, lParam);
}
