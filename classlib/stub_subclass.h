// A window of a control class whose messages pass first through an object.
#pragma once

#include <windows.h>

class CStubSubclassedWindow {
public:
    CStubSubclassedWindow() = default;
    virtual ~CStubSubclassedWindow() { Detach(); }
    CStubSubclassedWindow(const CStubSubclassedWindow&) = delete;
    CStubSubclassedWindow& operator=(const CStubSubclassedWindow&) = delete;

    // Routes the window's messages through WindowProc until Detach or its
    // destruction; false when hwnd is null or the window is already attached.
    bool Attach(HWND hwnd);
    void Detach();
    HWND GetHwnd() const { return m_hwnd; }

protected:
    // Override to handle a message; call DefaultProc for the control's own handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    HWND m_hwnd = nullptr;
};
