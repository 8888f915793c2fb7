#include "bars_fixture.h"

#include <gtest/gtest.h>

CFrameWnd* NewFrame(const char* title) {
  CFrameWnd* frame = new CFrameWnd;
  EXPECT_TRUE(frame->Create(nullptr, title, WS_OVERLAPPEDWINDOW, CRect(50, 50, 650, 450)));
  return frame;
}

void PumpAndIdle() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) AfxGetApp()->PumpMessage();
  AfxGetApp()->OnIdle(0);
}
