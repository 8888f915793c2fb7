// The blinking light of the stub's dialogs: one 16x16 cell of bitmap 215
// drawn centred in a static control, magenta showing the background.
#pragma once

#include "stub_subclass.h"

class CStatusLight : public CStubSubclassedWindow {
public:
    ~CStatusLight() override;

    // Loads the bitmap from instance and starts with row 0, column 1.
    bool AttachLight(HWND control, HINSTANCE instance);
    // row and extra are pixel offsets into the bitmap, column is 0 to 2.
    void SetCell(int row, int column, int extra);
    // Starts or restarts the blink with this period.
    void SetBlink(UINT milliseconds);

    int Row() const { return m_row; }
    int Column() const { return m_column; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Draw(HDC dc);

    HBITMAP m_bitmap = nullptr;
    int m_row = 0;
    int m_column = 1;
    int m_extra = 0;
    int m_phase = 0;
};
