// User tool bars kept as "CustomBars-Info": values built by make_user_bars.py
// with titles behind 1-, 3- and 7-byte length prefixes, a version 2 that
// loads nothing, a bar the frame already has, a count beyond the bytes and a
// bar the factory cannot make; saving and deleting the value; the cascade of
// floated bars.
#include <gtest/gtest.h>

#include "bars_fixture.h"
#include "tool_bar_harness.h"
#include "tool_bar_harness_resource.h"
#include "toolkit/common/SettingsStore.h"
#include "toolkit/common/SharedState.h"
#include "toolkit/customize/CustomizeBroker.h"

namespace {

const char kRegistryKey[] = "BrennicorUserBarsTest";
const char kSection[] = "UserBars";
const char kValue[] = "CustomBars-Info";

CWinApp theApp("User Bars Test");

class UserBarsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new UserBarsEnvironment);

// Makes every bar but one: that one's window "cannot be made".
class CFailingFactory : public CCmdTarget {
 public:
  void Make(CXTUserBarRecord* record) {
    if (record->id == 59606) AfxThrowResourceException();
    GetCustomizeBroker().CreateToolBar(record);
  }
};

CString Title(CFrameWnd* frame, UINT id) {
  CString title;
  if (CControlBar* bar = frame->GetControlBar(id)) bar->GetWindowText(title);
  return title;
}

class UserBars : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, (CString("Software\\") + kRegistryKey));
    theApp.SetRegistryKey(kRegistryKey);
    m_frame = CToolBarHarness::Open(CRect(40, 40, 640, 400));
    ASSERT_NE(m_frame, nullptr);
  }
  void TearDown() override {
    GetSharedState().m_iniFileName.Empty();
    GetCustomizeBroker().SetToolBarFactory(&GetCustomizeBroker(),
                                           static_cast<XT_BAR_FACTORY_FN>(&CXTCustomizeBroker::CreateToolBar));
    if (m_frame) m_frame->DestroyWindow();
  }
  BOOL LoadFrom(const char* file) {
    GetSharedState().m_iniFileName = CString(BRENNICOR_TEST_WORK "/") + file;
    return GetCustomizeBroker().LoadUserBars(m_frame, kSection);
  }
  CToolBarHarness* m_frame = nullptr;
};

TEST_F(UserBars, TitlesComeBackWhateverTheirLengthPrefix) {
  ASSERT_TRUE(LoadFrom("user_bars_titles.ini"));
  EXPECT_EQ(Title(m_frame, 59601), "A");
  EXPECT_EQ(Title(m_frame, 59602), CString('B', 300));
  EXPECT_EQ(Title(m_frame, 59603), CString('C', 70000));
}

TEST_F(UserBars, WhatCannotBeTakenMakesNothing) {
  EXPECT_FALSE(LoadFrom("user_bars_version2.ini"));
  EXPECT_EQ(m_frame->GetControlBar(59604), nullptr);
  EXPECT_FALSE(LoadFrom("user_bars_overcount.ini"));
  EXPECT_EQ(m_frame->GetControlBar(59608), nullptr);
  EXPECT_FALSE(LoadFrom("user_bars_missing.ini"));
}

TEST_F(UserBars, ABarTheFrameHasIsNotMadeTwice) {
  ASSERT_TRUE(LoadFrom("user_bars_existing.ini"));
  EXPECT_EQ(m_frame->GetControlBar(ID_HARNESS_FORMAT_BAR), &m_frame->m_format);
  EXPECT_EQ(Title(m_frame, ID_HARNESS_FORMAT_BAR), "Format");
  EXPECT_EQ(Title(m_frame, 59605), "New");
}

TEST_F(UserBars, ABarThatCannotBeMadeIsLeftOutAndTheRestComeUp) {
  CFailingFactory factory;
  GetCustomizeBroker().SetToolBarFactory(&factory, static_cast<XT_BAR_FACTORY_FN>(&CFailingFactory::Make));
  EXPECT_TRUE(LoadFrom("user_bars_failing.ini"));
  EXPECT_EQ(m_frame->GetControlBar(59606), nullptr);
  EXPECT_EQ(Title(m_frame, 59607), "Works");
}

TEST_F(UserBars, SavedBarsComeBackAndTheLastOneGoneDeletesTheValue) {
  CXTCustomizeBroker& broker = GetCustomizeBroker();
  CXTUserBarRecord record = {m_frame, 59610, "Mine", nullptr};
  broker.CreateToolBar(&record);
  ASSERT_NE(record.bar, nullptr);
  // Floated bars cascade from (200, 200) by 15 pixels.
  broker.FloatToolBar(m_frame, record.bar);
  CRect floating;
  record.bar->GetParentFrame()->GetWindowRect(&floating);
  EXPECT_EQ(floating.TopLeft(), CPoint(200, 200));
  EXPECT_EQ(broker.NextFloatPosition(), CPoint(215, 215));
  // The frame's bar state carries its user bars along.
  ASSERT_TRUE(m_frame->SaveBarState(kSection));

  CToolBarHarness* again = CToolBarHarness::Open(CRect(60, 60, 660, 420));
  ASSERT_NE(again, nullptr);
  again->LoadBarState(kSection);
  EXPECT_EQ(Title(again, 59610), "Mine");
  again->DestroyWindow();

  record.bar->DestroyWindow();
  ASSERT_TRUE(broker.SaveUserBars(m_frame, kSection));
  BYTE* data = nullptr;
  UINT size = 0;
  EXPECT_FALSE(CXTSettingsStore().ReadBinary(kSection, kValue, &data, &size));
  delete[] data;
}

}  // namespace
