// DrawFrameControl's classic look: a pixel table per kind and state.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "gfx_support.h"
#include "wingdi.h"

namespace {

struct Probe {
    int x, y;
    TColor c; // a system colour or clFuchsia, the untouched background
};

struct FrameCase {
    const char* name;
    unsigned type, state;
    int w, h;
    std::vector<Probe> probes;
};

void PrintTo(const FrameCase& k, std::ostream* os) { *os << k.name; }

class FrameControls : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameControls, PixelsMatchTheClassicLook) {
    const FrameCase& k = GetParam();
    TBitmap b;
    WhiteBitmap(b, k.w, k.h);
    b.Canvas()->Brush()->SetColor(clFuchsia);
    b.Canvas()->FillRect(Rect(0, 0, k.w, k.h));
    TRect r(0, 0, k.w, k.h);
    ASSERT_TRUE(DrawFrameControl(b.Canvas()->Handle(), &r, k.type, k.state));
    QImage img = b.Image();
    for (const Probe& p : k.probes)
        EXPECT_EQ(PixelAt(img, p.x, p.y), ColorToRGB(p.c)) << "at " << p.x << "," << p.y;
}

// The check mark's 7 x 7 cell sits at (3, 3) of a 13 x 13 box; (3, 5) and (9, 3) are on it, (4, 3) not.
// The radio's dot is the 4 x 4 at (4, 4) without its corners. A 16 x 16 arrow button's up arrow has
// its tip at (7, 6) and its base row from (4, 9) to (10, 9).
const FrameCase kCases[] = {
    {"CheckUnchecked",
     DFC_BUTTON,
     DFCS_BUTTONCHECK,
     13,
     13,
     {{0, 0, clBtnShadow},
      {1, 1, cl3DDkShadow},
      {12, 12, clBtnHighlight},
      {11, 11, cl3DLight},
      {12, 0, clBtnHighlight},
      {6, 6, clWindow},
      {3, 5, clWindow}}},
    {"CheckChecked",
     DFC_BUTTON,
     DFCS_BUTTONCHECK | DFCS_CHECKED,
     13,
     13,
     {{3, 5, clWindowText}, {9, 3, clWindowText}, {5, 9, clWindowText}, {4, 3, clWindow}, {9, 9, clWindow}}},
    {"CheckCheckedInactive",
     DFC_BUTTON,
     DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE,
     13,
     13,
     {{3, 5, clBtnShadow}, {4, 3, clBtnFace}, {0, 0, clBtnShadow}}},
    {"CheckPushed",
     DFC_BUTTON,
     DFCS_BUTTONCHECK | DFCS_PUSHED,
     13,
     13,
     {{6, 6, clBtnFace}, {1, 1, cl3DDkShadow}}},
    {"CheckGrayed",
     DFC_BUTTON,
     DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE,
     13,
     13,
     {{3, 5, clBtnShadow}, {2, 2, clBtnFace}, {3, 2, clBtnHighlight}, {10, 10, clBtnFace}}},
    {"CheckCentredInAWideBox",
     DFC_BUTTON,
     DFCS_BUTTONCHECK | DFCS_CHECKED,
     19,
     13,
     {{2, 6, clFuchsia}, {3, 0, clBtnShadow}, {6, 5, clWindowText}, {16, 6, clFuchsia}}},
    {"RadioUnchecked",
     DFC_BUTTON,
     DFCS_BUTTONRADIO,
     12,
     12,
     {{0, 0, clFuchsia},
      {4, 0, clBtnShadow},
      {0, 5, clBtnShadow},
      {4, 1, cl3DDkShadow},
      {11, 5, clBtnHighlight},
      {10, 5, cl3DLight},
      {5, 11, clBtnHighlight},
      {5, 5, clWindow},
      {11, 11, clFuchsia}}},
    {"RadioChecked",
     DFC_BUTTON,
     DFCS_BUTTONRADIO | DFCS_CHECKED,
     12,
     12,
     {{5, 4, clWindowText}, {4, 5, clWindowText}, {7, 6, clWindowText}, {4, 4, clWindow}, {7, 7, clWindow}}},
    {"RadioCheckedInactive",
     DFC_BUTTON,
     DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE,
     12,
     12,
     {{5, 5, clBtnShadow}, {3, 3, clBtnFace}}},
    {"RadioTransparentKeepsTheCorners",
     DFC_BUTTON,
     DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_TRANSPARENT,
     12,
     12,
     {{0, 0, clFuchsia}, {11, 0, clFuchsia}, {5, 5, clWindowText}}},
    {"RadioMask",
     DFC_BUTTON,
     DFCS_BUTTONRADIOMASK,
     12,
     12,
     {{0, 0, clWhite}, {5, 5, clBlack}, {4, 0, clBlack}}},
    {"PushButton",
     DFC_BUTTON,
     DFCS_BUTTONPUSH,
     10,
     10,
     {{0, 0, clBtnHighlight},
      {1, 1, cl3DLight},
      {9, 9, cl3DDkShadow},
      {8, 8, clBtnShadow},
      {5, 5, clBtnFace}}},
    {"PushButtonPushed",
     DFC_BUTTON,
     DFCS_BUTTONPUSH | DFCS_PUSHED,
     10,
     10,
     {{0, 0, cl3DDkShadow}, {1, 1, clBtnShadow}, {9, 9, clBtnHighlight}, {5, 5, clBtnFace}}},
    {"ScrollUp",
     DFC_SCROLL,
     DFCS_SCROLLUP,
     16,
     16,
     {{0, 0, cl3DLight},
      {1, 1, clBtnHighlight},
      {15, 15, cl3DDkShadow},
      {14, 14, clBtnShadow},
      {7, 6, clBtnText},
      {6, 6, clBtnFace},
      {4, 9, clBtnText},
      {10, 9, clBtnText},
      {11, 9, clBtnFace},
      {7, 10, clBtnFace}}},
    {"ScrollDown",
     DFC_SCROLL,
     DFCS_SCROLLDOWN,
     16,
     16,
     {{7, 9, clBtnText}, {6, 9, clBtnFace}, {4, 6, clBtnText}, {10, 6, clBtnText}, {7, 5, clBtnFace}}},
    {"ScrollLeft",
     DFC_SCROLL,
     DFCS_SCROLLLEFT,
     16,
     16,
     {{6, 7, clBtnText}, {6, 6, clBtnFace}, {9, 4, clBtnText}, {9, 10, clBtnText}, {10, 7, clBtnFace}}},
    {"ScrollRight",
     DFC_SCROLL,
     DFCS_SCROLLRIGHT,
     16,
     16,
     {{9, 7, clBtnText}, {9, 6, clBtnFace}, {6, 4, clBtnText}, {6, 10, clBtnText}, {5, 7, clBtnFace}}},
    {"ScrollUpPushed",
     DFC_SCROLL,
     DFCS_SCROLLUP | DFCS_PUSHED,
     16,
     16,
     {{0, 0, clBtnShadow}, {15, 15, clBtnShadow}, {1, 1, clBtnFace}, {8, 7, clBtnText}, {7, 6, clBtnFace}}},
    {"ScrollUpInactive",
     DFC_SCROLL,
     DFCS_SCROLLUP | DFCS_INACTIVE,
     16,
     16,
     {{7, 6, clBtnShadow}, {4, 9, clBtnShadow}, {11, 10, clBtnHighlight}, {8, 6, clBtnFace}}},
    {"ComboButton",
     DFC_SCROLL,
     DFCS_SCROLLCOMBOBOX,
     16,
     16,
     {{7, 9, clBtnText}, {4, 6, clBtnText}, {0, 0, cl3DLight}}},
    {"ComboButtonFlatPushed",
     DFC_SCROLL,
     DFCS_SCROLLCOMBOBOX | DFCS_FLAT | DFCS_PUSHED,
     16,
     16,
     {{0, 0, clBtnShadow}, {8, 10, clBtnText}}},
    {"ArrowGlyph17",
     DFC_SCROLL,
     DFCS_SCROLLLEFT,
     17,
     17,
     {{6, 8, clBtnText}, {9, 5, clBtnText}, {9, 11, clBtnText}}},
    {"MenuCheck",
     DFC_MENU,
     DFCS_MENUCHECK,
     13,
     13,
     {{0, 0, clWhite}, {3, 5, clBlack}, {9, 3, clBlack}, {4, 3, clWhite}}},
    {"MenuBullet",
     DFC_MENU,
     DFCS_MENUBULLET,
     12,
     12,
     {{0, 0, clWhite}, {5, 5, clBlack}, {3, 3, clWhite}, {4, 3, clBlack}, {8, 8, clWhite}}},
    {"MenuArrow", DFC_MENU, DFCS_MENUARROW, 12, 12, {{4, 2, clBlack}, {7, 5, clBlack}, {8, 5, clWhite}}},
};

INSTANTIATE_TEST_SUITE_P(Classic, FrameControls, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FrameCase>& i) {
                             return std::string(i.param.name);
                         });

TEST(FrameControlsAdjust, AdjustRectLeavesTheInsideOfAPushButton) {
    TBitmap b;
    WhiteBitmap(b, 20, 20);
    TRect r(2, 3, 18, 15);
    ASSERT_TRUE(DrawFrameControl(b.Canvas()->Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_EQ(r, TRect(4, 5, 16, 13));
    // A caption draws its close box only (1 is the minimise box).
    TRect unknown(0, 0, 10, 10);
    EXPECT_FALSE(DrawFrameControl(b.Canvas()->Handle(), &unknown, DFC_CAPTION, 1));
    EXPECT_TRUE(DrawFrameControl(b.Canvas()->Handle(), &unknown, DFC_CAPTION, DFCS_CAPTIONCLOSE));
}

} // namespace
