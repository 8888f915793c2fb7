// A static control that opens the maker's web page when clicked.
#pragma once

#include "stub_subclass.h"

class CLinkStatic : public CStubSubclassedWindow {
public:
    ~CLinkStatic() override;
    bool AttachLink(HWND control);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HFONT m_font = nullptr;
};
