// A static control that opens the maker's web page when clicked.
#pragma once

#include "stub_subclass.h"

class CLinkStatic : public CStubSubclassedWindow {
public:
    ~CLinkStatic() override;
    bool AttachLink(HWND control);
    // The parent's WM_CTLCOLORSTATIC: link colours for this control, else 0
    // (the dialog's default colours).
    INT_PTR ColourFor(WPARAM dc, LPARAM control) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HFONT m_font = nullptr;
};
