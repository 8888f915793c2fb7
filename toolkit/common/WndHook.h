// CXTWndHook: light subclassing that lets any number of hooks share one
// window. The window's procedure is replaced once by a common procedure; a
// process-wide map from window to its chain routes each message to the most
// recently installed hook first, each hook passes on what it does not consume
// (Default), and the last one hands it to the window's own procedure.
//
// While a hook runs, the thread's current message is the hooked one, so class
// library code it calls (CWnd::Default, GetCurrentMessage) sees it. At
// WM_NCDESTROY every hook of the window is removed and the window has its own
// procedure back before its own WM_NCDESTROY handling runs.
#pragma once

#include "classlib/wnd.h"

class CXTWndHook : public CObject {
  DECLARE_DYNAMIC(CXTWndHook)
 public:
  CXTWndHook() = default;
  // A hook still in a chain leaves it first.
  ~CXTWndHook() override;
  CXTWndHook(const CXTWndHook&) = delete;
  CXTWndHook& operator=(const CXTWndHook&) = delete;

  virtual BOOL IsWindowHooked() const { return m_hWnd != nullptr; }
  // A window: joins the head of its chain. Null: leaves the chain it is in.
  virtual BOOL HookWindow(HWND hWnd);
  virtual BOOL HookWindow(CWnd* pWnd) { return HookWindow(pWnd ? pWnd->m_hWnd : nullptr); }
  // Each hook's own handling; by default passes everything on.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // Passes a message on to the next hook, or to the window's own procedure.
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  // Unhooks every hook of the window.
  static void RemoveAll(HWND hWnd);
  // The first hook of the window's chain, or null.
  static CXTWndHook* FindHead(HWND hWnd);

  HWND m_hWnd = nullptr;
  WNDPROC m_pOldWndProc = nullptr;
  CXTWndHook* m_pNext = nullptr;

 private:
  void Insert(HWND hWnd);
  void Remove();
};
