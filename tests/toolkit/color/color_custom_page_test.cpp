// The colour dialog's custom page: what its edits show for a colour, the
// colour typed or picked and how the others follow, the range check, the
// arrow kept on the luminance bar, Enter in a picker, and both pickers as
// drawn.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <array>
#include <thread>

#include "classlib/classlib.h"
#include "dialog_robot.h"
#include "dib_surface.h"
#include "golden_image.h"
#include "toolkit/color/ColorDialog.h"
#include "toolkit/color/ColorLuminanceBar.h"
#include "toolkit/color/ColorSpectrum.h"
#include "toolkit_resource.h"

namespace {

CWinApp theApp("Toolkit Custom Colour Test");

class ColorEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ColorEnvironment);

const int kHexField = 101;
const int kValueEdits[] = {IDC_XT_EDIT_HUE, IDC_XT_EDIT_SAT, IDC_XT_EDIT_LUM,
                           IDC_XT_EDIT_RED, IDC_XT_EDIT_GREEN, IDC_XT_EDIT_BLUE};
typedef std::array<int, 6> Values;  // hue, saturation, luminance, red, green, blue

HWND CustomPage(HWND sheet) {
  ::SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
  return reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

Values ValuesShown(HWND page) {
  Values values;
  for (size_t i = 0; i < values.size(); ++i) values[i] = atoi(ItemText(page, kValueEdits[i]).c_str());
  return values;
}

// A grey shows hue and saturation 0. Red, green and blue typed make the new
// colour, and the hue, saturation and luminance edits keep what they showed.
TEST(CustomPage, ShowsTheColourAndTakesTypedComponents) {
  CXTColorDialog dialog(RGB(77, 77, 77), RGB(77, 77, 77), XTCD_HEXFIELD);
  Values opened = {}, typed = {};
  std::string hex;
  DialogRobot robot({{"Colors", [&](HWND sheet) {
                        HWND page = CustomPage(sheet);
                        opened = ValuesShown(page);
                        TypeInto(page, IDC_XT_EDIT_RED, "0");
                        TypeInto(page, IDC_XT_EDIT_GREEN, "255");
                        TypeInto(page, IDC_XT_EDIT_BLUE, "10");
                        typed = ValuesShown(page);
                        hex = ItemText(sheet, kHexField);
                        Press(sheet, IDOK);
                      }}});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(opened, (Values{0, 0, 77, 77, 77, 77}));
  EXPECT_EQ(typed, (Values{0, 0, 77, 0, 255, 10}));
  EXPECT_EQ(hex, "Hex: 00FF0A");
  EXPECT_EQ(dialog.GetColor(), RGB(0, 255, 10));
}

// Luminance typed moves the bar's arrow, hue typed the crosshair; the colour
// under them is the new colour and red, green and blue show it. A click on
// the spectrum's bottom row (no saturation) gives a grey.
TEST(CustomPage, HueLuminanceAndTheSpectrumPickTheColour) {
  CXTColorDialog dialog(RGB(255, 0, 0), RGB(255, 0, 0), XTCD_HEXFIELD);
  Values white = {}, green = {};
  COLORREF grey = 0;
  DialogRobot robot({{"Colors", [&](HWND sheet) {
                        HWND page = CustomPage(sheet);
                        TypeInto(page, IDC_XT_EDIT_LUM, "255");
                        white = ValuesShown(page);
                        TypeInto(page, IDC_XT_EDIT_LUM, "127");
                        TypeInto(page, IDC_XT_EDIT_HUE, "85");
                        green = ValuesShown(page);
                        HWND spectrum = ::GetDlgItem(page, IDC_XT_SPECTRUM);
                        RECT client;
                        ::GetClientRect(spectrum, &client);
                        const LPARAM bottom = MAKELPARAM(client.right / 2, client.bottom - 1);
                        ::SendMessageA(spectrum, WM_LBUTTONDOWN, MK_LBUTTON, bottom);
                        ::SendMessageA(spectrum, WM_LBUTTONUP, 0, bottom);
                        const Values shown = ValuesShown(page);
                        grey = RGB(shown[3], shown[4], shown[5]);
                        Press(sheet, IDCANCEL);
                      }}});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ((Values{white[3], white[4], white[5]}), (Values{255, 255, 255}));
  EXPECT_GT(green[4], 200);
  EXPECT_LT(green[3], 40);
  EXPECT_LT(green[5], 40);
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_EQ(GetGValue(grey), GetBValue(grey));
}

// 256 typed is refused by the range check, with its box, and the colour
// stays; the typing waits on the box, so it runs beside the robot.
TEST(CustomPage, AValueOver255IsRefused) {
  CXTColorDialog dialog(RGB(1, 2, 3), RGB(1, 2, 3), XTCD_HEXFIELD);
  std::string said, hex;
  std::thread typist;
  DialogRobot robot({{"Colors",
                      [&](HWND sheet) {
                        HWND page = CustomPage(sheet);
                        typist = std::thread([page] { TypeInto(page, IDC_XT_EDIT_RED, "256"); });
                      }},
                     {"Toolkit Custom Colour Test",
                      [&](HWND box) {
                        said = MessageBoxText(box);
                        Press(box, IDOK);
                      }},
                     {"Colors", [&](HWND sheet) {
                        hex = ItemText(sheet, kHexField);
                        Press(sheet, IDCANCEL);
                      }}});
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  typist.join();
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(said, "Please enter an integer between 0 and 255.");
  EXPECT_EQ(hex, "Hex: 010203");
}

// The arrow stays on the bar's rows: Up from the top keeps white, never the
// face colour of the rows above the bar. Enter in the focused bar is OK.
TEST(CustomPage, TheArrowStaysOnTheBarAndEnterAccepts) {
  CXTColorDialog dialog(RGB(255, 255, 255), RGB(0, 0, 0));
  DialogRobot robot({{"Colors", [&](HWND sheet) {
                        HWND bar = ::GetDlgItem(CustomPage(sheet), IDC_XT_LUMINANCE_BAR);
                        ::SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 4));
                        ::SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(5, 4));
                        for (int i = 0; i < 10; ++i) ::PostMessageA(bar, WM_KEYDOWN, VK_UP, 0);
                        ::PostMessageA(bar, WM_KEYDOWN, VK_RETURN, 0);
                      }}});
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(robot.Finished());
  EXPECT_EQ(dialog.GetColor(), RGB(255, 255, 255));
}

// Both pickers as drawn for a blue-green without the focus: the crosshair in
// black, the arrow in the shadow colour.
TEST(CustomPage, PickersDrawAsKept) {
  CXTColorDialog dialog(RGB(0, 128, 128), RGB(0, 0, 0));
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, CRect(0, 0, 240, 200), nullptr, 0));
  CXTColorSpectrum spectrum(&dialog);
  CXTColorLuminanceBar bar(&dialog);
  ASSERT_TRUE(spectrum.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 168, 156), &host, IDC_XT_SPECTRUM));
  ASSERT_TRUE(bar.Create("", WS_CHILD | WS_VISIBLE, CRect(180, 0, 210, 164), &host, IDC_XT_LUMINANCE_BAR));
  for (CXTColorPickerStatic* picker : {static_cast<CXTColorPickerStatic*>(&spectrum),
                                       static_cast<CXTColorPickerStatic*>(&bar)})
    picker->PickerSetColor(RGB(0, 128, 128), TRUE);
  const struct {
    CXTColorPickerStatic* picker;
    const char* name;
    int width, height;
  } pictures[] = {{&spectrum, "color_spectrum", 168, 156}, {&bar, "color_luminance_bar", 30, 164}};
  for (const auto& picture : pictures) {
    DibSurface surface(picture.width, picture.height);
    picture.picker->Draw(surface.dc());
    EXPECT_EQ(CompareWithGolden(picture.name, picture.width, picture.height,
                                [&](int x, int y) { return surface.at(x, y); }),
              "");
  }
  spectrum.DestroyWindow();
  bar.DestroyWindow();
  host.DestroyWindow();
}

}  // namespace
