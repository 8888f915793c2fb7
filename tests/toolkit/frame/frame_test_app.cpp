// The one application object of the frame tests and the class library's start.
#include <gtest/gtest.h>

#include "classlib/classlib.h"

namespace {

CWinApp theApp("Frame Test");

class FrameEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new FrameEnvironment);

}  // namespace
