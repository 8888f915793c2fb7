// The engine's per-process and per-thread set-up around the whole test program.
#include <windows.h>

#include <gtest/gtest.h>

#include "UnzipApi.h"

namespace {

class UnzipEngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_EQ(UnzipThreadInit(GetModuleHandleA(nullptr)), 1);
    ASSERT_EQ(UnzipThreadAttach(), 1);
  }
  void TearDown() override {
    UnzipThreadStateRelease();
    UnzipThreadTerm();
  }
};
const auto *const kEnvironment = ::testing::AddGlobalTestEnvironment(new UnzipEngineEnvironment);

}  // namespace
