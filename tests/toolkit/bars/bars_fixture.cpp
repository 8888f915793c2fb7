#include "bars_fixture.h"
#include "waiting.h"

#include <gtest/gtest.h>

CFrameWnd* NewFrame(const char* title) {
  CFrameWnd* frame = new CFrameWnd;
  EXPECT_TRUE(frame->Create(nullptr, title, WS_OVERLAPPEDWINDOW, CRect(50, 50, 650, 450)));
  return frame;
}

void PumpAndIdle() { PumpWaiting({[](MSG& msg) { return AfxGetApp()->PreTranslateMessage(&msg) != FALSE; }, [] { AfxGetApp()->OnIdle(0); }}); }
